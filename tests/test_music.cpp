// The shipped music loop: over a minute long, in the effects' format, sitting
// below the fight's sounds as it plays, never dropping out, and joining its
// end to its start without a click when the mixer loops it.

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Settings.h"

namespace {
struct Wav {
    bool loaded = false;
    SDL_AudioSpec format{};
    std::vector<Sint16> samples;  // only when the format is 16-bit little-endian

    double seconds() const { return format.freq > 0 ? double(samples.size()) / format.freq : 0.0; }
};

Wav readSound(const std::string& name) {
    Wav wav;
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    const std::string path = "resources/sounds/" + name + ".wav";
    if (SDL_LoadWAV(path.c_str(), &wav.format, &buffer, &length) == nullptr) return wav;
    wav.loaded = true;
    if (wav.format.format == AUDIO_S16LSB) {
        wav.samples.resize(length / sizeof(Sint16));
        std::memcpy(wav.samples.data(), buffer, wav.samples.size() * sizeof(Sint16));
    }
    SDL_FreeWAV(buffer);
    return wav;
}

double rmsDb(const std::vector<Sint16>& s, std::size_t from, std::size_t to) {
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i) sum += double(s[i]) * s[i];
    return 20.0 * std::log10(std::sqrt(sum / double(to - from)) / 32768.0 + 1e-12);
}

double rmsDb(const std::vector<Sint16>& s) { return rmsDb(s, 0, s.size()); }

// The RMS of a sound's loudest 25 ms: how loud a shot or a blast is heard over the music.
double loudestDb(const std::vector<Sint16>& s) {
    const std::size_t window = std::min<std::size_t>(s.size(), 44100 / 40);
    double loudest = -200.0;
    for (std::size_t from = 0; from + window <= s.size(); from += 44100 / 200) {
        loudest = std::max(loudest, rmsDb(s, from, from + window));
    }
    return loudest;
}

// The jump from sample i to the next one as the mixer plays the loop: the last
// sample is followed by the first.
int jump(const std::vector<Sint16>& s, long i) {
    const long n = long(s.size());
    const long a = ((i % n) + n) % n;
    return std::abs(int(s[std::size_t((a + 1) % n)]) - int(s[std::size_t(a)]));
}

// The jump after sample i over the median jump of the 64 samples either side.
// A step stands out from its neighbours; hiss and note onsets raise the
// neighbours with them. The bar lines inside the loop, where the music simply
// runs on, measure at most about 2.
double clickRatio(const std::vector<Sint16>& s, long i) {
    std::vector<int> around;
    for (long d = -64; d <= 64; ++d) {
        if (d != 0) around.push_back(jump(s, i + d));
    }
    std::nth_element(around.begin(), around.begin() + long(around.size() / 2), around.end());
    return double(jump(s, i)) / std::max(1, around[around.size() / 2]);
}

class MusicLoop : public ::testing::Test {
protected:
    void SetUp() override {
        song = readSound("song");
        ASSERT_TRUE(song.loaded) << SDL_GetError();
        ASSERT_FALSE(song.samples.empty()) << "not 16-bit little-endian";
    }
    Wav song;
};
}  // namespace

TEST_F(MusicLoop, TheLoopLastsOverAMinuteInTheEffectsFormat) {
    EXPECT_GE(song.seconds(), 60.0);
    const Wav effect = readSound("shortExplosion");
    ASSERT_TRUE(effect.loaded);
    for (const Wav* wav : {static_cast<const Wav*>(&song), &effect}) {
        EXPECT_EQ(wav->format.freq, 44100);
        EXPECT_EQ(wav->format.channels, 1);
        EXPECT_EQ(wav->format.format, AUDIO_S16LSB);
    }
}

TEST_F(MusicLoop, SitsBelowTheEffectsWithoutClippingAndNeverDropsOut) {
    const std::vector<Sint16>& s = song.samples;
    const auto [low, high] = std::minmax_element(s.begin(), s.end());
    EXPECT_GT(*low, -32767) << "clipped";
    EXPECT_LT(*high, 32767) << "clipped";

    double mean = 0.0;
    for (Sint16 v : s) mean += v;
    mean /= double(s.size());
    EXPECT_LT(std::abs(mean), 33.0) << "DC offset of " << mean << " (more than 0.1 % of full scale)";

    // as it plays: on its channel at the default music volume, the effects at theirs
    const Settings defaults;
    const double music = rmsDb(s) + 20.0 * std::log10(double(mixerVolume(defaults.musicVolume)) /
                                                      mixerVolume(defaults.effectsVolume));
    for (const char* name : {"shortExplosion", "mediumExplosion"}) {
        const Wav effect = readSound(name);
        ASSERT_FALSE(effect.samples.empty()) << name;
        EXPECT_LE(music, loudestDb(effect.samples) - 6.0) << name << ": music " << music << " dBFS";
    }
    for (const char* name : {"revolver-shoot", "laserPistol-shoot"}) {
        const Wav effect = readSound(name);
        ASSERT_FALSE(effect.samples.empty()) << name;
        EXPECT_LE(music, loudestDb(effect.samples) - 3.0) << name << ": music " << music << " dBFS";
    }

    // a section left empty in the score would leave a silent stretch
    const std::size_t second = std::size_t(song.format.freq);
    for (std::size_t from = 0; from + second <= s.size(); from += second / 2) {
        EXPECT_GT(rmsDb(s, from, from + second), -45.0) << "quiet from " << double(from) / second << " s";
    }
}

TEST_F(MusicLoop, TheEndJoinsTheStartWithoutAClick) {
    std::vector<Sint16> s = song.samples;
    const long n = long(s.size());
    const int seam = jump(s, n - 1);
    int nearby = 0;
    const long window = song.format.freq / 20;  // 50 ms either side
    for (long d = 1; d <= window; ++d) nearby = std::max({nearby, jump(s, n - 1 - d), jump(s, n - 1 + d)});
    EXPECT_LE(seam, nearby) << "|last - first| = " << seam;
    EXPECT_LE(clickRatio(s, n - 1), 4.0) << "|last - first| = " << seam;

    // Notes cut off at the end instead of ringing on into the start leave a
    // step of a thousand or so at the loop's level: the check must see one of 1200 more.
    const int away = s.back() >= s.front() ? 1200 : -1200;
    for (long i = n - window; i < n; ++i) {
        s[std::size_t(i)] = Sint16(std::clamp(s[std::size_t(i)] + away, -32767, 32767));
    }
    EXPECT_GT(clickRatio(s, n - 1), 4.0);
}
