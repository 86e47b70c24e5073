#include "ui/MenuScreens.h"

#include <string>

#include "platform/GlobalConstants.h"
#include "platform/Resources.h"
#include "ui/AccountCard.h"
#include "ui/CampaignScreen.h"
#include "ui/ControlHints.h"
#include "ui/Interface.h"
#include "ui/SettingsScreen.h"
#include "ui/UpgradeItems.h"
#include "ui/UpgradeMenus.h"

Texture logoTexture;
Texture gamePausedText;
Texture levelNoticeText;
// "Best: wave 12" beside each level's button, once there is a best.
Texture levelBestTexts[LEVELS];

namespace {

// Buttons of the main menu, the level select and the pause menu are centred.
const int MENU_BUTTON_X = (WINDOW_WIDTH - UI_Button::width) / 2;
const int MENU_TITLE_Y = scale(100);
// Between the logo and the first level's button.
const int LEVEL_NOTICE_Y = scale(200);

// A big text button under the button named above it (-1 for none).
void addMenuButton(UI_Menu& menu, State& game, int y, const std::string& label, int above, ButtonAction action) {
    menu.addButton(MENU_BUTTON_X, y, label, &white, counter, above, -1, -1, -1, action, game, 0, 0, 0);
}

void selectLevel(State& game, int level) {
    game.level = level;
    game.menu = Menu::notInMenu;
    game.started = true;
}

}  // namespace

void showLevelSelect(State& game, int, int) {
    clearLevelNotice();
    game.mode = PlayMode::arcade;
    game.menu = Menu::level;
    setCurrentButton(levelSelect.loadMenu());
    for (int level = 0; level < LEVELS; ++level) {
        const int best = game.records.bestWave[static_cast<std::size_t>(level)];
        levelBestTexts[level].setup(renderer);
        if (best > 0) {
            levelBestTexts[level].loadFromRenderedText("Best: wave " + std::to_string(best), white, small);
        } else {
            levelBestTexts[level].free();
        }
    }
}

void renderLevelBests() {
    for (int level = 0; level < LEVELS; ++level) {
        const UI_Button& button = levelSelect.getButtons()[static_cast<std::size_t>(level)];
        const Texture& best = levelBestTexts[level];
        best.render(button.getX() + button.getWidth() + scale(10), button.getY() + (button.getHeight() - best.getHeight()) / 2);
    }
}

void showMainMenu(State& game, int, int) {
    game.menu = Menu::head;
    // Its first button current: the one that opened the level select must not
    // stay highlighted beside another.
    setCurrentButton(mainMenu.loadMenu());
}

void quitToDesktop(State& game, int, int) { game.quit = true; }

void selectLevel1(State& game, int, int) { selectLevel(game, 1); }
void selectLevel2(State& game, int, int) { selectLevel(game, 2); }
void selectLevel3(State& game, int, int) { selectLevel(game, 3); }

void unpause(State& game, int, int) { game.menu = Menu::notInMenu; }

void quitToMenu(State& game, int, int) {
    game.started = false;
    game.menu = Menu::head;
    setCurrentButton(mainMenu.loadMenu());
}

void noAction(State&, int, int) {}

void showLevelNotice(int level) {
    static const SDL_Color WARNING{255, 190, 84, 255};
    levelNoticeText.setup(renderer);
    levelNoticeText.loadFromRenderedText("Level " + std::to_string(level) + " could not be loaded.", WARNING, small);
}

void clearLevelNotice() { levelNoticeText.free(); }

bool levelNoticeShown() { return levelNoticeText.getTexture() != nullptr; }

void renderMenu(State& game) {
    // The card's panel lies under its buttons.
    if (game.menu == Menu::card) renderAccountCard(game);
    if (UI_Menu* menu = getCurrentMenu(game)) menu->render();
    if (game.menu == Menu::level && levelNoticeShown()) {
        // Above the first level's button.
        levelNoticeText.render((WINDOW_WIDTH - levelNoticeText.getWidth()) / 2, LEVEL_NOTICE_Y);
    }
    if (game.menu == Menu::settings) renderSettings(game);
    if (game.menu == Menu::controls) renderControlsPage();
    if (game.menu == Menu::level) renderLevelBests();
    if (game.menu == Menu::startOver) renderCampaignScreen(game);
    if (isUpgradeMenu(game.menu)) renderUpgradeMenu(game);
}

void initMenus(State& game) {
    // A second start-up begins from empty menus, and every screen draws them anew.
    releaseMenus();
    startMenusBuild();

    buttonSound.init(soundPath("buttonClick.wav"), 0, -1);
    deniedSound.init(soundPath("denied.wav"), 0, -1);

    mainMenu.setup(renderer, &buttonSound);
    addMenuButton(mainMenu, game, scale(215), "Arcade Mode", -1, showLevelSelect);
    addMenuButton(mainMenu, game, scale(280), "Campaign Mode", 0, showCampaignScreen);
    addMenuButton(mainMenu, game, scale(345), "Settings", 1, openSettings);
    addMenuButton(mainMenu, game, scale(410), "Quit To Desktop", 2, quitToDesktop);

    logoTexture.setup(scale(454), scale(92), renderer);
    logoTexture.loadFromFile("logo.png");
    mainMenu.addTitle((WINDOW_WIDTH - scale(454)) / 2, MENU_TITLE_Y, logoTexture);

    levelSelect.setup(renderer, &buttonSound);
    addMenuButton(levelSelect, game, scale(225), "Level 1", -1, selectLevel1);
    addMenuButton(levelSelect, game, scale(290), "Level 2", 0, selectLevel2);
    addMenuButton(levelSelect, game, scale(355), "Level 3", 1, selectLevel3);
    addMenuButton(levelSelect, game, scale(420), "Back", 2, showMainMenu);
    levelSelect.addTitle((WINDOW_WIDTH - scale(454)) / 2, MENU_TITLE_Y, logoTexture);

    pauseMenu.setup(renderer, &buttonSound);
    addMenuButton(pauseMenu, game, scale(215), "Resume Game", -1, unpause);
    addMenuButton(pauseMenu, game, scale(280), "Settings", 0, openSettings);
    addMenuButton(pauseMenu, game, scale(345), "Quit To Menu", 1, quitToMenu);
    addMenuButton(pauseMenu, game, scale(410), "Quit To Desktop", 2, quitToDesktop);

    gamePausedText.setup(renderer);
    gamePausedText.loadFromRenderedText("Game Paused", white, title);
    pauseMenu.addTitle((WINDOW_WIDTH - gamePausedText.getWidth()) / 2, MENU_TITLE_Y, gamePausedText);

    initSettingsMenu(game);
    initControlHints(game);

    loadUpgradeMenuImages();
    initWeaponUpgradeMenu(game);
    initAbilityUpgradeMenu(game);
    initPlayerUpgradeMenu(game);
}

void releaseMenus() {
    currentButton = nullptr;
    for (UI_Menu* menu : {&mainMenu, &levelSelect, &pauseMenu, &settingsMenu, &weaponUpgradeMenu,
                          &abilityUpgradeMenu, &playerUpgradeMenu}) {
        menu->release();
    }
    releaseSettingsMenu();
    releaseControlHints();
    releaseCampaignScreen();
    releaseAccountCard();
    for (Texture& best : levelBestTexts) best.free();
    logoTexture.free();
    gamePausedText.free();
    levelNoticeText.free();
    releaseUpgradeMenuImages();
    buttonSound.free();
    deniedSound.free();
}
