#pragma once

// The campaign's screen, opened by "Campaign Mode" on the main menu:
// "Continue: Level 2, wave 11" (only with a campaign saved), "New Campaign"
// and "Back". A new campaign while one is saved asks first, "No" selected.

#include <string>

#include "platform/State.h"
#include "ui/Menus.h"

// The button that continues a saved campaign: what it says.
std::string continueLabel(const CampaignSave& campaign);

// Button actions: the campaign's screen (built anew for the campaign saved
// now), continuing it, a new one (asked about when one is saved), and back.
void showCampaignScreen(State& state, int, int);
void continueCampaign(State& state, int, int);
void newCampaign(State& state, int, int);
void backFromCampaign(State& state, int, int);

// Escape and B: from the question back to the campaign's screen ("No"), from
// there back to the main menu. True when the event was one of these.
bool handleCampaignEvent(State& state, const SDL_Event& event);

// The question's words over its buttons.
void renderCampaignScreen(const State& state);
void releaseCampaignScreen();
