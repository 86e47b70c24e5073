#include "Input.h"

#include "Game.h"

bool handleCommonEvent(State& state, const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            state.quit = true;
            return true;
        case SDL_CONTROLLERDEVICEADDED:
            loadController();
            return true;
        case SDL_CONTROLLERDEVICEREMOVED:
            controllerRemoved(event.cdevice.which);
            return true;
        default:
            return false;
    }
}

void handlePlayEvents(State& state) {
    SDL_Event event;
    while (state.menu != Menu::weaponUpgrade && SDL_PollEvent(&event) != 0) {
        handleCommonEvent(state, event);
    }
}
