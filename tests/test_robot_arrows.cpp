#include <gtest/gtest.h>

#include <vector>

#include "TestSupport.h"
#include "ui/Hud.h"
#include "ui/RobotArrows.h"

namespace {
const std::vector<SDL_Rect> NOTHING_TO_CLEAR;

bool clearOf(const SDL_Rect& box, const std::vector<SDL_Rect>& areas) {
    for (const SDL_Rect& area : areas)
        if (SDL_HasIntersection(&box, &area)) return false;
    return true;
}
}  // namespace

TEST(RobotArrows, OnlyRobotsWhollyAboveOrBelowTheWindowGetOne) {
    const std::optional<RobotArrow> below = arrowFor({600, WINDOW_HEIGHT + 300, 36, 75}, NOTHING_TO_CLEAR);
    ASSERT_TRUE(below.has_value());
    EXPECT_FALSE(below->pointsUp);
    EXPECT_EQ(below->box.x + below->box.w / 2, 600 + 18);  // at the robot's x
    EXPECT_EQ(below->box.y + below->box.h, WINDOW_HEIGHT - ROBOT_ARROW_MARGIN);

    const std::optional<RobotArrow> above = arrowFor({200, -2000, 36, 75}, NOTHING_TO_CLEAR);
    ASSERT_TRUE(above.has_value());
    EXPECT_TRUE(above->pointsUp);
    EXPECT_EQ(above->box.y, ROBOT_ARROW_MARGIN);

    // In view, or with a single row of it inside the window: none.
    EXPECT_FALSE(arrowFor({600, 300, 36, 75}, NOTHING_TO_CLEAR).has_value());
    EXPECT_FALSE(arrowFor({600, WINDOW_HEIGHT - 1, 36, 75}, NOTHING_TO_CLEAR).has_value());
    EXPECT_FALSE(arrowFor({600, -74, 36, 75}, NOTHING_TO_CLEAR).has_value());
    EXPECT_TRUE(arrowFor({600, WINDOW_HEIGHT, 36, 75}, NOTHING_TO_CLEAR).has_value());
    EXPECT_TRUE(arrowFor({600, -75, 36, 75}, NOTHING_TO_CLEAR).has_value());
}

TEST(RobotArrows, StayInsideTheWindowForRobotsAtItsSides) {
    const SDL_Rect window{0, 0, WINDOW_WIDTH, WINDOW_HEIGHT};
    for (const int x : {-500, -36, 0, WINDOW_WIDTH - 10, WINDOW_WIDTH + 400}) {
        const std::optional<RobotArrow> arrow = arrowFor({x, WINDOW_HEIGHT + 50, 36, 75}, NOTHING_TO_CLEAR);
        ASSERT_TRUE(arrow.has_value()) << x;
        SDL_Rect inside{};
        ASSERT_TRUE(SDL_IntersectRect(&arrow->box, &window, &inside)) << x;
        EXPECT_TRUE(SDL_RectEquals(&inside, &arrow->box)) << x;
    }
}

TEST(RobotArrows, MoveInwardPastEveryAreaTheyWouldCover) {
    // A bar at the bottom edge with a text sitting just above it: the arrow
    // lifted over the bar would land on the text, and must clear both.
    const std::vector<SDL_Rect> bottom{{500, WINDOW_HEIGHT - 40, 200, 40}, {560, WINDOW_HEIGHT - 80, 80, 36}};
    const std::optional<RobotArrow> lifted = arrowFor({590, WINDOW_HEIGHT + 10, 36, 75}, bottom);
    ASSERT_TRUE(lifted.has_value());
    EXPECT_TRUE(clearOf(lifted->box, bottom));
    EXPECT_LT(lifted->box.y + lifted->box.h, WINDOW_HEIGHT - 80);
    EXPECT_GT(lifted->box.y, WINDOW_HEIGHT - 150);  // and no further than it needs

    const std::vector<SDL_Rect> top{{0, 0, 300, 100}};
    const std::optional<RobotArrow> lowered = arrowFor({100, -300, 36, 75}, top);
    ASSERT_TRUE(lowered.has_value());
    EXPECT_TRUE(clearOf(lowered->box, top));
    // Away from the text the arrow keeps to the edge.
    EXPECT_EQ(arrowFor({800, -300, 36, 75}, top)->box.y, ROBOT_ARROW_MARGIN);
}

