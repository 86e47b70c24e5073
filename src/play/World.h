#pragma once

// The run's objects and one level's world: what a frame is a function of, and loading a level into it.

#include <SDL.h>

#include <list>
#include <memory>
#include <string>
#include <vector>

#include "enemies/Enemy.h"
#include "player/Player.h"
#include "player/Weapon.h"
#include "world/Animations.h"
#include "world/Bullet.h"
#include "world/Entity.h"
#include "world/Feel.h"
#include "world/Music.h"
#include "world/Platform.h"
#include "world/Sound.h"
#include "world/Spawn.h"
#include "world/Texture.h"

// The grey veil that dims the background picture behind play.
const SDL_Color BACKDROP_VEIL{55, 55, 55, 105};

// The backdrop drawn once into a window-sized texture of the renderer, to be
// copied whole every frame; null where the renderer cannot draw into textures.
std::shared_ptr<SDL_Texture> composeBackdrop(SDL_Renderer* renderer, const Texture& background, const SDL_Rect& area);

// Objects that live for the whole run: created after init, destroyed before close.
struct RunObjects {
    explicit RunObjects(SDL_Renderer* renderer);

    RunObjects(const RunObjects&) = delete;
    RunObjects& operator=(const RunObjects&) = delete;

    // Tick count (ms) of the previous frame; only the frame and pause loops refresh it.
    Uint32 lastUpdate = 0;
    Sound explosion;
    Sound mediumExplosion;
    // The level's music, streamed from its file while a level is played.
    Music song;
    std::list<Explosion> explosions;
    Texture background;
    SDL_Rect backgroundRect{0, 0, WINDOW_WIDTH, WINDOW_HEIGHT};
    // The background under its veil, composed once (see composeBackdrop).
    std::shared_ptr<SDL_Texture> backdrop;
    // Refilled by each level load; the hero's body points at it.
    std::vector<Spawn> playerSpawns;
    // One weapon of each kind, indexed by Weapon_Type; the hero's slots point at two of them.
    std::vector<std::unique_ptr<Weapon>> weapons;
    Entity eZorbi;
    Player player;
    Texture teleportCursor;

    // The weapon of the given kind, or null for a value outside the five kinds.
    Weapon* weapon(int type) const;
};

// One level's containers and the frame loop's variables. The level loop owns
// it; one frame is a function of it, the run's objects, dt and the tick count.
struct World {
    World();

    World(const World&) = delete;
    World& operator=(const World&) = delete;

    std::list<Platform> ePlatforms;
    std::vector<Spawn> enemySpawns;
    // Every enemy spawn point, then every player spawn point.
    std::vector<Spawn*> allSpawns;
    std::list<Platform*> platforms;
    // Bodies of the bullets in flight, and the bullets that point at them.
    std::list<Entity> eBullets;
    std::list<Bullet> bullets;
    // The robots of the current block of five waves and their bodies: entry k
    // of each is wave k of the block. The robots point at the bodies.
    std::vector<std::vector<std::unique_ptr<Entity>>> waveSetEEnemies;
    std::vector<std::vector<std::unique_ptr<Enemy>>> waveSetEnemies;
    // The wave's robot bodies, then the hero's body.
    std::list<Entity*> allCharacterEntities;

    bool waveOverride = false;
    // The fire key or trigger was released since the last shot.
    bool shootingReset = true;
    // The keyboard's driving keys held down.
    bool leftMovement = false;
    bool rightMovement = false;
    int waveNumber = 0;
    // Index of the current wave inside its block of five.
    int waveSetLocation = 0;
    float lastFPS = 0;
    bool inWave = false;
    bool waveStarted = false;
    Uint32 startWaveLoad = 0;

    // The account of the run being played (reset with each new run), the
    // tick of its last frame in this wave (0 before the first: the shop's and
    // the pause's time are not play), and whether the developer's skip was
    // used (a run that skipped sets no record).
    RunAccount account;
    Uint32 lastPlayTick = 0;
    bool skipped = false;
    // The wave that ends the level (a campaign's: 10, 20, 30); 0 in Arcade Mode.
    int waveGoal = 0;
    // The level's best wave when the run began: the card says when it was beaten.
    int bestBefore = 0;
    // The developer's key 3: the hero falls at the end of this frame.
    bool heroFalls = false;
    // Flashes, the camera's shake, a kill's breath, the words that rise.
    Feel feel;
};

// Loads level 1 to 3 into an empty world and puts the hero on its first player spawn.
void loadLevel(RunObjects& run, World& world, int levelNumber);
// True when the level loaded has a place for the hero and one for the robots:
// a level without either could never be played.
bool levelPlayable(const RunObjects& run, const World& world);
// Same, from any level file (tests and tools).
void loadLevelFile(RunObjects& run, World& world, const std::string& filePath);
