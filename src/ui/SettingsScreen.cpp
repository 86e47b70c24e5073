#include "ui/SettingsScreen.h"

#include <string>

#include <algorithm>

#include "platform/Game.h"
#include "platform/GlobalConstants.h"
#include "ui/ControlHints.h"
#include "ui/Interface.h"
#include "ui/MenuInput.h"
#include "world/Texture.h"

namespace {

const char* const ROW_LABELS[SETTING_ROWS] = {"Music volume", "Effects volume", "Fullscreen",
                                              "Vibration",    "Screen shake",   "Control hints"};
const char* const SHAKE_LABELS[] = {"Off", "Low", "Full"};
// Values stand out from their labels in the logo's warm yellow.
const SDL_Color VALUE_COLOUR{255, 214, 102, 255};

const int ROW_X = (WINDOW_WIDTH - SETTINGS_ROW_WIDTH) / 2;
const int FIRST_ROW_Y = scale(80);
const int ROW_PITCH = SETTINGS_ROW_HEIGHT + 10;
const int SETTINGS_TITLE_Y = scale(20);
const int LABEL_INSET = 28;
// The value is centred here, with an arrow either side.
const int VALUE_CENTRE_X = ROW_X + SETTINGS_ROW_WIDTH - 130;
const int VALUE_HALF_WIDTH = 62;
const int ARROW_WIDTH = 21;
const int ARROW_HEIGHT = 27;
// A press this close to an arrow counts as on it.
const int ARROW_REACH = 8;
// The short buzz that shows the vibration is on again.
const Uint32 VIBRATION_SAMPLE_MS = 200;

Texture settingsTitleText;
Texture labelTexts[SETTING_ROWS];
Texture valueTexts[SETTING_ROWS];
Texture leftArrow;
Texture rightArrow;

bool isSettingRow(int row) { return row >= 0 && row < SETTING_ROWS; }

void renderValue(const State& game, int row) {
    valueTexts[row].setup(renderer);
    valueTexts[row].loadFromRenderedText(settingValueText(game, row), VALUE_COLOUR, counter);
}

void renderValues(const State& game) {
    for (int row = 0; row < SETTING_ROWS; ++row) renderValue(game, row);
}

// A volume one step on: up or down stops at either end, a click wraps around.
int steppedVolume(int volume, int direction) {
    const int step = Settings::VOLUME_STEP;
    if (direction == 0) return volume >= Settings::MAX_VOLUME ? 0 : volume + step;
    const int next = volume + direction * step;
    return next < 0 ? 0 : (next > Settings::MAX_VOLUME ? Settings::MAX_VOLUME : next);
}

bool switched(bool on, int direction) { return direction == 0 ? !on : direction > 0; }

// The shake one step on: up or down stops at either end, a click goes round.
int steppedShake(int shake, int direction) {
    if (direction == 0) return shake >= SHAKE_FULL ? SHAKE_OFF : shake + 1;
    return std::clamp(shake + direction, SHAKE_OFF, SHAKE_FULL);
}

// The row of the current button, or -1 when it is not on this screen.
int currentRow() {
    std::vector<UI_Button>& buttons = settingsMenu.getButtons();
    for (std::size_t i = 0; i < buttons.size(); ++i)
        if (&buttons[i] == currentButton) return static_cast<int>(i);
    return -1;
}

// A press at (x, y) on an arrow of a setting's row: its row and direction.
bool arrowAt(int x, int y, int& row, int& direction) {
    for (int r = 0; r < SETTING_ROWS; ++r) {
        for (int d : {-1, 1}) {
            const SDL_Rect arrow = settingsArrowRect(r, d);
            const SDL_Rect reach{arrow.x - ARROW_REACH, arrow.y - ARROW_REACH, arrow.w + 2 * ARROW_REACH,
                                 arrow.h + 2 * ARROW_REACH};
            const SDL_Point at{x, y};
            if (SDL_PointInRect(&at, &reach)) {
                row = r;
                direction = d;
                return true;
            }
        }
    }
    return false;
}

void addRow(State& game, int row, const std::string& label, ButtonAction action) {
    settingsMenu.addButton(ROW_X, settingsRowRect(row).y, label, &white, counter, row == 0 ? -1 : row - 1, -1, -1,
                           -1, action, game, 4, row, 0);
}

}  // namespace

