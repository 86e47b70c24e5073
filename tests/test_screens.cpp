#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "TestSupport.h"
#include "play/Campaign.h"
#include "play/Input.h"
#include "play/Screens.h"
#include "ui/AccountCard.h"
#include "ui/MenuInput.h"
#include "ui/MenuScreens.h"
#include "ui/SettingsScreen.h"
#include "ui/UI.h"

namespace {

// The start and pause screens over a software canvas, fed with queued events.
class Screens : public ::testing::Test, protected TestGame {
protected:
    Screens() : TestGame({.run = false, .world = false}) {}

    static void pointAt(UI_Button* b) { pushMotion(b->getX() + 10, b->getY() + 10); }
    static int highlightedIn(UI_Menu& menu) {
        int count = 0;
        for (const UI_Button& b : menu.getButtons()) count += b.isSelected() ? 1 : 0;
        return count;
    }

    // Pads plugged in before the screen runs: the game's handle is let go, so
    // the screen sees a new controller arrive.
    static void forgetController() {
        if (controller != nullptr) SDL_GameControllerClose(controller);
        controller = nullptr;
        state.controller = false;
    }
};

// A button's left edge, where the highlight's frame lies.
SDL_Color edgeOf(const Canvas& canvas, const UI_Button* b) {
    return canvas.pixel(b->getX() + 4, b->getY() + b->getHeight() / 2);
}
bool looksLike(SDL_Color c, SDL_Color d) { return sameColour(c, d.r, d.g, d.b); }

}  // namespace

TEST_F(Screens, EscapeGoesBackFromTheLevelSelectAndOnTheMainMenuPointsTheWayOut) {
    pushKey(SDLK_ESCAPE, true);
    startScreen();
    EXPECT_EQ(state.menu, Menu::head);
    EXPECT_EQ(currentButton, at(mainMenu, MAIN_MENU_QUIT_BUTTON));
    EXPECT_FALSE(state.quit);

    state.menu = Menu::level;
    pushKey(SDLK_ESCAPE, true);
    startScreen();
    EXPECT_EQ(state.menu, Menu::head);
    EXPECT_FALSE(state.quit || state.started);
}

TEST_F(Screens, BackOnTheMainMenuAPressClicksOnlyTheHoveredButton) {
    pointAt(at(mainMenu, 0));
    pushMousePress();
    startScreen();
    ASSERT_EQ(state.menu, Menu::level);

    pushKey(SDLK_ESCAPE, true);
    startScreen();
    ASSERT_EQ(state.menu, Menu::head);
    EXPECT_EQ(highlightedIn(mainMenu), 1);  // "Arcade Mode", as when the menu was left
    EXPECT_EQ(currentButton, at(mainMenu, 0));

    pointAt(at(mainMenu, 3));
    startScreen();
    EXPECT_EQ(highlightedIn(mainMenu), 1);
    EXPECT_TRUE(at(mainMenu, 3)->isSelected());

    pushMousePress();
    startScreen();
    EXPECT_TRUE(state.quit);
    EXPECT_EQ(state.menu, Menu::head);  // the level select did not open on the way
}

TEST_F(Screens, TheQuitRequestEndsAfterTheFrameIsDrawnAndPresented) {
    // The first picture, shown before the run's objects load, leaves the
    // events to the screen's first pass.
    canvas.clear(0, 0, 0);
    pushQuit();
    showMenuNow();
    EXPECT_FALSE(state.quit);
    EXPECT_FALSE(sameColour(canvas.pixel(425, 330), 0, 0, 0));

    canvas.clear(0, 0, 0);
    forgetScreenPicture();
    startScreen();
    EXPECT_TRUE(state.quit);
    // The main menu's button background is on the canvas.
    EXPECT_FALSE(sameColour(canvas.pixel(425, 330), 0, 0, 0));
    Uint8 r = 0, g = 0, b = 0, a = 0;
    SDL_GetRenderDrawColor(canvas.renderer, &r, &g, &b, &a);
    EXPECT_TRUE(r == 26 && g == 26 && b == 26 && a == 255);

    // The next frame clears with that colour first, whatever colour play left:
    // nothing is drawn where no menu is.
    state = State();
    state.menu = Menu::notInMenu;
    SDL_SetRenderDrawColor(canvas.renderer, 16, 16, 16, 255);
    startScreen();
    EXPECT_TRUE(sameColour(canvas.pixel(5, 5), 26, 26, 26, 0));

    state.menu = Menu::pause;
    state.started = true;
    pushQuit();
    pauseScreen();
    EXPECT_TRUE(state.quit);
}

