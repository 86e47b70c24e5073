#include "ui/RobotArrows.h"

#include <algorithm>
#include <array>
#include <tuple>
#include <vector>

#include "platform/Game.h"
#include "world/Quads.h"

namespace {

// The arrow pointing down, row after row: '#' outline, 'p' highlight, 'R' body,
// '.' nothing. Pointing up it is drawn upside down. The colours are the
// robots' own, so the arrow reads as "a robot there".
constexpr std::array<const char*, 9> ARROW_DOWN{
    "..#####..",
    "..#pRR#..",
    "..#pRR#..",
    "###pRR###",
    "#pppRRRR#",
    ".#pRRRR#.",
    "..#pRR#..",
    "...#R#...",
    "....#....",
};
constexpr int ARROW_CELLS = 9;
static_assert(ROBOT_ARROW_SIDE == ARROW_CELLS * ROBOT_ARROW_CELL);

struct Ink {
    char key;
    SDL_Color colour;
};
constexpr std::array<Ink, 3> INKS{{
    {'#', {22, 20, 34, 255}},
    {'R', {196, 44, 60, 255}},
    {'p', {232, 96, 104, 255}},
}};

// Moves the box away from the edge it sits on until it covers none of keepClear.
void moveInwardPast(SDL_Rect& box, bool fromTop, const std::vector<SDL_Rect>& keepClear) {
    // Each move clears one area for good, so as many passes as areas suffice.
    for (std::size_t pass = 0; pass <= keepClear.size(); ++pass) {
        bool moved = false;
        for (const SDL_Rect& area : keepClear) {
            if (!SDL_HasIntersection(&box, &area)) continue;
            box.y = fromTop ? area.y + area.h + ROBOT_ARROW_MARGIN : area.y - ROBOT_ARROW_MARGIN - box.h;
            moved = true;
        }
        if (!moved) return;
    }
}

}  // namespace

std::optional<RobotArrow> arrowFor(const SDL_Rect& body, const std::vector<SDL_Rect>& keepClear) {
    const bool above = body.y + body.h <= 0;
    const bool below = body.y >= WINDOW_HEIGHT;
    if (!above && !below) return std::nullopt;

    const int centre = body.x + body.w / 2;
    const int x = std::clamp(centre - ROBOT_ARROW_SIDE / 2, ROBOT_ARROW_MARGIN,
                             WINDOW_WIDTH - ROBOT_ARROW_MARGIN - ROBOT_ARROW_SIDE);
    const int y = above ? ROBOT_ARROW_MARGIN : WINDOW_HEIGHT - ROBOT_ARROW_MARGIN - ROBOT_ARROW_SIDE;
    RobotArrow arrow{{x, y, ROBOT_ARROW_SIDE, ROBOT_ARROW_SIDE}, above};
    moveInwardPast(arrow.box, above, keepClear);
    return arrow;
}

void drawRobotArrow(SDL_Renderer* target, const RobotArrow& arrow) {
    // One fill call per colour: each row's runs of that colour as rectangles.
    std::array<SDL_Rect, ARROW_CELLS * ARROW_CELLS> runs{};
    for (const Ink& ink : INKS) {
        int count = 0;
        for (int row = 0; row < ARROW_CELLS; ++row) {
            const char* cells = ARROW_DOWN[static_cast<std::size_t>(row)];
            const int drawnRow = arrow.pointsUp ? ARROW_CELLS - 1 - row : row;
            for (int column = 0; column < ARROW_CELLS;) {
                if (cells[column] != ink.key) {
                    ++column;
                    continue;
                }
                const int start = column;
                while (column < ARROW_CELLS && cells[column] == ink.key) ++column;
                runs[static_cast<std::size_t>(count++)] = {arrow.box.x + start * ROBOT_ARROW_CELL,
                                                           arrow.box.y + drawnRow * ROBOT_ARROW_CELL,
                                                           (column - start) * ROBOT_ARROW_CELL, ROBOT_ARROW_CELL};
            }
        }
        SDL_SetRenderDrawColor(target, ink.colour.r, ink.colour.g, ink.colour.b, ink.colour.a);
        SDL_RenderFillRects(target, runs.data(), count);
    }
}

