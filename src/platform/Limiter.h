#pragma once

// The limiter on the mixer's output: overlapping shots and blasts are turned down, never clipped.

#include <SDL.h>

#include <cstddef>
#include <vector>

// The format the game opens its sound device in. SDL mixes the channels of a
// 16-bit device with saturation, so a sum past full scale would reach the
// limiter already clipped; floats are summed as they are.
constexpr Uint16 MIXER_FORMAT = AUDIO_F32SYS;

// A look-ahead peak limiter on interleaved float frames, every channel turned
// down together. Below THRESHOLD it passes the sound untouched (only delayed
// by the look-ahead); above it the gain comes down smoothly, through a soft
// knee, so that no sample passes CEILING (but for a float's last digit) however
// many sounds add up.
struct Limiter {
    static constexpr float THRESHOLD = 0.708f;       // -3 dBFS
    static constexpr float CEILING = 0.944f;         // -0.5 dBFS
    static constexpr float LOOKAHEAD_SECONDS = 0.0015f;  // the gain is down before a peak arrives ...
    static constexpr float RELEASE_SECONDS = 0.06f;      // ... and comes back over many cycles

    Limiter() = default;
    Limiter(int frequency, int channelCount) { reset(frequency, channelCount); }

    // Silence and full gain, for a device of this rate and channel count.
    void reset(int frequency, int channelCount);
    // Limits frames of interleaved samples in place. The output is the input
    // of lookaheadFrames() earlier; buffers of any length follow on seamlessly.
    void process(float* samples, int frames);
    int lookaheadFrames() const { return lookahead; }

    int channels = 2;
    int lookahead = 0;
    float release = 0.0f;  // the share of the gain's shortfall kept from one frame to the next
    float gain = 1.0f;     // the released gain of the newest frame
    std::size_t at = 0;    // the oldest frame in the rings below
    std::vector<float> delayed;  // the last lookahead + 1 frames of input
    std::vector<float> needs;    // the gain each of them needs
    std::vector<float> gains;    // the released gains of the last lookahead + 1 frames
};

// The gain a frame whose loudest sample is peak needs: 1 up to THRESHOLD, then
// a soft knee that keeps peak * gain under CEILING.
float limiterNeed(float peak);

// Puts a limiter on the open device's output (SDL_mixer's post-mix hook),
// fresh, for the device's rate and channels. False, with a log line, when no
// device is open or it is not open in MIXER_FORMAT.
bool limitMixerOutput();
