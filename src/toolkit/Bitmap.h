// A bitmap the program owns, with its canvas; empty until it is given a size
// or an image. UI thread only.
#pragma once

#include "platform/Canvas.h"

#include <memory>

class TBitmap {
public:
    explicit TBitmap(platform::ICanvasService& canvases) : canvases_(canvases) {}

    int Width() const { return image_ ? image_->size().width : 0; }
    int Height() const { return image_ ? image_->size().height : 0; }
    bool Empty() const { return !image_; }

    // A new white image of that size; empty when either side is 0 or the
    // system has no bitmap to give.
    void SetSize(int width, int height, bool monochrome = false);
    // Copies the other bitmap's image into one of this bitmap's own.
    void Assign(const TBitmap& source);

    // The image, null while empty.
    platform::IBitmap* Image() const { return image_.get(); }

private:
    platform::ICanvasService& canvases_;
    std::unique_ptr<platform::IBitmap> image_;
};
