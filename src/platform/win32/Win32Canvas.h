// Win32 only. The canvas and bitmap service over GDI.
#pragma once

#include "platform/Canvas.h"
#include "platform/win32/ScopedHandle.h"
#include "platform/win32/Win32Handles.h"

#include <windows.h>

// A canvas over a device context it does not own. However its drawing ends,
// it leaves the context as it found it: objects, colours, modes, origin and
// clipping are restored, and then the font it made is deleted.
class Win32Canvas final : public platform::ICanvas {
public:
    explicit Win32Canvas(HDC dc);
    ~Win32Canvas() override;
    Win32Canvas(const Win32Canvas&) = delete;
    Win32Canvas& operator=(const Win32Canvas&) = delete;

    void fillRect(const platform::Rect& rect, platform::Rgb colour) override;
    void setFont(const platform::FontSpec& font) override;
    void setTextColor(platform::Rgb colour) override;
    void setTextBackground(bool clear) override;
    void textOut(platform::Point at, const std::string& text) override;
    platform::Size textExtent(const std::string& text) override;
    void copyRect(const platform::Rect& target, platform::ICanvas& source, const platform::Rect& from) override;
    void draw(platform::Point at, platform::IBitmap& bitmap, platform::RasterOp op) override;
    void stretchDraw(const platform::Rect& target, platform::IBitmap& bitmap, platform::RasterOp op) override;
    void setViewport(const platform::Rect& area) override;
    platform::Rgb pixel(platform::Point at) override;
    platform::DeviceContextHandle handle() const override { return toHandle<platform::DeviceContextHandle>(dc_); }

private:
    HDC dc_;
    int saved_;
    POINT origin_{};
    ScopedGdiObject clip_; // the context's own clipping, or none
    ScopedGdiObject font_;
};

class Win32CanvasService final : public platform::ICanvasService {
public:
    std::unique_ptr<platform::IBitmap> newBitmap(platform::Size size, bool monochrome) override;
};
