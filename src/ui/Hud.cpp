#include "ui/Hud.h"

#include <algorithm>
#include <initializer_list>
#include <map>
#include <string>

#include "platform/GlobalConstants.h"
#include "player/Player.h"
#include "player/Weapon.h"
#include "ui/Interface.h"
#include "ui/RobotArrows.h"

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

// The bars' pictures, and the four abilities' own.
Texture heartIcon;
Texture shieldIcon;
Texture cartridgeIcon;
Texture abilityIcons[4];
const char* const ABILITY_ICONS[4] = {"hud-bounce.png", "hud-teleport.png", "hud-c4.png", "hud-grenade.png"};

// "+N" by N, and "Dodge": the words that rise.
std::map<int, Texture> risingTexts;

// The weapon in hand at the last frame, and its name while it shows.
const Weapon* weaponInHand = nullptr;
Texture weaponNameText;
Uint32 weaponNameUntil = 0;
bool weaponNameShown = false;

}  // namespace

namespace {

const Uint8 OPAQUE = 255;
// A corner with the hero under it.
const Uint8 FADED = 128;

void fillGrey(const SDL_Rect& rect, Uint8 alpha = OPAQUE) { fillBar(rect, 150, 150, 150, alpha); }
void fillRed(const SDL_Rect& rect, Uint8 alpha = OPAQUE) { fillBar(rect, 255, 0, 0, alpha); }
void fillBlue(const SDL_Rect& rect, Uint8 alpha = OPAQUE) { fillBar(rect, 0, 0, 255, alpha); }

// A bar's background only where its fill leaves it, then the fill: each pixel
// is drawn once, so a faded bar shows the world through it, not its background.
// Vertical fills grow from the bottom, horizontal ones from the left.
void drawBar(const SDL_Rect& back, const SDL_Rect& fill, bool vertical, void (*fillColour)(const SDL_Rect&, Uint8),
             Uint8 alpha) {
    SDL_Rect rest = back;
    if (vertical) {
        rest.h = std::clamp(fill.y - back.y, 0, back.h);
    } else {
        rest.x = back.x + std::clamp(fill.w, 0, back.w);
        rest.w = back.w - (rest.x - back.x);
    }
    fillGrey(rest, alpha);
    fillColour(fill, alpha);
}

void drawIcon(Texture& icon, const SDL_Rect& at, Uint8 alpha) {
    icon.setAlphaMod(alpha);
    icon.render(at.x, at.y);
}

SDL_Rect unionOf(std::initializer_list<SDL_Rect> rects) {
    SDL_Rect all = *rects.begin();
    for (const SDL_Rect& rect : rects) SDL_UnionRect(&all, &rect, &all);
    return all;
}

// Where the weapon's name shows: right-aligned over the ability bar.
SDL_Rect weaponNameRect() {
    const int w = weaponNameText.getWidth();
    const int h = weaponNameText.getHeight();
    return {timeToShootBack.x + timeToShootBack.w - w, timeToAbilityBack.y - 6 - h, w, h};
}

// A new weapon in hand (switched, or fitted for a new run) is named for a moment.
void followWeaponInHand(const Weapon* weapon, Uint32 now) {
    if (weapon == weaponInHand) return;
    if (weaponInHand != nullptr && weapon != nullptr) {
        weaponNameText.loadFromRenderedText(weaponName(weapon->getType()), white, small);
        weaponNameUntil = now + WEAPON_NAME_MS;
    }
    weaponInHand = weapon;
}

// Where a text drawn at (x, y) lies.
SDL_Rect textArea(const Texture& text, int x, int y) { return {x, y, text.getWidth(), text.getHeight()}; }

const SDL_Point WAVE_TEXT_AT{scale(10), scale(5)};
const SDL_Point COMBO_TEXT_AT{scale(10), scale(30)};
const SDL_Point XP_TEXT_AT{scale(10), scale(55)};
const SDL_Point FPS_TEXT_AT{scale(10), scale(80)};
const int BANNER_Y = scale(200);

int bannerX() { return (WINDOW_WIDTH - waveNumberTitle.getWidth()) / 2; }

// The whole row of cartridges, leftmost to rightmost; empty without a clip.
SDL_Rect cartridgeRow(int clipSize);

// Cartridge i of the clip; the first is the rightmost.
SDL_Rect cartridge(int i) {
    return {WINDOW_WIDTH - scale(30) - scale(20 * i), WINDOW_HEIGHT - scale(25), scale(15), scale(15)};
}

SDL_Rect cartridgeRow(int clipSize) {
    if (clipSize <= 0) return {0, 0, 0, 0};
    const SDL_Rect left = cartridge(clipSize - 1);
    const SDL_Rect right = cartridge(0);
    return {left.x, left.y, right.x + right.w - left.x, left.h};
}

// A vertical bar grows upward from a fixed bottom edge.
void setVerticalFill(SDL_Rect& rect, double percentage) {
    rect.h = scale(percentage * 75);
    rect.y = WINDOW_HEIGHT - scale(5) - rect.h;
}

// The bars, pictures and cartridges, each bottom corner at its own opacity.
struct HudDrawing {
    double health = 0;
    double shield = 0;
    bool hasAbility = false;
    const Texture* abilityPicture = nullptr;
    int bulletsInClip = 0;
    int clipSize = 0;
    bool showName = false;
    Uint8 left = OPAQUE;
    Uint8 right = OPAQUE;
};

void draw(const HudDrawing& hud) {
    drawBar(timeToShootBack, timeToShoot, false, fillRed, hud.right);
    drawIcon(cartridgeIcon, reloadIconRect(), hud.right);
    if (hud.hasAbility) {
        drawBar(timeToAbilityBack, timeToAbility, false, fillBlue, hud.right);
        if (hud.abilityPicture != nullptr) drawIcon(const_cast<Texture&>(*hud.abilityPicture), abilityIconRect(), hud.right);
    }

    setVerticalFill(healthRect, hud.health);
    setVerticalFill(shieldRect, hud.shield);
    drawBar(healthBackRect, healthRect, true, fillRed, hud.left);
    drawBar(shieldBackRect, shieldRect, true, fillBlue, hud.left);
    drawIcon(heartIcon, healthIconRect(), hud.left);
    drawIcon(shieldIcon, shieldIconRect(), hud.left);

    // Cartridges run leftward from the right edge; the loaded ones are the rightmost.
    for (int i = 0; i < hud.clipSize; i++) {
        const SDL_Rect square = cartridge(i);
        if (i < hud.bulletsInClip) {
            fillRed(square, hud.right);
        } else {
            fillGrey(square, hud.right);
        }
    }
    if (hud.showName) {
        const SDL_Rect name = weaponNameRect();
        drawIcon(weaponNameText, name, hud.right);
    }
}

}  // namespace

