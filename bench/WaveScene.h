#pragma once

#include <SDL.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "BenchSupport.h"
#include "enemies/Waves.h"
#include "play/Frame.h"
#include "play/Loop.h"
#include "play/World.h"
#include "ui/Hud.h"
#include "ui/UI.h"

namespace bench {

const int BULLETS_IN_FLIGHT = 50;
const int SCENE_LEVEL = 3;

// Level 3 in the middle of a wave: every robot of the wave placed on a robot
// spawn point, BULLETS_IN_FLIGHT revolver bullets crossing the window, the
// hero at his spawn. Robots start away from the hero and bullets away from the
// robots, so one frame kills nobody. restore() puts every body, platform and
// spawn point back and refills the bullets, so each measured frame starts from
// the same scene.
class WaveScene {
public:
    WaveScene(int wave, Canvas::Kind kind, int width, int height) : canvas(kind, width, height) {
        state = State();
        srand(1);
        run = std::make_unique<RunObjects>(canvas.renderer);
        zorbiPointer = &run->player;
        world = std::make_unique<World>();
        loadLevel(*run, *world, SCENE_LEVEL);
        fitWeapons(*run);
        UI_init(canvas.renderer, state, &run->player);

        world->waveNumber = wave;
        world->waveSetLocation = waveSetLocation(wave);
        composeWaveSet(wave - world->waveSetLocation, &world->enemySpawns, world->waveSetEEnemies,
                       world->waveSetEnemies, state);
        collectCharacterEntities(waveBodies(), &run->eZorbi, world->allCharacterEntities);
        world->inWave = true;
        world->waveStarted = true;
        world->startWaveLoad = 0;
        state.menu = Menu::notInMenu;
        updateInGameText(run->player.getCombo(), wave, run->player.getXP());

        placeRobots();
        aimBullets();
        for (Platform* platform : world->platforms) platformBoxes.push_back(platform->getPlatformRect());
        for (const Spawn* point : world->allSpawns) spawnPoints.push_back(*point);
        heroBody = run->eZorbi;
        camY = state.camY;
        restore();
    }
    ~WaveScene() {
        UI_close();
        world.reset();
        run.reset();
        zorbiPointer = nullptr;
        state = State();
    }
    WaveScene(const WaveScene&) = delete;
    WaveScene& operator=(const WaveScene&) = delete;

    bool ready() const { return canvas.ok() && ok; }
    SDL_Renderer* renderer() const { return canvas.renderer; }
    const char* driver() const { return canvas.driver(); }

    void frame() {
        now += 16;
        // As the wave's loop does, presenting included: a window renderer
        // queues its drawing until then.
        playFrame(*run, *world, static_cast<float>(FRAME_SECONDS), now);
    }

    void restore() {
        state.camY = camY;
        state.camV = 0;
        state.c4Exploded = false;
        run->eZorbi = heroBody;
        run->player.updateWheelRect();
        run->explosions.clear();
        std::size_t i = 0;
        for (Platform* platform : world->platforms) {
            const SDL_Rect& box = platformBoxes[i++];
            platform->setPosition(box.x, box.y);
        }
        for (std::size_t k = 0; k < spawnPoints.size(); ++k) *world->allSpawns[k] = spawnPoints[k];
        const auto& bodies = waveBodies();
        for (std::size_t k = 0; k < bodies.size(); ++k) *bodies[k] = robotBodies[k];
        world->bullets.clear();
        world->eBullets.clear();
        for (const SDL_Rect& shot : bulletStarts) {
            world->eBullets.emplace_back(shot.x, shot.y, shot.w, shot.h, canvas.renderer);
            auto body = std::prev(world->eBullets.end());
            world->bullets.emplace_back(&*body, normal, 3, 1, 1);
            world->bullets.back().setIterator(body);
        }
    }

    int robots() const { return static_cast<int>(waveBodies().size()); }
    int robotsStanding() const {
        int n = 0;
        for (const auto& body : waveBodies()) n += body->isAlive() && body->isSpawned() ? 1 : 0;
        return n;
    }
    int bullets() const { return static_cast<int>(world->bullets.size()); }

private:
    const std::vector<std::unique_ptr<Entity>>& waveBodies() const {
        return world->waveSetEEnemies[static_cast<std::size_t>(world->waveSetLocation)];
    }

    static SDL_Rect grown(SDL_Rect r, int margin) {
        return {r.x - margin, r.y - margin, r.w + 2 * margin, r.h + 2 * margin};
    }

    // Spreads the robots over the robot spawn points in reading order, the way
    // a long wave fills the level; points near the hero are left out.
    void placeRobots() {
        const SDL_Rect heroArea = grown(run->eZorbi.getRect(), 250);
        std::vector<const Spawn*> points;
        for (const Spawn& point : world->enemySpawns) {
            if (!Entity::isColliding(point.getRect(), heroArea)) points.push_back(&point);
        }
        if (points.empty()) {
            ok = false;
            return;
        }
        const auto& bodies = waveBodies();
        const auto& robotsOfWave = world->waveSetEnemies[static_cast<std::size_t>(world->waveSetLocation)];
        for (std::size_t k = 0; k < bodies.size(); ++k) {
            Entity& body = *bodies[k];
            const SDL_Rect& area = points[k % points.size()]->getRect();
            body.spawned = true;
            body.justSpawned = false;
            body.offPlatform = false;
            body.setPosition(area.x + static_cast<int>(k / points.size()) * 4, area.y + area.h - body.getRect().h);
            const float speed = robotsOfWave[k]->getXVelocity();
            body.setXVelocity(k % 2 == 0 ? speed : -speed);
            body.setYVelocity(0);
            robotBodies.push_back(body);
        }
    }

    // Bullets on a grid over the window, flying left or right, none of them
    // near a robot or the hero. Each is kept as x, y, x speed, y speed.
    void aimBullets() {
        std::vector<SDL_Rect> keepOut{grown(run->eZorbi.getRect(), 60)};
        for (const auto& body : waveBodies()) keepOut.push_back(grown(body->getRect(), 80));
        const int speed = scale(1000);
        for (int y = 40; y < WINDOW_HEIGHT - 40 && static_cast<int>(bulletStarts.size()) < BULLETS_IN_FLIGHT; y += 45) {
            for (int x = 150; x < WINDOW_WIDTH - 150 && static_cast<int>(bulletStarts.size()) < BULLETS_IN_FLIGHT;
                 x += 75) {
                const SDL_Rect spot{x, y, scale(6), scale(6)};
                bool clear = true;
                for (const SDL_Rect& area : keepOut) clear = clear && !Entity::isColliding(spot, area);
                const int direction = (x / 75 + y / 45) % 2 == 0 ? 1 : -1;
                if (clear) bulletStarts.push_back({x, y, direction * speed, 0});
            }
        }
        ok = ok && static_cast<int>(bulletStarts.size()) == BULLETS_IN_FLIGHT;
    }

    Canvas canvas;
    std::unique_ptr<RunObjects> run;
    std::unique_ptr<World> world;
    bool ok = true;
    Uint32 now = 100000;
    int camY = 0;
    Entity heroBody;
    std::vector<Entity> robotBodies;
    std::vector<SDL_Rect> platformBoxes;
    std::vector<Spawn> spawnPoints;
    std::vector<SDL_Rect> bulletStarts;
};

}  // namespace bench
