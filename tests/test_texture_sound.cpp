#include <SDL_image.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

#include "TestSupport.h"
#include "world/Music.h"
#include "world/Sound.h"
#include "world/Texture.h"

namespace {
// Writes a w x h picture into the texture folder: the left half red, the right
// half pure cyan, with one near-cyan pixel at the top right corner.
void writeSwatch(const std::string& name, int w, int h) {
    SDL_Surface* image = SDL_CreateRGBSurfaceWithFormat(0, w, h, 24, SDL_PIXELFORMAT_RGB24);
    SDL_Rect left{0, 0, w / 2, h};
    SDL_Rect right{w / 2, 0, w - w / 2, h};
    SDL_FillRect(image, &left, SDL_MapRGB(image->format, 200, 30, 30));
    SDL_FillRect(image, &right, SDL_MapRGB(image->format, 0, 255, 255));
    SDL_Rect corner{w - 1, 0, 1, 1};
    SDL_FillRect(image, &corner, SDL_MapRGB(image->format, 0, 254, 255));
    ASSERT_EQ(IMG_SavePNG(image, ("resources/textures/" + name).c_str()), 0) << IMG_GetError();
    SDL_FreeSurface(image);
}
}  // namespace

TEST(Texture, ImageIsStretchedToTheSetUpSizeAndCyanIsTransparent) {
    const ScratchFile picture("resources/textures/test-swatch-32.png");
    writeSwatch("test-swatch-32.png", 32, 32);
    Canvas canvas;
    canvas.clear(10, 10, 60);
    Texture texture;
    texture.setup(75, 90, canvas.renderer);
    ASSERT_TRUE(texture.loadFromFile("test-swatch-32.png"));
    EXPECT_EQ(texture.getWidth(), 75);  // loading keeps the drawn size
    EXPECT_EQ(texture.getHeight(), 90);
    texture.render(100, 50);

    EXPECT_TRUE(sameColour(canvas.pixel(100, 50), 200, 30, 30));
    EXPECT_TRUE(sameColour(canvas.pixel(130, 139), 200, 30, 30));  // bottom row of the red half
    EXPECT_TRUE(sameColour(canvas.pixel(99, 50), 10, 10, 60));      // just left: untouched
    EXPECT_TRUE(sameColour(canvas.pixel(100, 140), 10, 10, 60));    // just below: untouched
    EXPECT_TRUE(sameColour(canvas.pixel(160, 100), 10, 10, 60));    // cyan half shows the background
    EXPECT_TRUE(sameColour(canvas.pixel(174, 50), 0, 254, 255));    // near-cyan stays opaque
}

TEST(Texture, MissingImageLogsTheBareNameAndDrawsNothing) {
    Canvas canvas;
    LogCapture log;
    Texture texture;
    texture.setup(40, 40, canvas.renderer);
    EXPECT_FALSE(texture.loadFromFile("no-such-picture.png"));
    EXPECT_EQ(texture.getTexture(), nullptr);
    ASSERT_EQ(log.count("Unable to load image no-such-picture.png! SDL_image Error: "), 1);
    EXPECT_FALSE(log.contains("resources/textures/no-such-picture.png!"));
    texture.render(0, 0);
    EXPECT_TRUE(sameColour(canvas.pixel(5, 5), 0, 0, 0));
}

TEST(Texture, EachFileIsDecodedOnceAndCopiesShareIt) {
    const ScratchFile picture("resources/textures/test-swatch-shared.png");
    writeSwatch("test-swatch-shared.png", 8, 8);
    Canvas canvas;
    const int before = decodedImageCount();
    Texture a;
    Texture b;
    a.setup(16, 16, canvas.renderer);
    b.setup(16, 16, canvas.renderer);
    ASSERT_TRUE(a.loadFromFile("test-swatch-shared.png"));
    ASSERT_TRUE(b.loadFromFile("test-swatch-shared.png"));
    EXPECT_EQ(decodedImageCount(), before + 1);
    EXPECT_EQ(a.getTexture(), b.getTexture());

    Texture copy = a;
    a.free();
    EXPECT_EQ(a.getWidth(), 0);  // freeing a loaded texture clears its size
    b.free();
    copy.render(0, 0);  // the last holder still draws
    EXPECT_TRUE(sameColour(canvas.pixel(2, 2), 200, 30, 30));

    // Reloading into an already loaded texture keeps its drawn size.
    ASSERT_TRUE(copy.loadFromFile("test-swatch-shared.png"));
    EXPECT_EQ(copy.getWidth(), 16);
    EXPECT_EQ(decodedImageCount(), before + 1);
}

TEST(Texture, TintingOneHolderNeverTintsAnother) {
    const ScratchFile picture("resources/textures/test-swatch-tint.png");
    writeSwatch("test-swatch-tint.png", 8, 8);
    Canvas canvas;
    Texture cursor;
    Texture hero;
    cursor.setup(16, 16, canvas.renderer);
    hero.setup(16, 16, canvas.renderer);
    ASSERT_TRUE(cursor.loadFromFile("test-swatch-tint.png"));
    ASSERT_TRUE(hero.loadFromFile("test-swatch-tint.png"));
    cursor.setColorMod(0, 150, 255);
    cursor.render(0, 0);
    hero.render(100, 0);
    EXPECT_TRUE(sameColour(canvas.pixel(2, 2), 0, 17, 30, 3));  // 200,30,30 modulated by 0,150,255
    EXPECT_TRUE(sameColour(canvas.pixel(102, 2), 200, 30, 30));
}

