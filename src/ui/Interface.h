#pragma once

#include <SDL.h>
#include <SDL_ttf.h>

class Player;

// The interface's shared drawing objects: the fonts, the text colour, the
// renderer and the hero the heads-up display, the menus and the shop show.
// UI_init fills them in and UI_close empties them; they live for the whole
// process.

extern SDL_Color white;
extern TTF_Font* counter;    // 27 pt: heads-up text and menus
extern TTF_Font* small;      // 18 pt: menus
extern TTF_Font* verySmall;  // 15 pt: menus
extern TTF_Font* title;      // 51 pt: the wave banner and menu titles
extern SDL_Renderer* renderer;
extern Player* player;

// Fills a bar in a colour (opaque unless told) with the interface's renderer.
// An empty bar shows nothing: the renderer would draw it as a one-pixel line.
void fillBar(const SDL_Rect& rect, Uint8 r, Uint8 g, Uint8 b, Uint8 a = 255);
