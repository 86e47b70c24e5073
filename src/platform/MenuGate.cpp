#include "platform/MenuGate.h"

#include <cstdlib>

#include "platform/GlobalConstants.h"

namespace {

bool isArrow(SDL_Keycode key) { return key == SDLK_UP || key == SDLK_DOWN || key == SDLK_LEFT || key == SDLK_RIGHT; }

bool isPress(const SDL_Event& event) {
    return event.type == SDL_KEYDOWN || event.type == SDL_MOUSEBUTTONDOWN || event.type == SDL_CONTROLLERBUTTONDOWN;
}

// The key's place on the keyboard; an event made up without one (a test's, a
// bot's) is placed by its key code.
SDL_Scancode placeOf(const SDL_KeyboardEvent& key) {
    if (key.keysym.scancode != SDL_SCANCODE_UNKNOWN) return key.keysym.scancode;
    return SDL_GetScancodeFromKey(key.keysym.sym);
}

bool onKeyboard(SDL_Scancode key) { return key > SDL_SCANCODE_UNKNOWN && key < SDL_NUM_SCANCODES; }

}  // namespace

void MenuGate::follow(Menu screen) {
    const int shown = static_cast<int>(screen);
    if (shown == screenSeen) return;
    screenSeen = shown;
    keysHeldOver = keysDown;
}

bool MenuGate::admits(const SDL_Event& event, Menu screen, Uint32 now) {
    follow(screen);
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEMOTION:
    case SDL_MOUSEWHEEL:
        onController = false;
        break;
    case SDL_CONTROLLERBUTTONDOWN:
        onController = true;
        break;
    case SDL_CONTROLLERAXISMOTION:
        // A stick at rest still twitches: only a push counts.
        if (std::abs(event.caxis.value) > JOYSTICK_DEAD_ZONE) onController = true;
        break;
    default:
        break;
    }
    const bool quiet = quietAt(now);
    if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) {
        const SDL_Scancode key = placeOf(event.key);
        if (!onKeyboard(key)) return event.type == SDL_KEYUP || (!quiet && event.key.repeat == 0);
        if (event.type == SDL_KEYUP) {
            keysDown.reset(key);
            keysHeldOver.reset(key);
            return true;
        }
        keysDown.set(key);
        if (event.key.repeat != 0) {
            // A held key repeats: it never clicks, and only the arrows step,
            // unless they were held before the screen opened.
            return !quiet && isArrow(event.key.keysym.sym) && !keysHeldOver.test(key);
        }
        // SDL says a key went down anew only after it was let go: a fresh press.
        // One in the quiet time waits for its release like a key held over.
        if (quiet) {
            keysHeldOver.set(key);
            return false;
        }
        keysHeldOver.reset(key);
        return true;
    }
    return !(quiet && isPress(event));
}
