#include "Frame.h"

#include "Camera.h"
#include "Combat.h"
#include "Waves.h"
#include "Game.h"
#include "GlobalConstants.h"
#include "Hud.h"
#include "RobotArrows.h"

namespace {
// Robots and the hero hold still for the first second of a wave.
const Uint32 WAVE_START_DELAY_MS = 1000;

// Aiming lasts a little over two seconds; robots hold still meanwhile.
const float TELEPORT_AIM_MS = 2000.0f;

void aimTeleport(State& game, RunObjects& run, float dt, Uint32 now) {
    if (!game.teleportSelection) return;
    pauseEnemy = true;
    const float cursorSpeed = static_cast<float>(scale(300));
    game.teleportCursorX = static_cast<int>(static_cast<float>(game.teleportCursorX) + game.tcVx * dt * cursorSpeed);
    game.teleportCursorY = static_cast<int>(static_cast<float>(game.teleportCursorY) + game.tcVy * dt * cursorSpeed);
    if ((static_cast<float>(now) - game.startSelection) / TELEPORT_AIM_MS > 1) {
        game.teleportSelection = false;
        run.eZorbi.setPosition(game.teleportCursorX, game.teleportCursorY);
        pauseEnemy = false;
    }
}

// Advances the reload of the weapon in hand and fills the reload and ability bars.
void updateBars(State& game, RunObjects& run, float dt) {
    Weapon* weapon = run.player.getWeapon();
    const int reloadProgress = weapon != nullptr && weapon->isReloadable() ? weapon->reload(dt) : 75;
    updateTimeToShoot(scale(reloadProgress));
    updateTimeToAbility(scale(run.player.charge(game)));
    if (weapon != nullptr && weapon->wasJustReloaded()) vibrate(RUMBLE_LIGHT, 50);
}

void moveBullets(const State& game, World& world, float dt) {
    for (auto it = world.bullets.begin(); it != world.bullets.end();) {
        if (it->move(dt, world.platforms, game.developerMode)) {
            world.eBullets.erase(it->getIterator());
            it = world.bullets.erase(it);
            continue;
        }
        it->render();
        ++it;
    }
}

void renderDeveloperHeroOutlines(Player& player) {
    SDL_SetRenderDrawColor(gameRenderer, 0, 255, 0, 255);
    SDL_RenderDrawRect(gameRenderer, &player.getEntity()->getRect());
    SDL_RenderDrawRect(gameRenderer, player.getWheelRect());
    const SDL_Rect hit = player.getHitRect();
    SDL_RenderDrawRect(gameRenderer, &hit);
}

void updateHero(State& game, RunObjects& run, World& world, float dt) {
    Entity& body = run.eZorbi;
    if (!body.isSpawned()) return;
    if (world.waveStarted) run.player.move(dt, world.platforms, game);
    run.player.render();
    game.playerX = body.getRect().x;
    game.playerTileX = body.getRect().x / TILE_SIZE_SCALED + 1;
    game.playerTileY = (body.getRect().y - game.camY) / TILE_SIZE_SCALED;
    if (game.developerMode) {
        SDL_SetRenderDrawColor(gameRenderer, 225, 225, 0, 255);
        const SDL_Rect tile{(game.playerTileX - 1) * TILE_SIZE_SCALED, game.playerTileY * TILE_SIZE_SCALED + game.camY,
                            TILE_SIZE_SCALED, TILE_SIZE_SCALED};
        SDL_RenderDrawRect(gameRenderer, &tile);
    }
}
}  // namespace

void renderBackdrop(const RunObjects& run) {
    SDL_RenderClear(gameRenderer);
    SDL_SetRenderDrawColor(gameRenderer, BACKDROP_VEIL.r, BACKDROP_VEIL.g, BACKDROP_VEIL.b, BACKDROP_VEIL.a);
    if (run.backdrop) {
        // One opaque copy: a window-sized translucent fill every frame cost more than the rest of the frame.
        SDL_RenderCopy(gameRenderer, run.backdrop.get(), nullptr, &run.backgroundRect);
        return;
    }
    run.background.render(0, 0);
    SDL_RenderFillRect(gameRenderer, &run.backgroundRect);
}

