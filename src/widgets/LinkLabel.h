// A text label that is a hyperlink: its caption is the address. It shows in a
// link colour, underlined, with the hand cursor, changes colour while pressed
// (and, with Effect98, while hovered), and a click hands the scheme and the
// caption to the shell. UI thread only.
#pragma once

#include "platform/Shell.h"
#include "toolkit/Label.h"

#include <cstdint>
#include <string>

enum TLabelType : std::uint8_t { hmHTTP = 0, hmMAIL = 1, hmFTP = 2, hmCUSTOM = 3 };

class TLinkLabel : public TCustomLabel {
public:
    // Installs the program's hand cursor for every control, once per program.
    TLinkLabel(TComponent* owner, TForm& parent, platform::IShell& shell, platform::ICanvasService& canvases);

    TLabelType LabelType() const { return labelType_; }
    void SetLabelType(TLabelType labelType);
    TColor URLColStd() const { return urlColStd_; }
    void SetURLColStd(TColor colour);
    TColor URLColPre() const { return urlColPre_; }
    void SetURLColPre(TColor colour);
    bool AllowDown() const { return allowDown_; }
    void SetAllowDown(bool allowDown);
    bool Effect98() const { return effect98_; }
    void SetEffect98(bool effect98);
    // The font's colour becomes the link's normal colour.
    void SetFont(const TFont& font) override;

    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void Click() override;
    void MouseEnter() override;
    void MouseLeave() override;
    void CaptureLost() override;

private:
    // The component writes the whole style set: underline or nothing.
    // The pointer came over the label (inside) or left it.
    void pointerCrossed(bool inside);
    void setLook(TColor colour, bool underlined);
    void setLook(TColor colour);
    // Moves the label back up if its own press moved it down.
    void moveBackUp();

    platform::IShell& shell_;
    TLabelType labelType_ = hmHTTP;
    TColor urlColStd_ = clBlue;
    TColor urlColPre_ = clRed;
    bool allowDown_ = false;
    bool effect98_ = false;
    bool movedDown_ = false;
    bool pointerInside_ = false;
};
