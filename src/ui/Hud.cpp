#include "Hud.h"

#include <string>

#include "GlobalConstants.h"
#include "Player.h"
#include "Interface.h"
#include "Weapon.h"

Texture waveNumberText;
Texture waveNumberTitle;
Texture comboNumberText;
Texture playerXPText;
Texture fpsText;

SDL_Rect timeToShootBack{0, 0, 0, 0}, timeToShoot{0, 0, 0, 0};
SDL_Rect timeToAbilityBack{0, 0, 0, 0}, timeToAbility{0, 0, 0, 0};
SDL_Rect healthBackRect{0, 0, 0, 0}, healthRect{0, 0, 0, 0};
SDL_Rect shieldBackRect{0, 0, 0, 0}, shieldRect{0, 0, 0, 0};

namespace {

void fillGrey(const SDL_Rect& rect) { fillBar(rect, 150, 150, 150); }
void fillRed(const SDL_Rect& rect) { fillBar(rect, 255, 0, 0); }
void fillBlue(const SDL_Rect& rect) { fillBar(rect, 0, 0, 255); }

// Where a text drawn at (x, y) lies.
SDL_Rect textArea(const Texture& text, int x, int y) { return {x, y, text.getWidth(), text.getHeight()}; }

const SDL_Point WAVE_TEXT_AT{scale(10), scale(5)};
const SDL_Point COMBO_TEXT_AT{scale(10), scale(30)};
const SDL_Point XP_TEXT_AT{scale(10), scale(55)};
const SDL_Point FPS_TEXT_AT{scale(10), scale(80)};
const int BANNER_Y = scale(200);

int bannerX() { return (WINDOW_WIDTH - waveNumberTitle.getWidth()) / 2; }

// Cartridge i of the clip; the first is the rightmost.
SDL_Rect cartridge(int i) {
    return {WINDOW_WIDTH - scale(30) - scale(20 * i), WINDOW_HEIGHT - scale(25), scale(15), scale(15)};
}

// A vertical bar grows upward from a fixed bottom edge.
void setVerticalFill(SDL_Rect& rect, double percentage) {
    rect.h = scale(percentage * 75);
    rect.y = WINDOW_HEIGHT - scale(5) - rect.h;
}

}  // namespace

void setupHudTextures(SDL_Renderer* hudRenderer) {
    waveNumberText.setup(hudRenderer);
    waveNumberTitle.setup(hudRenderer);
    comboNumberText.setup(hudRenderer);
    playerXPText.setup(hudRenderer);
    fpsText.setup(hudRenderer);
}

void freeHudTextures() {
    waveNumberText.free();
    waveNumberTitle.free();
    comboNumberText.free();
    playerXPText.free();
    fpsText.free();
}

void updateInGameText(int playerCombo, int wave, int xp) {
    comboNumberText.loadFromRenderedText("Combo: " + std::to_string(playerCombo), white, counter);
    waveNumberText.loadFromRenderedText("Wave: " + std::to_string(wave), white, counter);
    waveNumberTitle.loadFromRenderedText("Wave " + std::to_string(wave) + " Start!", white, title);
    playerXPText.loadFromRenderedText("XP: " + std::to_string(xp), white, counter);
}

void renderInGameText(bool developerMode, float lastFPS, bool waveStarted) {
    waveNumberText.render(WAVE_TEXT_AT.x, WAVE_TEXT_AT.y);
    comboNumberText.render(COMBO_TEXT_AT.x, COMBO_TEXT_AT.y);
    playerXPText.render(XP_TEXT_AT.x, XP_TEXT_AT.y);
    if (developerMode) {
        fpsText.loadFromRenderedText("FPS: " + std::to_string(lastFPS), white, counter);
        fpsText.render(FPS_TEXT_AT.x, FPS_TEXT_AT.y);
    }
    if (!waveStarted) waveNumberTitle.render(bannerX(), BANNER_Y);
}

void initPlayerUI() {
    const int barX = WINDOW_WIDTH - scale(90);
    const int barWidth = scale(75);
    const int barHeight = scale(15);
    timeToShootBack = {barX, WINDOW_HEIGHT - scale(50), barWidth, barHeight};
    timeToShoot = timeToShootBack;
    timeToAbilityBack = {barX, WINDOW_HEIGHT - scale(75), barWidth, barHeight};
    timeToAbility = timeToAbilityBack;
    healthBackRect = {scale(10), WINDOW_HEIGHT - scale(80), scale(15), scale(75)};
    healthRect = healthBackRect;
    shieldBackRect = {scale(35), WINDOW_HEIGHT - scale(80), scale(15), scale(75)};
    shieldRect = shieldBackRect;
}

void updateTimeToShoot(double width) { timeToShoot.w = static_cast<int>(width); }

void updateTimeToAbility(double width) { timeToAbility.w = static_cast<int>(width); }

void renderPlayerUI(Player* hero) {
    if (hero == nullptr) return;
    // Before the first weapons are fitted the hand is empty: no cartridges to show.
    const Weapon* weapon = hero->getWeapon();
    renderPlayerUI(hero->getHealthPercentage(), hero->getShieldPercentage(), hero->getAbility() != none,
                   weapon != nullptr ? weapon->getBulletsInClip() : 0, weapon != nullptr ? weapon->getClipSize() : 0);
}

void renderPlayerUI(double healthPercentage, double shieldPercentage, bool hasAbility, int bulletsInClip,
                    int clipSize) {
    fillGrey(timeToShootBack);
    fillRed(timeToShoot);
    if (hasAbility) {
        fillGrey(timeToAbilityBack);
        fillBlue(timeToAbility);
    }

    setVerticalFill(healthRect, healthPercentage);
    setVerticalFill(shieldRect, shieldPercentage);
    fillGrey(healthBackRect);
    fillGrey(shieldBackRect);
    fillRed(healthRect);
    fillBlue(shieldRect);

    // Cartridges run leftward from the right edge; the loaded ones are the rightmost.
    for (int i = 0; i < clipSize; i++) {
        const SDL_Rect square = cartridge(i);
        if (i < bulletsInClip) {
            fillRed(square);
        } else {
            fillGrey(square);
        }
    }
}

void hudAreas(const Player* hero, bool developerMode, bool waveStarted, std::vector<SDL_Rect>& out) {
    out.clear();
    out.push_back(textArea(waveNumberText, WAVE_TEXT_AT.x, WAVE_TEXT_AT.y));
    out.push_back(textArea(comboNumberText, COMBO_TEXT_AT.x, COMBO_TEXT_AT.y));
    out.push_back(textArea(playerXPText, XP_TEXT_AT.x, XP_TEXT_AT.y));
    if (developerMode) out.push_back(textArea(fpsText, FPS_TEXT_AT.x, FPS_TEXT_AT.y));
    if (!waveStarted) out.push_back(textArea(waveNumberTitle, bannerX(), BANNER_Y));
    out.insert(out.end(), {timeToShootBack, timeToAbilityBack, healthBackRect, shieldBackRect});
    const Weapon* weapon = hero != nullptr ? hero->getWeapon() : nullptr;
    const int clipSize = weapon != nullptr ? weapon->getClipSize() : 0;
    if (clipSize > 0) {
        // The whole row at once: from the leftmost cartridge to the rightmost.
        const SDL_Rect left = cartridge(clipSize - 1);
        const SDL_Rect right = cartridge(0);
        out.push_back({left.x, left.y, right.x + right.w - left.x, left.h});
    }
}
