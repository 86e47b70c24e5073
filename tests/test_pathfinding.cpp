#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <initializer_list>
#include <list>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "enemies/Roborto.h"

namespace {
// A level map from text, top row first: '#' a platform tile, anything else empty.
State mapOf(std::initializer_list<std::string> rows) {
    State level;
    for (const std::string& text : rows) {
        std::vector<int> row;
        for (char c : text) row.push_back(c == '#' ? 0 : -1);
        level.levelMap.push_back(row);
    }
    level.levelHeight = static_cast<int>(level.levelMap.size()) * TILE_SIZE;
    return level;
}

// Column c covers window x from (c - 1) * 120; a body standing on row r's
// platform has its top at r * 120 + 19.
int columnX(int column, int offset = 30) { return (column - 1) * TILE_SIZE_SCALED + offset; }
int standingY(int row) { return row * TILE_SIZE_SCALED + 19; }

void placePlayer(State& level, int column, int row, int offset = 30) {
    level.playerX = columnX(column, offset);
    level.playerTileX = level.playerX / TILE_SIZE_SCALED + 1;
    level.playerTileY = row;
}

class Chaser : public ::testing::Test {
protected:
    Chaser() : body(nullptr, gameRenderer, Roborto::health), roborto(&body) { body.spawned = true; }

    void standOn(int column, int row, float velocity = 0.0f, int offset = 30) {
        body.setPosition(columnX(column, offset), standingY(row));
        body.setXVelocity(velocity);
    }
    // One frame without time passing: only the decision runs.
    float decide(State& level) {
        roborto.move(0.0f, none, level);
        return body.getXVelocity();
    }
    void weights(State& level, int x, int y, bool firstCall = false) {
        roborto.pathFind(x, y, left, right, level, firstCall);
    }

    Canvas canvas;
    Entity body;
    Roborto roborto;
    std::list<Platform*> none;
    int left = -7;
    int right = -7;
};

const float SPEED = 375.0f;
}  // namespace

TEST_F(Chaser, SameRowWithSolidGroundBetweenHeadsStraightForTheHero) {
    State level = mapOf({"............", ".##########."});
    placePlayer(level, 8, 1);
    standOn(3, 1);
    weights(level, 3, 1, true);
    EXPECT_EQ(left, 1000);
    EXPECT_EQ(right, 0);
    EXPECT_FLOAT_EQ(decide(level), SPEED);

    placePlayer(level, 1, 1);
    standOn(5, 1, SPEED);
    weights(level, 5, 1, true);
    EXPECT_EQ(left, 0);
    EXPECT_EQ(right, 1000);
    EXPECT_FLOAT_EQ(decide(level), -SPEED);

    // Next to the hero there is no cell between them to look at.
    placePlayer(level, 6, 1);
    standOn(5, 1);
    weights(level, 5, 1, true);
    EXPECT_EQ(right, 0);
}

TEST_F(Chaser, SameRowWithAGapBetweenMakesForTheNearerEndOfItsPlatform) {
    State level = mapOf({"............", ".####.####.."});
    placePlayer(level, 2, 1);
    standOn(7, 1, SPEED);
    weights(level, 7, 1, true);
    EXPECT_EQ(left, 1000);
    EXPECT_EQ(right, 1000);
    EXPECT_FLOAT_EQ(decide(level), -SPEED);  // 2 tiles to the left end, 3 to the right

    standOn(8, 1, -SPEED);
    EXPECT_FLOAT_EQ(decide(level), SPEED);  // 3 to the left, 2 to the right

    // A platform of three with the robot in the middle: both ends 2 tiles away.
    State middle = mapOf({"............", ".####.###..."});
    placePlayer(middle, 2, 1);
    standOn(7, 1, -SPEED);
    EXPECT_FLOAT_EQ(decide(middle), -SPEED);  // keeps going
    standOn(7, 1, SPEED);
    EXPECT_FLOAT_EQ(decide(middle), SPEED);
    standOn(7, 1, 0.0f);
    EXPECT_FLOAT_EQ(decide(middle), SPEED);  // standing still: starts to the right
}

