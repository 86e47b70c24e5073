#include <SDL_image.h>
#include <gtest/gtest.h>

#include <list>
#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "enemies/Enemy.h"
#include "enemies/Robor.h"
#include "enemies/Roborto.h"
#include "enemies/Robro.h"
#include "enemies/Romo.h"
#include "enemies/Roo.h"
#include "enemies/Waves.h"

namespace {
struct KindFacts {
    ENEMY_TYPE type;
    int width;
    int height;
    float speed;
    int hp;
    int difficulty;
    const char* image;
    int frameWidth;
    int frameHeight;
    const char* failureMessage;
};

const KindFacts KINDS[] = {
    {robor, 36, 75, 375.0f, 1, 1, "robor.png", 8, 16, "Could not load enemy texture!"},
    {roborto, 42, 75, 375.0f, 2, 2, "roborto.png", 18, 32, "Could not load enemy texture!"},
    {robro, 28, 75, 450.0f, 1, 2, "robro.png", 12, 32, "Could not load robro texture!"},
    {romo, 46, 30, 600.0f, 1, 2, "romo.png", 20, 13, "Could not load enemy texture!"},
    {roo, 54, 75, 300.0f, 5, 4, "roo.png", 23, 32, "Could not load enemy texture!"},
};

// A level of `rows` rows, all empty: only its height matters for walking.
State levelOfRows(int rows) {
    State level;
    level.levelHeight = rows * TILE_SIZE;
    level.levelMap.assign(static_cast<std::size_t>(rows), std::vector<int>(12, -1));
    return level;
}

// A bare walker (the default behaviour) on a body of the default size.
struct Walker {
    explicit Walker(int x, int y) : enemy(&body) {
        body.setDimensions(enemy.getWidth(), enemy.getHeight());
        body.setPosition(x, y);
        body.spawned = true;
    }
    Entity body;
    Enemy enemy;
};

// The shipped picture of a kind, in a format whose pixels can be read.
struct LoadedPicture {
    explicit LoadedPicture(const std::string& file) {
        SDL_Surface* loaded = IMG_Load(("resources/textures/" + file).c_str());
        surface = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA8888, 0);
        SDL_FreeSurface(loaded);
    }
    ~LoadedPicture() { SDL_FreeSurface(surface); }
    LoadedPicture(const LoadedPicture&) = delete;
    LoadedPicture& operator=(const LoadedPicture&) = delete;

    SDL_Color at(int x, int y) const {
        SDL_Color c;
        SDL_GetRGBA(static_cast<Uint32*>(surface->pixels)[y * (surface->pitch / 4) + x], surface->format, &c.r, &c.g,
                    &c.b, &c.a);
        return c;
    }
    SDL_Surface* surface = nullptr;
};

// Which frame of the sheet the canvas shows at the body's rectangle (on a
// black canvas), judged at the centre of every source pixel: the frame that
// matches most pixels, with the share of pixels it matches.
std::pair<int, double> drawnFrame(const Canvas& canvas, const LoadedPicture& picture, const SDL_Rect& at, int frameWidth,
                                  int frameHeight, bool mirrored) {
    const int frames = picture.surface->w / frameWidth;
    int best = -1;
    int bestMatches = -1;
    for (int frame = 0; frame < frames; ++frame) {
        int matches = 0;
        for (int sy = 0; sy < frameHeight; ++sy) {
            for (int sx = 0; sx < frameWidth; ++sx) {
                SDL_Color expected = picture.at(frame * frameWidth + sx, sy);
                if (sameColour(expected, 0, 255, 255, 0)) expected = SDL_Color{0, 0, 0, 255};
                int dx = (2 * sx + 1) * at.w / (2 * frameWidth);
                const int dy = (2 * sy + 1) * at.h / (2 * frameHeight);
                if (mirrored) dx = at.w - 1 - dx;
                matches += sameColour(canvas.pixel(at.x + dx, at.y + dy), expected.r, expected.g, expected.b, 3);
            }
        }
        if (matches > bestMatches) {
            bestMatches = matches;
            best = frame;
        }
    }
    return {best, static_cast<double>(bestMatches) / (frameWidth * frameHeight)};
}
}  // namespace

