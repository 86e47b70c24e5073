// The limiter on the mixer's output: what piles up past full scale is turned
// down smoothly and let go again, quiet play passes untouched, and SDL hands
// it the unclipped sum of the channels in the format the game opens.

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "platform/Limiter.h"

namespace {
const int RATE = 44100;

// Stereo frames of a sine at this peak, both channels alike.
std::vector<float> tone(double seconds, double frequency, double peak) {
    std::vector<float> samples(static_cast<std::size_t>(seconds * RATE) * 2);
    for (std::size_t frame = 0; frame < samples.size() / 2; ++frame) {
        const double v = peak * std::sin(2.0 * M_PI * frequency * double(frame) / RATE);
        samples[2 * frame] = samples[2 * frame + 1] = float(v);
    }
    return samples;
}

// What the limiter makes of samples, fed to it in the mixer's buffers of 2048 frames.
std::vector<float> limited(std::vector<float> samples, int buffer = 2048) {
    Limiter limiter(RATE, 2);
    const int frames = int(samples.size() / 2);
    for (int from = 0; from < frames; from += buffer) {
        limiter.process(samples.data() + 2 * from, std::min(buffer, frames - from));
    }
    return samples;
}

float peakOf(const std::vector<float>& samples, std::size_t from = 0, std::size_t to = SIZE_MAX) {
    float peak = 0.0f;
    for (std::size_t i = from; i < std::min(to, samples.size()); ++i) peak = std::max(peak, std::fabs(samples[i]));
    return peak;
}
}  // namespace

TEST(Limiter, KeepsASumOfFullScaleSoundsWithinFullScale) {
    // Four full-scale sounds starting together, then two more on top 0.1 s later,
    // as a volley of shots and blasts lands: a sum of up to six times full scale.
    std::vector<float> sum(std::size_t(RATE) * 2, 0.0f);
    const double frequencies[] = {55.0, 130.0, 440.0, 1250.0, 2900.0, 97.0};
    for (int voice = 0; voice < 6; ++voice) {
        const std::vector<float> sound = tone(0.4, frequencies[voice], 1.0);
        const std::size_t start = voice < 4 ? 2000 : 2000 + RATE / 10 * 2;
        for (std::size_t i = 0; i < sound.size(); ++i) sum[start + i] += sound[i];
    }
    ASSERT_GT(peakOf(sum), 4.0f);
    const std::vector<float> out = limited(sum);
    EXPECT_LE(peakOf(out), Limiter::CEILING * 1.000001f);  // but for a float's last digit
    EXPECT_LT(peakOf(out), 1.0f);
    // turned down, not silenced
    EXPECT_GT(peakOf(out), 0.8f * Limiter::CEILING);
}

TEST(Limiter, LeavesQuietPlayUntouchedButLate) {
    // the music and a hit, just under the threshold together
    std::vector<float> in = tone(0.5, 110.0, 0.4);
    const std::vector<float> hit = tone(0.2, 700.0, 0.3);
    for (std::size_t i = 0; i < hit.size(); ++i) in[8000 + i] += hit[i];
    ASSERT_LT(peakOf(in), Limiter::THRESHOLD);
    const std::vector<float> out = limited(in);
    const std::size_t late = std::size_t(Limiter(RATE, 2).lookaheadFrames()) * 2;
    for (std::size_t i = 0; i + late < in.size(); ++i) {
        ASSERT_EQ(out[i + late], in[i]) << "sample " << i;  // not a bit changed
    }
}

TEST(Limiter, TurnsOneLoudShotDownGentlyAndLetsItGo) {
    // a shot peaking at -1 dBFS over the music, as the game plays one
    std::vector<float> in = tone(1.0, 110.0, 0.14);
    const std::vector<float> shot = tone(0.05, 900.0, 0.89 - 0.14);
    const std::size_t at = std::size_t(RATE) / 5 * 2;
    for (std::size_t i = 0; i < shot.size(); ++i) in[at + i] += shot[i];
    const std::vector<float> out = limited(in);
    const std::size_t late = std::size_t(Limiter(RATE, 2).lookaheadFrames()) * 2;
    double least = 1.0;
    double biggestStep = 0.0;
    double previous = 1.0;
    for (std::size_t i = 0; i + late < in.size(); i += 2) {
        if (std::fabs(in[i]) < 0.05f) continue;  // the gain reads badly near a zero crossing
        const double gain = out[i + late] / in[i];
        least = std::min(least, gain);
        biggestStep = std::max(biggestStep, std::fabs(gain - previous));
        previous = gain;
    }
    // at most a dB off its peak: no pumping on a single shot
    EXPECT_GT(20.0 * std::log10(least), -1.0);
    EXPECT_LT(least, 1.0);
    // by small steps down and up again: no click
    EXPECT_LT(biggestStep, 0.01);
    // and the music is back at full gain a quarter of a second after the shot
    const std::size_t after = at + shot.size() + std::size_t(RATE) / 4 * 2;
    EXPECT_NEAR(peakOf(out, after + late), 0.14f, 0.001f);
}

TEST(Limiter, APeakAcrossTheMixersBuffersIsCaughtInTime) {
    // a burst starting in the last frames of one buffer: the gain must already
    // be coming down at the end of the buffer before, carried over from call to call
    std::vector<float> in = tone(0.2, 300.0, 0.5);
    for (std::size_t i = 2 * 2040; i < 2 * 2300; ++i) in[i] *= 3.0f;
    const std::vector<float> whole = limited(in, int(in.size()));
    for (int buffer : {2048, 1000, 37}) {
        const std::vector<float> pieces = limited(in, buffer);
        EXPECT_LE(peakOf(pieces), Limiter::CEILING * 1.000001f) << buffer;
        EXPECT_EQ(pieces, whole) << "in buffers of " << buffer << " frames";
    }
}

TEST(Limiter, SdlSumsFloatChannelsUnclippedForTheLimiterTo) {
    // The reason for the format: 16-bit mixing saturates before the post-mix
    // hook sees the sum; floats keep it, whatever its size.
    float a = 0.8f;
    const float b = 0.8f;
    SDL_MixAudioFormat(reinterpret_cast<Uint8*>(&a), reinterpret_cast<const Uint8*>(&b), MIXER_FORMAT, sizeof a,
                       SDL_MIX_MAXVOLUME);
    EXPECT_FLOAT_EQ(a, 1.6f);
    Sint16 x = 26214;
    const Sint16 y = 26214;
    SDL_MixAudioFormat(reinterpret_cast<Uint8*>(&x), reinterpret_cast<const Uint8*>(&y), AUDIO_S16SYS, sizeof x,
                       SDL_MIX_MAXVOLUME);
    EXPECT_EQ(x, 32767);

    // A float hook on a 16-bit stream would play noise: the limiter is put
    // only on a device open in floats.
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    if (Mix_QuerySpec(&frequency, &format, &channels) != 0 && format != MIXER_FORMAT) {
        EXPECT_FALSE(limitMixerOutput());
    }
}
