#include "world/Level.h"

#include <SDL.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "platform/Game.h"
#include "platform/GlobalConstants.h"
#include "platform/Resources.h"
#include "world/Texture.h"

namespace {

// Reads a cell as a whole-number code: leading white space, one optional sign
// and digits; whatever follows the digits is ignored ("2\r" reads 2). Cells that
// do not start with a number, and numbers out of range, give nothing.
std::optional<int> parseCell(const std::string& cell) {
    std::size_t i = 0;
    while (i < cell.size() && std::isspace(static_cast<unsigned char>(cell[i]))) ++i;
    if (i < cell.size() && cell[i] == '+') {
        ++i;
        // from_chars takes a minus of its own: "+-0" would otherwise read as a tile.
        if (i < cell.size() && cell[i] == '-') return std::nullopt;
    }
    int value = 0;
    const char* first = cell.data() + i;
    const char* last = cell.data() + cell.size();
    auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc() || end == first) return std::nullopt;
    return value;
}

}  // namespace

void loadLevelFromCSV(const std::string& filePath, std::list<Platform>& platforms, std::vector<Spawn>& enemySpawns,
                      std::vector<Spawn>& playerSpawns) {
    // A file is chosen again and again (each start of its level): what is
    // wrong with it is told once a run.
    std::ifstream file;
    std::error_code error;
    if (std::filesystem::is_directory(filePath, error)) {
        // A folder opens as a file here but reads nothing.
        logOnce(std::string("Could not load level file! ").append(filePath).append(": ").append(std::strerror(EISDIR)));
    } else {
        file.open(filePath);
        if (!file.is_open()) {
            logOnce(std::string("Could not load level file! ").append(filePath).append(": ").append(std::strerror(errno)));
        }
    }
    if (!file.is_open()) file.setstate(std::ios::failbit);
    loadLevelFromStream(file, filePath, platforms, enemySpawns, playerSpawns, true);
}

void loadLevelFromStream(std::istream& input, const std::string& sourceName, std::list<Platform>& platforms,
                         std::vector<Spawn>& enemySpawns, std::vector<Spawn>& playerSpawns, bool onceARun) {
    const auto tell = [onceARun](const std::string& line) {
        if (onceARun) {
            logOnce(line);
        } else {
            SDL_Log("%s", line.c_str());
        }
    };
    const bool opened = static_cast<bool>(input);
    std::vector<std::vector<std::string>> cells;
    std::string line;
    // The first row wider than the level, its width, and how many more there are.
    int longRow = 0;
    std::size_t longRowColumns = 0;
    int moreLongRows = 0;
    while (static_cast<int>(cells.size()) < LEVEL_MAX_ROWS && std::getline(input, line)) {
        std::vector<std::string> row(LEVEL_COLUMNS);
        std::stringstream stream(line);
        std::string cell;
        int j = 0;
        for (; j < LEVEL_COLUMNS && std::getline(stream, cell, ','); ++j) row[j] = cell;
        cells.push_back(std::move(row));
        if (j == LEVEL_COLUMNS && std::getline(stream, cell, ',')) {
            if (longRow == 0) {
                longRow = static_cast<int>(cells.size());
                // As the cells are read: a trailing comma starts no column.
                longRowColumns = static_cast<std::size_t>(std::count(line.begin(), line.end(), ',')) +
                                 (line.back() == ',' ? 0 : 1);
            } else {
                ++moreLongRows;
            }
        }
    }
    if (longRow != 0) {
        std::string said = std::string("Level file ")
                               .append(sourceName)
                               .append(": row ")
                               .append(std::to_string(longRow))
                               .append(" has ")
                               .append(std::to_string(longRowColumns))
                               .append(" columns, more than the level's ")
                               .append(std::to_string(LEVEL_COLUMNS))
                               .append("; the extra columns are dropped");
        if (moreLongRows > 0) said.append(", as are those of ").append(std::to_string(moreLongRows)).append(" more rows");
        tell(said + ".");
    }

    const int rows = static_cast<int>(cells.size());
    state.levelHeight = rows * TILE_SIZE;
    state.levelMap.clear();
    state.levelMap.reserve(cells.size());

    const std::size_t enemySpawnsBefore = enemySpawns.size();
    const std::size_t playerSpawnsBefore = playerSpawns.size();
    for (int i = 0; i < rows; ++i) {
        std::vector<int> mapRow;
        mapRow.reserve(LEVEL_COLUMNS);
        for (int j = 0; j < LEVEL_COLUMNS; ++j) {
            const std::optional<int> code = parseCell(cells[i][j]);
            if (!code) {
                tell(std::string("Level file ")
                         .append(sourceName)
                         .append(": row ")
                         .append(std::to_string(i + 1))
                         .append(", column ")
                         .append(std::to_string(j + 1))
                         .append(" is not a number; the cell is left empty."));
            }
            const int m = j - 1;
            switch (code.value_or(-1)) {
                case 0:
                    platforms.emplace_back(TILE_SIZE * m, TILE_SIZE * i + 63, gameRenderer);
                    mapRow.push_back(0);
                    break;
                case 1:
                    playerSpawns.emplace_back(scale(TILE_SIZE * m - 25), scale(TILE_SIZE * i + 3), scale(50),
                                              scale(60), 1);
                    platforms.emplace_back(TILE_SIZE * m, TILE_SIZE * i + 63, gameRenderer);
                    mapRow.push_back(1);
                    break;
                case 2:
                    enemySpawns.emplace_back(scale(TILE_SIZE * m + 15), scale(TILE_SIZE * i + 13), scale(50),
                                             scale(50), 2);
                    platforms.emplace_back(TILE_SIZE * m, TILE_SIZE * i + 63, gameRenderer);
                    mapRow.push_back(2);
                    break;
                default:
                    mapRow.push_back(-1);
                    break;
            }
        }
        state.levelMap.push_back(std::move(mapRow));
    }

    if (opened && enemySpawns.size() == enemySpawnsBefore) {
        tell(std::string("Level file ").append(sourceName).append(" has no enemy spawn point: no robot can enter it."));
    }
    if (opened && playerSpawns.size() == playerSpawnsBefore) {
        tell(std::string("Level file ").append(sourceName).append(" has no player spawn point: the hero cannot be placed."));
    }
}
