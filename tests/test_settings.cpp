// The settings file: where it lives, what it holds, and that no crash, full
// disk, read-only home or broken file ever costs the player a file or a game.

#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "TestSupport.h"
#include "platform/PlayerFiles.h"
#include "platform/Settings.h"
#include "ui/SettingsScreen.h"

namespace fs = std::filesystem;

namespace {

void writeAll(const std::string& path, const std::string& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

class SettingsFile : public ::testing::Test {
protected:
    ScratchHome home;
    const std::string path = settingsPath();
};

}  // namespace

TEST_F(SettingsFile, LivesUnderTheDesktopsConfigFolder) {
    EXPECT_EQ(path, home.folder + "/config/zelvane/settings.ini");
    // A relative base is not one the desktop's rules accept: the home's .config serves.
    setenv("XDG_CONFIG_HOME", "relative/config", 1);
    setenv("HOME", (home.folder + "/me").c_str(), 1);
    EXPECT_EQ(configFolder(), home.folder + "/me/.config/zelvane");
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(dataFolder(), home.folder + "/me/.local/share/zelvane");
}

TEST_F(SettingsFile, EverySettingRoundTripsAndNothingIsWrittenUnasked) {
    EXPECT_EQ(loadSettings(path), Settings{});
    EXPECT_FALSE(fs::exists(fs::path(path).parent_path())) << "reading wrote something";

    for (const Settings& chosen : {Settings{0, 100, true, false, SHAKE_OFF, false},
                                   Settings{100, 0, false, true, SHAKE_LOW, true},
                                   Settings{40, 70, true, true, SHAKE_FULL, false}}) {
        ASSERT_TRUE(saveSettings(chosen, path));
        EXPECT_EQ(loadSettings(path), chosen);
    }
    EXPECT_EQ(fileBytes(path),
              "version = 1\nmusic_volume = 40\neffects_volume = 70\nfullscreen = on\nvibration = on\n"
              "screen_shake = full\ncontrol_hints = off\n");
    // Only the file itself is left in the folder: no temporary one.
    EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(path).parent_path()), fs::directory_iterator{}), 1);
}

TEST_F(SettingsFile, ABadLineCostsThatLineAloneAndSaysWhere) {
    writeAll(path,
             "version = 1\n# a comment\nmusic_volume = 250\neffects_volume = 35\nfullscreen = maybe\n"
             "colour = blue\nnot a setting\nvibration = off\n");
    LogCapture log;
    const Settings read = loadSettings(path);
    EXPECT_EQ(read.musicVolume, 100);    // clamped
    EXPECT_EQ(read.effectsVolume, 40);   // onto the nearest step
    EXPECT_FALSE(read.fullscreen);       // the default
    EXPECT_FALSE(read.vibration);        // the good line after the bad ones still counts
    for (const char* where : {", line 3:", ", line 4:", ", line 5:", ", line 6:", ", line 7:"}) {
        EXPECT_EQ(log.count(path + where), 1) << where;
    }
    EXPECT_EQ(log.lines.size(), 5u);
    EXPECT_FALSE(fs::exists(path + ".bad"));
}

TEST_F(SettingsFile, AFileThatIsNotSettingsIsKeptAsBadAndTheDefaultsServe) {
    const std::string garbage("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16);
    const std::string truncated = "version = 1\nmusic_volume = 30\neffects_vol";
    const std::string huge = "version = 1\n" + std::string(1024 * 1024, '#') + "\n";
    for (const std::string& bytes : {garbage, truncated, huge, std::string()}) {
        writeAll(path, bytes);
        LogCapture log;
        EXPECT_EQ(loadSettings(path), Settings{});
        EXPECT_EQ(fileBytes(path + ".bad"), bytes) << "the player's file is not kept whole";
        EXPECT_FALSE(fs::exists(path));
        ASSERT_EQ(log.lines.size(), 1u);
        EXPECT_NE(log.lines[0].find("kept as " + path + ".bad"), std::string::npos) << log.lines[0];
    }
}

TEST_F(SettingsFile, ACrashOrAFullDiskLeavesTheOldFileWhole) {
    const Settings old{30, 60, false, true};
    ASSERT_TRUE(saveSettings(old, path));
    const std::string before = fileBytes(path);

    // A crash after the new file was written but before it was renamed.
    std::string temporary;
    std::string error;
    ASSERT_TRUE(writeTemporaryFile(path, formatSettings(Settings{}), temporary, error)) << error;
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_EQ(loadSettings(path), old);
    fs::remove(temporary);

    // A disk that takes no more than a few bytes of a file.
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit tiny{8, limit.rlim_max};
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &tiny);
    LogCapture log;
    const bool saved = saveSettings(Settings{}, path);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_FALSE(saved);
    EXPECT_EQ(fileBytes(path), before);
    EXPECT_EQ(log.count("Could not save the settings"), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(path).parent_path()), fs::directory_iterator{}), 1)
        << "the half-written temporary file was left behind";
}

TEST_F(SettingsFile, AHomeThatCannotBeWrittenCostsOneLineAndTheGamePlaysOn) {
    // A folder where the config folder should be is a file: nothing can be made under it.
    writeAll(home.folder + "/config", "not a folder");
    TestGame game({.run = false, .world = false});
    LogCapture log;
    state.menu = Menu::settings;
    EXPECT_TRUE(changeSetting(state, effectsRow, -1, false));
    EXPECT_TRUE(changeSetting(state, effectsRow, -1, false));
    EXPECT_EQ(state.settings.effectsVolume, 80);
    if (Mix_QuerySpec(nullptr, nullptr, nullptr) != 0) {
        EXPECT_EQ(Mix_Volume(1, -1), mixerVolume(80));
    }
    EXPECT_EQ(log.count("Could not save the settings"), 1);
}
