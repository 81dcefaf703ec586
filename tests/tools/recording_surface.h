#pragma once
// A print surface that remembers what was drawn, with simple metrics: every
// character (UTF-8 code point) is `charWidth` dots wide ("W" `wWidth`), every text
// `textHeightDots` high, and the font `fontHeightDots` high.

#include "platform/print/print_surface.h"

#include <string>
#include <vector>

namespace quvan::tools {

struct DrawnText {
    int page;
    int x, y;
    std::string text;
    platform::PrintColour colour;
};

struct DrawnLine {
    int page;
    int x1, y1, x2, y2;
    platform::PrintColour colour;
    platform::PenStyle style;
    int width;
};

class RecordingSurface final : public platform::PrintSurface {
  public:
    int width = 4000;
    int height = 6000;
    int charWidth = 10;
    int wWidth = 10; // "W" alone, wider in a proportional font
    int textHeightDots = 20;
    int fontHeightDots = 50;

    int page = 0;
    std::vector<DrawnText> texts;
    std::vector<DrawnLine> lines;

    int pageWidth() const override { return width; }
    int pageHeight() const override { return height; }
    int textWidth(std::string_view utf8) const override {
        int width = 0;
        for (char c : utf8) {
            if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
                width += c == 'W' ? wWidth : charWidth;
        }
        return width;
    }
    int textHeight(std::string_view) const override { return textHeightDots; }
    int fontHeight() const override { return fontHeightDots; }
    void setPen(platform::PrintColour colour, platform::PenStyle style, int w) override {
        penColour_ = colour;
        penStyle_ = style;
        penWidth_ = w;
    }
    void setTextColour(platform::PrintColour colour) override { textColour_ = colour; }
    void textOut(int x, int y, std::string_view utf8) override {
        texts.push_back({page, x, y, std::string(utf8), textColour_});
    }
    void moveTo(int x, int y) override {
        x_ = x;
        y_ = y;
    }
    void lineTo(int x, int y) override {
        lines.push_back({page, x_, y_, x, y, penColour_, penStyle_, penWidth_});
        x_ = x;
        y_ = y;
    }
    void newPage() override { ++page; }

    std::vector<std::string> textsAt(int y) const {
        std::vector<std::string> found;
        for (const DrawnText& t : texts)
            if (t.y == y)
                found.push_back(t.text);
        return found;
    }

  private:
    platform::PrintColour penColour_{};
    platform::PenStyle penStyle_ = platform::PenStyle::Solid;
    int penWidth_ = 1;
    platform::PrintColour textColour_{};
    int x_ = 0, y_ = 0;
};

} // namespace quvan::tools
