#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "ui/CampaignScreen.h"
#include "ui/MenuInput.h"
#include "ui/MenuScreens.h"
#include "ui/UI.h"
#include "ui/UpgradeMenus.h"

namespace {

// The interface built on a software canvas, with the game's own state record.
class MenuScreens : public ::testing::Test, protected TestGame {
protected:
    MenuScreens() : TestGame({.run = false, .world = false}) {}
};

// Buttons form one vertical chain, first to last, no wrap and no sideways links.
void expectVerticalChain(UI_Menu& menu) {
    std::vector<UI_Button>& buttons = menu.getButtons();
    for (size_t i = 0; i < buttons.size(); ++i) {
        EXPECT_EQ(buttons[i].move(MENU_CONTROL::up), i == 0 ? nullptr : &buttons[i - 1]) << i;
        EXPECT_EQ(buttons[i].move(MENU_CONTROL::down), i + 1 == buttons.size() ? nullptr : &buttons[i + 1]) << i;
        EXPECT_EQ(buttons[i].move(MENU_CONTROL::left), nullptr) << i;
        EXPECT_EQ(buttons[i].move(MENU_CONTROL::right), nullptr) << i;
    }
}

std::vector<int> tops(UI_Menu& menu) {
    std::vector<int> ys;
    for (const UI_Button& b : menu.getButtons()) {
        EXPECT_EQ(b.getX(), 420);
        EXPECT_EQ(b.getWidth(), 360);
        ys.push_back(b.getY());
    }
    return ys;
}

}  // namespace

TEST_F(MenuScreens, MenusAreCentredVerticalChains) {
    EXPECT_EQ(tops(mainMenu), (std::vector<int>{322, 420, 517, 615}));
    EXPECT_EQ(tops(levelSelect), (std::vector<int>{337, 435, 532, 630}));
    EXPECT_EQ(tops(pauseMenu), (std::vector<int>{322, 420, 517, 615}));
    expectVerticalChain(mainMenu);
    expectVerticalChain(levelSelect);
    expectVerticalChain(pauseMenu);
    EXPECT_EQ(currentButton, nullptr);  // nothing is selected after start-up
    for (UI_Menu* menu : {&mainMenu, &levelSelect, &pauseMenu})
        for (const UI_Button& b : menu->getButtons()) EXPECT_FALSE(b.isSelected());
}

TEST_F(MenuScreens, ActionsMoveBetweenTheScreens) {
    at(mainMenu, 0)->click();  // "Arcade Mode"
    EXPECT_EQ(state.menu, Menu::level);
    EXPECT_EQ(currentButton, at(levelSelect, 0));
    EXPECT_TRUE(currentButton->isSelected());

    // Every shipped level is offered, each by its own button, and "Back" below them.
    ASSERT_EQ(levelSelect.getButtons().size(), 4u);
    at(levelSelect, 3)->click();
    EXPECT_EQ(state.menu, Menu::head);
    EXPECT_EQ(currentButton, at(mainMenu, 0));
    for (int level : {3, 2}) {
        state = State();
        state.menu = Menu::level;
        at(levelSelect, level - 1)->click();
        EXPECT_EQ(state.level, level);
        EXPECT_TRUE(state.started);
        EXPECT_EQ(state.menu, Menu::notInMenu);
    }

    state.menu = Menu::level;
    at(levelSelect, 0)->click();  // "Level 1"
    EXPECT_EQ(state.level, 1);
    EXPECT_TRUE(state.started);
    EXPECT_EQ(state.menu, Menu::notInMenu);

    state.menu = Menu::pause;
    at(pauseMenu, 0)->click();  // "Resume Game"
    EXPECT_EQ(state.menu, Menu::notInMenu);
    EXPECT_TRUE(state.started);

    state.menu = Menu::pause;
    at(pauseMenu, 2)->click();  // "Quit To Menu"
    EXPECT_FALSE(state.started);
    EXPECT_EQ(state.menu, Menu::head);
    EXPECT_EQ(currentButton, at(mainMenu, 0));
    EXPECT_TRUE(currentButton->isSelected());

    selectLevel2(state, 0, 0);
    EXPECT_EQ(state.level, 2);
    selectLevel3(state, 0, 0);
    EXPECT_EQ(state.level, 3);
    EXPECT_TRUE(state.started);
}

TEST_F(MenuScreens, CampaignAndSettingsOpenTheirScreensAndQuitButtonsEndTheGame) {
    // Without a saved campaign its screen offers a new one and the way back;
    // with one, "Continue" first, naming where, and a new one asks first.
    state.menu = Menu::head;
    at(mainMenu, 1)->click();
    EXPECT_EQ(state.menu, Menu::campaign);
    EXPECT_EQ(campaignMenu.getButtons().size(), 2u);
    at(campaignMenu, 1)->click();  // "Back"
    EXPECT_EQ(state.menu, Menu::head);
    EXPECT_EQ(currentButton, at(mainMenu, 1));
    CampaignSave saved;
    saved.level = 2;
    state.campaign = saved;
    at(mainMenu, 1)->click();
    ASSERT_EQ(campaignMenu.getButtons().size(), 3u);
    EXPECT_EQ(continueLabel(saved), "Continue: Level 2, wave 11");
    at(campaignMenu, 1)->click();  // "New Campaign"
    EXPECT_EQ(state.menu, Menu::startOver);
    EXPECT_EQ(currentButton, at(startOverMenu, 0));  // "No"
    at(startOverMenu, 0)->click();
    EXPECT_EQ(state.menu, Menu::campaign);
    EXPECT_TRUE(state.campaign.has_value());
    at(campaignMenu, 0)->click();  // "Continue"
    EXPECT_TRUE(state.started && state.continueCampaign && state.mode == PlayMode::campaign);
    EXPECT_EQ(state.level, 2);
    state = State();

    // "Settings" on both menus opens the screen, which remembers the way back.
    for (Menu from : {Menu::head, Menu::pause}) {
        state.menu = from;
        at(from == Menu::head ? mainMenu : pauseMenu, from == Menu::head ? 2 : 1)->click();
        EXPECT_EQ(state.menu, Menu::settings);
        EXPECT_EQ(state.settingsReturn, from);
        EXPECT_EQ(currentButton, at(settingsMenu, 0));
    }

    state.menu = Menu::head;
    at(mainMenu, 3)->click();
    EXPECT_TRUE(state.quit);

    state.quit = false;
    state.menu = Menu::pause;
    at(pauseMenu, 3)->click();
    EXPECT_TRUE(state.quit);
}