TEST_F(Screens, EscapeAndBResumePlayFromThePauseScreen) {
    state.started = true;
    state.menu = Menu::pause;
    pushKey(SDLK_ESCAPE, true);
    pauseScreen();
    EXPECT_EQ(state.menu, Menu::notInMenu);
    EXPECT_TRUE(state.started);

    VirtualPad pad;
    ASSERT_TRUE(pad.ok());
    state.menu = Menu::pause;
    pad.button(SDL_CONTROLLER_BUTTON_B, true);
    pauseScreen();
    pad.button(SDL_CONTROLLER_BUTTON_B, false);
    EXPECT_EQ(state.menu, Menu::notInMenu);
    EXPECT_TRUE(state.started);
}

TEST_F(Screens, AButtonBeatsBAndBDoesNothingOnTheStartScreen) {
    VirtualPad pad;
    ASSERT_TRUE(pad.ok());
    controllerEvent(state, MENU_CONTROL::connect);

    pad.button(SDL_CONTROLLER_BUTTON_B, true);
    startScreen();
    pad.button(SDL_CONTROLLER_BUTTON_B, false);
    startScreen();
    EXPECT_EQ(state.menu, Menu::head);
    EXPECT_EQ(currentButton, at(mainMenu, 0));

    pad.button(SDL_CONTROLLER_BUTTON_B, true);
    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    startScreen();
    EXPECT_EQ(state.menu, Menu::level);  // "Arcade Mode" clicked, once: "Level 1" was not
    EXPECT_FALSE(state.started);
    // Other buttons going down while A is held click nothing more.
    pad.button(SDL_CONTROLLER_BUTTON_X, true);
    startScreen();
    EXPECT_FALSE(state.started);
    pad.button(SDL_CONTROLLER_BUTTON_X, false);
    pad.button(SDL_CONTROLLER_BUTTON_A, false);
    pad.button(SDL_CONTROLLER_BUTTON_B, false);
    startScreen();
    EXPECT_EQ(state.menu, Menu::level);

    // On the pause screen A on "Quit To Menu" wins over B's resume.
    state.started = true;
    state.menu = Menu::pause;
    setCurrentButton(at(pauseMenu, 2));
    pad.button(SDL_CONTROLLER_BUTTON_A, true);
    pad.button(SDL_CONTROLLER_BUTTON_B, true);
    pauseScreen();
    EXPECT_FALSE(state.started);
    EXPECT_EQ(state.menu, Menu::head);
}

