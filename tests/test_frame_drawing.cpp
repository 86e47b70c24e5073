#include <gtest/gtest.h>

#include <array>
#include <list>
#include <vector>

#include "TestSupport.h"
#include "play/Backdrop.h"
#include "play/Camera.h"
#include "play/Frame.h"

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

// Left out under what covers it, the backdrop shows nowhere in the cover
// (overlapping areas, areas at the window's edges) and wholly everywhere else.
TEST(FrameDrawing, TheBackdropLeavesOutExactlyItsCover) {
    Canvas canvas;
    RunObjects run(canvas.renderer);
    ASSERT_NE(run.backdrop, nullptr);
    renderBackdrop(run);
    const std::vector<Uint32> whole = pixelsOf(canvas);

    const std::vector<SDL_Rect> cover{{0, 0, 240, 25}, {200, 10, 100, 40}, {960, 695, 240, 25}, {500, 300, 1, 1}};
    SDL_SetRenderDrawColor(canvas.renderer, 255, 0, 255, 255);
    renderBackdrop(run, cover);
    const std::vector<Uint32> around = pixelsOf(canvas);
    const Uint32 magenta = SDL_MapRGB(canvas.surface->format, 255, 0, 255);
    int wrong = 0;
    for (int y = 0; y < WINDOW_HEIGHT; ++y) {
        for (int x = 0; x < WINDOW_WIDTH; ++x) {
            const SDL_Point p{x, y};
            bool covered = false;
            for (const SDL_Rect& area : cover) covered = covered || SDL_PointInRect(&p, &area);
            const std::size_t i = static_cast<std::size_t>(y * WINDOW_WIDTH + x);
            wrong += (covered ? around[i] == magenta : around[i] == whole[i]) ? 0 : 1;
        }
    }
    EXPECT_EQ(wrong, 0);
}

