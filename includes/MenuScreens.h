#pragma once

#include "Menu.h"
#include "Sound.h"
#include "State.h"
#include "Texture.h"

// The six menus of the game, built once by initMenus and kept for the whole
// process. Only the three upgrade menus are ever rebuilt (resetMenus).
extern UI_Menu mainMenu;
extern UI_Menu levelSelect;
extern UI_Menu pauseMenu;
extern UI_Menu weaponUpgradeMenu;
extern UI_Menu abilityUpgradeMenu;
extern UI_Menu playerUpgradeMenu;

// The one click sound of every button.
extern Sound buttonSound;
// Title of the main menu and of the level select.
extern Texture logoTexture;
// Title of the pause menu.
extern Texture gamePausedText;

// Button actions of the main menu, the level select and the pause menu. They
// ignore both integers.
void showLevelSelect(State& state, int, int);
void quitToDesktop(State& state, int, int);
void selectLevel1(State& state, int, int);
void selectLevel2(State& state, int, int);
void selectLevel3(State& state, int, int);
void unpause(State& state, int, int);
void quitToMenu(State& state, int, int);
// The button only clicks.
void noAction(State& state, int, int);

// The menu that state.menu puts on screen, or null for none.
UI_Menu* getCurrentMenu(State& state);
// Draws the menu on screen and, for the upgrade menus, their extras. Neither
// clears nor presents.
void renderMenu(State& state);

// The line under the level select's buttons that says a level could not be
// loaded; it goes when the level select is opened again from the main menu.
void showLevelNotice(int level);
void clearLevelNotice();
bool levelNoticeShown();

// Builds all six menus and loads what they draw. Called once by UI_init,
// after the fonts, the renderer and the hero are stored.
void initMenus(State& state);
// Rebuilds the three upgrade menus from the current tables, levels and prices.
// The current button, if it was in one of them, stays at the same place.
void resetMenus(State& state);
// Releases every menu, texture and the click sound (before the renderer and
// the audio device go). The menus are empty afterwards.
void releaseMenus();
