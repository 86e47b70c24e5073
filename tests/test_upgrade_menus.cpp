#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "play/Input.h"
#include "play/Interlude.h"
#include "play/World.h"
#include "player/Purchases.h"
#include "ui/MenuInput.h"
#include "ui/MenuScreens.h"
#include "ui/UI.h"
#include "ui/UpgradeItems.h"
#include "ui/UpgradeMenus.h"

namespace {

// The shop of a new run, with the hero and his weapons, on a software canvas.
class Shop : public ::testing::Test, protected TestGame {
protected:
    static const UI_HoverText& hover(UI_Menu& menu, int index) { return at(menu, index)->getHover(); }

    // Opens the shop as the wave loop does before wave 6.
    void open() {
        state.menu = Menu::weaponUpgrade;
        loadUpgradeMenu(state);
        launchUpgradeMenu(state);
    }
    void pump() {
        SDL_Event event;
        while (SDL_PollEvent(&event) != 0) handleInterludeEvent(state, event);
    }
    void press(Uint8 button) { handleInterludeEvent(state, padButtonEvent(0, button)); }
};

// Links of an item grid whose select row (if any) sits under five level buttons.
void expectGrid(UI_Menu& menu, int columns, bool selectRow) {
    auto level = [&](int c, int r) {
        return at(menu, selectRow ? levelButtonIndex(c, r) : playerLevelButtonIndex(c, r));
    };
    UI_Button* close = at(menu, CLOSE_MENU_BUTTON);
    for (int c = 0; c < columns; ++c) {
        SCOPED_TRACE("column " + std::to_string(c));
        UI_Button* select = selectRow ? at(menu, selectButtonIndex(c)) : nullptr;
        for (int r = 0; r < 5; ++r) {
            UI_Button* b = level(c, r);
            EXPECT_EQ(b->move(MENU_CONTROL::up), r == 4 ? nullptr : level(c, r + 1)) << r;
            EXPECT_EQ(b->move(MENU_CONTROL::down), r > 0 ? level(c, r - 1) : (selectRow ? select : close)) << r;
            EXPECT_EQ(b->move(MENU_CONTROL::left), c == 0 ? close : level(c - 1, r)) << r;
            EXPECT_EQ(b->move(MENU_CONTROL::right), c + 1 == columns ? nullptr : level(c + 1, r)) << r;
        }
        if (selectRow) {
            EXPECT_EQ(select->move(MENU_CONTROL::up), level(c, 0));
            EXPECT_EQ(select->move(MENU_CONTROL::down), nullptr);
            EXPECT_EQ(select->move(MENU_CONTROL::left), c == 0 ? close : at(menu, selectButtonIndex(c - 1)));
            EXPECT_EQ(select->move(MENU_CONTROL::right),
                      c + 1 == columns ? nullptr : at(menu, selectButtonIndex(c + 1)));
        }
    }
    // The frame: "Close Menu" re-linked after the grid, tabs reached by shoulder buttons only.
    EXPECT_EQ(close->move(MENU_CONTROL::up), at(menu, MAX_SHIELD_BUTTON));
    EXPECT_EQ(close->move(MENU_CONTROL::down), at(menu, 6));
    EXPECT_EQ(close->move(MENU_CONTROL::right), at(menu, 6));
    EXPECT_EQ(close->move(MENU_CONTROL::left), nullptr);
    EXPECT_EQ(at(menu, MAX_HP_BUTTON)->move(MENU_CONTROL::down), at(menu, MAX_SHIELD_BUTTON));
    EXPECT_EQ(at(menu, MAX_HP_BUTTON)->move(MENU_CONTROL::up), nullptr);
    EXPECT_EQ(at(menu, MAX_SHIELD_BUTTON)->move(MENU_CONTROL::down), close);
    for (int tab : {WEAPONS_TAB, ABILITIES_TAB, PLAYER_TAB})
        for (MENU_CONTROL way : {MENU_CONTROL::up, MENU_CONTROL::down, MENU_CONTROL::left, MENU_CONTROL::right})
            EXPECT_EQ(at(menu, tab)->move(way), nullptr);
}

std::vector<std::string> lines(const UI_HoverText& hover) {
    std::vector<std::string> all;
    for (int i = 0; i < hover.getNumberOfLines(); ++i) all.push_back(hover.getLineText(i) + hover.getLineValue(i));
    return all;
}

bool lit(const Canvas& canvas, int x, int y, int w, int h) { return litPixels(canvas, x, y, w, h, 2) > 0; }

}  // namespace

