#include "world/Texture.h"

#include <map>
#include <utility>

#include "platform/Picture.h"
#include "platform/Resources.h"

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

// The same for the images' white copies.
std::map<std::pair<SDL_Renderer*, std::string>, std::weak_ptr<SDL_Texture>>& sharedSilhouettes() {
    static std::map<std::pair<SDL_Renderer*, std::string>, std::weak_ptr<SDL_Texture>> textures;
    return textures;
}

const DecodedImage& decode(const std::string& filePath) {
    auto& images = decodedImages();
    auto found = images.find(filePath);
    if (found != images.end()) return found->second;

    DecodedImage image;
    image.surface.reset(loadPicture(texturePath(filePath), image.error));
    if (image.surface) {
        SDL_SetColorKey(image.surface.get(), SDL_TRUE, SDL_MapRGB(image.surface->format, 0, 0xFF, 0xFF));
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
    sharedSilhouettes().clear();
    forgetLoggedOnce();
}

namespace {

// Every pixel of the image that is not the transparent cyan, white and opaque;
// the rest clear.
SDL_Texture* makeSilhouette(SDL_Renderer* renderer, SDL_Surface* image) {
    SDL_Surface* pixels = SDL_ConvertSurfaceFormat(image, SDL_PIXELFORMAT_ARGB8888, 0);
    if (pixels == nullptr) return nullptr;
    SDL_LockSurface(pixels);
    for (int y = 0; y < pixels->h; ++y) {
        Uint32* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(pixels->pixels) + y * pixels->pitch);
        for (int x = 0; x < pixels->w; ++x) {
            const bool clear = (row[x] & 0x00FFFFFF) == 0x0000FFFF;
            row[x] = clear ? 0x00000000 : 0xFFFFFFFF;
        }
    }
    SDL_UnlockSurface(pixels);
    SDL_Texture* texture = SDL_CreateTextureFromSurface(renderer, pixels);
    SDL_FreeSurface(pixels);
    if (texture != nullptr) SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    return texture;
}

}  // namespace

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

    mFile = filePath;
    mSilhouette.reset();
    const DecodedImage& image = decode(filePath);
    if (!image.surface) {
        logOnce("Unable to load image " + filePath + "! SDL_image Error: " + image.error + "\n");
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
    mFile.clear();
    mSilhouette.reset();
    SDL_Surface* textSurface =
        font != nullptr ? TTF_RenderUTF8_Blended(font, textureText.c_str(), textColor) : nullptr;
    if (textSurface == nullptr) {
        // Without a font every text fails at every draw: told once a run (the
        // interface names the font file and why it did not open).
        logOnce(font != nullptr ? std::string("Unable to render text surface! SDL_ttf Error: ").append(TTF_GetError())
                                : std::string("Unable to render text surface! SDL_ttf Error: no font; texts stay blank"));
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

void Texture::renderSilhouette(int x, int y, SDL_Color colour, SDL_RendererFlip flip, const SDL_Rect* srcRect) const {
    if (!mTexture || mFile.empty()) return;
    if (!mSilhouette) {
        std::weak_ptr<SDL_Texture>& shared = sharedSilhouettes()[{gameRenderer, mFile}];
        mSilhouette = shared.lock();
        if (!mSilhouette) {
            const DecodedImage& image = decode(mFile);
            SDL_Texture* made = image.surface ? makeSilhouette(gameRenderer, image.surface.get()) : nullptr;
            if (made == nullptr) return;
            mSilhouette.reset(made, TextureDeleter());
            shared = mSilhouette;
        }
    }
    SDL_SetTextureColorMod(mSilhouette.get(), colour.r, colour.g, colour.b);
    SDL_SetTextureAlphaMod(mSilhouette.get(), colour.a);
    const SDL_Rect destination{x, y, mWidth, mHeight};
    SDL_RenderCopyEx(gameRenderer, mSilhouette.get(), srcRect, &destination, 0.0, nullptr, flip);
}

void Texture::free() {
    mSilhouette.reset();
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
