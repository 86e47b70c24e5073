#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include "TestSupport.h"
#include "enemies/Waves.h"
#include "play/Frame.h"
#include "play/Input.h"
#include "play/Loop.h"
#include "play/Screens.h"
#include "play/World.h"
#include "ui/MenuInput.h"
#include "ui/MenuScreens.h"
#include "ui/UI.h"
#include "ui/UpgradeMenus.h"

namespace {

const float DT = 1.0f / 60.0f;
const Sint16 PUSHED = 30000;
const Sint16 TRIGGER_PULLED = 32767;
const Sint16 TRIGGER_RELEASED = -32768;

// Changes of the pad played one per pass of a loop the test cannot step
// through: the shop holds the game until it is closed. Checks run in between.
class PadScript {
public:
    explicit PadScript(VirtualPad& played) : pad(played) {}
    // What the shop left unplayed (the release of the button that closed it)
    // still happens: the pad must not stay pressed for the next script.
    ~PadScript() {
        pad.onRead = nullptr;
        for (std::function<void()>& step : steps) step();
        SDL_JoystickUpdate();
    }
    PadScript(const PadScript&) = delete;
    PadScript& operator=(const PadScript&) = delete;

    void press(SDL_GameControllerButton button) {
        set([this, button] { SDL_JoystickSetVirtualButton(pad.joystick, button, 1); });
        set([this, button] { SDL_JoystickSetVirtualButton(pad.joystick, button, 0); });
    }
    // One push of the left stick and its return to the middle.
    void push(SDL_GameControllerAxis axis, Sint16 value) {
        set([this, axis, value] { SDL_JoystickSetVirtualAxis(pad.joystick, axis, value); });
        set([this, axis] { SDL_JoystickSetVirtualAxis(pad.joystick, axis, 0); });
    }
    void check(std::function<void()> step) { set(std::move(step)); }

    // Arms the script. Should it run out with the shop still open, the game is
    // told to quit so that the test fails instead of waiting for ever.
    void play() {
        pad.onRead = [this] {
            // The shop takes no press in its first moments: the script waits them out.
            if (!screenListens()) return;
            if (!steps.empty()) {
                std::function<void()> step = std::move(steps.front());
                steps.pop_front();
                step();
            } else if (state.menu != Menu::notInMenu && !state.quit) {
                ADD_FAILURE() << "the script ended with the shop still open";
                state.quit = true;
            }
        };
    }

private:
    void set(std::function<void()> step) { steps.push_back(std::move(step)); }

    VirtualPad& pad;
    std::deque<std::function<void()>> steps;
};

// A whole game with the controller alone: plugged in at the main menu, level 1
// started, five waves cleared with the trigger for XP, the rifle bought and
// equipped before wave 6, five more waves, the teleport bought before wave 11
// and aimed with the right stick, the hero hurt and killed, and the level left
// through the pause menu. Every vibration the game asks for reaches the pad.
class ControllerFlow : public ::testing::Test, protected TestGame {
protected:
    ControllerFlow() : TestGame({.width = WINDOW_WIDTH / 4, .height = WINDOW_HEIGHT / 4}) {}

    // --- the start and pause screens, one pass per change of the pad
    void screen() { state.started && state.menu == Menu::pause ? pauseScreen() : startScreen(); }
    void screenStick(Sint16 value) {
        pad.axis(SDL_CONTROLLER_AXIS_LEFTY, value);
        screen();
    }
    void screenPress(SDL_GameControllerButton button) {
        pad.button(button, true);
        screen();
        pad.button(button, false);
        screen();
    }
    void plugIn() {
        pushDevice(SDL_CONTROLLERDEVICEADDED, pad.index);
        screen();
        // The game opened the pad anew: drive that handle from now on.
        if (controller != nullptr) pad.joystick = SDL_GameControllerGetJoystick(controller);
    }
    void unplug() {
        pushDevice(SDL_CONTROLLERDEVICEREMOVED, SDL_JoystickInstanceID(pad.joystick));
        screen();
    }