TEST_F(Screens, TheStickStepsOncePerPush) {
    VirtualPad pad;
    ASSERT_TRUE(pad.ok());
    controllerEvent(state, MENU_CONTROL::connect);
    auto stick = [&](SDL_GameControllerAxis axis, Sint16 value) {
        pad.axis(axis, value);
        startScreen();
    };

    stick(SDL_CONTROLLER_AXIS_LEFTY, 30000);
    EXPECT_EQ(currentButton, at(mainMenu, 1));
    stick(SDL_CONTROLLER_AXIS_LEFTY, 32000);  // still held
    EXPECT_EQ(currentButton, at(mainMenu, 1));
    stick(SDL_CONTROLLER_AXIS_LEFTY, 18000);  // the bound counts as inside the dead zone
    EXPECT_TRUE(state.controllerStickReset);
    stick(SDL_CONTROLLER_AXIS_LEFTY, 18001);
    EXPECT_EQ(currentButton, at(mainMenu, 2));
    stick(SDL_CONTROLLER_AXIS_LEFTY, -18000);
    EXPECT_EQ(currentButton, at(mainMenu, 2));
    stick(SDL_CONTROLLER_AXIS_LEFTY, -30000);
    EXPECT_EQ(currentButton, at(mainMenu, 1));

    // The horizontal axis is not read here.
    stick(SDL_CONTROLLER_AXIS_LEFTY, 0);
    stick(SDL_CONTROLLER_AXIS_LEFTX, 30000);
    EXPECT_EQ(currentButton, at(mainMenu, 1));

    // The same rule on the pause screen.
    state.started = true;
    state.menu = Menu::pause;
    controllerEvent(state, MENU_CONTROL::connect);
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, 30000);
    pauseScreen();
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, 31000);
    pauseScreen();
    EXPECT_EQ(currentButton, at(pauseMenu, 1));
}

TEST_F(Screens, PluggingAndUnpluggingAControllerOnEitherScreen) {
    for (const bool paused : {false, true}) {
        SCOPED_TRACE(paused ? "pause screen" : "start screen");
        state = State();
        state.started = paused;
        state.menu = paused ? Menu::pause : Menu::head;
        UI_Menu& menu = paused ? pauseMenu : mainMenu;
        setCurrentButton(at(menu, 2));

        VirtualPad pad;
        ASSERT_TRUE(pad.ok());
        forgetController();
        pushDevice(SDL_CONTROLLERDEVICEADDED, pad.index);
        paused ? pauseScreen() : startScreen();
        ASSERT_NE(controller, nullptr);
        EXPECT_TRUE(state.controller);
        EXPECT_EQ(currentButton, at(menu, 0));  // the menu's first button, ready for the stick
        EXPECT_EQ(highlightedIn(menu), 1);

        pushDevice(SDL_CONTROLLERDEVICEREMOVED, SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller)));
        paused ? pauseScreen() : startScreen();
        EXPECT_EQ(controller, nullptr);
        EXPECT_FALSE(state.controller);
        EXPECT_EQ(currentButton, nullptr);
        EXPECT_EQ(highlightedIn(menu), 0);
    }
}

TEST_F(Screens, ThePointerPositionComesFromTheEvent) {
    pushMotion(600, 540);  // over "Settings"
    startScreen();
    EXPECT_EQ(currentButton, at(mainMenu, 2));
    pushMotion(5, 5);
    startScreen();
    EXPECT_EQ(currentButton, nullptr);

    state.started = true;
    state.menu = Menu::pause;
    pointAt(at(pauseMenu, 0));
    pushMousePress();
    pauseScreen();
    EXPECT_EQ(state.menu, Menu::notInMenu);
}

TEST_F(Screens, ArrowKeysAndEnterDriveTheMenus) {
    // Nothing selected: the first arrow selects the first button.
    pushKey(SDLK_DOWN, true);
    startScreen();
    EXPECT_EQ(currentButton, at(mainMenu, 0));
    pushKey(SDLK_DOWN, true);
    pushKey(SDLK_DOWN, true);
    pushKey(SDLK_UP, true);
    startScreen();
    EXPECT_EQ(currentButton, at(mainMenu, 1));
    pushKey(SDLK_UP, true);
    pushKey(SDLK_UP, true);  // the first button is the top
    pushKey(SDLK_RETURN, true);
    startScreen();
    ASSERT_EQ(state.menu, Menu::level);
    EXPECT_EQ(currentButton, at(levelSelect, 0));

    pushKey(SDLK_DOWN, true);
    pushKey(SDLK_DOWN, true);
    startScreen();
    EXPECT_EQ(currentButton, at(levelSelect, 2));
    pushKey(SDLK_ESCAPE, true);  // back, as B does
    startScreen();
    EXPECT_EQ(state.menu, Menu::head);
    pushKey(SDLK_RETURN, true);
    startScreen();
    ASSERT_EQ(state.menu, Menu::level);
    pushKey(SDLK_DOWN, true);
    pushKey(SDLK_KP_ENTER, true);
    startScreen();
    EXPECT_TRUE(state.started);
    EXPECT_EQ(state.level, 2);

    // The pause menu: Space clicks too, Escape resumes.
    state.menu = Menu::pause;
    setCurrentButton(nullptr);
    pushKey(SDLK_DOWN, true);
    pushKey(SDLK_SPACE, true);
    pauseScreen();
    EXPECT_EQ(state.menu, Menu::notInMenu);
    state.menu = Menu::pause;
    pushKey(SDLK_ESCAPE, true);
    pauseScreen();
    EXPECT_EQ(state.menu, Menu::notInMenu);
    EXPECT_FALSE(state.quit);
}

