#pragma once

// The game is authored in an 800 x 480 design space and drawn 1.5 times larger.
constexpr double SCALE_FACTOR = 1.5;

// Converts an authored length to window pixels, truncating toward zero.
constexpr int scale(double toScale) { return static_cast<int>(SCALE_FACTOR * toScale); }

const int TILE_SIZE = 80;
const int JOYSTICK_DEAD_ZONE = 18000;
const int WINDOW_WIDTH = scale(800);
const int WINDOW_HEIGHT = scale(480);
const int TILE_SIZE_SCALED = scale(TILE_SIZE);
// Gravity in pixels per second squared.
const float ACCELERATION = static_cast<float>(scale(5000));
