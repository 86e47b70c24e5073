#pragma once

// The screens around play: the main menu, the level select and the pause
// menu with their actions, the level notice, and the building, drawing and
// release of every menu.

#include "platform/State.h"
#include "ui/Menus.h"
#include "world/Texture.h"

// Title of the main menu and of the level select.
extern Texture logoTexture;
// Title of the pause menu.
extern Texture gamePausedText;

// Button actions of the main menu, the level select and the pause menu. They
// ignore both integers.
void showLevelSelect(State& state, int, int);
// Back from the level select: the main menu, its first button current.
void showMainMenu(State& state, int, int);
// "Best: wave 12" beside each level's button that has a best.
void renderLevelBests();
void quitToDesktop(State& state, int, int);
void selectLevel1(State& state, int, int);
void selectLevel2(State& state, int, int);
void selectLevel3(State& state, int, int);
void unpause(State& state, int, int);
void quitToMenu(State& state, int, int);
// The button only clicks.
void noAction(State& state, int, int);

// Draws the menu on screen and, for the upgrade menus, their extras. Neither
// clears nor presents.
void renderMenu(State& state);

// The line under the level select's buttons that says a level could not be
// loaded; it goes when the level select is opened again from the main menu.
void showLevelNotice(int level);
void clearLevelNotice();
bool levelNoticeShown();

// Builds every menu and loads what they draw. Called once by UI_init,
// after the fonts, the renderer and the hero are stored.
void initMenus(State& state);
// Releases every menu, texture and the click sound (before the renderer and
// the audio device go). The menus are empty afterwards.
void releaseMenus();
