// Win32 only. Canvases over device contexts, and bitmaps in memory contexts.
#include "platform/win32/Win32Canvas.h"

namespace {

// A bitmap selected into a memory context of its own. Members go in reverse:
// the canvas puts the context's first bitmap and font back, then the bitmap
// and the context are deleted.
class Win32Bitmap final : public platform::IBitmap {
public:
    Win32Bitmap(ScopedDc dc, ScopedGdiObject bitmap, platform::Size size, bool monochrome)
        : dc_(std::move(dc)), bitmap_(std::move(bitmap)), canvas_(dc_.get()), size_(size), monochrome_(monochrome)
    {
        ::SelectObject(dc_.get(), bitmap_.get());
        ::PatBlt(dc_.get(), 0, 0, size.width, size.height, WHITENESS);
    }
    platform::Size size() const override { return size_; }
    bool monochrome() const override { return monochrome_; }
    platform::ICanvas& canvas() override { return canvas_; }

private:
    ScopedDc dc_;
    ScopedGdiObject bitmap_;
    Win32Canvas canvas_;
    platform::Size size_;
    bool monochrome_;
};

bool empty(const platform::Rect& r)
{
    return r.width <= 0 || r.height <= 0;
}

// Colours a monochrome source's bits as black and white while it is drawn.
class MonochromeColours {
public:
    MonochromeColours(HDC dc, bool active) : dc_(active ? dc : nullptr)
    {
        if (!dc_)
            return;
        text_ = ::SetTextColor(dc_, RGB(0, 0, 0));
        back_ = ::SetBkColor(dc_, RGB(255, 255, 255));
    }
    ~MonochromeColours()
    {
        if (!dc_)
            return;
        ::SetTextColor(dc_, text_);
        ::SetBkColor(dc_, back_);
    }

private:
    HDC dc_;
    COLORREF text_ = 0;
    COLORREF back_ = 0;
};

} // namespace

Win32Canvas::Win32Canvas(HDC dc) : dc_(dc), saved_(::SaveDC(dc))
{
    ::GetViewportOrgEx(dc_, &origin_);
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    if (region && ::GetClipRgn(dc_, region) == 1)
        clip_.reset(region);
    else if (region)
        ::DeleteObject(region);
}

Win32Canvas::~Win32Canvas()
{
    ::RestoreDC(dc_, saved_);
}

void Win32Canvas::fillRect(const platform::Rect& r, platform::Rgb colour)
{
    if (empty(r))
        return;
    ScopedGdiObject brush(::CreateSolidBrush(colour));
    RECT rect{r.left, r.top, r.left + r.width, r.top + r.height};
    ::FillRect(dc_, &rect, static_cast<HBRUSH>(brush.get()));
}

void Win32Canvas::setFont(const platform::FontSpec& f)
{
    ScopedGdiObject font(::CreateFontA(f.height, 0, 0, 0, f.bold ? FW_BOLD : FW_NORMAL, f.italic, f.underline,
                                       f.strikeOut, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                       DEFAULT_QUALITY, DEFAULT_PITCH, f.name.c_str()));
    if (!font)
        return;
    // The new font is selected before the old one is deleted.
    ::SelectObject(dc_, font.get());
    font_ = std::move(font);
}

void Win32Canvas::setTextColor(platform::Rgb colour)
{
    ::SetTextColor(dc_, colour);
}

void Win32Canvas::setTextBackground(bool clear)
{
    ::SetBkMode(dc_, clear ? TRANSPARENT : OPAQUE);
}

void Win32Canvas::textOut(platform::Point at, const std::string& text)
{
    ::TextOutA(dc_, at.x, at.y, text.data(), static_cast<int>(text.size()));
}

platform::Size Win32Canvas::textExtent(const std::string& text)
{
    SIZE size{};
    if (!::GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &size))
        return {};
    return {size.cx, size.cy};
}

void Win32Canvas::copyRect(const platform::Rect& t, platform::ICanvas& source, const platform::Rect& f)
{
    HDC from = toSystem<HDC>(source.handle());
    if (!from || empty(t) || empty(f))
        return;
    int mode = ::SetStretchBltMode(dc_, COLORONCOLOR);
    ::StretchBlt(dc_, t.left, t.top, t.width, t.height, from, f.left, f.top, f.width, f.height, SRCCOPY);
    ::SetStretchBltMode(dc_, mode);
}

void Win32Canvas::draw(platform::Point at, platform::IBitmap& bitmap, platform::RasterOp op)
{
    platform::Size s = bitmap.size();
    stretchDraw({at.x, at.y, s.width, s.height}, bitmap, op);
}

void Win32Canvas::stretchDraw(const platform::Rect& t, platform::IBitmap& bitmap, platform::RasterOp op)
{
    HDC source = toSystem<HDC>(bitmap.canvas().handle());
    platform::Size s = bitmap.size();
    if (!source || empty(t) || s.width <= 0 || s.height <= 0)
        return;
    MonochromeColours colours(dc_, bitmap.monochrome());
    int mode = ::SetStretchBltMode(dc_, COLORONCOLOR);
    ::StretchBlt(dc_, t.left, t.top, t.width, t.height, source, 0, 0, s.width, s.height,
                 static_cast<DWORD>(op));
    ::SetStretchBltMode(dc_, mode);
}

void Win32Canvas::setViewport(const platform::Rect& area)
{
    ::SetViewportOrgEx(dc_, origin_.x + area.left, origin_.y + area.top, nullptr);
    ::SelectClipRgn(dc_, static_cast<HRGN>(clip_.get()));
    ::IntersectClipRect(dc_, 0, 0, area.width, area.height);
}

platform::Rgb Win32Canvas::pixel(platform::Point at)
{
    COLORREF colour = ::GetPixel(dc_, at.x, at.y);
    return colour == CLR_INVALID ? 0 : colour;
}

std::unique_ptr<platform::IBitmap> Win32CanvasService::newBitmap(platform::Size size, bool monochrome)
{
    if (size.width <= 0 || size.height <= 0)
        return nullptr;
    HDC screen = ::GetDC(nullptr);
    ScopedDc dc(::CreateCompatibleDC(screen));
    ScopedGdiObject bitmap(monochrome ? ::CreateBitmap(size.width, size.height, 1, 1, nullptr)
                                      : ::CreateCompatibleBitmap(screen, size.width, size.height));
    ::ReleaseDC(nullptr, screen);
    if (!dc || !bitmap)
        return nullptr;
    return std::make_unique<Win32Bitmap>(std::move(dc), std::move(bitmap), size, monochrome);
}