SDL_Rect healthIconRect() {
    return {healthBackRect.x + (healthBackRect.w - HUD_ICON_SIZE) / 2, healthBackRect.y - 4 - HUD_ICON_SIZE,
            HUD_ICON_SIZE, HUD_ICON_SIZE};
}

SDL_Rect shieldIconRect() {
    return {shieldBackRect.x + (shieldBackRect.w - HUD_ICON_SIZE) / 2, shieldBackRect.y - 4 - HUD_ICON_SIZE,
            HUD_ICON_SIZE, HUD_ICON_SIZE};
}

SDL_Rect reloadIconRect() {
    return {timeToShootBack.x - 4 - HUD_ICON_SIZE, timeToShootBack.y + (timeToShootBack.h - HUD_ICON_SIZE) / 2,
            HUD_ICON_SIZE, HUD_ICON_SIZE};
}

SDL_Rect abilityIconRect() {
    return {timeToAbilityBack.x - 4 - HUD_ICON_SIZE, timeToAbilityBack.y + (timeToAbilityBack.h - HUD_ICON_SIZE) / 2,
            HUD_ICON_SIZE, HUD_ICON_SIZE};
}

void setupHudTextures(SDL_Renderer* hudRenderer) {
    for (Texture* text : {&waveNumberText, &waveNumberTitle, &comboNumberText, &playerXPText, &fpsText,
                          &weaponNameText}) {
        text->setup(hudRenderer);
    }
    auto picture = [hudRenderer](Texture& icon, const char* file) {
        icon.setup(HUD_ICON_SIZE, HUD_ICON_SIZE, hudRenderer);
        icon.loadFromFile(file);
    };
    picture(heartIcon, "hud-heart.png");
    picture(shieldIcon, "hud-shield.png");
    picture(cartridgeIcon, "hud-cartridge.png");
    for (int ability = 0; ability < 4; ++ability) picture(abilityIcons[ability], ABILITY_ICONS[ability]);
    makeRobotArrowPictures(hudRenderer);
    weaponInHand = nullptr;
    weaponNameUntil = 0;
    weaponNameShown = false;
}

