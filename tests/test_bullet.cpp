#include <gtest/gtest.h>

#include <list>
#include <vector>

#include "TestSupport.h"
#include "world/Bullet.h"
#include "world/Entity.h"
#include "world/Platform.h"

namespace {
// A bullet with its body, kept together as the level keeps them.
struct Shot {
    Shot(BULLET_TYPE type, int x, int y, int vx, int vy, int durability = 1, int strength = 1, int damage = 1,
         SDL_Renderer* drawOn = gameRenderer) {
        bodies.emplace_back(x, y, vx, vy, drawOn);
        bullets.emplace_back(&bodies.back(), type, durability, strength, damage);
        bullets.back().setIterator(bodies.begin());
    }
    Bullet& bullet() { return bullets.back(); }
    SDL_Rect& rect() { return bodies.back().getRect(); }
    std::list<Entity> bodies;
    std::list<Bullet> bullets;
};

bool sameRect(const SDL_Rect& a, const SDL_Rect& b) {
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

// Platforms placed at window pixels, 120 x 25 each.
struct Platforms {
    void add(int x, int y) {
        owned.emplace_back(0, 0, gameRenderer);
        owned.back().setPosition(x, y);
        list.push_back(&owned.back());
    }
    std::list<Platform> owned;
    std::list<Platform*> list;
};
}  // namespace

TEST(BulletDress, NormalBulletIsASmallBallAndLaserALongBolt) {
    Canvas canvas;
    Shot ball(normal, 100, 100, 1500, 0);
    EXPECT_EQ(ball.rect().w, 9);
    EXPECT_EQ(ball.rect().h, 9);
    EXPECT_EQ(ball.bodies.back().srcWidth, 4);
    EXPECT_EQ(ball.bodies.back().srcHeight, 4);
    EXPECT_NE(ball.bodies.back().getTexture()->getTexture(), nullptr);
    EXPECT_EQ(ball.bodies.back().getTexture()->getWidth(), 9);

    Shot bolt(laser, 100, 100, 1500, 0);
    EXPECT_EQ(bolt.rect().w, 48);
    EXPECT_EQ(bolt.rect().h, 6);
    EXPECT_EQ(bolt.bodies.back().srcWidth, 32);
    EXPECT_EQ(bolt.bodies.back().srcHeight, 8);
    EXPECT_EQ(bolt.bodies.back().getTexture()->getHeight(), 6);
    EXPECT_EQ(bolt.bullet().getType(), laser);
    EXPECT_EQ(bolt.bullet().getEntity(), &bolt.bodies.back());
    EXPECT_EQ(bolt.bullet().getPlatformStatus(), 0);
}

TEST(BulletDress, ImageThatCannotBeMadeIsReportedAndTheBulletStillFlies) {
    LogCapture log;
    Shot orphan(normal, 100, 100, 100, 0, 1, 1, 1, nullptr);  // no renderer: no texture can be made
    EXPECT_EQ(log.count("Could not load bullet texture!"), 1);
    EXPECT_EQ(orphan.rect().w, 9);
    std::list<Platform*> none;
    EXPECT_FALSE(orphan.bullet().move(0.25f, none, false));
    EXPECT_EQ(orphan.rect().x, 125);
}

TEST(BulletDress, BulletCarriesItsDamageAndSpendsItsStrength) {
    Canvas canvas;
    Shot weak(normal, 0, 0, 0, 0, 1, 1, 4);
    EXPECT_EQ(weak.bullet().getDamage(), 4);
    EXPECT_TRUE(weak.bullet().decreaseStrength());

    Shot strong(normal, 0, 0, 0, 0, 1, 3, 2);
    EXPECT_EQ(strong.bullet().getDamage(), 2);
    EXPECT_FALSE(strong.bullet().decreaseStrength());
    EXPECT_FALSE(strong.bullet().decreaseStrength());
    EXPECT_TRUE(strong.bullet().decreaseStrength());
}

TEST(BulletStep, SweptAreaCoversTheWholeStepInEitherDirection) {
    Canvas canvas;
    std::list<Platform*> none;

    // A ball from 100 to 125 and back sweeps the same 34 pixels.
    Shot ballRight(normal, 100, 100, 100, 0);
    ballRight.bullet().move(0.25f, none, false);
    EXPECT_TRUE(sameRect(ballRight.bullet().getTrailingRect(), {100, 100, 34, 9}));
    Shot ballLeft(normal, 125, 100, -100, 0);
    ballLeft.bullet().move(0.25f, none, false);
    EXPECT_TRUE(sameRect(ballLeft.bullet().getTrailingRect(), {100, 100, 34, 9}));

    // Rising and falling are swept too: from y 100 up to 0, then down again.
    Shot rising(normal, 300, 100, 0, -400);
    rising.bullet().move(0.25f, none, false);
    EXPECT_TRUE(sameRect(rising.bullet().getTrailingRect(), {300, 0, 9, 109}));
    const float vy = rising.bodies.back().getYVelocity();  // -400 + 7500 * 0.25
    rising.bullet().move(0.25f, none, false);
    const int fell = static_cast<int>(vy * 0.25f);
    EXPECT_TRUE(sameRect(rising.bullet().getTrailingRect(), {300, 0, 9, fell + 9}));
}

TEST(BulletStep, RemovedOnlyWhenItLeavesTheWindowSideways) {
    Canvas canvas;
    std::list<Platform*> none;
    struct Case {
        int startX;
        int vx;
        int endX;
        bool removed;
    };
    for (const Case& c : {Case{1190, 40, 1200, false}, Case{1191, 40, 1201, true}, Case{10, -40, 0, false},
                          Case{9, -40, -1, true}}) {
        for (BULLET_TYPE type : {normal, laser}) {
            Shot shot(type, c.startX, 300, c.vx, 0);
            EXPECT_EQ(shot.bullet().move(0.25f, none, false), c.removed) << c.startX << " type " << type;
            EXPECT_EQ(shot.rect().x, c.endX);
        }
    }

    // Falling far below the window is no reason to go.
    Shot falling(normal, 600, 700, 0, 800);
    for (int step = 0; step < 20; ++step) EXPECT_FALSE(falling.bullet().move(0.1f, none, false));
    EXPECT_GT(falling.rect().y, 2000);
}

TEST(BulletStep, LaserFliesStraightThroughPlatforms) {
    Canvas canvas;
    Platforms platforms;
    for (int x = 0; x < 1200; x += 120) {
        platforms.add(x, 306);  // the bolt's bottom sits on these tops
        platforms.add(x, 400);
    }
    Shot bolt(laser, 0, 300, 500, 300, 1);
    for (int step = 1; step <= 20; ++step) {
        EXPECT_FALSE(bolt.bullet().move(0.1f, platforms.list, false));
        EXPECT_EQ(bolt.rect().x, 50 * step);
        EXPECT_EQ(bolt.rect().y, 300);
    }
    EXPECT_EQ(bolt.bullet().getPlatformStatus(), 0);
}

// A ball rolls along one platform (x 0..120, top 300), drops off its end and
// falls onto a lower one (x 100..220, top 400).
class RollingBall : public ::testing::Test {
protected:
    void SetUp() override {
        platforms.add(0, 300);
        platforms.add(100, 400);
    }
    Canvas canvas;
    Platforms platforms;
};

TEST_F(RollingBall, FragileBallSurvivesItsFirstPlatformAndEndsOnTheSecond) {
    Shot ball(normal, 100, 291, 100, 0, 1);
    const std::list<Platform*>& list = platforms.list;

    EXPECT_FALSE(ball.bullet().move(0.1f, list, false));  // x 110: the first landing is harmless
    EXPECT_EQ(ball.bullet().getPlatformStatus(), 1);
    EXPECT_FALSE(ball.bullet().move(0.1f, list, false));  // x 120: the edge still carries it
    EXPECT_EQ(ball.bullet().getPlatformStatus(), 1);
    EXPECT_EQ(ball.rect().y, 291);
    EXPECT_FALSE(ball.bullet().move(0.1f, list, false));  // x 130: off the end
    EXPECT_EQ(ball.bullet().getPlatformStatus(), 2);
    EXPECT_FALSE(ball.bullet().move(0.1f, list, false));  // still falling
    EXPECT_EQ(ball.bullet().getPlatformStatus(), 2);
    EXPECT_TRUE(ball.bullet().move(0.1f, list, false));  // lands on the lower platform
}

TEST_F(RollingBall, SturdyBallIsNeverRemovedByPlatforms) {
    for (int durability : {0, 2, 3}) {
        Shot ball(normal, 100, 291, 100, 0, durability);
        std::vector<int> statuses;
        for (int step = 0; step < 13; ++step) {
            EXPECT_FALSE(ball.bullet().move(0.1f, platforms.list, false)) << "durability " << durability;
            statuses.push_back(ball.bullet().getPlatformStatus());
        }
        // Roll, fall, land and roll along the lower platform, drop off its end.
        EXPECT_EQ(statuses, (std::vector<int>{1, 1, 2, 2, 1, 1, 1, 1, 1, 1, 1, 1, 2})) << "durability " << durability;
        EXPECT_EQ(ball.rect().y, 391);
    }
}

TEST(BulletDraw, DrawnAtItsBodyAndNeverFlipped) {
    Canvas canvas;
    canvas.clear(0, 0, 0);
    Shot right(laser, 100, 100, 1500, 0);
    Shot left(laser, 100, 200, -1500, 0);
    right.bullet().render();
    left.bullet().render();
    int drawn = 0;
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 48; ++x) {
            const SDL_Color a = canvas.pixel(100 + x, 100 + y);
            const SDL_Color b = canvas.pixel(100 + x, 200 + y);
            EXPECT_TRUE(sameColour(a, b.r, b.g, b.b, 0)) << x << "," << y;
            drawn += sameColour(a, 0, 0, 0, 0) ? 0 : 1;
        }
    }
    EXPECT_GT(drawn, 0);
    // Nothing outside the bolt's body.
    EXPECT_TRUE(sameColour(canvas.pixel(99, 102), 0, 0, 0, 0));
    EXPECT_TRUE(sameColour(canvas.pixel(148, 102), 0, 0, 0, 0));
    EXPECT_TRUE(sameColour(canvas.pixel(120, 106), 0, 0, 0, 0));
}
