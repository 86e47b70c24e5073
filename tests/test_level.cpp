#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <list>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "TestSupport.h"
#include "platform/Game.h"
#include "platform/Resources.h"
#include "world/Level.h"

namespace {
struct LoadedLevel {
    std::list<Platform> platforms;
    std::vector<Spawn> enemySpawns;
    std::vector<Spawn> playerSpawns;
};

std::string writeLevel(const std::string& name, const std::string& contents) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() / ("zelvane-test-" + std::to_string(getpid()) + "-" + name);
    std::ofstream(path) << contents;
    return path.string();
}


std::string rows(int count, const std::string& row = EMPTY_ROW) {
    std::string text;
    for (int i = 0; i < count; ++i) text += row;
    return text;
}

void load(const std::string& path, LoadedLevel& level) {
    loadLevelFromCSV(path, level.platforms, level.enemySpawns, level.playerSpawns);
}
}  // namespace

// Tiles need a renderer; what a load leaves in the state record (map, height) is put back afterwards.
class LevelLoading : public ::testing::Test, protected TestGame {
protected:
    LevelLoading() : TestGame({.run = false, .interface = false, .world = false}) {}
};

TEST_F(LevelLoading, RowOfPlatformsBecomesTilesAndMapValues) {
    LoadedLevel level;
    load(writeLevel("row.csv", "-1,-1,0,0,0,0,0,0,0,0,-1,-1\n"), level);
    ASSERT_EQ(level.platforms.size(), 8u);
    int x = 120;
    for (Platform& p : level.platforms) {
        EXPECT_EQ(p.getPlatformRect().x, x);
        EXPECT_EQ(p.getPlatformRect().y, 94);
        x += 120;
    }
    ASSERT_EQ(state.levelMap.size(), 1u);
    EXPECT_EQ(state.levelMap[0], (std::vector<int>{-1, -1, 0, 0, 0, 0, 0, 0, 0, 0, -1, -1}));
    EXPECT_EQ(state.levelHeight, 80);
}

TEST_F(LevelLoading, SpawnCellsMakeASpawnAndThePlatformUnderIt) {
    LoadedLevel level;
    load(writeLevel("spawns.csv", "-1,1,-1,3,-7,-1,-1,-1,-1,-1,2,-1\n" + EMPTY_ROW), level);
    ASSERT_EQ(level.playerSpawns.size(), 1u);
    const SDL_Rect hero = level.playerSpawns[0].getRect();
    EXPECT_EQ(hero.x, -37);
    EXPECT_EQ(hero.y, 4);
    EXPECT_EQ(hero.w, 75);
    EXPECT_EQ(hero.h, 90);
    EXPECT_EQ(level.playerSpawns[0].getType(), 1);

    ASSERT_EQ(level.enemySpawns.size(), 1u);
    const SDL_Rect robot = level.enemySpawns[0].getRect();
    EXPECT_EQ(robot.x, scale(80 * 9 + 15));
    EXPECT_EQ(robot.y + robot.h, 94);  // stands on its platform
    EXPECT_EQ(robot.w, 75);

    ASSERT_EQ(level.platforms.size(), 2u);
    EXPECT_EQ(level.platforms.front().getPlatformRect().x, 0);
    EXPECT_EQ(level.platforms.front().getPlatformRect().y, 94);
    EXPECT_EQ(hero.y + hero.h, 94);
    EXPECT_EQ(state.levelMap[0], (std::vector<int>{-1, 1, -1, -1, -1, -1, -1, -1, -1, -1, 2, -1}));
}

TEST_F(LevelLoading, OnlyTheFirstHundredRowsAndTwelveCellsAreUsed) {
    LoadedLevel level;
    LogCapture log;
    const std::string wide = "0,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,0,0,0\n";
    // A trailing comma starts no 13th column.
    const std::string path = writeLevel("long.csv", "0,0,0,0,0,0,0,0,0,0,0,0,\n" + rows(99, wide) + rows(1, "0,0,0,0,0,0,0,0,0,0,0,0\n"));
    load(path, level);
    EXPECT_EQ(state.levelMap.size(), 100u);
    EXPECT_EQ(state.levelHeight, 8000);
    EXPECT_EQ(level.platforms.size(), 111u);  // 12, then one per row: the 13th to 15th cells and the 101st row are ignored
    for (const auto& row : state.levelMap) EXPECT_EQ(row.size(), 12u);
    // Said once for the whole file, with the first row that is too wide.
    EXPECT_EQ(log.count("columns, more than the level's 12"), 1);
    EXPECT_TRUE(log.contains(path + ": row 2 has 15 columns, more than the level's 12; the extra columns are dropped, "
                             "as are those of 98 more rows."));
}

