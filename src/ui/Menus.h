#pragma once

#include "platform/State.h"
#include "ui/Menu.h"
#include "world/Sound.h"

// The menus of the game and what every screen shares about them: the
// click sound, the current button and which menu is on screen. The menus are
// built by initMenus (MenuScreens) and live for the whole process.

extern UI_Menu mainMenu;
extern UI_Menu levelSelect;
extern UI_Menu pauseMenu;
extern UI_Menu settingsMenu;
// The campaign's screen, its "Start over?" question, and the card at a run's end.
extern UI_Menu campaignMenu;
extern UI_Menu startOverMenu;
extern UI_Menu cardMenu;
// The Controls page of the Settings screen.
extern UI_Menu controlsMenu;
extern UI_Menu weaponUpgradeMenu;
extern UI_Menu abilityUpgradeMenu;
extern UI_Menu playerUpgradeMenu;

// The "Settings" button of the main menu and of the pause menu: the Settings
// screen comes back to it.
const int MAIN_MENU_SETTINGS_BUTTON = 2;
const int MAIN_MENU_QUIT_BUTTON = 3;
// The Settings screen's "Controls" row: the Controls page comes back to it.
const int CONTROLS_SETTING_ROW = 6;
const int PAUSE_MENU_SETTINGS_BUTTON = 1;

// The one click sound of every button.
extern Sound buttonSound;
// What a click on an item the XP does not cover sounds like, instead of the click.
extern Sound deniedSound;

// The button that controller commands move from and a press clicks; null for none.
extern UI_Button* currentButton;

// Makes button (or null) the current one. The previous current button loses its
// highlight first, so at most one button of the game shows highlighted.
void setCurrentButton(UI_Button* button);

// The menu that state.menu puts on screen, or null for none.
UI_Menu* getCurrentMenu(State& state);

// True for the three tabs of the upgrade shop.
bool isUpgradeMenu(Menu menu);

// Which build of the menus is up: initMenus makes a new one. A screen's last
// picture shows an earlier build's buttons when this has changed since.
int menusBuild();
void startMenusBuild();
