#include "ui/Interface.h"

SDL_Color white{255, 255, 255, 255};
TTF_Font* counter = nullptr;
TTF_Font* small = nullptr;
TTF_Font* verySmall = nullptr;
TTF_Font* title = nullptr;
SDL_Renderer* renderer = nullptr;
Player* player = nullptr;

void fillBar(const SDL_Rect& rect, Uint8 r, Uint8 g, Uint8 b, Uint8 a) {
    SDL_SetRenderDrawColor(renderer, r, g, b, a);
    if (rect.w > 0 && rect.h > 0) SDL_RenderFillRect(renderer, &rect);
}
