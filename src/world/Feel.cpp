#include "world/Feel.h"

#include <algorithm>
#include <cmath>

namespace {

// The shake's pace: about 18 wiggles a second, smooth between them.
constexpr float NOISE_RATE = 18.0f;

// A fixed pseudo-random gradient in [-1, 1] for each lattice point of a channel.
float gradientAt(int point, int seed) {
    Uint32 h = static_cast<Uint32>(point) * 374761393u + static_cast<Uint32>(seed) * 668265263u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return static_cast<float>(h & 0xFFFF) / 32767.5f - 1.0f;
}

}  // namespace

void addTrauma(Feel& feel, float amount) { feel.trauma = std::min(1.0f, feel.trauma + amount); }

void settleTrauma(Feel& feel, float dt) {
    feel.trauma = std::max(0.0f, feel.trauma - TRAUMA_DECAY * dt);
    feel.noiseSeconds += dt;
}

float smoothNoise(float t, int seed) {
    // Gradient noise in one dimension: each lattice point's slope, blended
    // with the quintic fade, so that the camera never jumps.
    const float x = t * NOISE_RATE;
    const int left = static_cast<int>(std::floor(x));
    const float f = x - static_cast<float>(left);
    const float a = gradientAt(left, seed) * f;
    const float b = gradientAt(left + 1, seed) * (f - 1.0f);
    const float fade = f * f * f * (f * (f * 6.0f - 15.0f) + 10.0f);
    // The blend of two slopes peaks at 0.5 in magnitude: doubled to fill [-1, 1].
    return std::clamp(2.0f * (a + (b - a) * fade), -1.0f, 1.0f);
}

SDL_Point shakeOffset(const Feel& feel, float scale) {
    const float reach = static_cast<float>(MAX_SHAKE) * feel.trauma * feel.trauma * std::clamp(scale, 0.0f, 1.0f);
    if (reach <= 0.0f) return {0, 0};
    return {static_cast<int>(std::lround(reach * smoothNoise(feel.noiseSeconds, 1))),
            static_cast<int>(std::lround(reach * smoothNoise(feel.noiseSeconds, 2)))};
}

float shakeScale(int setting) {
    if (setting <= 0) return 0.0f;
    return setting == 1 ? 0.5f : 1.0f;
}

void freezeFor(Feel& feel, Uint32 now, Uint32 ms) {
    // A longer breath already running is not cut short.
    const Uint32 until = now + ms;
    if (SDL_TICKS_PASSED(until, feel.freezeUntil)) feel.freezeUntil = until;
}

bool frozen(const Feel& feel, Uint32 now) { return SDL_TICKS_PASSED(now, feel.freezeUntil) == SDL_FALSE; }
