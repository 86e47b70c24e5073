#pragma once

// What makes a hit felt, on top of the rules and never changing them: a robot
// flashes white when hit and the hero red when hurt, the window's edges pulse
// red, a shot's first moments show a muzzle flash, a kill shows the XP it paid
// and a dodge says so, play freezes for a breath on a kill, and the camera
// shakes by a "trauma" that decays (offset = maximum x trauma squared, by
// smooth noise), scaled by the player's setting and applied to the world only.

#include <SDL.h>

#include <vector>

// How long each effect lasts, in ms.
const Uint32 ROBOT_FLASH_MS = 80;
const Uint32 HERO_FLASH_MS = 120;
const Uint32 MUZZLE_FLASH_MS = 40;
const Uint32 XP_TEXT_MS = 600;
const Uint32 DODGE_TEXT_MS = 500;
const Uint32 HURT_PULSE_MS = 400;
// A kill stops the clock of play this long; the C4 blast and the hero's fall longer.
const Uint32 KILL_FREEZE_MS = 40;
const Uint32 BIG_FREEZE_MS = 100;

// Trauma added by each blow, how fast it wears off (per second), and the
// camera's offset at full trauma, in design pixels.
constexpr float TRAUMA_HERO_HIT = 0.35f;
constexpr float TRAUMA_EXPLOSION = 0.5f;
constexpr float TRAUMA_DEATH = 1.0f;
constexpr float TRAUMA_DECAY = 1.2f;
constexpr int MAX_SHAKE = 14;

// A word rising from where something happened, fading as it goes.
struct FloatingText {
    int xp = 0;  // "+N"; 0 for "Dodge"
    int x = 0;
    int y = 0;
    Uint32 start = 0;
};

struct Feel {
    float trauma = 0.0f;
    // Seconds along the shake's noise.
    float noiseSeconds = 0.0f;
    // Play stands still until this tick (a kill's breath); the tick of the last frame drawn.
    Uint32 freezeUntil = 0;
    Uint32 lastFrame = 0;
    Uint32 heroFlashUntil = 0;
    // The window's edges pulse once from this tick.
    Uint32 hurtAt = 0;
    bool hurt = false;
    // A shot left the gun this frame; its flash shows until muzzleUntil.
    bool shotFired = false;
    Uint32 muzzleUntil = 0;
    std::vector<FloatingText> texts;
};

void addTrauma(Feel& feel, float amount);
// The trauma wears off over dt seconds and the noise moves on.
void settleTrauma(Feel& feel, float dt);
// The camera's offset now, at the setting's scale (0 off, 0.5 low, 1 full):
// never more than MAX_SHAKE in either direction.
SDL_Point shakeOffset(const Feel& feel, float scale);
// The scale of the "Screen shake" setting: Off, Low, Full.
float shakeScale(int setting);

// Play stands still until at least now + ms.
void freezeFor(Feel& feel, Uint32 now, Uint32 ms);
bool frozen(const Feel& feel, Uint32 now);

// Smooth noise in [-1, 1] along t (seconds), one channel per seed.
float smoothNoise(float t, int seed);
