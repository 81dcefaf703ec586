#pragma once
// One document on its way to a printer, as the print layouts draw it: pages
// of text and lines in printer dots, x to the right and y downwards from the
// top left of the printable area. Plain C++, so the layouts can be tested
// with a surface that records what they draw; the real one sits on Qt's
// printing support (platform/print/print_service.h).

#include <cstdint>
#include <string_view>

namespace quvan::platform {

struct PrintColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const PrintColour&, const PrintColour&) = default;
};

inline constexpr PrintColour kPrintBlack{0, 0, 0};

enum class PenStyle { Solid, Dotted };

class PrintSurface {
  public:
    virtual ~PrintSurface() = default;

    // The printable area of a page, in dots.
    virtual int pageWidth() const = 0;
    virtual int pageHeight() const = 0;
    // The document font: the size of a text in dots, and the character
    // height of the font itself.
    virtual int textWidth(std::string_view utf8) const = 0;
    virtual int textHeight(std::string_view utf8) const = 0;
    virtual int fontHeight() const = 0;

    // A width of 0 draws the thinnest line the printer can.
    virtual void setPen(PrintColour colour, PenStyle style, int width) = 0;
    virtual void setTextColour(PrintColour colour) = 0;
    // The text's top left corner at (x, y).
    virtual void textOut(int x, int y, std::string_view utf8) = 0;
    virtual void moveTo(int x, int y) = 0;
    virtual void lineTo(int x, int y) = 0;
    virtual void newPage() = 0;
};

} // namespace quvan::platform
