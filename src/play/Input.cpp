#include "play/Input.h"

#include <algorithm>

#include "platform/Game.h"
#include "player/Weapon.h"

namespace {

bool triggerPulled() { return stickDirection(controllerAxis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT)) != 0; }

bool shoot(State& game, RunObjects& run, World& world) {
    const SDL_Rect& body = run.eZorbi.getRect();
    Weapon* weapon = run.player.getWeapon();
    // A level without a place for the hero has no hero to fire.
    if (weapon == nullptr || !run.eZorbi.isSpawned()) return false;
    const std::size_t before = world.bullets.size();
    const bool fired = weapon->shoot(&world.eBullets, &world.bullets, game, run.player.getDirection(), body.x, body.y);
    world.account.shots += static_cast<int>(world.bullets.size() - before);
    // The flash at the barrel shows from this frame on.
    if (fired) world.feel.shotFired = true;
    return fired;
}

void keyDown(State& game, RunObjects& run, World& world, SDL_Keycode key) {
    Player& player = run.player;
    const bool aiming = game.teleportSelection;

    if (key == SDLK_1) game.developerMode = !game.developerMode;
    if (key == SDLK_2 && game.developerMode) {
        // Skip ahead: this wave ends at the end of the frame and play goes on at
        // wave 31, or in a campaign at the level's last wave (from the last
        // wave itself, the level is cleared). No record for it.
        world.waveNumber = world.waveGoal > 0 ? std::max(world.waveGoal - 1, world.waveNumber) : 30;
        world.waveOverride = true;
        world.skipped = true;
    }
    if (key == SDLK_3 && game.developerMode) world.heroFalls = true;
    if (key == SDLK_4 && game.developerMode) {
        pauseEnemy = !pauseEnemy;
    } else if (key == SDLK_ESCAPE) {
        game.menu = Menu::pause;
    }
    if (key == SDLK_d) {
        player.setXNormalV(1);
        world.rightMovement = true;
    }
    if (key == SDLK_a) {
        player.setXNormalV(-1);
        world.leftMovement = true;
    }

    if (key == SDLK_l && aiming) {
        game.tcVx = 1;
        game.tcMovingRight = true;
    } else if (key == SDLK_l) {
        player.setDirection(true);
    } else if (key == SDLK_j && aiming) {
        game.tcVx = -1;
        game.tcMovingLeft = true;
    } else if (key == SDLK_j) {
        player.setDirection(false);
    } else if (key == SDLK_k && aiming) {
        game.tcVy = 1;
        game.tcMovingDown = true;
    } else if (key == SDLK_i && aiming) {
        game.tcVy = -1;
        game.tcMovingUp = true;
    } else if (key == SDLK_w) {
        player.changeWeapon();
    } else if (key == SDLK_r) {
        if (Weapon* weapon = player.getWeapon()) weapon->forceReload();
    }

    if (key == SDLK_SPACE && world.waveStarted && !game.c4Placed) {
        // One shot per press; leaving an upgrade menu re-arms a key whose release was missed.
        if ((world.shootingReset || game.resetShooting) && !aiming) {
            shoot(game, run, world);
            world.shootingReset = false;
            game.resetShooting = false;
        }
    } else if (key == SDLK_e) {
        player.useAbility(game);
    }
}

void keyUp(State& game, RunObjects& run, World& world, SDL_Keycode key) {
    if (key == SDLK_d) world.rightMovement = false;
    if (key == SDLK_a) world.leftMovement = false;
    run.player.setXNormalV(!world.leftMovement && !world.rightMovement ? 0 : (world.leftMovement ? -1 : 1));

    if (key == SDLK_l) {
        game.tcMovingRight = false;
    } else if (key == SDLK_j) {
        game.tcMovingLeft = false;
    } else if (key == SDLK_k) {
        game.tcMovingDown = false;
    } else if (key == SDLK_i) {
        game.tcMovingUp = false;
    }
    game.tcVx = !game.tcMovingLeft && !game.tcMovingRight ? 0 : (game.tcMovingLeft ? -1 : 1);
    game.tcVy = !game.tcMovingUp && !game.tcMovingDown ? 0 : (game.tcMovingUp ? -1 : 1);

    if (key == SDLK_SPACE) world.shootingReset = true;
}

