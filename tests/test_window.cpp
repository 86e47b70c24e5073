// The window as a desktop player meets it: any size shows the 1200 x 720
// design with bars and the pointer still hits the right buttons, fullscreen by
// F11 or Alt+Enter, a pause when the window loses the focus during play, the
// level's music, and the C4 detonation heard.

#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "TestSupport.h"
#include "platform/Game.h"
#include "play/Frame.h"
#include "play/Input.h"
#include "play/Interlude.h"
#include "play/Loop.h"
#include "play/Screens.h"
#include "play/World.h"
#include "ui/MenuInput.h"
#include "ui/MenuScreens.h"
#include "ui/UI.h"
#include "world/Music.h"

namespace {

// A real window of the dummy video driver with a software renderer drawing the
// design at logical size, standing in as the game's window while it lives.
class ScaledWindow : public ::testing::Test {
protected:
    void SetUp() override {
        window = SDL_CreateWindow("Zelvane 0.4", 0, 0, 1800, 1080, SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE);
        ASSERT_NE(window, nullptr) << SDL_GetError();
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
        ASSERT_NE(renderer, nullptr) << SDL_GetError();
        ASSERT_EQ(SDL_RenderSetLogicalSize(renderer, WINDOW_WIDTH, WINDOW_HEIGHT), 0);
        SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
        gameWindow = window;
        gameRenderer = renderer;
        state = State();
        UI_init(renderer, state, nullptr);
        VirtualPad::settle();
    }
    void TearDown() override {
        restoreGame();
        if (renderer != nullptr) SDL_DestroyRenderer(renderer);
        if (window != nullptr) SDL_DestroyWindow(window);
    }

    // Resizes the window and lets the renderer see the new size.
    void resize(int w, int h) {
        SDL_SetWindowSize(window, w, h);
        VirtualPad::settle();
        SDL_RenderClear(renderer);
        SDL_RenderPresent(renderer);
    }

    // A pointer move and press at a place in window pixels, as the window system sends them.
    void clickAt(int x, int y) {
        pushMotion(x, y, SDL_GetWindowID(window));
        pushMousePress(SDL_GetWindowID(window));
        startScreen();
    }