TEST_F(Chaser, OnTheHerosOwnTileThePixelsDecide) {
    State level = mapOf({"............", "############"});
    standOn(4, 1, 0.0f, 50);  // x 410
    placePlayer(level, 4, 1, 80);
    EXPECT_FLOAT_EQ(decide(level), SPEED);
    placePlayer(level, 4, 1, 20);
    EXPECT_FLOAT_EQ(decide(level), -SPEED);
    placePlayer(level, 4, 1, 50);  // exactly level with it
    weights(level, 4, 1, true);
    EXPECT_EQ(right, 0);
    EXPECT_EQ(left, 1000);
    EXPECT_FLOAT_EQ(decide(level), SPEED);

    // Deeper in the search only columns count: same column means right.
    placePlayer(level, 4, 1, 20);
    weights(level, 4, 1, false);
    EXPECT_EQ(right, 0);
}

TEST_F(Chaser, BelowTheHerosRowItCannotClimbAndDropsOffTheNearerEnd) {
    State level = mapOf({"############", ".......####.", "............"});
    placePlayer(level, 3, 0);
    standOn(9, 1, -SPEED);
    weights(level, 9, 1, true);
    EXPECT_EQ(left, 1000);
    EXPECT_EQ(right, 1000);
    EXPECT_FLOAT_EQ(decide(level), SPEED);  // right end 2 tiles away, left 3

    // A row solid from wall to wall: no end either way, so it keeps its heading.
    State walled = mapOf({"............", "............", "############"});
    placePlayer(walled, 3, 0);
    standOn(6, 2, -SPEED);
    EXPECT_FLOAT_EQ(decide(walled), -SPEED);
    standOn(6, 2, 0.0f);
    EXPECT_FLOAT_EQ(decide(walled), SPEED);
}

TEST_F(Chaser, FindsTheWayDownThroughAGapToTheHerosRow) {
    // Solid to the left end; a gap two tiles to the right drops straight to the hero's row.
    State level = mapOf({"#####.......", "............", ".....###...."});
    placePlayer(level, 8, 2);
    standOn(3, 0, -SPEED);
    weights(level, 3, 0, true);
    EXPECT_EQ(right, 2);
    EXPECT_EQ(left, 1000);
    EXPECT_FLOAT_EQ(decide(level), SPEED);
}

TEST_F(Chaser, PrefersTheCheaperWayOverTheNearerGap) {
    // The right gap is nearer but leads to a ledge from which every way falls
    // out of the level; the left gap lands on the hero's row.
    State level = mapOf({".########...", "........###.", "######......"});
    placePlayer(level, 2, 2);
    standOn(5, 0, SPEED);
    weights(level, 5, 0, true);
    EXPECT_EQ(left, 5);
    EXPECT_GE(right, 1000);
    EXPECT_FLOAT_EQ(decide(level), -SPEED);

    // From the ledge both ways fall past the bottom of the map.
    weights(level, 9, 1);
    EXPECT_GE(left, 1000);
    EXPECT_GE(right, 1000);
}

TEST_F(Chaser, EqualWaysKeepTheHeadingOrStartToTheRight) {
    State level = mapOf({"....###.....", "############"});
    placePlayer(level, 5, 1);
    weights(level, 5, 0, true);
    EXPECT_EQ(left, 2);
    EXPECT_EQ(right, 2);
    standOn(5, 0, -SPEED);
    EXPECT_FLOAT_EQ(decide(level), -SPEED);
    standOn(5, 0, SPEED);
    EXPECT_FLOAT_EQ(decide(level), SPEED);
    standOn(5, 0, 0.0f);
    EXPECT_FLOAT_EQ(decide(level), SPEED);
}

TEST_F(Chaser, DecidesNothingWhileFallingAndNothingOnEntering) {
    State level = mapOf({"............", "############"});
    placePlayer(level, 9, 1);
    standOn(5, 0, -SPEED);  // its top-left cell is empty: in the air
    EXPECT_FLOAT_EQ(decide(level), -SPEED);

    // A freshly placed body stands still until it has ground underfoot.
    standOn(5, 0, 0.0f);
    body.justSpawned = true;
    EXPECT_FLOAT_EQ(decide(level), 0.0f);

    standOn(5, 1, -SPEED);
    EXPECT_FLOAT_EQ(decide(level), SPEED);
}

