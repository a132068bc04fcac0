// Bitmaps.
#include "toolkit/Bitmap.h"

void TBitmap::SetSize(int width, int height, bool monochrome)
{
    image_ = width > 0 && height > 0 ? canvases_.newBitmap({width, height}, monochrome) : nullptr;
}

void TBitmap::Assign(const TBitmap& source)
{
    if (&source == this)
        return;
    SetSize(source.Width(), source.Height(), source.Image() && source.Image()->monochrome());
    if (image_)
        image_->canvas().copyRect({0, 0, Width(), Height()}, source.image_->canvas(), {0, 0, Width(), Height()});
}