namespace {
// The arrow painted once: pointing down on the left half, up on the right.
SDL_Texture* arrowPictures = nullptr;
}  // namespace

void makeRobotArrowPictures(SDL_Renderer* target) {
    releaseRobotArrowPictures();
    SDL_Surface* canvas =
        SDL_CreateRGBSurfaceWithFormat(0, 2 * ROBOT_ARROW_SIDE, ROBOT_ARROW_SIDE, 32, SDL_PIXELFORMAT_RGBA32);
    SDL_Renderer* painter = canvas != nullptr ? SDL_CreateSoftwareRenderer(canvas) : nullptr;
    if (painter != nullptr) {
        for (const bool up : {false, true}) {
            drawRobotArrow(painter, {{up ? ROBOT_ARROW_SIDE : 0, 0, ROBOT_ARROW_SIDE, ROBOT_ARROW_SIDE}, up});
        }
        SDL_RenderPresent(painter);
        SDL_DestroyRenderer(painter);
        arrowPictures = SDL_CreateTextureFromSurface(target, canvas);
        // Sharp when the window scales the picture, with no bleed between the halves.
        if (arrowPictures != nullptr) SDL_SetTextureScaleMode(arrowPictures, SDL_ScaleModeNearest);
    }
    SDL_FreeSurface(canvas);
    // Without the picture the arrows are painted cell by cell, and look the same.
    if (arrowPictures == nullptr) SDL_Log("Could not make the robot arrows' picture: %s", SDL_GetError());
}

void releaseRobotArrowPictures() {
    if (arrowPictures != nullptr) SDL_DestroyTexture(arrowPictures);
    arrowPictures = nullptr;
}

void keepOneArrowPerPlace(std::vector<RobotArrow>& arrows) {
    // Along each edge, from left to right, an arrow that would overlap the
    // last one kept there goes: two arrows a few pixels apart read as a
    // smudge, not as two robots, and robots above one another share a place.
    std::sort(arrows.begin(), arrows.end(), [](const RobotArrow& a, const RobotArrow& b) {
        return std::tie(a.pointsUp, a.box.y, a.box.x) < std::tie(b.pointsUp, b.box.y, b.box.x);
    });
    auto kept = arrows.begin();
    for (auto arrow = arrows.begin(); arrow != arrows.end(); ++arrow) {
        if (arrow != arrows.begin()) {
            const RobotArrow& last = *std::prev(kept);
            if (last.pointsUp == arrow->pointsUp && SDL_HasIntersection(&last.box, &arrow->box)) continue;
        }
        *kept++ = *arrow;
    }
    arrows.erase(kept, arrows.end());
}

void drawRobotArrows(SDL_Renderer* target, std::vector<RobotArrow>& arrows) {
    keepOneArrowPerPlace(arrows);
    // A graphics card's renderer gets every arrow from the one picture in a
    // single call, two triangles each; the software renderer, whose triangles
    // sample a texel off at some cell edges and whose copies cost no call of
    // their own, copies each arrow.
    const bool software = drawsInSoftware(target);
    static std::vector<SDL_Vertex> corners;
    corners.clear();
    for (const RobotArrow& arrow : arrows) {
        if (arrowPictures == nullptr) {
            drawRobotArrow(target, arrow);
            continue;
        }
        if (software) {
            const SDL_Rect half{arrow.pointsUp ? ROBOT_ARROW_SIDE : 0, 0, ROBOT_ARROW_SIDE, ROBOT_ARROW_SIDE};
            SDL_RenderCopy(target, arrowPictures, &half, &arrow.box);
            continue;
        }
        appendQuad(corners,
                   {static_cast<float>(arrow.box.x), static_cast<float>(arrow.box.y),
                    static_cast<float>(arrow.box.w), static_cast<float>(arrow.box.h)},
                   {arrow.pointsUp ? 0.5f : 0.0f, 0.0f, 0.5f, 1.0f});
    }
    if (!corners.empty()) {
        SDL_RenderGeometry(target, arrowPictures, corners.data(), static_cast<int>(corners.size()), nullptr, 0);
    }
}
