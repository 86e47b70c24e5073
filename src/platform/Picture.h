#pragma once

// Picture files decoded safely: what the window's icon and every texture are made from.

#include <SDL.h>

#include <string>

// The largest picture the game decodes, in pixels on a side: 64 MB at most
// (the largest shipped picture is 1440 x 720).
const Uint32 MAX_PICTURE_SIDE = 4096;

// Decodes the PNG picture at path. A file that is not a PNG, or whose header
// declares more than MAX_PICTURE_SIDE pixels on a side, is refused before any
// decoding; null then, with the reason in error.
SDL_Surface* loadPicture(const std::string& path, std::string& error);
