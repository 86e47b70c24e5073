#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <list>
#include <vector>

#include "TestSupport.h"
#include "world/Entity.h"
#include "world/Platform.h"

namespace {
// A body of the given size standing with its bottom on y.
Entity bodyAt(int x, int bottom, int w = 20, int h = 30) {
    Entity body;
    body.setDimensions(w, h);
    body.setPosition(x, bottom - h);
    return body;
}

// Platforms at pixel positions: Platform takes authored units, so divide by 1.5.
struct Ground {
    Ground() {
        // Tile row 2 at x 0..120: box {0, 334, 120, 25} (authored (0, 223)).
        owned.emplace_back(0, 223, gameRenderer);
        for (Platform& p : owned) list.push_back(&p);
    }
    int top() const { return owned.front().getPlatformRect().y; }
    std::list<Platform> owned;
    std::list<Platform*> list;
};
}  // namespace

TEST(EntityOverlap, EdgesAndCornersCount) {
    EXPECT_TRUE(Entity::isColliding({0, 0, 10, 10}, {10, 10, 5, 5}));   // corners touch
    EXPECT_FALSE(Entity::isColliding({0, 0, 10, 10}, {11, 0, 5, 5}));   // one pixel apart
    EXPECT_FALSE(Entity::isColliding({0, 0, 10, 10}, {0, 11, 5, 5}));
    EXPECT_TRUE(Entity::isColliding({0, 0, 10, 10}, {-5, 10, 5, 0}));   // zero height, touching
    EXPECT_TRUE(Entity::isColliding({2, 2, 3, 3}, {0, 0, 10, 10}));     // inside
    EXPECT_FALSE(Entity::isColliding({-20, 0, 10, 10}, {0, 0, 10, 10}));
}

TEST(EntityPhysics, RestingBodyStaysOnItsPlatform) {
    Canvas canvas;
    Ground ground;
    Entity body = bodyAt(40, ground.top());
    int fallen = 99;
    for (int step = 0; step < 5; ++step) {
        EXPECT_FALSE(body.move(0.016f, ground.list, &fallen, nullptr));
        EXPECT_EQ(body.getRect().y + body.getRect().h, ground.top());
        EXPECT_FLOAT_EQ(body.getYVelocity(), 0.0f);
        EXPECT_EQ(fallen, 0);
    }
}

TEST(EntityPhysics, FallSpeedStopsGrowingAbove825) {
    std::list<Platform*> none;
    Entity body = bodyAt(0, 100);
    body.setYVelocity(800);
    int fallen = 0;
    EXPECT_TRUE(body.move(0.016f, none, &fallen, nullptr));
    EXPECT_FLOAT_EQ(body.getYVelocity(), 920.0f);
    EXPECT_EQ(fallen, -12);  // 800 * 0.016 = 12.8, truncated
    body.move(0.016f, none, nullptr, nullptr);
    EXPECT_FLOAT_EQ(body.getYVelocity(), 920.0f);
}

TEST(EntityPhysics, LandsFromAboveButPlatformsAreOneWay) {
    Canvas canvas;
    Ground ground;
    // Falling fast from 10 px above: the swept box reaches the platform, the body lands on top.
    Entity falling = bodyAt(40, ground.top() - 10);
    falling.setYVelocity(900);
    EXPECT_FALSE(falling.move(0.05f, ground.list, nullptr, nullptr));
    EXPECT_EQ(falling.getRect().y + falling.getRect().h, ground.top());

    // Bottom one pixel below the top: falls through.
    Entity below = bodyAt(40, ground.top() + 1);
    EXPECT_TRUE(below.move(0.016f, ground.list, nullptr, nullptr));
    EXPECT_GT(below.getRect().y + below.getRect().h, ground.top());

    // Rising through a platform from below never lands.
    Entity rising = bodyAt(40, ground.top() + 40);
    rising.setYVelocity(-1800);
    for (int step = 0; step < 4; ++step) EXPECT_TRUE(rising.move(0.016f, ground.list, nullptr, nullptr));
    EXPECT_LT(rising.getRect().y + rising.getRect().h, ground.top());
}

TEST(EntityPhysics, MovementBoxDecidesLandingAndSidesNeverBlock) {
    Canvas canvas;
    Ground ground;
    // The body overhangs the platform's right end; a narrow wheel box beyond the end misses it.
    Entity body = bodyAt(110, ground.top());
    SDL_Rect wheel{125, 0, 19, 19};
    EXPECT_TRUE(body.move(0.016f, ground.list, nullptr, &wheel));
    // Horizontal motion passes through the platform's side.
    Entity sideways = bodyAt(-40, ground.top() + 10);
    sideways.setXVelocity(1000);
    sideways.move(0.1f, ground.list, nullptr, nullptr);
    EXPECT_EQ(sideways.getRect().x, 60);
}

