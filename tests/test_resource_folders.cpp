// Where the game finds its files: the working folder, the executable's folder,
// or the data folder of an installed tree; the first that holds resources/
// serves the run, and a file that is not there is reported with the folders tried.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "TestSupport.h"
#include "platform/Resources.h"
#include "world/Texture.h"

namespace fs = std::filesystem;

namespace {

// Scratch folders under /tmp, and the default choice back afterwards.
class ResourceFolders : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/zelvane-folders-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        for (const fs::path& locked : lockedFolders) fs::permissions(locked, fs::perms::owner_all, ignored);
        fs::remove_all(root, ignored);
        LogCapture quiet;
        chooseResourceFolder();
    }

    // A folder of the scratch root, with a resources/ folder when asked.
    std::string folder(const std::string& name, bool withResources) {
        const fs::path path = root / name;
        fs::create_directories(withResources ? path / "resources" / "textures" : path);
        return path.string() + "/";
    }

    // Takes every permission from a folder; given back before the scratch root goes.
    void lock(const std::string& path) {
        fs::permissions(path, fs::perms::none);
        lockedFolders.push_back(path);
    }

    fs::path root;
    std::vector<fs::path> lockedFolders;
};

// A folder without permissions is no obstacle to root, so those cases run only for other users.
bool permissionsHold() { return geteuid() != 0; }

}  // namespace

TEST_F(ResourceFolders, TriedInTheWorkingFolderThenBesideTheExecutableThenTheInstalledTree) {
    const std::vector<std::string> candidates = resourceFolderCandidates();
    const std::string executable = executableFolder();
    ASSERT_EQ(candidates.size(), 3u);
    EXPECT_EQ(candidates[0], "");  // relative: a run from the build folder keeps its paths
    EXPECT_EQ(candidates[1], executable);
    EXPECT_EQ(fs::path(candidates[2]), (fs::path(executable) / "../share/zelvane/").lexically_normal());
    for (const std::string& candidate : candidates) {
        if (!candidate.empty()) {
            EXPECT_EQ(candidate.back(), '/') << candidate;
        }
    }
}

TEST_F(ResourceFolders, TheFirstFolderHoldingResourcesServesEveryKindOfFile) {
    const std::string empty = folder("empty", false);
    const std::string installed = folder("share/zelvane", true);
    const std::string later = folder("later", true);
    LogCapture log;
    chooseResourceFolder({empty, installed, later});
    EXPECT_EQ(resourceFolder(), installed);
    EXPECT_EQ(log.count("Reading the game's resources from " + installed + "resources/"), 1);

    EXPECT_EQ(texturePath("logo.png"), installed + "resources/textures/logo.png");
    EXPECT_EQ(texturePath("upgrade-menu/button.png"), installed + "resources/textures/upgrade-menu/button.png");
    EXPECT_EQ(soundPath("song.ogg"), installed + "resources/sounds/song.ogg");
    EXPECT_EQ(fontPath(), installed + "resources/sans.ttf");
    EXPECT_EQ(mappingPath(), installed + "resources/mapping.txt");
}

TEST_F(ResourceFolders, AFolderWithTheWholeSetComesBeforeASourceTreeWithoutTheFont) {
    // Started from the source tree's root: its resources/ lacks the font the build adds.
    const std::string source = folder("source", true);
    const std::string build = folder("source/build", true);
    std::ofstream(build + "resources/sans.ttf") << "font";
    LogCapture log;
    chooseResourceFolder({source, build});
    EXPECT_EQ(resourceFolder(), build);
    EXPECT_EQ(fontPath(), build + "resources/sans.ttf");
    EXPECT_FALSE(log.contains("Could not find"));
}

TEST_F(ResourceFolders, AMissingFileIsReportedOnceWithTheFolderTried) {
    const std::string served = folder("served", true);
    std::ofstream(served + "resources/textures/there.png") << "x";
    fs::create_directories(served + "resources/textures/folder.png");  // a directory is no picture
    LogCapture log;
    chooseResourceFolder({served});

    EXPECT_EQ(texturePath("there.png"), served + "resources/textures/there.png");
    EXPECT_FALSE(log.contains("Could not find"));

    texturePath("gone.png");
    texturePath("gone.png");
    EXPECT_EQ(log.count("Could not find resources/textures/gone.png in " + served), 1);
    texturePath("folder.png");
    EXPECT_EQ(log.count("Could not find resources/textures/folder.png in " + served), 1);

    // A new choice is a new run: the loss is told again.
    chooseResourceFolder({served});
    texturePath("gone.png");
    EXPECT_EQ(log.count("Could not find resources/textures/gone.png"), 2);
}

