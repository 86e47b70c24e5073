#include <gtest/gtest.h>

#include <memory>

#include "TestSupport.h"
#include "play/World.h"
#include "player/Purchases.h"
#include "ui/MenuInput.h"
#include "ui/MenuScreens.h"
#include "ui/UI.h"
#include "ui/UpgradeMenus.h"

namespace {

class MenuInput : public ::testing::Test, protected TestGame {
protected:
    MenuInput() : TestGame({.world = false}) { state.menu = Menu::head; }

    // Every highlighted button of the game, in every menu.
    static int highlighted() {
        int count = 0;
        for (UI_Menu* menu : {&mainMenu, &levelSelect, &pauseMenu, &weaponUpgradeMenu, &abilityUpgradeMenu,
                              &playerUpgradeMenu})
            for (const UI_Button& b : menu->getButtons()) count += b.isSelected() ? 1 : 0;
        return count;
    }

    // The middle of a button, where the pointer goes.
    static void pointAt(UI_Button* b) { mouseMove(state, b->getX() + b->getWidth() / 2, b->getY() + 5); }
};

}  // namespace

TEST_F(MenuInput, WithoutAControllerTheHighlightFollowsThePointer) {
    pointAt(at(mainMenu, 0));
    EXPECT_EQ(currentButton, at(mainMenu, 0));
    EXPECT_TRUE(currentButton->isSelected());

    mouseMove(state, 10, 10);  // empty space
    EXPECT_EQ(currentButton, nullptr);
    EXPECT_EQ(highlighted(), 0);

    // Hit areas include all four edges.
    mouseMove(state, 420 + 360, 517 + 72);
    EXPECT_EQ(currentButton, at(mainMenu, 2));
    mouseMove(state, 420 + 361, 517);
    EXPECT_EQ(currentButton, nullptr);
    mouseMove(state, 419, 517);
    EXPECT_EQ(currentButton, nullptr);

    menuSelect(state);  // nothing highlighted: a press clicks nothing
    EXPECT_EQ(state.menu, Menu::head);
    EXPECT_FALSE(state.quit);
}

TEST_F(MenuInput, WithAControllerThePointerTakesTheSelectionButNeverClearsIt) {
    state.controller = true;
    pointAt(at(mainMenu, 3));
    mouseMove(state, 10, 10);
    EXPECT_EQ(currentButton, at(mainMenu, 3));
    EXPECT_EQ(highlighted(), 1);
    menuSelect(state);  // the pointer is nowhere near it: the highlighted button is clicked all the same
    EXPECT_TRUE(state.quit);
}

TEST_F(MenuInput, ThePointerSkipsDisabledShopButtons) {
    state.menu = Menu::weaponUpgrade;
    loadUpgradeMenu(state);
    UI_Button* rifleLevel2 = at(weaponUpgradeMenu, levelButtonIndex(rifle, 1));
    ASSERT_TRUE(rifleLevel2->isDisabled());
    pointAt(rifleLevel2);
    EXPECT_EQ(currentButton, nullptr);
    EXPECT_FALSE(rifleLevel2->isSelected());
    pointAt(at(weaponUpgradeMenu, levelButtonIndex(rifle, 0)));
    EXPECT_EQ(currentButton, at(weaponUpgradeMenu, levelButtonIndex(rifle, 0)));
}

