// A hostile machine and broken files: no run on a display that shows nothing,
// a frame cap where presenting does not wait, a level that cannot be played
// not entered, pictures of absurd size refused before decoding, and each
// failure said once.

#include <SDL_image.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "platform/Game.h"
#include "platform/Picture.h"
#include "platform/Resources.h"
#include "play/Input.h"
#include "play/World.h"
#include "ui/Hud.h"
#include "ui/MenuScreens.h"
#include "ui/UI.h"
#include "world/Level.h"
#include "world/Texture.h"

namespace fs = std::filesystem;

namespace {

// A scratch folder, removed afterwards.
class Scratch {
public:
    Scratch() {
        char pattern[] = "/tmp/zelvane-hostile-XXXXXX";
        if (mkdtemp(pattern) != nullptr) root = pattern;
    }
    ~Scratch() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    std::string file(const std::string& name, const std::string& content) const {
        const fs::path path = root / name;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
        return path.string();
    }
    fs::path root;
};

// The first bytes of a PNG that declares the given size, and nothing after.
std::string pngHeader(Uint32 width, Uint32 height) {
    std::string bytes("\x89PNG\r\n\x1a\n", 8);
    bytes += std::string("\0\0\0\x0dIHDR", 8);
    for (Uint32 value : {width, height}) {
        for (int shift = 24; shift >= 0; shift -= 8) bytes += static_cast<char>((value >> shift) & 0xFF);
    }
    bytes += std::string("\x08\x06\0\0\0", 5);
    return bytes;
}

}  // namespace

TEST(NoDisplay, ADriverThatShowsNothingIsAFailureUnlessAskedFor) {
    EXPECT_TRUE(runsInvisibly("offscreen", nullptr));
    EXPECT_TRUE(runsInvisibly("dummy", nullptr));
    EXPECT_TRUE(runsInvisibly("offscreen", ""));
    // Named by the user: obeyed.
    EXPECT_FALSE(runsInvisibly("offscreen", "offscreen"));
    EXPECT_FALSE(runsInvisibly("dummy", "dummy"));
    // Real displays.
    EXPECT_FALSE(runsInvisibly("x11", nullptr));
    EXPECT_FALSE(runsInvisibly("wayland", nullptr));
    EXPECT_FALSE(runsInvisibly("KMSDRM", nullptr));
    EXPECT_FALSE(runsInvisibly(nullptr, nullptr));
}