TEST_F(Screens, APressOverNoButtonClicksNothingEvenWithOneSelected) {
    pushKey(SDLK_DOWN, true);
    startScreen();
    ASSERT_EQ(currentButton, at(mainMenu, 0));
    // A press with no motion before it, as a click that has not moved the mouse.
    pointer = {5, 5};
    pushMousePress();
    startScreen();
    EXPECT_EQ(state.menu, Menu::head);
    EXPECT_FALSE(state.quit);
    // Pressed over "Quit To Desktop" while "Arcade Mode" is selected: the one under the pointer.
    ASSERT_EQ(currentButton, at(mainMenu, 0));
    pointer = {at(mainMenu, 3)->getX() + 5, at(mainMenu, 3)->getY() + 5};
    pushMousePress();
    startScreen();
    EXPECT_TRUE(state.quit);
    EXPECT_NE(state.menu, Menu::level);
}

namespace {

SDL_Event repeatOf(SDL_Keycode key) {
    SDL_Event event = keyEvent(key);
    event.key.repeat = 1;
    return event;
}

}  // namespace

TEST_F(Screens, AKeyHeldFromPlayOrRepeatingNeverClicksAMenu) {
    // Enter went down in play and is still held when the pause screen opens:
    // its repeats neither click "Resume Game" nor step, and nor does any repeat of Enter.
    RunObjects objects(canvas.renderer);
    World level;
    state.started = true;
    state.menu = Menu::notInMenu;
    handlePlayEvent(state, objects, level, keyEvent(SDLK_RETURN));
    handlePlayEvent(state, objects, level, keyEvent(SDLK_DOWN));
    state.menu = Menu::pause;
    setCurrentButton(at(pauseMenu, 0));
    pushEvent(repeatOf(SDLK_RETURN));
    pushEvent(repeatOf(SDLK_DOWN));
    pauseScreen();
    EXPECT_EQ(state.menu, Menu::pause);
    EXPECT_EQ(currentButton, at(pauseMenu, 0));
    // Let go and pressed again, the arrow steps and repeats on; Enter clicks.
    pushKey(SDLK_DOWN, false);
    pushKey(SDLK_DOWN, true);
    pushEvent(repeatOf(SDLK_DOWN));
    pushKey(SDLK_RETURN, false);
    pushKey(SDLK_RETURN, true);
    pauseScreen();
    EXPECT_FALSE(state.started);  // two steps down: "Quit To Menu"

    // On the main menu a repeating Enter does not click either.
    setCurrentButton(at(mainMenu, 3));
    pushEvent(repeatOf(SDLK_RETURN));
    startScreen();
    EXPECT_FALSE(state.quit);
}

