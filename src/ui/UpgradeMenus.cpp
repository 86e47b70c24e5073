#include "ui/UpgradeMenus.h"

#include <string>

#include "platform/GlobalConstants.h"
#include "player/Player.h"
#include "player/Purchases.h"
#include "ui/Interface.h"
#include "ui/Menus.h"

Texture xpText;
Texture lbText, rbText;
Texture qText, eText;
Texture roborTexture, robortoTexture, robroTexture, romoTexture, rooTexture;
Texture roborText, robortoText, robroText, romoText, rooText;
SDL_Rect robortoSource{18, 0, 18, 32};
SDL_Rect rooSource{92, 0, 23, 32};
SDL_Rect upgradeHealth{0, 0, 0, 0}, upgradeHealthBack{0, 0, 0, 0};
SDL_Rect upgradeShield{0, 0, 0, 0}, upgradeShieldBack{0, 0, 0, 0};

namespace {


UI_Button* buttonAt(UI_Menu& menu, int index) {
    std::vector<UI_Button>& buttons = menu.getButtons();
    if (index < 0 || index >= static_cast<int>(buttons.size())) return nullptr;
    return &buttons[static_cast<std::size_t>(index)];
}

void activate(UI_Menu& menu, int index) {
    if (UI_Button* button = buttonAt(menu, index)) button->activate();
}

void deactivate(UI_Menu& menu, int index) {
    if (UI_Button* button = buttonAt(menu, index)) button->deactivate();
}

void deactivateAll(UI_Menu& menu) {
    for (UI_Button& button : menu.getButtons()) button.deactivate();
}

// Level r of an item bought up to level L: bought (active) below L, next to buy
// at L, out of reach (disabled) above it.
void markLevel(UI_Menu& menu, int index, int row, int level) {
    UI_Button* button = buttonAt(menu, index);
    if (button == nullptr) return;
    button->enable();
    if (row > level) {
        button->disable();
    } else if (row < level) {
        button->activate();
    }
}

void setupPicture(Texture& texture, int w, int h, const std::string& file) {
    texture.setup(w, h, renderer);
    texture.loadFromFile(file);
}

void renderCount(const std::string& prefix, int count, Texture& text) {
    text.loadFromRenderedText(prefix + std::to_string(count), white, counter);
}

// An enemy picture centred on its column, with its count beside its bottom.
void renderEnemy(const Texture& picture, const Texture& count, int column, int row, const SDL_Rect* source,
                 int countHeight) {
    const int x = scale(column - picture.getWidth() / 2);
    const int y = scale(row);
    picture.render(x, y, SDL_FLIP_NONE, source);
    count.render(x + picture.getWidth() + scale(5), y + picture.getHeight() + scale(5) - countHeight);
}

// Leaves every tab and lands on "Close Menu" of the chosen one.
void showTab(State& game, UI_Menu& menu, Menu screen) {
    closeUpgradeMenu(game, 0, 0);
    game.menu = screen;
    setCurrentButton(buttonAt(menu, CLOSE_MENU_BUTTON));
}

}  // namespace

void loadUpgradeMenuImages() {
    setupPicture(rbText, scale(40), scale(40), "upgrade-menu/rb.png");
    setupPicture(lbText, scale(40), scale(40), "upgrade-menu/lb.png");
    setupPicture(eText, scale(40), scale(40), "upgrade-menu/e.png");
    setupPicture(qText, scale(40), scale(40), "upgrade-menu/q.png");
    setupPicture(roborTexture, scale(24), scale(50), "robor.png");
    setupPicture(robortoTexture, scale(28), scale(50), "roborto.png");
    setupPicture(robroTexture, scale(19), scale(50), "robro.png");
    setupPicture(romoTexture, scale(31), scale(20), "romo.png");
    setupPicture(rooTexture, scale(36), scale(50), "roo.png");
    for (Texture* text : {&roborText, &robortoText, &robroText, &romoText, &rooText}) text->setup(renderer);
    robortoSource = {18, 0, 18, 32};
    rooSource = {92, 0, 23, 32};
}

void prepareUpgradeMenuExtras() {
    xpText.setup(renderer);
    xpText.loadFromRenderedText("XP: 0", white, counter);
    upgradeHealth = upgradeHealthBack = {scale(50), scale(55), scale(102), scale(15)};
    upgradeShield = upgradeShieldBack = {scale(50), scale(75), scale(102), scale(15)};
}

void releaseUpgradeMenuImages() {
    for (Texture* texture : {&xpText, &lbText, &rbText, &qText, &eText, &roborTexture, &robortoTexture, &robroTexture, &romoTexture,
                             &rooTexture, &roborText, &robortoText, &robroText, &romoText, &rooText}) {
        texture->free();
    }
}

