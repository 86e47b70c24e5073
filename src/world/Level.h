#pragma once

#include <iosfwd>
#include <list>
#include <string>
#include <vector>

#include "world/Platform.h"
#include "world/Spawn.h"

// Level files: up to 100 rows of 12 comma-separated integer cells.
// 0 = solid tile, 1 = hero spawn (on a tile), 2 = robot spawn (on a tile),
// anything else = empty.
const int LEVEL_MAX_ROWS = 100;
const int LEVEL_COLUMNS = 12;

// Reads a level into the three containers (appending) and replaces the level
// height and map of the global state. Bad cells are logged and left empty; the
// columns of a row beyond LEVEL_COLUMNS are dropped, told once per load with
// the first such row. What is wrong with a file is told once a run, however
// often it is loaded; a file that cannot be read is named with the system's reason.
void loadLevelFromCSV(const std::string& filePath, std::list<Platform>& platforms, std::vector<Spawn>& enemySpawns,
                      std::vector<Spawn>& playerSpawns);

// The same from an open stream; sourceName names it in the log lines. A stream
// that has already failed (a file that could not be opened) reads no rows and
// draws no complaint about missing spawn points. Every load tells all it finds,
// unless onceARun: then each line is told once a run (see logOnce).
void loadLevelFromStream(std::istream& input, const std::string& sourceName, std::list<Platform>& platforms,
                         std::vector<Spawn>& enemySpawns, std::vector<Spawn>& playerSpawns, bool onceARun = false);
