// The shipped sounds' loudness: every sound at its role's RMS, the fight's
// sounds over the cues of the hand and the menus, the music as it plays a bed
// under the fight that the cues still come through, and nothing clipped.

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

#include "TestSupport.h"
#include "platform/Game.h"
#include "platform/Settings.h"

namespace {
struct Level {
    std::string role;
    double rmsDb;  // over the whole sound
};

// Mirrors the "_levels" table of tools/sound/recipes.json and each recipe's role.
const std::map<std::string, Level> EXPECTED = {
    {"revolver-shoot", {"shot", -21.0}},    {"laserPistol-shoot", {"shot", -21.0}},
    {"shortExplosion", {"hit", -20.0}},     {"mediumExplosion", {"blast", -19.0}},
    {"playerDamage", {"damage", -22.0}},    {"revolver-reload", {"reload", -27.0}},
    {"laserPistol-reload", {"reload", -27.0}}, {"revolver-empty", {"empty", -27.0}},
    {"laserPistol-empty", {"empty", -27.0}}, {"buttonClick", {"button", -26.0}},
    {"denied", {"denied", -26.0}},          {"song", {"music", -15.6}},
};
const double CEILING_DB = -1.0;

bool loud(const std::string& role) {
    return role == "shot" || role == "hit" || role == "blast" || role == "damage";
}

struct Wav {
    SDL_AudioSpec format{};
    std::vector<Sint16> samples;
    bool streamed = false;  // the music's Ogg Vorbis, decoded as the mixer plays it
};

// Every sound in resources/sounds, by name, read as the game reads it: the
// effects' WAVs, and the music decoded from its Ogg Vorbis stream.
const std::map<std::string, Wav>& shipped() {
    static const std::map<std::string, Wav> sounds = [] {
        std::map<std::string, Wav> read;
        for (const auto& entry : std::filesystem::directory_iterator("resources/sounds")) {
            if (entry.path().extension() == ".ogg") {
                Wav music;
                music.streamed = true;
                music.samples = decodedSamples(entry.path().string());
                if (!music.samples.empty()) read[entry.path().stem().string()] = music;
                continue;
            }
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

double rmsDb(const std::vector<Sint16>& s, std::size_t from, std::size_t to) {
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i) sum += double(s[i]) * s[i];
    return 20.0 * std::log10(std::sqrt(sum / double(to - from)) / 32768.0 + 1e-12);
}

double rmsDb(const std::string& name) {
    const std::vector<Sint16>& s = shipped().at(name).samples;
    return rmsDb(s, 0, s.size());
}

// The short-term RMS: that of the loudest 25 ms, in steps of 5 ms, how loud a
// short sound is heard over the music (tools/sound/levels.py measures the same).
double shortTermDb(const std::string& name) {
    const std::vector<Sint16>& s = shipped().at(name).samples;
    const std::size_t window = std::min<std::size_t>(s.size(), 44100 / 40);
    double loudest = -200.0;
    for (std::size_t from = 0; from + window <= s.size(); from += 44100 / 200) {
        loudest = std::max(loudest, rmsDb(s, from, from + window));
    }
    return loudest;
}

// The music's RMS as it plays: at the default music volume,
// against the effects at the default effects volume.
double musicInPlayDb() {
    const Settings defaults;
    return rmsDb("song") +
           20.0 * std::log10(double(mixerVolume(defaults.musicVolume)) / mixerVolume(defaults.effectsVolume));
}
}  // namespace

TEST(SoundLevels, EveryShippedSoundIsAtItsRolesRms) {
    ASSERT_EQ(shipped().size(), EXPECTED.size()) << "a sound without a role, or one that did not load";
    for (const auto& [name, wav] : shipped()) {
        ASSERT_EQ(EXPECTED.count(name), 1u) << name << " has no role here";
        // (The music's stream format: test_music.cpp.)
        if (!wav.streamed) {
            EXPECT_EQ(wav.format.freq, 44100) << name;
            EXPECT_EQ(wav.format.channels, 1) << name;
            ASSERT_EQ(wav.format.format, AUDIO_S16LSB) << name;
        }
        EXPECT_NEAR(rmsDb(name), EXPECTED.at(name).rmsDb, 1.0) << name << " (" << EXPECTED.at(name).role << ")";
    }
}

TEST(SoundLevels, TheFightsSoundsStandOverTheHandsCues) {
    // the table's gaps, less the files' rounding
    EXPECT_LE(rmsDb("laserPistol-reload"), rmsDb("laserPistol-shoot") - 5.9);
    EXPECT_LE(rmsDb("revolver-reload"), rmsDb("revolver-shoot") - 5.9);
    for (const char* empty : {"revolver-empty", "laserPistol-empty"}) {
        for (const char* explosion : {"shortExplosion", "mediumExplosion"}) {
            EXPECT_LE(rmsDb(empty), rmsDb(explosion) - 5.9) << empty << " against " << explosion;
        }
    }
    for (const auto& [a, levelA] : EXPECTED) {
        for (const auto& [b, levelB] : EXPECTED) {
            if (loud(levelA.role) && !loud(levelB.role) && levelB.role != "music") {
                EXPECT_GE(rmsDb(a) - rmsDb(b), 3.9) << a << " over " << b;
            }
        }
    }
    // the shop's "no" is the menu click's size, not louder
    EXPECT_LE(rmsDb("denied"), rmsDb("buttonClick") + 0.1);
    EXPECT_GE(rmsDb("denied"), rmsDb("buttonClick") - 2.0);
}

TEST(SoundLevels, TheMusicIsABedUnderTheShotsThatTheCuesComeThrough) {
    const double music = musicInPlayDb();
    EXPECT_NEAR(music, -20.0, 0.5);
    // the shots by their short-term RMS: about -12 dBFS, some 8 dB over the
    // music, neither lost in it nor drowning it
    const double revolver = shortTermDb("revolver-shoot");
    const double laser = shortTermDb("laserPistol-shoot");
    EXPECT_NEAR((revolver + laser) / 2.0, -12.0, 1.0);
    for (double shot : {revolver, laser}) EXPECT_NEAR(shot - music, 8.0, 2.0);
    for (const auto& [name, level] : EXPECTED) {
        if (level.role == "music") continue;
        EXPECT_GT(shortTermDb(name), music - 5.0) << name << " would be lost under the music";
    }
}

TEST(SoundLevels, NothingClipsOrIsSquaredOff) {
    for (const auto& [name, wav] : shipped()) {
        // The coding error of the music's Ogg rides on its limited peaks: up to
        // half a dB over the ceiling that the samples met before encoding.
        const double ceilingDb = wav.streamed ? CEILING_DB + 0.6 : CEILING_DB;
        const int ceiling = int(32768.0 * std::pow(10.0, ceilingDb / 20.0));
        const std::vector<Sint16>& s = wav.samples;
        int peak = 0;
        for (Sint16 v : s) peak = std::max(peak, std::abs(int(v)));
        EXPECT_LE(peak, ceiling) << name << " peaks over " << ceilingDb << " dBFS";
        // a clipper leaves flat tops: runs of samples held at the peak
        for (std::size_t i = 0; i + 2 < s.size(); ++i) {
            if (std::abs(int(s[i])) == peak && s[i + 1] == s[i] && s[i + 2] == s[i]) {
                ADD_FAILURE() << name << " is flat at its peak from sample " << i;
                break;
            }
        }
    }
}
