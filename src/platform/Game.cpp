#include "platform/Game.h"

#include <SDL_image.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

#include <cstdio>

#include "platform/Limiter.h"
#include "platform/Picture.h"
#include "platform/Resources.h"

SDL_Window* gameWindow = nullptr;
SDL_Renderer* gameRenderer = nullptr;
SDL_GameController* controller = nullptr;
bool pauseEnemy = false;
Player* zorbiPointer = nullptr;
SDL_Rect fullScreenRect{0, 0, WINDOW_WIDTH, WINDOW_HEIGHT};
State state;

bool init() { return init(state.settings.fullscreen); }

bool init(bool fullscreen) {
    if (SDL_Init(SDL_INIT_AUDIO | SDL_INIT_VIDEO | SDL_INIT_JOYSTICK | SDL_INIT_HAPTIC | SDL_INIT_GAMECONTROLLER) < 0) {
        SDL_Log("SDL could not initialize! SDL Error: %s\n", SDL_GetError());
        return false;
    }
    const char* driver = SDL_GetCurrentVideoDriver();
    if (runsInvisibly(driver, SDL_getenv("SDL_VIDEODRIVER"))) {
        SDL_Log("No display to show the game on: SDL found none and fell back to its \"%s\" video driver, "
                "which shows nothing. Start the game in a desktop session, or on a machine without a screen "
                "in a virtual display: xvfb-run -a zelvane",
                driver);
        return false;
    }
    if (TTF_Init() == -1) {
        SDL_Log("TTF could not initialize! SDL Error: %s\n", TTF_GetError());
        return false;
    }

    // Names the folder every picture, sound and level of this run comes from.
    resourceFolder();

    bool success = true;
    const Uint32 shape = fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0;
    // Hidden until the renderer is made: making an OpenGL renderer (or falling
    // back from one) may replace the window, and the desktop should only ever
    // see the window that stays.
    gameWindow = SDL_CreateWindow("Zelvane 0.4", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, WINDOW_WIDTH,
                                  WINDOW_HEIGHT, SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | shape);
    if (gameWindow == nullptr) {
        SDL_Log("Window could not be created! SDL Error: %s\n", SDL_GetError());
        success = false;
    } else {
        setWindowIcon(gameWindow);
        requestRenderBatching();
        gameRenderer = SDL_CreateRenderer(gameWindow, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
        if (gameRenderer == nullptr) {
            SDL_Log("Game renderer could not be created! SDL ERROR: %s\n", SDL_GetError());
            success = false;
        } else {
            // Every position stays in the 1200 x 720 design; a window of another
            // shape shows it scaled, with bars at the sides or above and below.
            SDL_RenderSetLogicalSize(gameRenderer, WINDOW_WIDTH, WINDOW_HEIGHT);
            SDL_ShowWindow(gameWindow);
        }
    }

    loadController();

    // Without a sound device the game still plays, silently: every sound then
    // reports that it could not load and plays nothing.
    if (Mix_OpenAudio(44100, MIXER_FORMAT, 2, 2048) < 0) {
        SDL_Log("SDL_mixer could not initialize! SDL_mixer Error: %s", Mix_GetError());
        std::fflush(stdout);
    } else {
        applyVolumes(state.settings);
        limitMixerOutput();
    }
    return success;
}

namespace {

// When the previous frame ended, on the performance counter; 0 before the first.
Uint64 lastFrameEnd = 0;

}  // namespace

void requestRenderBatching() {
    // SDL batches only for a renderer it picks itself: with a driver named in
    // SDL_RENDER_DRIVER every drawing call would reach the driver on its own.
    // The game makes no graphics calls of its own that batching could upset.
    SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
}

int refreshRate() {
    SDL_DisplayMode mode;
    const int display = gameWindow != nullptr ? SDL_GetWindowDisplayIndex(gameWindow) : 0;
    if (display < 0 || SDL_GetCurrentDisplayMode(display, &mode) != 0 || mode.refresh_rate <= 0) {
        return DEFAULT_REFRESH_RATE;
    }
    return mode.refresh_rate;
}

Uint64 framePause(Uint64 sinceLastFrame, Uint64 period) {
    // Presenting in sync with the display takes most of a period by itself.
    if (sinceLastFrame >= period / 2) return 0;
    return period - sinceLastFrame;
}

void presentFrame() {
    SDL_RenderPresent(gameRenderer);
    // Only the window's own frames are paced: a canvas of a test or a bot runs free.
    if (gameWindow == nullptr || SDL_GetRenderer(gameWindow) != gameRenderer) return;
    const Uint64 frequency = SDL_GetPerformanceFrequency();
    const Uint64 period = frequency / static_cast<Uint64>(refreshRate());
    const Uint64 now = SDL_GetPerformanceCounter();
    const Uint64 pause = lastFrameEnd != 0 ? framePause(now - lastFrameEnd, period) : 0;
    const Uint32 milliseconds = static_cast<Uint32>(pause * 1000 / frequency);
    if (milliseconds > 0) SDL_Delay(milliseconds);
    lastFrameEnd = SDL_GetPerformanceCounter();
}

bool runsInvisibly(const char* driver, const char* requested) {
    if (driver == nullptr) return false;
    const bool showsNothing = SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0;
    // Whoever names a driver gets it, visible or not (tests, benchmarks, servers).
    return showsNothing && (requested == nullptr || *requested == '\0');
}

void setWindowIcon(SDL_Window* window) {
    std::string error;
    SDL_Surface* icon = loadPicture(texturePath(WINDOW_ICON), error);
    if (icon == nullptr) {
        SDL_Log("Unable to load image %s! SDL_image Error: %s\n", WINDOW_ICON, error.c_str());
        SDL_Log("Could not load window icon!");
        return;
    }
    SDL_SetWindowIcon(window, icon);
    SDL_FreeSurface(icon);
}

void applyVolumes(const Settings& settings) {
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    if (Mix_QuerySpec(&frequency, &format, &channels) == 0) return;
    Mix_Volume(-1, mixerVolume(settings.effectsVolume));
    Mix_VolumeMusic(mixerVolume(settings.musicVolume));
}

bool isFullscreen() {
    // Without a window (a test's canvas, a bot) the setting is all there is.
    if (gameWindow == nullptr) return state.settings.fullscreen;
    return (SDL_GetWindowFlags(gameWindow) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0;
}

void toggleFullscreen() {
    const bool fullscreen = isFullscreen();
    if (gameWindow != nullptr && SDL_SetWindowFullscreen(gameWindow, fullscreen ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP) < 0) {
        SDL_Log("Could not switch fullscreen %s! SDL Error: %s", fullscreen ? "off" : "on", SDL_GetError());
        return;
    }
    // What the window shows now is the player's choice, for the next start too.
    state.settings.fullscreen = !fullscreen;
    saveSettings(state.settings);
}

bool isFullscreenToggle(const SDL_KeyboardEvent& key) {
    if (key.keysym.sym == SDLK_F11) return true;
    const bool enter = key.keysym.sym == SDLK_RETURN || key.keysym.sym == SDLK_KP_ENTER;
    return enter && (key.keysym.mod & KMOD_ALT) != 0;
}

void windowToDesign(int& x, int& y) {
    if (gameRenderer == nullptr) return;
    float logicalX = 0;
    float logicalY = 0;
    SDL_RenderWindowToLogical(gameRenderer, x, y, &logicalX, &logicalY);
    x = static_cast<int>(logicalX);
    y = static_cast<int>(logicalY);
}

void loadController() {
    // Opening the same device twice only adds a reference; drop ours first so
    // that every handle opened is closed again.
    if (controller != nullptr) {
        SDL_GameControllerClose(controller);
        controller = nullptr;
    }
    controller = SDL_GameControllerOpen(SDL_NumJoysticks() - 1);
    if (controller != nullptr) {
        // Opened here: for a file that cannot be opened the library itself
        // reports only "Invalid RWops", which does not say what is wrong. A
        // file larger than any mapping list is refused before SDL reads it all.
        // Told once a run, however often a pad is plugged in.
        const std::string mappingFile = mappingPath();
        const std::string failed = std::string("Could not load controller mappings from ").append(mappingFile).append(": ");
        SDL_RWops* mappings = SDL_RWFromFile(mappingFile.c_str(), "rb");
        const Sint64 size = mappings != nullptr ? SDL_RWsize(mappings) : -1;
        if (mappings == nullptr) {
            const std::string reason = unreadableReason(mappingFile);
            logOnce(std::string(failed).append(reason.empty() ? SDL_GetError() : reason));
        } else if (size > MAX_MAPPING_BYTES) {
            SDL_RWclose(mappings);
            logOnce(std::string(failed)
                        .append("the file is ")
                        .append(std::to_string(size))
                        .append(" bytes, more than 1 MB (")
                        .append(std::to_string(MAX_MAPPING_BYTES))
                        .append(" bytes)"));
        } else if (SDL_GameControllerAddMappingsFromRW(mappings, 1) < 0) {
            logOnce(std::string(failed).append(SDL_GetError()));
        }
        state.controller = true;
    } else {
        state.controller = false;
    }
}

void controllerRemoved(SDL_JoystickID which) {
    if (controller == nullptr) return;
    SDL_Joystick* joystick = SDL_GameControllerGetJoystick(controller);
    if (joystick != nullptr && SDL_JoystickInstanceID(joystick) != which) return;
    SDL_GameControllerClose(controller);
    controller = nullptr;
    state.controller = false;
}

void close() {
    SDL_DestroyRenderer(gameRenderer);
    gameRenderer = nullptr;
    if (controller != nullptr) SDL_GameControllerClose(controller);
    controller = nullptr;
    SDL_DestroyWindow(gameWindow);
    gameWindow = nullptr;
    // Whoever owns a Music or a Sound has freed it by now: the device goes last.
    Mix_CloseAudio();
    Mix_Quit();
    IMG_Quit();
    SDL_Quit();
    TTF_Quit();
}

void vibrate(Uint16 strength, Uint32 milliseconds) {
    if (controller != nullptr && state.settings.vibration) {
        SDL_GameControllerRumble(controller, strength, strength, milliseconds);
    }
}

Sint16 controllerAxis(SDL_GameControllerAxis which) {
    return controller != nullptr ? SDL_GameControllerGetAxis(controller, which) : 0;
}

bool controllerButtonDown(SDL_GameControllerButton which) {
    return controller != nullptr && SDL_GameControllerGetButton(controller, which) == 1;
}

int stickDirection(Sint16 value) {
    if (value > JOYSTICK_DEAD_ZONE) return 1;
    return value < -JOYSTICK_DEAD_ZONE ? -1 : 0;
}
