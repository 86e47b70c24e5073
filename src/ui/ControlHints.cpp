#include "ui/ControlHints.h"

#include <algorithm>
#include <array>
#include <vector>

#include "platform/Game.h"
#include "platform/GlobalConstants.h"
#include "ui/Interface.h"
#include "world/Texture.h"

const char* const KEYBOARD_HINTS =
    "A D drive \u00b7 J L aim \u00b7 Space fire \u00b7 R reload \u00b7 W switch \u00b7 E ability \u00b7 Esc pause";

namespace {

const SDL_Color BAND{10, 10, 16, 200};
const SDL_Color HEADING{255, 214, 102, 255};
const int GLYPH_SIZE = 20;
const int BAND_HEIGHT = 30;
const int BAND_MARGIN = 14;

// The controller's line of the strip: each button's picture and what it does.
struct PadHint {
    const char* picture;
    const char* words;
};
const std::array<PadHint, 7> PAD_HINTS{{{"pad-left-stick.png", "drive"},
                                        {"pad-right-stick.png", "aim"},
                                        {"pad-trigger.png", "fire"},
                                        {"pad-x.png", "reload"},
                                        {"pad-y.png", "switch"},
                                        {"pad-b.png", "ability"},
                                        {"pad-start.png", "pause"}}};

// A row of the Controls page: the action, its keys, and the controller's
// picture (none for words alone) with what to say beside it.
struct ControlRow {
    const char* action;
    const char* keys;
    const char* picture;
    const char* padWords;
};
const std::array<ControlRow, 11> CONTROL_ROWS{{
    {"Drive left / right", "A / D", "pad-left-stick.png", "left stick"},
    {"Face left / right", "J / L", "pad-right-stick.png", "right stick"},
    {"Fire", "Space", "pad-trigger.png", "right trigger"},
    {"Reload", "R", "pad-x.png", ""},
    {"Switch weapon", "W", "pad-y.png", ""},
    {"Use the ability", "E", "pad-b.png", ""},
    {"Steer the teleport", "J, L, I, K", "pad-right-stick.png", "right stick"},
    {"Pause", "Escape", "pad-start.png", ""},
    {"Menus: move, click", "arrows, Enter", "pad-a.png", "left stick, then"},
    {"Shop: tabs", "Q / E", nullptr, "LB / RB"},
    {"Fullscreen", "F11, Alt+Enter", nullptr, ""},
}};

const int PAGE_TITLE_Y = scale(20);
const int PAGE_HEADING_Y = 118;
const int PAGE_FIRST_ROW_Y = 160;
const int PAGE_ROW_PITCH = 38;
const int ACTION_X = 150;
const int KEYS_X = 520;
const int PAD_X = 800;

Texture keyboardLine;
std::array<Texture, PAD_HINTS.size()> padPictures;
std::array<Texture, PAD_HINTS.size()> padWords;

Texture pageTitle;
Texture keyboardHeading;
Texture padHeading;
struct RowTextures {
    Texture action;
    Texture keys;
    Texture picture;
    Texture padWords;
};
std::array<RowTextures, CONTROL_ROWS.size()> rowTextures;

void loadHintPicture(Texture& picture, const char* file) {
    picture.setup(GLYPH_SIZE, GLYPH_SIZE, renderer);
    picture.loadFromFile(file);
}

void text(Texture& texture, const char* words, TTF_Font* font, SDL_Color colour = white) {
    texture.setup(renderer);
    if (words[0] != '\0') texture.loadFromRenderedText(words, colour, font);
}

Uint8 faded(Uint8 alpha, float opacity) { return static_cast<Uint8>(static_cast<float>(alpha) * opacity); }

}  // namespace

float hintsOpacity(int wave, Uint32 waveStart, Uint32 now) {
    if (wave == 1 || wave == 2) return 1.0f;
    if (wave != 3) return 0.0f;
    if (SDL_TICKS_PASSED(now, waveStart) == SDL_FALSE) return 1.0f;
    const float gone = static_cast<float>(now - waveStart) / static_cast<float>(HINTS_FADE_MS);
    return std::clamp(1.0f - gone, 0.0f, 1.0f);
}

SDL_Rect hintsBand(const SDL_Rect& leftCorner, const SDL_Rect& rightCorner) {
    const int left = leftCorner.x + leftCorner.w + BAND_MARGIN;
    const int right = rightCorner.x - BAND_MARGIN;
    return {left, WINDOW_HEIGHT - BAND_HEIGHT - 4, std::max(0, right - left), BAND_HEIGHT};
}

