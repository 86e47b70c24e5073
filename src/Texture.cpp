#include "Texture.h"

#include <SDL_image.h>

#include <map>
#include <utility>

#include "Resources.h"

namespace {

struct SurfaceDeleter {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};

struct TextureDeleter {
    void operator()(SDL_Texture* texture) const { SDL_DestroyTexture(texture); }
};

// A decoded image, or the reason it could not be decoded.
struct DecodedImage {
    std::unique_ptr<SDL_Surface, SurfaceDeleter> surface;
    std::string error;
};

// Images decoded from disk, by file name: each file is read once per process.
std::map<std::string, DecodedImage>& decodedImages() {
    static std::map<std::string, DecodedImage> images;
    return images;
}

// Renderer textures made from those images, shared by every holder while any holder lives.
std::map<std::pair<SDL_Renderer*, std::string>, std::weak_ptr<SDL_Texture>>& sharedTextures() {
    static std::map<std::pair<SDL_Renderer*, std::string>, std::weak_ptr<SDL_Texture>> textures;
    return textures;
}

const DecodedImage& decode(const std::string& filePath) {
    auto& images = decodedImages();
    auto found = images.find(filePath);
    if (found != images.end()) return found->second;

    DecodedImage image;
    image.surface.reset(IMG_Load(texturePath(filePath).c_str()));
    if (image.surface) {
        SDL_SetColorKey(image.surface.get(), SDL_TRUE, SDL_MapRGB(image.surface->format, 0, 0xFF, 0xFF));
    } else {
        image.error = IMG_GetError();
    }
    return images.emplace(filePath, std::move(image)).first->second;
}

}  // namespace

int decodedImageCount() {
    int count = 0;
    for (const auto& entry : decodedImages()) count += entry.second.surface ? 1 : 0;
    return count;
}

void clearImageCache() {
    decodedImages().clear();
    sharedTextures().clear();
}

void Texture::setup(int w, int h, SDL_Renderer* renderer) {
    mWidth = w;
    mHeight = h;
    gameRenderer = renderer;
}

void Texture::setup(SDL_Renderer* renderer) { gameRenderer = renderer; }

bool Texture::loadFromFile(const std::string& filePath) {
    // Keep the drawn size across the reload: free() clears it for a loaded texture.
    const int w = mWidth;
    const int h = mHeight;
    free();
    mWidth = w;
    mHeight = h;

    const DecodedImage& image = decode(filePath);
    if (!image.surface) {
        SDL_Log("Unable to load image %s! SDL_image Error: %s\n", filePath.c_str(), image.error.c_str());
        return false;
    }

    std::weak_ptr<SDL_Texture>& shared = sharedTextures()[{gameRenderer, filePath}];
    mTexture = shared.lock();
    if (!mTexture) {
        SDL_Texture* created = SDL_CreateTextureFromSurface(gameRenderer, image.surface.get());
        if (created == nullptr) {
            SDL_Log("Unable to create texture from %s! SDL Error: %s\n", filePath.c_str(), SDL_GetError());
            return false;
        }
        mTexture.reset(created, TextureDeleter());
        shared = mTexture;
    }
    return true;
}

bool Texture::loadFromRenderedText(const std::string& textureText, const SDL_Color& textColor, TTF_Font* font) {
    free();
    SDL_Surface* textSurface =
        font != nullptr ? TTF_RenderText_Blended(font, textureText.c_str(), textColor) : nullptr;
    if (textSurface == nullptr) {
        SDL_Log("Unable to render text surface! SDL_ttf Error: %s\n",
                font != nullptr ? TTF_GetError() : "no font");
        return false;
    }
    SDL_Texture* created = SDL_CreateTextureFromSurface(gameRenderer, textSurface);
    if (created != nullptr) {
        mTexture.reset(created, TextureDeleter());
        mWidth = textSurface->w;
        mHeight = textSurface->h;
    } else {
        SDL_Log("Unable to create texture from rendered text! SDL Error: %s\n", SDL_GetError());
    }
    SDL_FreeSurface(textSurface);
    return mTexture != nullptr;
}

void Texture::render(int x, int y, SDL_RendererFlip flip, const SDL_Rect* srcRect, double angle,
                     const SDL_Point* center) const {
    if (!mTexture) return;
    SDL_SetTextureColorMod(mTexture.get(), modulation.r, modulation.g, modulation.b);
    SDL_SetTextureAlphaMod(mTexture.get(), modulation.a);
    const SDL_Rect destination{x, y, mWidth, mHeight};
    SDL_RenderCopyEx(gameRenderer, mTexture.get(), srcRect, &destination, angle, center, flip);
}

void Texture::free() {
    if (!mTexture) return;
    mTexture.reset();
    mWidth = 0;
    mHeight = 0;
}

void Texture::setColorMod(Uint8 r, Uint8 g, Uint8 b) {
    modulation.r = r;
    modulation.g = g;
    modulation.b = b;
}

void Texture::setAlphaMod(Uint8 a) { modulation.a = a; }
