#pragma once

// The Settings screen: one row per setting with its value beside it, then
// "Reset to defaults" and "Back". Opened from the main menu and from the pause
// menu, it returns to where it was opened from. Every change is applied at
// once (heard, felt or seen) and saved.

#include <SDL.h>

#include "platform/State.h"
#include "ui/Menus.h"

// The rows of the screen, top to bottom; the menu's buttons in the same order.
enum SettingRow : int {
    musicRow = 0,
    effectsRow = 1,
    fullscreenRow = 2,
    vibrationRow = 3,
    shakeRow = 4,
    hintsRow = 5,
    controlsRow = CONTROLS_SETTING_ROW,
    resetRow = 7,
    backRow = 8,
};
// Rows that hold a value, from musicRow.
constexpr int SETTING_ROWS = 6;
constexpr int SETTINGS_BUTTONS = backRow + 1;

// Size and place of the rows, in design pixels.
constexpr int SETTINGS_ROW_WIDTH = UI_Button::settingsRowWidth;
constexpr int SETTINGS_ROW_HEIGHT = UI_Button::settingsRowHeight;
SDL_Rect settingsRowRect(int row);
// The arrows either side of a row's value: the left one steps it down, the right one up.
SDL_Rect settingsArrowRect(int row, int direction);

// The row's value as the screen shows it: "60 %", "On", "Off", "Low", "Full".
std::string settingValueText(const State& state, int row);

// Changes the row's setting: direction -1 and 1 step a volume or the shake
// down or up (stopping at either end) and switch On / Off; 0 steps it as a
// click does (a volume up, from 100 % back to 0; the shake round Off, Low, Full). Applies the change, saves the settings
// and plays the click at the effects' volume when asked to (a click plays its
// own). False when nothing changed.
bool changeSetting(State& state, int row, int direction, bool click);

// Button actions: open the screen (from the main menu or the pause menu),
// step the row in attribute, every setting back to its default, and back to
// where the screen was opened from.
void openSettings(State& state, int, int);
void stepSetting(State& state, int row, int);
void resetSettings(State& state, int, int);
void closeSettings(State& state, int, int);

// What only the Settings screen does with an event: Left and Right (and the
// stick sideways) change the highlighted row's value, Escape and B go back, a
// press on an arrow steps the value its way. True when the event was one of these.
bool handleSettingsEvent(State& state, const SDL_Event& event);

// Builds the screen (from initMenus) and releases its textures (releaseMenus).
void initSettingsMenu(State& state);
void releaseSettingsMenu();
// Draws the title, the labels, the values and their arrows over the rows.
void renderSettings(const State& state);
