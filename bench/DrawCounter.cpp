// Counts the game's drawing calls. The executable defines these functions of
// SDL's renderer itself, so every call from the game's code (linked into the
// executable) passes through here before reaching SDL's own function; SDL's
// calls among its own functions are not counted.
#include "DrawCounter.h"

#include <SDL.h>
#include <dlfcn.h>

namespace {
DrawCalls counted;

template <typename Function>
Function next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}
}  // namespace

DrawCalls drawCallsSoFar() { return counted; }

extern "C" {

int SDL_RenderCopy(SDL_Renderer* renderer, SDL_Texture* texture, const SDL_Rect* source, const SDL_Rect* target) {
    static auto real = next<int (*)(SDL_Renderer*, SDL_Texture*, const SDL_Rect*, const SDL_Rect*)>("SDL_RenderCopy");
    ++counted.copies;
    return real(renderer, texture, source, target);
}

int SDL_RenderCopyEx(SDL_Renderer* renderer, SDL_Texture* texture, const SDL_Rect* source, const SDL_Rect* target,
                     const double angle, const SDL_Point* center, const SDL_RendererFlip flip) {
    static auto real = next<int (*)(SDL_Renderer*, SDL_Texture*, const SDL_Rect*, const SDL_Rect*, double,
                                    const SDL_Point*, SDL_RendererFlip)>("SDL_RenderCopyEx");
    ++counted.copies;
    return real(renderer, texture, source, target, angle, center, flip);
}

int SDL_RenderFillRect(SDL_Renderer* renderer, const SDL_Rect* rect) {
    static auto real = next<int (*)(SDL_Renderer*, const SDL_Rect*)>("SDL_RenderFillRect");
    ++counted.fills;
    ++counted.rectsFilled;
    return real(renderer, rect);
}

int SDL_RenderFillRects(SDL_Renderer* renderer, const SDL_Rect* rects, int count) {
    static auto real = next<int (*)(SDL_Renderer*, const SDL_Rect*, int)>("SDL_RenderFillRects");
    ++counted.fills;
    counted.rectsFilled += count > 0 ? count : 0;
    return real(renderer, rects, count);
}

int SDL_RenderDrawRect(SDL_Renderer* renderer, const SDL_Rect* rect) {
    static auto real = next<int (*)(SDL_Renderer*, const SDL_Rect*)>("SDL_RenderDrawRect");
    ++counted.outlines;
    return real(renderer, rect);
}

int SDL_RenderDrawLine(SDL_Renderer* renderer, int x1, int y1, int x2, int y2) {
    static auto real = next<int (*)(SDL_Renderer*, int, int, int, int)>("SDL_RenderDrawLine");
    ++counted.outlines;
    return real(renderer, x1, y1, x2, y2);
}

int SDL_RenderDrawPoint(SDL_Renderer* renderer, int x, int y) {
    static auto real = next<int (*)(SDL_Renderer*, int, int)>("SDL_RenderDrawPoint");
    ++counted.outlines;
    return real(renderer, x, y);
}

int SDL_RenderClear(SDL_Renderer* renderer) {
    static auto real = next<int (*)(SDL_Renderer*)>("SDL_RenderClear");
    ++counted.clears;
    return real(renderer);
}

int SDL_SetRenderDrawColor(SDL_Renderer* renderer, Uint8 r, Uint8 g, Uint8 b, Uint8 a) {
    static auto real = next<int (*)(SDL_Renderer*, Uint8, Uint8, Uint8, Uint8)>("SDL_SetRenderDrawColor");
    ++counted.colours;
    return real(renderer, r, g, b, a);
}

int SDL_SetTextureColorMod(SDL_Texture* texture, Uint8 r, Uint8 g, Uint8 b) {
    static auto real = next<int (*)(SDL_Texture*, Uint8, Uint8, Uint8)>("SDL_SetTextureColorMod");
    ++counted.modulations;
    return real(texture, r, g, b);
}

int SDL_SetTextureAlphaMod(SDL_Texture* texture, Uint8 alpha) {
    static auto real = next<int (*)(SDL_Texture*, Uint8)>("SDL_SetTextureAlphaMod");
    ++counted.modulations;
    return real(texture, alpha);
}
}
