#pragma once

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <ctime>

#include "platform/Game.h"

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
    double seconds() const { return total; }
    void report(benchmark::State& st) const {
        if (st.iterations() == 0) return;
        st.counters["frame_budget_share"] = total / (static_cast<double>(st.iterations()) * FRAME_SECONDS);
    }

private:
    double begin = 0;
    double total = 0;
};

// A renderer that stands in for the game's renderer while it lives.
// A window canvas draws with SDL's software renderer into a hidden window of
// the dummy video driver, in that window's own pixel format; a surface canvas
// draws into a plain surface, which at 1 x 1 leaves every drawing call in place
// but gives it almost no pixels to fill. A display canvas is the game's own
// kind: a shown window of a real display (X11, a virtual display will do) and
// the accelerated renderer SDL picks for it, as init() asks for it but without
// vsync, so that showing a frame does not wait for the display.
class Canvas {
public:
    enum Kind { window, surface, display };

    explicit Canvas(Kind kind = surface, int w = WINDOW_WIDTH, int h = WINDOW_HEIGHT) {
        if (kind == window) {
            sdlWindow = SDL_CreateWindow("bench", 0, 0, w, h, SDL_WINDOW_HIDDEN);
            if (sdlWindow != nullptr) renderer = SDL_CreateRenderer(sdlWindow, -1, SDL_RENDERER_SOFTWARE);
        } else if (kind == display) {
            sdlWindow = SDL_CreateWindow("bench", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, w, h, SDL_WINDOW_SHOWN);
            SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
            requestRenderBatching();
            if (sdlWindow != nullptr) renderer = SDL_CreateRenderer(sdlWindow, -1, SDL_RENDERER_ACCELERATED);
            if (renderer != nullptr) SDL_RenderSetLogicalSize(renderer, WINDOW_WIDTH, WINDOW_HEIGHT);
            SDL_PumpEvents();
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

    // The name of the renderer's driver ("software", "opengl", ...).
    const char* driver() const {
        SDL_RendererInfo info{};
        if (renderer == nullptr || SDL_GetRendererInfo(renderer, &info) != 0) return "";
        return info.name;
    }

    SDL_Renderer* renderer = nullptr;

private:
    SDL_Window* sdlWindow = nullptr;
    SDL_Surface* pixels = nullptr;
    SDL_Renderer* previous = nullptr;
};

// Calls to open(), openat() and fopen() (with their 64-bit twins) made by the
// process so far, from the game's code and from every shared library.
long fileOpenCount();
