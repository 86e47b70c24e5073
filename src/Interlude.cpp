#include "Interlude.h"

#include "Frame.h"
#include "Game.h"
#include "Input.h"
#include "MenuInput.h"
#include "MenuScreens.h"
#include "UpgradeMenus.h"

namespace {

Sint16 axis(SDL_GameControllerAxis which) {
    return controller != nullptr ? SDL_GameControllerGetAxis(controller, which) : 0;
}

bool inUpgradeMenu(const State& state) {
    return state.menu == Menu::weaponUpgrade || state.menu == Menu::abilityUpgrade ||
           state.menu == Menu::playerUpgrade;
}

// One step per push of the left stick, vertical before horizontal; the stick
// must come back inside the dead zone on both axes before the next step.
void stickMoved(State& state) {
    const Sint16 vertical = axis(SDL_CONTROLLER_AXIS_LEFTY);
    const Sint16 horizontal = axis(SDL_CONTROLLER_AXIS_LEFTX);
    MENU_CONTROL step = MENU_CONTROL::down;
    if (vertical > JOYSTICK_DEAD_ZONE) {
        step = MENU_CONTROL::down;
    } else if (vertical < -JOYSTICK_DEAD_ZONE) {
        step = MENU_CONTROL::up;
    } else if (horizontal > JOYSTICK_DEAD_ZONE) {
        step = MENU_CONTROL::right;
    } else if (horizontal < -JOYSTICK_DEAD_ZONE) {
        step = MENU_CONTROL::left;
    } else {
        state.controllerStickReset = true;
        return;
    }
    if (!state.controllerStickReset) return;
    state.controllerStickReset = false;
    controllerEvent(state, step);
}

void buttonPressed(State& state, Uint8 button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_A:
        controllerEvent(state, MENU_CONTROL::select);
        break;
    case SDL_CONTROLLER_BUTTON_B:
        closeUpgradeMenu(state, 0, 0);
        break;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
        nextUpgradeTab(state);
        break;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
        previousUpgradeTab(state);
        break;
    default:
        break;
    }
}

// Escape closes the shop as B does, Q and E (or Page Up and Page Down) switch
// tabs as the shoulder buttons do, the rest is menu keys.
void shopKey(State& state, SDL_Keycode key) {
    switch (key) {
    case SDLK_ESCAPE:
        closeUpgradeMenu(state, 0, 0);
        break;
    case SDLK_e:
    case SDLK_PAGEDOWN:
        nextUpgradeTab(state);
        break;
    case SDLK_q:
    case SDLK_PAGEUP:
        previousUpgradeTab(state);
        break;
    default:
        menuKey(state, key);
        break;
    }
}

}  // namespace

bool interludeRunning(const State& state, int waveNumber) {
    return (waveNumber - 1) % 5 == 0 && inUpgradeMenu(state) && !state.quit && waveNumber != 1;
}

void handleInterludeEvent(State& state, const SDL_Event& event) {
    // Window close, and a controller plugged in or pulled out, as everywhere.
    if (handleCommonEvent(state, event)) return;
    switch (event.type) {
    case SDL_KEYDOWN:
        shopKey(state, event.key.keysym.sym);
        break;
    case SDL_MOUSEBUTTONDOWN:
        pointerPress(state, event.button.x, event.button.y);
        break;
    case SDL_MOUSEMOTION:
        mouseMove(state, event.motion.x, event.motion.y);
        break;
    case SDL_CONTROLLERAXISMOTION:
        stickMoved(state);
        break;
    case SDL_CONTROLLERBUTTONDOWN:
        buttonPressed(state, event.cbutton.button);
        break;
    default:
        break;
    }
}

void renderInterludeFrame(RunObjects& run, World& world) {
    SDL_RenderClear(gameRenderer);
    run.background.render(0, 0);
    SDL_SetRenderDrawColor(gameRenderer, 35, 35, 35, 155);
    SDL_RenderFillRect(gameRenderer, &run.backgroundRect);
    renderWorldStill(run, world);
    SDL_SetRenderDrawColor(gameRenderer, 26, 26, 26, 200);
    SDL_RenderFillRect(gameRenderer, &fullScreenRect);
    renderMenu(state);
    SDL_SetRenderDrawColor(gameRenderer, 26, 26, 26, 255);
    presentFrame();
}

void upgradeInterlude(RunObjects& run, World& world) {
    state.menu = Menu::weaponUpgrade;
    loadUpgradeMenu(state);
    launchUpgradeMenu(state);
    // No frame time is taken here: the time in the shop arrives as the next frame's dt.
    while (interludeRunning(state, world.waveNumber)) {
        SDL_Event event;
        while (SDL_PollEvent(&event) != 0) handleInterludeEvent(state, event);
        renderInterludeFrame(run, world);
    }
}
