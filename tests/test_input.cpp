#include <gtest/gtest.h>

#include <memory>

#include "TestSupport.h"
#include "play/Input.h"
#include "play/World.h"

namespace {
// Play on a level of one long floor, with the hero standing on it and the wave running.
class PlayInput : public ::testing::Test, protected TestGame {
protected:
    PlayInput() : TestGame({.interface = false}) {}
    void SetUp() override {
        for (int column = 0; column < 10; ++column) world->ePlatforms.emplace_back(80 * column, 80 * 3 + 63, canvas.renderer);
        for (Platform& p : world->ePlatforms) world->platforms.push_back(&p);
        run->playerSpawns.emplace_back(scale(80 * 4 - 25), scale(80 * 3 + 3), 75, 90, 1);
        run->eZorbi.forceSpawn();
        world->waveStarted = true;
        state.menu = Menu::notInMenu;
    }

    void press(SDL_Keycode key) {
        pushKey(key, true);
        handlePlayEvents(state, *run, *world);
    }
    void release(SDL_Keycode key) {
        pushKey(key, false);
        handlePlayEvents(state, *run, *world);
    }
    int driving() { return run->player.getXNormalV(); }
    Weapon& gun() { return *run->player.getWeapon(); }
};
}  // namespace

TEST_F(PlayInput, SpaceFiresOncePerPress) {
    gun().reset();
    press(SDLK_SPACE);
    press(SDLK_SPACE);  // held: the key repeats
    EXPECT_EQ(world->bullets.size(), 1u);
    EXPECT_EQ(world->eBullets.size(), 1u);
    release(SDLK_SPACE);
    press(SDLK_SPACE);
    EXPECT_EQ(world->bullets.size(), 2u);
    EXPECT_EQ(gun().getBulletsInClip(), 2);

    // A release missed while a menu was open: leaving the menu re-arms the key.
    state.resetShooting = true;
    press(SDLK_SPACE);
    EXPECT_EQ(world->bullets.size(), 3u);
    EXPECT_FALSE(state.resetShooting);
}

TEST_F(PlayInput, SpaceWaitsForTheWaveAndForTheDetonator) {
    gun().reset();
    world->waveStarted = false;
    press(SDLK_SPACE);
    release(SDLK_SPACE);
    EXPECT_TRUE(world->bullets.empty());

    world->waveStarted = true;
    state.c4Placed = true;
    press(SDLK_SPACE);
    release(SDLK_SPACE);
    EXPECT_TRUE(world->bullets.empty());

    state.c4Placed = false;
    state.teleportSelection = true;
    press(SDLK_SPACE);
    EXPECT_TRUE(world->bullets.empty());
}

TEST_F(PlayInput, DrivingKeysHeldAndReleasedInAnyOrder) {
    press(SDLK_a);
    EXPECT_EQ(driving(), -1);
    press(SDLK_d);
    EXPECT_EQ(driving(), 1);
    release(SDLK_d);
    EXPECT_EQ(driving(), -1);  // A is still held
    release(SDLK_w);           // any other key leaves it so
    EXPECT_EQ(driving(), -1);
    release(SDLK_a);
    EXPECT_EQ(driving(), 0);

    press(SDLK_d);
    press(SDLK_a);
    EXPECT_EQ(driving(), -1);
    release(SDLK_a);
    EXPECT_EQ(driving(), 1);
    release(SDLK_d);
    EXPECT_EQ(driving(), 0);

    press(SDLK_a);
    press(SDLK_d);
    release(SDLK_a);
    EXPECT_EQ(driving(), 1);
    release(SDLK_d);
    EXPECT_EQ(driving(), 0);
}

TEST_F(PlayInput, AimingKeysTurnTheHeroOrSteerTheCursor) {
    press(SDLK_l);
    EXPECT_TRUE(run->player.getDirection());
    press(SDLK_j);
    EXPECT_FALSE(run->player.getDirection());
    press(SDLK_k);  // not aiming: nothing
    EXPECT_EQ(state.tcVy, 0);

    state.teleportSelection = true;
    press(SDLK_l);
    EXPECT_FALSE(run->player.getDirection());
    EXPECT_EQ(state.tcVx, 1);
    press(SDLK_j);
    EXPECT_EQ(state.tcVx, -1);
    release(SDLK_j);
    EXPECT_EQ(state.tcVx, 1);  // L still held
    release(SDLK_l);
    EXPECT_EQ(state.tcVx, 0);
    press(SDLK_i);
    EXPECT_EQ(state.tcVy, -1);
    press(SDLK_k);
    EXPECT_EQ(state.tcVy, 1);  // the latest press steers
    release(SDLK_i);
    EXPECT_EQ(state.tcVy, 1);
    release(SDLK_k);
    EXPECT_EQ(state.tcVy, 0);
}

