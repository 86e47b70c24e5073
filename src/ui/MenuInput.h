#pragma once

// Pointer, keyboard and controller input on the menu on screen: what is
// highlighted, and what a press or a command clicks.

#include "platform/State.h"
#include "ui/Menus.h"

// Pointer moved: the highlight follows the pointer over enabled buttons of the
// menu on screen. Without a controller it disappears over empty space; with
// one, the pointer can take the selection but never clears it.
void mouseMove(State& state, int x, int y);
// The same at the pointer's current position.
void mouseMove(State& state);

// Pointer press or confirm command: clicks the current button, if it is the
// highlighted button of the menu on screen. One press never clicks more than
// one button.
void menuSelect(State& state);

// A menu command from the controller (or the start-up): connect selects the
// menu's first button, disconnect drops the selection, select clicks, and the
// four directions move to an enabled neighbour.
void controllerEvent(State& state, MENU_CONTROL control);

// A pointer press at (x, y) in design pixels: clicks the enabled button under
// the pointer, and nothing when it is over none.
void pointerPress(State& state, int x, int y);

// The keyboard on a menu: the arrow keys step the selection through the
// buttons' links (the first arrow with nothing selected selects the menu's
// first button), Enter and Space click the selected button. Returns true when
// the key was one of these.
bool menuKey(State& state, SDL_Keycode key);

// One menu step per push of the left stick, vertical before horizontal (the
// horizontal axis only where the menu reads it); the stick must come back
// inside the dead zone before the next step.
void menuStickStep(State& state, bool readsHorizontal);
// The same push as a step for the caller to take: true with the step in
// `step` when the stick was pushed anew.
bool menuStickPush(State& state, bool readsHorizontal, MENU_CONTROL& step);

// The pointer and the left stick on a menu: motion moves the highlight, a
// press clicks the button under the pointer, the stick steps (sideways only
// where readsHorizontal). True when the event was one of these.
bool menuPointerOrStick(State& state, const SDL_Event& event, bool readsHorizontal);