TEST(EnemyKinds, EachKindSetsUpItsBodyAndReportsItsNumbers) {
    Canvas canvas;
    for (const KindFacts& kind : KINDS) {
        SCOPED_TRACE(kind.image);
        Entity body(nullptr, gameRenderer, enemyHealth(kind.type));
        std::unique_ptr<Enemy> enemy = makeEnemy(kind.type, &body);
        EXPECT_EQ(enemy->getType(), kind.type);
        EXPECT_EQ(enemy->getDifficulty(), kind.difficulty);
        EXPECT_EQ(enemyDifficulty(kind.type), kind.difficulty);
        EXPECT_EQ(body.getHP(), kind.hp);
        EXPECT_FLOAT_EQ(enemy->getXVelocity(), kind.speed);
        EXPECT_EQ(enemy->getWidth(), kind.width);
        EXPECT_EQ(enemy->getHeight(), kind.height);
        EXPECT_EQ(body.getRect().w, kind.width);
        EXPECT_EQ(body.getRect().h, kind.height);
        EXPECT_EQ(body.srcWidth, kind.frameWidth);
        EXPECT_EQ(body.srcHeight, kind.frameHeight);
        EXPECT_EQ(body.getTexture()->getWidth(), kind.width);  // every frame drawn stretched to the body
        EXPECT_EQ(body.getTexture()->getHeight(), kind.height);
        EXPECT_NE(body.getTexture()->getTexture(), nullptr);
        EXPECT_EQ(enemy->getEntity(), &body);
        EXPECT_FALSE(enemy->didAlreadyCollide());

        // One frame per hit point in the shipped picture.
        const LoadedPicture picture(kind.image);
        EXPECT_EQ(picture.surface->w, kind.frameWidth * kind.hp);
        EXPECT_EQ(picture.surface->h, kind.frameHeight);
    }
    EXPECT_EQ(Robor::health, 1);
    EXPECT_EQ(Roborto::health, 2);
    EXPECT_EQ(Roo::health, 5);
}

TEST(EnemyKinds, MissingPictureIsLoggedWithTheKindsMessageAndTheRobotStillPlays) {
    for (const KindFacts& kind : KINDS) {
        SCOPED_TRACE(kind.image);
        LogCapture log;
        Entity body(nullptr, nullptr, enemyHealth(kind.type));  // no renderer: the picture cannot be made
        std::unique_ptr<Enemy> enemy = makeEnemy(kind.type, &body);
        EXPECT_TRUE(log.contains(kind.failureMessage));
        EXPECT_EQ(log.count("Could not load"), 1);
        EXPECT_EQ(body.getRect().w, kind.width);
        EXPECT_EQ(body.getRect().h, kind.height);
        EXPECT_EQ(enemy->getDifficulty(), kind.difficulty);
    }
}

TEST(EnemyKinds, DestroyingARobotLeavesItsBody) {
    Canvas canvas;
    Entity body(nullptr, gameRenderer, Roo::health);
    { std::unique_ptr<Enemy> enemy = makeEnemy(roo, &body); }
    EXPECT_EQ(body.getHP(), 5);
    EXPECT_EQ(body.getRect().w, 54);
}

TEST(EnemyDrawing, ShowsTheFrameOfItsRemainingHitPointsMirroredWhenWalkingLeft) {
    Canvas canvas;
    const LoadedPicture picture("roo.png");
    Entity body(nullptr, gameRenderer, Roo::health);
    Roo roo(&body);
    body.setPosition(100, 200);
    for (int hp = 5; hp >= 1; --hp) {
        SCOPED_TRACE(hp);
        canvas.clear(0, 0, 0);
        roo.render();
        const auto [frame, share] = drawnFrame(canvas, picture, body.getRect(), 23, 32, false);
        EXPECT_EQ(frame, hp - 1);
        EXPECT_GT(share, 0.95);
        body.damage(1);
    }

    Entity chaserBody(nullptr, gameRenderer, Roborto::health);
    Roborto chaser(&chaserBody);
    const LoadedPicture chaserPicture("roborto.png");
    chaserBody.setPosition(400, 300);
    chaserBody.setXVelocity(-375);
    canvas.clear(0, 0, 0);
    chaser.render();
    auto [frame, share] = drawnFrame(canvas, chaserPicture, chaserBody.getRect(), 18, 32, true);
    EXPECT_EQ(frame, 1);
    EXPECT_GT(share, 0.95);
    // Nothing spills outside the body's rectangle.
    EXPECT_TRUE(sameColour(canvas.pixel(399, 330), 0, 0, 0));
    EXPECT_TRUE(sameColour(canvas.pixel(442, 330), 0, 0, 0));
}