TEST_F(Chaser, AHeroBelowTheMapIsOutOfReach) {
    // Every way down falls out of the bottom of the map. Counting such a fall
    // as reaching the hero would send the robot the long way to the left.
    State level = mapOf({"...#####....", "....########"});
    placePlayer(level, 5, 2);  // one row below the last
    weights(level, 6, 0, true);
    EXPECT_GE(left, 1000);
    EXPECT_GE(right, 1000);
    standOn(6, 0, -SPEED);
    EXPECT_FLOAT_EQ(decide(level), SPEED);  // nearer end: 2 tiles right against 4 left

    // Asked about the row just past the map directly.
    weights(level, 3, 2, true);
    EXPECT_EQ(left, 1000);
    EXPECT_EQ(right, 1000);

    level.playerTileY = 40;
    weights(level, 6, 0, true);
    EXPECT_GE(left, 1000);
    EXPECT_GE(right, 1000);
}

TEST_F(Chaser, PositionsOffTheMapFindNoWay) {
    State level = mapOf({"............", "############", "............"});
    placePlayer(level, 3, 1);
    standOn(5, 0);
    const int cells[][2] = {{5, -1}, {5, 3}, {5, 100}, {-4, 1}, {15, 1}, {-4, 0}, {14, 0}, {-40, -40}};
    for (const auto& cell : cells) {
        SCOPED_TRACE(std::to_string(cell[0]) + "," + std::to_string(cell[1]));
        weights(level, cell[0], cell[1]);
        EXPECT_GE(left, 1000);
        EXPECT_GE(right, 1000);
    }

    // A short row: its missing cells are gaps.
    State ragged = mapOf({"............", "#####"});
    placePlayer(ragged, 8, 1);
    weights(ragged, 2, 1);
    EXPECT_EQ(left, 1000);
    EXPECT_EQ(right, 1000);

    // Bodies far outside the map decide nothing and are brought back in.
    body.setPosition(-500, standingY(1));
    body.setXVelocity(-SPEED);
    EXPECT_FLOAT_EQ(decide(level), -SPEED);
    EXPECT_EQ(body.getRect().x, 1185);
    body.setPosition(300, -400);
    EXPECT_FLOAT_EQ(decide(level), -SPEED);

    State empty;
    placePlayer(empty, 3, 0);
    standOn(5, 0, SPEED);
    EXPECT_FLOAT_EQ(decide(empty), SPEED);
}

TEST_F(Chaser, WrapsAndLeavesThroughTheFloorLikeEveryRobot) {
    State level = mapOf({"............", "............"});
    placePlayer(level, 3, 0);
    body.setPosition(1177, 10);
    body.setXVelocity(SPEED);
    roborto.move(0.0625f, none, level);
    EXPECT_EQ(body.getRect().x, 15);
    EXPECT_EQ(body.getRect().y, 10);

    body.setPosition(300, 235);
    body.setYVelocity(600);
    roborto.move(0.0625f, none, level);  // y 272.5: below the 240-pixel level
    EXPECT_FALSE(body.isSpawned());
    EXPECT_TRUE(body.justSpawned);
}

TEST_F(Chaser, ATallZigzagOfLedgesIsSearchedWithinAFrame) {
    // Every ledge drops onto two ledges of the row below, so the number of ways
    // down doubles with each row; the ways meet again at the same ledges.
    std::vector<std::string> rows;
    for (int r = 0; r < 29; ++r) rows.push_back(r % 2 == 0 ? "..##..##..##" : "##..##..##..");
    rows.push_back("############");
    State level;
    for (const std::string& text : rows) {
        std::vector<int> row;
        for (char c : text) row.push_back(c == '#' ? 0 : -1);
        level.levelMap.push_back(row);
    }
    level.levelHeight = static_cast<int>(rows.size()) * TILE_SIZE;
    placePlayer(level, 6, 29);
    standOn(2, 0);

    const auto start = std::chrono::steady_clock::now();
    weights(level, 2, 0, true);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(std::min(left, right), 29);  // one tile to a gap on every ledge
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 100);
}