TEST(FrameCap, WaitsOutThePeriodOnlyWhenPresentingDidNotWait) {
    const Uint64 period = 16'667;  // one 60 Hz period in microsecond ticks
    EXPECT_EQ(framePause(2'000, period), period - 2'000);     // no vsync: a fast frame waits the rest
    EXPECT_EQ(framePause(0, period), period);                  // a minimised window presents at once
    EXPECT_EQ(framePause(16'000, period), 0u);                 // vsync: present took the period itself
    EXPECT_EQ(framePause(period / 2, period), 0u);
    EXPECT_EQ(framePause(40'000, period), 0u);                 // a slow frame is never slowed further
    EXPECT_GT(refreshRate(), 0);
}

TEST(FrameCap, OnlyTheWindowsOwnFramesArePaced) {
    // A canvas of a test or a bot presents as fast as it can.
    Canvas canvas;
    const Uint32 start = SDL_GetTicks();
    for (int i = 0; i < 30; ++i) presentFrame();
    EXPECT_LT(SDL_GetTicks() - start, 300u);
}

TEST(PictureSize, AHugeDeclaredSizeIsRefusedBeforeDecoding) {
    Scratch scratch;
    for (const auto& [width, height] : {std::pair<Uint32, Uint32>{20000, 20000}, {1000000, 1000000}, {4097, 10}}) {
        std::string error;
        const std::string path = scratch.file("huge.png", pngHeader(width, height));
        EXPECT_EQ(loadPicture(path, error), nullptr);
        EXPECT_NE(error.find(std::to_string(width) + " x " + std::to_string(height) + " pixels"), std::string::npos)
            << error;
    }
    std::string error;
    EXPECT_EQ(loadPicture(scratch.file("text.png", "not a picture at all, just words"), error), nullptr);
    EXPECT_EQ(error, "not a PNG picture");
    EXPECT_EQ(loadPicture((scratch.root / "none.png").string(), error), nullptr);
    EXPECT_FALSE(error.empty());

    // The largest size allowed, and the shipped pictures, decode.
    SDL_Surface* wide = SDL_CreateRGBSurfaceWithFormat(0, 4096, 1, 32, SDL_PIXELFORMAT_RGBA32);
    const std::string widePath = (scratch.root / "wide.png").string();
    ASSERT_EQ(IMG_SavePNG(wide, widePath.c_str()), 0);
    SDL_FreeSurface(wide);
    SDL_Surface* loaded = loadPicture(widePath, error);
    ASSERT_NE(loaded, nullptr) << error;
    EXPECT_EQ(loaded->w, 4096);
    SDL_FreeSurface(loaded);
    loaded = loadPicture("resources/textures/background.png", error);
    ASSERT_NE(loaded, nullptr) << error;
    SDL_FreeSurface(loaded);
}

TEST(PictureSize, TheGamesLineNamesTheFileAndItsSize) {
    const ScratchFile huge("resources/textures/test-huge.png");
    std::ofstream("resources/textures/test-huge.png", std::ios::binary) << pngHeader(20000, 20000);
    Canvas canvas;
    LogCapture log;
    Texture picture;
    picture.setup(10, 10, canvas.renderer);
    EXPECT_FALSE(picture.loadFromFile("test-huge.png"));
    EXPECT_TRUE(log.contains("Unable to load image test-huge.png! SDL_image Error: the picture is 20000 x 20000 pixels"))
        << (log.lines.empty() ? "" : log.lines.back());
}

TEST(FailuresOnce, ABrokenPlatformPictureIsToldOnceForTheWholeLevel) {
    Scratch scratch;
    scratch.file("resources/textures/platform.png", pngHeader(120, 25));
    const std::string level = fileBytes("resources/levels/level3.csv");
    // The scratch folder serves the pictures, whichever test ran before.
    chooseResourceFolder({scratch.root.string() + "/"});
    Canvas canvas;
    LogCapture log;
    {
        std::list<Platform> platforms;
        std::vector<Spawn> enemySpawns;
        std::vector<Spawn> playerSpawns;
        std::istringstream input(level);
        loadLevelFromStream(input, "level3.csv", platforms, enemySpawns, playerSpawns);
        ASSERT_GT(platforms.size(), 100u);
    }
    EXPECT_EQ(log.count("Could not load platform.png texture!"), 1);
    EXPECT_EQ(log.count("Unable to load image platform.png!"), 1);
}

TEST(FailuresOnce, ABrokenFontIsToldOnceAndItsTextsDoNotRepeatFrameByFrame) {
    Scratch scratch;
    const std::string font = scratch.file("resources/sans.ttf", std::string(4096, 'x'));
    chooseResourceFolder({scratch.root.string() + "/"});
    LogCapture log;
    // The menus' texts are made here, all without a font.
    TestGame game({.run = false, .world = false});
    // Every frame redraws the texts, with new numbers as the play goes on.
    for (int frame = 1; frame < 100; ++frame) {
        updateInGameText(frame, frame / 10, frame * 25);
        renderInGameText(true, 1.0f, false);
    }
    // A second start of the interface opens the same broken file again.
    UI_init(game.canvas.renderer, state, nullptr);
    EXPECT_EQ(log.count("Could not load font " + font + "! SDL_ttf Error: "), 1);
    EXPECT_EQ(log.count("Unable to render text surface! SDL_ttf Error: no font"), 1);
    EXPECT_FALSE(log.contains("Could not find resources/sans.ttf"));  // there, but broken
}

TEST(FailuresOnce, AMappingFileOverOneMegabyteIsRefusedWithItsSize) {
    Scratch scratch;
    TestGame game({.run = false, .interface = false, .world = false});
    LogCapture log;
    // A comment line as long as the largest file taken: SDL reads it and adds nothing.
    const std::string mapping =
        scratch.file("resources/mapping.txt", std::string("#").append(MAX_MAPPING_BYTES - 2, 'x').append("\n"));
    chooseResourceFolder({scratch.root.string() + "/"});
    { const VirtualPad pad; }
    EXPECT_FALSE(log.contains("Could not load controller mappings")) << log.lines.back();

    scratch.file("resources/mapping.txt", std::string(5 * MAX_MAPPING_BYTES, '\x9c'));
    { const VirtualPad pad; }
    { const VirtualPad pad; }  // plugged in again
    EXPECT_EQ(log.count("Could not load controller mappings from " + mapping + ": the file is " +
                        std::to_string(5 * MAX_MAPPING_BYTES) + " bytes, more than 1 MB"),
              1);
}

TEST(UnplayableLevel, AFolderOrAMissingFileSaysWhichAndWhy) {
    Scratch scratch;
    fs::create_directories(scratch.root / "level1.csv");
    std::list<Platform> platforms;
    std::vector<Spawn> enemySpawns;
    std::vector<Spawn> playerSpawns;
    LogCapture log;
    const std::string folder = (scratch.root / "level1.csv").string();
    loadLevelFromCSV(folder, platforms, enemySpawns, playerSpawns);
    EXPECT_TRUE(log.contains("Could not load level file! " + folder + ": Is a directory"));
    const std::string missing = (scratch.root / "level9.csv").string();
    loadLevelFromCSV(missing, platforms, enemySpawns, playerSpawns);
    EXPECT_TRUE(log.contains("Could not load level file! " + missing + ": No such file or directory"));
    // Neither is taken for a level that merely lacks spawn points.
    EXPECT_FALSE(log.contains("has no player spawn point"));
    EXPECT_TRUE(platforms.empty() && enemySpawns.empty() && playerSpawns.empty());
}

TEST(UnplayableLevel, IsNotPlayableAndTheHeroCannotFireWithoutABody) {
    Scratch scratch;
    TestGame game({.interface = false, .world = false});
    RunObjects& run = *game.run;
    const std::string row = "-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1\n";
    const std::string floor = "0,0,0,0,0,0,0,0,0,0,0,0\n";
    struct Case {
        std::string content;
        bool playable;
    };
    for (const Case& level : {Case{row + "-1,1,-1,-1,-1,2,-1,-1,-1,-1,-1,-1\n" + floor, true},
                              Case{row + "-1,1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1\n" + floor, false},  // no robots
                              Case{row + "-1,2,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1\n" + floor, false},  // no hero
                              Case{"", false}}) {
        World world;
        LogCapture quiet;
        loadLevelFile(run, world, scratch.file("level.csv", level.content));
        EXPECT_EQ(levelPlayable(run, world), level.playable) << level.content;
    }

    // A level with no place for the hero: the trigger and Space fire nothing.
    {
        World world;
        LogCapture quiet;
        run.eZorbi.despawn();
        loadLevelFile(run, world, scratch.file("level.csv", row + floor));
        ASSERT_FALSE(run.eZorbi.isSpawned());
        world.waveStarted = true;
        state.menu = Menu::notInMenu;
        pushKey(SDLK_SPACE, true);
        handlePlayEvents(state, run, world);
        EXPECT_TRUE(world.bullets.empty());
    }
}

TEST(UnplayableLevel, TheLevelSelectShowsOneLineAboveItsButtons) {
    TestGame game({.run = false, .world = false});
    Canvas& canvas = game.canvas;
    state.menu = Menu::level;
    // Between the logo (down to 288) and "Level 1" (from 337): "Back" fills the place under the levels.
    auto litUnderButtons = [&] {
        canvas.clear(0, 0, 0);
        renderMenu(state);
        int lit = 0;
        for (int y = 292; y < 334; y += 2)
            for (int x = 300; x < 900; x += 2) lit += sameColour(canvas.pixel(x, y), 0, 0, 0, 10) ? 0 : 1;
        return lit;
    };
    EXPECT_EQ(litUnderButtons(), 0);
    showLevelNotice(3);
    EXPECT_TRUE(levelNoticeShown());
    EXPECT_GT(litUnderButtons(), 100);
    // Only on the level select.
    state.menu = Menu::head;
    canvas.clear(0, 0, 0);
    renderMenu(state);
    // Back from the main menu, the line is gone.
    showLevelSelect(state, 0, 0);
    EXPECT_FALSE(levelNoticeShown());
    EXPECT_EQ(litUnderButtons(), 0);
}
