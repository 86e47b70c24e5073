#include "UpgradeItems.h"

#include <algorithm>
#include <string>

#include "GlobalConstants.h"
#include "MenuScreens.h"
#include "Purchases.h"
#include "UI.h"
#include "UpgradeMenus.h"

namespace {

const int LEVEL_ROWS = 5;

const char* const WEAPON_PICTURES[] = {
    "upgrade-menu/upgrade-revolver.png", "upgrade-menu/upgrade-rifle.png", "upgrade-menu/upgrade-shotgun.png",
    "upgrade-menu/upgrade-knife.png", "upgrade-menu/upgrade-laser-pistol.png"};
const char* const ABILITY_PICTURES[] = {"upgrade-menu/upgrade-bounce.png", "upgrade-menu/upgrade-teleport.png",
                                        "upgrade-menu/upgrade-c4.png", "upgrade-menu/upgrade-grenade.png"};
const char* const PLAYER_PICTURES[] = {"upgrade-menu/upgrade-armor.png", "upgrade-menu/upgrade-shield.png",
                                       "upgrade-menu/upgrade-speed.png", "upgrade-menu/upgrade-dodge.png"};
const char* const PLAYER_HEADINGS[] = {"Armor: ", "Shield Charge: ", "Player Speed: ", "Dodge: "};
const char* const PLAYER_EFFECTS[] = {"Damage Reduction: ", "Multiplier: ", "Speed Increase: ", "Dodge Chance: "};

// Columns 150 pixels apart from x = 300; the select row at the bottom, level 1
// above it and level 5 at the top.
int columnX(int column) { return scale(200) + scale(100 * column); }
int selectY() { return WINDOW_HEIGHT - scale(46); }
int levelY(int row) { return WINDOW_HEIGHT - scale(122) - scale(76 * row); }
std::string levelPicture(int row) { return "upgrade-menu/upgrade-" + std::to_string(row + 1) + ".png"; }

void addLine(UI_Button& button, const std::string& label, double value, const std::string& unit = "") {
    button.addLine(label, removeTrailingZeros(value) + unit, verySmall, white);
}

// The select button under a column; left of column 0 is "Close Menu".
void addSelectButton(UI_Menu& menu, State& state, int column, ButtonAction action) {
    const int left = column == 0 ? CLOSE_MENU_BUTTON : selectButtonIndex(column - 1);
    menu.addButton(columnX(column), selectY(), " ", &white, small, -1, -1, left, -1, action, state, 3, column, 0);
}

// A level button with its picture and level number; null when the menu is full.
UI_Button* addLevelButton(UI_Menu& menu, State& state, int column, int row, const char* picture, int below,
                          int left, ButtonAction action, int hoverLines) {
    const int index = menu.addButton(columnX(column), levelY(row), picture, -1, below, left, -1, action, state, 2,
                                     column, row, levelPicture(row));
    if (index < 0) return nullptr;
    UI_Button& button = menu.getButtons()[static_cast<std::size_t>(index)];
    button.setupHover(hoverLines);
    return &button;
}

// Every column-0 button, when added, pointed "Close Menu" at itself; it leads
// up to "Max Shield" and down and right into the grid.
void relinkCloseMenu(UI_Menu& menu) {
    std::vector<UI_Button>& buttons = menu.getButtons();
    if (buttons.size() <= static_cast<std::size_t>(CLOSE_MENU_BUTTON)) return;
    UI_Button* first = buttons.size() > 6 ? &buttons[6] : nullptr;
    buttons[CLOSE_MENU_BUTTON].linkButtons(&buttons[MAX_SHIELD_BUTTON], first, nullptr, first);
}

void addWeaponLines(UI_Button& button, const State& state, int weapon, int row) {
    const double* values = state.weaponProperties[weapon][row];
    addLine(button, "Cost: ", state.upgradeIncreaseFactor + values[0]);
    switch (weapon) {
    case 3:  // knife
        addLine(button, "Damage: ", values[1]);
        break;
    case 4:  // laser pistol
        addLine(button, "Cool Fire Rate: ", values[1]);
        addLine(button, "Heat Buffer: ", values[2]);
        addLine(button, "Cool Off Time: ", values[3]);
        break;
    default:
        addLine(button, "Clip Size: ", values[1]);
        addLine(button, "Reload Speed : ", values[2]);
        addLine(button, "Bullet Durability: ", values[3]);
        addLine(button, "Damage: ", values[4]);
        addLine(button, weapon == 2 ? "# of Bullets: " : "Strength: ", values[5]);
        break;
    }
}

void addAbilityLines(UI_Button& button, const State& state, int ability, int row) {
    const int* values = state.abilityProperties[ability][row];
    addLine(button, "Cost: ", state.upgradeIncreaseFactor + values[0]);
    addLine(button, "Refresh: ", values[1]);
    if (ability == 1) {
        addLine(button, "Duration: ", values[2]);
    } else if (ability == 2 || ability == 3) {
        addLine(button, "Damage: ", values[2]);
    }
}

void addPlayerLines(UI_Button& button, const State& state, int upgrade, int row) {
    const double* values = state.playerProperties[upgrade][row];
    button.addLine(PLAYER_HEADINGS[upgrade], " ", verySmall, white);
    addLine(button, "Cost: ", state.upgradeIncreaseFactor + values[0]);
    addLine(button, PLAYER_EFFECTS[upgrade], values[1], upgrade == 1 ? "" : "%");
}

}  // namespace