TEST(EnemyKnife, OneContactCountsOnceUntilTheKnifeLetsGo) {
    Entity body;
    Enemy enemy(&body);
    EXPECT_FALSE(enemy.didAlreadyCollide());
    enemy.knifeColliding();
    EXPECT_TRUE(enemy.didAlreadyCollide());
    enemy.knifeColliding();
    EXPECT_TRUE(enemy.didAlreadyCollide());
    enemy.knifeNotColliding();
    EXPECT_FALSE(enemy.didAlreadyCollide());
}

TEST(EnemyWalking, ChoosesItsSideOnEnteringByTheWindowsMiddle) {
    State level = levelOfRows(10);
    std::list<Platform*> none;
    Walker left(600, 100);
    left.enemy.move(0.0f, none, level);
    EXPECT_FLOAT_EQ(left.body.getXVelocity(), 375.0f);
    EXPECT_FALSE(left.body.justSpawned);

    Walker right(601, 100);
    right.enemy.move(0.0f, none, level);
    EXPECT_FLOAT_EQ(right.body.getXVelocity(), -375.0f);

    // The choice is made once per life: crossing the middle does not turn it round.
    left.body.setPosition(900, 100);
    left.enemy.move(0.0f, none, level);
    EXPECT_FLOAT_EQ(left.body.getXVelocity(), 375.0f);

    // Each kind walks at its own speed.
    Canvas canvas;
    Entity romoBody(nullptr, gameRenderer, Romo::health);
    Romo romo(&romoBody);
    romoBody.setPosition(800, 100);
    romo.move(0.0f, none, level);
    EXPECT_FLOAT_EQ(romoBody.getXVelocity(), -600.0f);
}

TEST(EnemyWalking, WalksOffPlatformEndsFallsAndLands) {
    Canvas canvas;
    State level = levelOfRows(10);
    // Tile at window x 120..240 with its top at y 214; another far below.
    std::list<Platform> owned;
    owned.emplace_back(80, 143, gameRenderer);
    owned.emplace_back(80, 543, gameRenderer);  // top at 814
    std::list<Platform*> platforms;
    for (Platform& p : owned) platforms.push_back(&p);

    Walker walker(200, 214 - 75);
    walker.enemy.move(0.016f, platforms, level);  // enters left of the middle: walks right
    EXPECT_EQ(walker.body.getRect().x, 206);
    EXPECT_EQ(walker.body.getRect().y, 139);  // standing on the tile
    for (int i = 0; i < 10; ++i) walker.enemy.move(0.016f, platforms, level);
    EXPECT_GT(walker.body.getRect().y, 139);  // past the end: falling
    EXPECT_FLOAT_EQ(walker.body.getXVelocity(), 375.0f);

    // Dropped onto the lower tile it stands again.
    walker.body.setPosition(150, 700);
    walker.body.setYVelocity(900);
    for (int i = 0; i < 5; ++i) walker.enemy.move(0.016f, platforms, level);
    EXPECT_EQ(walker.body.getRect().y, 814 - 75);
    EXPECT_FLOAT_EQ(walker.body.getYVelocity(), 0.0f);
}

TEST(EnemyWalking, WrapsAroundTheWindowSidesKeepingItsHeight) {
    State level = levelOfRows(10);
    std::list<Platform*> none;
    const float dt = 0.0625f;  // 375 px/s covers exactly 23.4375 px

    Walker edgeRight(1177, 300);
    edgeRight.body.justSpawned = false;
    edgeRight.body.setXVelocity(375);
    edgeRight.enemy.move(dt, none, level);  // reaches 1200
    EXPECT_EQ(edgeRight.body.getRect().x, 15);
    EXPECT_EQ(edgeRight.body.getRect().y, 300);

    Walker nearRight(1176, 300);
    nearRight.body.justSpawned = false;
    nearRight.body.setXVelocity(375);
    nearRight.enemy.move(dt, none, level);  // 1199: still inside
    EXPECT_EQ(nearRight.body.getRect().x, 1199);

    Walker edgeLeft(24, 300);
    edgeLeft.body.justSpawned = false;
    edgeLeft.body.setXVelocity(-375);
    edgeLeft.enemy.move(dt, none, level);  // reaches 0, not below it
    EXPECT_EQ(edgeLeft.body.getRect().x, 1185);
    EXPECT_EQ(edgeLeft.body.getRect().y, 300);

    Walker nearLeft(25, 300);
    nearLeft.body.justSpawned = false;
    nearLeft.body.setXVelocity(-375);
    nearLeft.enemy.move(dt, none, level);
    EXPECT_EQ(nearLeft.body.getRect().x, 1);
}

