#pragma once

#include <SDL.h>

#include "platform/State.h"

class Player;

// Process-wide objects of the game. They live for the whole process.
extern SDL_Window* gameWindow;
extern SDL_Renderer* gameRenderer;
extern SDL_GameController* controller;
// While true, robots do not move (teleport aiming, a developer key).
extern bool pauseEnemy;
// The one hero, set once at start-up.
extern Player* zorbiPointer;
// The whole window: the dimming overlay behind menus.
extern SDL_Rect fullScreenRect;
extern State state;

// Media libraries, window, renderer, controller and audio. False stops the
// game. The window opens fullscreen when asked (the setting, or the command
// line for one run); the mixer takes the volumes of state.settings.
bool init(bool fullscreen);
bool init();
// Has the renderers made from now on queue their drawing calls and hand them
// to the driver together, consecutive draws of one kind joined into one.
void requestRenderBatching();
// True when SDL fell back to a video driver that shows nothing (offscreen,
// dummy) without being asked for it: a game started where there is no display.
bool runsInvisibly(const char* driver, const char* requested);
// Opens the most recently attached controller (closing one opened before) and
// loads the extra controller mappings.
void loadController();
// Closes the open controller if it is the one that was unplugged.
void controllerRemoved(SDL_JoystickID which);
// Shuts everything down that init opened, in reverse order.
void close();

// Sets the mixer's volumes from the settings: the music's (streamed, on no
// channel) and the effects' on every channel. Nothing without a sound device.
void applyVolumes(const Settings& settings);
// The picture the window carries as its icon, in the texture folder.
inline constexpr const char* WINDOW_ICON = "icon.png";

// The refresh rate of the window's display, DEFAULT_REFRESH_RATE when unknown.
const int DEFAULT_REFRESH_RATE = 60;
int refreshRate();
// Shows the frame drawn. When presenting did not wait for the display (no
// vsync, a minimised window), waits out the rest of the display's refresh
// period, so that no screen spins a core.
void presentFrame();
// How long to wait (in counter ticks) after a frame that came sinceLastFrame
// after the one before, for a refresh period of period: nothing when
// presenting itself waited for the display.
Uint64 framePause(Uint64 sinceLastFrame, Uint64 period);

// Gives the window the game's icon; a missing picture is logged and leaves the default.
void setWindowIcon(SDL_Window* window);
// Desktop fullscreen on or off (F11, Alt+Enter, the Settings screen): the
// player's choice, kept as the fullscreen setting and saved.
void toggleFullscreen();
// Whether the window fills the screen now.
bool isFullscreen();
// True for the keys that switch fullscreen.
bool isFullscreenToggle(const SDL_KeyboardEvent& key);
// A point in window pixels to the 1200 x 720 design the game draws in,
// whatever the window's size (the pointer's place for menu buttons).
void windowToDesign(int& x, int& y);

// Vibration strengths the game uses.
const Uint16 RUMBLE_STRONG = 0xBFFF;
const Uint16 RUMBLE_LIGHT = 0x7FFF;

// Vibrates both motors of the open controller; without one, or with the
// vibration setting off, nothing happens.
void vibrate(Uint16 strength, Uint32 milliseconds);

// The open controller's axis and button; 0 and false without a controller.
Sint16 controllerAxis(SDL_GameControllerAxis which);
bool controllerButtonDown(SDL_GameControllerButton which);
// Which way an axis is pushed past the dead zone: -1, 0 or 1. The zone's
// bounds count as inside it.
int stickDirection(Sint16 value);
