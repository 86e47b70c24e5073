#include "play/WaveArrows.h"

#include "platform/Game.h"
#include "ui/Hud.h"

void collectRobotArrows(const World& world, const std::vector<SDL_Rect>& keepClear, std::vector<RobotArrow>& out) {
    const auto location = static_cast<std::size_t>(world.waveSetLocation);
    if (location >= world.waveSetEnemies.size()) return;
    for (const std::unique_ptr<Enemy>& robot : world.waveSetEnemies[location]) {
        const Entity& body = *robot->getEntity();
        if (!body.isAlive() || !body.isSpawned()) continue;
        if (const std::optional<RobotArrow> arrow = arrowFor(body.getRect(), keepClear)) out.push_back(*arrow);
    }
}

void renderRobotArrows(const World& world, const Player& hero, bool waveStarted, const SDL_Rect* hintStrip) {
    // Kept between frames, so that no frame allocates.
    static std::vector<SDL_Rect> hud;
    static std::vector<RobotArrow> arrows;
    hudAreas(&hero, false, waveStarted, hud);
    if (hintStrip != nullptr) hud.push_back(*hintStrip);
    arrows.clear();
    collectRobotArrows(world, hud, arrows);
    drawRobotArrows(gameRenderer, arrows);
}
