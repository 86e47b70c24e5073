// The game started without one of its resource files, or with the file cut to
// half its size: it must report the loss, play on and shut down cleanly.
//
// Every file of the build folder's resources/ is a case, found when the tests
// start, so a new file is covered without touching this test.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "enemies/Enemy.h"
#include "platform/Game.h"
#include "platform/GlobalConstants.h"
#include "platform/Resources.h"
#include "play/Frame.h"
#include "play/Input.h"
#include "play/Loop.h"
#include "play/World.h"
#include "player/Weapon.h"
#include "ui/UI.h"
#include "world/Level.h"
#include "world/Texture.h"

namespace fs = std::filesystem;

namespace {

enum class Damage { missing, truncated };

struct ResourceCase {
    std::string file;  // relative to resources/, with forward slashes
    Damage damage;
};

// Frames of one session, at 60 per second.
const int FRAMES = 300;
const Uint32 FRAME_MS = 16;

fs::path buildResources() {
    std::string base;
    if (char* path = SDL_GetBasePath()) {
        base = path;
        SDL_free(path);
    }
    return fs::path(base) / "resources";
}

void PrintTo(const ResourceCase& resource, std::ostream* os) {
    *os << resource.file << (resource.damage == Damage::missing ? " missing" : " cut to half");
}

// Every file of the build folder's resources/, relative to it; not the scratch
// files other tests write there for a moment (named test-*), which a test
// process running beside this one may hold at any time.
std::vector<std::string> resourceFiles() {
    std::vector<std::string> files;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(buildResources(), error); !error && it != fs::end(it);
         it.increment(error)) {
        const bool scratch = it->path().filename().string().rfind("test-", 0) == 0;
        if (it->is_regular_file() && !scratch) {
            files.push_back(fs::relative(it->path(), buildResources()).generic_string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<ResourceCase> allCases() {
    std::vector<ResourceCase> cases;
    for (const std::string& file : resourceFiles()) {
        cases.push_back({file, Damage::missing});
        cases.push_back({file, Damage::truncated});
    }
    return cases;
}

std::string caseName(const testing::TestParamInfo<ResourceCase>& info) {
    std::string name = info.param.file;
    for (char& c : name) {
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    return name + (info.param.damage == Damage::missing ? "_missing" : "_truncated");
}

bool startsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

// What a missing picture's owner adds to the wrapper's line.
const std::map<std::string, std::vector<std::string>> OWNER_LINES = {
    {"background.png", {"Could not load background texture!"}},
    {"Zorbi.png", {"Could not load ZorbiRight texture!", "Could not load teleport cursor texture!"}},
    {"ZorbiLeft.png", {"Could not load ZorbiLeft texture!"}},
    {"C4.png", {"Could not load c4 texture!"}},
    {"Detinator.png", {"Could not load detinator texture!"}},
    {"Revolver.png", {"Could not load revolver texture!"}},
    {"rifle.png", {"Could not load rifle texture!"}},
    {"shotgun.png", {"Could not load shotgun texture!"}},
    {"knife.png", {"Could not load knife texture!"}},
    {"laserPistol.png", {"Could not load laserPistol texture!"}},
    {"bullet.png", {"Could not load bullet texture!"}},
    {"laser.png", {"Could not load bullet texture!"}},
    {"explosion.png", {"Could not load explosion texture!"}},
    {"platform.png", {"Could not load platform.png texture!"}},
    {"robor.png", {"Could not load enemy texture!"}},
    {"roborto.png", {"Could not load enemy texture!"}},
    {"robro.png", {"Could not load robro texture!"}},
    {"romo.png", {"Could not load enemy texture!"}},
    {"roo.png", {"Could not load enemy texture!"}},
    {"icon.png", {"Could not load window icon!"}},
};

// Pictures shipped for an item the shop does not offer yet: the game never reads them.
const std::vector<std::string> UNREAD_PICTURES = {"upgrade-menu/upgrade-grenade.png"};

// For a level cut short: the first cell of the cut row that cannot be read as a
// number (row and column counted from 1), or nothing when the cut row is whole.
std::optional<std::pair<int, int>> firstUnreadableCell(const std::string& content) {
    if (content.empty() || content.back() == '\n') return std::nullopt;
    const std::size_t lineStart = content.rfind('\n') == std::string::npos ? 0 : content.rfind('\n') + 1;
    const int row = static_cast<int>(std::count(content.begin(), content.end(), '\n')) + 1;
    std::vector<std::string> cells;
    std::stringstream line(content.substr(lineStart));
    std::string cell;
    while (std::getline(line, cell, ',')) cells.push_back(cell);
    if (!content.empty() && content.back() == ',') cells.emplace_back();
    for (int j = 0; j < LEVEL_COLUMNS; ++j) {
        if (j >= static_cast<int>(cells.size())) return std::make_pair(row, j + 1);
        const std::string& text = cells[static_cast<std::size_t>(j)];
        const std::size_t digit = text.find_first_of("0123456789");
        if (digit == std::string::npos || text.find_first_not_of(" \t+-") < digit) return std::make_pair(row, j + 1);
    }
    return std::nullopt;
}

// Everything a session wrote: SDL's log and standard output (which must stay empty).
struct SessionOutput {
    std::vector<std::string> log;
    std::string out;
    int robotKinds = 0;    // kinds of robot among the first five waves
    int kills = 0;         // explosions started
    int shots = 0;         // bullets created
    int laserShots = 0;    // of them from the laser pistol
    int waves = 0;         // the last wave started
    int frames = 0;        // frames played

    bool logged(const std::string& fragment) const {
        return std::any_of(log.begin(), log.end(),
                           [&](const std::string& line) { return line.find(fragment) != std::string::npos; });
    }
    int count(const std::string& fragment) const {
        return static_cast<int>(std::count_if(log.begin(), log.end(), [&](const std::string& line) {
            return line.find(fragment) != std::string::npos;
        }));
    }
    // The first lines of both, for a failure message.
    std::string summary() const {
        std::string text = "standard output: " + out.substr(0, 400) + "\nlog:";
        for (std::size_t i = 0; i < log.size() && i < 12; ++i) text += "\n  " + log[i];
        if (log.size() > 12) text += "\n  ... " + std::to_string(log.size() - 12) + " more";
        return text;
    }
};

// Standard output goes to a file while it lives: nothing of the game's may land there.
class StdoutCapture {
public:
    StdoutCapture() { testing::internal::CaptureStdout(); }
    ~StdoutCapture() {
        if (!taken) testing::internal::GetCapturedStdout();
    }
    StdoutCapture(const StdoutCapture&) = delete;
    StdoutCapture& operator=(const StdoutCapture&) = delete;
    std::string take() {
        taken = true;
        return testing::internal::GetCapturedStdout();
    }

private:
    bool taken = false;
};

// The first robot of the wave standing in the level, or null.
Enemy* robotInPlay(World& world) {
    const auto location = static_cast<std::size_t>(world.waveSetLocation);
    if (location >= world.waveSetEnemies.size()) return nullptr;
    for (const std::unique_ptr<Enemy>& robot : world.waveSetEnemies[location]) {
        Entity* body = robot->getEntity();
        if (body->isSpawned() && body->isAlive()) return robot.get();
    }
    return nullptr;
}

void tapKey(RunObjects& run, World& world, SDL_Keycode key) {
    pushTap(key);
    handlePlayEvents(state, run, world);
}

// Moves the wave's first robot into the hero's line of fire and fires once.
void fireAtFirstRobot(RunObjects& run, World& world, SessionOutput& result) {
    if (Enemy* robot = robotInPlay(world)) {
        const SDL_Rect& hero = run.eZorbi.getRect();
        Entity* body = robot->getEntity();
        body->setPosition(hero.x + hero.w + scale(40), hero.y + scale(19) - body->getRect().h / 2);
    }
    const std::size_t before = world.bullets.size();
    tapKey(run, world, SDLK_SPACE);
    const int fired = static_cast<int>(world.bullets.size() - before);
    result.shots += fired;
    const Weapon* weapon = run.player.getWeapon();
    if (weapon != nullptr && weapon->getType() == laserPistol) result.laserShots += fired;
}

// The frames of one session, with the wave loop around them. A little play
// makes the game read what it only needs in a fight: the hero shoots the first
// robot of each wave, with the revolver and, from the middle on, with the
// laser pistol. The upgrade interlude before wave 6 is never reached.
void playFrames(RunObjects& run, World& world, SDL_Renderer* renderer, SessionOutput& result) {
    Uint32 ticks = SDL_GetTicks();
    world.startWaveLoad = ticks;
    tapKey(run, world, SDLK_l);  // face right
    for (int frame = 0; frame < FRAMES && !state.quit; ++frame, ++result.frames) {
        ticks += FRAME_MS;
        if (frame == FRAMES / 2) {
            // The laser pistol bought and fitted.
            state.currentLaserPistolLevel = 1;
            state.weapon2 = laserPistol;
            fitWeapons(run);
        }
        const Weapon* weapon = run.player.getWeapon();
        if (frame >= FRAMES / 2 && weapon != nullptr && weapon->getType() != laserPistol) tapKey(run, world, SDLK_w);
        if (world.waveStarted && frame % 10 == 0 && run.eZorbi.isSpawned() && world.waveNumber < 5) {
            fireAtFirstRobot(run, world, result);
        }

        const std::size_t explosionsBefore = run.explosions.size();
        handlePlayEvents(state, run, world);
        runFrame(state, run, world, 1 / 60.f, ticks);
        SDL_RenderPresent(renderer);
        result.kills += static_cast<int>(run.explosions.size() > explosionsBefore);

        if (!world.inWave) {
            world.allCharacterEntities.clear();
            startWave(run, world);
            // The wave's first second is counted on this session's clock.
            world.startWaveLoad = ticks;
            result.waves = world.waveNumber;
        }
    }
}

// What the game does after init, with a software canvas as the window: the
// run's objects and the interface (a TestGame), the window's icon, the pad,
// one level and its waves, the frames, and the shutdown in reverse order.
// Returns what it logged and printed.
//
// The canvas is small: drawing is clipped to it, so every draw call still runs
// while the frames stay cheap enough for a few hundred sessions.
SessionOutput playSession(const std::string& levelPath, bool withController) {
    SessionOutput result;
    clearImageCache();
    srand(8);

    LogCapture logs;
    StdoutCapture out;
    {
        TestGame game({.width = 120, .height = 72});
        RunObjects& run = *game.run;
        World& world = *game.world;
        // The window is given its icon at start-up; a hidden one stands in for it.
        SDL_Window* window = SDL_CreateWindow("Zelvane 0.4", 0, 0, 120, 72, SDL_WINDOW_HIDDEN);
        if (window != nullptr) {
            setWindowIcon(window);
            SDL_DestroyWindow(window);
        }
        std::unique_ptr<VirtualPad> pad;
        if (withController) pad = std::make_unique<VirtualPad>();
        state.level = 1;
        state.started = true;
        state.menu = Menu::notInMenu;
        loadLevelFile(run, world, levelPath);
        startWave(run, world);
        for (int kind = 0; kind < State::numberOfEnemies; ++kind) {
            result.robotKinds += state.setEnemies[kind] > 0 ? 1 : 0;
        }
        result.waves = world.waveNumber;
        playFrames(run, world, game.canvas.renderer, result);
    }
    result.out = out.take();
    result.log = logs.lines;
    clearImageCache();
    return result;
}

class MissingResources : public testing::TestWithParam<ResourceCase> {
public:
    static void SetUpTestSuite() {
        char folder[] = "/tmp/zelvane-resources-XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        copyRoot = folder;
        // File by file: a scratch picture of a test running beside this one may vanish meanwhile.
        for (const std::string& file : resourceFiles()) {
            const fs::path target = copyRoot / "resources" / file;
            std::error_code ignored;
            fs::create_directories(target.parent_path(), ignored);
            fs::copy_file(buildResources() / file, target, ignored);
        }
    }
    static void TearDownTestSuite() {
        std::error_code ignored;
        fs::remove_all(copyRoot, ignored);
        copyRoot.clear();
    }

protected:
    void SetUp() override {
        ASSERT_FALSE(copyRoot.empty());
        const ResourceCase& resource = GetParam();
        original = buildResources() / resource.file;
        damaged = copyRoot / "resources" / resource.file;
        const std::string content = fileBytes(original);
        if (resource.damage == Damage::missing) {
            fs::remove(damaged);
        } else {
            kept = content.substr(0, content.size() / 2);
            std::ofstream(damaged, std::ios::binary | std::ios::trunc) << kept;
        }
        previousDirectory = fs::current_path();
        fs::current_path(copyRoot);
        // The copy serves, with the paths relative to it, even when it lacks the font.
        const LogCapture quiet;
        chooseResourceFolder({""});
    }
    void TearDown() override {
        if (!previousDirectory.empty()) fs::current_path(previousDirectory);
        if (!damaged.empty()) fs::copy_file(original, damaged, fs::copy_options::overwrite_existing);
    }

    static fs::path copyRoot;
    fs::path original;
    fs::path damaged;
    fs::path previousDirectory;
    std::string kept;  // what a truncated file still holds
};

fs::path MissingResources::copyRoot;

TEST_P(MissingResources, GameStartsReportsPlaysAndShutsDown) {
    const ResourceCase& resource = GetParam();
    const std::string& file = resource.file;
    const bool missing = resource.damage == Damage::missing;
    const bool isLevel = startsWith(file, "levels/");
    const std::string levelPath = isLevel ? "resources/" + file : "resources/levels/level1.csv";

    const SessionOutput session = playSession(levelPath, file == "mapping.txt");
    ASSERT_EQ(session.frames, FRAMES);
    SCOPED_TRACE(session.summary());
    // Every failure goes to the log, none to standard output.
    EXPECT_TRUE(session.out.empty()) << session.out;

    if (startsWith(file, "textures/")) {
        // A cut picture does not decode: the same lines as a missing one.
        const std::string name = file.substr(std::string("textures/").size());
        const bool unread = std::find(UNREAD_PICTURES.begin(), UNREAD_PICTURES.end(), name) != UNREAD_PICTURES.end();
        EXPECT_EQ(session.logged("Unable to load image " + name + "! SDL_image Error: "), !unread) << name;
        const auto owner = OWNER_LINES.find(name);
        if (owner != OWNER_LINES.end()) {
            for (const std::string& line : owner->second) EXPECT_TRUE(session.logged(line)) << line;
        }
        // Only this picture is reported.
        for (const std::string& line : session.log) {
            if (startsWith(line, "Unable to load image ")) {
                EXPECT_TRUE(startsWith(line, "Unable to load image " + name + "!")) << line;
            }
        }
    } else if (file == "sounds/song.ogg") {
        // The music is told once with its file; play goes on without it, or with what is left of it.
        if (missing) {
            EXPECT_EQ(session.count("Failed to load music resources/" + file +
                                    "! SDL_mixer Error: No such file or directory"),
                      1);
        } else {
            EXPECT_EQ(session.count("Music resources/" + file + " is cut short: its stream has no end."), 1);
        }
    } else if (startsWith(file, "sounds/")) {
        if (missing) {
            // Once, however many owners the sound has.
            EXPECT_EQ(session.count("Failed to load sound effect resources/" + file +
                                    "! SDL_mixer Error: No such file or directory"),
                      1);
        } else {
            // A cut WAV still loads: the mixer keeps the sound up to the cut, so nothing is reported.
            EXPECT_FALSE(session.logged("Failed to load sound effect"));
        }
    } else if (file == "sans.ttf") {
        // A cut font does not open either. The interface names the file once; every text then fails.
        EXPECT_EQ(session.count("Could not load font resources/sans.ttf! SDL_ttf Error: "), 1);
        EXPECT_TRUE(session.logged("Unable to render text surface! SDL_ttf Error: no font"));
    } else if (file == "mapping.txt") {
        if (missing) {
            // The file and the system's reason, not just the library's stream.
            EXPECT_EQ(session.count("Could not load controller mappings from resources/mapping.txt: "
                                    "No such file or directory"),
                      1);
        } else {
            // The whole lines before the cut still load.
            EXPECT_FALSE(session.logged("Could not load controller mappings"));
        }
    } else if (isLevel) {
        if (missing) {
            EXPECT_TRUE(session.logged("Could not load level file!"));
        } else if (const auto cell = firstUnreadableCell(kept)) {
            const std::string expected = "Level file " + levelPath + ": row " + std::to_string(cell->first) +
                                         ", column " + std::to_string(cell->second) + " is not a number";
            EXPECT_TRUE(session.logged(expected)) << expected;
        } else {
            // Cut at the end of a row: a shorter level, nothing to report.
            EXPECT_FALSE(session.logged("is not a number"));
        }
    } else {
        ADD_FAILURE() << "no expectation for " << file;
    }
}

INSTANTIATE_TEST_SUITE_P(EveryFile, MissingResources, testing::ValuesIn(allCases()), caseName);

// The same session with every file in place: nothing is reported, and the play
// really reaches every picture the fights need.
TEST(IntactResources, SessionReportsNothingAndReachesEveryPicture) {
    const fs::path previous = fs::current_path();
    fs::current_path(buildResources().parent_path());
    const SessionOutput session = playSession("resources/levels/level1.csv", true);
    fs::current_path(previous);

    ASSERT_EQ(session.frames, FRAMES);
    EXPECT_TRUE(session.out.empty()) << session.out;
    for (const std::string& line : session.log) ADD_FAILURE() << line;
    EXPECT_EQ(session.robotKinds, static_cast<int>(State::numberOfEnemies)) << "every kind of robot is built";
    EXPECT_GT(session.kills, 0);
    EXPECT_GT(session.shots, session.laserShots);
    EXPECT_GT(session.laserShots, 0);
    EXPECT_GT(session.waves, 1) << "a wave was won";
}

}  // namespace
