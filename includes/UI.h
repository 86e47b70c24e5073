#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

#include "State.h"

class Player;

// Objects of the user-interface module shared by the heads-up display and the
// menus. They live for the whole process.
extern SDL_Color white;
extern TTF_Font* counter;    // 27 pt: heads-up text and menus
extern TTF_Font* small;      // 18 pt: menus
extern TTF_Font* verySmall;  // 15 pt: menus
extern TTF_Font* title;      // 51 pt: the wave banner and menu titles
// The renderer and the hero given to UI_init: menus and purchases reach them here.
extern SDL_Renderer* renderer;
extern Player* player;

// Opens the fonts, prepares the heads-up display and builds the menus.
void UI_init(SDL_Renderer* _renderer, State& state, Player* _player);
// Releases everything UI_init made: textures and fonts. Safe to call twice.
void UI_close();
