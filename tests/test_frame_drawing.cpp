#include <gtest/gtest.h>

#include <list>
#include <vector>

#include "Camera.h"
#include "Frame.h"
#include "TestSupport.h"

namespace {
// Every pixel of the canvas, row after row.
std::vector<Uint32> pixelsOf(const Canvas& canvas) {
    SDL_RenderFlush(canvas.renderer);
    const SDL_Surface* surface = canvas.surface;
    std::vector<Uint32> pixels;
    pixels.reserve(static_cast<std::size_t>(surface->w * surface->h));
    for (int y = 0; y < surface->h; ++y) {
        const auto* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(surface->pixels) + y * surface->pitch);
        pixels.insert(pixels.end(), row, row + surface->w);
    }
    return pixels;
}
}  // namespace

TEST(FrameDrawing, ComposedBackdropShowsExactlyThePictureUnderItsVeil) {
    Canvas canvas;
    RunObjects run(canvas.renderer);
    ASSERT_NE(run.backdrop, nullptr);
    renderBackdrop(run);
    const std::vector<Uint32> composed = pixelsOf(canvas);

    // Without the composed texture the frame draws picture and veil itself.
    run.backdrop.reset();
    canvas.clear(255, 0, 255);
    renderBackdrop(run);
    EXPECT_TRUE(composed == pixelsOf(canvas));
    EXPECT_FALSE(sameColour(canvas.pixel(600, 360), 255, 0, 255));
}

TEST(FrameDrawing, ComposingTheBackdropLeavesTheRendererAsItWas) {
    Canvas canvas;
    SDL_SetRenderDrawColor(canvas.renderer, 12, 34, 56, 78);
    RunObjects run(canvas.renderer);
    ASSERT_NE(run.backdrop, nullptr);
    EXPECT_EQ(SDL_GetRenderTarget(canvas.renderer), nullptr);  // later drawing reaches the window
    Uint8 r = 0, g = 0, b = 0, a = 0;
    SDL_GetRenderDrawColor(canvas.renderer, &r, &g, &b, &a);
    EXPECT_EQ(r, 12);
    EXPECT_EQ(g, 34);
    EXPECT_EQ(b, 56);
    EXPECT_EQ(a, 78);
}

TEST(FrameDrawing, PlatformsReachingIntoTheWindowAreDrawnFromAnySide) {
    Canvas canvas;
    std::list<Platform> tiles;
    tiles.emplace_back(400, -10, canvas.renderer);  // 10 of its 25 rows inside, at the top
    tiles.emplace_back(790, 100, canvas.renderer);  // 15 columns inside, at the right
    tiles.emplace_back(-40, 200, canvas.renderer);  // 60 columns inside, at the left
    tiles.emplace_back(300, 475, canvas.renderer);  // its top 7 rows inside, at the bottom
    std::list<Platform*> platforms;
    for (Platform& tile : tiles) platforms.push_back(&tile);
    canvas.clear(255, 0, 255);
    renderPlatforms(platforms, false);

    EXPECT_FALSE(sameColour(canvas.pixel(610, 5), 255, 0, 255));
    EXPECT_FALSE(sameColour(canvas.pixel(1195, 160), 255, 0, 255));
    EXPECT_FALSE(sameColour(canvas.pixel(10, 310), 255, 0, 255));
    EXPECT_FALSE(sameColour(canvas.pixel(460, 716), 255, 0, 255));
    EXPECT_TRUE(sameColour(canvas.pixel(600, 360), 255, 0, 255));  // and nothing where none lies
}
