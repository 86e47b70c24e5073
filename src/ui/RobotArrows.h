#pragma once

#include <SDL.h>

#include <optional>
#include <vector>

#include "platform/GlobalConstants.h"

// Arrows that show where the wave's robots are when they are out of view: a
// small pixel-art arrow at the top or bottom edge of the window, at the
// robot's x, pointing up or down toward it. One per robot, robots close
// together sharing one; never over the heads-up display.

// The arrow is a 9 x 9 pixel map whose pixels are drawn as squares of this side.
constexpr int ROBOT_ARROW_CELL = scale(3);
constexpr int ROBOT_ARROW_SIDE = 9 * ROBOT_ARROW_CELL;
// Room left between an arrow and the window edge or what it keeps clear of.
constexpr int ROBOT_ARROW_MARGIN = scale(4);

struct RobotArrow {
    SDL_Rect box;   // where the pixel map is drawn, in window coordinates
    bool pointsUp;  // the robot is above the window
};

// The arrow for a robot's body (window coordinates), none while any row of it
// is inside the window. It sits at its edge, centred on the body and kept
// inside the window sideways, then moved inward past every area of keepClear
// it would cover.
std::optional<RobotArrow> arrowFor(const SDL_Rect& body, const std::vector<SDL_Rect>& keepClear);

// Paints one arrow with the given renderer, cell by cell.
void drawRobotArrow(SDL_Renderer* renderer, const RobotArrow& arrow);

// The arrow's pictures, painted once for the game's renderer (with the
// heads-up display's textures) so that a frame copies one picture per arrow;
// without them arrows are painted.
void makeRobotArrowPictures(SDL_Renderer* renderer);
void releaseRobotArrowPictures();
// Leaves one arrow per place: of arrows at one edge that would overlap, the
// leftmost (robots close together share an arrow). Reorders the rest.
void keepOneArrowPerPlace(std::vector<RobotArrow>& arrows);
// Draws the arrows, one per place (see keepOneArrowPerPlace): from the pictures when made.
void drawRobotArrows(SDL_Renderer* renderer, std::vector<RobotArrow>& arrows);
