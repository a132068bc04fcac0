// Canvases and bitmaps in memory, for the native tests: real pixels, real
// raster operations and scaling, and a stand-in for text: each character but
// the blank is a solid box inside a cell as wide as 3/5 of the font's height,
// one pixel in from every side of the cell.
#pragma once

#include "platform/Canvas.h"
#include "support/FakeService.h"

#include <vector>

class SoftwareCanvas final : public platform::ICanvas {
public:
    SoftwareCanvas(platform::Size size, bool monochrome);

    void fillRect(const platform::Rect& rect, platform::Rgb colour) override;
    void setFont(const platform::FontSpec& font) override { font_ = font; }
    void setTextColor(platform::Rgb colour) override { textColor_ = colour; }
    void setTextBackground(bool clear) override { clearBackground_ = clear; }
    void textOut(platform::Point at, const std::string& text) override;
    platform::Size textExtent(const std::string& text) override;
    void copyRect(const platform::Rect& target, platform::ICanvas& source, const platform::Rect& from) override;
    void draw(platform::Point at, platform::IBitmap& bitmap, platform::RasterOp op) override;
    void stretchDraw(const platform::Rect& target, platform::IBitmap& bitmap, platform::RasterOp op) override;
    void setViewport(const platform::Rect& area) override;
    platform::Rgb pixel(platform::Point at) override;
    // Memory, not a system object.
    platform::DeviceContextHandle handle() const override { return {}; }

    platform::Size size() const { return size_; }
    bool monochrome() const { return monochrome_; }
    const platform::FontSpec& font() const { return font_; }
    // Every text written, with where it went (in surface pixels) and its colour.
    struct Text {
        platform::Point at;
        std::string text;
        platform::Rgb colour;
        platform::FontSpec font;
    };
    std::vector<Text> texts;

    // The glyph cell of a font: its width, and the text's height.
    static platform::Size cellOf(const platform::FontSpec& font);

private:
    void put(int x, int y, platform::Rgb colour, platform::RasterOp op);
    platform::Rgb at(int x, int y) const;
    bool inClip(int x, int y) const;
    void blit(const platform::Rect& target, SoftwareCanvas& source, const platform::Rect& from,
              platform::RasterOp op);

    platform::Size size_;
    bool monochrome_;
    std::vector<platform::Rgb> pixels_;
    platform::FontSpec font_;
    platform::Rgb textColor_ = platform::RgbBlack;
    bool clearBackground_ = false;
    platform::Point origin_{};
    platform::Rect clip_;
};

class SoftwareBitmap final : public platform::IBitmap {
public:
    SoftwareBitmap(platform::Size size, bool monochrome, int& live);
    ~SoftwareBitmap() override { --live_; }
    platform::Size size() const override { return canvas_.size(); }
    bool monochrome() const override { return canvas_.monochrome(); }
    platform::ICanvas& canvas() override { return canvas_; }
    SoftwareCanvas& software() { return canvas_; }

private:
    SoftwareCanvas canvas_;
    int& live_;
};

// The bitmaps of the native tests; it counts those still alive, and can fail.
class FakeCanvasService final : public platform::ICanvasService, public FakeService {
public:
    std::unique_ptr<platform::IBitmap> newBitmap(platform::Size size, bool monochrome) override;
    int liveBitmaps = 0;
};
