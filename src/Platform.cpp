#include "Platform.h"

#include "GlobalConstants.h"

Platform::Platform(int x, int y, SDL_Renderer* renderer)
    : box{scale(x), scale(y), scale(80), scale(17)}, renderer(renderer), width(scale(80)), height(scale(17)) {
    texture.setup(width, height, renderer);
    if (!texture.loadFromFile("platform.png")) {
        logOnce("Could not load platform.png texture!");
    }
}

void Platform::render() const {
    texture.render(box.x, box.y);
    SDL_SetRenderDrawColor(renderer, 20, 20, 20, 80);
    SDL_RenderFillRect(renderer, &box);
}

void Platform::setPosition(int x, int y) {
    box.x = x;
    box.y = y;
}
