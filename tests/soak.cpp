// A long, seeded, in-process play of level 3 by a bot that presses keys at
// random, pauses, skips ahead with the developer key, dies and shops. It checks
// that nothing piles up: robot bodies, bullets, explosions and decoded images
// stay under bounds that follow from the game's rules, and every wave ends.
//
// usage: zelvane_soak [--frames N] [--seed S] [--real-time]   (run from the build folder)
//
// --real-time gives every frame its 1/60 s of real time, so that what SDL's
// disk audio driver records (SDL_AUDIODRIVER=disk) is what a player hears.

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "TestSupport.h"
#include "enemies/Waves.h"
#include "platform/Game.h"
#include "platform/Limiter.h"
#include "play/Frame.h"
#include "play/Input.h"
#include "play/Loop.h"
#include "play/Screens.h"
#include "play/World.h"
#include "player/Purchases.h"
#include "ui/MenuInput.h"
#include "ui/MenuScreens.h"
#include "ui/UI.h"
#include "ui/UpgradeMenus.h"

namespace {

const float DT = 1.0f / 60.0f;
const int SOAK_LEVEL = 3;
const int REPORT_EVERY = 10000;
// A wave the bot does not skip ends by kills or by the hero's death. Random play
// kills slowly, but robots reach and wear down the hero within minutes; ten
// minutes of game time without either is a wave that cannot end.
const long WAVE_FRAME_LIMIT = 60L * 60 * 10;
// Seconds without any frame or menu pass before the watchdog calls it a hang.
const int WATCHDOG_SECONDS = 120;

const std::array<SDL_Keycode, 10> PLAY_KEYS = {SDLK_a, SDLK_d, SDLK_j, SDLK_l, SDLK_SPACE,
                                               SDLK_r, SDLK_w, SDLK_e, SDLK_i, SDLK_k};
const std::size_t DRIVE_LEFT = 0;
const std::size_t DRIVE_RIGHT = 1;
const std::size_t FIRE = 4;
const std::size_t RELOAD = 5;
const std::size_t ABILITY = 7;
// The bot takes up its next ability this often.
const long ABILITY_TURN_FRAMES = 700;
// Two seconds of frames of at least 16 ms, and one more.
const long TELEPORT_AIM_FRAMES = 2000 / 16 + 2;
// A minute into a wave the bot goes looking for the robots.
const long HUNT_AFTER_FRAMES = 60L * 60;

int roll(int n) { return std::rand() % n; }
bool chance(int oneIn) { return roll(oneIn) == 0; }

void pointAt(const UI_Button& button) {
    pushMotion(button.getX() + button.getWidth() / 2, button.getY() + button.getHeight() / 2);
}

int countImageFiles() {
    int files = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator("resources/textures", error)) {
        if (entry.is_regular_file() && entry.path().extension() == ".png") ++files;
    }
    return files;
}

