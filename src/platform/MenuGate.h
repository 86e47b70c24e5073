#pragma once

// Which presses may act on a screen that has just appeared. A player's hands
// are busy with play when a menu, the shop or a card comes up: a key held then
// (the fire key at the last robot of a wave) must not act on it until it is
// let go and pressed again, a key's auto-repeat never clicks, and a screen
// that interrupts play can take no press at all for a moment.
//
// A key held down sends repeats, never a second press: SDL marks a key-down
// as new only after a release. A controller button held sends nothing until
// it is let go. So a press is always a fresh one; what a held key can do to a
// new screen is repeat, and the gate stops that.

#include <SDL.h>

#include <bitset>

enum class Menu : int;

class MenuGate {
public:
    // Every event of play and of every screen passes here, in order, with the
    // screen on show when it is handled: the gate keeps count of the keys
    // held, and when the screen is another than at the last event, the keys
    // held then are held over. Returns whether the event may act on the
    // screen: no auto-repeat but an arrow's (which steps through a menu), and
    // not that either for an arrow held over; no press at all (key, mouse or
    // controller button) before the quiet time set with quietUntil, and a key
    // pressed then counts as held over. Other events always pass.
    bool admits(const SDL_Event& event, Menu screen, Uint32 now);

    // No press acts before tick `until` (ms): a screen that interrupts play.
    void quietUntil(Uint32 until) { quietEnd = until; }
    // Whether presses are still held off at tick now.
    bool quietAt(Uint32 now) const { return SDL_TICKS_PASSED(now, quietEnd) == SDL_FALSE; }

    // Whether the key (by scan code) is held over from before the screen on
    // show opened, or from its quiet time.
    bool heldOver(SDL_Scancode key) const { return keysHeldOver.test(key); }

    // Whether the last device the player used is a controller (a button, or a
    // stick or trigger pushed past the dead zone) rather than the keyboard or
    // the mouse: what the screens show the player's keys for.
    bool controllerInUse() const { return onController; }

private:
    void follow(Menu screen);

    std::bitset<SDL_NUM_SCANCODES> keysDown;
    std::bitset<SDL_NUM_SCANCODES> keysHeldOver;
    int screenSeen = -1;
    Uint32 quietEnd = 0;
    bool onController = false;
};