TEST(Texture, RenderedTextTakesTheTextSizeAndIsReplacedByTheNextText) {
    Canvas canvas;
    TTF_Font* font = TTF_OpenFont("resources/sans.ttf", 24);
    ASSERT_NE(font, nullptr) << TTF_GetError();
    Texture text;
    text.setup(canvas.renderer);
    ASSERT_TRUE(text.loadFromRenderedText("Wave 1", SDL_Color{255, 255, 255, 255}, font));
    int w = 0;
    int h = 0;
    TTF_SizeText(font, "Wave 1", &w, &h);
    EXPECT_EQ(text.getWidth(), w);
    EXPECT_EQ(text.getHeight(), h);
    SDL_Texture* first = text.getTexture();
    ASSERT_TRUE(text.loadFromRenderedText("Wave 100", SDL_Color{255, 255, 255, 255}, font));
    EXPECT_GT(text.getWidth(), w);
    EXPECT_NE(text.getTexture(), nullptr);
    (void)first;
    TTF_CloseFont(font);

    LogCapture log;
    EXPECT_FALSE(text.loadFromRenderedText("x", SDL_Color{255, 255, 255, 255}, nullptr));
    EXPECT_TRUE(log.contains("Unable to render text surface! SDL_ttf Error: "));
}

TEST(Sound, AFileThatDoesNotLoadIsLoggedOnceWithItsNameAndWhyAndPlaysSilently) {
    const ScratchFile empty("resources/sounds/test-empty.wav");
    std::ofstream("resources/sounds/test-empty.wav", std::ios::binary);
    LogCapture log;
    testing::internal::CaptureStdout();
    Sound missing("resources/sounds/no-such-sound.wav", 0, -1);
    Sound again("resources/sounds/no-such-sound.wav", 0, -1);  // a second owner of the same file
    Sound zero("resources/sounds/test-empty.wav", 0, -1);
    std::fflush(stdout);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(log.count("Failed to load sound effect resources/sounds/no-such-sound.wav! SDL_mixer Error: "
                        "No such file or directory"),
              1);
    // The mixer's own reason for a file with nothing in it.
    ASSERT_EQ(log.count("Failed to load sound effect resources/sounds/test-empty.wav! SDL_mixer Error: "), 1);
    EXPECT_GT(log.lines.back().size(), std::string("Failed to load sound effect resources/sounds/test-empty.wav! SDL_mixer Error: ").size());
    EXPECT_FALSE(missing.isLoaded() || zero.isLoaded());
    missing.play();  // nothing to play, nothing happens

    if (geteuid() == 0) GTEST_SKIP() << "run as root, whom no file's permissions stop; run as another user to check";
    const ScratchFile locked("resources/sounds/test-locked.wav");
    std::ofstream("resources/sounds/test-locked.wav", std::ios::binary) << fileBytes("resources/sounds/buttonClick.wav");
    chmod("resources/sounds/test-locked.wav", 0);
    Sound unreadable("resources/sounds/test-locked.wav", 0, -1);
    EXPECT_TRUE(log.contains("Failed to load sound effect resources/sounds/test-locked.wav! SDL_mixer Error: "
                             "Permission denied"));
}

TEST(Sound, ShippedEffectLoadsAndPlays) {
    if (Mix_QuerySpec(nullptr, nullptr, nullptr) == 0) GTEST_SKIP() << "no audio device";
    Sound click("resources/sounds/buttonClick.wav", 0, -1);
    EXPECT_TRUE(click.isLoaded());
    click.play();
    click.init("resources/sounds/shortExplosion.wav", 0, -1);  // replacing frees the old chunk
    EXPECT_TRUE(click.isLoaded());
    Mix_HaltChannel(-1);
}

// The music's file: one that does not open as a stream is told with the
// mixer's reason and leaves no music; one cut short still opens and plays, and
// is told by its last page, which must end both the file and the stream.
TEST(Music, AStreamThatDoesNotOpenOrIsCutShortIsTold) {
    const std::string whole = fileBytes("resources/sounds/song.ogg");
    ASSERT_GT(whole.size(), MAX_OGG_PAGE);
    const auto endsWhole = [](const std::string& bytes) {
        const std::size_t length = std::min(bytes.size(), MAX_OGG_PAGE);
        return oggEndsWhole(reinterpret_cast<const unsigned char*>(bytes.data() + bytes.size() - length), length);
    };
    EXPECT_TRUE(endsWhole(whole));
    // A byte short, at the end of the page before the last (whole pages, but
    // no end of stream), at half, and within the first page's header.
    for (std::size_t cut : {whole.size() - 1, whole.rfind("OggS"), whole.size() / 2, std::size_t{20}}) {
        EXPECT_FALSE(endsWhole(whole.substr(0, cut))) << "cut to " << cut << " bytes";
    }

    if (Mix_QuerySpec(nullptr, nullptr, nullptr) == 0) GTEST_SKIP() << "no audio device";
    const ScratchFile empty("resources/sounds/test-empty.ogg");
    std::ofstream("resources/sounds/test-empty.ogg", std::ios::binary);
    LogCapture log;
    Music nothing("resources/sounds/test-empty.ogg");
    EXPECT_FALSE(nothing.isLoaded());
    nothing.play();
    EXPECT_FALSE(nothing.isPlaying());
    ASSERT_EQ(log.count("Failed to load music resources/sounds/test-empty.ogg! SDL_mixer Error: "), 1);
    EXPECT_GT(log.lines.back().size(), std::string("Failed to load music resources/sounds/test-empty.ogg! SDL_mixer Error: ").size());
}
