#pragma once

#include <SDL.h>

#include <functional>
#include <memory>

#include "platform/State.h"
#include "play/World.h"

// The upgrade shop between waves. Every wave prepares the menus; before waves
// 6, 11, 16 and so on the game then waits in them until they are closed or the
// window is. Nothing in the world moves meanwhile, and no frame time is taken.
void upgradeInterlude(RunObjects& run, World& world);

// The shop interrupts play: for this long after it opens no press acts on it.
const Uint32 SHOP_QUIET_MS = 300;

// Whether the shop holds the game before this wave.
bool interludeRunning(const State& state, int waveNumber);

// One event while the shop is open. Space, the fire key, does nothing there.
void handleInterludeEvent(State& state, const SDL_Event& event);

// The still world under the shop's veils, drawn once into a window-sized
// texture for the whole visit; null where the renderer cannot draw into textures.
std::shared_ptr<SDL_Texture> composeShopBackdrop(RunObjects& run, World& world);

// One frame of the shop over the still world, presented: the composed backdrop
// copied, or without one the world drawn under its veils.
void renderInterludeFrame(RunObjects& run, World& world, SDL_Texture* backdrop = nullptr);

// A screen held over the still world (the shop, the card at a run's end) while
// `showing` holds, each event handed to `handle`: the world is drawn once
// under its veils, the screen's picture anew only when what it shows may have
// changed (ScreenRest), and nothing presented otherwise.
void holdOverStillWorld(RunObjects& run, World& world, const std::function<bool()>& showing,
                        void (*handle)(State&, const SDL_Event&));
