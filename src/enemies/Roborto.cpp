#include "enemies/Roborto.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>

#include "platform/GlobalConstants.h"
#include "world/Level.h"

Roborto::Roborto(Entity* _entity) : Enemy(_entity) {
    setUpBody(Roborto::getWidth(), Roborto::getHeight(), 18, 32, "roborto.png", "Could not load enemy texture!");
}

namespace {
// Row where a body dropping through column `column` below row `row` comes to
// rest: the first platform cell under it, or the row just past the map's bottom.
int landingRow(int column, int row, const State& state) {
    int n = 1;
    while (Enemy::isMapRow(row + n, state) && Enemy::isEmptyCell(column, row + n, state)) ++n;
    return row + n;
}

// Left and right values decide the walk: the cheaper side wins; a tie keeps
// the current heading and only gets a standing robot going (to the right).
void walkTowardCheaperSide(Entity& body, int left, int right, float speed) {
    if (left > right) {
        body.setXVelocity(speed);
    } else if (left < right) {
        body.setXVelocity(-speed);
    } else if (body.getXVelocity() == 0.0f) {
        body.setXVelocity(speed);
    }
}

// Cheapest way on from each map cell, filled in during one search. Many ways
// down a level meet at the same ledges; without it the search would retrace
// them once per way and take seconds on a tall zigzag level.
class WayTable {
public:
    WayTable() {
        for (auto& row : cheapest) row.fill(UNKNOWN);
    }
    // The slot of a cell, or nullptr for cells off the table (searched afresh).
    int* slot(int x, int y) {
        if (x < 0 || x >= LEVEL_COLUMNS || y < 0 || y >= LEVEL_MAX_ROWS) return nullptr;
        return &cheapest[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
    }
    static constexpr int UNKNOWN = -1;

private:
    std::array<std::array<int, LEVEL_COLUMNS>, LEVEL_MAX_ROWS> cheapest{};
};

void searchWays(int x, int y, int& leftWeight, int& rightWeight, const State& state, int searcherX, bool firstCall,
                WayTable& table);

// The cheaper of the two ways on from a cell the search lands on.
int cheapestWayFrom(int x, int y, const State& state, WayTable& table) {
    int* known = table.slot(x, y);
    if (known != nullptr && *known != WayTable::UNKNOWN) return *known;
    int left = 0;
    int right = 0;
    searchWays(x, y, left, right, state, 0, false, table);
    const int cheapest = std::min(left, right);
    if (known != nullptr) *known = cheapest;
    return cheapest;
}

void searchWays(int x, int y, int& leftWeight, int& rightWeight, const State& state, int searcherX, bool firstCall,
                WayTable& table) {
    leftWeight = Roborto::NO_WAY;
    rightWeight = Roborto::NO_WAY;
    // Off the map there is nothing to stand on: a fall past the bottom row, or
    // a hero below the map, is no way at all.
    if (!Enemy::isMapRow(y, state)) return;

    if (y < state.playerTileY) {
        // Walk to the gap on each side, drop through it, and take the cheaper way on from where it lands.
        const int toRight = Enemy::findEdgeRight(x, y, state);
        if (toRight >= 0) {
            const int gap = x + toRight;
            rightWeight = toRight + cheapestWayFrom(gap, landingRow(gap, y, state), state, table);
        }
        const int toLeft = Enemy::findEdgeLeft(x, y, state);
        if (toLeft >= 0) {
            const int gap = x - toLeft;
            leftWeight = toLeft + cheapestWayFrom(gap, landingRow(gap, y, state), state, table);
        }
    } else if (y == state.playerTileY) {
        // On the hero's own tile the columns cannot tell the side; the pixels can.
        const int xDifference = firstCall ? state.playerX - searcherX : state.playerTileX - x;
        const int direction = xDifference < 0 ? -1 : 1;
        bool allPlatforms = true;
        const int distance = std::abs(state.playerTileX - x);
        for (int i = 1; i < distance; ++i) {
            if (Enemy::isEmptyCell(x + i * direction, y, state)) allPlatforms = false;
        }
        if (allPlatforms) {
            (direction > 0 ? rightWeight : leftWeight) = 0;
        }
    }
}
}  // namespace

void Roborto::pathFind(int x, int y, int& leftWeight, int& rightWeight, const State& state, bool firstCall) const {
    WayTable table;
    searchWays(x, y, leftWeight, rightWeight, state, getEntity()->getRect().x, firstCall, table);
}

void Roborto::move(float dt, const std::list<Platform*>& platforms, State& state) {
    Entity& body = *getEntity();
    body.move(dt, platforms, nullptr, nullptr);

    const int tileX = body.getRect().x / TILE_SIZE_SCALED + 1;
    const int tileY = (body.getRect().y - state.camY) / TILE_SIZE_SCALED;
    // Decide only with a platform underfoot; a falling robot keeps its heading until it lands.
    if (isMapRow(tileY, state) && !isEmptyCell(tileX, tileY, state)) {
        int leftWeight = 0;
        int rightWeight = 0;
        pathFind(tileX, tileY, leftWeight, rightWeight, state, true);
        if (leftWeight >= NO_WAY && rightWeight >= NO_WAY) {
            // No way to the hero: drop off the nearer end of this platform.
            int numberTilesRight = findEdgeRight(tileX, tileY, state);
            int numberTilesLeft = findEdgeLeft(tileX, tileY, state);
            if (numberTilesRight < 1) numberTilesRight = NO_WAY;
            if (numberTilesLeft < 1) numberTilesLeft = NO_WAY;
            walkTowardCheaperSide(body, numberTilesLeft, numberTilesRight, getXVelocity());
        } else {
            walkTowardCheaperSide(body, leftWeight, rightWeight, getXVelocity());
        }
    }

    leaveLevelOrWrap(state);
}