TEST_F(ResourceFolders, NoFolderWithResourcesNamesEveryFolderTriedAndTheGameGoesOn) {
    const std::string first = folder("first", false);
    const std::string second = folder("second", false);
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(first.c_str()), 0);  // as a start from a folder without the game's files
    LogCapture log;
    chooseResourceFolder({first, second});
    EXPECT_TRUE(log.contains("No resources folder found in " + first + ", " + second));
    EXPECT_EQ(resourceFolder(), "");

    const std::string path = fontPath();
    ASSERT_EQ(chdir(previous), 0);
    EXPECT_EQ(path, "resources/sans.ttf");
    EXPECT_TRUE(log.contains("Could not find resources/sans.ttf in " + first + ", " + second)) << log.lines.back();
}

TEST_F(ResourceFolders, TheWorkingFolderIsShownByItsAbsoluteName) {
    char working[4096];
    ASSERT_NE(getcwd(working, sizeof working), nullptr);
    EXPECT_EQ(displayFolder(""), std::string(working) + "/");
    EXPECT_EQ(displayFolder("/usr/bin/../share/zelvane/"), "/usr/share/zelvane/");
}

TEST_F(ResourceFolders, LevelsAreLookedForBesideTheExecutableFirst) {
    // A working folder with a level of its own: the one beside the executable still wins.
    const std::string elsewhere = folder("elsewhere", true);
    fs::create_directories(elsewhere + "resources/levels");
    std::ofstream(elsewhere + "resources/levels/level2.csv") << "1,1,1,1,1,1,1,1,1,1,1,1\n";
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(elsewhere.c_str()), 0);
    const std::string path = levelFilePath(2);
    ASSERT_EQ(chdir(previous), 0);
    EXPECT_EQ(path, executableFolder() + "resources/levels/level2.csv");
    EXPECT_EQ(levelFilePath(0), "");
    EXPECT_EQ(levelFilePath(4), "");
}

TEST_F(ResourceFolders, AFolderThatCannotBeReadIsToldOnceByNameAndNotTakenForMissing) {
    if (!permissionsHold()) GTEST_SKIP() << "run as root, whom no folder's permissions stop; run as another user to check";
    const std::string locked = folder("locked", true);
    const std::string open = folder("open", true);
    lock(locked + "resources");
    LogCapture log;
    // Passed over for a folder that can be read; named once, however it is spelt.
    chooseResourceFolder({locked, locked + "./", open});
    EXPECT_EQ(resourceFolder(), open);
    EXPECT_EQ(log.count("Cannot read the folder " + locked + "resources/: Permission denied"), 1);

    // The only one there: it serves, and its files are not reported one by one.
    log.lines.clear();
    chooseResourceFolder({locked});
    EXPECT_EQ(log.count("Cannot read the folder " + locked + "resources/: Permission denied"), 1);
    EXPECT_TRUE(log.contains("No readable resources folder"));
    Canvas canvas;
    Texture picture;
    picture.setup(10, 10, canvas.renderer);
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(picture.loadFromFile("logo.png"));
    EXPECT_EQ(log.count("Unable to load image logo.png! SDL_image Error: "), 1);
    EXPECT_TRUE(log.contains("logo.png: Permission denied")) << log.lines.back();
    fontPath();
    soundPath("song.ogg");
    EXPECT_FALSE(log.contains("Could not find"));

    // A folder within resources/: named instead of each file in it.
    const std::string served = folder("served", true);
    lock(served + "resources/textures");
    log.lines.clear();
    chooseResourceFolder({served});
    texturePath("one.png");
    texturePath("two.png");
    EXPECT_EQ(log.count("Cannot read the folder " + served + "resources/textures/: Permission denied"), 1);
    EXPECT_FALSE(log.contains("Could not find"));
}
