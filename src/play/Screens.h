#pragma once

// The start and pause screens: one frame of a menu shown outside play. And
// what every screen outside play shares (these two, the shop, the cards): a
// picture at rest, drawn anew only when what it shows may have changed.

#include <SDL.h>

#include "platform/Settings.h"
#include "platform/State.h"
#include "ui/Menu.h"

// One pass of the start screen: handles every pending event, then draws the
// menu and presents when it may look different from the last picture, or else
// rests (ScreenRest::rest). The level loop calls it while no level is started and the game
// has not quit. The main menu, the level select and the Settings screen.
void startScreen();

// Draws and presents the menu of state.menu at once, handling no event: the
// window's first picture, shown while the run's objects still load.
void showMenuNow();
// One pass of the pause screen, the same with Escape and the controller's B
// button resuming play (from the Settings screen, back to the pause menu).
// The frame loop calls it while the pause menu or its Settings are up.
void pauseScreen();

// Whether the pause screen holds play: the pause menu or the Settings screen
// opened from it is up, in a started game that has not quit.
bool pauseScreenShown(const State& state);

// The start or pause screen's next pass draws a new picture whatever it shows:
// what the window shows now is not its last one (play drew over it, or the
// menus were built anew).
void forgetScreenPicture();

// What a screen outside play shows that can change while no event counts (see
// ScreenRest::saw): the screen, its highlighted button, whose keys it draws,
// a price flashing in the shop, the settings' values, and the menus' build.
struct ScreenView {
    Menu menu = Menu::notInMenu;
    const UI_Button* current = nullptr;
    bool currentSelected = false;
    bool controllerInUse = false;
    bool priceFlashing = false;
    Settings settings;
    bool fullscreen = false;
    int menusBuild = 0;
    bool operator==(const ScreenView&) const = default;
};
ScreenView screenViewNow(State& state);

// Events after which nothing a screen draws can differ but what ScreenView
// tells: pointer and stick motion (they move the selection at most), keys and
// buttons let go, typed text, sound devices coming and going.
bool changesNothingDrawn(const SDL_Event& event);

// A screen's picture at rest. A screen outside play changes only when an event
// acts on it or when what it shows changes by itself (a price's flash ends), so
// a pass draws a new picture only then. Otherwise it presents nothing: with
// SDL's render API the back buffer holds nothing certain after a present, but
// the window keeps showing the last picture presented, and an uncovered or
// resized window sends an event that calls for a new one.
class ScreenRest {
public:
    // Each event, once the screen has handled it.
    void saw(const SDL_Event& event) {
        if (!changesNothingDrawn(event)) stale = true;
    }
    // Whether this pass must draw and present a new picture: the first pass
    // does, and one after an event that counts or a change of the view. The
    // picture drawn then counts as showing things as they stand now.
    bool due(State& state);
    // The next pass draws anew, whatever happened.
    void forget() { stale = true; }
    // A pass that draws nothing waits for the next event for at most one
    // refresh of the display, so that no screen spins a core. A canvas of a
    // test or a bot (no window of its own) rests a millisecond.
    static void rest();

private:
    bool stale = true;
    ScreenView shown;
};
