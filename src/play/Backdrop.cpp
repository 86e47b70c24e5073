#include "play/Backdrop.h"

#include <algorithm>

#include "platform/Game.h"
#include "play/Camera.h"

namespace {

// The part of whole outside every rectangle of cover, in pieces: each band
// between two horizontal edges of the cover, cut where its rectangles cross it.
void uncoveredPieces(const std::vector<SDL_Rect>& cover, const SDL_Rect& whole, std::vector<SDL_Rect>& pieces) {
    // Kept between frames, so that no frame allocates.
    static std::vector<int> edges;
    static std::vector<SDL_Rect> crossing;
    pieces.clear();
    edges.assign({whole.y, whole.y + whole.h});
    for (const SDL_Rect& area : cover) {
        edges.push_back(std::clamp(area.y, whole.y, whole.y + whole.h));
        edges.push_back(std::clamp(area.y + area.h, whole.y, whole.y + whole.h));
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    for (std::size_t k = 0; k + 1 < edges.size(); ++k) {
        const int top = edges[k];
        const int bottom = edges[k + 1];
        crossing.clear();
        for (const SDL_Rect& area : cover) {
            if (area.w > 0 && area.y <= top && area.y + area.h >= bottom) crossing.push_back(area);
        }
        std::sort(crossing.begin(), crossing.end(), [](const SDL_Rect& a, const SDL_Rect& b) { return a.x < b.x; });
        int x = whole.x;
        for (const SDL_Rect& area : crossing) {
            if (area.x > x) pieces.push_back({x, top, std::min(area.x, whole.x + whole.w) - x, bottom - top});
            x = std::max(x, area.x + area.w);
        }
        if (x < whole.x + whole.w) pieces.push_back({x, top, whole.x + whole.w - x, bottom - top});
    }
}

}  // namespace

void renderBackdrop(const RunObjects& run, const std::vector<SDL_Rect>& cover) {
    SDL_RenderClear(gameRenderer);
    SDL_SetRenderDrawColor(gameRenderer, BACKDROP_VEIL.r, BACKDROP_VEIL.g, BACKDROP_VEIL.b, BACKDROP_VEIL.a);
    if (run.backdrop) {
        // One opaque copy: a window-sized translucent fill every frame cost more than the rest of the frame.
        if (cover.empty()) {
            SDL_RenderCopy(gameRenderer, run.backdrop.get(), nullptr, &run.backgroundRect);
            return;
        }
        // Around what will cover it: without a graphics card every pixel drawn
        // costs, and the platforms' rows are a tenth of the window.
        static std::vector<SDL_Rect> pieces;
        uncoveredPieces(cover, run.backgroundRect, pieces);
        for (const SDL_Rect& piece : pieces) {
            const SDL_Rect source{piece.x - run.backgroundRect.x, piece.y - run.backgroundRect.y, piece.w, piece.h};
            SDL_RenderCopy(gameRenderer, run.backdrop.get(), &source, &piece);
        }
        return;
    }
    run.background.render(0, 0);
    SDL_RenderFillRect(gameRenderer, &run.backgroundRect);
}

void renderBackdrop(const RunObjects& run) { renderBackdrop(run, {}); }

void renderBackdropUnderPlatforms(const RunObjects& run, const World& world, SDL_Point shake) {
    // Kept between frames, so that no frame allocates.
    static std::vector<SDL_Rect> cover;
    cover.clear();
    if (shake.x == 0 && shake.y == 0) platformCover(world.platforms, cover);
    renderBackdrop(run, cover);
}
