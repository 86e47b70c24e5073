// The shipped sounds' loudness: every sound at its role's RMS, the fight's
// sounds well over the cues of the hand, the music under the fight, and
// nothing clipped.

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "Game.h"
#include "Settings.h"

namespace {
struct Level {
    std::string role;
    double rmsDb;  // over the whole sound
};

// Mirrors the "_levels" table of tools/sound/recipes.json and each recipe's role.
const std::map<std::string, Level> EXPECTED = {
    {"revolver-shoot", {"shot", -19.0}},    {"laserPistol-shoot", {"shot", -19.0}},
    {"shortExplosion", {"hit", -18.0}},     {"mediumExplosion", {"blast", -17.0}},
    {"playerDamage", {"damage", -20.0}},    {"revolver-reload", {"reload", -30.0}},
    {"laserPistol-reload", {"reload", -30.0}}, {"revolver-empty", {"empty", -30.0}},
    {"laserPistol-empty", {"empty", -30.0}}, {"buttonClick", {"button", -28.0}},
    {"song", {"music", -27.5}},
};
const double CEILING_DB = -1.0;

bool loud(const std::string& role) {
    return role == "shot" || role == "hit" || role == "blast" || role == "damage";
}

struct Wav {
    SDL_AudioSpec format{};
    std::vector<Sint16> samples;
};

// Every WAV in resources/sounds, by name, read as the game reads it.
const std::map<std::string, Wav>& shipped() {
    static const std::map<std::string, Wav> sounds = [] {
        std::map<std::string, Wav> read;
        for (const auto& entry : std::filesystem::directory_iterator("resources/sounds")) {
            if (entry.path().extension() != ".wav") continue;
            Wav wav;
            Uint8* buffer = nullptr;
            Uint32 length = 0;
            if (SDL_LoadWAV(entry.path().c_str(), &wav.format, &buffer, &length) == nullptr) continue;
            wav.samples.resize(length / sizeof(Sint16));
            std::memcpy(wav.samples.data(), buffer, wav.samples.size() * sizeof(Sint16));
            SDL_FreeWAV(buffer);
            read[entry.path().stem().string()] = wav;
        }
        return read;
    }();
    return sounds;
}

double rmsDb(const std::string& name) {
    const std::vector<Sint16>& s = shipped().at(name).samples;
    double sum = 0.0;
    for (Sint16 v : s) sum += double(v) * v;
    return 20.0 * std::log10(std::sqrt(sum / double(s.size())) / 32768.0 + 1e-12);
}
}  // namespace

TEST(SoundLevels, EveryShippedSoundIsAtItsRolesRms) {
    ASSERT_EQ(shipped().size(), EXPECTED.size()) << "a sound without a role, or one that did not load";
    for (const auto& [name, wav] : shipped()) {
        ASSERT_EQ(EXPECTED.count(name), 1u) << name << " has no role here";
        EXPECT_EQ(wav.format.freq, 44100) << name;
        EXPECT_EQ(wav.format.channels, 1) << name;
        ASSERT_EQ(wav.format.format, AUDIO_S16LSB) << name;
        EXPECT_NEAR(rmsDb(name), EXPECTED.at(name).rmsDb, 1.0) << name << " (" << EXPECTED.at(name).role << ")";
    }
}

TEST(SoundLevels, TheFightsSoundsStandWellOverTheHandsCues) {
    EXPECT_LE(rmsDb("laserPistol-reload"), rmsDb("laserPistol-shoot") - 8.0);
    EXPECT_LE(rmsDb("revolver-reload"), rmsDb("revolver-shoot") - 8.0);
    for (const char* empty : {"revolver-empty", "laserPistol-empty"}) {
        for (const char* explosion : {"shortExplosion", "mediumExplosion"}) {
            EXPECT_LE(rmsDb(empty), rmsDb(explosion) - 8.0) << empty << " against " << explosion;
        }
    }
    for (const auto& [a, levelA] : EXPECTED) {
        for (const auto& [b, levelB] : EXPECTED) {
            if (loud(levelA.role) && !loud(levelB.role) && levelB.role != "music") {
                EXPECT_GE(rmsDb(a) - rmsDb(b), 6.0) << a << " over " << b;
            }
        }
    }
}

TEST(SoundLevels, TheMusicSitsUnderTheEffects) {
    const double music = rmsDb("song");
    // played on its channel at the default music volume, under the effects' default
    const Settings defaults;
    const double inGame = music + 20.0 * std::log10(double(mixerVolume(defaults.musicVolume)) /
                                                    mixerVolume(defaults.effectsVolume));
    for (const auto& [name, level] : EXPECTED) {
        if (level.role == "music") continue;
        if (loud(level.role)) {
            EXPECT_LE(music, rmsDb(name) - 6.0) << name;
        }
        EXPECT_LT(inGame, rmsDb(name)) << name << " would be lost under the music";
    }
}

TEST(SoundLevels, NothingClipsOrIsSquaredOff) {
    const int ceiling = int(32768.0 * std::pow(10.0, CEILING_DB / 20.0));
    for (const auto& [name, wav] : shipped()) {
        const std::vector<Sint16>& s = wav.samples;
        int peak = 0;
        for (Sint16 v : s) peak = std::max(peak, std::abs(int(v)));
        EXPECT_LE(peak, ceiling) << name << " peaks over " << CEILING_DB << " dBFS";
        // a clipper leaves flat tops: runs of samples held at the peak
        for (std::size_t i = 0; i + 2 < s.size(); ++i) {
            if (std::abs(int(s[i])) == peak && s[i + 1] == s[i] && s[i + 2] == s[i]) {
                ADD_FAILURE() << name << " is flat at its peak from sample " << i;
                break;
            }
        }
    }
}
