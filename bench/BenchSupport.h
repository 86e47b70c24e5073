#pragma once

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <ctime>

#include "Game.h"

// One frame of a 60 Hz display, in seconds.
constexpr double FRAME_SECONDS = 1.0 / 60.0;

// The process's CPU time in seconds: the clock of the library's CPU column.
inline double processSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Adds up the CPU time of the measured stretches alongside the library and
// reports it per iteration as a share of one 60 Hz frame, the user counter
// "frame_budget_share": 0.25 means the work takes a quarter of a frame.
// CPU time rather than wall time, because the cores are shared with other
// work and the wall clock counts the waits for them too.
class FrameBudget {
public:
    void start() { begin = processSeconds(); }
    void stop() { total += processSeconds() - begin; }
    void report(benchmark::State& st) const {
        if (st.iterations() == 0) return;
        st.counters["frame_budget_share"] = total / (static_cast<double>(st.iterations()) * FRAME_SECONDS);
    }

private:
    double begin = 0;
    double total = 0;
};

// A software renderer that stands in for the game's renderer while it lives.
// A window canvas draws into a hidden window of SDL's dummy video driver, in
// that window's own pixel format, as the game would on a machine without
// graphics acceleration; a surface canvas draws into a plain surface, which at
// 1 x 1 leaves every drawing call in place but gives it almost no pixels to fill.
class Canvas {
public:
    enum Kind { window, surface };

    explicit Canvas(Kind kind = surface, int w = WINDOW_WIDTH, int h = WINDOW_HEIGHT) {
        if (kind == window) {
            sdlWindow = SDL_CreateWindow("bench", 0, 0, w, h, SDL_WINDOW_HIDDEN);
            if (sdlWindow != nullptr) renderer = SDL_CreateRenderer(sdlWindow, -1, SDL_RENDERER_SOFTWARE);
        } else {
            pixels = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_RGB888);
            if (pixels != nullptr) renderer = SDL_CreateSoftwareRenderer(pixels);
        }
        // The game draws with blending on (see runGame).
        if (renderer != nullptr) SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
        previous = gameRenderer;
        gameRenderer = renderer;
    }
    ~Canvas() {
        gameRenderer = previous;
        if (renderer != nullptr) SDL_DestroyRenderer(renderer);
        if (pixels != nullptr) SDL_FreeSurface(pixels);
        if (sdlWindow != nullptr) SDL_DestroyWindow(sdlWindow);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    bool ok() const { return renderer != nullptr; }

    SDL_Renderer* renderer = nullptr;

private:
    SDL_Window* sdlWindow = nullptr;
    SDL_Surface* pixels = nullptr;
    SDL_Renderer* previous = nullptr;
};

// Calls to open(), openat() and fopen() (with their 64-bit twins) made by the
// process so far, from the game's code and from every shared library.
long fileOpenCount();
