#pragma once

#include <SDL.h>

#include "world/Texture.h"

// The burst left where a robot died: five pictures, each shown for two frames.
class Explosion {
public:
    // x and y are the centre of the explosion in window pixels.
    Explosion(int x, int y, SDL_Renderer* renderer);

    void render() const;
    void advance() { frame += 1; }
    bool finished() const { return frame == FRAME_COUNT; }

    int getX() const { return x; }
    int getY() const { return y; }
    int getFrame() const { return frame; }

    static const int FRAME_COUNT = 10;
    static const int PICTURE_SIZE = 27;

private:
    int x;
    int y;
    int frame = 0;
    Texture texture;
};
