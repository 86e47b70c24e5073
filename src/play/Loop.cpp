#include "play/Loop.h"

#include <cstdio>

#include "enemies/Waves.h"
#include "platform/CommandLine.h"
#include "platform/Game.h"
#include "play/Campaign.h"
#include "play/Frame.h"
#include "play/Input.h"
#include "play/Interlude.h"
#include "play/Screens.h"
#include "ui/Hud.h"
#include "ui/MenuInput.h"
#include "ui/MenuScreens.h"
#include "ui/UI.h"
#include "ui/UpgradeItems.h"
#include "ui/UpgradeMenus.h"

void resetState() {
    state.c4Placed = false;
    state.currentRevolverLevel = 1;
    state.currentRifleLevel = 0;
    state.currentShotgunLevel = 0;
    state.currentKnifeLevel = 0;
    state.currentLaserPistolLevel = 0;
    state.upgradeIncreaseFactor = 0;
    for (int& count : state.setEnemies) count = 0;
    for (int& levelOfAbility : state.abilityLevels) levelOfAbility = 0;
    for (int& levelOfUpgrade : state.playerLevels) levelOfUpgrade = 0;
    // The hero's own reset also puts the revolver alone in the slots.
    if (zorbiPointer != nullptr) zorbiPointer->reset(state);
    // The shop shows the levels and prices of the fresh run: its tooltips
    // rebuilt (no level "Owned" any more, every price back down), its marks set.
    resetMenus(state);
    loadUpgradeMenu(state);
}

void fitWeapons(RunObjects& run) {
    Weapon* primary = run.weapon(state.weapon1);
    Weapon* secondary = run.weapon(state.weapon2);
    run.player.setPrimaryWeapon(primary);
    run.player.setSecondaryWeapon(secondary);
    for (Weapon* weapon : {primary, secondary}) {
        if (weapon == nullptr) continue;
        weapon->upgrade(state);
        weapon->reset();
    }
}

void startWave(RunObjects& run, World& world) {
    if (world.waveNumber == 0 && state.mode == PlayMode::arcade) {
        // A new run: the first wave of the level, or the one after a death. (A
        // campaign's level begins from its checkpoint instead.)
        resetState();
        run.player.setSecondaryWeapon(nullptr);
        run.player.setAbility(none);
        world.account = RunAccount{};
        world.skipped = false;
        world.bestBefore = state.level >= 1 && state.level <= LEVELS
                               ? state.records.bestWave[static_cast<std::size_t>(state.level - 1)]
                               : 0;
    }
    world.inWave = true;
    world.waveNumber += 1;
    noteWaveReached(world);
    world.waveSetLocation = waveSetLocation(world.waveNumber);
    if (world.waveSetLocation == 0) {
        composeWaveSet(world.waveNumber, &world.enemySpawns, world.waveSetEEnemies, world.waveSetEnemies, state);
    }
    collectCharacterEntities(world.waveSetEEnemies[static_cast<std::size_t>(world.waveSetLocation)], &run.eZorbi,
                             world.allCharacterEntities);
    checkIfSpawnsOccupied(world.allSpawns, world.allCharacterEntities);
    upgradeInterlude(run, world);

    // Keys let go or pressed in the shop count as they are now.
    takeHeldInput(state, run, world, SDL_GetKeyboardState(nullptr));
    fitWeapons(run);
    state.menu = Menu::notInMenu;
    world.waveStarted = false;
    world.startWaveLoad = SDL_GetTicks();
    // The shop's time is not play: the wave's time counts from its first frame.
    world.lastPlayTick = 0;
    updateInGameText(run.player.getCombo(), world.waveNumber, run.player.getXP(), world.waveGoal);
}

void followMusicPreview(Music& song, bool& previewing, bool paused) {
    const bool wanted = state.menu == Menu::settings && state.musicPreview;
    if (wanted == previewing) return;
    previewing = wanted;
    if (wanted) {
        // The paused level's music carries on where it was; on the main menu it starts.
        if (paused) {
            song.resume();
        } else {
            song.play();
        }
        return;
    }
    state.musicPreview = false;
    if (paused) {
        song.pause();
    } else {
        song.stop();
    }
}

void pausePlay(RunObjects& run, World& world) {
    if (controller != nullptr) controllerEvent(state, MENU_CONTROL::connect);
    run.song.pause();
    bool previewing = false;
    // Play drew over the pause screen's last picture.
    forgetScreenPicture();
    while (pauseScreenShown(state)) {
        pauseScreen();
        followMusicPreview(run.song, previewing, true);
        run.lastUpdate = SDL_GetTicks();
    }
    // Leaving the level stops the music with the level; resuming play resumes
    // it, with the keys as they are held now.
    if (state.started && !state.quit) {
        run.song.resume();
        takeHeldInput(state, run, world, SDL_GetKeyboardState(nullptr));
    }
    // Nor is the pause's.
    world.lastPlayTick = 0;
}