TEST_F(PlayInput, WeaponKeysSwitchAndReload) {
    run->player.setSecondaryWeapon(run->weapon(rifle));
    press(SDLK_w);
    EXPECT_EQ(run->player.getWeapon()->getType(), rifle);
    press(SDLK_w);
    EXPECT_EQ(run->player.getWeapon()->getType(), revolver);
    gun().reset();
    press(SDLK_r);
    EXPECT_EQ(gun().getBulletsInClip(), 0);
    EXPECT_FALSE(gun().isReloaded());
}

TEST_F(PlayInput, DeveloperKeysAndPause) {
    press(SDLK_2);
    EXPECT_FALSE(world->waveOverride);
    press(SDLK_4);
    EXPECT_FALSE(pauseEnemy);
    EXPECT_EQ(state.menu, Menu::notInMenu);

    press(SDLK_1);
    EXPECT_TRUE(state.developerMode);
    world->waveNumber = 4;
    press(SDLK_2);
    EXPECT_TRUE(world->waveOverride);
    EXPECT_EQ(world->waveNumber, 30);
    press(SDLK_4);
    EXPECT_TRUE(pauseEnemy);
    press(SDLK_4);
    EXPECT_FALSE(pauseEnemy);
    press(SDLK_1);
    EXPECT_FALSE(state.developerMode);

    press(SDLK_ESCAPE);
    EXPECT_EQ(state.menu, Menu::pause);
}

TEST_F(PlayInput, AbilityKeyUsesTheAbility) {
    run->player.setAbility(c4);
    press(SDLK_e);
    EXPECT_TRUE(state.c4Placed);
    press(SDLK_e);
    EXPECT_TRUE(state.c4Exploded);
}

TEST_F(PlayInput, TriggerFiresOncePerPullAndVibrates) {
    VirtualPad pad;
    ASSERT_TRUE(pad.ok()) << SDL_GetError();
    gun().reset();
    world->waveStarted = false;  // the trigger does not wait for the wave
    pad.axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    handlePlayEvents(state, *run, *world);
    EXPECT_EQ(world->bullets.size(), 1u);
    ASSERT_EQ(pad.vibrations().size(), 1u);
    EXPECT_EQ(pad.vibrations()[0].low, 0xBFFF);
    EXPECT_EQ(pad.vibrations()[0].high, 0xBFFF);
    EXPECT_NEAR(pad.vibrationLength(), 150, 40);

    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 30000);  // another axis while the trigger is held: no new shot
    handlePlayEvents(state, *run, *world);
    EXPECT_EQ(world->bullets.size(), 1u);
    EXPECT_EQ(driving(), 1);

    // Three more pulls empty the revolver; the fifth pull is refused with a short buzz.
    for (int pull = 0; pull < 4; ++pull) {
        pad.axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
        handlePlayEvents(state, *run, *world);
        pad.axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
        handlePlayEvents(state, *run, *world);
        if (pull < 3) pad.vibrationLength();  // let each buzz end, so the next one is a new request
    }
    EXPECT_EQ(world->bullets.size(), 4u);
    EXPECT_EQ(pad.vibrations().size(), 5u);
    EXPECT_NEAR(pad.vibrationLength(), 75, 40);
}