void renderSpawns(const std::vector<Spawn*>& allSpawns, bool developerMode) {
    if (developerMode) {
        for (const Spawn* point : allSpawns) {
            if (point->getOccupied()) {
                SDL_SetRenderDrawColor(gameRenderer, 255, 0, 0, 255);
            } else {
                SDL_SetRenderDrawColor(gameRenderer, 0, 255, 0, 255);
            }
            SDL_RenderDrawRect(gameRenderer, &point->getRect());
        }
        return;
    }
    // Points of one colour that follow each other in one call: the same fills
    // in the same order, with a colour change only where the colour changes.
    // Kept between frames, so that no frame allocates.
    static std::vector<SDL_Rect> patches;
    SDL_Color colour{0, 0, 0, 0};
    const auto fillPatches = [&] {
        if (patches.empty()) return;
        SDL_SetRenderDrawColor(gameRenderer, colour.r, colour.g, colour.b, colour.a);
        SDL_RenderFillRects(gameRenderer, patches.data(), static_cast<int>(patches.size()));
        patches.clear();
    };
    for (const Spawn* point : allSpawns) {
        const SDL_Color next = point->colour();
        if (next.r != colour.r || next.g != colour.g || next.b != colour.b || next.a != colour.a) {
            fillPatches();
            colour = next;
        }
        patches.push_back(point->getRect());
    }
    fillPatches();
}

void updateExplosions(std::list<Explosion>& explosions) {
    for (auto it = explosions.begin(); it != explosions.end();) {
        if (it->finished()) {
            it = explosions.erase(it);
            continue;
        }
        it->render();
        it->advance();
        ++it;
    }
}

void renderWorldStill(const State& game, RunObjects& run, World& world) {
    (void)run;
    for (const Spawn* point : world.allSpawns) point->render(gameRenderer);
    for (const Bullet& bullet : world.bullets) bullet.render();
    const auto location = static_cast<std::size_t>(world.waveSetLocation);
    if (location < world.waveSetEnemies.size()) {
        for (const std::unique_ptr<Enemy>& enemy : world.waveSetEnemies[location]) enemy->render();
    }
    renderPlatforms(world.platforms, game.developerMode);
}

void runFrame(State& game, RunObjects& run, World& world, float dt, Uint32 now) {
    if (now - world.startWaveLoad > WAVE_START_DELAY_MS) world.waveStarted = true;

    aimTeleport(game, run, dt, now);
    updateBars(game, run, dt);

    renderBackdrop(run);
    renderSpawns(world.allSpawns, game.developerMode);
    moveBullets(game, world, dt);

    // The detonation is heard once, in the frame its blast acts.
    if (game.c4Exploded) run.mediumExplosion.play();
    FrameOutcome outcome;
    runEnemyPass(game, run, world, dt, outcome);
    updateExplosions(run.explosions);
    game.c4Exploded = false;  // the blast acts in exactly one frame
    settleFrame(game, run, world, outcome);

    updateHero(game, run, world, dt);
    if (cameraShouldMove(game, run.eZorbi.getRect())) {
        moveCamera(game, world.allCharacterEntities, world.platforms, world.allSpawns, dt);
    }
    if (game.developerMode) renderDeveloperHeroOutlines(run.player);
    checkIfSpawnsAreOnScreen(world.enemySpawns);
    checkIfSpawnsOccupied(world.allSpawns, world.allCharacterEntities);

    renderPlatforms(world.platforms, game.developerMode);
    renderInGameText(game.developerMode, world.lastFPS, world.waveStarted);
    renderPlayerUI(&run.player, now);
    // Developer mode outlines the robots instead.
    if (!game.developerMode) renderRobotArrows(world, run.player, world.waveStarted);

    if (game.teleportSelection) run.teleportCursor.render(game.teleportCursorX, game.teleportCursorY);
}