// The frame's platforms cover what the backdrop leaves out for them: the
// picture is the same pixel for pixel, rows cut by the window's edges included.
TEST(FrameDrawing, PlatformsOverTheBackdropsHolesDrawTheSamePicture) {
    Canvas canvas;
    RunObjects run(canvas.renderer);
    std::list<Platform> tiles;
    for (int column = 0; column < 12; column += column == 3 ? 3 : 1) tiles.emplace_back(column * 80, 60, canvas.renderer);
    tiles.emplace_back(-40, -10, canvas.renderer);
    tiles.emplace_back(40, -10, canvas.renderer);
    tiles.emplace_back(760, 470, canvas.renderer);
    std::list<Platform*> platforms;
    for (Platform& tile : tiles) platforms.push_back(&tile);

    renderBackdrop(run);
    renderPlatforms(platforms, false);
    const std::vector<Uint32> before = pixelsOf(canvas);

    std::vector<SDL_Rect> cover;
    platformCover(platforms, cover);
    EXPECT_EQ(cover.size(), 4u);  // two runs in the row, the pair at the top, the one at the bottom
    SDL_SetRenderDrawColor(canvas.renderer, 255, 0, 255, 255);
    renderBackdrop(run, cover);
    renderPlatforms(platforms, false);
    EXPECT_TRUE(before == pixelsOf(canvas));
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

namespace {
// Stripes of many colours, so that a veil drawn twice or not at all shows.
void paintStripes(Canvas& canvas) {
    for (int x = 0; x < 1200; x += 40) {
        SDL_SetRenderDrawColor(canvas.renderer, static_cast<Uint8>(x / 5), static_cast<Uint8>(255 - x / 5),
                               static_cast<Uint8>((x * 7) % 256), 255);
        const SDL_Rect stripe{x, 0, 40, 720};
        SDL_RenderFillRect(canvas.renderer, &stripe);
    }
}

// Platforms at authored positions: a row longer than one strip reaching out of
// the window on the left, a row broken by a gap, one platform alone and one
// starting where it ends but a row lower, one half under the bottom edge, one
// at the right edge, and one lying over another, listed after it.
std::list<Platform> sampleTiles(SDL_Renderer* renderer) {
    std::list<Platform> tiles;
    for (int k = 0; k < PLATFORM_STRIP_LENGTH + 2; ++k) tiles.emplace_back(80 * k - 120, 63, renderer);
    for (int k : {0, 1, 2, 4, 5}) tiles.emplace_back(80 * k, 143, renderer);
    tiles.emplace_back(400, 223, renderer);
    tiles.emplace_back(480, 383, renderer);
    tiles.emplace_back(160, 470, renderer);
    tiles.emplace_back(760, 303, renderer);
    tiles.emplace_back(410, 228, renderer);
    return tiles;
}

using Colour = std::array<int, 4>;

Colour drawColour(SDL_Renderer* renderer) {
    Uint8 r = 0, g = 0, b = 0, a = 0;
    SDL_GetRenderDrawColor(renderer, &r, &g, &b, &a);
    return {r, g, b, a};
}

std::list<Platform*> pointersTo(std::list<Platform>& tiles) {
    std::list<Platform*> platforms;
    for (Platform& tile : tiles) platforms.push_back(&tile);
    return platforms;
}

// The platforms drawn one by one: picture, veil, and the blue outline in developer mode.
void drawEachPlatform(const std::list<Platform*>& platforms, bool developerMode, SDL_Renderer* renderer) {
    for (const Platform* platform : platforms) {
        platform->render();
        if (developerMode) {
            SDL_SetRenderDrawColor(renderer, 0, 0, 255, 255);
            SDL_RenderDrawRect(renderer, &platform->getPlatformRect());
        }
    }
}
}  // namespace

TEST(PlatformStrip, RowsDrawnFromTheStripShowTheSamePixelsAsEachPlatformDrawnAlone) {
    Canvas canvas;
    std::list<Platform> tiles = sampleTiles(canvas.renderer);
    const std::list<Platform*> platforms = pointersTo(tiles);
    ASSERT_NE(tiles.front().getStrip(), nullptr);
    EXPECT_EQ(tiles.front().getStrip(), tiles.back().getStrip());  // one strip for every platform of the renderer

    for (bool developerMode : {false, true}) {
        paintStripes(canvas);
        drawEachPlatform(platforms, developerMode, canvas.renderer);
        const std::vector<Uint32> oneByOne = pixelsOf(canvas);
        paintStripes(canvas);
        renderPlatforms(platforms, developerMode);
        EXPECT_TRUE(oneByOne == pixelsOf(canvas)) << "developer mode " << developerMode;
        // The draw colour is left as drawing them one by one leaves it.
        const Colour blue{0, 0, 255, 255};
        const Colour veil{20, 20, 20, 80};
        EXPECT_EQ(drawColour(canvas.renderer), developerMode ? blue : veil);
    }
    // The platforms do show: dark, yet not the stripe under them.
    EXPECT_FALSE(sameColour(canvas.pixel(200, 106), 40, 215, 24, 20));
}

TEST(PlatformStrip, OnlyAnOpaquePictureGetsAStripAndOtherPlatformsDrawThemselves) {
    Canvas canvas;
    Texture platformPicture;
    platformPicture.setup(120, 25, canvas.renderer);
    ASSERT_TRUE(platformPicture.loadFromFile("platform.png"));
    EXPECT_NE(composePlatformStrip(canvas.renderer, platformPicture, 3), nullptr);
    EXPECT_EQ(composePlatformStrip(nullptr, platformPicture, 3), nullptr);
    EXPECT_EQ(composePlatformStrip(canvas.renderer, Texture(), 3), nullptr);

    // The hero's picture is see-through around him: a veil there darkens what lies behind.
    Texture seeThrough;
    seeThrough.setup(120, 25, canvas.renderer);
    ASSERT_TRUE(seeThrough.loadFromFile("Zorbi.png"));
    EXPECT_EQ(composePlatformStrip(canvas.renderer, seeThrough, 3), nullptr);
    // Refusing leaves the renderer drawing into the window, in the colour it had.
    SDL_SetRenderDrawColor(canvas.renderer, 1, 2, 3, 4);
    EXPECT_EQ(composePlatformStrip(canvas.renderer, seeThrough, 1), nullptr);
    EXPECT_EQ(SDL_GetRenderTarget(canvas.renderer), nullptr);
    EXPECT_EQ(drawColour(canvas.renderer), (Colour{1, 2, 3, 4}));
}

TEST(PlatformStrip, PlatformsOfAnotherSizeAreDrawnOneByOne) {
    Canvas canvas;
    std::list<Platform> tiles = sampleTiles(canvas.renderer);
    const std::list<Platform*> platforms = pointersTo(tiles);
    // Widened platforms lie over their neighbours: each must still be drawn in its own turn.
    for (Platform& tile : tiles) tile.getPlatformRect().w += 30;
    paintStripes(canvas);
    drawEachPlatform(platforms, false, canvas.renderer);
    const std::vector<Uint32> oneByOne = pixelsOf(canvas);
    paintStripes(canvas);
    renderPlatforms(platforms, false);
    EXPECT_TRUE(oneByOne == pixelsOf(canvas));
}

TEST(SpawnDrawing, PatchesFilledByColourShowTheSamePixelsAsEachPointDrawingItself) {
    Canvas canvas;
    // Robots' points, the hero's lying over one of them, then robots' again:
    // overlapping patches of two colours, whose order shows.
    std::vector<Spawn> points{{100, 100, 75, 75, 2}, {150, 120, 75, 75, 2}, {200, 100, 75, 90, 1},
                              {600, 300, 75, 75, 2}, {240, 150, 75, 75, 2}, {900, 400, 75, 90, 1}};
    std::vector<Spawn*> allSpawns;
    for (Spawn& point : points) allSpawns.push_back(&point);

    paintStripes(canvas);
    for (const Spawn* point : allSpawns) point->render(canvas.renderer);
    const std::vector<Uint32> oneByOne = pixelsOf(canvas);
    paintStripes(canvas);
    renderSpawns(allSpawns, false);
    EXPECT_TRUE(oneByOne == pixelsOf(canvas));
    // The colour of the last point drawn stays set, as before.
    EXPECT_EQ(drawColour(canvas.renderer), (Colour{0, 105, 0, 100}));

    // Every red patch first, then every green one, would show otherwise.
    paintStripes(canvas);
    for (int type : {2, 1}) {
        for (const Spawn* point : allSpawns) {
            if (point->getType() == type) point->render(canvas.renderer);
        }
    }
    EXPECT_FALSE(oneByOne == pixelsOf(canvas));
}