void freeHudTextures() {
    releaseRobotArrowPictures();
    for (Texture* texture : {&waveNumberText, &waveNumberTitle, &comboNumberText, &playerXPText, &fpsText,
                             &weaponNameText, &heartIcon, &shieldIcon, &cartridgeIcon}) {
        texture->free();
    }
    for (Texture& icon : abilityIcons) icon.free();
    risingTexts.clear();
    weaponInHand = nullptr;
    weaponNameShown = false;
}

void renderRisingText(int xp, int x, int y, float progress) {
    static const SDL_Color XP_COLOUR{255, 214, 102, 255};
    static const SDL_Color DODGE_COLOUR{150, 210, 255, 255};
    // The words rise this far over their life, and fade from full to nothing.
    static const int RISE = 36;
    auto found = risingTexts.find(xp);
    if (found == risingTexts.end()) {
        Texture text;
        text.setup(renderer);
        text.loadFromRenderedText(xp > 0 ? std::string("+").append(std::to_string(xp)) : std::string("Dodge"), xp > 0 ? XP_COLOUR : DODGE_COLOUR,
                                  small);
        found = risingTexts.emplace(xp, text).first;
    }
    Texture& text = found->second;
    const float left = std::clamp(1.0f - progress, 0.0f, 1.0f);
    text.setAlphaMod(static_cast<Uint8>(255.0f * left));
    text.render(x - text.getWidth() / 2, y - text.getHeight() - static_cast<int>(RISE * (1.0f - left)));
}

void renderVignette(Uint8 alpha) {
    if (alpha == 0) return;
    // Bands that thin out toward the middle, in pixel-art steps.
    const int bands = 6;
    const int thickness = 9;
    for (int band = 0; band < bands; ++band) {
        const int inset = band * thickness;
        const SDL_Rect edges[4] = {{inset, inset, WINDOW_WIDTH - 2 * inset, thickness},
                                   {inset, WINDOW_HEIGHT - inset - thickness, WINDOW_WIDTH - 2 * inset, thickness},
                                   {inset, inset + thickness, thickness, WINDOW_HEIGHT - 2 * inset - 2 * thickness},
                                   {WINDOW_WIDTH - inset - thickness, inset + thickness, thickness,
                                    WINDOW_HEIGHT - 2 * inset - 2 * thickness}};
        SDL_SetRenderDrawColor(renderer, 200, 20, 30, static_cast<Uint8>(alpha * (bands - band) / bands));
        SDL_RenderFillRects(renderer, edges, 4);
    }
}

