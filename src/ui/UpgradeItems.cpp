#include "ui/UpgradeItems.h"

#include <algorithm>
#include <string>

#include "platform/GlobalConstants.h"
#include "player/Player.h"
#include "player/Purchases.h"
#include "player/Weapon.h"
#include "ui/Interface.h"
#include "ui/Menus.h"
#include "ui/UpgradeMenus.h"

namespace {


const char* const WEAPON_PICTURES[] = {
    "upgrade-menu/upgrade-revolver.png", "upgrade-menu/upgrade-rifle.png", "upgrade-menu/upgrade-shotgun.png",
    "upgrade-menu/upgrade-knife.png", "upgrade-menu/upgrade-laser-pistol.png"};
const char* const ABILITY_PICTURES[] = {"upgrade-menu/upgrade-bounce.png", "upgrade-menu/upgrade-teleport.png",
                                        "upgrade-menu/upgrade-c4.png", "upgrade-menu/upgrade-grenade.png"};
const char* const PLAYER_PICTURES[] = {"upgrade-menu/upgrade-armor.png", "upgrade-menu/upgrade-shield.png",
                                       "upgrade-menu/upgrade-speed.png", "upgrade-menu/upgrade-dodge.png"};
const char* const PLAYER_HEADINGS[] = {"Armor: ", "Shield Charge: ", "Player Speed: ", "Dodge: "};
const char* const PLAYER_EFFECTS[] = {"Damage Reduction: ", "Multiplier: ", "Speed Increase: ", "Dodge Chance: "};

// What each item is called on its tooltip's title, and, where its numbers'
// labels say little to a player, what they mean in plain words.
const char* const WEAPON_NOTES[] = {
    "Reload in seconds; strength: robots one bullet goes through",
    "Reload in seconds; strength: robots one bullet goes through",
    "Reload in seconds; every shot fires a spread of bullets",
    "",
    "Fire faster than the rate and it heats; full heat: it cools off",
};
const char* const ABILITY_NOTES[] = {
    "Stomp robots from above; refresh: kills to recharge",
    "Aim with J L I K, land there; refresh: kills to recharge",
    "Place it, press again to blow it up; refresh: kills",
    "Throw it at the robots; refresh: kills to recharge",
};

// A note in plain words is dimmer than the numbers beside it.
const SDL_Color NOTE_COLOUR{190, 190, 200, 255};
// The price the XP did not cover shows red for a moment.
const SDL_Color DENIED_COLOUR{255, 70, 70, 255};
const Uint32 DENIED_FLASH_MS = 500;
// How a level the hero already has is priced.
const char* const OWNED = "Owned";
const char* const COST_LABEL = "Cost: ";

// Columns 150 pixels apart from x = 300; the select row at the bottom, level 1
// above it and level 5 at the top.
int columnX(int column) { return scale(200) + scale(100 * column); }
int selectY() { return WINDOW_HEIGHT - scale(46); }
int levelY(int row) { return WINDOW_HEIGHT - scale(122) - scale(76 * row); }
std::string levelPicture(int row) { return "upgrade-menu/upgrade-" + std::to_string(row + 1) + ".png"; }

void addLine(UI_Button& button, const std::string& label, double value, const std::string& unit = "") {
    button.addLine(label, removeTrailingZeros(value) + unit, verySmall, white);
}

// The title ("Rifle, level 2") and, when there is one, the note in plain words.
void addHeading(UI_Button& button, const std::string& name, int row, const char* note = "") {
    button.addWholeLine(name + ", level " + std::to_string(row + 1), verySmall, white);
    if (note[0] != '\0') button.addWholeLine(note, verySmall, NOTE_COLOUR);
}

// The price of a level, or "Owned" for one the hero already has.
void addCost(UI_Button& button, const State& game, double basePrice, int row, int level) {
    if (row < level) {
        button.addLine(COST_LABEL, OWNED, verySmall, white);
    } else {
        addLine(button, COST_LABEL, game.upgradeIncreaseFactor + basePrice);
    }
}

// The select button under a column; left of column 0 is "Close Menu".
void addSelectButton(UI_Menu& menu, State& game, int column, ButtonAction action) {
    const int left = column == 0 ? CLOSE_MENU_BUTTON : selectButtonIndex(column - 1);
    menu.addButton(columnX(column), selectY(), " ", &white, small, -1, -1, left, -1, action, game, 3, column, 0);
}

// A level button with its picture and level number; null when the menu is full.
UI_Button* addLevelButton(UI_Menu& menu, State& game, int column, int row, const char* picture, int below,
                          int left, ButtonAction action, int hoverLines) {
    const int index = menu.addButton(columnX(column), levelY(row), picture, -1, below, left, -1, action, game, 2,
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

void addWeaponLines(UI_Button& button, const State& game, int weapon, int row) {
    const double* values = game.weaponProperties[weapon][row];
    addHeading(button, weaponName(static_cast<Weapon_Type>(weapon)), row, WEAPON_NOTES[weapon]);
    addCost(button, game, values[0], row, weaponLevel(game, weapon));
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

void addAbilityLines(UI_Button& button, const State& game, int ability, int row) {
    const int* values = game.abilityProperties[ability][row];
    addHeading(button, abilityName(static_cast<Ability>(ability)), row, ABILITY_NOTES[ability]);
    addCost(button, game, values[0], row, game.abilityLevels[ability]);
    addLine(button, "Refresh: ", values[1]);
    if (ability == 1) {
        addLine(button, "Duration: ", values[2]);
    } else if (ability == 2 || ability == 3) {
        addLine(button, "Damage: ", values[2]);
    }
}

void addPlayerLines(UI_Button& button, const State& game, int upgrade, int row) {
    const double* values = game.playerProperties[upgrade][row];
    addHeading(button, playerUpgradeName(static_cast<PlayerUpgrades>(upgrade)), row);
    button.addLine(PLAYER_HEADINGS[upgrade], " ", verySmall, white);
    addCost(button, game, values[0], row, game.playerLevels[upgrade]);
    addLine(button, PLAYER_EFFECTS[upgrade], values[1], upgrade == 1 ? "" : "%");
}

void addSmallButton(UI_Menu* menu, State& game, int x, int y, const std::string& label, int above,
                    ButtonAction action) {
    menu->addButton(x, y, label, &white, small, above, -1, -1, -1, action, game, 1, 0, 0);
}

// Position of button within menu, or -1.
int indexIn(UI_Menu& menu, const UI_Button* button) {
    std::vector<UI_Button>& buttons = menu.getButtons();
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (&buttons[i] == button) return static_cast<int>(i);
    return -1;
}

// A purchase rebuilds the grids and brings their marks up to date.
void refreshShop(State& game) {
    resetMenus(game);
    loadUpgradeMenu(game);
}

// A click the XP does not cover: the "denied" sound instead of the click, and
// the price on the button's tooltip red for a moment.
void deny(UI_Menu& menu, int index) {
    UI_Button::answerWith(&deniedSound);
    if (index < 0 || index >= static_cast<int>(menu.getButtons().size())) return;
    UI_HoverText& tooltip = menu.getButtons()[static_cast<std::size_t>(index)].getHover();
    for (int line = 0; line < tooltip.getNumberOfLines(); ++line) {
        if (tooltip.getLineText(line) == COST_LABEL) tooltip.flashValue(line, DENIED_COLOUR, SDL_GetTicks() + DENIED_FLASH_MS);
    }
}

}  // namespace

void genericUpgradeMenuLayout(State& game, UI_Menu* menu) {
    menu->setup(renderer, &buttonSound);
    const std::string refill = removeTrailingZeros(refillPrice(game));

    addSmallButton(menu, game, scale(37), scale(100), "Max HP", -1, fullHealth);
    addSmallButton(menu, game, scale(37), scale(140), "Max Shield", MAX_HP_BUTTON, fullShield);
    for (int index : {MAX_HP_BUTTON, MAX_SHIELD_BUTTON}) {
        if (UI_Button* button = index < static_cast<int>(menu->getButtons().size()) ? &menu->getButtons()[static_cast<std::size_t>(index)] : nullptr) {
            button->setupHover(1);
            button->addWholeLine(index == MAX_HP_BUTTON ? "Max HP" : "Max Shield", verySmall, white);
            button->addLine(COST_LABEL, refill, verySmall, white);
        }
    }
    addSmallButton(menu, game, scale(37), scale(180), "Close Menu", MAX_SHIELD_BUTTON, closeUpgradeMenu);
    // Tabs have no neighbours: the shoulder buttons or the pointer reach them.
    addSmallButton(menu, game, scale(288), scale(12), "Weapons", -1, showWeaponUpgradeMenu);
    addSmallButton(menu, game, scale(416), scale(12), "Abilities", -1, showAbilityUpgradeMenu);
    addSmallButton(menu, game, scale(544), scale(12), "Player", -1, showPlayerUpgradeMenu);
}

void initWeaponUpgradeMenu(State& game) {
    UI_Menu& menu = weaponUpgradeMenu;
    genericUpgradeMenuLayout(game, &menu);
    const int weapons = std::min(game.numberOfWeapons, 5);
    for (int column = 0; column < weapons; ++column) {
        addSelectButton(menu, game, column, selectWeapon);
        for (int row = 0; row < UPGRADE_LEVELS; ++row) {
            const int left = column == 0 ? CLOSE_MENU_BUTTON : levelButtonIndex(column - 1, row);
            if (UI_Button* button = addLevelButton(menu, game, column, row, WEAPON_PICTURES[column],
                                                   selectButtonIndex(column) + row, left, upgradeWeapon, 6)) {
                addWeaponLines(*button, game, column, row);
            }
        }
    }
    relinkCloseMenu(menu);
    prepareUpgradeMenuExtras();
}

void initAbilityUpgradeMenu(State& game) {
    UI_Menu& menu = abilityUpgradeMenu;
    genericUpgradeMenuLayout(game, &menu);
    const int abilities = std::min(game.numberOfAbilities, 4);
    for (int column = 0; column < abilities; ++column) {
        addSelectButton(menu, game, column, selectAbility);
        for (int row = 0; row < UPGRADE_LEVELS; ++row) {
            const int left = column == 0 ? CLOSE_MENU_BUTTON : levelButtonIndex(column - 1, row);
            if (UI_Button* button = addLevelButton(menu, game, column, row, ABILITY_PICTURES[column],
                                                   selectButtonIndex(column) + row, left, upgradeAbility, 3)) {
                addAbilityLines(*button, game, column, row);
            }
        }
    }
    relinkCloseMenu(menu);
}

void initPlayerUpgradeMenu(State& game) {
    UI_Menu& menu = playerUpgradeMenu;
    genericUpgradeMenuLayout(game, &menu);
    const int upgrades = std::min(game.numberOfPlayerUpgrades, 4);
    for (int column = 0; column < upgrades; ++column) {
        for (int row = 0; row < UPGRADE_LEVELS; ++row) {
            // Down from level 1 leads to "Close Menu".
            const int below = row == 0 ? CLOSE_MENU_BUTTON : playerLevelButtonIndex(column, row - 1);
            const int left = column == 0 ? CLOSE_MENU_BUTTON : playerLevelButtonIndex(column - 1, row);
            if (UI_Button* button = addLevelButton(menu, game, column, row, PLAYER_PICTURES[column], below, left,
                                                   upgradePlayer, 3)) {
                addPlayerLines(*button, game, column, row);
            }
        }
    }
    relinkCloseMenu(menu);
}

void resetMenus(State& game) {
    UI_Menu* const upgradeMenus[] = {&weaponUpgradeMenu, &abilityUpgradeMenu, &playerUpgradeMenu};
    // The current button is rebuilt like every other; keep its place, not its address.
    UI_Menu* owner = nullptr;
    int place = -1;
    for (UI_Menu* menu : upgradeMenus) {
        place = indexIn(*menu, currentButton);
        if (place >= 0) {
            owner = menu;
            break;
        }
    }

    for (UI_Menu* menu : upgradeMenus) menu->reset();
    initWeaponUpgradeMenu(game);
    initAbilityUpgradeMenu(game);
    initPlayerUpgradeMenu(game);

    // The rebuilt button is current but not highlighted until the next motion or step.
    if (owner != nullptr) {
        std::vector<UI_Button>& buttons = owner->getButtons();
        currentButton = place < static_cast<int>(buttons.size()) ? &buttons[static_cast<std::size_t>(place)] : nullptr;
    }
}

// The shop's one knot: a purchase rebuilds the grids above (resetMenus), and
// the grids name these purchases as their buttons' actions. Both halves live in
// this file, so that no include runs in a loop; the rules themselves are in
// Purchases.

void upgradeWeapon(State& game, int item, int row) {
    if (buyWeaponLevel(game, player, item, row)) {
        refreshShop(game);
    } else if (tooDear(game, player, Shelf::weapons, item, row)) {
        deny(weaponUpgradeMenu, levelButtonIndex(item, row));
    }
}

void upgradeAbility(State& game, int item, int row) {
    if (buyAbilityLevel(game, player, item, row)) {
        refreshShop(game);
    } else if (tooDear(game, player, Shelf::abilities, item, row)) {
        deny(abilityUpgradeMenu, levelButtonIndex(item, row));
    }
}

void upgradePlayer(State& game, int item, int row) {
    if (buyPlayerLevel(game, player, item, row)) {
        refreshShop(game);
    } else if (tooDear(game, player, Shelf::upgrades, item, row)) {
        deny(playerUpgradeMenu, playerLevelButtonIndex(item, row));
    }
}

void fullHealth(State& game, int, int) {
    if (buyHealthRefill(game, player)) {
        refreshShop(game);
    } else if (UI_Menu* menu = getCurrentMenu(game); menu != nullptr && tooDear(game, player, Shelf::refill, 0, 0)) {
        deny(*menu, MAX_HP_BUTTON);
    }
}

void fullShield(State& game, int, int) {
    if (buyShieldRefill(game, player)) {
        refreshShop(game);
    } else if (UI_Menu* menu = getCurrentMenu(game); menu != nullptr && tooDear(game, player, Shelf::refill, 0, 0)) {
        deny(*menu, MAX_SHIELD_BUTTON);
    }
}

void selectWeapon(State& game, int item, int) {
    if (toggleWeaponSlot(game, item)) loadUpgradeMenu(game);
}

void selectAbility(State& game, int item, int) {
    if (chooseAbility(game, player, item)) loadUpgradeMenu(game);
}
