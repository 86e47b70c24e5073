#pragma once

// Many copies of one picture in a single drawing call: each copy is a quad of
// two triangles for SDL_RenderGeometry.

#include <SDL.h>

#include <vector>

// Adds the quad that shows the part uv of the picture (in 0..1 of its size) at
// the window rectangle at, tinted (white: as it is).
inline void appendQuad(std::vector<SDL_Vertex>& corners, const SDL_FRect& at, const SDL_FRect& uv,
                       SDL_Color tint = {255, 255, 255, 255}) {
    const SDL_Vertex topLeft{{at.x, at.y}, tint, {uv.x, uv.y}};
    const SDL_Vertex topRight{{at.x + at.w, at.y}, tint, {uv.x + uv.w, uv.y}};
    const SDL_Vertex bottomLeft{{at.x, at.y + at.h}, tint, {uv.x, uv.y + uv.h}};
    const SDL_Vertex bottomRight{{at.x + at.w, at.y + at.h}, tint, {uv.x + uv.w, uv.y + uv.h}};
    corners.insert(corners.end(), {topLeft, topRight, bottomLeft, topRight, bottomRight, bottomLeft});
}

// True when the renderer draws in software, where each copy costs no call of
// its own and triangles sample a texel off at some edges: copy there instead.
inline bool drawsInSoftware(SDL_Renderer* target) {
    SDL_RendererInfo info{};
    return SDL_GetRendererInfo(target, &info) != 0 || (info.flags & SDL_RENDERER_SOFTWARE) != 0;
}
