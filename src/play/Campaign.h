#pragma once

// How a run ends and what is kept of it: the card with its account over the
// still world, the records, and Campaign Mode, the three levels in order with
// each level a checkpoint saved between starts.

#include <SDL.h>

#include "play/World.h"
#include "ui/AccountCard.h"

// One event while the card shows: the pointer, the keys and the pad on its
// buttons, Escape and B for "Quit To Menu"; no press in its first second.
void handleCardEvent(State& state, const SDL_Event& event);

// Shows the card over the still world until a button answers it; the answer,
// or none when the game quits meanwhile.
CardChoice holdCard(RunObjects& run, World& world, const CardContent& content);

// A wave begins: the wave reached counts, and in Arcade Mode it may be a new
// best for the level (saved at once; a run that used the developer's skip sets none).
void noteWaveReached(World& world);

// The hero fell in Arcade Mode: the run's card. "Quit To Menu" leaves the
// level; "Play Again" lets the wave loop start wave 1.
void arcadeRunOver(RunObjects& run, World& world);

// Campaign Mode from the level in state (a new campaign, or the saved one's
// checkpoint when state.continueCampaign), until it is complete, left or the
// game quits.
void runCampaign(RunObjects& run);