long residentKilobytes() {
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(statm);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

long peakResidentKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// Notices when the game stops coming back to the bot: a menu that never lets
// go, or a frame that never ends.
class Watchdog {
public:
    Watchdog() : thread([this] { watch(); }) {}
    ~Watchdog() {
        stop = true;
        thread.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    void tick(const char* where) {
        phase = where;
        progress.fetch_add(1);
    }

private:
    void watch() {
        unsigned long seen = progress.load();
        int idle = 0;
        while (!stop) {
            std::this_thread::sleep_for(std::chrono::seconds(1));
            const unsigned long now = progress.load();
            idle = now == seen ? idle + 1 : 0;
            seen = now;
            if (idle >= WATCHDOG_SECONDS) {
                std::fprintf(stderr, "soak: FAIL: no progress for %d s, stuck in %s\n", WATCHDOG_SECONDS,
                             phase.load());
                std::fflush(stderr);
                std::_Exit(1);
            }
        }
    }

    std::atomic<unsigned long> progress{0};
    std::atomic<const char*> phase{"start-up"};
    std::atomic<bool> stop{false};
    std::thread thread;
};

struct Peaks {
    std::size_t blockBodies = 0;
    std::size_t bullets = 0;
    std::size_t explosions = 0;
    int decodedImages = 0;
    long bulletAge = 0;
};

class Bot {
public:
    Bot(SDL_Renderer* drawOn, VirtualPad& playedPad, Watchdog& watching)
        : run(drawOn), pad(playedPad), watchdog(watching), imageFiles(countImageFiles()) {
        run.lastUpdate = now;
        zorbiPointer = &run.player;
        UI_init(drawOn, state, &run.player);
        padId = SDL_JoystickInstanceID(pad.joystick);
        computeBulletBound();
    }
    ~Bot() {
        world.reset();
        UI_close();
        zorbiPointer = nullptr;
    }
    Bot(const Bot&) = delete;
    Bot& operator=(const Bot&) = delete;

    // In real time, every frame waits for its 1/60 s.
    bool play(long frames, bool realTime);
    void printSummary(double seconds) const;

private:
    void fail(const std::string& why) {
        std::fprintf(stderr, "soak: FAIL at frame %ld (wave %d): %s\n", frame, world ? world->waveNumber : 0,
                     why.c_str());
        failed = true;
    }

    void computeBulletBound();
    void enterLevel();
    void startScreenByPad();
    void beginWave();
    void pushShopVisit();
    void pushPlayInput();
    void pause();
    // kills: robots killed this frame; still: a kill's breath held play (and the explosions' age) still.
    void checkCounts(int kills, bool still);
    void useAbilities();
    void checkBulletAges();
    std::size_t blockBodies() const;
    int deadInWave() const;
    void report() const;

    RunObjects run;
    std::unique_ptr<World> world;
    VirtualPad& pad;
    Watchdog& watchdog;
    SDL_JoystickID padId = -1;
    const int imageFiles;
    std::size_t bulletBound = 0;
    long bulletLifetime = 0;
    std::unordered_map<const Bullet*, long> bulletBirth;

    Uint32 now = 100000;
    // Every frame is 1/60 s but the first after a shop visit.
    float nextDt = DT;
    long frame = 0;
    long aimFrames = 0;
    bool failed = false;

    // Keys and pad inputs the bot holds down.
    std::array<bool, PLAY_KEYS.size()> held{};
    bool triggerPulled = false;
    int padButtonDown = -1;
    bool padPlugged = true;

    // The current wave: its length, whether and when the bot skips it.
    long waveFrame = 0;
    long skipAt = -1;
    long skippedAt = -1;

    // Kills in each of the last frames, as long as an explosion lasts.
    std::array<int, Explosion::FRAME_COUNT> recentKills{};

    long deaths = 0;
    long wavesPlayed = 0;
    long wavesCleared = 0;
    long skips = 0;
    long shopVisits = 0;
    long purchasesTried = 0;
    long purchases = 0;
    long pauses = 0;
    long menuReturns = 0;
    long rumbles = 0;
    long replugs = 0;
    long robotsDestroyed = 0;
    long teleports = 0;
    long charges = 0;
    long detonations = 0;
    // Frames played with each ability in hand (bounce, teleport, C4, grenade).
    std::array<long, 4> abilityFrames{};
    int abilityTurn = 0;
    std::array<long, 5> bulletsFired{};
    long longestNaturalWave = 0;
    Peaks peaks;
};

// A bullet lives until it leaves the window sideways (or ends on a platform
// sooner): even its slowest horizontal speed, that of the last pellet of the
// widest shotgun fan fired backwards, carries it across the window within this
// many frames. Each frame the bot sends at most one press of the fire key and
// two changes of the pad's axes (each of which fires while the trigger is held
// and re-armed), so at most three shots, each at most the largest fan of pellets.
void Bot::computeBulletBound() {
    int pelletsPerShot = 1;
    for (const auto& row : state.weaponProperties[shotgun]) pelletsPerShot = std::max(pelletsPerShot, int(row[5]));
    const int slowest = run.weapon(revolver)->getBulletSpeed() - 75 * (pelletsPerShot - 1);
    // Positions are whole pixels: a step may lose up to one pixel to truncation.
    const int stepPixels = static_cast<int>(static_cast<float>(slowest) * DT) - 1;
    bulletLifetime = (WINDOW_WIDTH + 1) / stepPixels + 2;
    const int shotsPerFrame = 3;
    bulletBound = static_cast<std::size_t>(shotsPerFrame * pelletsPerShot * bulletLifetime);
}

// Each bullet by address: a bullet alive now whose address was alive after the
// last frame is the same bullet, since new ones are fired before spent ones are
// removed within a frame.
void Bot::checkBulletAges() {
    std::unordered_map<const Bullet*, long> born;
    for (const Bullet& bullet : world->bullets) {
        const auto known = bulletBirth.find(&bullet);
        const long birth = known != bulletBirth.end() ? known->second : frame;
        born.emplace(&bullet, birth);
        if (frame - birth > bulletLifetime) {
            fail("a bullet still flies after " + std::to_string(frame - birth) + " frames (at most " +
                 std::to_string(bulletLifetime) + ")");
        }
        peaks.bulletAge = std::max(peaks.bulletAge, frame - birth);
    }
    bulletBirth.swap(born);
}

std::size_t Bot::blockBodies() const {
    std::size_t bodies = 0;
    for (const auto& wave : world->waveSetEEnemies) bodies += wave.size();
    return bodies;
}

int Bot::deadInWave() const {
    const auto location = static_cast<std::size_t>(world->waveSetLocation);
    if (location >= world->waveSetEEnemies.size()) return 0;
    int dead = 0;
    for (const auto& body : world->waveSetEEnemies[location]) dead += body->isAlive() ? 0 : 1;
    return dead;
}

// The start screen as a player with the pad goes through it: "Arcade Mode",
// then the level. The level select offers level 1 only; the soak plays level 3.
void Bot::startScreenByPad() {
    state.menu = Menu::head;
    if (controller != nullptr) controllerEvent(state, MENU_CONTROL::connect);
    for (int pass = 0; pass < 6 && !state.started && !state.quit; ++pass) {
        // With the pad pulled out, the mouse.
        if (controller != nullptr && chance(2)) {
            pushPadButton(padId, SDL_CONTROLLER_BUTTON_A);
        } else {
            UI_Menu& menu = state.menu == Menu::level ? levelSelect : mainMenu;
            pointAt(menu.getButtons()[0]);
            pushMousePress();
        }
        startScreen();
        watchdog.tick("the start screen");
    }
    if (!state.started) fail("the start screen did not start a level");
    state.level = SOAK_LEVEL;
}

// What the level loop does before the waves of a level.
void Bot::enterLevel() {
    resetState();
    run.playerSpawns.clear();
    world = std::make_unique<World>();
    bulletBirth.clear();
    startScreenByPad();
    loadLevel(run, *world, state.level);
    if (world->enemySpawns.empty()) fail("level 3 did not load");
    // As the game's level loop does: the music from the start of the level.
    run.song.play();
}

// Before a wave that opens the shop: some XP to spend, then the events of a
// visit (tabs, purchases and selections by pointer and pad), closed at the end.
void Bot::pushShopVisit() {
    ++shopVisits;
    run.player.changeXP(roll(400));
    Menu tab = Menu::weaponUpgrade;
    auto menuOf = [](Menu which) -> UI_Menu& {
        return which == Menu::abilityUpgrade ? abilityUpgradeMenu
               : which == Menu::playerUpgrade ? playerUpgradeMenu
                                               : weaponUpgradeMenu;
    };
    // Point at a button and click it, by pointer or pad.
    auto click = [&](int index) {
        pointAt(menuOf(tab).getButtons()[static_cast<std::size_t>(index)]);
        if (chance(2)) pushMousePress(); else pushPadButton(padId, SDL_CONTROLLER_BUTTON_A);
        ++purchasesTried;
    };
    // Levels as the bot expects them after its own purchases (it may be wrong
    // when XP runs out: then it clicks a disabled button, which the game handles too).
    int weapons[5];
    for (int i = 0; i < 5; ++i) weapons[i] = weaponLevel(state, i);
    int abilities[4];
    int player[4];
    for (int i = 0; i < 4; ++i) {
        abilities[i] = state.abilityLevels[i];
        player[i] = state.playerLevels[i];
    }

    const int steps = 3 + roll(12);
    for (int step = 0; step < steps; ++step) {
        const int what = roll(10);
        if (what < 2) {
            pushPadButton(padId, SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
            if (tab == Menu::weaponUpgrade) tab = Menu::abilityUpgrade;
            else if (tab == Menu::abilityUpgrade) tab = Menu::playerUpgrade;
        } else if (what < 4) {
            pushPadButton(padId, SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
            if (tab == Menu::playerUpgrade) tab = Menu::abilityUpgrade;
            else if (tab == Menu::abilityUpgrade) tab = Menu::weaponUpgrade;
        } else if (what < 5) {
            pushKey(PLAY_KEYS[static_cast<std::size_t>(roll(PLAY_KEYS.size()))], true);  // ignored in the shop
        } else if (what < 7) {
            // Any enabled button: a level, a select button, a refill, a tab. Over
            // a disabled one the pointer would leave the selection on "Close Menu".
            std::vector<UI_Button>& buttons = menuOf(tab).getButtons();
            std::vector<int> enabled;
            for (std::size_t i = 0; i < buttons.size(); ++i) {
                if (!buttons[i].isDisabled() && static_cast<int>(i) != CLOSE_MENU_BUTTON) {
                    enabled.push_back(static_cast<int>(i));
                }
            }
            if (enabled.empty()) continue;
            const int index = enabled[static_cast<std::size_t>(roll(static_cast<int>(enabled.size())))];
            click(index);
            if (index == WEAPONS_TAB) tab = Menu::weaponUpgrade;
            if (index == ABILITIES_TAB) tab = Menu::abilityUpgrade;
            if (index == PLAYER_TAB) tab = Menu::playerUpgrade;
        } else {
            // The next level of one item, then (weapons and abilities) its select button.
            if (tab == Menu::playerUpgrade) {
                const int column = roll(4);
                if (player[column] < 5) click(playerLevelButtonIndex(column, player[column]++));
            } else {
                const bool weapon = tab == Menu::weaponUpgrade;
                const int column = roll(weapon ? 5 : 4);
                int& level = weapon ? weapons[column] : abilities[column];
                if (level < 5) click(levelButtonIndex(column, level++));
                click(selectButtonIndex(column));
            }
        }
    }
    switch (roll(3)) {
    case 0:
        pushKey(SDLK_ESCAPE, true);
        break;
    case 1:
        pushPadButton(padId, SDL_CONTROLLER_BUTTON_B);
        break;
    default:
        pointAt(menuOf(tab).getButtons()[CLOSE_MENU_BUTTON]);
        pushMousePress();
        break;
    }
}

void Bot::beginWave() {
    const int next = world->waveNumber + 1;
    const bool opensShop = world->waveNumber != 0 && waveSetLocation(next) == 0;
    // The shop takes no press in its first moments: the visit begins after them.
    bool visited = false;
    if (opensShop) {
        pad.onRead = [&] {
            if (visited || !isUpgradeMenu(state.menu) || !screenListens()) return;
            visited = true;
            pushShopVisit();
        };
        // The game's loop takes no frame time in the shop: the seconds spent
        // there arrive as the next frame's dt, and the clock has moved on.
        const int shopMilliseconds = 2000 + roll(58000);
        now += static_cast<Uint32>(shopMilliseconds);
        nextDt = static_cast<float>(shopMilliseconds) / 1000.0f;
    }
    watchdog.tick("the upgrade shop");
    const int pricesBefore = state.upgradeIncreaseFactor;
    startWave(run, *world);
    pad.onRead = nullptr;
    // Every purchase raises the prices by 5.
    if (state.upgradeIncreaseFactor > pricesBefore) purchases += (state.upgradeIncreaseFactor - pricesBefore) / 5;
    // The wave's first second counts on the bot's clock.
    world->startWaveLoad = now;
    ++wavesPlayed;
    waveFrame = 0;
    skippedAt = -1;
    // Half the waves are skipped, the first one always: even a short run visits the shop.
    skipAt = (wavesPlayed == 1 || chance(2)) ? 60 + roll(900) : -1;
}

void Bot::pushPlayInput() {
    // Robots gather on the lowest floors while the hero, sent back to the top by
    // every hit, wanders above them. After a while the bot drives on in one
    // direction, dropping through the gaps until it meets them.
    const bool hunting = skipAt < 0 && waveFrame >= HUNT_AFTER_FRAMES;
    if (hunting && !held[DRIVE_RIGHT]) {
        held[DRIVE_RIGHT] = true;
        pushKey(PLAY_KEYS[DRIVE_RIGHT], true);
        pad.axis(SDL_CONTROLLER_AXIS_LEFTX, 32767);
    }
    // Facing where it drives, it shoots what it meets.
    if (hunting && chance(30)) pushTap(SDLK_l);
    // Now and then a key changes: pressed if up, released if down.
    if (chance(2)) {
        // The fire key a third of the time, so that shots fly all the while.
        const auto which = chance(3) ? FIRE : static_cast<std::size_t>(roll(PLAY_KEYS.size()));
        const bool keepDriving = hunting && (which == DRIVE_LEFT || which == DRIVE_RIGHT);
        // Reloading empties the magazine and takes seconds: pressed as often as
        // the rest, it would keep the gun empty for good.
        const bool skipReload = which == RELOAD && !held[which] && !chance(10);
        // Without an ability the key only spends the charge, which then takes
        // kills to come back once one is bought: players leave it alone.
        const bool skipAbility = which == ABILITY && !held[which] && run.player.getAbility() == none;
        if (!keepDriving && !skipReload && !skipAbility) {
            held[which] = !held[which];
            pushKey(PLAY_KEYS[which], held[which]);
        }
    }
    if (chance(2500)) pushKey(SDLK_ESCAPE, true);
    // The pad is pulled out now and then, and plugged in again a while later.
    if (chance(padPlugged ? 6000 : 600)) {
        if (padPlugged) pushDevice(SDL_CONTROLLERDEVICEREMOVED, padId);
        else pushDevice(SDL_CONTROLLERDEVICEADDED, pad.index);
        padPlugged = !padPlugged;
        ++replugs;
    }
    // The pad: trigger, sticks and the play buttons.
    if (padButtonDown >= 0) {
        pad.button(static_cast<SDL_GameControllerButton>(padButtonDown), false);
        padButtonDown = -1;
    }
    if (chance(15)) {
        switch (roll(5)) {
        case 0:
            triggerPulled = !triggerPulled;
            pad.axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, triggerPulled ? 32767 : -32768);
            break;
        case 1:
            if (!hunting) pad.axis(SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(roll(65535) - 32767));
            break;
        case 2:
            pad.axis(SDL_CONTROLLER_AXIS_RIGHTX, static_cast<Sint16>(roll(65535) - 32767));
            break;
        case 3:
            pad.axis(SDL_CONTROLLER_AXIS_RIGHTY, static_cast<Sint16>(roll(65535) - 32767));
            break;
        default: {
            const SDL_GameControllerButton buttons[] = {SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_Y,
                                                        SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_START};
            // Start pauses like Escape, and X reloads: both rarely.
            padButtonDown = buttons[chance(20) ? 3 : 1 + roll(2)];
            if (chance(10)) padButtonDown = SDL_CONTROLLER_BUTTON_X;
            if (padButtonDown == SDL_CONTROLLER_BUTTON_B && run.player.getAbility() == none) {
                padButtonDown = SDL_CONTROLLER_BUTTON_Y;
            }
            pad.button(static_cast<SDL_GameControllerButton>(padButtonDown), true);
            break;
        }
        }
    }
    // Developer skip: wave 31 comes next, with the shop before it.
    if (waveFrame == skipAt) {
        if (!state.developerMode) pushTap(SDLK_1);
        pushTap(SDLK_2);
        if (chance(2)) pushTap(SDLK_1);
        skippedAt = waveFrame;
        ++skips;
    }
}

// The pause screen, a few passes of pointer and stick, then back to play by
// Escape, a click on "Resume Game" or the pad's A. Sometimes "Quit To Menu".
void Bot::pause() {
    ++pauses;
    if (triggerPulled) {
        triggerPulled = false;
        pad.axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, -32768);
    }
    if (controller != nullptr) controllerEvent(state, MENU_CONTROL::connect);
    // Which button the pad's A would click: "Quit To Desktop" must never be it.
    int current = 0;
    bool stickPushed = false;
    const int passes = 1 + roll(4);
    for (int pass = 0; pass < passes + 2 && state.menu == Menu::pause && state.started && !state.quit; ++pass) {
        if (pass + 1 < passes) {
            if (chance(2)) {
                const int target = roll(2);  // "Resume Game" or "Quit To Menu"
                pointAt(pauseMenu.getButtons()[static_cast<std::size_t>(target)]);
                current = target;
            } else if (chance(2)) {
                pushMotion(roll(WINDOW_WIDTH), roll(scale(140)));  // above the buttons: keeps the selection
            } else if (stickPushed) {
                pad.axis(SDL_CONTROLLER_AXIS_LEFTY, 0);  // back through the dead zone: the next push steps
                stickPushed = false;
            } else {
                const bool down = current == 0;
                pad.axis(SDL_CONTROLLER_AXIS_LEFTY, down ? 30000 : -30000);
                current += down ? 1 : -1;
                stickPushed = true;
            }
        } else {
            pad.axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
            const int way = roll(4);
            if (way == 0 || pass >= passes) {
                pushKey(SDLK_ESCAPE, true);
            } else if (way == 1) {
                pointAt(pauseMenu.getButtons()[0]);
                pushMousePress();
            } else if (way == 2 && current == 1 && chance(3)) {
                pushPadButton(padId, SDL_CONTROLLER_BUTTON_A);  // "Quit To Menu"
            } else {
                pointAt(pauseMenu.getButtons()[0]);
                pushPadButton(padId, SDL_CONTROLLER_BUTTON_A);
            }
        }
        pauseScreen();
        now += 17;  // the game's loop restarts its frame clock after each pass
        watchdog.tick("the pause screen");
    }
    pad.axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
    if (state.quit) fail("the pause screen quit the game, which the bot never asked for");
    if (state.menu == Menu::pause && state.started) fail("the pause screen did not resume");
}

// After its first shop the bot takes up the next ability every
// ABILITY_TURN_FRAMES (between aims and charges), buying its first level with
// the shop's own purchase when it has none and choosing it with the shop's
// switch, so that each is used in one run. Kills are rare for a bot: its hand
// refills the charge now and then, as it tops up the XP in the shop.
void Bot::useAbilities() {
    constexpr std::array<Ability, 4> TURNS{teleport, c4, bounce, grenade};
    if (shopVisits > 0 && frame % ABILITY_TURN_FRAMES == 0 && !state.teleportSelection && !state.c4Placed) {
        const Ability next = TURNS[static_cast<std::size_t>(abilityTurn++) % TURNS.size()];
        if (state.abilityLevels[next] == 0) {
            run.player.changeXP(1000);
            buyAbilityLevel(state, &run.player, next, 0);
        }
        chooseAbility(state, &run.player, next);
    }
    const Ability inHand = run.player.getAbility();
    if (inHand == none) return;
    ++abilityFrames[static_cast<std::size_t>(inHand)];
    if (!run.player.isCharged() && !state.c4Placed && chance(240)) {
        run.player.restore(run.player.getHealth(), run.player.getShield(), run.player.getXP(), true);
    }
    // A charge is spent soon; a placed C4 waits a moment before it goes off.
    if ((run.player.isCharged() && chance(60)) || (state.c4Placed && chance(90))) pushTap(PLAY_KEYS[ABILITY]);
}

void Bot::checkCounts(int kills, bool still) {
    if (!still) {
        std::rotate(recentKills.rbegin(), recentKills.rbegin() + 1, recentKills.rend());
        recentKills[0] = 0;
    }
    recentKills[0] += kills;
    robotsDestroyed += kills;

    const std::size_t bodies = blockBodies();
    const int firstWave = world->waveNumber - world->waveSetLocation;
    std::size_t bodyBound = 0;
    // Every robot costs at least 1 of its wave's difficulty, which is the wave number.
    for (int i = 0; i < WAVES_PER_SET; ++i) bodyBound += static_cast<std::size_t>(std::max(firstWave + i, 0));
    if (world->waveNumber > 0 && bodies > bodyBound) {
        fail("robot bodies of the block: " + std::to_string(bodies) + " > " + std::to_string(bodyBound));
    }
    std::size_t robots = 0;
    for (const auto& wave : world->waveSetEnemies) robots += wave.size();
    if (robots != bodies) fail("robots and their bodies differ in number");

    const std::size_t bullets = world->bullets.size();
    if (bullets != world->eBullets.size()) {
        fail("bullets " + std::to_string(bullets) + " but bullet bodies " + std::to_string(world->eBullets.size()));
    }
    if (bullets > bulletBound) {
        fail("bullets: " + std::to_string(bullets) + " > " + std::to_string(bulletBound));
    }

    int recent = 0;
    for (int k : recentKills) recent += k;
    const std::size_t explosions = run.explosions.size();
    if (explosions > static_cast<std::size_t>(recent)) {
        fail("explosions: " + std::to_string(explosions) + " > kills of the last " +
             std::to_string(Explosion::FRAME_COUNT) + " frames (" + std::to_string(recent) + ")");
    }

    const int images = decodedImageCount();
    if (images > imageFiles) {
        fail("decoded images: " + std::to_string(images) + " > image files " + std::to_string(imageFiles));
    }

    peaks.blockBodies = std::max(peaks.blockBodies, bodies);
    peaks.bullets = std::max(peaks.bullets, bullets);
    peaks.explosions = std::max(peaks.explosions, explosions);
    peaks.decodedImages = std::max(peaks.decodedImages, images);
}

void Bot::report() const {
    std::printf("frame %7ld  wave %2d  block bodies %3zu  bullets %3zu (bodies %3zu)  explosions %2zu  "
                "decoded images %2d/%d  resident %ld MB  deaths %ld  shop visits %ld  pauses %ld\n",
                frame, world->waveNumber, blockBodies(), world->bullets.size(), world->eBullets.size(),
                run.explosions.size(), decodedImageCount(), imageFiles, residentKilobytes() / 1024, deaths,
                shopVisits, pauses);
    std::fflush(stdout);
}

bool Bot::play(long frames, bool realTime) {
    const auto started = std::chrono::steady_clock::now();
    enterLevel();
    beginWave();
    while (frame < frames && !failed) {
        if (realTime) std::this_thread::sleep_until(started + std::chrono::microseconds(frame * 1000000 / 60));
        pushPlayInput();
        useAbilities();

        const bool wasAiming = state.teleportSelection;
        const bool wasPlaced = state.c4Placed;
        const std::size_t bulletsBefore = world->bullets.size();
        const int deadBefore = deadInWave();
        const bool still = frozen(world->feel, now);
        playFrame(run, *world, nextDt, now, [&] {
            if (!wasAiming && state.teleportSelection) {
                ++teleports;
                // The one reading of the real clock in play: the aim's start goes on the bot's clock.
                state.startSelection = static_cast<float>(now);
            }
            if (!wasPlaced && state.c4Placed) ++charges;
            if (wasPlaced && state.c4Exploded) ++detonations;
            if (world->bullets.size() > bulletsBefore && run.player.getWeapon() != nullptr) {
                bulletsFired[static_cast<std::size_t>(run.player.getWeapon()->getType())] +=
                    static_cast<long>(world->bullets.size() - bulletsBefore);
            }
        });
        nextDt = DT;

        checkCounts(deadInWave() - deadBefore, still);
        checkBulletAges();
        // The teleport aim lasts two seconds, during which the robots stand still.
        aimFrames = state.teleportSelection ? aimFrames + 1 : 0;
        if (aimFrames > TELEPORT_AIM_FRAMES) fail("the teleport aim did not end after two seconds");
        watchdog.tick("a frame of play");
        ++frame;
        ++waveFrame;
        now += frame % 3 == 0 ? 16 : 17;
        rumbles += static_cast<long>(pad.rumbles.size());
        pad.rumbles.clear();
        if (frame % REPORT_EVERY == 0) report();

        if (state.quit) {
            fail("the game quit, which the bot never asked for");
            break;
        }
        if (state.menu == Menu::pause) pause();
        if (!state.started) {
            // "Quit To Menu": the level loop starts over at the main menu.
            ++menuReturns;
            for (bool& key : held) key = false;
            enterLevel();
            beginWave();
            continue;
        }
        if (skippedAt >= 0 && world->inWave && waveFrame > skippedAt + 1) {
            fail("the developer key did not end the wave");
        }
        if (skippedAt < 0 && waveFrame > WAVE_FRAME_LIMIT) {
            fail("wave " + std::to_string(world->waveNumber) + " did not end within " +
                 std::to_string(WAVE_FRAME_LIMIT) + " frames");
        }
        if (!world->inWave) {
            if (skippedAt < 0) longestNaturalWave = std::max(longestNaturalWave, waveFrame);
            if (world->waveNumber == 0) {
                ++deaths;
            } else if (skippedAt < 0) {
                ++wavesCleared;
            }
            world->allCharacterEntities.clear();
            beginWave();
        }
    }
    // Two abilities take the most of the game's state: the aim and the charge.
    if (!failed && frame >= 4 * ABILITY_TURN_FRAMES + 2000 && shopVisits > 0 && (teleports == 0 || charges == 0)) {
        fail("the bot never teleported or never placed the C4");
    }
    return !failed;
}

void Bot::printSummary(double seconds) const {
    std::printf("soak: %ld frames in %.1f s (%.0f frames/s); waves %ld (cleared %ld, skipped %ld), deaths %ld, "
                "shop visits %ld (%ld item clicks, %ld purchases), pauses %ld (back to the menu %ld), vibrations %ld, "
                "pad pulled out or plugged in %ld times; longest wave without the skip %ld frames\n",
                frame, seconds, seconds > 0 ? static_cast<double>(frame) / seconds : 0.0, wavesPlayed, wavesCleared,
                skips, deaths, shopVisits, purchasesTried, purchases, pauses, menuReturns, rumbles, replugs,
                longestNaturalWave);
    std::printf("soak: bullets fired by revolver %ld, rifle %ld, shotgun %ld, laser pistol %ld; robots destroyed "
                "%ld; teleports %ld, C4 charges %ld (set off %ld); frames with bounce %ld, teleport %ld, C4 %ld, "
                "grenade %ld\n",
                bulletsFired[revolver], bulletsFired[rifle], bulletsFired[shotgun], bulletsFired[laserPistol],
                robotsDestroyed, teleports, charges, detonations, abilityFrames[bounce], abilityFrames[teleport],
                abilityFrames[c4], abilityFrames[grenade]);
    std::printf("soak: peak block bodies %zu, bullets %zu (bound %zu), oldest bullet %ld frames (bound %ld), "
                "explosions %zu, decoded images %d (image files %d), peak resident memory %ld MB\n",
                peaks.blockBodies, peaks.bullets, bulletBound, peaks.bulletAge, bulletLifetime, peaks.explosions,
                peaks.decodedImages, imageFiles, peakResidentKilobytes() / 1024);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    long frames = 100000;
    unsigned seed = 1;
    bool realTime = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--frames" && i + 1 < argc) {
            frames = std::strtol(argv[++i], nullptr, 10);
        } else if (arg == "--seed" && i + 1 < argc) {
            seed = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
        } else if (arg == "--real-time") {
            realTime = true;
        } else {
            std::fprintf(stderr, "usage: %s [--frames N] [--seed S] [--real-time]\n", argv[0]);
            return 2;
        }
    }
    if (frames <= 0) {
        std::fprintf(stderr, "soak: --frames must be positive\n");
        return 2;
    }

    // No screen and no sound card: a software canvas and the dummy drivers.
    chooseDummyDrivers();
    if (SDL_Init(MEDIA_SUBSYSTEMS) != 0 || TTF_Init() != 0) {
        std::fprintf(stderr, "soak: could not start the media libraries: %s\n", SDL_GetError());
        return 1;
    }
    // The sound device as the game's init() opens it.
    const bool audioOpen = Mix_OpenAudio(44100, MIXER_FORMAT, 2, 2048) == 0;
    if (audioOpen) {
        applyVolumes(state.settings);
        limitMixerOutput();
    }
    // The game's own log lines (missing mapping file, "No button selection!") are not faults.
    SDL_LogSetPriority(SDL_LOG_CATEGORY_APPLICATION, SDL_LOG_PRIORITY_WARN);

    if (countImageFiles() == 0) {
        std::fprintf(stderr, "soak: no resources/textures here; run it from the build folder\n");
        return 2;
    }
    // Whatever the game writes lands in a scratch home, never the real one.
    const ScratchHome home;
    std::srand(seed);
    std::printf("soak: level %d, %ld frames, seed %u\n", SOAK_LEVEL, frames, seed);
    bool passed = false;
    double seconds = 0;
    {
        Watchdog watchdog;
        // A tenth of the window: the software renderer clips what falls outside,
        // so a frame stays cheap while the game still makes every draw call.
        Canvas canvas(WINDOW_WIDTH / 10, WINDOW_HEIGHT / 10);
        VirtualPad pad;
        if (!pad.ok()) {
            std::fprintf(stderr, "soak: no virtual controller: %s\n", SDL_GetError());
            return 1;
        }
        // Our own hold on the pad keeps its joystick alive while the game lets go
        // of it (pulled out) and takes it again (plugged in).
        SDL_Joystick* hold = SDL_JoystickOpen(pad.index);
        Bot bot(canvas.renderer, pad, watchdog);
        const auto started = std::chrono::steady_clock::now();
        passed = bot.play(frames, realTime);
        seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        bot.printSummary(seconds);
        state = State();
        SDL_JoystickClose(hold);
    }
    closeMedia(audioOpen);
    std::printf("soak: %s\n", passed ? "passed" : "FAILED");
    return passed ? 0 : 1;
}
