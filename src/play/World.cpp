#include "play/World.h"

#include "enemies/Waves.h"
#include "platform/Game.h"
#include "platform/GlobalConstants.h"
#include "platform/Resources.h"
#include "world/Level.h"

namespace {
std::vector<std::unique_ptr<Weapon>> makeWeapons(SDL_Renderer* target) {
    std::vector<std::unique_ptr<Weapon>> weapons;
    for (Weapon_Type type : {revolver, rifle, shotgun, knife, laserPistol}) {
        weapons.push_back(std::make_unique<Weapon>(type, target, state));
    }
    return weapons;
}
}  // namespace

RunObjects::RunObjects(SDL_Renderer* _renderer)
    : explosion(soundPath("shortExplosion.wav"), 0, -1),
      mediumExplosion(soundPath("mediumExplosion.wav"), 0, -1),
      song(soundPath("song.ogg")),
      weapons(makeWeapons(_renderer)),
      eZorbi(&playerSpawns, _renderer, 10),
      player(&eZorbi, weapons[revolver].get()) {
    background.setup(scale(960), scale(480), _renderer);
    if (!background.loadFromFile("background.png")) SDL_Log("Could not load background texture!");
    backdrop = composeBackdrop(_renderer, background, backgroundRect);
    playerSpawns.reserve(2);
    teleportCursor.setup(scale(50), scale(60), _renderer);
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

std::shared_ptr<SDL_Texture> composeBackdrop(SDL_Renderer* painter, const Texture& background, const SDL_Rect& area) {
    if (painter == nullptr || background.getTexture() == nullptr || !SDL_RenderTargetSupported(painter)) return nullptr;
    SDL_Texture* picture =
        SDL_CreateTexture(painter, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, area.w, area.h);
    if (picture == nullptr) return nullptr;
    std::shared_ptr<SDL_Texture> backdrop(picture, SDL_DestroyTexture);
    SDL_Texture* previousTarget = SDL_GetRenderTarget(painter);
    if (SDL_SetRenderTarget(painter, picture) != 0) return nullptr;

    // The same drawing as a frame's, with the renderer's own blend mode; the
    // picture covers the window, so what the clear leaves never shows.
    Uint8 r = 0, g = 0, b = 0, a = 0;
    SDL_GetRenderDrawColor(painter, &r, &g, &b, &a);
    SDL_SetRenderDrawColor(painter, 0, 0, 0, 255);
    SDL_RenderClear(painter);
    background.render(-area.x, -area.y);
    SDL_SetRenderDrawColor(painter, BACKDROP_VEIL.r, BACKDROP_VEIL.g, BACKDROP_VEIL.b, BACKDROP_VEIL.a);
    const SDL_Rect whole{0, 0, area.w, area.h};
    SDL_RenderFillRect(painter, &whole);
    SDL_SetRenderDrawColor(painter, r, g, b, a);
    SDL_SetRenderTarget(painter, previousTarget);
    SDL_SetTextureBlendMode(picture, SDL_BLENDMODE_NONE);
    return backdrop;
}