void initWeaponUpgradeMenu(State& state) {
    UI_Menu& menu = weaponUpgradeMenu;
    genericUpgradeMenuLayout(state, &menu);
    const int weapons = std::min(state.numberOfWeapons, 5);
    for (int column = 0; column < weapons; ++column) {
        addSelectButton(menu, state, column, selectWeapon);
        for (int row = 0; row < LEVEL_ROWS; ++row) {
            const int left = column == 0 ? CLOSE_MENU_BUTTON : levelButtonIndex(column - 1, row);
            if (UI_Button* button = addLevelButton(menu, state, column, row, WEAPON_PICTURES[column],
                                                   selectButtonIndex(column) + row, left, upgradeWeapon, 6)) {
                addWeaponLines(*button, state, column, row);
            }
        }
    }
    relinkCloseMenu(menu);
    prepareUpgradeMenuExtras();
}

void initAbilityUpgradeMenu(State& state) {
    UI_Menu& menu = abilityUpgradeMenu;
    genericUpgradeMenuLayout(state, &menu);
    const int abilities = std::min(state.numberOfAbilities, 4);
    for (int column = 0; column < abilities; ++column) {
        addSelectButton(menu, state, column, selectAbility);
        for (int row = 0; row < LEVEL_ROWS; ++row) {
            const int left = column == 0 ? CLOSE_MENU_BUTTON : levelButtonIndex(column - 1, row);
            if (UI_Button* button = addLevelButton(menu, state, column, row, ABILITY_PICTURES[column],
                                                   selectButtonIndex(column) + row, left, upgradeAbility, 3)) {
                addAbilityLines(*button, state, column, row);
            }
        }
    }
    relinkCloseMenu(menu);
}

void initPlayerUpgradeMenu(State& state) {
    UI_Menu& menu = playerUpgradeMenu;
    genericUpgradeMenuLayout(state, &menu);
    const int upgrades = std::min(state.numberOfPlayerUpgrades, 4);
    for (int column = 0; column < upgrades; ++column) {
        for (int row = 0; row < LEVEL_ROWS; ++row) {
            // Down from level 1 leads to "Close Menu".
            const int below = row == 0 ? CLOSE_MENU_BUTTON : playerLevelButtonIndex(column, row - 1);
            const int left = column == 0 ? CLOSE_MENU_BUTTON : playerLevelButtonIndex(column - 1, row);
            if (UI_Button* button = addLevelButton(menu, state, column, row, PLAYER_PICTURES[column], below, left,
                                                   upgradePlayer, 3)) {
                addPlayerLines(*button, state, column, row);
            }
        }
    }
    relinkCloseMenu(menu);
}
