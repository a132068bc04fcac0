// The hyperlink label.
#include "widgets/LinkLabel.h"

#include "toolkit/Application.h"
#include "toolkit/Form.h"

#include <algorithm>

namespace {

// A double quote, a blank or a control character would end the handler's
// argument and let the rest of the caption pass switches of its own.
bool safeForShell(const std::string& caption)
{
    return std::none_of(caption.begin(), caption.end(), [](char c) {
        auto byte = static_cast<unsigned char>(c);
        return byte == '"' || byte <= ' ' || byte == 0x7F;
    });
}

} // namespace

TLinkLabel::TLinkLabel(TComponent* owner, TForm& parent, platform::IShell& shell,
                       platform::ICanvasService& canvases)
    : TCustomLabel(owner, parent, canvases), shell_(shell)
{
    parent.Application().Cursors().InstallOnce(crHandPoint, "URLHAND");
    Cursor = crHandPoint;
    setLook(urlColStd_, true);
}

void TLinkLabel::setLook(TColor colour, bool underlined)
{
    font().Style = underlined ? TFontStyles{fsUnderline} : TFontStyles{0};
    setLook(colour);
    AdjustBounds(); // a user's bold or italic is gone now
}

void TLinkLabel::setLook(TColor colour)
{
    font().Color = colour;
    Invalidate();
}

void TLinkLabel::SetLabelType(TLabelType labelType)
{
    if (labelType == labelType_)
        return;
    labelType_ = labelType;
    setLook(Font().Color, labelType_ != hmCUSTOM && !effect98_);
}

void TLinkLabel::SetURLColStd(TColor colour)
{
    if (colour == urlColStd_)
        return;
    urlColStd_ = colour;
    setLook(colour);
}

void TLinkLabel::SetURLColPre(TColor colour)
{
    if (colour == urlColPre_)
        return;
    urlColPre_ = colour;
    Invalidate();
}

void TLinkLabel::SetAllowDown(bool allowDown)
{
    if (allowDown == allowDown_)
        return;
    allowDown_ = allowDown;
    Invalidate();
}

void TLinkLabel::SetEffect98(bool effect98)
{
    if (effect98 == effect98_)
        return;
    effect98_ = effect98;
    if (effect98_)
        setLook(Font().Color, false);
    else if (labelType_ != hmCUSTOM)
        setLook(urlColStd_, true);
    else
        setLook(urlColStd_); // a hovered colour would otherwise stay for good
}

void TLinkLabel::SetFont(const TFont& font)
{
    TCustomLabel::SetFont(font);
    urlColStd_ = font.Color;
}

void TLinkLabel::MouseEnter()
{
    pointerCrossed(true);
}

void TLinkLabel::MouseLeave()
{
    pointerCrossed(false);
}

void TLinkLabel::pointerCrossed(bool inside)
{
    pointerInside_ = inside;
    if (!effect98_)
        return;
    const TColor colour = inside ? urlColPre_ : urlColStd_;
    if (labelType_ != hmCUSTOM)
        setLook(colour, inside);
    else
        setLook(colour);
}

void TLinkLabel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomLabel::MouseDown(Button, Shift, X, Y);
    if (Button != mbLeft)
        return;
    if (allowDown_ && !movedDown_) {
        movedDown_ = true;
        SetTop(Top() + 1);
    }
    setLook(urlColPre_);
}

void TLinkLabel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y)
{
    TCustomLabel::MouseUp(Button, Shift, X, Y);
    if (!effect98_)
        setLook(urlColStd_);
    if (Button == mbLeft)
        moveBackUp();
}

void TLinkLabel::CaptureLost()
{
    moveBackUp();
    setLook(effect98_ && pointerInside_ ? urlColPre_ : urlColStd_);
}

void TLinkLabel::moveBackUp()
{
    if (!movedDown_)
        return;
    movedDown_ = false;
    SetTop(Top() - 1);
}

void TLinkLabel::Click()
{
    TCustomLabel::Click();
    if (labelType_ == hmCUSTOM || !safeForShell(Caption()))
        return;
    const char* scheme = labelType_ == hmHTTP ? "http:\\\\" : labelType_ == hmFTP ? "ftp:\\\\" : "mailto:";
    // The whole text, however long: nothing is cut.
    shell_.shellOpen("", scheme + Caption(), "", "", platform::ShowNormal);
}