TEST(EntitySpawning, RandomAndForcedPlacement) {
    std::vector<Spawn> points;
    points.emplace_back(100, 200, 75, 90, 1);
    points.emplace_back(400, 500, 75, 75, 2);
    Entity body(&points, nullptr, 3);
    body.setDimensions(36, 75);
    body.setXVelocity(50);
    body.setYVelocity(300);

    points[0].setOccupied(true);
    points[1].setOccupied(true);
    for (int i = 0; i < 10; ++i) body.spawn(false);
    EXPECT_FALSE(body.isSpawned());  // every point occupied: nothing happens

    points[1].setOccupied(false);
    points[1].setOnScreen(false);
    for (int i = 0; i < 10; ++i) body.spawn(true);
    EXPECT_FALSE(body.isSpawned());  // the free point is off screen

    for (int i = 0; i < 20 && !body.isSpawned(); ++i) body.spawn(false);
    ASSERT_TRUE(body.isSpawned());
    EXPECT_EQ(body.getRect().x, 400);
    EXPECT_EQ(body.getRect().y + body.getRect().h, 575);  // bottoms meet
    EXPECT_FLOAT_EQ(body.getYVelocity(), 0.0f);
    EXPECT_FLOAT_EQ(body.getXVelocity(), 50.0f);  // kept
    EXPECT_TRUE(points[1].getOccupied());

    // Forced: the first point, occupied or not.
    Entity hero(&points, nullptr, 10);
    hero.setDimensions(75, 90);
    hero.forceSpawn();
    EXPECT_TRUE(hero.isSpawned());
    EXPECT_EQ(hero.getRect().x, 100);
    EXPECT_EQ(hero.getRect().y, 200);

    hero.despawn();
    EXPECT_FALSE(hero.isSpawned());
    EXPECT_TRUE(hero.justSpawned);
    EXPECT_EQ(hero.getRect().x, -1000);

    std::vector<Spawn> empty;
    Entity nowhere(&empty, nullptr, 1);
    nowhere.forceSpawn();
    nowhere.spawn(false);
    EXPECT_FALSE(nowhere.isSpawned());
    EXPECT_EQ(nowhere.getRect().x, -150);
}

TEST(EntityHealth, DamageKillsAtZeroAndBelow) {
    Entity one;
    EXPECT_TRUE(one.damage(1));
    EXPECT_FALSE(one.isAlive());
    EXPECT_TRUE(one.damage(1));  // a dead body reports death again
    EXPECT_EQ(one.getHP(), -1);

    std::vector<Spawn> none;
    Entity five(&none, nullptr, 5);
    EXPECT_FALSE(five.damage(3));
    EXPECT_EQ(five.getHP(), 2);
    EXPECT_TRUE(five.isAlive());
}

TEST(EntityDrawing, DrawsOnePictureOfTheSheetFlippedByVelocity) {
    // A two-picture sheet: left picture red, right picture blue.
    const ScratchFile picture("resources/textures/test-sheet.png");
    SDL_Surface* sheet = SDL_CreateRGBSurfaceWithFormat(0, 4, 2, 24, SDL_PIXELFORMAT_RGB24);
    SDL_Rect left{0, 0, 2, 2};
    SDL_Rect right{2, 0, 2, 2};
    SDL_FillRect(sheet, &left, SDL_MapRGB(sheet->format, 220, 0, 0));
    SDL_FillRect(sheet, &right, SDL_MapRGB(sheet->format, 0, 0, 220));
    ASSERT_EQ(IMG_SavePNG(sheet, "resources/textures/test-sheet.png"), 0);
    SDL_FreeSurface(sheet);

    Canvas canvas;
    Entity body(0, 0, 0, 0, canvas.renderer);
    body.setPosition(10, 10);
    body.setSource(2, 2);
    body.getTexture()->setup(20, 20, canvas.renderer);
    ASSERT_TRUE(body.getTexture()->loadFromFile("test-sheet.png"));
    body.render(1, 0, false);
    EXPECT_TRUE(sameColour(canvas.pixel(15, 15), 0, 0, 220));
    EXPECT_TRUE(sameColour(canvas.pixel(31, 15), 0, 0, 0));  // drawn at the texture's 20 x 20
    body.render(0, 0, true);  // velocity 0: not flipped
    EXPECT_TRUE(sameColour(canvas.pixel(15, 15), 220, 0, 0));
}
