#include "enemies/Enemy.h"

#include <SDL.h>

#include <cstddef>

#include "platform/Resources.h"
#include "world/Feel.h"
#include "world/Level.h"

namespace {
const int LAST_MAP_COLUMN = LEVEL_COLUMNS - 1;
const int EMPTY_CELL = -1;
// Where a body that walked out of one side of the window comes back in.
const int WRAP_MARGIN = scale(10);
}  // namespace

Enemy::Enemy(Entity* _entity) : entity(_entity) {}

void Enemy::setUpBody(int width, int height, int frameWidth, int frameHeight, const char* imageFile,
                      const char* failureMessage) {
    entity->setDimensions(width, height);
    entity->getTexture()->setup(width, height, entity->getRenderer());
    entity->setSource(frameWidth, frameHeight);
    if (!entity->getTexture()->loadFromFile(imageFile)) logOnce(failureMessage);
}

namespace {
// A robot wholly out of the window (by more than the camera's shake) is not
// drawn: most of a late wave waits above or below, shown by its arrow.
bool inView(const SDL_Rect& body) {
    const SDL_Rect view{-MAX_SHAKE, -MAX_SHAKE, WINDOW_WIDTH + 2 * MAX_SHAKE, WINDOW_HEIGHT + 2 * MAX_SHAKE};
    return SDL_HasIntersection(&body, &view) == SDL_TRUE;
}
}  // namespace

void Enemy::render() const {
    if (inView(entity->getRect())) entity->render(entity->getHP() - 1, 0, true);
}

void Enemy::render(Uint32 now) const {
    if (!inView(entity->getRect())) return;
    entity->render(entity->getHP() - 1, 0, true);
    static const SDL_Color FLASH{255, 255, 255, 255};
    if (SDL_TICKS_PASSED(now, entity->flashUntil) == SDL_FALSE) entity->renderFlash(entity->getHP() - 1, 0, true, FLASH);
}

bool Enemy::isMapRow(int row, const State& state) {
    return row >= 0 && static_cast<std::size_t>(row) < state.levelMap.size();
}

bool Enemy::isEmptyCell(int column, int row, const State& state) {
    if (!isMapRow(row, state) || column < 0) return true;
    const std::vector<int>& cells = state.levelMap[static_cast<std::size_t>(row)];
    if (static_cast<std::size_t>(column) >= cells.size()) return true;
    return cells[static_cast<std::size_t>(column)] == EMPTY_CELL;
}

int Enemy::findEdgeRight(int startX, int startY, const State& state) {
    for (int n = 1;; ++n) {
        const int probe = startX + n;
        if (probe > LAST_MAP_COLUMN) return -1;
        if (isEmptyCell(probe, startY, state)) return n;
    }
}

int Enemy::findEdgeLeft(int startX, int startY, const State& state) {
    for (int n = 1;; ++n) {
        const int probe = startX - n;
        if (probe < 0) return -1;
        if (isEmptyCell(probe, startY, state)) return n;
    }
}

void Enemy::leaveLevelOrWrap(const State& state) {
    if (entity->getRect().y >= state.camY + scale(state.levelHeight)) entity->despawn();

    SDL_Rect& rect = entity->getRect();
    if (rect.x >= WINDOW_WIDTH) {
        rect.x = WRAP_MARGIN;
    } else if (rect.x <= 0) {
        rect.x = WINDOW_WIDTH - WRAP_MARGIN;
    }
}

void Enemy::move(float dt, const std::list<Platform*>& platforms, State& state) {
    if (entity->justSpawned) {
        entity->justSpawned = false;
        // Head for the far side of the window: whoever enters on the left walks right.
        const float speed = getXVelocity();
        entity->setXVelocity(entity->getRect().x <= WINDOW_WIDTH / 2 ? speed : -speed);
    }
    entity->move(dt, platforms, nullptr, nullptr);
    leaveLevelOrWrap(state);
}
