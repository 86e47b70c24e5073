// The shipped music loop as the decoder gives it back, which is what is heard:
// a mono Ogg Vorbis stream of over a minute at the effects' rate, whole bars
// long, sitting below the fight's sounds as it plays, never dropping out, and
// joining its end to its start without a click when the mixer loops it (at
// its end the stream goes back to its first sample).

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "TestSupport.h"
#include "platform/Settings.h"

namespace {
const char* const SONG = "resources/sounds/song.ogg";
const int RATE = 44100;

std::vector<Sint16> readSound(const std::string& name) { return decodedSamples("resources/sounds/" + name + ".wav"); }

// The channels and rate that an Ogg file's Vorbis identification header
// declares: its first packet, "\x01vorbis", a version, then the channels
// (one byte) and the rate (four, little-endian).
std::pair<int, long> vorbisFormat(const std::string& path) {
    const std::string bytes = fileBytes(path);
    const std::size_t at = bytes.find(std::string("\x01vorbis", 7));
    if (at == std::string::npos || at > 64 || at + 16 > bytes.size()) return {0, 0};
    const auto byte = [&](std::size_t i) { return long(static_cast<unsigned char>(bytes[at + i])); };
    return {int(byte(11)), byte(12) | byte(13) << 8 | byte(14) << 16 | byte(15) << 24};
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
        if (Mix_QuerySpec(nullptr, nullptr, nullptr) == 0) GTEST_SKIP() << "no audio device to decode with";
        song = decodedSamples(SONG);
        ASSERT_FALSE(song.empty()) << Mix_GetError();
    }
    std::vector<Sint16> song;
};
}  // namespace

TEST_F(MusicLoop, IsAMonoVorbisStreamOfWholeBarsOverAMinuteAtTheEffectsRate) {
    EXPECT_EQ(vorbisFormat(SONG), std::make_pair(1, long(RATE)));
    EXPECT_GE(double(song.size()) / RATE, 60.0);
    // Four beats at 150 a minute: a bar is 1.6 s. The encoder kept every
    // sample, so nothing pads the join with silence or cuts a beat short.
    EXPECT_EQ(song.size() % std::size_t(RATE * 8 / 5), 0u) << song.size() << " samples";
}

TEST_F(MusicLoop, SitsBelowTheEffectsWithoutClippingAndNeverDropsOut) {
    const std::vector<Sint16>& s = song;
    const auto [low, high] = std::minmax_element(s.begin(), s.end());
    EXPECT_GT(*low, -32767) << "clipped";
    EXPECT_LT(*high, 32767) << "clipped";

    double mean = 0.0;
    for (Sint16 v : s) mean += v;
    mean /= double(s.size());
    EXPECT_LT(std::abs(mean), 33.0) << "DC offset of " << mean << " (more than 0.1 % of full scale)";

    // as it plays: at the default music volume, the effects at theirs
    const Settings defaults;
    const double music = rmsDb(s) + 20.0 * std::log10(double(mixerVolume(defaults.musicVolume)) /
                                                      mixerVolume(defaults.effectsVolume));
    for (const char* name : {"shortExplosion", "mediumExplosion"}) {
        const std::vector<Sint16> effect = readSound(name);
        ASSERT_FALSE(effect.empty()) << name;
        EXPECT_LE(music, loudestDb(effect) - 6.0) << name << ": music " << music << " dBFS";
    }
    for (const char* name : {"revolver-shoot", "laserPistol-shoot"}) {
        const std::vector<Sint16> effect = readSound(name);
        ASSERT_FALSE(effect.empty()) << name;
        EXPECT_LE(music, loudestDb(effect) - 3.0) << name << ": music " << music << " dBFS";
    }

    // a section left empty in the score would leave a silent stretch
    const std::size_t second = std::size_t(RATE);
    for (std::size_t from = 0; from + second <= s.size(); from += second / 2) {
        EXPECT_GT(rmsDb(s, from, from + second), -45.0) << "quiet from " << double(from) / second << " s";
    }
}

TEST_F(MusicLoop, TheEndJoinsTheStartWithoutAClick) {
    std::vector<Sint16> s = song;
    const long n = long(s.size());
    const int seam = jump(s, n - 1);
    int nearby = 0;
    const long window = RATE / 20;  // 50 ms either side
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
