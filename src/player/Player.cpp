#include "player/Player.h"

#include "platform/Resources.h"
#include "player/Weapon.h"

namespace {
// A touching robot's hit before armour.
const double BASE_HIT = 50.0;
}

Player::Player(Entity* entity, Weapon* _primaryWeapon)
    : playerEntity(entity), currentWeapon(_primaryWeapon), primaryWeapon(_primaryWeapon) {
    damageSound.init(soundPath("playerDamage.wav"), 0, -1);
    entity->setDimensions(playerWidth, playerHeight);
    SDL_Renderer* renderer = entity->getRenderer();
    playerTextureRight.setup(playerWidth, playerHeight, renderer);
    playerTextureLeft.setup(playerWidth, playerHeight, renderer);
    c4Texture.setup(scale(32), scale(32), renderer);
    detinatorTexture.setup(scale(32), scale(32), renderer);
    if (!playerTextureRight.loadFromFile("Zorbi.png")) SDL_Log("Could not load ZorbiRight texture!");
    if (!playerTextureLeft.loadFromFile("ZorbiLeft.png")) SDL_Log("Could not load ZorbiLeft texture!");
    if (!c4Texture.loadFromFile("C4.png")) SDL_Log("Could not load c4 texture!");
    if (!detinatorTexture.loadFromFile("Detinator.png")) SDL_Log("Could not load detinator texture!");

    c4Entity.setTexture(c4Texture);
    c4Entity.setDimensions(scale(32), scale(32));
    c4Entity.setSource(32, 32);
    playerEntity->setTexture(playerTextureLeft);
    playerEntity->setSource(26, 32);
}

void Player::setDirection(bool direction) {
    playerDirection = direction;
    playerEntity->setTexture(direction ? playerTextureRight : playerTextureLeft);
}

void Player::updateWheelRect() {
    const SDL_Rect& body = playerEntity->getRect();
    wheelRect.x = body.x + (body.w - 20) / 2;
    wheelRect.y = body.y + body.h - 20;
}

int Player::move(float dt, const std::list<Platform*>& platforms, State& state) {
    const int speedIncrease = static_cast<int>(playerUpgradeValue(state, speed, 1, 0) * defaultXSpeed / 100);
    playerEntity->setXVelocity(static_cast<float>((defaultXSpeed + speedIncrease) * xNormalVelocity));
    if (c4Placed) c4Entity.move(dt, platforms, nullptr, nullptr);

    // Landing is decided by the wheel under the middle of the body, as it stood after the last step.
    int amountFallen = 0;
    const bool inAir = playerEntity->move(dt, platforms, &amountFallen, &wheelRect);
    if (!inAir && invincible) {
        invincible = false;
        charged = false;
    }

    SDL_Rect& body = playerEntity->getRect();
    weaponRect.x = playerDirection ? body.x + scale(40) : body.x - scale(27);
    weaponRect.y = body.y + scale(20);

    // Driving off one side of the window brings the hero in at the other.
    if (body.x >= WINDOW_WIDTH) {
        body.x = -scale(40);
    } else if (body.x < -scale(40)) {
        body.x = WINDOW_WIDTH;
    }
    // Falling out of the bottom of the window costs nothing but the way back up.
    if (body.y > WINDOW_HEIGHT) playerEntity->forceSpawn();

    updateWheelRect();
    playerHitRect = {body.x + scale(12), body.y, body.w - scale(25), body.h};
    return amountFallen;
}

void Player::render() const {
    const SDL_Rect& body = playerEntity->getRect();
    if (c4Placed) c4Entity.render(0, 0, false);
    playerEntity->render(0, 0, false);
    if (c4Placed) {
        // The detonator is held instead of the weapon while a charge lies in the level.
        if (playerDirection) {
            detinatorTexture.render(body.x + scale(35), body.y + scale(12));
        } else {
            detinatorTexture.render(body.x - scale(17), body.y + scale(12), SDL_FLIP_HORIZONTAL);
        }
    } else if (currentWeapon != nullptr) {
        currentWeapon->render(body.x, body.y, playerDirection);
    }
}

bool Player::damage(State& state) {
    const double hit = BASE_HIT - BASE_HIT * playerUpgradeValue(state, armor, 1, 0) / 100;
    shield -= hit;
    if (shield <= 0) {
        // What the shield could not absorb comes off health.
        health = static_cast<int>(shield + health);
        if (health <= 0) {
            health = maxHealth;
            combo = 0;
            c4Placed = false;
            return true;
        }
        shield = 0;
    }
    damageSound.play();
    return false;
}

void Player::killEnemy(State& state) {
    combo += 1;
    const double multiplier = playerUpgradeValue(state, PlayerUpgrades::shield, 1, 1.0);
    shield += combo * multiplier;
    if (shield >= maxShield) shield = maxShield;
}

void Player::setSecondaryWeapon(Weapon* weapon) {
    secondaryWeapon = weapon;
    currentWeapon = primaryWeapon;
}

void Player::changeWeapon() {
    if (currentWeapon == primaryWeapon && secondaryWeapon != nullptr) {
        currentWeapon = secondaryWeapon;
    } else if (currentWeapon == secondaryWeapon) {
        currentWeapon = primaryWeapon;
    }
}

void Player::reset(State& state) {
    health = maxHealth;
    shield = 0;
    xp = 0;
    currentAbility = none;
    state.weapon1 = revolver;
    state.weapon2 = -1;
    state.abilitiesKills = 0;
    charge(state);
}

void Player::restore(int _health, double _shield, int _xp, bool _charged) {
    health = _health < 1 ? 1 : (_health > maxHealth ? maxHealth : _health);
    shield = _shield < 0 ? 0 : (_shield > maxShield ? maxShield : _shield);
    xp = _xp;
    charged = _charged;
    combo = 0;
}

int Player::charge(State& state) {
    if (currentAbility == none) return charged ? 75 : 0;
    const int needed = killsToRecharge(state, currentAbility);
    if (state.abilitiesKills >= needed) {
        state.abilitiesKills = 0;
        charged = true;
        return 75;
    }
    if (!charged) return state.abilitiesKills * 75 / needed;
    return 75;
}

void Player::useAbility(State& state) {
    if (c4Placed) {
        state.c4Exploded = true;
        c4Placed = false;
        state.c4Placed = false;
        return;
    }
    // Without an ability the key does nothing: the charge waits for the first one bought.
    if (!charged || currentAbility == none) return;
    const SDL_Rect& body = playerEntity->getRect();
    switch (currentAbility) {
        case teleport:
            state.teleportSelection = !state.teleportSelection;
            state.teleportCursorX = body.x;
            state.teleportCursorY = body.y;
            state.startSelection = static_cast<float>(SDL_GetTicks());
            break;
        case c4:
            c4Entity.setPhysics(body.x, body.y + body.h - scale(32), 0, 0);
            c4Placed = true;
            state.c4Placed = true;
            break;
        default:
            break;
    }
    charged = false;
}

int killsToRecharge(const State& state, Ability ability) {
    if (ability == none) return 0;
    return abilityValue(state, ability, 1);
}

const char* abilityName(Ability ability) {
    switch (ability) {
    case bounce: return "Bounce";
    case teleport: return "Teleport";
    case c4: return "C4 charge";
    case grenade: return "Grenade";
    default: return "";
    }
}

const char* playerUpgradeName(PlayerUpgrades upgrade) {
    switch (upgrade) {
    case shield: return "Shield charge";
    case speed: return "Speed";
    case dodge: return "Dodge";
    default: return "Armor";
    }
}
