#pragma once

// The interface's start-up and shutdown: fonts, heads-up display and menus.

#include <SDL.h>
#include <SDL_ttf.h>

#include "platform/State.h"

#include "ui/Interface.h"

class Player;

// Opens the fonts, prepares the heads-up display and builds the menus.
void UI_init(SDL_Renderer* _renderer, State& state, Player* _player);
// The hero the shop shows (null: none yet), when UI_init was given none.
void UI_setPlayer(Player* _player);
// Releases everything UI_init made: textures and fonts. Safe to call twice.
void UI_close();