TEST(EnemyWalking, LeavesThroughTheFloorAndPicksASideAgainWhenPlacedAnew) {
    State level = levelOfRows(5);  // 600 px tall
    level.camY = -120;             // scrolled down one tile: the floor is at window y 480
    std::list<Platform*> none;
    Walker walker(300, 470);
    walker.enemy.move(0.0f, none, level);
    EXPECT_TRUE(walker.body.isSpawned());
    walker.body.setYVelocity(1200);
    walker.enemy.move(1.0f / 60.0f, none, level);  // y 490: out of the level
    EXPECT_FALSE(walker.body.isSpawned());
    EXPECT_TRUE(walker.body.justSpawned);

    // Placed again on the right half, it now walks left.
    walker.body.setPosition(900, 100);
    walker.body.spawned = true;
    walker.enemy.move(0.0f, none, level);
    EXPECT_FLOAT_EQ(walker.body.getXVelocity(), -375.0f);

    Walker above(300, 478);
    above.enemy.move(0.0f, none, level);
    EXPECT_TRUE(above.body.isSpawned());
}

TEST(EdgeSearch, CountsTilesToTheFirstGapOrGivesMinusOne) {
    State level = levelOfRows(3);
    // Row 1: solid from column 2 to 10, empty at 0, 1 and 11.
    for (int c = 2; c <= 10; ++c) level.levelMap[1][c] = 0;
    EXPECT_EQ(Enemy::findEdgeRight(5, 1, level), 6);
    EXPECT_EQ(Enemy::findEdgeLeft(5, 1, level), 4);
    EXPECT_EQ(Enemy::findEdgeRight(10, 1, level), 1);  // the neighbour is already empty
    EXPECT_EQ(Enemy::findEdgeLeft(1, 1, level), 1);
    EXPECT_EQ(Enemy::findEdgeRight(11, 1, level), -1);  // nothing further right
    EXPECT_EQ(Enemy::findEdgeLeft(0, 1, level), -1);

    level.levelMap[1][11] = 2;  // spawn and player cells are platforms too
    level.levelMap[1][1] = 1;
    level.levelMap[1][0] = 0;
    EXPECT_EQ(Enemy::findEdgeRight(10, 1, level), -1);
    EXPECT_EQ(Enemy::findEdgeLeft(5, 1, level), -1);
    // The start cell is never looked at.
    EXPECT_EQ(Enemy::findEdgeRight(0, 0, level), 1);
}

TEST(EdgeSearch, ReadsNothingOutsideTheMap) {
    State level = levelOfRows(2);
    level.levelMap[0].assign(12, 0);
    level.levelMap[1].resize(4, 0);  // a short row: the missing cells are empty
    level.levelMap[1][0] = 0;
    level.levelMap[1][1] = 0;
    level.levelMap[1][2] = 0;
    level.levelMap[1][3] = 0;
    EXPECT_EQ(Enemy::findEdgeRight(1, 1, level), 3);
    // Rows above and below the map are empty everywhere.
    EXPECT_EQ(Enemy::findEdgeRight(4, -1, level), 1);
    EXPECT_EQ(Enemy::findEdgeLeft(4, 2, level), 1);
    EXPECT_EQ(Enemy::findEdgeRight(4, 500, level), 1);
    // Columns beyond either end.
    EXPECT_EQ(Enemy::findEdgeRight(15, 0, level), -1);
    EXPECT_EQ(Enemy::findEdgeLeft(-3, 0, level), -1);
    EXPECT_EQ(Enemy::findEdgeRight(-5, 0, level), 1);
    EXPECT_EQ(Enemy::findEdgeRight(-1, 0, level), -1);  // column 0 onward is solid
    EXPECT_EQ(Enemy::findEdgeLeft(14, 0, level), 1);  // column 13 is off the map: empty

    State empty;
    EXPECT_EQ(Enemy::findEdgeRight(3, 0, empty), 1);
    EXPECT_TRUE(Enemy::isEmptyCell(3, 0, empty));
}
