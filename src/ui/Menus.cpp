#include "ui/Menus.h"

UI_Menu mainMenu(4);
UI_Menu levelSelect(4);
UI_Menu pauseMenu(4);
UI_Menu settingsMenu(12);
UI_Menu campaignMenu(3);
UI_Menu startOverMenu(2);
UI_Menu cardMenu(2);
UI_Menu controlsMenu(1);
UI_Menu weaponUpgradeMenu(36);
UI_Menu abilityUpgradeMenu(36);
UI_Menu playerUpgradeMenu(36);

Sound buttonSound;
Sound deniedSound;

UI_Button* currentButton = nullptr;

void setCurrentButton(UI_Button* button) {
    if (currentButton != nullptr && currentButton != button) currentButton->deselect();
    currentButton = button;
    if (currentButton != nullptr) currentButton->select();
}

UI_Menu* getCurrentMenu(State& game) {
    switch (game.menu) {
    case Menu::head:
        return &mainMenu;
    case Menu::level:
        return &levelSelect;
    case Menu::pause:
        return &pauseMenu;
    case Menu::settings:
        return &settingsMenu;
    case Menu::campaign:
        return &campaignMenu;
    case Menu::startOver:
        return &startOverMenu;
    case Menu::card:
        return &cardMenu;
    case Menu::controls:
        return &controlsMenu;
    case Menu::weaponUpgrade:
        return &weaponUpgradeMenu;
    case Menu::abilityUpgrade:
        return &abilityUpgradeMenu;
    case Menu::playerUpgrade:
        return &playerUpgradeMenu;
    case Menu::notInMenu:
        break;
    }
    return nullptr;
}

bool isUpgradeMenu(Menu menu) {
    return menu == Menu::weaponUpgrade || menu == Menu::abilityUpgrade || menu == Menu::playerUpgrade;
}

namespace {
int currentMenusBuild = 0;
}  // namespace

int menusBuild() { return currentMenusBuild; }

void startMenusBuild() { ++currentMenusBuild; }
