// The page a receipt is drawn on, as the renderer sees it: a small drawing vocabulary in
// logical units, free of any toolkit so that the renderer stays plain C++.
//
// Coordinates are integers in the logical system set by SetMapping, x to the right and y
// downwards, with (0, 0) at the top-left corner of the printable area. Until SetMapping is
// called one logical unit is one device pixel.
//
// Texts are UTF-8. They are drawn as they are: an ampersand is printed, never taken as a
// mnemonic marker. Text is drawn without a background (the page shows through between the
// glyphs), and so is the space between the lines of a hatched fill.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace page {

// Red, green and blue of 8 bits each, packed as 0x00BBGGRR.
using Color = std::uint32_t;

constexpr Color RgbColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return Color(r) | (Color(g) << 8) | (Color(b) << 16);
}
constexpr std::uint8_t RedOf(Color c) {
    return std::uint8_t(c & 0xFF);
}
constexpr std::uint8_t GreenOf(Color c) {
    return std::uint8_t((c >> 8) & 0xFF);
}
constexpr std::uint8_t BlueOf(Color c) {
    return std::uint8_t((c >> 16) & 0xFF);
}

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

// The printable area of the device: whole millimetres and device pixels.
struct DeviceSize {
    int widthMm = 0;
    int heightMm = 0;
    int widthPixels = 0;
    int heightPixels = 0;
};

// A solid line. Width 0 is one device pixel whatever the mapping; any other width is in
// logical units and scales with the mapping.
struct Pen {
    Color color = 0;
    int width = 0;
    friend bool operator==(const Pen&, const Pen&) = default;
};

enum class Fill {
    Solid,
    DiagonalCross, // two families of parallel lines at 45 degrees, crossing
};

struct Brush {
    Color color = RgbColor(255, 255, 255);
    Fill fill = Fill::Solid;
    friend bool operator==(const Brush&, const Brush&) = default;
};

// A font by face name and character cell height (ascent plus descent) in logical units;
// weight normal, upright, the face's own proportions. The empty face stands for the font
// the page had before anyone selected one.
struct Font {
    std::string face;
    int cellHeight = 0;
    friend bool operator==(const Font&, const Font&) = default;
};

enum class Align { Left, Center, Right };

// A picture loaded from the program's resources, ready to be copied onto the page.
class Picture {
public:
    virtual ~Picture() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
};

class PageSurface {
public:
    virtual ~PageSurface() = default;

    virtual DeviceSize Size() const = 0;

    // Maps a logical window of windowWidth x windowHeight units onto a viewport of
    // viewportWidth x viewportHeight device pixels, each axis scaled on its own, both origins
    // at (0, 0). All four figures must be positive; otherwise the mapping is left as it is.
    virtual void SetMapping(int windowWidth, int windowHeight, int viewportWidth,
                            int viewportHeight) = 0;

    // Outlines the rectangle with the pen (along its edges) and fills its inside with the brush.
    virtual void DrawRectangle(const Rect& rect, const Pen& pen, const Brush& brush) = 0;

    // Fills the rectangles, which do not overlap, in one solid colour as a single shape: no
    // outline, and no seam where two of them touch. A surface that can hand them to its
    // device in one go does; by default each is a rectangle outlined in the same colour.
    virtual void FillRectangles(const std::vector<Rect>& rects, Color color) {
        const Pen pen{color, 0};
        const Brush brush{color, Fill::Solid};
        for (const Rect& r : rects)
            DrawRectangle(r, pen, brush);
    }

    // Selects the font for the texts that follow and gives back the one it replaces.
    virtual Font SelectFont(const Font& font) = 0;
    virtual void SetTextColor(Color color) = 0;

    // One line whose character cell has its top-left corner at (x, y); not clipped.
    virtual void DrawPointText(int x, int y, std::string_view text) = 0;

    // One line at the top of the rectangle, aligned horizontally, not wrapped, and cut at the
    // rectangle's edges where it does not fit.
    virtual void DrawBoxText(const Rect& rect, Align align, std::string_view text) = 0;

    // The program's picture number `id`, or null when it cannot be loaded.
    virtual std::unique_ptr<Picture> LoadPicture(int id) = 0;

    // Copies the source area of the picture (in picture pixels) onto the target rectangle
    // (logical units), replacing what is there.
    virtual void CopyPicture(const Picture& picture, const Rect& source, const Rect& target) = 0;
};

} // namespace page