TEST_F(MenuInput, ControllerCommands) {
    LogCapture log;
    controllerEvent(state, MENU_CONTROL::disconnect);  // nothing current: nothing happens
    controllerEvent(state, MENU_CONTROL::down);
    EXPECT_EQ(log.count("No button selection!"), 1);
    EXPECT_EQ(currentButton, nullptr);

    controllerEvent(state, MENU_CONTROL::connect);
    EXPECT_EQ(currentButton, at(mainMenu, 0));
    controllerEvent(state, MENU_CONTROL::up);  // no neighbour above: it stays, silently
    controllerEvent(state, MENU_CONTROL::left);
    controllerEvent(state, MENU_CONTROL::back);
    EXPECT_EQ(currentButton, at(mainMenu, 0));
    EXPECT_EQ(log.count("No button selection!"), 1);

    for (int step = 0; step < 5; ++step) controllerEvent(state, MENU_CONTROL::down);
    EXPECT_EQ(currentButton, at(mainMenu, 3));  // stops at the last one
    EXPECT_EQ(highlighted(), 1);

    // connect on the pause menu selects its first button, whatever was selected before.
    state.menu = Menu::pause;
    setCurrentButton(at(pauseMenu, 2));
    controllerEvent(state, MENU_CONTROL::connect);
    EXPECT_EQ(currentButton, at(pauseMenu, 0));
    EXPECT_EQ(highlighted(), 1);

    controllerEvent(state, MENU_CONTROL::disconnect);
    EXPECT_EQ(currentButton, nullptr);
    EXPECT_EQ(highlighted(), 0);
    controllerEvent(state, MENU_CONTROL::select);  // nothing selected: nothing clicked
    EXPECT_EQ(state.menu, Menu::pause);

    // No menu on screen: commands are ignored without a word.
    state.menu = Menu::notInMenu;
    controllerEvent(state, MENU_CONTROL::down);
    controllerEvent(state, MENU_CONTROL::connect);
    EXPECT_EQ(currentButton, nullptr);
    EXPECT_EQ(log.count("No button selection!"), 1);
}

TEST_F(MenuInput, OnePressClicksOneButtonAndLeavesOneHighlight) {
    pointAt(at(mainMenu, 0));
    menuSelect(state);  // "Arcade Mode": the level select opens, "Level 1" highlighted there alone
    EXPECT_EQ(state.menu, Menu::level);
    EXPECT_FALSE(state.started);  // the new highlight was not clicked by the same press
    EXPECT_EQ(currentButton, at(levelSelect, 0));
    EXPECT_EQ(highlighted(), 1);

    menuSelect(state);  // "Level 1"
    EXPECT_TRUE(state.started);

    state.menu = Menu::pause;
    pointAt(at(pauseMenu, 2));
    menuSelect(state);  // "Quit To Menu": "Arcade Mode" is now the highlighted one
    EXPECT_EQ(state.menu, Menu::head);
    EXPECT_EQ(currentButton, at(mainMenu, 0));
    EXPECT_EQ(highlighted(), 1);
    menuSelect(state);  // a second press without moving clicks it
    EXPECT_EQ(state.menu, Menu::level);
    EXPECT_FALSE(state.quit);
}

TEST_F(MenuInput, AButtonLeftInAHiddenMenuTakesNoPress) {
    state.controller = true;
    state.menu = Menu::level;
    setCurrentButton(at(levelSelect, 0));
    state.menu = Menu::pause;  // the level select is not on screen any more
    menuSelect(state);
    controllerEvent(state, MENU_CONTROL::select);
    EXPECT_FALSE(state.started);
    EXPECT_EQ(state.menu, Menu::pause);
}

TEST_F(MenuInput, APurchasePressBuysOneLevelAndTheRebuiltButtonStaysCurrent) {
    run->player.changeXP(1000);
    state.menu = Menu::weaponUpgrade;
    loadUpgradeMenu(state);
    state.controller = true;
    setCurrentButton(at(weaponUpgradeMenu, levelButtonIndex(rifle, 0)));

    controllerEvent(state, MENU_CONTROL::select);
    EXPECT_EQ(state.currentRifleLevel, 1);
    EXPECT_EQ(state.upgradeIncreaseFactor, 5);
    // Same place, rebuilt: current but not highlighted, so the next press buys nothing.
    EXPECT_EQ(currentButton, at(weaponUpgradeMenu, levelButtonIndex(rifle, 0)));
    EXPECT_FALSE(currentButton->isSelected());
    EXPECT_TRUE(currentButton->isActive());
    menuSelect(state);
    EXPECT_EQ(state.currentRifleLevel, 1);

    // Navigation goes on from there over the rebuilt links.
    controllerEvent(state, MENU_CONTROL::up);
    EXPECT_EQ(currentButton, at(weaponUpgradeMenu, levelButtonIndex(rifle, 1)));
    controllerEvent(state, MENU_CONTROL::select);
    EXPECT_EQ(state.currentRifleLevel, 2);
    EXPECT_EQ(run->player.getXP(), 1000 - 10 - 25);
    EXPECT_EQ(highlighted(), 0);
}
