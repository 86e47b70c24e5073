#include <gtest/gtest.h>

#include <SDL_image.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "TestSupport.h"
#include "enemies/Waves.h"
#include "play/Combat.h"
#include "play/Frame.h"
#include "play/Loop.h"
#include "ui/ControlHints.h"
#include "ui/Hud.h"
#include "ui/RobotArrows.h"
#include "ui/UI.h"
#include "world/Feel.h"

// The moments that make a hit felt, drawn on the real level 1 with its own
// pictures, each checked for what shows it. When ZELVANE_MOMENTS names a
// folder (the screenshot script does), each moment is also kept there as a
// picture, cut around where it happens.
namespace {
class Moments : public ::testing::Test, protected TestGame {
protected:
    void SetUp() override {
        state.level = 1;
        state.started = true;
        loadLevel(*run, *world, 1);
        fitWeapons(*run);
        run->eZorbi.forceSpawn();
        world->waveSetEEnemies.resize(1);
        world->waveSetEnemies.resize(1);
        world->inWave = true;
        world->waveNumber = 1;
        world->startWaveLoad = now;
        state.menu = Menu::notInMenu;
        updateInGameText(0, 1, 0);
        // The hero lands on his spawn's platform and the wave begins; then he
        // stands on the platform at the window's right, clear of its top.
        for (int i = 0; i < 90; ++i) frame();
        run->eZorbi.setPosition(850, 300);
        run->player.setDirection(true);  // facing the robots to come
        for (int i = 0; i < 60; ++i) frame();
    }
    void frame() {
        now += 16;
        runFrame(state, *run, *world, 0.016f, now);
    }
    SDL_Rect hero() { return run->eZorbi.getRect(); }
    // A robot standing on the hero's ground, dx to his right, facing him.
    Enemy& robot(ENEMY_TYPE type, int dx) { return addRobot(type, SDL_Point{hero().x + dx, hero().y + hero().h}); }
    // A revolver bullet just left of the target, still.
    void bulletAt(const SDL_Rect& target) { addStillBullet(target.x - 2, target.y + 20); }
    // Pixels of the area near the given colour, every other one counted.
    int near(const SDL_Rect& area, int r, int g, int b, int tolerance) {
        int count = 0;
        for (int y = std::max(area.y, 0); y < std::min(area.y + area.h, 720); y += 2)
            for (int x = std::max(area.x, 0); x < std::min(area.x + area.w, 1200); x += 2)
                count += sameColour(canvas.pixel(x, y), r, g, b, tolerance) ? 1 : 0;
        return count;
    }
    // Keeps the area of the frame as a picture, when asked to.
    void keep(const char* name, SDL_Rect area) {
        const char* folder = std::getenv("ZELVANE_MOMENTS");
        if (folder == nullptr) return;
        area.x = std::clamp(area.x, 0, 1200 - area.w);
        area.y = std::clamp(area.y, 0, 720 - area.h);
        SDL_RenderFlush(canvas.renderer);
        SDL_Surface* cut = SDL_CreateRGBSurfaceWithFormat(0, area.w, area.h, 32, SDL_PIXELFORMAT_RGBA8888);
        SDL_SetSurfaceBlendMode(canvas.surface, SDL_BLENDMODE_NONE);
        SDL_BlitSurface(canvas.surface, &area, cut, nullptr);
        EXPECT_EQ(IMG_SavePNG(cut, (std::string(folder) + "/" + name + ".png").c_str()), 0) << IMG_GetError();
        SDL_FreeSurface(cut);
    }
    SDL_Rect around(const SDL_Rect& body, int w, int h) {
        return {body.x + body.w / 2 - w / 2, body.y + body.h / 2 - h / 2, w, h};
    }

    Uint32 now = 10000;
};
}  // namespace