TEST(RobotArrows, NeverCoverTheHeadsUpBars) {
    initPlayerUI();
    std::vector<SDL_Rect> hud;
    hudAreas(nullptr, false, true, hud);
    ASSERT_FALSE(hud.empty());
    for (int x = -40; x < WINDOW_WIDTH + 40; x += 5) {
        for (const int y : {-400, WINDOW_HEIGHT + 400}) {
            const std::optional<RobotArrow> arrow = arrowFor({x, y, 36, 75}, hud);
            ASSERT_TRUE(arrow.has_value());
            EXPECT_TRUE(clearOf(arrow->box, hud)) << "robot at x " << x << ", y " << y;
        }
    }
}

TEST(RobotArrows, DrawnPointingTowardTheRobot) {
    Canvas canvas;
    const SDL_Rect box{300, 300, ROBOT_ARROW_SIDE, ROBOT_ARROW_SIDE};
    const int cell = ROBOT_ARROW_CELL;
    // The tip: one outline pixel in the middle column of the last row (down) or the first (up).
    const auto tipAt = [&](int row) { return canvas.pixel(box.x + 4 * cell + 1, box.y + row * cell + 1); };
    const auto bodyAt = [&](int row) { return canvas.pixel(box.x + 5 * cell + 1, box.y + row * cell + 1); };

    drawRobotArrow(canvas.renderer, {box, false});
    EXPECT_TRUE(sameColour(tipAt(8), 22, 20, 34));
    EXPECT_TRUE(sameColour(bodyAt(4), 196, 44, 60));
    EXPECT_TRUE(sameColour(canvas.pixel(box.x + 1, box.y + 8 * cell + 1), 0, 0, 0));  // beside the tip: untouched
    EXPECT_TRUE(sameColour(canvas.pixel(box.x + 1, box.y + 3 * cell + 1), 22, 20, 34));

    canvas.clear(0, 0, 0);
    drawRobotArrow(canvas.renderer, {box, true});
    EXPECT_TRUE(sameColour(tipAt(0), 22, 20, 34));
    EXPECT_TRUE(sameColour(bodyAt(4), 196, 44, 60));
    // The barbs' outline reaches the left edge on the row next to the head's widest.
    EXPECT_TRUE(sameColour(canvas.pixel(box.x + 1, box.y + 5 * cell + 1), 22, 20, 34));
    EXPECT_TRUE(sameColour(canvas.pixel(box.x + 1, box.y + 3 * cell + 1), 0, 0, 0));
}

// The pictures made once show exactly the painted arrows, at any place.
TEST(RobotArrows, PicturesShowTheSamePixelsAsThePaintedArrow) {
    Canvas painted;
    Canvas copied;
    std::vector<RobotArrow> arrows{{{300, 300, ROBOT_ARROW_SIDE, ROBOT_ARROW_SIDE}, false},
                                   {{400, 320, ROBOT_ARROW_SIDE, ROBOT_ARROW_SIDE}, true},
                                   {{300, 300, ROBOT_ARROW_SIDE, ROBOT_ARROW_SIDE}, false}};
    for (const RobotArrow& arrow : arrows) drawRobotArrow(painted.renderer, arrow);
    makeRobotArrowPictures(copied.renderer);
    drawRobotArrows(copied.renderer, arrows);
    releaseRobotArrowPictures();
    int differ = 0;
    for (int y = 290; y < 370; ++y)
        for (int x = 290; x < 450; ++x) {
            const SDL_Color c = copied.pixel(x, y);
            differ += sameColour(painted.pixel(x, y), c.r, c.g, c.b, 0) ? 0 : 1;
        }
    EXPECT_EQ(differ, 0);
}

// Arrows that would overlap at one edge are one arrow, the leftmost; the other
// edge and arrows clear of each other keep theirs.
TEST(RobotArrows, RobotsCloseTogetherShareOneArrow) {
    const int side = ROBOT_ARROW_SIDE;
    const auto at = [&](int x, bool up) { return RobotArrow{{x, up ? 6 : 600, side, side}, up}; };
    std::vector<RobotArrow> arrows{at(310, false), at(300, false), at(300, false), at(300 + side - 1, false),
                                   at(300 + side, false), at(305, true)};
    keepOneArrowPerPlace(arrows);
    std::vector<std::pair<int, bool>> kept;
    for (const RobotArrow& arrow : arrows) kept.emplace_back(arrow.box.x, arrow.pointsUp);
    const std::vector<std::pair<int, bool>> expected{{300, false}, {300 + side, false}, {305, true}};
    EXPECT_EQ(kept, expected);
}