    // --- play
    void handle() { handlePlayEvents(state, *run, *world); }
    void playAxis(SDL_GameControllerAxis axis, Sint16 value) {
        pad.axis(axis, value);
        handle();
    }
    void playPress(SDL_GameControllerButton button) {
        pad.button(button, true);
        handle();
        pad.button(button, false);
        handle();
    }
    void pull() {
        playAxis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, TRIGGER_PULLED);
        playAxis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, TRIGGER_RELEASED);
    }
    // A kill's breath is stepped over: it changes no rule, and the flow looks at the rules.
    void frame(float dt = DT) {
        if (frozen(world->feel, now)) now = world->feel.freezeUntil;
        runFrame(state, *run, *world, dt, now);
        now += 17;
    }
    template <typename Done>
    bool framesUntil(Done done, int limit, float dt = DT) {
        for (int i = 0; i < limit && !done(); ++i) frame(dt);
        return done();
    }

    SDL_Rect& hero() { return run->eZorbi.getRect(); }
    Weapon& gun() { return *run->player.getWeapon(); }
    std::vector<std::unique_ptr<Entity>>& waveBodies() {
        return world->waveSetEEnemies[static_cast<std::size_t>(world->waveSetLocation)];
    }

    // The wave's first second passes (the banner), as for a player.
    void beginWave() {
        startWave(*run, *world);
        // Robots held still (the developer freeze): only the pad decides what happens.
        pauseEnemy = true;
        world->startWaveLoad = now;
        ASSERT_TRUE(framesUntil([&] { return world->waveStarted; }, 100));
    }

    // Every robot of the wave stands on the hero's floor, a little ahead of him;
    // the trigger fires until all are down. Held still, they neither wander off
    // nor touch him, so every kill pays.
    void clearWaveWithTheTrigger() {
        for (auto& body : waveBodies()) {
            body->spawned = true;
            body->justSpawned = false;
            body->setPosition(hero().x + 200, hero().y + hero().h - body->getRect().h);
        }
        for (int shot = 0; shot < 200 && world->inWave; ++shot) {
            if (!gun().isReloaded()) {
                ASSERT_TRUE(framesUntil([&] { return gun().isReloaded(); }, 40, 0.25f));
            }
            pull();
            ASSERT_TRUE(framesUntil([&] { return world->bullets.empty() || !world->inWave; }, 120));
        }
        ASSERT_FALSE(world->inWave) << "wave " << world->waveNumber;
    }

    // The motors run on until SDL next reads the pad after their time is up; a
    // request of the same strength meanwhile only lengthens the running buzz.
    void stopBuzz() { SDL_GameControllerRumble(controller, 0, 0, 0); }
    void expectVibration(Uint16 strength, Uint32 milliseconds) {
        ASSERT_FALSE(pad.vibrations().empty());
        EXPECT_EQ(pad.vibrations().back().low, strength);
        EXPECT_EQ(pad.vibrations().back().high, strength);
        EXPECT_NEAR(pad.vibrationLength(), milliseconds, 40);
    }

    VirtualPad pad;
    Uint32 now = 100000;
};

}  // namespace

