#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include <memory>
#include <string>

// An image or rendered text together with the size it is drawn at.
//
// Copies share one renderer texture; the last holder releases it. Images are
// decoded once per process and every holder of the same file on the same
// renderer draws the same texture, so each holder keeps its own colour and
// alpha modulation and applies it at every draw: tinting one holder never
// tints another.
class Texture {
public:
    Texture() = default;

    void setup(int w, int h, SDL_Renderer* renderer);
    void setup(SDL_Renderer* renderer);

    // Loads filePath from the texture folder (see Resources.h); the drawn size stays as set up.
    bool loadFromFile(const std::string& filePath);
    // Renders text; the drawn size becomes the text's own size. A failure (no
    // font) is logged once a run.
    bool loadFromRenderedText(const std::string& textureText, const SDL_Color& textColor, TTF_Font* font);

    void render(int x, int y, SDL_RendererFlip flip = SDL_FLIP_NONE, const SDL_Rect* srcRect = nullptr,
                double angle = 0.0, const SDL_Point* center = nullptr) const;
    // The picture's shape in one flat colour (a hit's flash): every pixel that
    // is not transparent drawn in `colour` by colour modulation of a white copy
    // of the image, made once per image and renderer. Nothing for rendered text.
    void renderSilhouette(int x, int y, SDL_Color colour, SDL_RendererFlip flip = SDL_FLIP_NONE,
                          const SDL_Rect* srcRect = nullptr) const;

    // Drops this holder's share of the image; the size is cleared with it.
    void free();

    int getWidth() const { return mWidth; }
    int getHeight() const { return mHeight; }
    SDL_Texture* getTexture() const { return mTexture.get(); }
    SDL_Renderer* getRenderer() const { return gameRenderer; }

    void setColorMod(Uint8 r, Uint8 g, Uint8 b);
    void setAlphaMod(Uint8 a);
    SDL_Color getModulation() const { return modulation; }

private:
    std::shared_ptr<SDL_Texture> mTexture;
    // The white copy of a loaded image, made at the first flash.
    mutable std::shared_ptr<SDL_Texture> mSilhouette;
    std::string mFile;
    SDL_Renderer* gameRenderer = nullptr;
    int mWidth = 0;
    int mHeight = 0;
    SDL_Color modulation{255, 255, 255, 255};
};

// Number of image files decoded so far in this process (each file at most once).
int decodedImageCount();
// Forgets every decoded image. Called at shutdown, after the last texture is gone.
void clearImageCache();