TEST_F(PlayInput, SticksDriveAndTurnAndButtonsAct) {
    VirtualPad pad;
    ASSERT_TRUE(pad.ok());
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, -30000);
    handlePlayEvents(state, *run, *world);
    EXPECT_EQ(driving(), -1);
    pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 10000);  // inside the dead zone
    handlePlayEvents(state, *run, *world);
    EXPECT_EQ(driving(), 0);

    pad.axis(SDL_CONTROLLER_AXIS_RIGHTX, 30000);
    handlePlayEvents(state, *run, *world);
    EXPECT_TRUE(run->player.getDirection());
    pad.axis(SDL_CONTROLLER_AXIS_RIGHTX, -30000);
    handlePlayEvents(state, *run, *world);
    EXPECT_FALSE(run->player.getDirection());
    pad.axis(SDL_CONTROLLER_AXIS_RIGHTX, 0);

    state.teleportSelection = true;
    pad.axis(SDL_CONTROLLER_AXIS_RIGHTY, 30000);
    handlePlayEvents(state, *run, *world);
    EXPECT_EQ(state.tcVy, 1);
    pad.axis(SDL_CONTROLLER_AXIS_RIGHTX, 30000);
    handlePlayEvents(state, *run, *world);
    EXPECT_EQ(state.tcVx, 1);
    EXPECT_FALSE(run->player.getDirection());  // aiming, not turning
    state.teleportSelection = false;

    run->player.setSecondaryWeapon(run->weapon(shotgun));
    pad.button(SDL_CONTROLLER_BUTTON_Y, true);
    handlePlayEvents(state, *run, *world);
    pad.button(SDL_CONTROLLER_BUTTON_Y, false);
    EXPECT_EQ(run->player.getWeapon()->getType(), shotgun);

    gun().reset();
    pad.button(SDL_CONTROLLER_BUTTON_X, true);
    handlePlayEvents(state, *run, *world);
    pad.button(SDL_CONTROLLER_BUTTON_X, false);
    EXPECT_FALSE(gun().isReloaded());

    run->player.setAbility(c4);
    pad.button(SDL_CONTROLLER_BUTTON_B, true);
    handlePlayEvents(state, *run, *world);
    pad.button(SDL_CONTROLLER_BUTTON_B, false);
    EXPECT_TRUE(state.c4Placed);

    pad.button(SDL_CONTROLLER_BUTTON_START, true);
    handlePlayEvents(state, *run, *world);
    pad.button(SDL_CONTROLLER_BUTTON_START, false);
    EXPECT_EQ(state.menu, Menu::pause);
}

TEST_F(PlayInput, ResumingTakesTheKeysAsTheyAreHeldNow) {
    std::vector<Uint8> keys(SDL_NUM_SCANCODES, 0);
    auto hold = [&](SDL_Keycode key, bool down) { keys[SDL_GetScancodeFromKey(key)] = down ? 1 : 0; };

    // D held, the pause opened, D let go while paused: play resumes standing still.
    press(SDLK_d);
    ASSERT_EQ(driving(), 1);
    takeHeldInput(state, *run, *world, keys.data());
    EXPECT_EQ(driving(), 0);
    EXPECT_FALSE(world->rightMovement);
    // A pressed during the pause and still held: play resumes driving left.
    hold(SDLK_a, true);
    takeHeldInput(state, *run, *world, keys.data());
    EXPECT_EQ(driving(), -1);
    EXPECT_TRUE(world->leftMovement);
    // Its release later is seen as usual.
    release(SDLK_a);
    EXPECT_EQ(driving(), 0);

    // The teleport cursor, aimed right, let go during the shop.
    state.teleportSelection = true;
    press(SDLK_l);
    ASSERT_EQ(state.tcVx, 1);
    hold(SDLK_a, false);
    hold(SDLK_k, true);
    takeHeldInput(state, *run, *world, keys.data());
    EXPECT_EQ(state.tcVx, 0);
    EXPECT_FALSE(state.tcMovingRight);
    EXPECT_EQ(state.tcVy, 1);
    EXPECT_TRUE(state.tcMovingDown);
    state.teleportSelection = false;

    // Space held into the pause and let go there: the next press fires.
    gun().reset();
    press(SDLK_SPACE);
    ASSERT_EQ(world->bullets.size(), 1u);
    takeHeldInput(state, *run, *world, nullptr);  // nothing held
    press(SDLK_SPACE);
    EXPECT_EQ(world->bullets.size(), 2u);
    // Still held: no second shot from the same press.
    hold(SDLK_SPACE, true);
    takeHeldInput(state, *run, *world, keys.data());
    press(SDLK_SPACE);
    EXPECT_EQ(world->bullets.size(), 2u);
}

TEST_F(PlayInput, TheAbilityKeyWithoutAnAbilityKeepsTheCharge) {
    run->player.setAbility(none);
    ASSERT_TRUE(run->player.isCharged());
    press(SDLK_e);
    release(SDLK_e);
    EXPECT_TRUE(run->player.isCharged());
    // The first ability bought finds its charge.
    run->player.setAbility(teleport);
    press(SDLK_e);
    EXPECT_TRUE(state.teleportSelection);
    EXPECT_FALSE(run->player.isCharged());
}
