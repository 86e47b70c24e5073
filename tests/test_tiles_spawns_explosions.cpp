#include <SDL_image.h>
#include <gtest/gtest.h>

#include <functional>

#include "TestSupport.h"
#include "world/Animations.h"
#include "world/Platform.h"
#include "world/Spawn.h"

namespace {
// The colour of the shipped platform picture at one of its pixels.
SDL_Color platformPicturePixel(int x, int y) {
    SDL_Surface* loaded = IMG_Load("resources/textures/platform.png");
    SDL_Surface* image = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGBA8888, 0);
    SDL_FreeSurface(loaded);
    const int sx = x * image->w / 120;
    const int sy = y * image->h / 25;
    SDL_Color c;
    SDL_GetRGBA(static_cast<Uint32*>(image->pixels)[sy * (image->pitch / 4) + sx], image->format, &c.r, &c.g, &c.b,
                &c.a);
    SDL_FreeSurface(image);
    return c;
}

int blend(int source, int alpha, int destination) { return (source * alpha + destination * (255 - alpha)) / 255; }
}  // namespace

TEST(PlatformTile, ScalesAuthoredPositionAndKeepsItsSize) {
    Canvas canvas;
    Platform first(0, 63, canvas.renderer);
    const SDL_Rect a = first.getPlatformRect();
    EXPECT_EQ(a.x, 0);
    EXPECT_EQ(a.y, 94);
    EXPECT_EQ(a.w, 120);
    EXPECT_EQ(a.h, 25);  // 17 * 1.5 = 25.5, truncated
    EXPECT_EQ(first.height, 25);
    Platform second(80, 143, canvas.renderer);
    EXPECT_EQ(second.getPlatformRect().x, 120);
    EXPECT_EQ(second.getPlatformRect().y, 214);
    second.setPosition(300, -40);
    EXPECT_EQ(second.getPlatformRect().w, 120);
    EXPECT_EQ(second.getPlatformRect().y, -40);
}

TEST(PlatformTile, DrawsItsPictureUnderADarkVeilInsideItsBoxOnly) {
    Canvas canvas;
    canvas.clear(0, 0, 0);
    Platform tile(80, 143, canvas.renderer);  // {120, 214, 120, 25}
    tile.render();
    const SDL_Color picture = platformPicturePixel(60, 12);
    const SDL_Color drawn = canvas.pixel(180, 226);
    EXPECT_TRUE(sameColour(drawn, blend(20, 80, picture.r), blend(20, 80, picture.g), blend(20, 80, picture.b), 3))
        << int(drawn.r) << "," << int(drawn.g) << "," << int(drawn.b);
    EXPECT_TRUE(sameColour(canvas.pixel(119, 226), 0, 0, 0));
    EXPECT_TRUE(sameColour(canvas.pixel(240, 226), 0, 0, 0));
    EXPECT_TRUE(sameColour(canvas.pixel(180, 213), 0, 0, 0));
    EXPECT_TRUE(sameColour(canvas.pixel(180, 239), 0, 0, 0));
}

TEST(PlatformTile, PictureThatCannotBeMadeIsLoggedAndTheTileStaysUsable) {
    Canvas canvas;
    canvas.clear(0, 0, 0);
    LogCapture log;
    SDL_Renderer* none = nullptr;  // no renderer: the picture cannot become a texture
    Platform tile(0, 0, none);
    EXPECT_TRUE(log.contains("Could not load platform.png texture!"));
    EXPECT_EQ(tile.getPlatformRect().w, 120);
}

TEST(SpawnPoint, DrawsGreenForTheHeroAndRedForEverythingElse) {
    Canvas canvas;
    canvas.clear(0, 0, 0);
    const Spawn hero(10, 10, 75, 90, 1);
    const Spawn robot(100, 10, 75, 75, 2);
    const Spawn odd(200, 10, 20, 20, 0);
    EXPECT_FALSE(hero.getOccupied());
    EXPECT_TRUE(hero.isOnScreen());
    hero.render(canvas.renderer);
    robot.render(canvas.renderer);
    odd.render(canvas.renderer);
    EXPECT_TRUE(sameColour(canvas.pixel(40, 60), 0, blend(105, 100, 0), 0));
    EXPECT_TRUE(sameColour(canvas.pixel(84, 99), 0, blend(105, 100, 0), 0));  // inclusive of its last pixel
    EXPECT_TRUE(sameColour(canvas.pixel(85, 60), 0, 0, 0));
    EXPECT_TRUE(sameColour(canvas.pixel(130, 60), blend(105, 100, 0), 0, 0));
    EXPECT_TRUE(sameColour(canvas.pixel(205, 15), blend(105, 100, 0), 0, 0));
}

TEST(ExplosionAnimation, CentredOnItsPointAndLastsTenFrames) {
    Canvas canvas;
    canvas.clear(0, 0, 0);
    Explosion boom(100, 200, canvas.renderer);
    EXPECT_EQ(boom.getX(), 76);
    EXPECT_EQ(boom.getY(), 176);
    for (int i = 0; i < 9; ++i) boom.advance();
    EXPECT_FALSE(boom.finished());
    boom.render();  // frame 9 shows the fifth picture; nothing is drawn outside 48 x 48
    boom.advance();
    EXPECT_TRUE(boom.finished());

    for (int y = 170; y < 230; y += 2) {
        for (int x = 70; x < 130; x += 2) {
            const bool inside = x >= 76 && x < 124 && y >= 176 && y < 224;
            if (!inside) {
                EXPECT_TRUE(sameColour(canvas.pixel(x, y), 0, 0, 0)) << x << "," << y;
            }
        }
    }
}

TEST(ExplosionAnimation, ShowsEachPictureForTwoFrames) {
    // Compare what the explosion draws against each picture of the sheet drawn directly.
    Canvas canvas;
    Texture sheet;
    sheet.setup(48, 48, canvas.renderer);
    ASSERT_TRUE(sheet.loadFromFile("explosion.png"));
    // The colours of the 48 x 48 box at the corner, every third pixel, after drawing on a black canvas.
    auto drawn = [&](const std::function<void()>& draw) {
        canvas.clear(0, 0, 0);
        draw();
        std::vector<Uint32> pixels;
        for (int y = 0; y < 48; y += 3)
            for (int x = 0; x < 48; x += 3) {
                const SDL_Color c = canvas.pixel(x, y);
                pixels.push_back((c.r << 16) | (c.g << 8) | c.b);
            }
        return pixels;
    };
    auto drawnPicture = [&](int frame) {
        Explosion boom(24, 24, canvas.renderer);
        for (int i = 0; i < frame; ++i) boom.advance();
        return drawn([&] { boom.render(); });
    };
    auto picture = [&](int index) {
        const SDL_Rect source{index * 27, 0, 27, 27};
        return drawn([&] { sheet.render(0, 0, SDL_FLIP_NONE, &source); });
    };
    for (int frame = 0; frame < Explosion::FRAME_COUNT; ++frame) {
        EXPECT_EQ(drawnPicture(frame), picture(frame / 2)) << "frame " << frame;
    }
    EXPECT_NE(picture(0), picture(4));
}