TEST_F(Shop, TheWeaponGridIsLinkedRowByRowAndColumnByColumn) {
    ASSERT_EQ(weaponUpgradeMenu.getButtons().size(), 36u);
    expectGrid(weaponUpgradeMenu, 5, true);
    // Positions: columns from x = 300, level 1 lowest.
    EXPECT_EQ(at(weaponUpgradeMenu, levelButtonIndex(rifle, 2))->getX(), 450);
    EXPECT_EQ(at(weaponUpgradeMenu, levelButtonIndex(rifle, 2))->getY(), 309);
    EXPECT_EQ(at(weaponUpgradeMenu, levelButtonIndex(laserPistol, 4))->getY(), 81);
    EXPECT_EQ(at(weaponUpgradeMenu, selectButtonIndex(knife))->getX(), 750);
    EXPECT_EQ(at(weaponUpgradeMenu, selectButtonIndex(knife))->getY(), 651);
    EXPECT_EQ(at(weaponUpgradeMenu, CLOSE_MENU_BUTTON)->getY(), 270);
    EXPECT_EQ(at(weaponUpgradeMenu, PLAYER_TAB)->getX(), 816);
}

TEST_F(Shop, TheAbilityAndPlayerGridsAreLinkedToo) {
    ASSERT_EQ(abilityUpgradeMenu.getButtons().size(), 24u);  // no grenade column
    expectGrid(abilityUpgradeMenu, 3, true);
    ASSERT_EQ(playerUpgradeMenu.getButtons().size(), 26u);
    expectGrid(playerUpgradeMenu, 4, false);

    // A fourth ability brings the grenade column.
    state.numberOfAbilities = 4;
    resetMenus(state);
    ASSERT_EQ(abilityUpgradeMenu.getButtons().size(), 30u);
    expectGrid(abilityUpgradeMenu, 4, true);
    EXPECT_EQ(lines(hover(abilityUpgradeMenu, levelButtonIndex(grenade, 2))),
              (std::vector<std::string>{"Cost: 20", "Refresh: 4", "Damage: 2"}));

    // More weapon kinds than pictures never overfill a menu.
    state.numberOfWeapons = 9;
    resetMenus(state);
    EXPECT_EQ(weaponUpgradeMenu.getButtons().size(), 36u);
}

TEST_F(Shop, TheFirstVisitOfARunShowsWhatIsOwned) {
    open();
    UI_Menu& menu = weaponUpgradeMenu;
    EXPECT_TRUE(at(menu, levelButtonIndex(revolver, 0))->isActive());
    auto nextToBuy = [&](int weapon, int row) {
        const UI_Button* b = at(menu, levelButtonIndex(weapon, row));
        return !b->isActive() && !b->isDisabled();
    };
    EXPECT_TRUE(nextToBuy(revolver, 1));
    for (int r = 2; r < 5; ++r) EXPECT_TRUE(at(menu, levelButtonIndex(revolver, r))->isDisabled()) << r;
    for (int weapon : {rifle, shotgun, knife, laserPistol}) {
        EXPECT_TRUE(nextToBuy(weapon, 0));
        for (int r = 1; r < 5; ++r) EXPECT_TRUE(at(menu, levelButtonIndex(weapon, r))->isDisabled()) << weapon << r;
        EXPECT_FALSE(at(menu, selectButtonIndex(weapon))->isActive());
    }
    EXPECT_TRUE(at(menu, selectButtonIndex(revolver))->isActive());
    EXPECT_TRUE(at(menu, WEAPONS_TAB)->isActive());
    EXPECT_FALSE(at(menu, ABILITIES_TAB)->isActive() || at(menu, PLAYER_TAB)->isActive());
    EXPECT_EQ(currentButton, at(menu, CLOSE_MENU_BUTTON));
    EXPECT_TRUE(currentButton->isSelected());
    for (int a = 0; a < 3; ++a) EXPECT_FALSE(at(abilityUpgradeMenu, selectButtonIndex(a))->isActive());
    EXPECT_TRUE(at(playerUpgradeMenu, playerLevelButtonIndex(dodge, 1))->isDisabled());

    // A weapon at level 5: every level bought, none out of reach.
    state.currentShotgunLevel = 5;
    loadUpgradeMenu(state);
    for (int r = 0; r < 5; ++r) {
        EXPECT_TRUE(at(menu, levelButtonIndex(shotgun, r))->isActive()) << r;
        EXPECT_FALSE(at(menu, levelButtonIndex(shotgun, r))->isDisabled()) << r;
    }
    EXPECT_EQ(currentButton, at(menu, CLOSE_MENU_BUTTON));  // marks leave the selection alone
}

