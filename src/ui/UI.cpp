#include "ui/UI.h"

#include "platform/GlobalConstants.h"
#include "platform/Resources.h"
#include "ui/Hud.h"
#include "ui/MenuScreens.h"
#include "world/Texture.h"

namespace {

void closeFont(TTF_Font*& font) {
    if (font != nullptr) TTF_CloseFont(font);
    font = nullptr;
}

void closeFonts() {
    closeFont(counter);
    closeFont(small);
    closeFont(verySmall);
    closeFont(title);
}

}  // namespace

void UI_init(SDL_Renderer* _renderer, State& game, Player* _player) {
    // A second start-up must not leak the fonts of the first.
    closeFonts();
    // A missing font is not fatal: every text drawn with it then logs its failure and stays blank.
    const std::string fontFile = fontPath();
    counter = TTF_OpenFont(fontFile.c_str(), scale(18));
    small = TTF_OpenFont(fontFile.c_str(), scale(12));
    verySmall = TTF_OpenFont(fontFile.c_str(), scale(10));
    title = TTF_OpenFont(fontFile.c_str(), scale(34));
    // Said once here, with the reason: the text lines that fail later cannot name the file.
    if (counter == nullptr || small == nullptr || verySmall == nullptr || title == nullptr) {
        std::string reason = unreadableReason(fontFile);
        if (reason.empty()) reason = TTF_GetError();
        logOnce("Could not load font " + fontFile + "! SDL_ttf Error: " + reason);
    }

    renderer = _renderer;
    player = _player;

    setupHudTextures(renderer);
    initPlayerUI();
    initMenus(game);
}

void UI_setPlayer(Player* _player) { player = _player; }

void UI_close() {
    // Textures go first: they belong to the renderer, which close() destroys next.
    // The click sound goes before the audio device closes.
    freeHudTextures();
    releaseMenus();
    closeFonts();
    renderer = nullptr;
    player = nullptr;
}