TEST_F(LevelLoading, WhatIsWrongWithAFileIsToldOnceHoweverOftenItIsLoaded) {
    LogCapture log;
    std::string garbage;
    for (int i = 0; i < 3000; ++i) garbage += static_cast<char>((i * 7919) % 251 + 1);
    std::string wideRow = "0";
    for (int j = 1; j < 5000; ++j) wideRow += ",-1";
    const std::string bad = writeLevel("garbage.csv", garbage);
    const std::string wide = writeLevel("wide.csv", "1,2,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1\n" + wideRow + "\n");
    const std::string missing = "/nonexistent/level.csv";
    for (const std::string& path : {bad, wide, missing}) {
        LoadedLevel first;
        load(path, first);
        const std::size_t lines = log.lines.size();
        EXPECT_GT(lines, 0u) << path;
        LoadedLevel again;
        load(path, again);  // the level chosen a second time
        EXPECT_EQ(log.lines.size(), lines) << path << ": " << log.lines.back();
        EXPECT_EQ(again.platforms.size(), first.platforms.size());
        log.lines.clear();
    }

    // The wide row is named with its width, and its first twelve cells are the level's.
    forgetLoggedOnce();
    LoadedLevel level;
    load(wide, level);
    EXPECT_EQ(log.count(wide + ": row 2 has 5000 columns, more than the level's 12; the extra columns are dropped."), 1);
    EXPECT_EQ(state.levelMap[1], (std::vector<int>{0, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1}));

    // A stream (no file of the game) tells all it finds at every load.
    for (int load = 0; load < 2; ++load) {
        std::istringstream input(wideRow + "\n");
        loadLevelFromStream(input, "stream", level.platforms, level.enemySpawns, level.playerSpawns);
    }
    EXPECT_EQ(log.count("stream: row 1 has 5000 columns"), 2);
}

TEST_F(LevelLoading, CarriageReturnsAndSpacesAroundNumbersAreHarmless) {
    LoadedLevel level;
    load(writeLevel("crlf.csv", " 0,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,2\r\n+1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,0\r\n"), level);
    EXPECT_EQ(state.levelMap[0][0], 0);
    EXPECT_EQ(state.levelMap[0][11], 2);
    EXPECT_EQ(state.levelMap[1][0], 1);
    EXPECT_EQ(state.levelMap[1][11], 0);
    EXPECT_EQ(level.platforms.size(), 4u);
}

TEST_F(LevelLoading, BadCellsAreLoggedWithTheirPlaceAndLeftEmpty) {
    LoadedLevel level;
    LogCapture log;
    const std::string path = writeLevel("bad.csv",
                                        "0,x,0,-1,-1,-1,-1,-1,-1,-1,-1,-1\n"
                                        "0,0,0\n"
                                        "0,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,99999999999999999999\n");
    load(path, level);
    ASSERT_EQ(state.levelMap.size(), 3u);
    EXPECT_EQ(state.levelMap[0], (std::vector<int>{0, -1, 0, -1, -1, -1, -1, -1, -1, -1, -1, -1}));
    EXPECT_EQ(state.levelMap[1], (std::vector<int>{0, 0, 0, -1, -1, -1, -1, -1, -1, -1, -1, -1}));
    EXPECT_EQ(state.levelMap[2][11], -1);
    EXPECT_EQ(level.platforms.size(), 6u);
    EXPECT_TRUE(log.contains(path + ": row 1, column 2 is not a number"));
    EXPECT_TRUE(log.contains(path + ": row 2, column 4 is not a number"));
    EXPECT_TRUE(log.contains(path + ": row 2, column 12 is not a number"));
    EXPECT_TRUE(log.contains(path + ": row 3, column 12 is not a number"));
    EXPECT_EQ(log.count("is not a number"), 11);  // one line per bad cell: 1 + 9 + 1
}

