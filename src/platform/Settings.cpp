#include "platform/Settings.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdlib>

#include "platform/PlayerFiles.h"

namespace {

const char* const MUSIC_VOLUME_KEY = "music_volume";
const char* const EFFECTS_VOLUME_KEY = "effects_volume";
const char* const FULLSCREEN_KEY = "fullscreen";
const char* const VIBRATION_KEY = "vibration";
const char* const SCREEN_SHAKE_KEY = "screen_shake";
const char* const CONTROL_HINTS_KEY = "control_hints";
const char* const SHAKE_NAMES[] = {"off", "low", "full"};

const char* onOff(bool on) { return on ? "on" : "off"; }

bool readSwitch(const std::string& value, bool& on) {
    if (value == "on" || value == "true" || value == "yes" || value == "1") {
        on = true;
    } else if (value == "off" || value == "false" || value == "no" || value == "0") {
        on = false;
    } else {
        return false;
    }
    return true;
}

// A volume on its scale: inside 0 to 100 and on a step, rounding to the nearest.
int volumeOnScale(long percent) {
    const long clamped = std::clamp(percent, 0L, static_cast<long>(Settings::MAX_VOLUME));
    const long step = Settings::VOLUME_STEP;
    return static_cast<int>((clamped + step / 2) / step * step);
}

void readVolume(const std::string& path, const PlayerFileEntry& entry, int& volume) {
    long percent = 0;
    if (!readWholeNumber(entry.value, percent)) {
        SDL_Log("%s, line %d: %s = %s is not a volume from 0 to 100; the default %d is kept", path.c_str(),
                entry.line, entry.key.c_str(), entry.value.c_str(), volume);
        return;
    }
    volume = volumeOnScale(percent);
    if (volume != percent) {
        SDL_Log("%s, line %d: %s = %s is not a volume from 0 to 100 in steps of %d; %d is used", path.c_str(),
                entry.line, entry.key.c_str(), entry.value.c_str(), Settings::VOLUME_STEP, volume);
    }
}

void readOnOff(const std::string& path, const PlayerFileEntry& entry, bool& on) {
    if (!readSwitch(entry.value, on)) {
        SDL_Log("%s, line %d: %s = %s is neither on nor off; the default %s is kept", path.c_str(), entry.line,
                entry.key.c_str(), entry.value.c_str(), onOff(on));
    }
}

void readShake(const std::string& path, const PlayerFileEntry& entry, int& shake) {
    for (int level = SHAKE_OFF; level <= SHAKE_FULL; ++level) {
        if (entry.value == SHAKE_NAMES[level]) {
            shake = level;
            return;
        }
    }
    SDL_Log("%s, line %d: %s = %s is none of off, low and full; the default %s is kept", path.c_str(), entry.line,
            entry.key.c_str(), entry.value.c_str(), SHAKE_NAMES[shake]);
}

Settings settingsFrom(const PlayerFileContents& contents, const std::string& path) {
    Settings settings;
    if (contents.version != SETTINGS_FILE_VERSION) {
        SDL_Log("%s is of version %d, this game writes version %d: the settings it knows are read", path.c_str(),
                contents.version, SETTINGS_FILE_VERSION);
    }
    for (const PlayerFileEntry& entry : contents.entries) {
        if (entry.key == MUSIC_VOLUME_KEY) {
            readVolume(path, entry, settings.musicVolume);
        } else if (entry.key == EFFECTS_VOLUME_KEY) {
            readVolume(path, entry, settings.effectsVolume);
        } else if (entry.key == FULLSCREEN_KEY) {
            readOnOff(path, entry, settings.fullscreen);
        } else if (entry.key == VIBRATION_KEY) {
            readOnOff(path, entry, settings.vibration);
        } else if (entry.key == CONTROL_HINTS_KEY) {
            readOnOff(path, entry, settings.controlHints);
        } else if (entry.key == SCREEN_SHAKE_KEY) {
            readShake(path, entry, settings.screenShake);
        } else {
            SDL_Log("%s, line %d: there is no setting \"%s\"; the line is ignored", path.c_str(), entry.line,
                    entry.key.c_str());
        }
    }
    return settings;
}

}  // namespace

std::string settingsPath() {
    const std::string folder = configFolder();
    return folder.empty() ? "" : folder + "/settings.ini";
}

std::string formatSettings(const Settings& settings) {
    return formatPlayerFile(SETTINGS_FILE_VERSION, {
                                                       {MUSIC_VOLUME_KEY, std::to_string(settings.musicVolume)},
                                                       {EFFECTS_VOLUME_KEY, std::to_string(settings.effectsVolume)},
                                                       {FULLSCREEN_KEY, onOff(settings.fullscreen)},
                                                       {VIBRATION_KEY, onOff(settings.vibration)},
                                                       {SCREEN_SHAKE_KEY, SHAKE_NAMES[std::clamp(settings.screenShake, SHAKE_OFF, SHAKE_FULL)]},
                                                       {CONTROL_HINTS_KEY, onOff(settings.controlHints)},
                                                   });
}

Settings loadSettings(const std::string& path) {
    if (path.empty()) return {};
    const PlayerFileContents contents = readPlayerFile(path);
    switch (contents.status) {
    case PlayerFileContents::Status::missing:
        return {};
    case PlayerFileContents::Status::read:
        return settingsFrom(contents, path);
    case PlayerFileContents::Status::setAside:
        if (!contents.keptAs.empty()) {
            SDL_Log("%s cannot be read as settings (%s): it is kept as %s, and the defaults are used", path.c_str(),
                    contents.reason.c_str(), contents.keptAs.c_str());
        } else {
            SDL_Log("%s cannot be read as settings (%s), nor be set aside (%s): the defaults are used", path.c_str(),
                    contents.reason.c_str(), contents.renameError.c_str());
        }
        return {};
    case PlayerFileContents::Status::unreadable:
        SDL_Log("Could not read the settings in %s: %s. The defaults are used.", path.c_str(),
                contents.reason.c_str());
        return {};
    }
    return {};
}

bool saveSettings(const Settings& settings, const std::string& path) {
    std::string error = path.empty() ? "no home folder to keep them in" : "";
    if (error.empty() && writeFileAtomically(path, formatSettings(settings), error)) return true;
    tellSaveFailure("settings", error);
    return false;
}

int mixerVolume(int percent) {
    const int clamped = std::clamp(percent, 0, Settings::MAX_VOLUME);
    return (clamped * MIX_MAX_VOLUME + Settings::MAX_VOLUME / 2) / Settings::MAX_VOLUME;
}
