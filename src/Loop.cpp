#include "Loop.h"

#include "Frame.h"
#include "Game.h"
#include "Hud.h"
#include "Input.h"
#include "UI.h"

void playLevel(RunObjects& run, World& world) {
    world.inWave = true;
    world.waveStarted = false;
    world.startWaveLoad = SDL_GetTicks();
    const double counterFrequency = static_cast<double>(SDL_GetPerformanceFrequency());

    while (state.started && world.inWave && !state.quit) {
        const Uint64 start = SDL_GetPerformanceCounter();
        const Uint32 current = SDL_GetTicks();
        const float dt = static_cast<float>(current - run.lastUpdate) / 1000.0f;
        run.lastUpdate = current;

        handlePlayEvents(state, run, world);
        runFrame(run, world, dt, current);

        SDL_SetRenderDrawColor(gameRenderer, 16, 16, 16, 255);
        SDL_RenderPresent(gameRenderer);

        const double elapsed = static_cast<double>(SDL_GetPerformanceCounter() - start) / counterFrequency;
        world.lastFPS = elapsed > 0 ? static_cast<float>(1.0 / elapsed) : 0.0f;
    }
}

void runLevels(RunObjects& run) {
    while (!state.quit) {
        resetState();
        run.playerSpawns.clear();
        World world;

        // The menus decide the level; until they are there, play goes straight to level 1.
        state.level = 1;
        state.started = true;
        state.menu = Menu::notInMenu;

        loadLevel(run, world, state.level);
        updateInGameText(run.player.getCombo(), 1, run.player.getXP());
        while (state.started && !state.quit) playLevel(run, world);
    }
}

int runGame() {
    if (!init()) {
        SDL_Log("Initialization failed!\n");
        close();
        return 1;
    }
    {
        SDL_SetRenderDrawBlendMode(gameRenderer, SDL_BLENDMODE_BLEND);
        RunObjects run(gameRenderer);
        run.lastUpdate = SDL_GetTicks();
        zorbiPointer = &run.player;
        UI_init(gameRenderer, state, &run.player);
        runLevels(run);
        // The interface's textures and fonts go before the renderer and the libraries.
        UI_close();
        zorbiPointer = nullptr;
    }
    close();
    return 0;
}
