#pragma once

// The card that gives the account of a run when it ends: the wave reached,
// the robots destroyed by kind (with their pictures), the accuracy, the XP
// earned, the time played, and the record it is measured against. Shown over
// the still world when an Arcade run ends, and in a campaign when a level is
// lost, a level is cleared and the campaign is complete.

#include <SDL.h>

#include <string>
#include <vector>

#include "platform/Records.h"
#include "platform/State.h"
#include "ui/Menus.h"

// Why the card is shown; it decides the title and the buttons.
enum class CardKind {
    runOver,           // Arcade: the hero fell. "Play Again", "Quit To Menu".
    levelLost,         // Campaign: the hero fell; the level is played again. "Try Again", "Quit To Menu".
    levelCleared,      // Campaign: the level's last wave is cleared. "Next Level", "Quit To Menu".
    campaignComplete,  // Campaign: wave 30 cleared. "Quit To Menu".
};

struct CardContent {
    CardKind kind = CardKind::runOver;
    int level = 1;
    RunAccount account;
    // The level's best wave (runOver), or the best campaign time (campaignComplete); 0 for none.
    int bestWave = 0;
    Uint32 bestMs = 0;
    bool newBest = false;
};

// The card takes no press for this long after it appears: a player still
// firing at the robots must not skip it.
const Uint32 CARD_QUIET_MS = 1000;

// Builds the card's texts and buttons, and puts it on screen with its first
// button current. A button takes it off screen with its choice in
// state.cardChoice: goOn (play again, try again, the next level) or toMenu.
void showAccountCard(State& state, const CardContent& content);
// The panel, its lines and pictures, under the buttons (the menu's own).
void renderAccountCard(const State& state);
// "0:42", "12:05": minutes and seconds of play.
std::string playTime(Uint32 milliseconds);
// The card's title and lines as shown, top to bottom (a record beaten ends
// its line with " New best!"), for a test to read.
const std::string& accountCardTitle();
const std::vector<std::string>& accountCardLines();

void releaseAccountCard();