TEST_F(Shop, DisabledNeighboursBlockTheController) {
    open();
    state.controller = true;
    setCurrentButton(at(weaponUpgradeMenu, levelButtonIndex(revolver, 1)));
    controllerEvent(state, MENU_CONTROL::up);     // level 3 is out of reach
    controllerEvent(state, MENU_CONTROL::right);  // so is the rifle's level 2
    EXPECT_EQ(currentButton, at(weaponUpgradeMenu, levelButtonIndex(revolver, 1)));
    controllerEvent(state, MENU_CONTROL::down);
    controllerEvent(state, MENU_CONTROL::right);
    EXPECT_EQ(currentButton, at(weaponUpgradeMenu, levelButtonIndex(rifle, 0)));
    controllerEvent(state, MENU_CONTROL::up);
    EXPECT_EQ(currentButton, at(weaponUpgradeMenu, levelButtonIndex(rifle, 0)));
}

TEST_F(Shop, TooltipsShowPricesAndValuesOfEachLevel) {
    state.upgradeIncreaseFactor = 5;
    resetMenus(state);
    EXPECT_EQ(lines(hover(weaponUpgradeMenu, levelButtonIndex(revolver, 1))),
              (std::vector<std::string>{"Cost: 25", "Clip Size: 5", "Reload Speed : 3", "Bullet Durability: 1",
                                        "Damage: 1", "Strength: 1"}));
    EXPECT_EQ(hover(weaponUpgradeMenu, levelButtonIndex(shotgun, 4)).getLineText(5), "# of Bullets: ");
    EXPECT_EQ(lines(hover(weaponUpgradeMenu, levelButtonIndex(knife, 2))),
              (std::vector<std::string>{"Cost: 35", "Damage: 2"}));
    EXPECT_EQ(lines(hover(weaponUpgradeMenu, levelButtonIndex(laserPistol, 4))),
              (std::vector<std::string>{"Cost: 55", "Cool Fire Rate: 0.3", "Heat Buffer: 6", "Cool Off Time: 2"}));
    EXPECT_EQ(lines(hover(abilityUpgradeMenu, levelButtonIndex(bounce, 0))),
              (std::vector<std::string>{"Cost: 15", "Refresh: 10"}));
    EXPECT_EQ(lines(hover(abilityUpgradeMenu, levelButtonIndex(teleport, 2))),
              (std::vector<std::string>{"Cost: 35", "Refresh: 10", "Duration: 3"}));
    EXPECT_EQ(lines(hover(abilityUpgradeMenu, levelButtonIndex(c4, 3))),
              (std::vector<std::string>{"Cost: 45", "Refresh: 12", "Damage: 4"}));
    EXPECT_EQ(lines(hover(playerUpgradeMenu, playerLevelButtonIndex(armor, 0))),
              (std::vector<std::string>{"Armor:  ", "Cost: 15", "Damage Reduction: 10%"}));
    EXPECT_EQ(lines(hover(playerUpgradeMenu, playerLevelButtonIndex(shield, 1))),
              (std::vector<std::string>{"Shield Charge:  ", "Cost: 25", "Multiplier: 1.5"}));
    EXPECT_EQ(lines(hover(playerUpgradeMenu, playerLevelButtonIndex(dodge, 4))).back(), "Dodge Chance: 5%");
    EXPECT_EQ(lines(hover(weaponUpgradeMenu, MAX_SHIELD_BUTTON)), (std::vector<std::string>{"Cost: 20"}));
    EXPECT_FALSE(at(weaponUpgradeMenu, CLOSE_MENU_BUTTON)->hasHover());
    EXPECT_FALSE(at(weaponUpgradeMenu, selectButtonIndex(rifle))->hasHover());

    state.upgradeIncreaseFactor = 10;
    resetMenus(state);
    EXPECT_EQ(hover(playerUpgradeMenu, playerLevelButtonIndex(shield, 2)).getLineValue(1), "40");
}

