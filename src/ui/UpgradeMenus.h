#pragma once

#include <SDL.h>

#include "platform/State.h"
#include "ui/Menu.h"
#include "world/Texture.h"

// The upgrade shop: three tabbed menus ("Weapons", "Abilities", "Player") that
// share a frame of six buttons, followed by a grid of item buttons (built by
// UpgradeItems). Here: the button numbering, what the shop draws besides its
// buttons, the marks of what was bought, and the tabs.

// Button numbering, the same in every tab.
const int MAX_HP_BUTTON = 0;
const int MAX_SHIELD_BUTTON = 1;
const int CLOSE_MENU_BUTTON = 2;
const int WEAPONS_TAB = 3;
const int ABILITIES_TAB = 4;
const int PLAYER_TAB = 5;
// Weapons and abilities: a select button under five level buttons per column.
constexpr int selectButtonIndex(int column) { return 6 + 6 * column; }
constexpr int levelButtonIndex(int column, int row) { return 7 + 6 * column + row; }
// Player upgrades: five level buttons per column, no select button.
constexpr int playerLevelButtonIndex(int column, int row) { return 6 + 5 * column + row; }

// What the shop draws besides its buttons.
extern Texture xpText;
// The tab arrows: the controller's shoulder buttons, or the keyboard's Q and E.
extern Texture lbText, rbText;
extern Texture qText, eText;
extern Texture roborTexture, robortoTexture, robroTexture, romoTexture, rooTexture;
extern Texture roborText, robortoText, robroText, romoText, rooText;
extern SDL_Rect robortoSource, rooSource;
extern SDL_Rect upgradeHealth, upgradeHealthBack;
extern SDL_Rect upgradeShield, upgradeShieldBack;

// Shoulder icons, enemy pictures and their count texts (once, at start-up).
void loadUpgradeMenuImages();
// The XP line and the health and shield bars.
void prepareUpgradeMenuExtras();
// Drops every texture above, before the renderer goes.
void releaseUpgradeMenuImages();

// Brings the active and disabled marks of all three tabs in line with what was
// bought and equipped, and renders the XP line. Leaves the selection alone.
void loadUpgradeMenu(State& state);
// Opens the shop on the Weapons tab with "Close Menu" current and the enemy
// counts of the coming five waves.
void launchUpgradeMenu(State& state);
// XP, the tab keys of the device in use (LB and RB for a controller, Q and E
// for the keyboard and mouse), enemy preview with counts, health and shield bars.
void renderUpgradeMenu(State& state);
// Whether a price on the tab on show is flashing red: its picture changes when it stops.
bool priceFlashing(State& state, Uint32 now);

// Button actions; the shop's event handler also calls them with 0, 0.
void closeUpgradeMenu(State& state, int, int);
void showWeaponUpgradeMenu(State& state, int, int);
void showAbilityUpgradeMenu(State& state, int, int);
void showPlayerUpgradeMenu(State& state, int, int);

// Shoulder buttons: Weapons, Abilities, Player, stopping at either end.
void nextUpgradeTab(State& state);
void previousUpgradeTab(State& state);
