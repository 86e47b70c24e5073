#pragma once

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "enemies/Waves.h"
#include "platform/Game.h"
#include "platform/Limiter.h"
#include "platform/Resources.h"
#include "play/World.h"
#include "ui/MenuInput.h"
#include "ui/UI.h"
#include "world/Texture.h"

// --- The media libraries as the game opens them, without a window: the dummy
// video and audio drivers (unless the environment names others) stand in for
// a screen and a sound card.

inline void chooseDummyDrivers() {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
}
inline constexpr Uint32 MEDIA_SUBSYSTEMS =
    SDL_INIT_VIDEO | SDL_INIT_AUDIO | SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER | SDL_INIT_EVENTS;
// True when the (dummy) sound device opened, in the format the game opens it in.
inline bool openAudio() { return Mix_OpenAudio(44100, MIXER_FORMAT, 2, 2048) == 0; }
inline void closeMedia(bool audioOpen) {
    if (audioOpen) Mix_CloseAudio();
    clearImageCache();
    IMG_Quit();
    TTF_Quit();
    SDL_Quit();
}

// A level row of twelve empty cells.
inline const std::string EMPTY_ROW = "-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1\n";

// A sound file as the game's mixer decodes it (a WAV, or the music's Ogg
// Vorbis, whole), as 16-bit mono samples: the left channel of the device's
// float frames, which a 16-bit mono source fills exactly. Empty without a
// sound device or for a file the mixer cannot read.
inline std::vector<Sint16> decodedSamples(const std::string& path) {
    int frequency = 0;
    Uint16 format = 0;
    int channels = 0;
    if (Mix_QuerySpec(&frequency, &format, &channels) == 0 || format != AUDIO_F32SYS) return {};
    Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
    if (chunk == nullptr) return {};
    const float* frames = reinterpret_cast<const float*>(chunk->abuf);
    std::vector<Sint16> samples(chunk->alen / sizeof(float) / static_cast<std::size_t>(channels));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<Sint16>(SDL_lroundf(frames[i * static_cast<std::size_t>(channels)] * 32768.0f));
    }
    Mix_FreeChunk(chunk);
    return samples;
}

// The whole of a file's bytes; empty when it cannot be read.
inline std::string fileBytes(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return "";
    std::string bytes;
    char chunk[4096];
    for (std::size_t n = 0; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) bytes.append(chunk, n);
    std::fclose(file);
    return bytes;
}

// A home of the test's own for the files the game writes: XDG_CONFIG_HOME and
// XDG_DATA_HOME point into a fresh folder while it lives, never at the real
// home, and the folder goes with it.
class ScratchHome {
public:
    ScratchHome() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zelvane-home-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) folder = pattern;
        for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME"}) {
            const char* was = std::getenv(variable);
            previous.emplace_back(variable, was != nullptr ? std::optional<std::string>(was) : std::nullopt);
        }
        setenv("XDG_CONFIG_HOME", (folder + "/config").c_str(), 1);
        setenv("XDG_DATA_HOME", (folder + "/data").c_str(), 1);
    }
    ~ScratchHome() {
        for (const auto& [variable, value] : previous) {
            if (value) {
                setenv(variable.c_str(), value->c_str(), 1);
            } else {
                unsetenv(variable.c_str());
            }
        }
        std::error_code ignored;
        if (!folder.empty()) std::filesystem::remove_all(folder, ignored);
    }
    ScratchHome(const ScratchHome&) = delete;
    ScratchHome& operator=(const ScratchHome&) = delete;

    std::string folder;

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> previous;
};

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
    explicit ScratchFile(std::string file) : path(std::move(file)) {}
    ~ScratchFile() { std::remove(path.c_str()); }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

private:
    std::string path;
};

