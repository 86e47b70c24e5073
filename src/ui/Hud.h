#pragma once

#include <SDL.h>

#include <vector>

#include "world/Texture.h"

class Player;

// The heads-up display drawn over play: wave, combo and XP texts, the wave
// banner, the frame rate in developer mode, the reload and ability bars, the
// health and shield bars and one square per cartridge of the clip. A small
// picture beside each bar says what it is (a heart, a shield, a cartridge, the
// ability's own), and the weapon in hand is named for a moment after each
// switch. A corner of the display with the hero under it is drawn at half
// opacity, so that he never drives out of sight.
//
// It draws with the renderer given to UI_init. Its texts are rendered only
// when their values change (updateInGameText), never per frame, except the
// frame rate in developer mode.

extern Texture waveNumberText;   // "Wave: 7"
extern Texture waveNumberTitle;  // "Wave 7 Start!"
extern Texture comboNumberText;  // "Combo: 3"
extern Texture playerXPText;     // "XP: 120"
extern Texture fpsText;          // "FPS: 59.880241"

// Bar backgrounds and fills. Only the fills change after initPlayerUI: the
// widths of the two horizontal bars, the top and height of the two vertical ones.
extern SDL_Rect timeToShootBack, timeToShoot;
extern SDL_Rect timeToAbilityBack, timeToAbility;
extern SDL_Rect healthBackRect, healthRect;
extern SDL_Rect shieldBackRect, shieldRect;

// Where the bars' pictures stand: above the two vertical bars, left of the two
// horizontal ones. Each is HUD_ICON_SIZE square.
constexpr int HUD_ICON_SIZE = 24;
SDL_Rect healthIconRect();
SDL_Rect shieldIconRect();
SDL_Rect reloadIconRect();
SDL_Rect abilityIconRect();

// How long the weapon's name shows after a switch, in ms.
const Uint32 WEAPON_NAME_MS = 2000;

// Binds the text textures to the renderer they are rendered and drawn with,
// and loads the bars' pictures.
void setupHudTextures(SDL_Renderer* renderer);
// Drops the rendered texts and pictures (before the renderer or the font library goes away).
void freeHudTextures();

// Re-renders the wave, combo and XP texts and the wave banner. With a goal
// (a campaign's level ends at it) the wave reads "Wave: 12 / 20".
void updateInGameText(int playerCombo, int wave, int xp, int goal = 0);
// Draws the texts at the top left; the frame rate in developer mode; the
// banner while the wave has not started yet.
void renderInGameText(bool developerMode, float lastFPS, bool waveStarted);

// Puts the eight bar rectangles in place, every fill full.
void initPlayerUI();
// Fill widths of the reload and ability bars; 112 is a full bar.
void updateTimeToShoot(double width);
void updateTimeToAbility(double width);

// Draws the bars, their pictures and the cartridge squares for the hero and
// his weapon in hand at tick now (ms): the weapon's name for WEAPON_NAME_MS
// after he takes another in hand, and each bottom corner faded while his body
// overlaps it.
void renderPlayerUI(Player* player, Uint32 now);
void renderPlayerUI(Player* player);
// The same from plain numbers: health and shield as fractions of their
// maximum, whether an ability is chosen, and the clip of the weapon in hand;
// no ability picture, no name, nothing faded.
void renderPlayerUI(double healthPercentage, double shieldPercentage, bool hasAbility, int bulletsInClip,
                    int clipSize);

// A word rising from a point of the world and fading as it goes: "+N" for the
// XP a kill paid (xp > 0), "Dodge" for a dodged hit (xp 0); progress runs from
// 0 (just happened) to 1 (gone). Each text is rendered once and kept.
void renderRisingText(int xp, int x, int y, float progress);
// The window's edges in red at alpha (0 to 255): the hero hurt.
void renderVignette(Uint8 alpha);

// The two bottom corners of the display as drawn for the hero now (null: no
// hero, no cartridges): the bars, their pictures, the cartridges and the
// weapon's name while it shows.
SDL_Rect hudLeftCorner();
SDL_Rect hudRightCorner(const Player* hero);

// Replaces out with the window areas the heads-up display covers in a frame
// drawn for the hero (null: no hero, no cartridges): each text, the banner
// while the wave has not started, every bar, its picture, the row of
// cartridges and the weapon's name while it shows.
void hudAreas(const Player* hero, bool developerMode, bool waveStarted, std::vector<SDL_Rect>& out);