void renderControlHints(const SDL_Rect& band, bool padInUse, float opacity) {
    if (opacity <= 0.0f || band.w <= 0) return;
    SDL_SetRenderDrawColor(renderer, BAND.r, BAND.g, BAND.b, faded(BAND.a, opacity));
    SDL_RenderFillRect(renderer, &band);
    const Uint8 alpha = faded(255, opacity);
    if (!padInUse) {
        keyboardLine.setAlphaMod(alpha);
        keyboardLine.render(band.x + (band.w - keyboardLine.getWidth()) / 2,
                            band.y + (band.h - keyboardLine.getHeight()) / 2);
        return;
    }
    int width = 0;
    for (std::size_t i = 0; i < PAD_HINTS.size(); ++i) width += GLYPH_SIZE + 4 + padWords[i].getWidth() + 18;
    int x = band.x + (band.w - (width - 18)) / 2;
    for (std::size_t i = 0; i < PAD_HINTS.size(); ++i) {
        padPictures[i].setAlphaMod(alpha);
        padPictures[i].render(x, band.y + (band.h - GLYPH_SIZE) / 2);
        x += GLYPH_SIZE + 4;
        padWords[i].setAlphaMod(alpha);
        padWords[i].render(x, band.y + (band.h - padWords[i].getHeight()) / 2);
        x += padWords[i].getWidth() + 18;
    }
}

void openControls(State& game, int, int) {
    game.menu = Menu::controls;
    setCurrentButton(controlsMenu.loadMenu());
}

void closeControls(State& game, int, int) {
    game.menu = Menu::settings;
    std::vector<UI_Button>& rows = settingsMenu.getButtons();
    setCurrentButton(CONTROLS_SETTING_ROW < static_cast<int>(rows.size()) ? &rows[CONTROLS_SETTING_ROW] : nullptr);
}

bool handleControlsEvent(State& game, const SDL_Event& event) {
    const bool back = (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE) ||
                      (event.type == SDL_CONTROLLERBUTTONDOWN && event.cbutton.button == SDL_CONTROLLER_BUTTON_B &&
                       !controllerButtonDown(SDL_CONTROLLER_BUTTON_A));
    if (back) closeControls(game, 0, 0);
    return back;
}

void renderControlsPage() {
    pageTitle.render((WINDOW_WIDTH - pageTitle.getWidth()) / 2, PAGE_TITLE_Y);
    keyboardHeading.render(KEYS_X, PAGE_HEADING_Y);
    padHeading.render(PAD_X, PAGE_HEADING_Y);
    for (std::size_t i = 0; i < CONTROL_ROWS.size(); ++i) {
        const int y = PAGE_FIRST_ROW_Y + static_cast<int>(i) * PAGE_ROW_PITCH;
        RowTextures& row = rowTextures[i];
        row.action.render(ACTION_X, y);
        row.keys.render(KEYS_X, y);
        int x = PAD_X;
        if (row.padWords.getTexture() != nullptr) {
            row.padWords.render(x, y);
            x += row.padWords.getWidth() + 8;
        }
        if (CONTROL_ROWS[i].picture != nullptr) row.picture.render(x, y + (row.action.getHeight() - GLYPH_SIZE) / 2);
    }
}

void initControlHints(State& game) {
    text(keyboardLine, KEYBOARD_HINTS, small);
    for (std::size_t i = 0; i < PAD_HINTS.size(); ++i) {
        loadHintPicture(padPictures[i], PAD_HINTS[i].picture);
        text(padWords[i], PAD_HINTS[i].words, small);
    }
    text(pageTitle, "Controls", title);
    text(keyboardHeading, "Keyboard", counter, HEADING);
    text(padHeading, "Controller", counter, HEADING);
    for (std::size_t i = 0; i < CONTROL_ROWS.size(); ++i) {
        const ControlRow& row = CONTROL_ROWS[i];
        text(rowTextures[i].action, row.action, small);
        text(rowTextures[i].keys, row.keys, small);
        text(rowTextures[i].padWords, row.padWords, small);
        if (row.picture != nullptr) loadHintPicture(rowTextures[i].picture, row.picture);
    }
    controlsMenu.setup(renderer, &buttonSound);
    controlsMenu.addButton((WINDOW_WIDTH - UI_Button::width) / 2, WINDOW_HEIGHT - UI_Button::height - 12, "Back",
                           &white, counter, -1, -1, -1, -1, closeControls, game, 0, 0, 0);
}

void releaseControlHints() {
    controlsMenu.release();
    keyboardLine.free();
    for (Texture& picture : padPictures) picture.free();
    for (Texture& words : padWords) words.free();
    pageTitle.free();
    keyboardHeading.free();
    padHeading.free();
    for (RowTextures& row : rowTextures) {
        row.action.free();
        row.keys.free();
        row.picture.free();
        row.padWords.free();
    }
}
