// Text labels: a windowless control that writes its caption in its font at its
// top-left corner, on its own colour.
// UI thread only.
#pragma once

#include "platform/Canvas.h"
#include "toolkit/Control.h"

class TCustomLabel : public TControl {
public:
    // The canvas service measures the caption for AutoSize.
    TCustomLabel(TComponent* owner, TForm& parent, platform::ICanvasService& canvases);

    // The parent's colour until one of the label's own is set.
    TColor Color() const;
    void SetColor(TColor color);

    // On: the label takes the size of its caption in its font (a blank's for
    // no caption) whenever either changes, keeping its top-left corner; a
    // layout's box is replaced once its values are read. Off: the box stays.
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);

    void SetFont(const TFont& font) override;
    void Paint(platform::ICanvas& canvas) override;

protected:
    void TextChanged() override;
    void Loaded() override;
    // Sizes the label to its caption, if AutoSize asks for it and it can be
    // measured; a label that cannot be measured keeps its box.
    void AdjustBounds();

private:
    platform::ICanvasService& canvases_;
    TColor color_ = clBtnFace;
    bool parentColor_ = true;
    bool autoSize_ = true;
};

// The plain label.
class TLabel : public TCustomLabel {
public:
    using TCustomLabel::TCustomLabel;
};