void updateInGameText(int playerCombo, int wave, int xp, int goal) {
    comboNumberText.loadFromRenderedText("Combo: " + std::to_string(playerCombo), white, counter);
    const std::string ofGoal = goal > 0 ? " / " + std::to_string(goal) : "";
    waveNumberText.loadFromRenderedText("Wave: " + std::to_string(wave) + ofGoal, white, counter);
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

void renderPlayerUI(Player* hero) { renderPlayerUI(hero, SDL_GetTicks()); }

void renderPlayerUI(Player* hero, Uint32 now) {
    if (hero == nullptr) return;
    // Before the first weapons are fitted the hand is empty: no cartridges to show.
    const Weapon* weapon = hero->getWeapon();
    followWeaponInHand(weapon, now);
    HudDrawing hud;
    hud.health = hero->getHealthPercentage();
    hud.shield = hero->getShieldPercentage();
    const Ability ability = hero->getAbility();
    hud.hasAbility = ability != none;
    if (ability >= bounce && ability <= grenade) hud.abilityPicture = &abilityIcons[ability];
    hud.bulletsInClip = weapon != nullptr ? weapon->getBulletsInClip() : 0;
    hud.clipSize = weapon != nullptr ? weapon->getClipSize() : 0;
    hud.showName = weapon != nullptr && SDL_TICKS_PASSED(now, weaponNameUntil) == SDL_FALSE;
    weaponNameShown = hud.showName;
    // The hero under a corner shows through it.
    const SDL_Rect& body = hero->getEntity()->getRect();
    const SDL_Rect left = hudLeftCorner();
    const SDL_Rect right = hudRightCorner(hero);
    if (SDL_HasIntersection(&body, &left)) hud.left = FADED;
    if (SDL_HasIntersection(&body, &right)) hud.right = FADED;
    draw(hud);
}

void renderPlayerUI(double healthPercentage, double shieldPercentage, bool hasAbility, int bulletsInClip,
                    int clipSize) {
    HudDrawing hud;
    hud.health = healthPercentage;
    hud.shield = shieldPercentage;
    hud.hasAbility = hasAbility;
    hud.bulletsInClip = bulletsInClip;
    hud.clipSize = clipSize;
    draw(hud);
}

SDL_Rect hudLeftCorner() { return unionOf({healthIconRect(), healthBackRect, shieldIconRect(), shieldBackRect}); }

SDL_Rect hudRightCorner(const Player* hero) {
    const Weapon* weapon = hero != nullptr ? hero->getWeapon() : nullptr;
    SDL_Rect corner = unionOf({abilityIconRect(), timeToAbilityBack, reloadIconRect(), timeToShootBack});
    const SDL_Rect row = cartridgeRow(weapon != nullptr ? weapon->getClipSize() : 0);
    if (row.w > 0) SDL_UnionRect(&corner, &row, &corner);
    if (weaponNameShown) {
        const SDL_Rect name = weaponNameRect();
        SDL_UnionRect(&corner, &name, &corner);
    }
    return corner;
}

void hudAreas(const Player* hero, bool developerMode, bool waveStarted, std::vector<SDL_Rect>& out) {
    out.clear();
    out.push_back(textArea(waveNumberText, WAVE_TEXT_AT.x, WAVE_TEXT_AT.y));
    out.push_back(textArea(comboNumberText, COMBO_TEXT_AT.x, COMBO_TEXT_AT.y));
    out.push_back(textArea(playerXPText, XP_TEXT_AT.x, XP_TEXT_AT.y));
    if (developerMode) out.push_back(textArea(fpsText, FPS_TEXT_AT.x, FPS_TEXT_AT.y));
    if (!waveStarted) out.push_back(textArea(waveNumberTitle, bannerX(), BANNER_Y));
    out.insert(out.end(), {timeToShootBack, timeToAbilityBack, healthBackRect, shieldBackRect, healthIconRect(),
                           shieldIconRect(), reloadIconRect(), abilityIconRect()});
    const Weapon* weapon = hero != nullptr ? hero->getWeapon() : nullptr;
    // The whole row at once: from the leftmost cartridge to the rightmost.
    const SDL_Rect row = cartridgeRow(weapon != nullptr ? weapon->getClipSize() : 0);
    if (row.w > 0) out.push_back(row);
    if (weaponNameShown) out.push_back(weaponNameRect());
}
