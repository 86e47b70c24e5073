#pragma once

// Tooltips: the box a button shows while pointed at, with its lines laid out.

#include <SDL.h>
#include <SDL_ttf.h>

#include <string>
#include <vector>

#include "world/Texture.h"

// Size and label column of a tooltip box.
struct HoverLayout {
    int width = 0;
    int height = 0;
    // Labels end here (right-aligned), values start 2 pixels after it.
    int breakPoint = 0;
};

// Tooltip geometry for lines of the given label and value widths, in line order.
// The widest line alone sets both the box width and the label column. Lines
// across the whole box (a title, a note) come first, one line each, and widen
// the box when they are wider.
HoverLayout hoverLayout(const std::vector<int>& labelWidths, const std::vector<int>& valueWidths,
                        const std::vector<int>& wholeLineWidths = {});

// A tooltip: a dark box with, first, lines across it (the item's title, a note
// in plain words), then label/value lines, labels right-aligned against a
// common column and values left-aligned after it.
class UI_HoverText {
public:
    UI_HoverText() = default;

    // Reserves room for numberOfLines lines.
    void setup(int numberOfLines, SDL_Renderer* renderer);
    // Label and value share the font and colour.
    void addLine(const std::string& lineText, const std::string& lineValue, TTF_Font* font, SDL_Color color);
    // A line across the box, above the label/value lines, in the order added.
    void addWholeLine(const std::string& lineText, TTF_Font* font, SDL_Color color);
    // Draws the box with its top-left corner at (x, y). Leaves the draw colour at the outline's.
    void render(int x, int y) const;

    // Shows the value of line i in another colour until tick `until` (ms):
    // the shop's price in red after a click the XP does not cover.
    void flashValue(int i, SDL_Color color, Uint32 until);
    bool isFlashing(Uint32 now) const;

    HoverLayout layout() const;
    int getNumberOfLines() const { return static_cast<int>(text.size()); }
    // The words of line i as given to addLine, so a shop's prices can be read back.
    const std::string& getLineText(int i) const { return lineTexts[i]; }
    const std::string& getLineValue(int i) const { return lineValues[i]; }
    // The line i of those across the box: the title first.
    int getNumberOfWholeLines() const { return static_cast<int>(wholeLines.size()); }
    const std::string& getWholeLine(int i) const { return wholeLineTexts[i]; }

private:
    std::vector<Texture> text;
    std::vector<Texture> values;
    SDL_Renderer* renderer = nullptr;
    std::vector<std::string> lineTexts;
    std::vector<std::string> lineValues;
    std::vector<Texture> wholeLines;
    std::vector<std::string> wholeLineTexts;
    // The value drawn in place of line flashLine's while the flash lasts.
    Texture flashTexture;
    int flashLine = -1;
    Uint32 flashUntil = 0;
    // The font each value was made with, for the flash's copy.
    std::vector<TTF_Font*> valueFonts;
};
