#include "world/Platform.h"

#include <map>
#include <vector>

#include "platform/GlobalConstants.h"
#include "platform/Resources.h"

namespace {

// The strip of each renderer while any of its platforms holds it, and the
// picture a renderer's strip was refused for, so that it is not tried again.
struct SharedStrip {
    std::weak_ptr<SDL_Texture> strip;
    SDL_Texture* refusedPicture = nullptr;
};

std::map<SDL_Renderer*, SharedStrip>& sharedStrips() {
    static std::map<SDL_Renderer*, SharedStrip> strips;
    return strips;
}

}  // namespace

Platform::Platform(int x, int y, SDL_Renderer* _renderer)
    : box{scale(x), scale(y), scale(80), scale(17)}, renderer(_renderer), width(scale(80)), height(scale(17)) {
    texture.setup(width, height, renderer);
    if (!texture.loadFromFile("platform.png")) {
        logOnce("Could not load platform.png texture!");
    }
}

void Platform::render() const {
    texture.render(box.x, box.y);
    SDL_SetRenderDrawColor(renderer, VEIL.r, VEIL.g, VEIL.b, VEIL.a);
    SDL_RenderFillRect(renderer, &box);
}

void Platform::setPosition(int x, int y) {
    box.x = x;
    box.y = y;
}

SDL_Texture* Platform::getStrip() const {
    if (stripAsked) return strip.get();
    stripAsked = true;
    if (renderer == nullptr || texture.getTexture() == nullptr) return nullptr;
    SharedStrip& shared = sharedStrips()[renderer];
    strip = shared.strip.lock();
    if (!strip && shared.refusedPicture != texture.getTexture()) {
        strip = composePlatformStrip(renderer, texture, PLATFORM_STRIP_LENGTH);
        shared.strip = strip;
        shared.refusedPicture = strip ? nullptr : texture.getTexture();
    }
    return strip.get();
}

std::shared_ptr<SDL_Texture> composePlatformStrip(SDL_Renderer* renderer, const Texture& picture, int count) {
    const int w = picture.getWidth();
    const int h = picture.getHeight();
    if (renderer == nullptr || picture.getTexture() == nullptr || count <= 0 || w <= 0 || h <= 0 ||
        !SDL_RenderTargetSupported(renderer)) {
        return nullptr;
    }
    SDL_Texture* target = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, w * count, h);
    if (target == nullptr) return nullptr;
    std::shared_ptr<SDL_Texture> strip(target, SDL_DestroyTexture);
    SDL_Texture* previousTarget = SDL_GetRenderTarget(renderer);
    if (SDL_SetRenderTarget(renderer, target) != 0) return nullptr;

    Uint8 r = 0, g = 0, b = 0, a = 0;
    SDL_GetRenderDrawColor(renderer, &r, &g, &b, &a);
    // The picture alone over white, then over black: a pixel it does not wholly
    // cover shows the two apart. Every copy is the same, so the first tells.
    const SDL_Rect first{0, 0, w, h};
    std::vector<Uint32> overWhite(static_cast<std::size_t>(w * h));
    std::vector<Uint32> overBlack(overWhite.size());
    SDL_SetRenderDrawColor(renderer, 255, 255, 255, 255);
    SDL_RenderClear(renderer);
    picture.render(0, 0);
    bool opaque = SDL_RenderReadPixels(renderer, &first, SDL_PIXELFORMAT_ARGB8888, overWhite.data(), w * 4) == 0;

    // Then the same drawing as one platform's, with the renderer's own blend mode.
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    for (int i = 0; i < count; ++i) picture.render(i * w, 0);
    opaque = opaque && SDL_RenderReadPixels(renderer, &first, SDL_PIXELFORMAT_ARGB8888, overBlack.data(), w * 4) == 0;
    opaque = opaque && overWhite == overBlack;
    const SDL_Color veil = Platform::VEIL;
    SDL_SetRenderDrawColor(renderer, veil.r, veil.g, veil.b, veil.a);
    const SDL_Rect whole{0, 0, w * count, h};
    SDL_RenderFillRect(renderer, &whole);

    SDL_SetRenderDrawColor(renderer, r, g, b, a);
    SDL_SetRenderTarget(renderer, previousTarget);
    if (!opaque) return nullptr;
    SDL_SetTextureBlendMode(target, SDL_BLENDMODE_NONE);
    return strip;
}