TEST_F(MenuScreens, TheStateDecidesWhichMenuIsOnScreen) {
    const std::vector<std::pair<Menu, UI_Menu*>> screens{
        {Menu::head, &mainMenu},           {Menu::level, &levelSelect},
        {Menu::settings, &settingsMenu},   {Menu::pause, &pauseMenu},
        {Menu::weaponUpgrade, &weaponUpgradeMenu}, {Menu::abilityUpgrade, &abilityUpgradeMenu},
        {Menu::playerUpgrade, &playerUpgradeMenu}, {Menu::notInMenu, nullptr}};
    for (const auto& [screen, menu] : screens) {
        state.menu = screen;
        EXPECT_EQ(getCurrentMenu(state), menu) << static_cast<int>(screen);
        canvas.clear(0, 0, 0);
        renderMenu(state);
        if (menu == nullptr) {
            EXPECT_EQ(litPixels(canvas, 0, 0, 1200, 720, 3), 0) << static_cast<int>(screen);
        } else {
            EXPECT_GT(litPixels(canvas, 0, 0, 1200, 720, 3), 0) << static_cast<int>(screen);
        }
    }
}

TEST_F(MenuScreens, TitlesAreTheLogoAndTheCentredPauseText) {
    state.menu = Menu::head;
    renderMenu(state);
    Canvas logo;
    Texture expectedLogo;
    expectedLogo.setup(681, 138, logo.renderer);
    ASSERT_TRUE(expectedLogo.loadFromFile("logo.png"));
    expectedLogo.render(259, 150);
    EXPECT_TRUE(shows(canvas, logo, 259, 150, 681, 138));

    canvas.clear(0, 0, 0);
    state.menu = Menu::level;
    renderMenu(state);
    EXPECT_TRUE(shows(canvas, logo, 259, 150, 681, 138));

    canvas.clear(0, 0, 0);
    state.menu = Menu::pause;
    renderMenu(state);
    Canvas paused;
    Texture expectedTitle;
    expectedTitle.setup(paused.renderer);
    ASSERT_TRUE(expectedTitle.loadFromRenderedText("Game Paused", white, title));
    const int x = (1200 - expectedTitle.getWidth()) / 2;
    expectedTitle.render(x, 150);
    EXPECT_EQ(gamePausedText.getWidth(), expectedTitle.getWidth());
    EXPECT_TRUE(shows(canvas, paused, x, 150, expectedTitle.getWidth(), expectedTitle.getHeight()));
}

TEST(MenuScreensLifetime, CloseEmptiesEveryMenuAndAStartUpAgainBuildsThemOnce) {
    Canvas canvas;
    state = State();
    UI_init(canvas.renderer, state, nullptr);
    UI_init(canvas.renderer, state, nullptr);  // a second start-up does not add buttons
    EXPECT_EQ(mainMenu.getButtons().size(), 4u);
    EXPECT_EQ(weaponUpgradeMenu.getButtons().size(), 36u);
    setCurrentButton(&mainMenu.getButtons()[0]);

    UI_close();
    for (UI_Menu* menu : {&mainMenu, &levelSelect, &pauseMenu, &weaponUpgradeMenu, &abilityUpgradeMenu,
                          &playerUpgradeMenu})
        EXPECT_TRUE(menu->getButtons().empty());
    EXPECT_EQ(currentButton, nullptr);
    EXPECT_FALSE(buttonSound.isLoaded());
    for (const Texture* texture : {&logoTexture, &gamePausedText, &xpText, &lbText, &roborTexture, &rooText})
        EXPECT_EQ(texture->getTexture(), nullptr);
    UI_close();  // twice is harmless

    UI_init(canvas.renderer, state, nullptr);
    EXPECT_EQ(mainMenu.getButtons().size(), 4u);
    EXPECT_EQ(playerUpgradeMenu.getButtons().size(), 26u);
    EXPECT_TRUE(buttonSound.isLoaded());
    UI_close();
    state = State();
}

TEST_F(MenuScreens, TheLevelSelectShowsALevelsBestWaveOnceThereIsOne) {
    state.records.bestWave = {12, 0, 0};
    showLevelSelect(state, 0, 0);
    canvas.clear(0, 0, 0);
    renderMenu(state);
    const UI_Button* level1 = at(levelSelect, 0);
    Texture best;
    best.setup(canvas.renderer);
    ASSERT_TRUE(best.loadFromRenderedText("Best: wave 12", white, small));
    const int x = level1->getX() + level1->getWidth() + scale(10);
    EXPECT_TRUE(showsText(canvas, x, level1->getY() + (level1->getHeight() - best.getHeight()) / 2, "Best: wave 12",
                          small));
    const UI_Button* level2 = at(levelSelect, 1);
    EXPECT_EQ(litPixels(canvas, x, level2->getY(), 300, level2->getHeight()), 0);
}
