// Canvases and bitmaps in memory.
#include "support/SoftwareCanvas.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

using platform::Rgb;

namespace {

Rgb toMono(Rgb colour)
{
    int sum = static_cast<int>((colour & 0xFF) + ((colour >> 8) & 0xFF) + ((colour >> 16) & 0xFF));
    return sum >= 384 ? platform::RgbWhite : platform::RgbBlack;
}

} // namespace

SoftwareCanvas::SoftwareCanvas(platform::Size size, bool monochrome)
    : size_(size), monochrome_(monochrome),
      pixels_(static_cast<std::size_t>(std::max(0, size.width) * std::max(0, size.height)), platform::RgbWhite),
      clip_{0, 0, size.width, size.height}
{
}

bool SoftwareCanvas::inClip(int x, int y) const
{
    return x >= clip_.left && x < clip_.left + clip_.width && y >= clip_.top && y < clip_.top + clip_.height &&
           x >= 0 && x < size_.width && y >= 0 && y < size_.height;
}

Rgb SoftwareCanvas::at(int x, int y) const
{
    if (x < 0 || x >= size_.width || y < 0 || y >= size_.height)
        return platform::RgbBlack;
    return pixels_[static_cast<std::size_t>(y * size_.width + x)];
}

void SoftwareCanvas::put(int x, int y, Rgb colour, platform::RasterOp op)
{
    if (!inClip(x, y))
        return;
    Rgb& p = pixels_[static_cast<std::size_t>(y * size_.width + x)];
    switch (op) {
    case platform::RasterOp::SrcCopy:
        p = colour;
        break;
    case platform::RasterOp::SrcInvert:
        p ^= colour;
        break;
    case platform::RasterOp::SrcAnd:
        p &= colour;
        break;
    }
    p &= 0xFFFFFF;
    if (monochrome_)
        p = toMono(p);
}

void SoftwareCanvas::fillRect(const platform::Rect& r, Rgb colour)
{
    for (int y = r.top; y < r.top + r.height; ++y)
        for (int x = r.left; x < r.left + r.width; ++x)
            put(x + origin_.x, y + origin_.y, colour, platform::RasterOp::SrcCopy);
}

platform::Size SoftwareCanvas::cellOf(const platform::FontSpec& font)
{
    int height = font.height == 0 ? 16 : std::abs(font.height);
    return {std::max(1, height * 3 / 5), height};
}

platform::Size SoftwareCanvas::textExtent(const std::string& text)
{
    if (text.empty())
        return {};
    platform::Size cell = cellOf(font_);
    return {cell.width * static_cast<int>(text.size()), cell.height};
}

void SoftwareCanvas::textOut(platform::Point p, const std::string& text)
{
    texts.push_back({{p.x + origin_.x, p.y + origin_.y}, text, textColor_, font_});
    platform::Size cell = cellOf(font_);
    if (!clearBackground_)
        fillRect({p.x, p.y, cell.width * static_cast<int>(text.size()), cell.height}, platform::RgbWhite);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == ' ')
            continue;
        fillRect({p.x + cell.width * static_cast<int>(i) + 1, p.y + 1, cell.width - 2, cell.height - 2}, textColor_);
    }
}

void SoftwareCanvas::blit(const platform::Rect& target, SoftwareCanvas& source, const platform::Rect& from,
                          platform::RasterOp op)
{
    if (target.width <= 0 || target.height <= 0 || from.width <= 0 || from.height <= 0)
        return;
    for (int ty = 0; ty < target.height; ++ty) {
        for (int tx = 0; tx < target.width; ++tx) {
            // The nearest source pixel: what scaling drops is dropped.
            int sx = from.left + source.origin_.x + tx * from.width / target.width;
            int sy = from.top + source.origin_.y + ty * from.height / target.height;
            if (sx < 0 || sx >= source.size_.width || sy < 0 || sy >= source.size_.height)
                continue;
            put(target.left + origin_.x + tx, target.top + origin_.y + ty, source.at(sx, sy), op);
        }
    }
}

void SoftwareCanvas::copyRect(const platform::Rect& target, platform::ICanvas& source, const platform::Rect& from)
{
    auto* software = dynamic_cast<SoftwareCanvas*>(&source);
    if (!software)
        throw std::logic_error("copyRect: not a software canvas");
    blit(target, *software, from, platform::RasterOp::SrcCopy);
}

void SoftwareCanvas::draw(platform::Point p, platform::IBitmap& bitmap, platform::RasterOp op)
{
    platform::Size s = bitmap.size();
    auto& source = static_cast<SoftwareBitmap&>(bitmap).software();
    blit({p.x, p.y, s.width, s.height}, source, {0, 0, s.width, s.height}, op);
}

void SoftwareCanvas::stretchDraw(const platform::Rect& target, platform::IBitmap& bitmap, platform::RasterOp op)
{
    platform::Size s = bitmap.size();
    auto& source = static_cast<SoftwareBitmap&>(bitmap).software();
    blit(target, source, {0, 0, s.width, s.height}, op);
}

void SoftwareCanvas::setViewport(const platform::Rect& area)
{
    origin_ = {area.left, area.top};
    clip_ = area;
}

Rgb SoftwareCanvas::pixel(platform::Point p)
{
    return at(p.x + origin_.x, p.y + origin_.y);
}

SoftwareBitmap::SoftwareBitmap(platform::Size size, bool monochrome, int& live)
    : canvas_(size, monochrome), live_(live)
{
    ++live_;
}

std::unique_ptr<platform::IBitmap> FakeCanvasService::newBitmap(platform::Size size, bool monochrome)
{
    if (record("newBitmap", {std::to_string(size.width), std::to_string(size.height), monochrome ? "mono" : "colour"}))
        return nullptr;
    if (size.width <= 0 || size.height <= 0)
        return nullptr;
    return std::make_unique<SoftwareBitmap>(size, monochrome, liveBitmaps);
}
