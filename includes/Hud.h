#pragma once

#include <SDL.h>

#include <vector>

#include "Texture.h"

class Player;

// The heads-up display drawn over play: wave, combo and XP texts, the wave
// banner, the frame rate in developer mode, the reload and ability bars, the
// health and shield bars and one square per cartridge of the clip.
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

// Binds the text textures to the renderer they are rendered and drawn with.
void setupHudTextures(SDL_Renderer* renderer);
// Drops the rendered texts (before the renderer or the font library goes away).
void freeHudTextures();

// Re-renders the wave, combo and XP texts and the wave banner.
void updateInGameText(int playerCombo, int wave, int xp);
// Draws the texts at the top left; the frame rate in developer mode; the
// banner while the wave has not started yet.
void renderInGameText(bool developerMode, float lastFPS, bool waveStarted);

// Puts the eight bar rectangles in place, every fill full.
void initPlayerUI();
// Fill widths of the reload and ability bars; 112 is a full bar.
void updateTimeToShoot(double width);
void updateTimeToAbility(double width);

// Draws the bars and the cartridge squares for the hero and his weapon in hand.
void renderPlayerUI(Player* player);
// The same from plain numbers: health and shield as fractions of their
// maximum, whether an ability is chosen, and the clip of the weapon in hand.
void renderPlayerUI(double healthPercentage, double shieldPercentage, bool hasAbility, int bulletsInClip,
                    int clipSize);

// Replaces out with the window areas the heads-up display covers in a frame
// drawn for the hero (null: no hero, no cartridges): each text, the banner
// while the wave has not started, every bar and the row of cartridges.
void hudAreas(const Player* hero, bool developerMode, bool waveStarted, std::vector<SDL_Rect>& out);
