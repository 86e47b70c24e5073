#include "play/Frame.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "enemies/Waves.h"
#include "platform/Game.h"
#include "platform/GlobalConstants.h"
#include "play/Backdrop.h"
#include "play/Camera.h"
#include "play/Combat.h"
#include "play/WaveArrows.h"
#include "ui/ControlHints.h"
#include "ui/Hud.h"
#include "world/Feel.h"
#include "world/Quads.h"

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

// The bullets in flight. A graphics card's renderer gets the bullets of one
// picture in one call (a late wave's volley is dozens of them); the software
// renderer, whose copies cost no call of their own, copies each.
void renderBullets(const std::list<Bullet>& bullets) {
    if (drawsInSoftware(gameRenderer)) {
        for (const Bullet& bullet : bullets) bullet.render();
        return;
    }
    // Kept between frames, so that no frame allocates.
    static std::vector<SDL_Vertex> corners;
    SDL_Texture* picture = nullptr;
    float pictureW = 1.0f;
    float pictureH = 1.0f;
    const auto flush = [&] {
        if (picture != nullptr && !corners.empty()) {
            SDL_RenderGeometry(gameRenderer, picture, corners.data(), static_cast<int>(corners.size()), nullptr, 0);
        }
        corners.clear();
    };
    for (const Bullet& bullet : bullets) {
        const Entity& body = *bullet.getEntity();
        const Texture& look = body.entityTexture;
        SDL_Texture* next = look.getTexture();
        if (next == nullptr) continue;
        if (next != picture) {
            flush();
            picture = next;
            int w = 1;
            int h = 1;
            SDL_QueryTexture(picture, nullptr, nullptr, &w, &h);
            pictureW = static_cast<float>(w);
            pictureH = static_cast<float>(h);
        }
        const SDL_Rect& at = body.getRect();
        appendQuad(corners,
                   {static_cast<float>(at.x), static_cast<float>(at.y), static_cast<float>(look.getWidth()),
                    static_cast<float>(look.getHeight())},
                   {0.0f, 0.0f, static_cast<float>(body.srcWidth) / pictureW,
                    static_cast<float>(body.srcHeight) / pictureH},
                   look.getModulation());
    }
    flush();
}

void moveBullets(const State& game, World& world, float dt) {
    for (auto it = world.bullets.begin(); it != world.bullets.end();) {
        if (it->move(dt, world.platforms, game.developerMode)) {
            world.eBullets.erase(it->getIterator());
            it = world.bullets.erase(it);
            continue;
        }
        ++it;
    }
    renderBullets(world.bullets);
}

void renderDeveloperHeroOutlines(Player& player) {
    SDL_SetRenderDrawColor(gameRenderer, 0, 255, 0, 255);
    SDL_RenderDrawRect(gameRenderer, &player.getEntity()->getRect());
    SDL_RenderDrawRect(gameRenderer, player.getWheelRect());
    const SDL_Rect hit = player.getHitRect();
    SDL_RenderDrawRect(gameRenderer, &hit);
}

const SDL_Color HERO_FLASH{255, 50, 50, 255};

// The hero and, for a moment after a hit, his flash in red.
void renderHero(RunObjects& run, const World& world, Uint32 now) {
    run.player.render();
    if (SDL_TICKS_PASSED(now, world.feel.heroFlashUntil) == SDL_FALSE) {
        run.eZorbi.renderFlash(0, 0, false, HERO_FLASH);
    }
}

// The shot's flash at the barrel, and the words rising from kills and dodges.
void renderWorldEffects(RunObjects& run, World& world, Uint32 now) {
    Feel& feel = world.feel;
    const Weapon* weapon = run.player.getWeapon();
    if (weapon != nullptr && run.eZorbi.isSpawned() && SDL_TICKS_PASSED(now, feel.muzzleUntil) == SDL_FALSE &&
        !run.player.isC4Placed()) {
        const SDL_Rect& body = run.eZorbi.getRect();
        weapon->renderMuzzle(body.x, body.y, run.player.getDirection());
    }
    for (auto it = feel.texts.begin(); it != feel.texts.end();) {
        const float lasts = static_cast<float>(it->xp > 0 ? XP_TEXT_MS : DODGE_TEXT_MS);
        const float progress = static_cast<float>(now - it->start) / lasts;
        if (progress >= 1.0f) {
            it = feel.texts.erase(it);
            continue;
        }
        renderRisingText(it->xp, it->x, it->y, progress);
        ++it;
    }
}

// The window's edges: one red pulse when the hero is hurt, and a slow one
// while his health is under a quarter.
Uint8 vignetteAlpha(Feel& feel, double health, Uint32 now) {
    float alpha = 0.0f;
    if (feel.hurt) {
        const float age = static_cast<float>(now - feel.hurtAt) / static_cast<float>(HURT_PULSE_MS);
        if (age >= 1.0f) {
            feel.hurt = false;
        } else {
            alpha = 170.0f * (1.0f - age);
        }
    }
    if (health < 0.25) {
        const float beat = 0.5f + 0.5f * std::sin(static_cast<float>(now) * 0.0045f);
        alpha = std::max(alpha, 40.0f + 70.0f * beat);
    }
    return static_cast<Uint8>(alpha);
}

// The world (not the backdrop far behind it, not the display) moved by the
// camera's shake while it lives: the renderer's viewport, shifted.
class ShakenWorld {
public:
    explicit ShakenWorld(SDL_Point offset) {
        if (offset.x == 0 && offset.y == 0) return;
        SDL_RenderGetViewport(gameRenderer, &saved);
        const SDL_Rect moved{saved.x + offset.x, saved.y + offset.y, saved.w, saved.h};
        SDL_RenderSetViewport(gameRenderer, &moved);
        shaken = true;
    }
    ~ShakenWorld() { end(); }
    ShakenWorld(const ShakenWorld&) = delete;
    ShakenWorld& operator=(const ShakenWorld&) = delete;

