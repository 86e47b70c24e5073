#pragma once

#include <SDL.h>

#include "Texture.h"

// One solid tile of a level: the strip at the bottom of its tile that bodies stand on.
class Platform {
public:
    // x and y are authored (unscaled) units; the platform scales them itself.
    Platform(int x, int y, SDL_Renderer* renderer);

    void render() const;
    SDL_Rect& getPlatformRect() { return box; }
    const SDL_Rect& getPlatformRect() const { return box; }
    void setPosition(int x, int y);

private:
    SDL_Rect box;
    Texture texture;
    SDL_Renderer* renderer;

public:
    const int width;
    const int height;
};
