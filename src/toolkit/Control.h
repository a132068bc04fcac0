// Windowless controls: a rectangle of a form's window that the control paints
// and whose mouse input it takes. The form routes paint requests and the mouse
// to its controls. UI thread only.
#pragma once

#include "platform/Canvas.h"
#include "toolkit/Component.h"
#include "toolkit/Cursors.h"
#include "toolkit/Font.h"
#include "toolkit/Mouse.h"

#include <string>

class TForm;

class TControl : public TComponent {
public:
    // The control starts with the parent's font.
    TControl(TComponent* owner, TForm& parent);
    ~TControl() override;

    TForm& Parent() const { return parent_; }

    int Left() const { return bounds_.left; }
    int Top() const { return bounds_.top; }
    int Width() const { return bounds_.width; }
    int Height() const { return bounds_.height; }
    void SetLeft(int left) { SetBounds(left, bounds_.top, bounds_.width, bounds_.height); }
    void SetTop(int top) { SetBounds(bounds_.left, top, bounds_.width, bounds_.height); }
    void SetWidth(int width) { SetBounds(bounds_.left, bounds_.top, width, bounds_.height); }
    void SetHeight(int height) { SetBounds(bounds_.left, bounds_.top, bounds_.width, height); }
    // Repaints where the control was and where it is now.
    void SetBounds(int left, int top, int width, int height);
    const platform::Rect& BoundsRect() const { return bounds_; }

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

    const TFont& Font() const { return font_; }
    // Takes all of the font's attributes, and repaints.
    virtual void SetFont(const TFont& font);

    TCursor Cursor = crDefault;

    // Asks the parent to repaint the control.
    void Invalidate();

    TNotifyEvent OnClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    // ---- Called by the parent form; points in the control's own pixels ----
    virtual void Paint(platform::ICanvas&) {}
    // A press or release of a button; the base raises the event.
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    // The left button was released over the control it was pressed on, just
    // before the release itself; the base raises OnClick.
    virtual void Click();
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    // The capture that the control's left press took was lost before the release.
    virtual void CaptureLost() {}

protected:
    // The caption changed; the base repaints.
    virtual void TextChanged() { Invalidate(); }
    // For a control that changes its own font's colour or style (and repaints itself).
    TFont& font() { return font_; }

private:
    TForm& parent_;
    platform::Rect bounds_{};
    std::string caption_;
    TFont font_;
};