void loadUpgradeMenu(State& game) {
    deactivateAll(weaponUpgradeMenu);
    if (game.weapon1 != -1) activate(weaponUpgradeMenu, selectButtonIndex(game.weapon1));
    if (game.weapon2 != -1) activate(weaponUpgradeMenu, selectButtonIndex(game.weapon2));
    for (int row = 0; row < UPGRADE_LEVELS; ++row)
        for (int weapon = 0; weapon < game.numberOfWeapons; ++weapon)
            markLevel(weaponUpgradeMenu, levelButtonIndex(weapon, row), row, weaponLevel(game, weapon));

    deactivateAll(abilityUpgradeMenu);
    if (player != nullptr && player->getAbility() != none) {
        activate(abilityUpgradeMenu, selectButtonIndex(player->getAbility()));
    }
    for (int row = 0; row < UPGRADE_LEVELS; ++row)
        for (int ability = 0; ability < game.numberOfAbilities && ability < 4; ++ability)
            markLevel(abilityUpgradeMenu, levelButtonIndex(ability, row), row, game.abilityLevels[ability]);

    deactivateAll(playerUpgradeMenu);
    for (int row = 0; row < UPGRADE_LEVELS; ++row)
        for (int upgrade = 0; upgrade < game.numberOfPlayerUpgrades && upgrade < 4; ++upgrade)
            markLevel(playerUpgradeMenu, playerLevelButtonIndex(upgrade, row), row, game.playerLevels[upgrade]);

    if (game.menu == Menu::abilityUpgrade) {
        activate(abilityUpgradeMenu, ABILITIES_TAB);
    } else if (game.menu == Menu::playerUpgrade) {
        activate(playerUpgradeMenu, PLAYER_TAB);
    } else {
        activate(weaponUpgradeMenu, WEAPONS_TAB);
    }

    const int xp = player != nullptr ? player->getXP() : 0;
    xpText.loadFromRenderedText("Current XP: " + std::to_string(xp), white, counter);
}

void launchUpgradeMenu(State& game) {
    renderCount("x", game.setEnemies[0], roborText);
    renderCount("x", game.setEnemies[1], robortoText);
    renderCount("x", game.setEnemies[2], robroText);
    renderCount("x", game.setEnemies[3], romoText);
    renderCount("x", game.setEnemies[4], rooText);
    setCurrentButton(buttonAt(weaponUpgradeMenu, CLOSE_MENU_BUTTON));
}

void renderUpgradeMenu(State& game) {
    xpText.render(scale(37), scale(23));
    const bool pad = game.menuGate.controllerInUse();
    (pad ? lbText : qText).render(scale(245), scale(5));
    (pad ? rbText : eText).render(scale(675), scale(5));

    // The five count texts share one font, so one height lines them all up.
    const int countHeight = roborText.getHeight();
    renderEnemy(roborTexture, roborText, 50, 250, nullptr, countHeight);
    renderEnemy(robortoTexture, robortoText, 120, 290, &robortoSource, countHeight);
    renderEnemy(robroTexture, robroText, 50, 330, nullptr, countHeight);
    renderEnemy(romoTexture, romoText, 120, 400, nullptr, countHeight);
    renderEnemy(rooTexture, rooText, 50, 410, &rooSource, countHeight);

    const double healthFraction = player != nullptr ? player->getHealthPercentage() : 0.0;
    const double shieldFraction = player != nullptr ? player->getShieldPercentage() : 0.0;
    upgradeHealth.w = scale(healthFraction * 102);
    upgradeShield.w = scale(shieldFraction * 102);
    fillBar(upgradeHealthBack, 150, 150, 150);
    fillBar(upgradeShieldBack, 150, 150, 150);
    fillBar(upgradeHealth, 255, 0, 0);
    fillBar(upgradeShield, 0, 0, 255);
}

bool priceFlashing(State& game, Uint32 now) {
    if (!isUpgradeMenu(game.menu)) return false;
    const UI_Menu* menu = getCurrentMenu(game);
    for (const UI_Button& button : menu->getButtons())
        if (button.getHover().isFlashing(now)) return true;
    return false;
}

void closeUpgradeMenu(State& game, int, int) {
    setCurrentButton(nullptr);
    game.menu = Menu::notInMenu;
    game.resetShooting = true;
}

void showWeaponUpgradeMenu(State& game, int, int) {
    activate(weaponUpgradeMenu, WEAPONS_TAB);
    deactivate(abilityUpgradeMenu, ABILITIES_TAB);
    deactivate(playerUpgradeMenu, PLAYER_TAB);
    showTab(game, weaponUpgradeMenu, Menu::weaponUpgrade);
}

void showAbilityUpgradeMenu(State& game, int, int) {
    activate(abilityUpgradeMenu, ABILITIES_TAB);
    deactivate(weaponUpgradeMenu, WEAPONS_TAB);
    deactivate(playerUpgradeMenu, PLAYER_TAB);
    showTab(game, abilityUpgradeMenu, Menu::abilityUpgrade);
}

void showPlayerUpgradeMenu(State& game, int, int) {
    activate(playerUpgradeMenu, PLAYER_TAB);
    deactivate(weaponUpgradeMenu, WEAPONS_TAB);
    deactivate(abilityUpgradeMenu, ABILITIES_TAB);
    showTab(game, playerUpgradeMenu, Menu::playerUpgrade);
}

void nextUpgradeTab(State& game) {
    if (game.menu == Menu::weaponUpgrade) {
        showAbilityUpgradeMenu(game, 0, 0);
    } else if (game.menu == Menu::abilityUpgrade) {
        showPlayerUpgradeMenu(game, 0, 0);
    }
}

void previousUpgradeTab(State& game) {
    if (game.menu == Menu::abilityUpgrade) {
        showWeaponUpgradeMenu(game, 0, 0);
    } else if (game.menu == Menu::playerUpgrade) {
        showAbilityUpgradeMenu(game, 0, 0);
    }
}
