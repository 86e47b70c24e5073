#pragma once

// What the player chose on the Settings screen, and its file,
// settings.ini in the game's config folder. The file is written only when the
// player changes a setting; a missing file is the defaults.

#include <string>

struct Settings {
    // Both volumes run from 0 to 100 percent in steps of VOLUME_STEP.
    static constexpr int VOLUME_STEP = 10;
    static constexpr int MAX_VOLUME = 100;

    // Of the mixer's full volume: 60 % is the level the music always had
    // (channel volume 80 of 128 is 62.5 %, and the steps are of ten).
    int musicVolume = 60;
    int effectsVolume = 100;
    bool fullscreen = false;
    bool vibration = true;
    // How much the camera shakes on a blow: SHAKE_OFF, SHAKE_LOW or SHAKE_FULL.
    int screenShake = 2;
    // The strip of the keys in use along the bottom in a run's first two waves.
    bool controlHints = true;

    bool operator==(const Settings&) const = default;
};

constexpr int SHAKE_OFF = 0;
constexpr int SHAKE_LOW = 1;
constexpr int SHAKE_FULL = 2;

// The version the file's first line carries.
constexpr int SETTINGS_FILE_VERSION = 1;

// Where the settings live: settings.ini in configFolder(); empty when no home is known.
std::string settingsPath();

// The file's text for these settings.
std::string formatSettings(const Settings& settings);

// Reads the settings file: the defaults when there is none, silently. An
// unknown key, or a value that is not one, is logged with the file and its
// line and leaves that setting at its default; a volume out of range or
// between two steps is clamped to the nearest step, with a line too. A file
// that cannot be read as settings is kept as settings.ini.bad, with one log
// line saying where, and the defaults are used.
Settings loadSettings(const std::string& path = settingsPath());
// Writes the settings file atomically. A folder that cannot be written costs a
// log line (the settings still hold for this run); false then.
bool saveSettings(const Settings& settings, const std::string& path = settingsPath());

// A volume percentage as a mixer volume, 0 to MIX_MAX_VOLUME (128).
int mixerVolume(int percent);