void axisMoved(State& game, RunObjects& run, World& world) {
    Player& player = run.player;
    const bool aiming = game.teleportSelection;

    if (triggerPulled()) {
        if (world.shootingReset && !aiming && !game.c4Placed) {
            vibrate(RUMBLE_STRONG, shoot(game, run, world) ? 150 : 75);
            world.shootingReset = false;
        }
    } else {
        world.shootingReset = true;
    }

    // While aiming the right stick steers the cursor; otherwise it turns the hero.
    const int rightX = stickDirection(controllerAxis(SDL_CONTROLLER_AXIS_RIGHTX));
    if (rightX == 0) {
        game.tcVx = 0;
    } else if (aiming) {
        game.tcVx = rightX;
    } else {
        player.setDirection(rightX > 0);
    }

    const int rightY = stickDirection(controllerAxis(SDL_CONTROLLER_AXIS_RIGHTY));
    if (rightY == 0) {
        game.tcVy = 0;
    } else if (aiming) {
        game.tcVy = rightY;
    }

    player.setXNormalV(stickDirection(controllerAxis(SDL_CONTROLLER_AXIS_LEFTX)));
}

void buttonPressed(State& game, RunObjects& run) {
    Player& player = run.player;
    if (controllerButtonDown(SDL_CONTROLLER_BUTTON_Y)) {
        player.changeWeapon();
    } else if (controllerButtonDown(SDL_CONTROLLER_BUTTON_B)) {
        player.useAbility(game);
    } else if (controllerButtonDown(SDL_CONTROLLER_BUTTON_START)) {
        game.menu = Menu::pause;
    } else if (controllerButtonDown(SDL_CONTROLLER_BUTTON_X)) {
        if (Weapon* weapon = player.getWeapon()) weapon->forceReload();
    }
}

}  // namespace

void takeHeldInput(State& game, RunObjects& run, World& world, const Uint8* keys) {
    auto held = [keys](SDL_Keycode key) { return keys != nullptr && keys[SDL_GetScancodeFromKey(key)] != 0; };
    // As the key-up rule has it: with both held, left wins.
    auto towards = [](bool negative, bool positive) { return !negative && !positive ? 0 : (negative ? -1 : 1); };

    world.leftMovement = held(SDLK_a);
    world.rightMovement = held(SDLK_d);
    int drive = towards(world.leftMovement, world.rightMovement);
    if (drive == 0) drive = stickDirection(controllerAxis(SDL_CONTROLLER_AXIS_LEFTX));
    run.player.setXNormalV(drive);

    game.tcMovingLeft = held(SDLK_j);
    game.tcMovingRight = held(SDLK_l);
    game.tcMovingUp = held(SDLK_i);
    game.tcMovingDown = held(SDLK_k);
    game.tcVx = towards(game.tcMovingLeft, game.tcMovingRight);
    game.tcVy = towards(game.tcMovingUp, game.tcMovingDown);
    if (game.teleportSelection) {
        if (game.tcVx == 0) game.tcVx = stickDirection(controllerAxis(SDL_CONTROLLER_AXIS_RIGHTX));
        if (game.tcVy == 0) game.tcVy = stickDirection(controllerAxis(SDL_CONTROLLER_AXIS_RIGHTY));
    }

    // A fire key or trigger let go meanwhile fires again at its next press.
    if (!held(SDLK_SPACE) && !triggerPulled()) world.shootingReset = true;
}

bool handleCommonEvent(State& game, const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            game.quit = true;
            return true;
        case SDL_CONTROLLERDEVICEADDED:
            loadController();
            return true;
        case SDL_CONTROLLERDEVICEREMOVED:
            controllerRemoved(event.cdevice.which);
            return true;
        case SDL_KEYDOWN:
            if (!isFullscreenToggle(event.key)) return false;
            if (event.key.repeat == 0) toggleFullscreen();
            return true;
        default:
            return false;
    }
}

bool leavesWindow(const SDL_Event& event) {
    if (event.type != SDL_WINDOWEVENT) return false;
    return event.window.event == SDL_WINDOWEVENT_FOCUS_LOST || event.window.event == SDL_WINDOWEVENT_MINIMIZED;
}

void handlePlayEvent(State& game, RunObjects& run, World& world, const SDL_Event& event) {
    // Play takes every press, repeats too; the gate only learns what is held,
    // for the menu that may come next.
    game.menuGate.admits(event, game.menu, SDL_GetTicks());
    if (handleCommonEvent(game, event)) return;
    switch (event.type) {
        case SDL_KEYDOWN:
            keyDown(game, run, world, event.key.keysym.sym);
            break;
        case SDL_KEYUP:
            keyUp(game, run, world, event.key.keysym.sym);
            break;
        case SDL_CONTROLLERAXISMOTION:
            axisMoved(game, run, world);
            break;
        case SDL_CONTROLLERBUTTONDOWN:
            buttonPressed(game, run);
            break;
        case SDL_WINDOWEVENT:
            // Robots must not fight a player who is looking at another window.
            if (leavesWindow(event)) game.menu = Menu::pause;
            break;
        default:
            break;
    }
}

void handlePlayEvents(State& game, RunObjects& run, World& world) {
    SDL_Event event;
    while (game.menu != Menu::weaponUpgrade && SDL_PollEvent(&event) != 0) {
        handlePlayEvent(game, run, world, event);
    }
}
