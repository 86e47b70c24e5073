#include "ui/HoverText.h"

#include <algorithm>
#include <cstddef>

#include "platform/GlobalConstants.h"

namespace {

const SDL_Color BOX_FILL{26, 26, 26, 255};
const SDL_Color BOX_OUTLINE{220, 220, 220, 255};

// Lines stand scale(15) apart; the running position is truncated per line.
int lineOffset(int line) { return scale(15.0 * line); }

// Lines across the box start where the widest label would.
const int WHOLE_LINE_INSET = 10;

// The widest line sets the box and the label column; of equal lines the first
// wins. Lines across the box only widen it.
template <typename LabelWidth, typename ValueWidth, typename WholeWidth>
HoverLayout layoutLines(std::size_t lines, LabelWidth labelWidth, ValueWidth valueWidth, std::size_t wholeLines,
                        WholeWidth wholeWidth) {
    HoverLayout layout;
    for (std::size_t i = 0; i < lines; ++i) {
        const int total = labelWidth(i) + valueWidth(i) + 32;
        if (total > layout.width) {
            layout.width = total;
            layout.breakPoint = labelWidth(i) + 10;
        }
    }
    for (std::size_t i = 0; i < wholeLines; ++i) {
        layout.width = std::max(layout.width, wholeWidth(i) + 2 * WHOLE_LINE_INSET);
    }
    layout.height = lineOffset(static_cast<int>(lines + wholeLines));
    return layout;
}

}  // namespace

HoverLayout hoverLayout(const std::vector<int>& labelWidths, const std::vector<int>& valueWidths,
                        const std::vector<int>& wholeLineWidths) {
    const std::size_t lines = std::min(labelWidths.size(), valueWidths.size());
    return layoutLines(
        lines, [&](std::size_t i) { return labelWidths[i]; }, [&](std::size_t i) { return valueWidths[i]; },
        wholeLineWidths.size(), [&](std::size_t i) { return wholeLineWidths[i]; });
}


void UI_HoverText::setup(int numberOfLines, SDL_Renderer* _renderer) {
    const auto lines = static_cast<std::size_t>(std::max(0, numberOfLines));
    text.reserve(lines);
    values.reserve(lines);
    lineTexts.reserve(lines);
    lineValues.reserve(lines);
    this->renderer = _renderer;
}

void UI_HoverText::addLine(const std::string& lineText, const std::string& lineValue, TTF_Font* font,
                           SDL_Color color) {
    // A line whose text fails to render still counts, so labels and values stay paired.
    Texture label;
    label.setup(renderer);
    label.loadFromRenderedText(lineText, color, font);
    text.push_back(label);

    Texture value;
    value.setup(renderer);
    value.loadFromRenderedText(lineValue, color, font);
    values.push_back(value);

    lineTexts.push_back(lineText);
    lineValues.push_back(lineValue);
    valueFonts.push_back(font);
}

void UI_HoverText::addWholeLine(const std::string& lineText, TTF_Font* font, SDL_Color color) {
    Texture line;
    line.setup(renderer);
    line.loadFromRenderedText(lineText, color, font);
    wholeLines.push_back(line);
    wholeLineTexts.push_back(lineText);
}

void UI_HoverText::flashValue(int i, SDL_Color color, Uint32 until) {
    if (i < 0 || i >= getNumberOfLines()) return;
    flashTexture.setup(renderer);
    const auto line = static_cast<std::size_t>(i);
    if (!flashTexture.loadFromRenderedText(lineValues[line], color, valueFonts[line])) return;
    flashLine = i;
    flashUntil = until;
}

bool UI_HoverText::isFlashing(Uint32 now) const {
    return flashLine >= 0 && SDL_TICKS_PASSED(now, flashUntil) == SDL_FALSE;
}

HoverLayout UI_HoverText::layout() const {
    return layoutLines(
        text.size(), [this](std::size_t i) { return text[i].getWidth(); },
        [this](std::size_t i) { return values[i].getWidth(); }, wholeLines.size(),
        [this](std::size_t i) { return wholeLines[i].getWidth(); });
}

void UI_HoverText::render(int x, int y) const {
    const HoverLayout box = layout();
    const SDL_Rect rect{x, y, box.width, box.height};
    SDL_SetRenderDrawColor(renderer, BOX_FILL.r, BOX_FILL.g, BOX_FILL.b, BOX_FILL.a);
    SDL_RenderFillRect(renderer, &rect);
    SDL_SetRenderDrawColor(renderer, BOX_OUTLINE.r, BOX_OUTLINE.g, BOX_OUTLINE.b, BOX_OUTLINE.a);
    SDL_RenderDrawRect(renderer, &rect);

    for (std::size_t i = 0; i < wholeLines.size(); ++i) {
        wholeLines[i].render(x + WHOLE_LINE_INSET, y + lineOffset(static_cast<int>(i)));
    }
    const bool flashing = isFlashing(SDL_GetTicks());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int lineY = y + lineOffset(static_cast<int>(wholeLines.size() + i));
        text[i].render(x + box.breakPoint - text[i].getWidth(), lineY);
        const Texture& value = flashing && static_cast<int>(i) == flashLine ? flashTexture : values[i];
        value.render(x + box.breakPoint + 2, lineY);
    }
}