TEST_F(Screens, SettingsStepByKeysPointerAndPadAndReturnWhereOpened) {
    const ScratchHome home;
    setCurrentButton(at(mainMenu, MAIN_MENU_SETTINGS_BUTTON));
    pushTap(SDLK_RETURN);
    startScreen();
    ASSERT_EQ(state.menu, Menu::settings);
    EXPECT_EQ(currentButton, at(settingsMenu, musicRow));
    EXPECT_FALSE(std::filesystem::exists(settingsPath())) << "opening the screen changed nothing";

    // Keys: right and left step the music, down goes to the effects, Enter steps on.
    for (SDL_Keycode key : {SDLK_RIGHT, SDLK_LEFT, SDLK_LEFT, SDLK_DOWN, SDLK_LEFT, SDLK_RETURN}) pushTap(key);
    startScreen();
    EXPECT_EQ(state.settings.musicVolume, 50);
    EXPECT_TRUE(state.musicPreview);
    EXPECT_EQ(state.settings.effectsVolume, 100);  // 90, then a click's step up
    if (Mix_QuerySpec(nullptr, nullptr, nullptr) != 0) {
        EXPECT_EQ(Mix_VolumeMusic(-1), mixerVolume(50));
        EXPECT_EQ(Mix_Volume(0, -1), mixerVolume(100));
    }
    // A click wraps a full volume round to silence.
    at(settingsMenu, effectsRow)->click();
    EXPECT_EQ(state.settings.effectsVolume, 0);

    // The pointer: the left arrow of a value steps it down, the row itself steps it.
    const SDL_Rect off = settingsArrowRect(vibrationRow, -1);
    pushMotion(off.x + 2, off.y + 2);
    pushMousePress();
    const SDL_Rect fullscreenRowArea = settingsRowRect(fullscreenRow);
    pushMotion(fullscreenRowArea.x + 40, fullscreenRowArea.y + 20);
    pushMousePress();
    startScreen();
    EXPECT_FALSE(state.settings.vibration);
    EXPECT_TRUE(state.settings.fullscreen);
    EXPECT_EQ(settingValueText(state, fullscreenRow), "On");

    // The pad: the stick sideways changes the highlighted row, up and down move.
    VirtualPad pad;
    ASSERT_TRUE(pad.ok());
    setCurrentButton(at(settingsMenu, vibrationRow));
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 30000);
    startScreen();
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    startScreen();
    EXPECT_TRUE(state.settings.vibration);
    ASSERT_FALSE(pad.vibrations().empty()) << "switched on, the pad buzzes to say so";
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, -30000);
    startScreen();
    EXPECT_EQ(currentButton, at(settingsMenu, fullscreenRow));

    // Saved as changed, and read back so at the next start.
    EXPECT_EQ(loadSettings(), state.settings);

    // B goes back to the main menu, onto its "Settings".
    pad.button(SDL_CONTROLLER_BUTTON_B, true);
    startScreen();
    pad.button(SDL_CONTROLLER_BUTTON_B, false);
    EXPECT_EQ(state.menu, Menu::head);
    EXPECT_EQ(currentButton, at(mainMenu, MAIN_MENU_SETTINGS_BUTTON));
    EXPECT_FALSE(state.musicPreview);

    // From the pause menu, Escape comes back to it and a second Escape resumes play.
    state.started = true;
    state.menu = Menu::pause;
    at(pauseMenu, PAUSE_MENU_SETTINGS_BUTTON)->click();
    ASSERT_EQ(state.menu, Menu::settings);
    // The shake steps Full, Low, Off and stops there; the hints switch; the Controls page and back.
    EXPECT_TRUE(changeSetting(state, shakeRow, -1, false));
    EXPECT_EQ(settingValueText(state, shakeRow), "Low");
    EXPECT_TRUE(changeSetting(state, shakeRow, -1, false));
    EXPECT_FALSE(changeSetting(state, shakeRow, -1, false));
    EXPECT_EQ(state.settings.screenShake, SHAKE_OFF);
    at(settingsMenu, hintsRow)->click();
    EXPECT_FALSE(state.settings.controlHints);
    at(settingsMenu, controlsRow)->click();
    ASSERT_EQ(state.menu, Menu::controls);
    pushTap(SDLK_ESCAPE);
    pauseScreen();
    EXPECT_EQ(state.menu, Menu::settings);
    EXPECT_EQ(currentButton, at(settingsMenu, controlsRow));
    at(settingsMenu, resetRow)->click();
    EXPECT_EQ(state.settings, Settings{});
    pushTap(SDLK_ESCAPE);
    pauseScreen();
    EXPECT_EQ(state.menu, Menu::pause);
    EXPECT_TRUE(pauseScreenShown(state));
    pushTap(SDLK_ESCAPE);
    pauseScreen();
    EXPECT_EQ(state.menu, Menu::notInMenu);
}