    // Where a design point lands in the window.
    SDL_Point toWindow(int x, int y) const {
        int wx = 0;
        int wy = 0;
        SDL_RenderLogicalToWindow(renderer, static_cast<float>(x), static_cast<float>(y), &wx, &wy);
        return {wx, wy};
    }

    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
};

SDL_Event windowEvent(Uint8 what) {
    SDL_Event event = eventOf(SDL_WINDOWEVENT);
    event.window.event = what;
    return event;
}

bool fullscreen(SDL_Window* window) { return (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0; }

}  // namespace

TEST_F(ScaledWindow, PointerHitsTheScaledButtonsAtAnySize) {
    const UI_Button& arcade = mainMenu.getButtons()[0];
    const SDL_Rect box{arcade.getX(), arcade.getY(), arcade.getWidth(), arcade.getHeight()};
    const int centreX = box.x + box.w / 2;
    const int centreY = box.y + box.h / 2;

    // 1.5 times the design: the button's centre lies at 1.5 times its place.
    resize(1800, 1080);
    state.menu = Menu::head;
    int x = static_cast<int>(centreX * 1.5);
    int y = static_cast<int>(centreY * 1.5);
    clickAt(x, y);
    EXPECT_EQ(state.menu, Menu::level);

    // Where the design's place is clicked in the window, a different button lies.
    state.menu = Menu::head;
    setCurrentButton(nullptr);
    clickAt(centreX, centreY + box.h * 2);
    EXPECT_NE(state.menu, Menu::level);

    // A wide window: bars at the sides, the design at its height.
    resize(2400, 720);
    state.menu = Menu::head;
    setCurrentButton(nullptr);
    clickAt(600 + centreX, centreY);
    EXPECT_EQ(state.menu, Menu::level);
    const SDL_Point corner = toWindow(0, 0);
    EXPECT_EQ(corner.x, 600);
    EXPECT_EQ(corner.y, 0);

    // The polled pointer is turned into design pixels too.
    int px = 900;
    int py = 100;
    windowToDesign(px, py);
    EXPECT_EQ(px, 300);
    EXPECT_EQ(py, 100);
}

TEST_F(ScaledWindow, ATinyOrMinimisedWindowKeepsRunning) {
    for (const SDL_Point size : {SDL_Point{1, 1}, SDL_Point{1, 720}, SDL_Point{3000, 1}}) {
        resize(size.x, size.y);
        state.menu = Menu::head;
        startScreen();
        // The design shrinks to fit, bars fill the rest: a scale above zero, no division by zero.
        float scaleX = 0;
        float scaleY = 0;
        SDL_RenderGetScale(renderer, &scaleX, &scaleY);
        EXPECT_GT(scaleX, 0.0f) << size.x << "x" << size.y;
        EXPECT_TRUE(std::isfinite(scaleX) && std::isfinite(scaleY));
        clickAt(size.x / 2, size.y / 2);
    }
    SDL_MinimizeWindow(window);
    VirtualPad::settle();
    startScreen();
    SUCCEED();
}

TEST_F(ScaledWindow, F11AndAltEnterSwitchDesktopFullscreenOnAndOff) {
    EXPECT_TRUE(isFullscreenToggle(keyEvent(SDLK_F11).key));
    EXPECT_TRUE(isFullscreenToggle(keyEvent(SDLK_RETURN, KMOD_LALT).key));
    EXPECT_TRUE(isFullscreenToggle(keyEvent(SDLK_RETURN, KMOD_RALT).key));
    EXPECT_FALSE(isFullscreenToggle(keyEvent(SDLK_RETURN).key));
    EXPECT_FALSE(isFullscreenToggle(keyEvent(SDLK_a, KMOD_LALT).key));

    const ScratchHome home;
    ASSERT_FALSE(fullscreen(window));
    SDL_Event f11 = keyEvent(SDLK_F11);
    EXPECT_TRUE(handleCommonEvent(state, f11));
    EXPECT_TRUE(fullscreen(window));
    // The player's choice: kept for the next start.
    EXPECT_TRUE(state.settings.fullscreen);
    EXPECT_TRUE(loadSettings().fullscreen);
    // A held key repeats: that is no second switch.
    f11.key.repeat = 1;
    handleCommonEvent(state, f11);
    EXPECT_TRUE(fullscreen(window));
    EXPECT_TRUE(handleCommonEvent(state, keyEvent(SDLK_RETURN, KMOD_LALT)));
    EXPECT_FALSE(fullscreen(window));

    // On a menu screen too, and the menu stays where it is.
    state.menu = Menu::level;
    pushEvent(keyEvent(SDLK_F11));
    startScreen();
    EXPECT_TRUE(fullscreen(window));
    EXPECT_EQ(state.menu, Menu::level);
    toggleFullscreen();
    EXPECT_FALSE(fullscreen(window));
    EXPECT_FALSE(loadSettings().fullscreen);
}

TEST(FocusLoss, PausesPlayAsEscapeWouldAndLeavesMenusAlone) {
    TestGame game({.interface = false});
    RunObjects& run = *game.run;
    World& world = *game.world;
    for (Uint8 what : {SDL_WINDOWEVENT_FOCUS_LOST, SDL_WINDOWEVENT_MINIMIZED}) {
        state = State();
        state.menu = Menu::notInMenu;
        state.started = true;
        handlePlayEvent(state, run, world, windowEvent(what));
        EXPECT_EQ(state.menu, Menu::pause) << int(what);
    }
    for (Uint8 what : {SDL_WINDOWEVENT_FOCUS_GAINED, SDL_WINDOWEVENT_RESIZED, SDL_WINDOWEVENT_RESTORED}) {
        state = State();
        state.menu = Menu::notInMenu;
        handlePlayEvent(state, run, world, windowEvent(what));
        EXPECT_EQ(state.menu, Menu::notInMenu) << int(what);
    }

    // In the shop nothing changes.
    state = State();
    state.menu = Menu::abilityUpgrade;
    handleInterludeEvent(state, windowEvent(SDL_WINDOWEVENT_FOCUS_LOST));
    EXPECT_EQ(state.menu, Menu::abilityUpgrade);
}

// The level's music as the run's objects load it: streamed from its Ogg file
// rather than played as a chunk on a mixer channel, looping back to its start,
// under effects that may take every channel, and into the post-mix hook where
// the game's limiter sits.
TEST(LevelMusic, IsStreamedAndLoopsUnderEffectsOnEveryChannel) {
    if (Mix_QuerySpec(nullptr, nullptr, nullptr) == 0) GTEST_SKIP() << "no audio device";
    TestGame game({.interface = false, .world = false});
    Music& song = game.run->song;
    ASSERT_TRUE(song.isLoaded());
    applyVolumes(state.settings);
    float loudest = 0.0f;
    Mix_SetPostMix(
        [](void* peak, Uint8* stream, int bytes) {
            const float* samples = reinterpret_cast<const float*>(stream);
            for (int i = 0; i < bytes / int(sizeof(float)); ++i) {
                *static_cast<float*>(peak) = std::max(*static_cast<float*>(peak), std::abs(samples[i]));
            }
        },
        &loudest);
    song.play();
    EXPECT_TRUE(song.isPlaying());
    EXPECT_EQ(Mix_GetMusicType(nullptr), MUS_OGG);
    EXPECT_EQ(Mix_Playing(-1), 0) << "the music took a channel";

    Sound click("resources/sounds/buttonClick.wav", 0, -1);
    for (int i = 0; i < MIX_CHANNELS + 4; ++i) click.play();
    EXPECT_EQ(Mix_Playing(-1), Mix_AllocateChannels(-1)) << "a channel is still kept from the effects";
    EXPECT_TRUE(song.isPlaying());
    Mix_HaltChannel(-1);

    // From a tenth of a second before its end it runs on into its start.
    const double length = Mix_MusicDuration(nullptr);
    EXPECT_GT(length, 60.0);
    ASSERT_EQ(Mix_SetMusicPosition(length - 0.1), 0) << Mix_GetError();
    SDL_Delay(400);
    EXPECT_TRUE(song.isPlaying());
    const double position = Mix_GetMusicPosition(nullptr);
    EXPECT_GE(position, 0.0) << Mix_GetError();
    EXPECT_LT(position, 1.0);
    Mix_SetPostMix(nullptr, nullptr);  // takes the audio lock: the hook is done with loudest
    EXPECT_GT(loudest, 0.01f);

    song.stop();
    EXPECT_FALSE(song.isPlaying());
    EXPECT_EQ(Mix_PlayingMusic(), 0);
}

// The pause menu pauses the music where it is and resuming play resumes it;
// leaving the level from the pause menu leaves it paused until the level's
// loop ends, which stops it.
TEST(LevelMusic, PausesWithThePauseMenuResumesWithPlayAndStopsWithTheLevel) {
    if (Mix_QuerySpec(nullptr, nullptr, nullptr) == 0) GTEST_SKIP() << "no audio device";
    TestGame game;
    RunObjects& run = *game.run;
    run.song.play();
    state.started = true;
    state.menu = Menu::pause;
    pushTap(SDLK_ESCAPE);
    pausePlay(run, *game.world);
    ASSERT_EQ(state.menu, Menu::notInMenu);
    EXPECT_TRUE(run.song.isPlaying());
    EXPECT_EQ(Mix_PausedMusic(), 0);

    state.menu = Menu::pause;
    state.started = false;  // "Quit To Menu" was chosen there
    pausePlay(run, *game.world);
    EXPECT_EQ(Mix_PausedMusic(), 1);
    EXPECT_TRUE(run.song.isPlaying());
    runWaves(run, *game.world);
    EXPECT_FALSE(run.song.isPlaying());
    EXPECT_EQ(Mix_PlayingMusic(), 0);
}

// The Settings screen plays the music while its volume is set: from the main
// menu it starts and stops again, from the pause menu the paused song carries
// on and pauses again.
TEST(LevelMusic, PlaysOnTheSettingsScreenOnceItsVolumeChanges) {
    if (Mix_QuerySpec(nullptr, nullptr, nullptr) == 0) GTEST_SKIP() << "no audio device";
    Music song("resources/sounds/song.ogg");
    ASSERT_TRUE(song.isLoaded());
    state = State();
    bool previewing = false;
    state.menu = Menu::settings;
    followMusicPreview(song, previewing, false);
    EXPECT_FALSE(song.isPlaying());  // nothing changed yet
    state.musicPreview = true;
    followMusicPreview(song, previewing, false);
    EXPECT_TRUE(song.isPlaying());
    state.menu = Menu::head;
    followMusicPreview(song, previewing, false);
    EXPECT_FALSE(song.isPlaying());
    EXPECT_FALSE(state.musicPreview);

    song.play();
    song.pause();
    state.menu = Menu::settings;
    state.musicPreview = true;
    followMusicPreview(song, previewing, true);
    EXPECT_EQ(Mix_PausedMusic(), 0);
    state.menu = Menu::pause;
    followMusicPreview(song, previewing, true);
    EXPECT_EQ(Mix_PausedMusic(), 1);
    EXPECT_TRUE(song.isPlaying());
    song.stop();
    state = State();
}

TEST(C4Blast, TheDetonationPlaysTheMediumExplosionOnce) {
    if (Mix_QuerySpec(nullptr, nullptr, nullptr) == 0) GTEST_SKIP() << "no audio device";
    TestGame game;
    RunObjects& run = *game.run;
    World& world = *game.world;
    Mix_HaltChannel(-1);
    world.waveStarted = true;
    world.inWave = true;
    runFrame(state, run, world, 1 / 60.f, 1000);
    EXPECT_EQ(Mix_Playing(-1), 0);
    state.c4Exploded = true;
    runFrame(state, run, world, 1 / 60.f, 1016);
    EXPECT_EQ(Mix_Playing(-1), 1);
    EXPECT_FALSE(state.c4Exploded);
    runFrame(state, run, world, 1 / 60.f, 1032);
    EXPECT_EQ(Mix_Playing(-1), 1);  // still the one blast
    Mix_HaltChannel(-1);
}