SDL_Rect settingsRowRect(int row) {
    return {ROW_X, FIRST_ROW_Y + row * ROW_PITCH, SETTINGS_ROW_WIDTH, SETTINGS_ROW_HEIGHT};
}

SDL_Rect settingsArrowRect(int row, int direction) {
    const SDL_Rect line = settingsRowRect(row);
    const int x = direction < 0 ? VALUE_CENTRE_X - VALUE_HALF_WIDTH - ARROW_WIDTH : VALUE_CENTRE_X + VALUE_HALF_WIDTH;
    return {x, line.y + (line.h - ARROW_HEIGHT) / 2, ARROW_WIDTH, ARROW_HEIGHT};
}

std::string settingValueText(const State& game, int row) {
    const Settings& settings = game.settings;
    switch (row) {
    case musicRow:
        return std::to_string(settings.musicVolume) + " %";
    case effectsRow:
        return std::to_string(settings.effectsVolume) + " %";
    case fullscreenRow:
        return isFullscreen() ? "On" : "Off";
    case vibrationRow:
        return settings.vibration ? "On" : "Off";
    case shakeRow:
        return SHAKE_LABELS[std::clamp(settings.screenShake, SHAKE_OFF, SHAKE_FULL)];
    case hintsRow:
        return settings.controlHints ? "On" : "Off";
    default:
        return "";
    }
}

bool changeSetting(State& game, int row, int direction, bool click) {
    Settings& settings = game.settings;
    const Settings before = settings;
    const bool wasFullscreen = isFullscreen();
    switch (row) {
    case musicRow:
        settings.musicVolume = steppedVolume(settings.musicVolume, direction);
        break;
    case effectsRow:
        settings.effectsVolume = steppedVolume(settings.effectsVolume, direction);
        break;
    case fullscreenRow:
        // The window's own switch, as F11's: it records the setting and saves it.
        if (switched(isFullscreen(), direction) != isFullscreen()) toggleFullscreen();
        break;
    case vibrationRow:
        settings.vibration = switched(settings.vibration, direction);
        break;
    case shakeRow:
        settings.screenShake = steppedShake(settings.screenShake, direction);
        break;
    case hintsRow:
        settings.controlHints = switched(settings.controlHints, direction);
        break;
    default:
        return false;
    }
    // The window may fill the screen for this run only (--fullscreen) while
    // the saved setting says otherwise: what changed is what the screen shows.
    if (settings == before && isFullscreen() == wasFullscreen) return false;
    if (row != fullscreenRow) {
        applyVolumes(settings);
        saveSettings(settings);
    }
    if (settings.musicVolume != before.musicVolume) game.musicPreview = true;
    // Felt at once: a short buzz says the pad vibrates again.
    if (settings.vibration && !before.vibration) vibrate(RUMBLE_LIGHT, VIBRATION_SAMPLE_MS);
    renderValue(game, row);
    // Heard at the new effects volume.
    if (click) buttonSound.play();
    return true;
}

void openSettings(State& game, int, int) {
    game.settingsReturn = game.menu == Menu::pause ? Menu::pause : Menu::head;
    game.menu = Menu::settings;
    game.musicPreview = false;
    renderValues(game);
    setCurrentButton(settingsMenu.loadMenu());
}

void stepSetting(State& game, int row, int) { changeSetting(game, row, 0, false); }

void resetSettings(State& game, int, int) {
    const Settings defaults;
    if (isFullscreen() != defaults.fullscreen) toggleFullscreen();
    if (game.settings == defaults) {
        renderValues(game);
        return;
    }
    if (game.settings.musicVolume != defaults.musicVolume) game.musicPreview = true;
    game.settings = defaults;
    applyVolumes(game.settings);
    saveSettings(game.settings);
    renderValues(game);
}

void closeSettings(State& game, int, int) {
    const bool paused = game.settingsReturn == Menu::pause;
    game.musicPreview = false;
    game.menu = paused ? Menu::pause : Menu::head;
    UI_Menu& menu = paused ? pauseMenu : mainMenu;
    const int back = paused ? PAUSE_MENU_SETTINGS_BUTTON : MAIN_MENU_SETTINGS_BUTTON;
    std::vector<UI_Button>& buttons = menu.getButtons();
    setCurrentButton(back < static_cast<int>(buttons.size()) ? &buttons[static_cast<std::size_t>(back)] : nullptr);
}