TEST_F(Screens, VibrationOffSendsNoRumble) {
    VirtualPad pad;
    ASSERT_TRUE(pad.ok());
    state.settings.vibration = false;
    vibrate(RUMBLE_STRONG, 100);
    EXPECT_TRUE(pad.vibrations().empty());
    state.settings.vibration = true;
    vibrate(RUMBLE_STRONG, 100);
    EXPECT_EQ(pad.vibrations().size(), 1u);
}

// A still screen keeps its last picture; what changes it is drawn in the very
// pass: the pointer's highlight (none left behind), the stick stepping a
// setting, play having drawn over the picture.
TEST_F(Screens, AStillMenuIsDrawnOnceAndAnewAsSoonAsItChanges) {
    const ScratchHome home;
    UI_Button* arcade = at(mainMenu, 0);
    UI_Button* settings = at(mainMenu, MAIN_MENU_SETTINGS_BUTTON);
    auto stillAfter = [&](const std::function<void()>& change) {
        markCanvas(canvas, 50, 50);  // a new picture clears the window, this spot with it
        change();
        startScreen();
        return marked(canvas, 50, 50);
    };
    startScreen();
    const SDL_Color plain = edgeOf(canvas, settings);
    EXPECT_TRUE(stillAfter([] {
        pushKey(SDLK_LSHIFT, false);
        pushMotion(5, 5);  // over no button, with none highlighted
        startScreen();
    })) << "a still menu was drawn again";
    EXPECT_FALSE(stillAfter([&] { pointAt(settings); }));
    const SDL_Color lit = edgeOf(canvas, settings);
    EXPECT_FALSE(looksLike(lit, plain)) << "the highlight did not follow the pointer in its pass";
    pointAt(arcade);
    startScreen();
    EXPECT_TRUE(looksLike(edgeOf(canvas, arcade), lit));
    EXPECT_TRUE(looksLike(edgeOf(canvas, settings), plain)) << "the highlight stayed behind";
    EXPECT_FALSE(stillAfter(forgetScreenPicture));

    VirtualPad pad;
    ASSERT_TRUE(pad.ok());
    settings->click();
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, 30000);  // the pad in use from here on
    startScreen();
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    setCurrentButton(at(settingsMenu, shakeRow));
    startScreen();
    EXPECT_FALSE(stillAfter([&] { pad.axis(SDL_CONTROLLER_AXIS_LEFTX, -30000); })) << "the new value is not shown";
    EXPECT_EQ(settingValueText(state, shakeRow), "Low");
}

// The card at a run's end is drawn once, and not again when its quiet second
// ends: nothing on it shows the quiet.
TEST(CardAtRest, IsNotDrawnAgainWhenItsQuietTimeEnds) {
    TestGame game;
    int pass = 0;
    int passesAfterQuiet = 0;
    bool drawnAgain = false;
    const EveryPass hand([&] {
        if (++pass > 5000) state.quit = true;  // a card that never goes fails instead of hanging
        if (pass == 2) {  // after the first picture
            state.menuGate.quietUntil(SDL_GetTicks() + 40);
            markCanvas(game.canvas, 50, 50);
        } else if (pass > 2 && passesAfterQuiet < 3) {
            drawnAgain = drawnAgain || !marked(game.canvas, 50, 50);
            if (screenListens() && ++passesAfterQuiet == 3) pushTap(SDLK_ESCAPE);
        }
    });
    EXPECT_EQ(holdCard(*game.run, *game.world, CardContent{}), CardChoice::toMenu);
    EXPECT_EQ(passesAfterQuiet, 3);
    EXPECT_FALSE(drawnAgain) << "the still card was drawn again";
}