TEST_F(LevelLoading, OneSignAtMostBeforeTheDigits) {
    LoadedLevel level;
    LogCapture log;
    const std::string path = writeLevel("signs.csv", "+0,-0,+2,+-0,-+0,--0,++0,+-2,- 0,+ 0,+,-\n");
    load(path, level);
    EXPECT_EQ(state.levelMap[0], (std::vector<int>{0, 0, 2, -1, -1, -1, -1, -1, -1, -1, -1, -1}));
    EXPECT_EQ(level.platforms.size(), 3u);
    EXPECT_TRUE(log.contains(path + ": row 1, column 4 is not a number"));  // "+-0" once made a tile
    EXPECT_EQ(log.count("is not a number"), 9);
}

TEST_F(LevelLoading, LevelsThatLackSpawnPointsSayWhat) {
    LoadedLevel level;
    LogCapture log;
    load(writeLevel("bare.csv", rows(3, "0,0,0,0,0,0,0,0,0,0,0,0\n")), level);
    EXPECT_TRUE(log.contains("has no enemy spawn point"));
    EXPECT_TRUE(log.contains("has no player spawn point"));
    EXPECT_EQ(level.platforms.size(), 36u);
}

TEST_F(LevelLoading, MissingFileGivesAnEmptyLevel) {
    LoadedLevel level;
    state.levelMap = {{0}};
    state.levelHeight = 80;
    LogCapture log;
    load("/nonexistent/level.csv", level);
    EXPECT_TRUE(log.contains("Could not load level file!"));
    EXPECT_EQ(state.levelHeight, 0);
    EXPECT_TRUE(state.levelMap.empty());
    EXPECT_TRUE(level.platforms.empty());
    EXPECT_TRUE(level.enemySpawns.empty());
    EXPECT_TRUE(level.playerSpawns.empty());
    EXPECT_EQ(levelFilePath(0), "");
    EXPECT_EQ(levelFilePath(4), "");
}

// The shipped levels are designed to the rules a level author must follow.
class ShippedLevel : public LevelLoading, public ::testing::WithParamInterface<int> {};

TEST_P(ShippedLevel, FollowsTheLevelDesignRules) {
    const int number = GetParam();
    const std::string path = levelFilePath(number);
    ASSERT_NE(path.find("resources/levels/level" + std::to_string(number) + ".csv"), std::string::npos);
    LoadedLevel level;
    LogCapture log;
    load(path, level);
    EXPECT_FALSE(log.contains("not a number")) << path;
    EXPECT_FALSE(log.contains("Could not load")) << path;

    const int rowCount = static_cast<int>(state.levelMap.size());
    const int minimum[] = {0, 20, 40, 80};
    const int maximum[] = {0, 30, 60, 100};
    EXPECT_GE(rowCount, minimum[number]);
    EXPECT_LE(rowCount, maximum[number]);

    // The hero starts near the top.
    ASSERT_FALSE(level.playerSpawns.empty());
    EXPECT_LE(level.playerSpawns.front().getRect().y / 120, 2);

    std::vector<int> robotSpawnsInRow(rowCount, 0);
    for (int i = 0; i < rowCount; ++i) {
        int gaps = 0;
        int solid = 0;
        for (int j = 0; j < 12; ++j) {
            const int code = state.levelMap[i][j];
            if (code == 2) {
                EXPECT_TRUE(j >= 1 && j <= 10) << "robot spawn off screen at row " << i << " column " << j;
                robotSpawnsInRow[i] += 1;
            }
            if (j >= 1 && j <= 10) (code == -1 ? gaps : solid) += 1;
        }
        if (i < rowCount - 1) {
            EXPECT_GT(gaps, 0) << "row " << i << " has nowhere to drop through";
        } else {
            EXPECT_GE(solid, 8) << "the bottom row should be mostly solid";
        }
    }
    for (int i = 0; i + 6 <= rowCount; ++i) {
        int inView = 0;
        for (int k = i; k < i + 6; ++k) inView += robotSpawnsInRow[k];
        EXPECT_GE(inView, 2) << "rows " << i << " to " << i + 5 << " have fewer than two robot spawns";
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, ShippedLevel, ::testing::Values(1, 2, 3));