void playFrame(RunObjects& run, World& world, float dt, Uint32 now, const std::function<void()>& afterInput) {
    const Uint64 start = SDL_GetPerformanceCounter();
    if (world.lastPlayTick != 0) world.account.playedMs += now - world.lastPlayTick;
    world.lastPlayTick = now;
    // During a kill's breath the keys wait: the clock of play stands still.
    if (!frozen(world.feel, now)) handlePlayEvents(state, run, world);
    if (afterInput) afterInput();
    runFrame(state, run, world, dt, now);

    SDL_SetRenderDrawColor(gameRenderer, 16, 16, 16, 255);
    presentFrame();

    const double elapsed = static_cast<double>(SDL_GetPerformanceCounter() - start) /
                           static_cast<double>(SDL_GetPerformanceFrequency());
    world.lastFPS = elapsed > 0 ? static_cast<float>(1.0 / elapsed) : 0.0f;
}

void holdStill(RunObjects& run, World& world, Uint32 milliseconds) {
    const Uint32 until = SDL_GetTicks() + milliseconds;
    while (SDL_TICKS_PASSED(SDL_GetTicks(), until) == SDL_FALSE && !state.quit) {
        const Uint32 current = SDL_GetTicks();
        settleTrauma(world.feel, static_cast<float>(current - run.lastUpdate) / 1000.0f);
        run.lastUpdate = current;
        renderStillFrame(state, run, world, current);
        SDL_SetRenderDrawColor(gameRenderer, 16, 16, 16, 255);
        presentFrame();
        SDL_PumpEvents();
    }
}

void playWave(RunObjects& run, World& world) {
    while (state.started && world.inWave && !state.quit) {
        const Uint32 current = SDL_GetTicks();
        const float dt = static_cast<float>(current - run.lastUpdate) / 1000.0f;
        run.lastUpdate = current;
        playFrame(run, world, dt, current);
        if (state.menu == Menu::pause) pausePlay(run, world);
    }
    // The hero's fall: a breath, the camera kicked, before what comes next.
    if (world.waveNumber == 0 && state.started && !state.quit) holdStill(run, world, BIG_FREEZE_MS);
}

void runWaves(RunObjects& run, World& world) {
    // The music loops for as long as the level is played, shop visits and deaths included.
    if (!run.song.isPlaying()) run.song.play();
    while (state.started && !state.quit) {
        startWave(run, world);
        playWave(run, world);
        world.allCharacterEntities.clear();
        // The hero fell: the run's account before the next wave 1.
        if (world.waveNumber == 0 && state.started && !state.quit) arcadeRunOver(run, world);
    }
    run.song.stop();
}

void runLevels(RunObjects& run) {
    Menu firstScreen = Menu::head;
    while (!state.quit) {
        resetState();
        run.playerSpawns.clear();
        World world;

        state.menu = firstScreen;
        firstScreen = Menu::head;
        if (controller != nullptr) controllerEvent(state, MENU_CONTROL::connect);
        bool previewing = false;
        forgetScreenPicture();
        while (!state.started && !state.quit) {
            startScreen();
            followMusicPreview(run.song, previewing, false);
        }
        if (state.quit) break;
        if (state.mode == PlayMode::campaign) {
            runCampaign(run);
            continue;
        }

        loadLevel(run, world, state.level);
        if (!levelPlayable(run, world)) {
            // No hero or no robot could ever enter: back to the choice, with a word why.
            state.started = false;
            firstScreen = Menu::level;
            showLevelNotice(state.level);
            continue;
        }
        clearLevelNotice();
        runWaves(run, world);
    }
}

int runGame(std::optional<bool> fullscreen) {
    state.settings = loadSettings();
    state.records = loadRecords();
    state.campaign = loadCampaign();
    if (!init(fullscreen.value_or(state.settings.fullscreen))) {
        SDL_Log("Initialization failed!\n");
        clearImageCache();
        close();
        return 1;
    }
    {
        SDL_SetRenderDrawBlendMode(gameRenderer, SDL_BLENDMODE_BLEND);
        // The main menu shows before the run's objects load (their pictures,
        // sounds and the composed backdrop): only the menus wait on nothing.
        UI_init(gameRenderer, state, nullptr);
        state.menu = Menu::head;
        showMenuNow();
        RunObjects run(gameRenderer);
        run.lastUpdate = SDL_GetTicks();
        zorbiPointer = &run.player;
        UI_setPlayer(&run.player);
        runLevels(run);
        // The interface's textures and fonts go before the renderer and the libraries.
        UI_close();
        zorbiPointer = nullptr;
    }
    // The decoded pictures go once the last texture made from them has.
    clearImageCache();
    close();
    return 0;
}

int gameMain(int argc, const char* const* argv) {
    const CommandLine line = readCommandLine(argc, argv);
    switch (line.action) {
    case CommandLine::Action::help:
        std::fputs(usageText().c_str(), stdout);
        return 0;
    case CommandLine::Action::version:
        std::puts(versionText().c_str());
        return 0;
    case CommandLine::Action::refuse:
        std::fprintf(stderr, "%s\n%s", line.complaint.c_str(), usageText().c_str());
        return USAGE_ERROR_STATUS;
    case CommandLine::Action::play:
        break;
    }
    return runGame(line.fullscreen);
}
