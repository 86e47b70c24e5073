#pragma once

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "Game.h"
#include "Texture.h"

// A 1200 x 720 software canvas that stands in for the game's renderer while it
// lives, so drawing can be checked pixel by pixel.
class Canvas {
public:
    explicit Canvas(int w = 1200, int h = 720) {
        surface = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_RGBA8888);
        renderer = SDL_CreateSoftwareRenderer(surface);
        SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
        previous = gameRenderer;
        gameRenderer = renderer;
        clear(0, 0, 0);
    }
    ~Canvas() {
        gameRenderer = previous;
        SDL_DestroyRenderer(renderer);
        SDL_FreeSurface(surface);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    void clear(Uint8 r, Uint8 g, Uint8 b) {
        SDL_SetRenderDrawColor(renderer, r, g, b, 255);
        SDL_RenderClear(renderer);
    }

    SDL_Color pixel(int x, int y) const {
        SDL_RenderFlush(renderer);
        const Uint32 value = static_cast<Uint32*>(surface->pixels)[y * (surface->pitch / 4) + x];
        SDL_Color c;
        SDL_GetRGBA(value, surface->format, &c.r, &c.g, &c.b, &c.a);
        return c;
    }

    SDL_Renderer* renderer = nullptr;
    SDL_Surface* surface = nullptr;

private:
    SDL_Renderer* previous = nullptr;
};

inline bool sameColour(SDL_Color c, int r, int g, int b, int tolerance = 2) {
    return std::abs(c.r - r) <= tolerance && std::abs(c.g - g) <= tolerance && std::abs(c.b - b) <= tolerance;
}

// Collects what the game writes to SDL's log while it lives.
class LogCapture {
public:
    LogCapture() {
        // What a capture checks is told as in a run of its own, whatever ran before.
        forgetLoggedOnce();
        SDL_LogGetOutputFunction(&previousFunction, &previousData);
        SDL_LogSetOutputFunction(&LogCapture::collect, this);
    }
    ~LogCapture() { SDL_LogSetOutputFunction(previousFunction, previousData); }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    bool contains(const std::string& fragment) const {
        for (const std::string& line : lines)
            if (line.find(fragment) != std::string::npos) return true;
        return false;
    }
    int count(const std::string& fragment) const {
        int n = 0;
        for (const std::string& line : lines) n += line.find(fragment) != std::string::npos ? 1 : 0;
        return n;
    }

    std::vector<std::string> lines;

private:
    static void collect(void* self, int, SDL_LogPriority, const char* message) {
        static_cast<LogCapture*>(self)->lines.emplace_back(message);
    }
    SDL_LogOutputFunction previousFunction = nullptr;
    void* previousData = nullptr;
};

// A file a test writes among the game's resources (a picture must lie in the
// texture folder to be loaded); removed when the test is done, so that the
// folder keeps only the game's own files.
class ScratchFile {
public:
    explicit ScratchFile(std::string path) : path(std::move(path)) {}
    ~ScratchFile() { std::remove(path.c_str()); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

private:
    std::string path;
};

// Path of a level fixture kept with the tests.
inline std::string fixture(const std::string& name) { return std::string(ZELVANE_FIXTURES) + "/" + name; }

// A game controller plugged in for a test: a virtual joystick of controller
// type whose rumble requests are recorded. Opened as the game's controller.
class VirtualPad {
public:
    struct Rumble {
        Uint16 low;
        Uint16 high;
        Uint32 tick;
    };

    VirtualPad() {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "Test Pad";
        desc.userdata = this;
        desc.Rumble = &VirtualPad::record;
        desc.Update = &VirtualPad::read;
        index = SDL_JoystickAttachVirtualEx(&desc);
        loadController();
        joystick = controller != nullptr ? SDL_GameControllerGetJoystick(controller) : nullptr;
        settle();
    }
    ~VirtualPad() {
        if (controller != nullptr) {
            SDL_GameControllerClose(controller);
            controller = nullptr;
        }
        state.controller = false;
        SDL_JoystickDetachVirtual(index);
        settle();
    }
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    bool ok() const { return joystick != nullptr; }

    // Sets an axis (for a trigger, v reads back as (v + 32768) / 2) and lets
    // the event reach the queue.
    void axis(SDL_GameControllerAxis which, Sint16 value) {
        SDL_JoystickSetVirtualAxis(joystick, which, value);
        SDL_JoystickUpdate();
    }
    void button(SDL_GameControllerButton which, bool down) {
        SDL_JoystickSetVirtualButton(joystick, which, down ? 1 : 0);
        SDL_JoystickUpdate();
    }

    // Waits until the motors are switched off again; returns how long the last
    // vibration lasted in milliseconds (0 when none was running).
    Uint32 vibrationLength(Uint32 timeout = 2000) {
        if (rumbles.empty() || (rumbles.back().low == 0 && rumbles.back().high == 0)) return 0;
        const Uint32 started = rumbles.back().tick;
        const Uint32 deadline = SDL_GetTicks() + timeout;
        while (SDL_GetTicks() < deadline) {
            SDL_JoystickUpdate();
            if (rumbles.back().low == 0 && rumbles.back().high == 0) return rumbles.back().tick - started;
            SDL_Delay(1);
        }
        return timeout;
    }

    // The vibrations asked for, without the requests that stop the motors.
    std::vector<Rumble> vibrations() const {
        std::vector<Rumble> started;
        for (const Rumble& r : rumbles)
            if (r.low != 0 || r.high != 0) started.push_back(r);
        return started;
    }

    static void settle() {
        SDL_JoystickUpdate();
        SDL_PumpEvents();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    }

    std::vector<Rumble> rumbles;
    int index = -1;
    SDL_Joystick* joystick = nullptr;
    // Called each time SDL reads the pad: once per pass of an event loop, as
    // every pass pumps the events once. A loop the test cannot step through
    // (the shop) is played a script this way, one change per pass. It may set
    // the pad with SDL_JoystickSetVirtualAxis/Button, but not call axis() or button().
    std::function<void()> onRead;

private:
    static void read(void* self) {
        VirtualPad* pad = static_cast<VirtualPad*>(self);
        if (pad->onRead) pad->onRead();
    }
    static int record(void* self, Uint16 low, Uint16 high) {
        static_cast<VirtualPad*>(self)->rumbles.push_back({low, high, SDL_GetTicks()});
        return 0;
    }
};

// Pushes a key press or release into the event queue.
inline void pushKey(SDL_Keycode key, bool down) {
    SDL_Event event;
    SDL_zero(event);
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    SDL_PushEvent(&event);
}
