#include "play/Camera.h"

#include "platform/Game.h"
#include "platform/GlobalConstants.h"
#include "player/Player.h"

namespace {
// The hero's screen height the view settles on.
const int CAMERA_TARGET_Y = scale(195);
}

int cameraFloor(const State& game) { return WINDOW_HEIGHT - scale(game.levelHeight); }

bool cameraShouldMove(const State& game, const SDL_Rect& heroRect) {
    return (heroRect.y >= CAMERA_TARGET_Y && game.camY > cameraFloor(game)) || (heroRect.y < 0 && game.camY < 0);
}

void moveCamera(State& game, std::list<Entity*>& allCharacterEntities, std::list<Platform*>& platforms,
                std::vector<Spawn*>& allSpawns, float dt) {
    Player& hero = *zorbiPointer;
    const int heroY = hero.getEntity()->getRect().y;
    int vector = static_cast<int>(static_cast<float>((CAMERA_TARGET_Y - heroY) * scale(2)) * dt);

    const int floor = cameraFloor(game);
    if (game.camY + vector > 0) {
        vector = -game.camY;
    } else if (game.camY + vector < floor) {
        vector = floor - game.camY;
    }
    game.camY += vector;

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

namespace {

// Visible platforms side by side in one row, drawn in one copy of their strip.
struct PlatformRun {
    SDL_Texture* strip = nullptr;
    SDL_Rect area{0, 0, 0, 0};
    int count = 0;
    int width = 0;  // of one platform

    bool extendedBy(const SDL_Texture* other, const SDL_Rect& box) const {
        return count > 0 && count < PLATFORM_STRIP_LENGTH && other == strip && box.y == area.y && box.h == area.h &&
               box.w == width && box.x == area.x + area.w;
    }
};

void outline(const SDL_Rect& box) {
    SDL_SetRenderDrawColor(gameRenderer, 0, 0, 255, 255);
    SDL_RenderDrawRect(gameRenderer, &box);
}

void drawRun(PlatformRun& run, bool developerMode) {
    if (run.count == 0) return;
    const SDL_Rect source{0, 0, run.area.w, run.area.h};
    SDL_RenderCopy(gameRenderer, run.strip, &source, &run.area);
    if (developerMode) {
        for (int k = 0; k < run.count; ++k) outline({run.area.x + k * run.width, run.area.y, run.width, run.area.h});
    }
    run.count = 0;
}

}  // namespace

namespace {

// Walks the platforms that reach into the window in their own order: runs of
// strip-drawn platforms side by side go to onRun whole, any other platform to
// onLoose, so that drawing and the backdrop's holes see the same runs.
template <typename OnRun, typename OnLoose>
void visitPlatformRuns(const std::list<Platform*>& platforms, OnRun onRun, OnLoose onLoose) {
    const SDL_Rect window{0, 0, WINDOW_WIDTH, WINDOW_HEIGHT};
    PlatformRun run;
    for (const Platform* platform : platforms) {
        const SDL_Rect& box = platform->getPlatformRect();
        // Most of a tall level lies above or below the window; those platforms would add no pixel.
        if (!SDL_HasIntersection(&box, &window)) continue;
        SDL_Texture* strip = box.w == platform->width && box.h == platform->height ? platform->getStrip() : nullptr;
        if (strip == nullptr) {
            onRun(run);
            run.count = 0;
            onLoose(*platform);
        } else if (run.extendedBy(strip, box)) {
            run.area.w += box.w;
            run.count += 1;
        } else {
            onRun(run);
            run = PlatformRun{strip, box, 1, box.w};
        }
    }
    onRun(run);
}

}  // namespace

void renderPlatforms(const std::list<Platform*>& platforms, bool developerMode) {
    SDL_SetRenderDrawColor(gameRenderer, 0, 0, 255, 255);
    // A platform drawn alone is a copy of its picture and a translucent fill,
    // each with its own state: most of a frame's drawing calls and a sixth of
    // its pixel work on a renderer without a graphics card. A row drawn from the
    // composed strip is one opaque copy, and consecutive copies of one texture
    // reach the driver as one draw. The rows are the platforms' own order, so
    // every pixel is drawn over as often and in the same order as before.
    bool drawn = false;
    visitPlatformRuns(
        platforms,
        [&](PlatformRun& run) {
            drawn = drawn || run.count > 0;
            drawRun(run, developerMode);
        },
        [&](const Platform& platform) {
            drawn = true;
            platform.render();
            if (developerMode) outline(platform.getPlatformRect());
        });
    // The draw colour as drawing the platforms one by one leaves it.
    if (drawn && !developerMode) {
        SDL_SetRenderDrawColor(gameRenderer, Platform::VEIL.r, Platform::VEIL.g, Platform::VEIL.b, Platform::VEIL.a);
    }
}

void platformCover(const std::list<Platform*>& platforms, std::vector<SDL_Rect>& cover) {
    cover.clear();
    const SDL_Rect window{0, 0, WINDOW_WIDTH, WINDOW_HEIGHT};
    visitPlatformRuns(
        platforms,
        [&](const PlatformRun& run) {
            SDL_Rect inside{0, 0, 0, 0};
            if (run.count > 0 && SDL_IntersectRect(&run.area, &window, &inside) == SDL_TRUE) cover.push_back(inside);
        },
        [](const Platform&) {});
}
