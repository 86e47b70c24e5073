#pragma once

#include <SDL.h>

// A spawn point: the area where the hero (type 1) or a robot (type 2) enters
// the level, with flags the game recomputes every frame.
class Spawn {
public:
    Spawn(int x, int y, int w, int h, int _type) : type(_type) { init(x, y, w, h); }

    void init(int x, int y, int w, int h) { rect = {x, y, w, h}; }

    int getX() const { return rect.x; }
    int getY() const { return rect.y; }
    SDL_Rect& getRect() { return rect; }
    const SDL_Rect& getRect() const { return rect; }
    int getType() const { return type; }

    void setPosition(int x, int y) {
        rect.x = x;
        rect.y = y;
    }

    void setOccupied(bool value) { occupied = value; }
    bool getOccupied() const { return occupied; }
    void setOnScreen(bool value) { onScreen = value; }
    bool isOnScreen() const { return onScreen; }

    // A translucent green patch for the hero's points, red for everything else.
    void render(SDL_Renderer* _renderer) const {
        const SDL_Color c = colour();
        SDL_SetRenderDrawColor(_renderer, c.r, c.g, c.b, c.a);
        SDL_RenderFillRect(_renderer, &rect);
    }
    SDL_Color colour() const { return type == 1 ? SDL_Color{0, 105, 0, 100} : SDL_Color{105, 0, 0, 100}; }

private:
    SDL_Rect rect{0, 0, 0, 0};
    bool occupied = false;
    bool onScreen = true;
    int type = 0;
};
