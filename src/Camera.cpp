#include "Camera.h"

#include "Game.h"
#include "GlobalConstants.h"
#include "Player.h"

namespace {
// The hero's screen height the view settles on.
const int CAMERA_TARGET_Y = scale(195);
}

int cameraFloor(const State& state) { return WINDOW_HEIGHT - scale(state.levelHeight); }

bool cameraShouldMove(const State& state, const SDL_Rect& heroRect) {
    return (heroRect.y >= CAMERA_TARGET_Y && state.camY > cameraFloor(state)) || (heroRect.y < 0 && state.camY < 0);
}

void moveCamera(std::list<Entity*>& allCharacterEntities, std::list<Platform*>& platforms,
                std::vector<Spawn*>& allSpawns, float dt) {
    Player& hero = *zorbiPointer;
    const int heroY = hero.getEntity()->getRect().y;
    int vector = static_cast<int>(static_cast<float>((CAMERA_TARGET_Y - heroY) * scale(2)) * dt);

    const int floor = cameraFloor(state);
    if (state.camY + vector > 0) {
        vector = -state.camY;
    } else if (state.camY + vector < floor) {
        vector = floor - state.camY;
    }
    state.camY += vector;

    Entity* charge = hero.getC4Entity();
    charge->setPosition(charge->getRect().x, charge->getRect().y + vector);
    for (Entity* body : allCharacterEntities) body->setPosition(body->getRect().x, body->getRect().y + vector);
    hero.updateWheelRect();
    for (Platform* platform : platforms) {
        const SDL_Rect& box = platform->getPlatformRect();
        platform->setPosition(box.x, box.y + vector);
    }
    for (Spawn* point : allSpawns) point->setPosition(point->getX(), point->getY() + vector);
}

void renderPlatforms(const std::list<Platform*>& platforms, bool developerMode) {
    SDL_SetRenderDrawColor(gameRenderer, 0, 0, 255, 255);
    const SDL_Rect window{0, 0, WINDOW_WIDTH, WINDOW_HEIGHT};
    for (const Platform* platform : platforms) {
        // Most of a tall level lies above or below the window; those platforms would add no pixel.
        if (!SDL_HasIntersection(&platform->getPlatformRect(), &window)) continue;
        platform->render();
        if (developerMode) {
            SDL_SetRenderDrawColor(gameRenderer, 0, 0, 255, 255);
            SDL_RenderDrawRect(gameRenderer, &platform->getPlatformRect());
        }
    }
}
