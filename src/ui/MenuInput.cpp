#include "ui/MenuInput.h"

#include "platform/Game.h"

namespace {

bool holds(UI_Menu& menu, const UI_Button* button) {
    for (const UI_Button& candidate : menu.getButtons())
        if (&candidate == button) return true;
    return false;
}

}  // namespace

void mouseMove(State& game, int x, int y) {
    if (!game.controller && currentButton != nullptr) setCurrentButton(nullptr);
    UI_Menu* menu = getCurrentMenu(game);
    if (menu == nullptr) return;
    // Where hit areas overlap, the last button wins.
    for (UI_Button& button : menu->getButtons()) {
        if (button.mouseEvent(x, y) && !button.isDisabled()) setCurrentButton(&button);
    }
}

void mouseMove(State& game) {
    int x = 0;
    int y = 0;
    SDL_GetMouseState(&x, &y);
    // Events arrive in design pixels already; the polled game is in window pixels.
    windowToDesign(x, y);
    mouseMove(game, x, y);
}

void menuSelect(State& game) {
    UI_Menu* menu = getCurrentMenu(game);
    if (menu == nullptr || currentButton == nullptr) return;
    // A button left selected in a menu not on screen must not take the press.
    if (!currentButton->isSelected() || !holds(*menu, currentButton)) return;
    // The action may rebuild this very menu; the button is not touched afterwards.
    currentButton->click();
}

void pointerPress(State& game, int x, int y) {
    UI_Menu* menu = getCurrentMenu(game);
    if (menu == nullptr) return;
    // Where hit areas overlap, the last button wins, as for the highlight.
    UI_Button* pressed = nullptr;
    for (UI_Button& button : menu->getButtons()) {
        if (button.mouseEvent(x, y) && !button.isDisabled()) pressed = &button;
    }
    if (pressed == nullptr) return;
    setCurrentButton(pressed);
    // The action may rebuild this very menu; the button is not touched afterwards.
    pressed->click();
}

bool menuKey(State& game, SDL_Keycode key) {
    MENU_CONTROL step = MENU_CONTROL::select;
    switch (key) {
    case SDLK_UP:
        step = MENU_CONTROL::up;
        break;
    case SDLK_DOWN:
        step = MENU_CONTROL::down;
        break;
    case SDLK_LEFT:
        step = MENU_CONTROL::left;
        break;
    case SDLK_RIGHT:
        step = MENU_CONTROL::right;
        break;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
    case SDLK_SPACE:
        controllerEvent(game, MENU_CONTROL::select);
        return true;
    default:
        return false;
    }
    UI_Menu* menu = getCurrentMenu(game);
    if (menu == nullptr) return true;
    // The first arrow with nothing selected here selects the menu's first button.
    if (currentButton == nullptr || !holds(*menu, currentButton) || !currentButton->isSelected()) {
        setCurrentButton(menu->loadMenu());
    } else {
        controllerEvent(game, step);
    }
    return true;
}

void controllerEvent(State& game, MENU_CONTROL control) {
    UI_Menu* menu = getCurrentMenu(game);
    if (menu == nullptr) return;
    switch (control) {
    case MENU_CONTROL::connect:
        setCurrentButton(menu->loadMenu());
        break;
    case MENU_CONTROL::disconnect:
        setCurrentButton(nullptr);
        break;
    case MENU_CONTROL::select:
        menuSelect(game);
        break;
    default:
        if (currentButton == nullptr) {
            SDL_Log("No button selection!");
            return;
        }
        // No neighbour there, a disabled one, or back: the selection stays.
        if (UI_Button* next = currentButton->move(control)) setCurrentButton(next);
        break;
    }
}

bool menuStickPush(State& game, bool readsHorizontal, MENU_CONTROL& step) {
    const int vertical = stickDirection(controllerAxis(SDL_CONTROLLER_AXIS_LEFTY));
    const int horizontal = readsHorizontal ? stickDirection(controllerAxis(SDL_CONTROLLER_AXIS_LEFTX)) : 0;
    if (vertical != 0) {
        step = vertical > 0 ? MENU_CONTROL::down : MENU_CONTROL::up;
    } else if (horizontal != 0) {
        step = horizontal > 0 ? MENU_CONTROL::right : MENU_CONTROL::left;
    } else {
        game.controllerStickReset = true;
        return false;
    }
    if (!game.controllerStickReset) return false;
    game.controllerStickReset = false;
    return true;
}

void menuStickStep(State& game, bool readsHorizontal) {
    MENU_CONTROL step = MENU_CONTROL::down;
    if (menuStickPush(game, readsHorizontal, step)) controllerEvent(game, step);
}

bool menuPointerOrStick(State& game, const SDL_Event& event, bool readsHorizontal) {
    switch (event.type) {
    case SDL_MOUSEMOTION:
        mouseMove(game, event.motion.x, event.motion.y);
        return true;
    case SDL_MOUSEBUTTONDOWN:
        pointerPress(game, event.button.x, event.button.y);
        return true;
    case SDL_CONTROLLERAXISMOTION:
        menuStickStep(game, readsHorizontal);
        return true;
    default:
        return false;
    }
}
