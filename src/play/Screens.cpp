#include "play/Screens.h"

#include <chrono>
#include <ctime>

#include "platform/Game.h"
#include "play/Input.h"
#include "ui/CampaignScreen.h"
#include "ui/ControlHints.h"
#include "ui/MenuInput.h"
#include "ui/MenuScreens.h"
#include "ui/SettingsScreen.h"
#include "ui/UpgradeMenus.h"

namespace {

void escapePressed(State& game, bool paused) {
    if (paused) {
        game.menu = Menu::notInMenu;
    } else if (game.menu == Menu::level) {
        showMainMenu(game, 0, 0);
    } else if (game.menu == Menu::head) {
        // The way out, one Enter away.
        setCurrentButton(&mainMenu.getButtons()[MAIN_MENU_QUIT_BUTTON]);
    }
}

// A press of A selects; B goes back (or resumes play) unless A is held with it:
// A beats B. The pressed button decides, so one press of A is one click, however
// many other buttons go down while it is held.
void controllerButtonPressed(State& game, Uint8 pressed, bool paused) {
    if (pressed == SDL_CONTROLLER_BUTTON_A) {
        controllerEvent(game, MENU_CONTROL::select);
    } else if (pressed == SDL_CONTROLLER_BUTTON_B && !controllerButtonDown(SDL_CONTROLLER_BUTTON_A)) {
        if (paused) {
            game.menu = Menu::notInMenu;
        } else {
            controllerEvent(game, MENU_CONTROL::back);
        }
    }
}

void handleScreenEvent(State& game, const SDL_Event& event, bool paused) {
    // A key or button held when this screen opened waits for its release.
    if (!game.menuGate.admits(event, game.menu, SDL_GetTicks())) return;
    // The Settings screen goes back where it came from, and steps its values sideways.
    if (game.menu == Menu::settings && handleSettingsEvent(game, event)) return;
    if (game.menu == Menu::controls && handleControlsEvent(game, event)) return;
    // The campaign's screen and its question go back a step.
    if ((game.menu == Menu::campaign || game.menu == Menu::startOver) && handleCampaignEvent(game, event)) return;
    // The main menus step up and down only.
    if (menuPointerOrStick(game, event, false)) return;
    switch (event.type) {
    case SDL_KEYDOWN:
        if (handleCommonEvent(game, event) || menuKey(game, event.key.keysym.sym)) break;
        if (event.key.keysym.sym == SDLK_ESCAPE) escapePressed(game, paused);
        break;
    case SDL_CONTROLLERBUTTONDOWN:
        controllerButtonPressed(game, event.cbutton.button, paused);
        break;
    case SDL_CONTROLLERDEVICEADDED:
        controllerEvent(game, MENU_CONTROL::connect);
        handleCommonEvent(game, event);
        break;
    case SDL_CONTROLLERDEVICEREMOVED:
        handleCommonEvent(game, event);
        // Another pad pulled out leaves the one in use, and its selection, alone.
        if (controller == nullptr) controllerEvent(game, MENU_CONTROL::disconnect);
        break;
    default:
        handleCommonEvent(game, event);
        break;
    }
}

// The start and pause screens share one picture: the pause menu's Settings is the main menu's.
ScreenRest menuRest;

// Start-up is timed from outside the process, from exec to the first picture
// (tests/package_check.sh): with ZELVANE_TELL_FIRST_FRAME set, the first menu
// frame shown logs the wall clock once.
bool firstFrameTold = false;

void tellFirstFrame() {
    if (firstFrameTold) return;
    firstFrameTold = true;
    if (SDL_getenv("ZELVANE_TELL_FIRST_FRAME") == nullptr) return;
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    // The CPU time of every thread so far, the graphics driver's included: a
    // figure that a machine busy with other work does not stretch.
    SDL_Log("First menu frame shown at %lld us since the epoch, after %ld ms of CPU time",
            static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(now).count()),
            static_cast<long>(std::clock() / (CLOCKS_PER_SEC / 1000)));
}

void drawMenuPicture() {
    // The menus' background: play leaves its own colour behind, and a first
    // picture cleared with it would stay until something changed.
    SDL_SetRenderDrawColor(gameRenderer, 26, 26, 26, 255);
    SDL_RenderClear(gameRenderer);
    renderMenu(state);
    SDL_SetRenderDrawColor(gameRenderer, 26, 26, 26, 255);
    presentFrame();
    tellFirstFrame();
}

void menuFrame(bool paused) {
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        handleScreenEvent(state, event, paused);
        menuRest.saw(event);
    }
    if (!menuRest.due(state)) {
        ScreenRest::rest();
        return;
    }
    drawMenuPicture();
}

}  // namespace

void startScreen() { menuFrame(false); }

void showMenuNow() {
    if (menuRest.due(state)) drawMenuPicture();
}

void pauseScreen() { menuFrame(true); }

void forgetScreenPicture() { menuRest.forget(); }

ScreenView screenViewNow(State& game) {
    ScreenView view;
    view.menu = game.menu;
    view.current = currentButton;
    view.currentSelected = currentButton != nullptr && currentButton->isSelected();
    view.controllerInUse = game.menuGate.controllerInUse();
    view.priceFlashing = priceFlashing(game, SDL_GetTicks());
    view.settings = game.settings;
    view.fullscreen = isFullscreen();
    view.menusBuild = menusBuild();
    return view;
}

bool changesNothingDrawn(const SDL_Event& event) {
    switch (event.type) {
    case SDL_MOUSEMOTION:
    case SDL_CONTROLLERAXISMOTION:
    case SDL_JOYAXISMOTION:
    case SDL_JOYBALLMOTION:
    case SDL_JOYHATMOTION:
    case SDL_KEYUP:
    case SDL_MOUSEBUTTONUP:
    case SDL_CONTROLLERBUTTONUP:
    case SDL_JOYBUTTONUP:
    case SDL_TEXTINPUT:
    case SDL_TEXTEDITING:
    case SDL_AUDIODEVICEADDED:
    case SDL_AUDIODEVICEREMOVED:
        return true;
    default:
        return false;
    }
}

bool ScreenRest::due(State& game) {
    const ScreenView now = screenViewNow(game);
    if (!stale && now == shown) return false;
    stale = false;
    shown = now;
    return true;
}

void ScreenRest::rest() {
    if (gameWindow == nullptr || SDL_GetRenderer(gameWindow) != gameRenderer) {
        // No display to keep pace with; nor does it pump the events, so that a
        // script run at each pass of the loop sees one pump per pass.
        SDL_Delay(1);
        return;
    }
    // Back at once for an event: the pointer's highlight follows without waiting out the period.
    SDL_WaitEventTimeout(nullptr, static_cast<int>(1000 / refreshRate()));
}

bool pauseScreenShown(const State& game) {
    const bool shown = game.menu == Menu::pause || game.menu == Menu::settings || game.menu == Menu::controls;
    return shown && !game.quit && game.started;
}