// A game controller as SDL sees one plugged in: a virtual joystick of
// controller type with all the axes and buttons of a pad.
inline SDL_VirtualJoystickDesc padDescription() {
    SDL_VirtualJoystickDesc desc;
    SDL_zero(desc);
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "Test Pad";
    return desc;
}

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
        SDL_VirtualJoystickDesc desc = padDescription();
        desc.userdata = this;
        desc.Rumble = &VirtualPad::record;
        desc.Update = &VirtualPad::read;
        index = SDL_JoystickAttachVirtualEx(&desc);
        loadController();
        joystick = controller != nullptr ? SDL_GameControllerGetJoystick(controller) : nullptr;
        settle();
    }
    ~VirtualPad() {
        onRead = nullptr;  // a script must not run while the pad goes
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

// A step run each time one of the game's event loops passes: SDL reads every
// open joystick once per pump of its events, and a hidden one (not a game
// controller, so the game never sees it) calls back when read. The way into a
// loop a test cannot step through, such as the shop's, for a test without a pad.
class EveryPass {
public:
    explicit EveryPass(std::function<void()> passStep) {
        SDL_VirtualJoystickDesc desc;
        SDL_zero(desc);
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_THROTTLE;
        desc.name = "Test Pass Counter";
        desc.userdata = this;
        desc.Update = &EveryPass::read;
        index = SDL_JoystickAttachVirtualEx(&desc);
        joystick = SDL_JoystickOpen(index);
        VirtualPad::settle();
        // From the next pass on: settling the new joystick was a pass of its own.
        step = std::move(passStep);
    }
    ~EveryPass() {
        step = nullptr;
        if (joystick != nullptr) SDL_JoystickClose(joystick);
        SDL_JoystickDetachVirtual(index);
        VirtualPad::settle();
    }
    EveryPass(const EveryPass&) = delete;
    EveryPass& operator=(const EveryPass&) = delete;

private:
    static void read(void* self) {
        EveryPass* pass = static_cast<EveryPass*>(self);
        if (pass->step) pass->step();
    }
    std::function<void()> step;
    int index = -1;
    SDL_Joystick* joystick = nullptr;
};

// Whether the screen on show takes presses yet: the shop takes none in its first moments.
inline bool screenListens() { return !state.menuGate.quietAt(SDL_GetTicks()); }

// --- Events put in SDL's queue, as the window system and a pad send them.

// Each event pushed is handed here with whether the queue took it. The unit
// tests make a refused event a failure of the running test (test_main.cpp);
// elsewhere, as in the soak, the program stops with SDL's reason.
inline void (*checkQueued)(bool queued) = [](bool queued) {
    if (queued) return;
    std::fprintf(stderr, "the event queue refused an event: %s\n", SDL_GetError());
    std::exit(1);
};

inline void pushEvent(SDL_Event event) { checkQueued(SDL_PushEvent(&event) == 1); }

// An event of the type with every field zero, to be filled in.
inline SDL_Event eventOf(Uint32 type) {
    SDL_Event event;
    SDL_zero(event);
    event.type = type;
    return event;
}

inline SDL_Event keyEvent(SDL_Keycode key, Uint16 mod = KMOD_NONE, bool down = true) {
    SDL_Event event = eventOf(down ? SDL_KEYDOWN : SDL_KEYUP);
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    event.key.keysym.mod = mod;
    return event;
}

// A key press or release.
inline void pushKey(SDL_Keycode key, bool down) { pushEvent(keyEvent(key, KMOD_NONE, down)); }

// A key pressed and let go again.
inline void pushTap(SDL_Keycode key) {
    pushKey(key, true);
    pushKey(key, false);
}

// Taps a key once, as soon as the shop on show takes presses (its first
// moments take none): Escape for a test that only passes through the shop.
class TapWhenTheShopListens {
public:
    explicit TapWhenTheShopListens(SDL_Keycode key)
        : pass([this, key] {
              if (tapped || !isUpgradeMenu(state.menu) || !screenListens()) return;
              pushTap(key);
              tapped = true;
          }) {}

private:
    bool tapped = false;
    EveryPass pass;
};

// Where the last motion left the pointer: a press happens there.
inline SDL_Point pointer{0, 0};

// The pointer moved to (x, y), in the window with the given id (0: any).
inline void pushMotion(int x, int y, Uint32 window = 0) {
    pointer = {x, y};
    SDL_Event event = eventOf(SDL_MOUSEMOTION);
    event.motion.windowID = window;
    event.motion.x = x;
    event.motion.y = y;
    pushEvent(event);
}

// The left mouse button pressed where the pointer is.
inline void pushMousePress(Uint32 window = 0) {
    SDL_Event event = eventOf(SDL_MOUSEBUTTONDOWN);
    event.button.windowID = window;
    event.button.button = SDL_BUTTON_LEFT;
    event.button.state = SDL_PRESSED;
    event.button.x = pointer.x;
    event.button.y = pointer.y;
    pushEvent(event);
}

// A controller button going down on the pad with the given instance id; the
// menu handlers act on the button named in the event.
inline SDL_Event padButtonEvent(SDL_JoystickID pad, Uint8 button) {
    SDL_Event event = eventOf(SDL_CONTROLLERBUTTONDOWN);
    event.cbutton.which = pad;
    event.cbutton.button = button;
    event.cbutton.state = SDL_PRESSED;
    return event;
}
inline void pushPadButton(SDL_JoystickID pad, Uint8 button) { pushEvent(padButtonEvent(pad, button)); }

// A pad arriving (SDL_CONTROLLERDEVICEADDED, which: its device index) or
// leaving (SDL_CONTROLLERDEVICEREMOVED, which: its instance id).
inline void pushDevice(Uint32 type, Sint32 which) {
    SDL_Event event = eventOf(type);
    event.cdevice.which = which;
    pushEvent(event);
}

// The window's close button.
inline void pushQuit() { pushEvent(eventOf(SDL_QUIT)); }

// --- What the screen shows.

// The button at index of a menu.
inline UI_Button* at(UI_Menu& menu, int index) { return &menu.getButtons()[static_cast<std::size_t>(index)]; }

// True when the box at (x, y) of the canvas shows what the reference shows
// there (drawn on a black canvas), and something of it is lit.
inline bool shows(const Canvas& canvas, const Canvas& reference, int x, int y, int w, int h) {
    int lit = 0;
    for (int row = y; row < y + h; ++row) {
        for (int col = x; col < x + w; ++col) {
            const SDL_Color want = reference.pixel(col, row);
            if (!sameColour(canvas.pixel(col, row), want.r, want.g, want.b)) return false;
            lit += sameColour(want, 0, 0, 0) ? 0 : 1;
        }
    }
    return lit > 0;
}

// True when the canvas shows at (x, y) exactly the text in white in the font
// (by default the 27 pt one of heads-up texts and menus).
inline bool showsText(const Canvas& canvas, int x, int y, const std::string& text, TTF_Font* font = counter) {
    Canvas reference;
    Texture expected;
    expected.setup(reference.renderer);
    if (!expected.loadFromRenderedText(text, white, font)) return false;
    expected.render(x, y);
    return shows(canvas, reference, x, y, expected.getWidth(), expected.getHeight());
}

// True when the canvas shows at (x, y) the picture from the texture folder,
// drawn w x h (from the source part of it, when given).
inline bool showsPicture(const Canvas& canvas, const std::string& file, int x, int y, int w, int h,
                         const SDL_Rect* source = nullptr) {
    Canvas reference;
    Texture expected;
    expected.setup(w, h, reference.renderer);
    if (!expected.loadFromFile(file)) return false;
    expected.render(x, y, SDL_FLIP_NONE, source);
    return shows(canvas, reference, x, y, w, h);
}

// Pixels that are not black in the box at (x, y), looking at every step-th
// column of every step-th row.
inline int litPixels(const Canvas& canvas, int x, int y, int w, int h, int step = 1) {
    int lit = 0;
    for (int row = y; row < y + h; row += step)
        for (int col = x; col < x + w; col += step) lit += sameColour(canvas.pixel(col, row), 0, 0, 0) ? 0 : 1;
    return lit;
}

// A spot of a colour no screen draws (magenta), put on the canvas to see
// whether the passes after it draw a new picture over it. The renderer's draw
// colour, which the next picture clears with, is left as it was.
inline void markCanvas(const Canvas& canvas, int x, int y) {
    Uint8 r = 0, g = 0, b = 0, a = 0;
    SDL_GetRenderDrawColor(canvas.renderer, &r, &g, &b, &a);
    SDL_SetRenderDrawColor(canvas.renderer, 255, 0, 255, 255);
    const SDL_Rect spot{x - 1, y - 1, 3, 3};
    SDL_RenderFillRect(canvas.renderer, &spot);
    SDL_SetRenderDrawColor(canvas.renderer, r, g, b, a);
}
inline bool marked(const Canvas& canvas, int x, int y) { return sameColour(canvas.pixel(x, y), 255, 0, 255); }

// --- A whole game for a test.

// Every process-wide object of the game put back as a fresh process has it:
// no event waiting, no interface (fonts, menus, current button), no hero,
// robots free to move, no controller open, no window, and a new state record.
// Whatever one test changes of these must not reach the next.
inline void restoreGame() {
    VirtualPad::settle();
    UI_close();
    currentButton = nullptr;
    zorbiPointer = nullptr;
    pauseEnemy = false;
    if (controller != nullptr) SDL_GameControllerClose(controller);
    controller = nullptr;
    gameWindow = nullptr;
    gameRenderer = nullptr;
    state = State();
}

// Which parts of a game a TestGame sets up, and the size of its canvas.
struct GameParts {
    bool run = true;        // the run's objects, their hero made the game's one hero
    bool interface = true;  // fonts, heads-up display and menus, as UI_init builds them
    bool world = true;      // an empty world, no level loaded
    int width = WINDOW_WIDTH;
    int height = WINDOW_HEIGHT;
};

// A game as the program sets it up after init, on a software canvas, with a
// new state record and no event waiting; gone, it puts every process-wide
// object back as a fresh process has it (restoreGame). A fixture derives from
// it beside ::testing::Test, or a test keeps one as a local.
class TestGame {
public:
    explicit TestGame(GameParts parts = {}) : canvas(parts.width, parts.height) {
        VirtualPad::settle();
        state = State();
        pauseEnemy = false;
        if (parts.run) {
            run = std::make_unique<RunObjects>(canvas.renderer);
            zorbiPointer = &run->player;
        }
        if (parts.interface) UI_init(canvas.renderer, state, run ? &run->player : nullptr);
        if (parts.world) world = std::make_unique<World>();
    }
    // The interface and the run go before the canvas whose renderer owns their textures.
    ~TestGame() {
        UI_close();
        world.reset();
        run.reset();
        restoreGame();
    }
    TestGame(const TestGame&) = delete;
    TestGame& operator=(const TestGame&) = delete;

    // A robot of the wave's first set (which the world must have), standing
    // still with its feet at (x, y) when asked, else waiting to enter.
    Enemy& addRobot(ENEMY_TYPE type, std::optional<SDL_Point> feet) {
        auto body = std::make_unique<Entity>(&world->enemySpawns, canvas.renderer, enemyHealth(type));
        auto enemy = makeEnemy(type, body.get());
        if (feet) {
            body->spawned = true;
            body->justSpawned = false;
            body->setPosition(feet->x, feet->y - body->getRect().h);
            body->setXVelocity(0);
        }
        world->waveSetEEnemies[0].push_back(std::move(body));
        world->waveSetEnemies[0].push_back(std::move(enemy));
        collectCharacterEntities(world->waveSetEEnemies[0], &run->eZorbi, world->allCharacterEntities);
        return *world->waveSetEnemies[0].back();
    }
    // A still revolver bullet at (x, y).
    void addStillBullet(int x, int y, int strength = 1, int damage = 1) {
        world->eBullets.emplace_back(x, y, 0, 0, canvas.renderer);
        world->bullets.emplace_back(&world->eBullets.back(), normal, 1, strength, damage);
        world->bullets.back().setIterator(std::prev(world->eBullets.end()));
    }

    Canvas canvas;
    std::unique_ptr<RunObjects> run;
    std::unique_ptr<World> world;
};
