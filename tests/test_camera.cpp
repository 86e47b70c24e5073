#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "TestSupport.h"
#include "platform/Game.h"
#include "play/Backdrop.h"
#include "play/Camera.h"
#include "play/Frame.h"
#include "play/World.h"

namespace {

// A level of `rowCount` rows: the hero's spawn at column 2 of row 0, a robot
// spawn at column 5 of row 1, a floor on the last row.
std::string writeLevel(int rowCount) {
    std::string text = "-1,-1,1,-1,-1,-1,-1,-1,-1,-1,-1,-1\n";
    text += "-1,-1,-1,-1,-1,2,-1,-1,-1,-1,-1,-1\n";
    for (int i = 2; i < rowCount - 1; ++i) text += EMPTY_ROW;
    text += "0,0,0,0,0,0,0,0,0,0,0,0\n";
    const auto path = std::filesystem::temp_directory_path() / ("zelvane-camera-" + std::to_string(getpid()) + "-" + std::to_string(rowCount) + ".csv");
    std::ofstream(path) << text;
    return path.string();
}

// A whole run on a software canvas, with one level loaded.
class CameraTest : public ::testing::Test, protected TestGame {
protected:
    CameraTest() : TestGame({.interface = false}) {}
    void load(int rowCount) { loadLevelFile(*run, *world, writeLevel(rowCount)); }
    SDL_Rect& hero() { return run->eZorbi.getRect(); }
};
}  // namespace

TEST_F(CameraTest, HeroStartsOnTheFirstPlayerSpawn) {
    load(30);
    EXPECT_TRUE(run->eZorbi.isSpawned());
    EXPECT_EQ(hero().x, scale(80 * 1 - 25));
    EXPECT_EQ(hero().y + hero().h, 94);
    EXPECT_EQ(world->allSpawns.size(), 2u);
    EXPECT_EQ(world->allSpawns.front()->getType(), 2);  // robot spawns first, then the hero's
    EXPECT_EQ(cameraFloor(state), 720 - 3600);
}

TEST_F(CameraTest, StepMovesEveryLevelObjectTowardTheHero) {
    load(30);
    hero().y = 400;
    const int platformY = world->platforms.front()->getPlatformRect().y;
    const int spawnY = world->enemySpawns.front().getY();
    ASSERT_TRUE(cameraShouldMove(state, hero()));
    moveCamera(state, world->allCharacterEntities, world->platforms, world->allSpawns, 0.016f);
    // (292 - 400) * 3 = -324; times 0.016 = -5.18, truncated to -5.
    EXPECT_EQ(state.camY, -5);
    EXPECT_EQ(hero().y, 395);
    EXPECT_EQ(world->platforms.front()->getPlatformRect().y, platformY - 5);
    EXPECT_EQ(world->enemySpawns.front().getY(), spawnY - 5);
    EXPECT_EQ(run->player.getWheelRect()->y, 395 + 70);  // the wheel follows the body
}

TEST_F(CameraTest, ViewStopsAtTheTopAndAtTheBottomOfTheLevel) {
    load(30);
    // Above the window at the top of the level: no step, and a forced one is clamped to nothing.
    hero().y = -10;
    EXPECT_FALSE(cameraShouldMove(state, hero()));
    moveCamera(state, world->allCharacterEntities, world->platforms, world->allSpawns, 0.5f);
    EXPECT_EQ(state.camY, 0);
    EXPECT_EQ(hero().y, -10);

    // Near the floor: a big step stops with the last row at the bottom of the window.
    state.camY = -2870;
    hero().y = 700;
    moveCamera(state, world->allCharacterEntities, world->platforms, world->allSpawns, 1.0f);
    EXPECT_EQ(state.camY, -2880);
    EXPECT_EQ(hero().y, 690);
    EXPECT_FALSE(cameraShouldMove(state, hero()));

    // Above the window while scrolled down: the view climbs back.
    hero().y = -50;
    EXPECT_TRUE(cameraShouldMove(state, hero()));
    moveCamera(state, world->allCharacterEntities, world->platforms, world->allSpawns, 0.1f);
    EXPECT_EQ(state.camY, -2880 + 102);  // (292 + 50) * 3 * 0.1 = 102.6
}

TEST_F(CameraTest, ShortLevelNeverScrollsDown) {
    load(6);
    EXPECT_EQ(cameraFloor(state), 0);
    hero().y = 600;
    EXPECT_FALSE(cameraShouldMove(state, hero()));
}