TEST_F(ControllerFlow, APlayerWithOnlyAPad) {
    ASSERT_TRUE(pad.ok()) << SDL_GetError();

    // Main menu: the pad arrives and selects "Arcade Mode"; the stick steps once per push.
    if (controller != nullptr) SDL_GameControllerClose(controller);
    controller = nullptr;
    state.controller = false;
    state.menu = Menu::head;
    plugIn();
    ASSERT_NE(controller, nullptr);
    EXPECT_EQ(currentButton, at(mainMenu, 0));
    screenStick(PUSHED);
    screenStick(PUSHED + 2000);  // still held: no second step
    EXPECT_EQ(currentButton, at(mainMenu, 1));
    screenStick(0);
    screenStick(PUSHED);
    EXPECT_EQ(currentButton, at(mainMenu, 2));
    screenStick(0);
    screenStick(-PUSHED);
    screenStick(0);
    screenStick(-PUSHED);
    screenStick(0);
    EXPECT_EQ(currentButton, at(mainMenu, 0));
    screenPress(SDL_CONTROLLER_BUTTON_B);  // nothing to go back to
    EXPECT_EQ(state.menu, Menu::head);
    EXPECT_EQ(currentButton, at(mainMenu, 0));

    // Level select: B leaves it as it is; pulled out and plugged in again, the pad starts level 1.
    screenPress(SDL_CONTROLLER_BUTTON_A);
    ASSERT_EQ(state.menu, Menu::level);
    EXPECT_EQ(currentButton, at(levelSelect, 0));
    screenPress(SDL_CONTROLLER_BUTTON_B);
    EXPECT_EQ(state.menu, Menu::level);
    screenStick(PUSHED);
    screenStick(0);
    EXPECT_EQ(currentButton, at(levelSelect, 1));
    screenStick(PUSHED);
    screenStick(0);
    EXPECT_EQ(currentButton, at(levelSelect, 2));
    screenStick(PUSHED);  // "Back" is the last
    screenStick(0);
    screenStick(PUSHED);
    screenStick(0);
    EXPECT_EQ(currentButton, at(levelSelect, 3));
    for (int step = 0; step < 3; ++step) {
        screenStick(-PUSHED);
        screenStick(0);
    }
    EXPECT_EQ(currentButton, at(levelSelect, 0));
    unplug();
    EXPECT_EQ(controller, nullptr);
    EXPECT_FALSE(state.controller);
    EXPECT_EQ(currentButton, nullptr);
    plugIn();
    ASSERT_NE(controller, nullptr);
    EXPECT_EQ(currentButton, at(levelSelect, 0));
    screenPress(SDL_CONTROLLER_BUTTON_A);
    ASSERT_TRUE(state.started);
    ASSERT_EQ(state.level, 1);
    loadLevel(*run, *world, state.level);

    // Wave 1: drive with the left stick, turn with the right one.
    beginWave();
    const int startX = hero().x;
    playAxis(SDL_CONTROLLER_AXIS_LEFTX, PUSHED);
    for (int i = 0; i < 10; ++i) frame();
    EXPECT_GT(hero().x, startX);
    playAxis(SDL_CONTROLLER_AXIS_LEFTX, -PUSHED);
    for (int i = 0; i < 10; ++i) frame();
    playAxis(SDL_CONTROLLER_AXIS_LEFTX, 0);
    EXPECT_EQ(run->player.getXNormalV(), 0);
    EXPECT_NEAR(hero().x, startX, 10);
    playAxis(SDL_CONTROLLER_AXIS_RIGHTX, -PUSHED);
    EXPECT_FALSE(run->player.getDirection());
    playAxis(SDL_CONTROLLER_AXIS_RIGHTX, PUSHED);
    EXPECT_TRUE(run->player.getDirection());
    playAxis(SDL_CONTROLLER_AXIS_RIGHTX, 0);

    // The trigger fires with a long buzz; X empties the clip to reload; a pull
    // while reloading buzzes short; the finished reload buzzes lightly.
    pull();
    EXPECT_EQ(world->bullets.size(), 1u);
    expectVibration(RUMBLE_STRONG, 150);
    ASSERT_TRUE(framesUntil([&] { return world->bullets.empty(); }, 120));
    playPress(SDL_CONTROLLER_BUTTON_X);
    EXPECT_EQ(gun().getBulletsInClip(), 0);
    EXPECT_FALSE(gun().isReloaded());
    pull();
    EXPECT_TRUE(world->bullets.empty());
    expectVibration(RUMBLE_STRONG, 75);
    const std::size_t before = pad.vibrations().size();
    ASSERT_TRUE(framesUntil([&] { return pad.vibrations().size() > before; }, 400));
    EXPECT_TRUE(gun().isReloaded());
    expectVibration(RUMBLE_LIGHT, 50);

    // Waves 1 to 5 cleared: every robot's difficulty is paid in XP, 1 + 2 + 3 + 4 + 5.
    clearWaveWithTheTrigger();
    for (int wave = 2; wave <= 5; ++wave) {
        beginWave();
        clearWaveWithTheTrigger();
    }
    ASSERT_EQ(run->player.getXP(), 15);

    // The shop before wave 6: the shoulders walk the tabs and stop at both ends;
    // the stick reaches the rifle's first level, and A buys it into the empty
    // second slot. B closes the shop.
    std::vector<Menu> tabs;
    int xpAfterPurchase = -1;
    int rifleLevel = -1;
    {
        PadScript script(pad);
        auto tab = [&] { script.check([&] { tabs.push_back(state.menu); }); };
        tab();
        for (int i = 0; i < 3; ++i) {
            script.press(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
            tab();
        }
        for (int i = 0; i < 3; ++i) {
            script.press(SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
            tab();
        }
        script.push(SDL_CONTROLLER_AXIS_LEFTX, PUSHED);   // "Close Menu" to the revolver's select button
        script.push(SDL_CONTROLLER_AXIS_LEFTX, PUSHED);   // the rifle's
        script.push(SDL_CONTROLLER_AXIS_LEFTY, -PUSHED);  // its level 1
        script.press(SDL_CONTROLLER_BUTTON_A);
        script.check([&] {
            xpAfterPurchase = run->player.getXP();
            rifleLevel = state.currentRifleLevel;
        });
        script.press(SDL_CONTROLLER_BUTTON_B);
        script.play();
        startWave(*run, *world);
    }
    ASSERT_FALSE(state.quit);
    EXPECT_EQ(world->waveNumber, 6);
    const std::vector<Menu> expectedTabs = {Menu::weaponUpgrade, Menu::abilityUpgrade, Menu::playerUpgrade,
                                            Menu::playerUpgrade, Menu::abilityUpgrade, Menu::weaponUpgrade,
                                            Menu::weaponUpgrade};
    EXPECT_EQ(tabs, expectedTabs);
    EXPECT_EQ(rifleLevel, 1);
    EXPECT_EQ(xpAfterPurchase, 5);
    EXPECT_EQ(state.weapon2, rifle);
    EXPECT_EQ(state.menu, Menu::notInMenu);
    ASSERT_EQ(run->player.getSecondaryWeapon(), run->weapon(rifle));
    EXPECT_EQ(run->player.getSecondaryWeapon()->getBulletsInClip(), 2);  // fitted at level 1, loaded

    // Wave 6: Y takes up the rifle; waves 6 to 10 pay 40 more XP.
    pauseEnemy = true;
    world->startWaveLoad = now;
    ASSERT_TRUE(framesUntil([&] { return world->waveStarted; }, 100));
    playPress(SDL_CONTROLLER_BUTTON_Y);
    EXPECT_EQ(gun().getType(), rifle);
    playPress(SDL_CONTROLLER_BUTTON_Y);
    EXPECT_EQ(gun().getType(), revolver);
    playPress(SDL_CONTROLLER_BUTTON_Y);
    clearWaveWithTheTrigger();
    for (int wave = 7; wave <= 10; ++wave) {
        beginWave();
        clearWaveWithTheTrigger();
    }
    ASSERT_EQ(run->player.getXP(), 45);

    // The shop before wave 11: the teleport, bought and made the hero's ability.
    {
        PadScript script(pad);
        script.press(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
        script.push(SDL_CONTROLLER_AXIS_LEFTX, PUSHED);   // bounce's select button
        script.push(SDL_CONTROLLER_AXIS_LEFTX, PUSHED);   // the teleport's
        script.push(SDL_CONTROLLER_AXIS_LEFTY, -PUSHED);  // its level 1
        script.press(SDL_CONTROLLER_BUTTON_A);
        script.push(SDL_CONTROLLER_AXIS_LEFTY, PUSHED);
        script.press(SDL_CONTROLLER_BUTTON_A);
        script.press(SDL_CONTROLLER_BUTTON_B);
        script.play();
        startWave(*run, *world);
    }
    ASSERT_FALSE(state.quit);
    EXPECT_EQ(world->waveNumber, 11);
    EXPECT_EQ(state.abilityLevels[teleport], 1);
    EXPECT_EQ(run->player.getXP(), 45 - 15);  // the second purchase costs 5 more
    ASSERT_EQ(run->player.getAbility(), teleport);

    // B starts the teleport aim; the right stick steers the cursor; after two
    // seconds the hero lands on it.
    pauseEnemy = true;
    world->startWaveLoad = now;
    ASSERT_TRUE(framesUntil([&] { return world->waveStarted; }, 100));
    playPress(SDL_CONTROLLER_BUTTON_B);
    ASSERT_TRUE(state.teleportSelection);
    state.startSelection = static_cast<float>(now);  // the aim's clock is the test's
    const int cursorX = state.teleportCursorX;
    const int cursorY = state.teleportCursorY;
    playAxis(SDL_CONTROLLER_AXIS_RIGHTX, -PUSHED);
    playAxis(SDL_CONTROLLER_AXIS_RIGHTY, -PUSHED);
    EXPECT_TRUE(run->player.getDirection());  // aiming, not turning
    for (int i = 0; i < 30; ++i) frame();
    playAxis(SDL_CONTROLLER_AXIS_RIGHTX, 0);
    playAxis(SDL_CONTROLLER_AXIS_RIGHTY, 0);
    EXPECT_LT(state.teleportCursorX, cursorX - 100);
    EXPECT_LT(state.teleportCursorY, cursorY - 100);
    const int landingX = state.teleportCursorX;
    ASSERT_TRUE(framesUntil([&] { return !state.teleportSelection; }, 200));
    EXPECT_EQ(hero().x, landingX);

    // A robot runs into the hero: a long hard buzz.
    pauseEnemy = true;  // the landing let the robots go again
    ASSERT_TRUE(framesUntil([&] { return !run->eZorbi.isOffPlatform(); }, 200));
    Entity& toucher = *waveBodies().front();
    auto touch = [&] {
        toucher.spawned = true;
        toucher.justSpawned = false;
        toucher.alive = true;
        toucher.hp = 5;
        toucher.setPosition(hero().x, hero().y);
        frame(0);
    };
    const double wellBefore = run->player.getHealth() + run->player.getShield();
    stopBuzz();
    touch();
    EXPECT_LT(run->player.getHealth() + run->player.getShield(), wellBefore);
    expectVibration(RUMBLE_STRONG, 750);

    // Start pauses; the stick walks the pause menu; B resumes.
    playPress(SDL_CONTROLLER_BUTTON_START);
    ASSERT_EQ(state.menu, Menu::pause);
    controllerEvent(state, MENU_CONTROL::connect);  // as the frame loop does on pausing
    EXPECT_EQ(currentButton, at(pauseMenu, 0));
    screenStick(PUSHED);
    screenStick(0);
    screenStick(PUSHED);
    EXPECT_EQ(currentButton, at(pauseMenu, 2));
    screenStick(0);
    screenStick(-PUSHED);
    screenStick(0);
    EXPECT_EQ(currentButton, at(pauseMenu, 1));
    screenPress(SDL_CONTROLLER_BUTTON_B);
    EXPECT_EQ(state.menu, Menu::notInMenu);
    EXPECT_TRUE(state.started);

    // Worn down to death: the wave ends with a long hard buzz and the run starts over.
    for (int i = 0; i < 20 && world->inWave; ++i) {
        stopBuzz();  // so that the fatal hit's buzz is measured alone
        touch();
    }
    ASSERT_FALSE(world->inWave);
    EXPECT_EQ(world->waveNumber, 0);
    expectVibration(RUMBLE_STRONG, 750);
    beginWave();
    EXPECT_EQ(world->waveNumber, 1);
    EXPECT_EQ(state.currentRifleLevel, 0);
    EXPECT_EQ(run->player.getAbility(), none);
    EXPECT_EQ(run->player.getXP(), 0);

    // Start, down past "Settings" to "Quit To Menu", A: back at the main menu.
    playPress(SDL_CONTROLLER_BUTTON_START);
    ASSERT_EQ(state.menu, Menu::pause);
    controllerEvent(state, MENU_CONTROL::connect);
    for (int step = 0; step < 2; ++step) {
        screenStick(PUSHED);
        screenStick(0);
    }
    screenPress(SDL_CONTROLLER_BUTTON_A);
    EXPECT_FALSE(state.started);
    EXPECT_EQ(state.menu, Menu::head);
    EXPECT_EQ(currentButton, at(mainMenu, 0));
    EXPECT_FALSE(state.quit);

    // Every vibration the game asked for reached the pad, at one of its two strengths.
    for (const VirtualPad::Rumble& r : pad.vibrations()) {
        EXPECT_TRUE(r.low == RUMBLE_STRONG || r.low == RUMBLE_LIGHT) << r.low;
        EXPECT_EQ(r.low, r.high);
    }
}
