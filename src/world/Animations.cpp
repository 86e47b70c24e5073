#include "world/Animations.h"

#include "platform/GlobalConstants.h"
#include "platform/Resources.h"

Explosion::Explosion(int _x, int _y, SDL_Renderer* renderer) : x(_x - scale(16)), y(_y - scale(16)) {
    texture.setup(scale(32), scale(32), renderer);
    if (!texture.loadFromFile("explosion.png")) {
        logOnce("Could not load explosion texture!");
    }
}

void Explosion::render() const {
    const SDL_Rect source{(frame / 2) * PICTURE_SIZE, 0, PICTURE_SIZE, PICTURE_SIZE};
    texture.render(x, y, SDL_FLIP_NONE, &source);
}
