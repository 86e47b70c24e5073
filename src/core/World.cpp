#include "World.h"

#include "Frame.h"
#include "Game.h"
#include "GlobalConstants.h"
#include "Level.h"
#include "Resources.h"
#include "Waves.h"

namespace {
std::vector<std::unique_ptr<Weapon>> makeWeapons(SDL_Renderer* renderer) {
    std::vector<std::unique_ptr<Weapon>> weapons;
    for (Weapon_Type type : {revolver, rifle, shotgun, knife, laserPistol}) {
        weapons.push_back(std::make_unique<Weapon>(type, renderer, state));
    }
    return weapons;
}
}  // namespace

RunObjects::RunObjects(SDL_Renderer* renderer)
    : explosion(soundPath("shortExplosion.wav"), 0, -1),
      mediumExplosion(soundPath("mediumExplosion.wav"), 0, -1),
      song(soundPath("song.wav"), -1, MUSIC_CHANNEL),
      weapons(makeWeapons(renderer)),
      eZorbi(&playerSpawns, renderer, 10),
      player(&eZorbi, weapons[revolver].get()) {
    background.setup(scale(960), scale(480), renderer);
    if (!background.loadFromFile("background.png")) SDL_Log("Could not load background texture!");
    backdrop = composeBackdrop(renderer, background, backgroundRect);
    playerSpawns.reserve(2);
    teleportCursor.setup(scale(50), scale(60), renderer);
    if (!teleportCursor.loadFromFile("Zorbi.png")) SDL_Log("Could not load teleport cursor texture!");
    teleportCursor.setColorMod(0, 150, 255);
}

Weapon* RunObjects::weapon(int type) const {
    if (type < 0 || type >= static_cast<int>(weapons.size())) return nullptr;
    return weapons[static_cast<std::size_t>(type)].get();
}

World::World() {
    enemySpawns.reserve(15);
    allSpawns.reserve(15);
    waveSetEEnemies.reserve(5);
    waveSetEnemies.reserve(5);
}

void loadLevelFile(RunObjects& run, World& world, const std::string& filePath) {
    state.camY = 0;
    state.camV = 0;
    world.waveOverride = false;
    world.shootingReset = true;
    world.waveNumber = 0;
    world.lastFPS = 0;

    run.playerSpawns.clear();
    loadLevelFromCSV(filePath, world.ePlatforms, world.enemySpawns, run.playerSpawns);
    for (Spawn& point : world.enemySpawns) world.allSpawns.push_back(&point);
    for (Spawn& point : run.playerSpawns) world.allSpawns.push_back(&point);
    for (Platform& platform : world.ePlatforms) world.platforms.push_back(&platform);
    // Know from the start which robot spawns the player can see, so that the
    // first robots of the level enter in view rather than far below it.
    checkIfSpawnsAreOnScreen(world.enemySpawns);

    run.eZorbi.forceSpawn();
    run.player.updateWheelRect();
    world.allCharacterEntities = {&run.eZorbi};
}

bool levelPlayable(const RunObjects& run, const World& world) {
    return !run.playerSpawns.empty() && !world.enemySpawns.empty();
}

void loadLevel(RunObjects& run, World& world, int levelNumber) {
    loadLevelFile(run, world, levelFilePath(levelNumber));
}
