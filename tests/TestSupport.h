#pragma once

#include <SDL.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "Game.h"

// A 1200 x 720 software canvas that stands in for the game's renderer while it
// lives, so drawing can be checked pixel by pixel.
class Canvas {
public:
    explicit Canvas(int w = 1200, int h = 720) {
        surface = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_RGBA8888);
        renderer = SDL_CreateSoftwareRenderer(surface);
        SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
        previous = gameRenderer;
        gameRenderer = renderer;
        clear(0, 0, 0);
    }
    ~Canvas() {
        gameRenderer = previous;
        SDL_DestroyRenderer(renderer);
        SDL_FreeSurface(surface);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    void clear(Uint8 r, Uint8 g, Uint8 b) {
        SDL_SetRenderDrawColor(renderer, r, g, b, 255);
        SDL_RenderClear(renderer);
    }

    SDL_Color pixel(int x, int y) const {
        SDL_RenderFlush(renderer);
        const Uint32 value = static_cast<Uint32*>(surface->pixels)[y * (surface->pitch / 4) + x];
        SDL_Color c;
        SDL_GetRGBA(value, surface->format, &c.r, &c.g, &c.b, &c.a);
        return c;
    }

    SDL_Renderer* renderer = nullptr;
    SDL_Surface* surface = nullptr;

private:
    SDL_Renderer* previous = nullptr;
};

inline bool sameColour(SDL_Color c, int r, int g, int b, int tolerance = 2) {
    return std::abs(c.r - r) <= tolerance && std::abs(c.g - g) <= tolerance && std::abs(c.b - b) <= tolerance;
}

// Collects what the game writes to SDL's log while it lives.
class LogCapture {
public:
    LogCapture() {
        SDL_LogGetOutputFunction(&previousFunction, &previousData);
        SDL_LogSetOutputFunction(&LogCapture::collect, this);
    }
    ~LogCapture() { SDL_LogSetOutputFunction(previousFunction, previousData); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    bool contains(const std::string& fragment) const {
        for (const std::string& line : lines)
            if (line.find(fragment) != std::string::npos) return true;
        return false;
    }
    int count(const std::string& fragment) const {
        int n = 0;
        for (const std::string& line : lines) n += line.find(fragment) != std::string::npos ? 1 : 0;
        return n;
    }

    std::vector<std::string> lines;

private:
    static void collect(void* self, int, SDL_LogPriority, const char* message) {
        static_cast<LogCapture*>(self)->lines.emplace_back(message);
    }
    SDL_LogOutputFunction previousFunction = nullptr;
    void* previousData = nullptr;
};

// Path of a level fixture kept with the tests.
inline std::string fixture(const std::string& name) { return std::string(ZELVANE_FIXTURES) + "/" + name; }
