#include "platform/Limiter.h"

#include <SDL_mixer.h>

#include <algorithm>
#include <cmath>

void Limiter::reset(int frequency, int channelCount) {
    channels = std::max(1, channelCount);
    lookahead = std::max(1, static_cast<int>(std::lround(LOOKAHEAD_SECONDS * static_cast<float>(frequency))));
    release = std::exp(-1.0f / (RELEASE_SECONDS * static_cast<float>(std::max(1, frequency))));
    gain = 1.0f;
    at = 0;
    const std::size_t window = static_cast<std::size_t>(lookahead) + 1;
    delayed.assign(window * static_cast<std::size_t>(channels), 0.0f);
    needs.assign(window, 1.0f);
    gains.assign(window, 1.0f);
}

float limiterNeed(float peak) {
    if (peak <= Limiter::THRESHOLD) return 1.0f;
    // Slope 1 at the threshold, flattening out toward the ceiling: a peak just
    // over it loses a fraction of a dB, a pile of sounds is held under the ceiling.
    const float room = Limiter::CEILING - Limiter::THRESHOLD;
    return (Limiter::THRESHOLD + room * std::tanh((peak - Limiter::THRESHOLD) / room)) / peak;
}

// Each frame waits in the ring for lookahead frames while the gain is worked
// out: the least need over the window ahead, let back up no faster than the
// release, then averaged over the window. Every gain in that average comes
// from a window holding the frame that leaves, so none is above its need,
// and the average moves by small steps: turned down, never a click.
void Limiter::process(float* samples, int frames) {
    const std::size_t window = needs.size();
    const std::size_t width = static_cast<std::size_t>(channels);
    for (int frame = 0; frame < frames; ++frame) {
        float* sample = samples + static_cast<std::size_t>(frame) * width;
        float peak = 0.0f;
        for (std::size_t c = 0; c < width; ++c) peak = std::max(peak, std::fabs(sample[c]));
        std::copy(sample, sample + width, delayed.begin() + static_cast<std::ptrdiff_t>(at * width));
        needs[at] = limiterNeed(peak);

        const float least = *std::min_element(needs.begin(), needs.end());
        gain = std::min(least, 1.0f - (1.0f - gain) * release);
        gains[at] = gain;
        double sum = 0.0;
        for (float g : gains) sum += g;

        at = (at + 1) % window;
        const float applied = std::min(static_cast<float>(sum / static_cast<double>(window)), needs[at]);
        const float* leaving = delayed.data() + at * width;
        for (std::size_t c = 0; c < width; ++c) sample[c] = leaving[c] * applied;
    }
}

namespace {

void limitMix(void* limiter, Uint8* stream, int bytes) {
    auto* self = static_cast<Limiter*>(limiter);
    self->process(reinterpret_cast<float*>(stream), bytes / static_cast<int>(sizeof(float)) / self->channels);
}

}  // namespace

bool limitMixerOutput() {
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    if (Mix_QuerySpec(&frequency, &format, &channels) == 0) {
        SDL_Log("No sound device open: nothing to limit.");
        return false;
    }
    if (format != MIXER_FORMAT) {
        SDL_Log("The sound device is open in format 0x%x, not floats: its output is not limited.", format);
        return false;
    }
    // The one limiter of the process; the audio thread lets go of it before it is reset.
    static Limiter limiter;
    Mix_SetPostMix(nullptr, nullptr);
    limiter.reset(frequency, channels);
    Mix_SetPostMix(limitMix, &limiter);
    return true;
}