    void end() {
        if (shaken) SDL_RenderSetViewport(gameRenderer, &saved);
        shaken = false;
    }

private:
    SDL_Rect saved{0, 0, 0, 0};
    bool shaken = false;
};

SDL_Point cameraShake(const State& game, const World& world) {
    return shakeOffset(world.feel, shakeScale(game.settings.screenShake));
}


// What lies over the world: the hurt edges, the display, the keys of a run's
// first waves, the arrows to robots out of sight, and the teleport's cursor.
void renderOverWorld(State& game, RunObjects& run, World& world, Uint32 now) {
    renderVignette(vignetteAlpha(world.feel, run.player.getHealthPercentage(), now));
    renderInGameText(game.developerMode, world.lastFPS, world.waveStarted);
    renderPlayerUI(&run.player, now);
    const float hints = game.settings.controlHints ? hintsOpacity(world.waveNumber, world.startWaveLoad, now) : 0.0f;
    const SDL_Rect band = hintsBand(hudLeftCorner(), hudRightCorner(&run.player));
    if (hints > 0.0f) renderControlHints(band, game.menuGate.controllerInUse(), hints);
    // Developer mode outlines the robots instead.
    if (!game.developerMode) renderRobotArrows(world, run.player, world.waveStarted, hints > 0.0f ? &band : nullptr);
    if (game.teleportSelection) run.teleportCursor.render(game.teleportCursorX, game.teleportCursorY);
}

void updateHero(State& game, RunObjects& run, World& world, float dt, Uint32 now) {
    Entity& body = run.eZorbi;
    if (!body.isSpawned()) return;
    if (world.waveStarted) run.player.move(dt, world.platforms, game);
    renderHero(run, world, now);
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

void renderWorldStill(const State& game, RunObjects& run, World& world, Uint32 now) {
    (void)run;
    for (const Spawn* point : world.allSpawns) point->render(gameRenderer);
    renderBullets(world.bullets);
    const auto location = static_cast<std::size_t>(world.waveSetLocation);
    if (location < world.waveSetEnemies.size()) {
        for (const std::unique_ptr<Enemy>& enemy : world.waveSetEnemies[location]) {
            // Behind a shop or a card (no tick given) nothing flashes.
            if (!enemy->getEntity()->isAlive()) continue;
            if (now != 0) {
                enemy->render(now);
            } else {
                enemy->render();
            }
        }
    }
    renderPlatforms(world.platforms, game.developerMode);
}

void renderStillFrame(State& game, RunObjects& run, World& world, Uint32 now) {
    const SDL_Point shake = cameraShake(game, world);
    renderBackdropUnderPlatforms(run, world, shake);
    ShakenWorld shaken(shake);
    renderWorldStill(game, run, world, now);
    for (const Explosion& blast : run.explosions) blast.render();
    if (run.eZorbi.isSpawned()) renderHero(run, world, now);
    renderWorldEffects(run, world, now);
    shaken.end();
    renderOverWorld(game, run, world, now);
}

void runFrame(State& game, RunObjects& run, World& world, float dt, Uint32 now) {
    Feel& feel = world.feel;
    // The camera calms down in real time, frozen or not.
    settleTrauma(feel, dt);
    if (feel.shotFired) {
        feel.muzzleUntil = now + MUZZLE_FLASH_MS;
        feel.shotFired = false;
    }
    if (frozen(feel, now)) {
        // A breath: the frames go on, the clock of play does not. What counts
        // ticks moves on with it, so that no rule sees the pause.
        const Uint32 lost = feel.lastFrame != 0 ? now - feel.lastFrame : 0;
        world.startWaveLoad += lost;
        game.startSelection += static_cast<float>(lost);
        feel.lastFrame = now;
        renderStillFrame(game, run, world, now);
        return;
    }
    feel.lastFrame = now;
    if (now - world.startWaveLoad > WAVE_START_DELAY_MS) world.waveStarted = true;

    aimTeleport(game, run, dt, now);
    updateBars(game, run, dt);

    const SDL_Point shake = cameraShake(game, world);
    renderBackdropUnderPlatforms(run, world, shake);
    ShakenWorld shaken(shake);
    renderSpawns(world.allSpawns, game.developerMode);
    moveBullets(game, world, dt);

    // The detonation is heard once, in the frame its blast acts, and felt.
    if (game.c4Exploded) {
        run.mediumExplosion.play();
        addTrauma(feel, TRAUMA_EXPLOSION);
        freezeFor(feel, now, BIG_FREEZE_MS);
    }
    FrameOutcome outcome;
    runEnemyPass(game, run, world, dt, now, outcome);
    updateExplosions(run.explosions);
    game.c4Exploded = false;  // the blast acts in exactly one frame
    settleFrame(game, run, world, outcome, now);

    updateHero(game, run, world, dt, now);
    // The platforms where the bodies on them were just drawn, before the view
    // scrolls on: drawn after the step they ran a step ahead of everything
    // standing on them, a wheel sunk into its platform in every scrolling frame.
    renderPlatforms(world.platforms, game.developerMode);
    if (cameraShouldMove(game, run.eZorbi.getRect())) {
        moveCamera(game, world.allCharacterEntities, world.platforms, world.allSpawns, dt);
    }
    if (game.developerMode) renderDeveloperHeroOutlines(run.player);
    checkIfSpawnsAreOnScreen(world.enemySpawns);
    checkIfSpawnsOccupied(world.allSpawns, world.allCharacterEntities);

    renderWorldEffects(run, world, now);
    shaken.end();
    renderOverWorld(game, run, world, now);
}
