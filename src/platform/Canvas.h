// The canvas and bitmap service: surfaces to paint on (a window while it
// handles a paint request, or a bitmap), text in a font, filled rectangles,
// and copies between surfaces with raster operations. UI thread only.
//
// Errors: nothing throws. A bitmap the system cannot make is null; drawing
// outside a surface, or from or into an empty rectangle, draws nothing.
#pragma once

#include "platform/Geometry.h"

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

using Rgb = std::uint32_t; // 0x00BBGGRR

constexpr Rgb RgbBlack = 0x000000;
constexpr Rgb RgbWhite = 0xFFFFFF;

struct FontSpec {
    std::string name;
    int height = 0; // pixels; negative: the character height
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool operator==(const FontSpec&) const = default;
};

// How a copied pixel is combined with the one it lands on (the system's codes).
enum class RasterOp : std::uint32_t {
    SrcCopy = 0x00CC0020,   // the source
    SrcInvert = 0x00660046, // source XOR target
    SrcAnd = 0x008800C6,    // source AND target
};

class IBitmap;

class ICanvas {
public:
    virtual ~ICanvas() = default;

    virtual void fillRect(const Rect& rect, Rgb colour) = 0;

    // The font, colour and background of the text written from now on; a new
    // canvas writes in the system font, black on an opaque white background.
    virtual void setFont(const FontSpec& font) = 0;
    virtual void setTextColor(Rgb colour) = 0;
    // Clear: only the glyphs are drawn; otherwise the text's box is filled first.
    virtual void setTextBackground(bool clear) = 0;
    virtual void textOut(Point at, const std::string& text) = 0;
    virtual Size textExtent(const std::string& text) = 0;

    // Copies a rectangle of another canvas into a rectangle of this one.
    virtual void copyRect(const Rect& target, ICanvas& source, const Rect& from) = 0;
    // Draws a whole bitmap at a point. A monochrome bitmap's black and white
    // are drawn as black and white.
    virtual void draw(Point at, IBitmap& bitmap, RasterOp op) = 0;
    // Draws a whole bitmap scaled into a rectangle; pixels that scaling drops
    // are dropped, never blended.
    virtual void stretchDraw(const Rect& target, IBitmap& bitmap, RasterOp op) = 0;

    // Moves the origin to the area's top-left corner and clips every later
    // drawing to the area (in the surface's own coordinates): the surface of a
    // windowless control.
    virtual void setViewport(const Rect& area) = 0;

    // The colour of one pixel, in the viewport's coordinates; black outside the surface.
    virtual Rgb pixel(Point at) = 0;
};

// A bitmap with a canvas of its own; destroying it frees both.
class IBitmap {
public:
    virtual ~IBitmap() = default;
    virtual Size size() const = 0;
    virtual bool monochrome() const = 0;
    virtual ICanvas& canvas() = 0;
};

class ICanvasService {
public:
    virtual ~ICanvasService() = default;
    // A white bitmap of the screen's colours, or of one bit per pixel; null
    // when the system cannot make one or the size is empty.
    virtual std::unique_ptr<IBitmap> newBitmap(Size size, bool monochrome) = 0;
};

} // namespace platform
