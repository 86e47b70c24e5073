// Feeds arbitrary bytes to the level loader and checks that what it builds
// agrees with the file: the map, the platforms and the spawn points, cell by
// cell. Any disagreement aborts, so libFuzzer keeps the input as a crash.

#include <SDL.h>

#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <list>
#include <sstream>
#include <string>
#include <vector>

#include "platform/Game.h"
#include "platform/GlobalConstants.h"
#include "world/Level.h"

namespace {

int badCellLines = 0;

// Platforms without a renderer log on every tile: count what matters, print nothing.
void countBadCells(void*, int, SDL_LogPriority, const char* message) {
    if (std::strstr(message, "is not a number") != nullptr) ++badCellLines;
}

void check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "level fuzzer: broken: %s\n", what);
    std::abort();
}

bool sameRect(const SDL_Rect& a, const SDL_Rect& b) { return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h; }

// What std::getline yields from `text` split at `separator`: a trailing empty piece is not read.
std::vector<std::string> pieces(const std::string& text, char separator) {
    std::vector<std::string> result;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find(separator, start);
        if (end == std::string::npos) {
            result.push_back(text.substr(start));
            break;
        }
        result.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return result;
}

// The cell as the C library reads an int in base 10; nothing when it is no number or out of range.
bool readInt(const std::string& cell, int& value) {
    const char* begin = cell.c_str();
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(begin, &end, 10);
    if (end == begin || errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX) return false;
    value = static_cast<int>(parsed);
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    SDL_LogSetOutputFunction(countBadCells, nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    // The expected map, worked out independently of the loader.
    std::vector<std::string> lines = pieces(text, '\n');
    if (lines.size() > static_cast<std::size_t>(LEVEL_MAX_ROWS)) lines.resize(LEVEL_MAX_ROWS);
    std::vector<std::vector<int>> expected;
    int expectedBadCells = 0;
    for (const std::string& line : lines) {
        std::vector<std::string> cells = pieces(line, ',');
        cells.resize(LEVEL_COLUMNS);
        std::vector<int> row;
        for (const std::string& cell : cells) {
            int value = -1;
            if (!readInt(cell, value)) ++expectedBadCells;
            row.push_back(value >= 0 && value <= 2 ? value : -1);
        }
        expected.push_back(row);
    }

    std::list<Platform> platforms;
    std::vector<Spawn> enemySpawns;
    std::vector<Spawn> playerSpawns;
    std::istringstream input(text);
    badCellLines = 0;
    state.levelMap = {{7}};  // stale map from an earlier level must go
    state.levelHeight = -1;
    loadLevelFromStream(input, "fuzz.csv", platforms, enemySpawns, playerSpawns);

    const int rows = static_cast<int>(expected.size());
    check(static_cast<int>(state.levelMap.size()) == rows, "one map row per row read");
    check(rows <= LEVEL_MAX_ROWS, "at most 100 rows");
    check(state.levelHeight == rows * TILE_SIZE, "level height = rows x 80");
    check(badCellLines == expectedBadCells, "one log line per cell that is not a number");

    std::size_t tiles = 0;
    std::size_t heroes = 0;
    std::size_t robots = 0;
    for (int i = 0; i < rows; ++i) {
        check(state.levelMap[i].size() == static_cast<std::size_t>(LEVEL_COLUMNS), "12 cells per map row");
        for (int j = 0; j < LEVEL_COLUMNS; ++j) {
            const int code = state.levelMap[i][j];
            check(code >= -1 && code <= 2, "map values are -1, 0, 1 or 2");
            check(code == expected[i][j], "map value matches the cell's number");
            if (code != -1) ++tiles;
            if (code == 1) ++heroes;
            if (code == 2) ++robots;
        }
    }
    check(platforms.size() == tiles, "one platform per 0, 1 and 2 cell");
    check(playerSpawns.size() == heroes, "one player spawn per 1 cell");
    check(enemySpawns.size() == robots, "one enemy spawn per 2 cell");

    // Everything in reading order, each where its cell says.
    auto platform = platforms.cbegin();
    auto hero = playerSpawns.cbegin();
    auto robot = enemySpawns.cbegin();
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < LEVEL_COLUMNS; ++j) {
            const int code = state.levelMap[i][j];
            if (code == -1) continue;
            const int m = j - 1;
            const SDL_Rect tile{scale(TILE_SIZE * m), scale(TILE_SIZE * i + 63), scale(80), scale(17)};
            check(sameRect(platform->getPlatformRect(), tile), "platform at the bottom of its tile");
            ++platform;
            if (code == 1) {
                const SDL_Rect area{scale(TILE_SIZE * m - 25), scale(TILE_SIZE * i + 3), scale(50), scale(60)};
                check(sameRect(hero->getRect(), area) && hero->getType() == 1, "player spawn on its tile");
                ++hero;
            } else if (code == 2) {
                const SDL_Rect area{scale(TILE_SIZE * m + 15), scale(TILE_SIZE * i + 13), scale(50), scale(50)};
                check(sameRect(robot->getRect(), area) && robot->getType() == 2, "enemy spawn on its tile");
                ++robot;
            }
        }
    }

    state.levelMap.clear();
    state.levelHeight = 0;
    return 0;
}
