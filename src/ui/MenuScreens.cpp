#include "MenuScreens.h"

#include <string>

#include "GlobalConstants.h"
#include "MenuInput.h"
#include "Resources.h"
#include "UI.h"
#include "UpgradeItems.h"
#include "UpgradeMenus.h"

UI_Menu mainMenu(4);
UI_Menu levelSelect(3);
UI_Menu pauseMenu(3);
UI_Menu weaponUpgradeMenu(36);
UI_Menu abilityUpgradeMenu(36);
UI_Menu playerUpgradeMenu(36);

Sound buttonSound;
Texture logoTexture;
Texture gamePausedText;
Texture levelNoticeText;

namespace {

// Buttons of the main menu, the level select and the pause menu are centred.
const int MENU_BUTTON_X = (WINDOW_WIDTH - UI_Button::width) / 2;
const int TITLE_Y = scale(100);
const int LEVEL_NOTICE_Y = scale(355) + UI_Button::height + scale(20);

// A big text button under the button named above it (-1 for none).
void addMenuButton(UI_Menu& menu, State& state, int y, const std::string& label, int above, ButtonAction action) {
    menu.addButton(MENU_BUTTON_X, y, label, &white, counter, above, -1, -1, -1, action, state, 0, 0, 0);
}

// Position of button within menu, or -1.
int indexIn(UI_Menu& menu, const UI_Button* button) {
    std::vector<UI_Button>& buttons = menu.getButtons();
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (&buttons[i] == button) return static_cast<int>(i);
    return -1;
}

void selectLevel(State& state, int level) {
    state.level = level;
    state.menu = Menu::notInMenu;
    state.started = true;
}

}  // namespace

void showLevelSelect(State& state, int, int) {
    clearLevelNotice();
    state.menu = Menu::level;
    setCurrentButton(levelSelect.loadMenu());
}

void quitToDesktop(State& state, int, int) { state.quit = true; }

void selectLevel1(State& state, int, int) { selectLevel(state, 1); }
void selectLevel2(State& state, int, int) { selectLevel(state, 2); }
void selectLevel3(State& state, int, int) { selectLevel(state, 3); }

void unpause(State& state, int, int) { state.menu = Menu::notInMenu; }

void quitToMenu(State& state, int, int) {
    state.started = false;
    state.menu = Menu::head;
    setCurrentButton(mainMenu.loadMenu());
}

void noAction(State&, int, int) {}

UI_Menu* getCurrentMenu(State& state) {
    switch (state.menu) {
    case Menu::head:
        return &mainMenu;
    case Menu::level:
        return &levelSelect;
    case Menu::pause:
        return &pauseMenu;
    case Menu::weaponUpgrade:
        return &weaponUpgradeMenu;
    case Menu::abilityUpgrade:
        return &abilityUpgradeMenu;
    case Menu::playerUpgrade:
        return &playerUpgradeMenu;
    case Menu::settings:
    case Menu::notInMenu:
        break;
    }
    return nullptr;
}

void showLevelNotice(int level) {
    static const SDL_Color WARNING{255, 190, 84, 255};
    levelNoticeText.setup(renderer);
    levelNoticeText.loadFromRenderedText("Level " + std::to_string(level) + " could not be loaded.", WARNING, small);
}

void clearLevelNotice() { levelNoticeText.free(); }

bool levelNoticeShown() { return levelNoticeText.getTexture() != nullptr; }

void renderMenu(State& state) {
    if (UI_Menu* menu = getCurrentMenu(state)) menu->render();
    if (state.menu == Menu::level && levelNoticeShown()) {
        // Under the last level's button.
        levelNoticeText.render((WINDOW_WIDTH - levelNoticeText.getWidth()) / 2, LEVEL_NOTICE_Y);
    }
    if (state.menu == Menu::weaponUpgrade || state.menu == Menu::abilityUpgrade ||
        state.menu == Menu::playerUpgrade) {
        renderUpgradeMenu(state);
    }
}

void initMenus(State& state) {
    // A second start-up begins from empty menus.
    releaseMenus();

    buttonSound.init(soundPath("buttonClick.wav"), 0, -1);

    mainMenu.setup(renderer, &buttonSound);
    addMenuButton(mainMenu, state, scale(215), "Arcade Mode", -1, showLevelSelect);
    addMenuButton(mainMenu, state, scale(280), "Campaign Mode", 0, noAction);
    addMenuButton(mainMenu, state, scale(345), "Settings", 1, noAction);
    addMenuButton(mainMenu, state, scale(410), "Quit To Desktop", 2, quitToDesktop);

    logoTexture.setup(scale(454), scale(92), renderer);
    logoTexture.loadFromFile("logo.png");
    mainMenu.addTitle((WINDOW_WIDTH - scale(454)) / 2, TITLE_Y, logoTexture);

    levelSelect.setup(renderer, &buttonSound);
    addMenuButton(levelSelect, state, scale(225), "Level 1", -1, selectLevel1);
    addMenuButton(levelSelect, state, scale(290), "Level 2", 0, selectLevel2);
    addMenuButton(levelSelect, state, scale(355), "Level 3", 1, selectLevel3);
    levelSelect.addTitle((WINDOW_WIDTH - scale(454)) / 2, TITLE_Y, logoTexture);

    pauseMenu.setup(renderer, &buttonSound);
    addMenuButton(pauseMenu, state, scale(215), "Resume Game", -1, unpause);
    addMenuButton(pauseMenu, state, scale(280), "Quit To Menu", 0, quitToMenu);
    addMenuButton(pauseMenu, state, scale(345), "Quit To Desktop", 1, quitToDesktop);

    gamePausedText.setup(renderer);
    gamePausedText.loadFromRenderedText("Game Paused", white, title);
    pauseMenu.addTitle((WINDOW_WIDTH - gamePausedText.getWidth()) / 2, TITLE_Y, gamePausedText);

    loadUpgradeMenuImages();
    initWeaponUpgradeMenu(state);
    initAbilityUpgradeMenu(state);
    initPlayerUpgradeMenu(state);
}

void resetMenus(State& state) {
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
    initWeaponUpgradeMenu(state);
    initAbilityUpgradeMenu(state);
    initPlayerUpgradeMenu(state);

    // The rebuilt button is current but not highlighted until the next motion or step.
    if (owner != nullptr) {
        std::vector<UI_Button>& buttons = owner->getButtons();
        currentButton = place < static_cast<int>(buttons.size()) ? &buttons[static_cast<std::size_t>(place)] : nullptr;
    }
}

void releaseMenus() {
    currentButton = nullptr;
    for (UI_Menu* menu : {&mainMenu, &levelSelect, &pauseMenu, &weaponUpgradeMenu, &abilityUpgradeMenu,
                          &playerUpgradeMenu}) {
        menu->release();
    }
    logoTexture.free();
    gamePausedText.free();
    levelNoticeText.free();
    releaseUpgradeMenuImages();
    buttonSound.free();
}