TEST_F(CameraTest, FrameLetsTheHeroFallAndTheViewFollow) {
    load(30);
    world->startWaveLoad = 0;
    hero().x = 720;  // over empty air
    run->player.updateWheelRect();
    Uint32 now = 2000;
    for (int frame = 0; frame < 60; ++frame) runFrame(state, *run, *world, 1.0f / 60.0f, now += 16);
    EXPECT_TRUE(world->waveStarted);
    EXPECT_LT(state.camY, 0);
    EXPECT_GE(hero().y, 292 - 150);  // kept in view while falling
    EXPECT_LE(hero().y, WINDOW_HEIGHT);
}

TEST_F(CameraTest, HeroHoldsStillInTheFirstSecondOfAWave) {
    load(30);
    world->startWaveLoad = 5000;
    hero().x = 720;
    run->player.updateWheelRect();
    const int y = hero().y;
    runFrame(state, *run, *world, 0.1f, 5500);
    EXPECT_FALSE(world->waveStarted);
    EXPECT_EQ(hero().y, y);
    runFrame(state, *run, *world, 0.1f, 6001);
    runFrame(state, *run, *world, 0.1f, 6101);
    EXPECT_TRUE(world->waveStarted);
    EXPECT_GT(hero().y, y);
}

TEST_F(CameraTest, PlatformsAreDrawnOverBodies) {
    load(30);
    world->startWaveLoad = 0;
    Platform& floor = *world->platforms.front();  // the hero's own platform, {120, 94, 120, 25}
    const SDL_Rect tile = floor.getPlatformRect();

    // Frame without the hero, then with his body sunk into the platform.
    run->eZorbi.despawn();
    world->waveStarted = false;
    runFrame(state, *run, *world, 0.0f, 1);
    std::vector<Uint32> without;
    for (int x = tile.x; x < tile.x + tile.w; x += 4) {
        const SDL_Color c = canvas.pixel(x, tile.y + 12);
        without.push_back((c.r << 16) | (c.g << 8) | c.b);
    }
    run->eZorbi.forceSpawn();
    hero().y = tile.y - 40;  // body overlaps the whole platform height across its width
    runFrame(state, *run, *world, 0.0f, 1);
    std::vector<Uint32> with;
    for (int x = tile.x; x < tile.x + tile.w; x += 4) {
        const SDL_Color c = canvas.pixel(x, tile.y + 12);
        with.push_back((c.r << 16) | (c.g << 8) | c.b);
    }
    EXPECT_EQ(with, without);

    // Above the platform, the hero is visible.
    int changed = 0;
    for (int y = hero().y; y < tile.y; y += 3) {
        for (int x = hero().x; x < hero().x + hero().w; x += 3) {
            const SDL_Color c = canvas.pixel(x, y);
            changed += (c.r > 150 && c.g > 80) ? 1 : 0;  // the hero's warm colours
        }
    }
    EXPECT_GT(changed, 0);
}

// In a frame that scrolls, the platforms are drawn where the bodies on them
// were drawn, not a step ahead: the picture is that of the frame's own start.
TEST_F(CameraTest, AScrollingFrameDrawsThePlatformsWhereItsBodiesStood) {
    load(30);
    world->startWaveLoad = 0;
    const SDL_Rect tile = world->platforms.front()->getPlatformRect();
    hero().x = 720;  // over empty air, low in the window: the view follows him down
    hero().y = 400;
    run->player.updateWheelRect();
    runFrame(state, *run, *world, 1.0f / 60.0f, 2000);
    ASSERT_LT(state.camY, 0);
    const auto column = [&] {
        std::vector<Uint32> colours;
        for (int y = tile.y; y < tile.y + tile.h; ++y) {
            const SDL_Color c = canvas.pixel(tile.x + 30, y);
            colours.push_back(Uint32(c.r) << 16 | Uint32(c.g) << 8 | c.b);
        }
        return colours;
    };
    const std::vector<Uint32> drawn = column();

    for (Platform* platform : world->platforms) {
        const SDL_Rect& box = platform->getPlatformRect();
        platform->setPosition(box.x, box.y - state.camY);
    }
    renderBackdrop(*run);
    renderPlatforms(world->platforms, false);
    EXPECT_EQ(drawn, column());
}
