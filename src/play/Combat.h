#pragma once

// Combat in one frame: the enemy pass (knife, contact, bullets, the C4 blast, deaths
// and their rewards) and what the frame settles afterwards.

#include "play/World.h"

// What one frame's enemy pass found out.
struct FrameOutcome {
    bool robotAlive = false;     // some robot of the wave still lives, placed or not
    bool playerAlive = true;     // false once the hero died this frame
    bool playerDamaged = false;  // the hero took a hit this frame
};

// Pixel distance from the C4 charge within which its blast hurts a robot.
const int C4_BLAST_RADIUS = 300;
// Damage of a touch: to the robot that touches the hero, and of a bounce stomp.
const int CONTACT_DAMAGE = 5;
// Upward speed the bounce stomp throws the hero at.
const float BOUNCE_SPEED = -1800.0f;

// The enemy pass: places, moves and draws every robot of the current wave, and
// applies the knife, contact (stomp and dodge), bullet hits, the C4 blast,
// deaths with their explosions and kill rewards.
// Each robot hit flashes white, a kill pays its "+N" and stops play for a
// breath, a dodge says so: drawn on top, at tick now (ms), ruling nothing.
void runEnemyPass(State& game, RunObjects& run, World& world, float dt, Uint32 now, FrameOutcome& outcome);

// After the pass: the hero's hurt (vibration, combo lost, back to his spawn;
// a red flash, the edges' pulse and a kick of the camera) and the end of the
// wave. The developer's key 3 (world.heroFalls) ends the wave as a death does.
void settleFrame(State& game, RunObjects& run, World& world, FrameOutcome outcome, Uint32 now);