bool handleSettingsEvent(State& game, const SDL_Event& event) {
    switch (event.type) {
    case SDL_KEYDOWN:
        switch (event.key.keysym.sym) {
        case SDLK_LEFT:
        case SDLK_RIGHT:
            // Nothing highlighted yet: the arrows first pick the first row, as on every menu.
            if (!isSettingRow(currentRow())) return false;
            changeSetting(game, currentRow(), event.key.keysym.sym == SDLK_LEFT ? -1 : 1, true);
            return true;
        case SDLK_ESCAPE:
            closeSettings(game, 0, 0);
            return true;
        default:
            return false;
        }
    case SDL_CONTROLLERBUTTONDOWN:
        if (event.cbutton.button != SDL_CONTROLLER_BUTTON_B || controllerButtonDown(SDL_CONTROLLER_BUTTON_A)) {
            return false;
        }
        closeSettings(game, 0, 0);
        return true;
    case SDL_CONTROLLERAXISMOTION: {
        MENU_CONTROL step = MENU_CONTROL::down;
        if (!menuStickPush(game, true, step)) return true;
        const bool sideways = step == MENU_CONTROL::left || step == MENU_CONTROL::right;
        if (sideways && isSettingRow(currentRow())) {
            changeSetting(game, currentRow(), step == MENU_CONTROL::left ? -1 : 1, true);
        } else if (!sideways) {
            controllerEvent(game, step);
        }
        return true;
    }
    case SDL_MOUSEBUTTONDOWN: {
        int row = 0;
        int direction = 0;
        if (!arrowAt(event.button.x, event.button.y, row, direction)) return false;
        setCurrentButton(&settingsMenu.getButtons()[static_cast<std::size_t>(row)]);
        changeSetting(game, row, direction, true);
        return true;
    }
    default:
        return false;
    }
}

void initSettingsMenu(State& game) {
    settingsMenu.setup(renderer, &buttonSound);
    // The setting rows carry no label of their own: renderSettings puts the
    // label at the left and the value at the right.
    for (int row = 0; row < SETTING_ROWS; ++row) addRow(game, row, " ", stepSetting);
    addRow(game, controlsRow, "Controls", openControls);
    addRow(game, resetRow, "Reset to defaults", resetSettings);
    addRow(game, backRow, "Back", closeSettings);

    settingsTitleText.setup(renderer);
    settingsTitleText.loadFromRenderedText("Settings", white, title);
    settingsMenu.addTitle((WINDOW_WIDTH - settingsTitleText.getWidth()) / 2, SETTINGS_TITLE_Y, settingsTitleText);
    for (int row = 0; row < SETTING_ROWS; ++row) {
        labelTexts[row].setup(renderer);
        labelTexts[row].loadFromRenderedText(ROW_LABELS[row], white, counter);
    }
    leftArrow.setup(ARROW_WIDTH, ARROW_HEIGHT, renderer);
    leftArrow.loadFromFile("arrow-left.png");
    rightArrow.setup(ARROW_WIDTH, ARROW_HEIGHT, renderer);
    rightArrow.loadFromFile("arrow-right.png");
    renderValues(game);
}

void releaseSettingsMenu() {
    settingsTitleText.free();
    for (Texture& text : labelTexts) text.free();
    for (Texture& text : valueTexts) text.free();
    leftArrow.free();
    rightArrow.free();
}

void renderSettings(const State&) {
    for (int row = 0; row < SETTING_ROWS; ++row) {
        const SDL_Rect line = settingsRowRect(row);
        const Texture& label = labelTexts[row];
        label.render(line.x + LABEL_INSET, line.y + (line.h - label.getHeight()) / 2);
        const Texture& value = valueTexts[row];
        value.render(VALUE_CENTRE_X - value.getWidth() / 2, line.y + (line.h - value.getHeight()) / 2);
        const SDL_Rect left = settingsArrowRect(row, -1);
        const SDL_Rect right = settingsArrowRect(row, 1);
        leftArrow.render(left.x, left.y);
        rightArrow.render(right.x, right.y);
    }
}
