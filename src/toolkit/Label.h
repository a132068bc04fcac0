// Text labels: a windowless control that writes its caption in its font at its
// top-left corner, on its own colour.
// UI thread only.
#pragma once

#include "toolkit/Control.h"

class TCustomLabel : public TControl {
public:
    TCustomLabel(TComponent* owner, TForm& parent);

    // The parent's colour until one of the label's own is set.
    TColor Color() const;
    void SetColor(TColor color);
    void Paint(platform::ICanvas& canvas) override;

private:
    TColor color_ = clBtnFace;
    bool parentColor_ = true;
};

// The plain label.
class TLabel : public TCustomLabel {
public:
    using TCustomLabel::TCustomLabel;
};
