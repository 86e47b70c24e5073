#pragma once

// A tile of the level the hero and the robots stand on, drawn from one shared strip.

#include <SDL.h>

#include <memory>

#include "world/Texture.h"

// Platforms side by side that one copy of the composed strip can draw: a whole level row.
const int PLATFORM_STRIP_LENGTH = 12;

// One solid tile of a level: the strip at the bottom of its tile that bodies stand on.
class Platform {
public:
    // x and y are authored (unscaled) units; the platform scales them itself.
    Platform(int x, int y, SDL_Renderer* renderer);

    // The picture, then the dark veil over it.
    void render() const;
    SDL_Rect& getPlatformRect() { return box; }
    const SDL_Rect& getPlatformRect() const { return box; }
    void setPosition(int x, int y);

    // PLATFORM_STRIP_LENGTH platforms side by side as render() draws them, in one
    // opaque texture shared by every platform of the renderer; composed on first
    // asking. Null where there can be none (see composePlatformStrip).
    SDL_Texture* getStrip() const;

    // The veil's colour; it is drawn with the renderer's blend mode.
    static constexpr SDL_Color VEIL{20, 20, 20, 80};

private:
    SDL_Rect box;
    Texture texture;
    SDL_Renderer* renderer;
    mutable std::shared_ptr<SDL_Texture> strip;
    mutable bool stripAsked = false;

public:
    const int width;
    const int height;
};

// The picture drawn count times side by side, each under the platform's veil,
// into a texture of the renderer: a row of platforms in one copy, exactly as
// drawn one by one. Only for a wholly opaque picture, since the veil over a
// see-through pixel darkens whatever lies behind the platform; null for any
// other picture, and where the renderer cannot draw into textures.
std::shared_ptr<SDL_Texture> composePlatformStrip(SDL_Renderer* renderer, const Texture& picture, int count);
