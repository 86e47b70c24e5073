#pragma once

// The game's loops: levels, waves and frames, from start-up to shutdown.

#include <functional>
#include <optional>

#include "play/World.h"

// Returns the record to the start of a run: purchases, ability and player
// levels and the block's robot counts; the hero as at the start, the shop's
// levels and prices with them.
void resetState();

// Fits the weapons chosen for the run into the hero's slots, each at its
// bought level with a full magazine.
void fitWeapons(RunObjects& run);

// Everything before a wave's first frame: a new run after a death, the wave's
// number, a new block of five waves every fifth wave, the robots that can cover
// spawn points, the upgrade interlude, the weapons, and the wave's text.
void startWave(RunObjects& run, World& world);

// One frame of play: the input, the world advanced by dt at tick `now` (ms),
// the frame shown and its rate noted. afterInput, when given, runs between the
// input and the world's step: the soak bot counts there what the input did.
void playFrame(RunObjects& run, World& world, float dt, Uint32 now, const std::function<void()>& afterInput = {});

// The pause screen (and the Settings opened from it) until play resumes or the
// level is left. Only the time since the last pause-screen pass reaches the
// next frame, and none of it counts as play in the run's account.
void pausePlay(RunObjects& run, World& world);

// Frames of the world standing still for this long (the hero's fall), the
// camera's shake wearing off meanwhile.
void holdStill(RunObjects& run, World& world, Uint32 milliseconds);

// Runs the wave's frames until it ends, the level is left or the game quits.
void playWave(RunObjects& run, World& world);

// Waves one after another until the level is left or the game quits.
void runWaves(RunObjects& run, World& world);

// The whole game after a successful init: the level loop until quit.
void runLevels(RunObjects& run);

// The Settings screen plays the music while its volume is changed there:
// from the main menu (paused false) the song starts and stops again when the
// screen is left; from the pause menu the paused song resumes, and pauses again.
// previewing is the caller's: whether the preview plays now.
void followMusicPreview(Music& song, bool& previewing, bool paused);

// The game's work after the command line: the settings read, init (the window
// fullscreen as the settings say, or as `fullscreen` says for this run), the
// run, shutdown. Returns the exit status.
int runGame(std::optional<bool> fullscreen = std::nullopt);

// The entry function's work: the command line (--help, --version, an option
// refused with status 2), then the game.
int gameMain(int argc, const char* const* argv);