TEST_F(Moments, AHitRobotFlashesWhiteAndAKillPaysItsXpInRisingFigures) {
    Enemy& big = robot(roo, 170);
    const SDL_Rect body = big.getEntity()->getRect();
    const int whiteBefore = near(body, 255, 255, 255, 4);
    bulletAt(body);
    frame();
    frame();
    EXPECT_GT(near(body, 255, 255, 255, 4), whiteBefore + 100) << "no white flash on the hit robot";
    keep("hit-flash", around(SDL_Rect{hero().x, body.y, body.x + body.w - hero().x, body.h}, 480, 240));

    Enemy& victim = robot(robor, 110);
    const SDL_Rect victimBody = victim.getEntity()->getRect();
    ASSERT_EQ(victim.getEntity()->getHP(), 1);
    bulletAt(victimBody);
    frame();
    ASSERT_FALSE(victim.getEntity()->isAlive());
    ASSERT_EQ(world->feel.texts.size(), 1u);
    EXPECT_GT(world->feel.texts.front().xp, 0);
    for (int i = 0; i < 8; ++i) frame();
    // The figures rise over where the robot stood.
    const SDL_Rect above{victimBody.x - 30, victimBody.y - 90, victimBody.w + 60, 110};
    EXPECT_GT(near(above, 255, 255, 255, 60) + near(above, 255, 214, 90, 60), 10) << "no +N over the kill";
    keep("kill-xp", around(SDL_Rect{hero().x, victimBody.y - 70, victimBody.x + victimBody.w - hero().x, 70}, 480, 240));
}

TEST_F(Moments, AShotFlashesAtTheBarrel) {
    const Weapon* gun = run->player.getWeapon();
    ASSERT_NE(gun, nullptr);
    const SDL_Point tip = gun->muzzle(hero().x, hero().y, run->player.getDirection());
    const SDL_Rect barrel{tip.x - Weapon::MUZZLE_SIZE, tip.y - Weapon::MUZZLE_SIZE / 2, 2 * Weapon::MUZZLE_SIZE, Weapon::MUZZLE_SIZE};
    const int brightBefore = near(barrel, 255, 240, 160, 70);
    world->feel.shotFired = true;
    frame();
    EXPECT_GT(near(barrel, 255, 240, 160, 70), brightBefore + 5) << "no burst at the barrel";
    keep("muzzle-flash", around(hero(), 360, 200));
    for (int i = 0; i < 4; ++i) frame();
    EXPECT_LE(near(barrel, 255, 240, 160, 70), brightBefore + 2) << "the burst outlasted its time";
}

TEST_F(Moments, AHurtHeroFlashesRedAndTheWindowsEdgesPulse) {
    const SDL_Rect edge{0, 200, 40, 300};
    Canvas& c = canvas;
    auto reddish = [&] {
        int count = 0;
        for (int y = edge.y; y < edge.y + edge.h; y += 4) {
            const SDL_Color p = c.pixel(8, y);
            count += p.r > p.g + 60 ? 1 : 0;
        }
        return count;
    };
    const int before = reddish();
    world->feel.heroFlashUntil = now + HERO_FLASH_MS;
    world->feel.hurtAt = now;
    world->feel.hurt = true;
    frame();
    EXPECT_GT(reddish(), before + 20) << "the edges did not pulse red";
    keep("hurt", {0, 0, 1200, 720});
}

// The strip of keys, and a robot's arrow that keeps clear of it.
TEST_F(Moments, TheFirstWavesShowTheKeysAlongTheBottom) {
    Enemy& below = robot(robor, -400);
    below.getEntity()->setPosition(600, WINDOW_HEIGHT + 400);
    pauseEnemy = true;
    frame();
    pauseEnemy = false;
    const SDL_Rect band = hintsBand(hudLeftCorner(), hudRightCorner(&run->player));
    ASSERT_GT(band.w, 600);
    // The band's text is the small font's white over the dark band.
    EXPECT_GT(near(band, 255, 255, 255, 40), 20);
    const SDL_Rect column{600, 0, ROBOT_ARROW_SIDE + 18, WINDOW_HEIGHT};
    const int arrowRed = near(column, 196, 44, 60, 2);
    EXPECT_GT(arrowRed, 0) << "no arrow to the robot below";
    EXPECT_EQ(near(SDL_Rect{column.x, band.y, column.w, band.h}, 196, 44, 60, 2), 0) << "the arrow covers the strip";
    keep("control-hints", {0, 560, 1200, 160});
}