TEST_F(Shop, ShoulderButtonsWalkTheTabsAndStopAtTheEnds) {
    open();
    state.resetShooting = false;
    press(SDL_CONTROLLER_BUTTON_LEFTSHOULDER);  // already the first tab
    EXPECT_EQ(state.menu, Menu::weaponUpgrade);
    EXPECT_FALSE(state.resetShooting);

    press(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
    EXPECT_EQ(state.menu, Menu::abilityUpgrade);
    EXPECT_EQ(currentButton, at(abilityUpgradeMenu, CLOSE_MENU_BUTTON));
    EXPECT_TRUE(currentButton->isSelected());
    EXPECT_FALSE(at(weaponUpgradeMenu, CLOSE_MENU_BUTTON)->isSelected());
    EXPECT_TRUE(state.resetShooting);
    EXPECT_TRUE(at(abilityUpgradeMenu, ABILITIES_TAB)->isActive());
    EXPECT_FALSE(at(weaponUpgradeMenu, WEAPONS_TAB)->isActive());

    press(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
    EXPECT_EQ(state.menu, Menu::playerUpgrade);
    EXPECT_TRUE(at(playerUpgradeMenu, PLAYER_TAB)->isActive());
    EXPECT_FALSE(at(abilityUpgradeMenu, ABILITIES_TAB)->isActive());
    state.resetShooting = false;
    press(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);  // the last tab
    EXPECT_EQ(state.menu, Menu::playerUpgrade);
    EXPECT_FALSE(state.resetShooting);

    // Down from a level-1 player button leads to "Close Menu".
    setCurrentButton(at(playerUpgradeMenu, playerLevelButtonIndex(speed, 0)));
    controllerEvent(state, MENU_CONTROL::down);
    EXPECT_EQ(currentButton, at(playerUpgradeMenu, CLOSE_MENU_BUTTON));

    press(SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
    press(SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
    EXPECT_EQ(state.menu, Menu::weaponUpgrade);
    EXPECT_EQ(currentButton, at(weaponUpgradeMenu, CLOSE_MENU_BUTTON));

    // The pointer on a tab does the same as the shoulder.
    state.controller = false;
    UI_Button* playerTab = at(weaponUpgradeMenu, PLAYER_TAB);
    mouseMove(state, playerTab->getX() + 5, playerTab->getY() + 5);
    menuSelect(state);
    EXPECT_EQ(state.menu, Menu::playerUpgrade);

    press(SDL_CONTROLLER_BUTTON_B);
    EXPECT_EQ(state.menu, Menu::notInMenu);
    EXPECT_EQ(currentButton, nullptr);
}

TEST_F(Shop, TheInterludeHoldsOnlyBeforeWavesSixElevenAndSoOn) {
    for (int wave : {1, 2, 3, 4, 5, 7, 10, 12}) {
        world->waveNumber = wave;
        upgradeInterlude(*run, *world);  // returns at once: no events were queued
        EXPECT_EQ(state.menu, Menu::weaponUpgrade) << wave;  // prepared all the same
        EXPECT_EQ(currentButton, at(weaponUpgradeMenu, CLOSE_MENU_BUTTON)) << wave;
    }
    EXPECT_FALSE(interludeRunning(state, 1));
    EXPECT_TRUE(interludeRunning(state, 6));
    EXPECT_TRUE(interludeRunning(state, 31));

    state.resetShooting = false;
    world->waveNumber = 6;
    {
        TapWhenTheShopListens leave(SDLK_ESCAPE);
        upgradeInterlude(*run, *world);
    }
    EXPECT_EQ(state.menu, Menu::notInMenu);
    EXPECT_TRUE(state.resetShooting);
    EXPECT_FALSE(state.quit);
    EXPECT_TRUE(lit(canvas, 55, 34, 150, 25));  // the shop was drawn meanwhile

    world->waveNumber = 11;
    pushQuit();
    upgradeInterlude(*run, *world);
    EXPECT_TRUE(state.quit);

    state.quit = false;
    VirtualPad pad;
    ASSERT_TRUE(pad.ok());
    world->waveNumber = 16;
    pad.onRead = [&] {
        if (screenListens()) SDL_JoystickSetVirtualButton(pad.joystick, SDL_CONTROLLER_BUTTON_B, 1);
    };
    upgradeInterlude(*run, *world);
    pad.onRead = nullptr;
    pad.button(SDL_CONTROLLER_BUTTON_B, false);
    EXPECT_EQ(state.menu, Menu::notInMenu);
}

TEST_F(Shop, TheStickStepsOncePerPushInTheShop) {
    VirtualPad pad;
    ASSERT_TRUE(pad.ok());
    open();
    auto stick = [&](SDL_GameControllerAxis axis, Sint16 value) {
        pad.axis(axis, value);
        pump();
    };
    stick(SDL_CONTROLLER_AXIS_LEFTX, 30000);
    EXPECT_EQ(currentButton, at(weaponUpgradeMenu, selectButtonIndex(revolver)));
    stick(SDL_CONTROLLER_AXIS_LEFTX, 31000);
    EXPECT_EQ(currentButton, at(weaponUpgradeMenu, selectButtonIndex(revolver)));
    stick(SDL_CONTROLLER_AXIS_LEFTX, 0);
    stick(SDL_CONTROLLER_AXIS_LEFTY, -30000);
    EXPECT_EQ(currentButton, at(weaponUpgradeMenu, levelButtonIndex(revolver, 0)));
    // Held on one axis, pushed on the other: still one step per push.
    stick(SDL_CONTROLLER_AXIS_LEFTX, 30000);
    EXPECT_EQ(currentButton, at(weaponUpgradeMenu, levelButtonIndex(revolver, 0)));
    stick(SDL_CONTROLLER_AXIS_LEFTY, 0);
    EXPECT_EQ(currentButton, at(weaponUpgradeMenu, levelButtonIndex(revolver, 0)));
    stick(SDL_CONTROLLER_AXIS_LEFTX, 0);
    stick(SDL_CONTROLLER_AXIS_LEFTX, 30000);
    EXPECT_EQ(currentButton, at(weaponUpgradeMenu, levelButtonIndex(rifle, 0)));
    stick(SDL_CONTROLLER_AXIS_LEFTX, 0);
    stick(SDL_CONTROLLER_AXIS_LEFTX, -30000);
    EXPECT_EQ(currentButton, at(weaponUpgradeMenu, levelButtonIndex(revolver, 0)));

    // A buys the highlighted level; other keys than Escape do nothing.
    run->player.changeXP(20);
    setCurrentButton(at(weaponUpgradeMenu, levelButtonIndex(revolver, 1)));
    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    pump();
    EXPECT_EQ(state.currentRevolverLevel, 2);
    pushKey(SDLK_SPACE, true);
    pushKey(SDLK_d, true);
    pump();
    EXPECT_EQ(state.menu, Menu::weaponUpgrade);
    EXPECT_EQ(run->player.getXNormalV(), 0);
}

TEST_F(Shop, EveryTabShowsXPBarsAndTheComingEnemies) {
    const int counts[5] = {3, 0, 2, 0, 1};
    for (int i = 0; i < 5; ++i) state.setEnemies[i] = counts[i];
    run->player.changeXP(25);
    run->player.damage(state);
    run->player.damage(state);  // half health
    ASSERT_DOUBLE_EQ(run->player.getHealthPercentage(), 0.5);
    open();
    const int countHeight = roborText.getHeight();

    for (Menu tab : {Menu::weaponUpgrade, Menu::abilityUpgrade, Menu::playerUpgrade}) {
        SCOPED_TRACE(static_cast<int>(tab));
        state.menu = tab;
        canvas.clear(0, 0, 0);
        renderMenu(state);

        EXPECT_TRUE(showsText(canvas, 55, 34, "Current XP: 25"));
        // Health: 76 red pixels over a 153 pixel grey bar; shield empty.
        EXPECT_TRUE(sameColour(canvas.pixel(75, 82), 255, 0, 0) && sameColour(canvas.pixel(150, 103), 255, 0, 0));
        EXPECT_TRUE(sameColour(canvas.pixel(151, 82), 150, 150, 150) &&
                    sameColour(canvas.pixel(227, 103), 150, 150, 150));
        EXPECT_TRUE(sameColour(canvas.pixel(228, 90), 0, 0, 0) && sameColour(canvas.pixel(75, 81), 0, 0, 0));
        EXPECT_TRUE(sameColour(canvas.pixel(75, 112), 150, 150, 150) &&
                    sameColour(canvas.pixel(227, 133), 150, 150, 150));

        EXPECT_TRUE(showsPicture(canvas, "robor.png", 48, 375, 36, 75));
        EXPECT_TRUE(showsPicture(canvas, "roborto.png", 148, 435, 42, 75, &robortoSource));
        EXPECT_TRUE(showsPicture(canvas, "robro.png", 54, 495, 28, 75));
        EXPECT_TRUE(showsPicture(canvas, "romo.png", 145, 600, 46, 30));
        EXPECT_TRUE(showsPicture(canvas, "roo.png", 34, 615, 54, 75, &rooSource));
        EXPECT_TRUE(showsText(canvas, 48 + 36 + 7, 375 + 75 + 7 - countHeight, "x3"));
        EXPECT_TRUE(showsText(canvas, 148 + 42 + 7, 435 + 75 + 7 - countHeight, "x0"));
        EXPECT_TRUE(showsText(canvas, 54 + 28 + 7, 495 + 75 + 7 - countHeight, "x2"));
        EXPECT_TRUE(showsText(canvas, 34 + 54 + 7, 615 + 75 + 7 - countHeight, "x1"));
        // The tab keys of the keyboard, the device in use until a pad's button goes down.
        EXPECT_TRUE(showsPicture(canvas, "upgrade-menu/q.png", 367, 7, 60, 60));
        EXPECT_TRUE(showsPicture(canvas, "upgrade-menu/e.png", 1012, 7, 60, 60));

        // The grids differ: select buttons under weapons and abilities, a fourth and fifth column for weapons.
        EXPECT_EQ(lit(canvas, 300, 655, 90, 40), tab != Menu::playerUpgrade);
        EXPECT_EQ(lit(canvas, 750, 540, 90, 85), tab != Menu::abilityUpgrade);
        EXPECT_EQ(lit(canvas, 900, 540, 90, 85), tab == Menu::weaponUpgrade);
    }

    // The last device used decides: a pad's button, then a key.
    for (const bool pad : {true, false}) {
        handleInterludeEvent(state, pad ? padButtonEvent(0, SDL_CONTROLLER_BUTTON_X) : keyEvent(SDLK_DOWN));
        canvas.clear(0, 0, 0);
        renderMenu(state);
        EXPECT_EQ(showsPicture(canvas, "upgrade-menu/lb.png", 367, 7, 60, 60), pad);
        EXPECT_EQ(showsPicture(canvas, "upgrade-menu/rb.png", 1012, 7, 60, 60), pad);
        EXPECT_EQ(showsPicture(canvas, "upgrade-menu/q.png", 367, 7, 60, 60), !pad);
    }
}

TEST_F(Shop, TheInterludeFrameDimsTheStillWorldUnderTheShop) {
    open();
    renderInterludeFrame(*run, *world);
    const SDL_Color empty = canvas.pixel(1100, 430);

    world->ePlatforms.emplace_back(720, 280, canvas.renderer);  // at (1080, 420) in the window
    world->platforms.push_back(&world->ePlatforms.back());
    renderInterludeFrame(*run, *world);
    const SDL_Color withPlatform = canvas.pixel(1100, 430);
    EXPECT_FALSE(sameColour(empty, withPlatform.r, withPlatform.g, withPlatform.b));
    EXPECT_TRUE(lit(canvas, 55, 34, 150, 25));
    Uint8 r = 0, g = 0, b = 0, a = 0;
    SDL_GetRenderDrawColor(canvas.renderer, &r, &g, &b, &a);
    EXPECT_TRUE(r == 26 && g == 26 && b == 26 && a == 255);
}

// A pointer press clicks what lies under the pointer: a stray click in the shop
// throws nothing away, a click on an item buys it.
TEST_F(Shop, AStrayClickDoesNothingAndAClickOnAnItemBuysIt) {
    open();
    ASSERT_EQ(currentButton, at(weaponUpgradeMenu, CLOSE_MENU_BUTTON));  // selected, as the shop opens
    run->player.changeXP(10 - run->player.getXP());
    pointerPress(state, 5, 5);  // empty space
    EXPECT_EQ(state.menu, Menu::weaponUpgrade);
    EXPECT_TRUE(interludeRunning(state, 6));

    // A tab clicked twice without moving: the second click lands on the tab again, not on "Close Menu".
    UI_Button* abilities = at(weaponUpgradeMenu, ABILITIES_TAB);
    pointerPress(state, abilities->getX() + 5, abilities->getY() + 5);
    ASSERT_EQ(state.menu, Menu::abilityUpgrade);
    pointerPress(state, abilities->getX() + 5, abilities->getY() + 5);
    EXPECT_EQ(state.menu, Menu::abilityUpgrade);
    UI_Button* weapons = at(abilityUpgradeMenu, WEAPONS_TAB);
    pointerPress(state, weapons->getX() + 5, weapons->getY() + 5);
    ASSERT_EQ(state.menu, Menu::weaponUpgrade);

    UI_Button* rifle1 = at(weaponUpgradeMenu, levelButtonIndex(rifle, 0));
    pointerPress(state, rifle1->getX() + rifle1->getWidth() / 2, rifle1->getY() + rifle1->getHeight() / 2);
    EXPECT_EQ(state.currentRifleLevel, 1);
    EXPECT_EQ(run->player.getXP(), 0);
    EXPECT_EQ(state.menu, Menu::weaponUpgrade);

    // Over a disabled button, nothing.
    UI_Button* rifle3 = at(weaponUpgradeMenu, levelButtonIndex(rifle, 2));
    ASSERT_TRUE(rifle3->isDisabled());
    run->player.changeXP(1000);
    pointerPress(state, rifle3->getX() + 5, rifle3->getY() + 5);
    EXPECT_EQ(state.currentRifleLevel, 1);

    // "Close Menu" itself still closes the shop.
    UI_Button* close = at(weaponUpgradeMenu, CLOSE_MENU_BUTTON);
    pointerPress(state, close->getX() + 5, close->getY() + 5);
    EXPECT_FALSE(interludeRunning(state, 6));
}

TEST_F(Shop, TheKeyboardWalksTheShop) {
    open();
    auto key = [&](SDL_Keycode sym) {
        pushKey(sym, true);
        pump();
    };
    key(SDLK_e);
    EXPECT_EQ(state.menu, Menu::abilityUpgrade);
    key(SDLK_PAGEDOWN);
    EXPECT_EQ(state.menu, Menu::playerUpgrade);
    key(SDLK_PAGEDOWN);  // the last tab
    EXPECT_EQ(state.menu, Menu::playerUpgrade);
    key(SDLK_q);
    EXPECT_EQ(state.menu, Menu::abilityUpgrade);
    key(SDLK_PAGEUP);
    EXPECT_EQ(state.menu, Menu::weaponUpgrade);

    // From "Close Menu" right along the select row to the rifle's, up to its first level, Enter buys it.
    run->player.changeXP(10 - run->player.getXP());
    setCurrentButton(at(weaponUpgradeMenu, CLOSE_MENU_BUTTON));
    key(SDLK_RIGHT);
    EXPECT_EQ(currentButton, at(weaponUpgradeMenu, selectButtonIndex(revolver)));
    key(SDLK_RIGHT);
    EXPECT_EQ(currentButton, at(weaponUpgradeMenu, selectButtonIndex(rifle)));
    key(SDLK_UP);
    ASSERT_EQ(currentButton, at(weaponUpgradeMenu, levelButtonIndex(rifle, 0)));
    key(SDLK_RETURN);
    EXPECT_EQ(state.currentRifleLevel, 1);
    key(SDLK_ESCAPE);
    EXPECT_FALSE(interludeRunning(state, 6));
}

// The shop draws the still world once per visit: a frame over the composed
// backdrop shows what a frame drawing the world under its veils shows.
TEST_F(Shop, TheComposedBackdropShowsTheSameFrame) {
    open();
    world->ePlatforms.emplace_back(720, 280, canvas.renderer);
    world->platforms.push_back(&world->ePlatforms.back());
    renderInterludeFrame(*run, *world);
    std::vector<SDL_Color> direct;
    for (int y = 0; y < 720; y += 7)
        for (int x = 0; x < 1200; x += 7) direct.push_back(canvas.pixel(x, y));

    const std::shared_ptr<SDL_Texture> backdrop = composeShopBackdrop(*run, *world);
    ASSERT_NE(backdrop, nullptr);
    canvas.clear(255, 0, 255);
    renderInterludeFrame(*run, *world, backdrop.get());
    int differing = 0;
    std::size_t i = 0;
    for (int y = 0; y < 720; y += 7)
        for (int x = 0; x < 1200; x += 7, ++i) {
            const SDL_Color& want = direct[i];
            differing += sameColour(canvas.pixel(x, y), want.r, want.g, want.b, 3) ? 0 : 1;
        }
    EXPECT_EQ(differing, 0);
}

// The shop's picture is kept between frames and drawn again when an event
// changes it: a new selection and a purchase show on the next frame, a pass
// without events shows the same picture.
TEST_F(Shop, TheKeptPictureFollowsEverySelectionAndPurchase) {
    VirtualPad pad;
    ASSERT_TRUE(pad.ok());
    world->waveNumber = 6;
    run->player.changeXP(10 - run->player.getXP());
    UI_Button* rifle1 = at(weaponUpgradeMenu, levelButtonIndex(rifle, 0));
    const int x = rifle1->getX() + 2;
    const int y = rifle1->getY() + rifle1->getHeight() / 2;
    // What the last frame showed of the button: its pixels summed up.
    auto looks = [&] {
        long sum = 0;
        for (int py = rifle1->getY(); py < rifle1->getY() + rifle1->getHeight(); py += 2)
            for (int px = rifle1->getX(); px < rifle1->getX() + rifle1->getWidth(); px += 2) {
                const SDL_Color c = canvas.pixel(px, py);
                sum += c.r * 3 + c.g * 5 + c.b * 7;
            }
        return sum;
    };
    std::vector<long> button;
    int pass = 0;
    pad.onRead = [&] {
        // The shop takes no press in its first moments: the script starts after them.
        if (!screenListens()) return;
        // What the last frame showed, then the next step of the script.
        button.push_back(looks());
        switch (pass++) {
        case 2:  // the pointer onto the rifle's first level
            pushMotion(x + 10, y);
            break;
        case 4:  // a click there buys it
            pushMousePress();
            break;
        case 7:
            pushKey(SDLK_ESCAPE, true);
            break;
        default:
            break;
        }
    };
    upgradeInterlude(*run, *world);
    pad.onRead = nullptr;
    ASSERT_GE(button.size(), 8u);
    EXPECT_EQ(state.currentRifleLevel, 1);
    // Each reading shows the frame of the pass before it. Nothing happened yet: one picture.
    EXPECT_EQ(button[1], button[2]);
    // The selection moved onto the button: it is highlighted on the next frame, and stays.
    EXPECT_NE(button[2], button[3]) << "the new selection is not shown";
    EXPECT_EQ(button[3], button[4]);
    // The purchase: the button is marked bought on the next frame.
    EXPECT_NE(button[4], button[5]) << "the purchase is not shown";
    EXPECT_EQ(button[5], button[6]);
}

// The fire key at the last robot of the fifth wave must not throw the visit
// away: held on, repeating or pressed anew, Space does nothing in the shop, nor
// does any press in its first moments; Enter on "Close Menu" closes it.
TEST_F(Shop, NoKeyOfPlayThrowsTheShopAway) {
    world->waveNumber = 6;
    handlePlayEvent(state, *run, *world, keyEvent(SDLK_SPACE));  // fired in play, still held
    SDL_Event spaceRepeat = keyEvent(SDLK_SPACE);
    spaceRepeat.key.repeat = 1;
    VirtualPad pad;
    ASSERT_TRUE(pad.ok());
    UI_Button* close = at(weaponUpgradeMenu, CLOSE_MENU_BUTTON);
    const Uint32 opened = SDL_GetTicks();
    int phase = 0;
    int passes = 0;
    pad.onRead = [&] {
        if (++passes > 20000) state.quit = true;  // a shop that never closes fails, not hangs
        if (phase == 0) {
            // Its first moment: Space repeating, Enter, a click on "Close Menu", the pad's A.
            pushEvent(spaceRepeat);
            pushTap(SDLK_RETURN);
            pushMotion(close->getX() + 5, close->getY() + 5);
            pushMousePress();
            pushPadButton(SDL_JoystickInstanceID(pad.joystick), SDL_CONTROLLER_BUTTON_A);
            phase = 1;
        } else if (phase == 1 && screenListens()) {
            EXPECT_TRUE(isUpgradeMenu(state.menu)) << "a press in the first moments acted";
            EXPECT_GE(SDL_GetTicks() - opened, SHOP_QUIET_MS);
            pushEvent(spaceRepeat);
            pushKey(SDLK_SPACE, false);
            pushTap(SDLK_SPACE);
            phase = 2;
        } else if (phase == 2) {
            EXPECT_TRUE(isUpgradeMenu(state.menu)) << "Space acted on the shop";
            setCurrentButton(close);
            pushTap(SDLK_RETURN);
            phase = 3;
        }
    };
    upgradeInterlude(*run, *world);
    pad.onRead = nullptr;
    EXPECT_EQ(phase, 3);
    EXPECT_FALSE(state.quit);
    EXPECT_EQ(state.menu, Menu::notInMenu);
}
