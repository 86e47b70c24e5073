#pragma once

// The hero and what the shop's levels make of him.

#include <SDL.h>

#include <list>

#include "platform/GlobalConstants.h"
#include "platform/State.h"
#include "world/Entity.h"
#include "world/Platform.h"
#include "world/Sound.h"
#include "world/Texture.h"

class Weapon;

enum Ability : int { bounce = 0, teleport = 1, c4 = 2, grenade = 3, none = 4 };

enum PlayerUpgrades : int { armor = 0, shield = 1, speed = 2, dodge = 3 };

// What the player calls them: "C4 charge", "Shield charge".
const char* abilityName(Ability ability);
const char* playerUpgradeName(PlayerUpgrades upgrade);

// The hero: a wheeled robot driving over the platforms. Wraps one body that the
// game keeps for the whole run, and owns his pictures and the C4 charge.
class Player {
public:
    Player(Entity* entity, Weapon* primaryWeapon);

    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // One movement step; returns how far the body rose this step (negative when falling).
    int move(float dt, const std::list<Platform*>& platforms, State& state);
    void render() const;

    void setDirection(bool direction);
    bool getDirection() const { return playerDirection; }
    void setXNormalV(int vx) { xNormalVelocity = vx; }
    int getXNormalV() const { return xNormalVelocity; }

    // One hit through armour and shield; true when it killed the hero (who is
    // then already refilled to full health).
    bool damage(State& state);
    // Combo step and shield charge for a kill.
    void killEnemy(State& state);
    void changeXP(int _xp) { xp += _xp; }
    int getXP() const { return xp; }
    int getCombo() const { return combo; }
    void zeroCombo() { combo = 0; }
    void fullHealth() { health = maxHealth; }
    void fillShield() { shield = maxShield; }
    double getHealthPercentage() const { return static_cast<double>(health) / maxHealth; }
    double getShieldPercentage() const { return shield / maxShield; }
    int getHealth() const { return health; }
    double getShield() const { return shield; }

    void setPrimaryWeapon(Weapon* weapon) { primaryWeapon = weapon; }
    // Fills the second slot and puts the primary weapon in hand.
    void setSecondaryWeapon(Weapon* weapon);
    Weapon* getPrimaryWeapon() const { return primaryWeapon; }
    Weapon* getSecondaryWeapon() const { return secondaryWeapon; }
    Weapon* getWeapon() const { return currentWeapon; }
    void changeWeapon();

    // Back to the start of a run: health, shield, XP, no ability, the revolver alone.
    void reset(State& state);
    // As he was at a checkpoint: health (1 to full), shield, XP and the ability's charge.
    void restore(int _health, double _shield, int _xp, bool _charged);

    // Recharges the ability once enough kills are counted; returns the ability
    // bar's fill, 0 to 75.
    int charge(State& state);
    // The ability key: detonates a placed C4 charge, or spends the charge.
    void useAbility(State& state);

    Entity* getEntity() const { return playerEntity; }
    Entity* getC4Entity() { return &c4Entity; }
    bool isC4Placed() const { return c4Placed; }
    Ability getAbility() const { return currentAbility; }
    void setAbility(Ability ability) { currentAbility = ability; }
    bool isCharged() const { return charged; }
    bool isInvincible() const { return invincible; }
    void setInvincible(bool value) { invincible = value; }
    SDL_Rect getHitRect() const { return playerHitRect; }
    SDL_Rect* getWheelRect() { return &wheelRect; }
    const SDL_Rect& getWeaponRect() const { return weaponRect; }

    // Puts the wheel under the middle of the body (after the body was moved).
    void updateWheelRect();

    const int playerWidth = scale(50);
    const int playerHeight = scale(60);

private:
    bool playerDirection = false;
    Entity* playerEntity;
    SDL_Rect playerHitRect{0, 0, 0, 0};
    SDL_Rect wheelRect{0, 0, scale(13), scale(13)};
    Texture playerTextureRight;
    Texture playerTextureLeft;
    Weapon* currentWeapon;
    Weapon* primaryWeapon;
    Weapon* secondaryWeapon = nullptr;
    Ability currentAbility = none;
    int health = 200;
    const int maxHealth = 200;
    double shield = 0;
    const int maxShield = 200;
    int xp = 0;
    int combo = 0;
    const int defaultXSpeed = scale(300);
    int xNormalVelocity = 0;
    bool charged = true;
    bool invincible = false;
    SDL_Rect weaponRect{0, 0, scale(42), scale(10)};
    Entity c4Entity;
    Texture c4Texture;
    Texture detinatorTexture;
    bool c4Placed = false;
    Sound damageSound;
};

// The kills an ability needs to recharge at its bought level; 0 for none.
int killsToRecharge(const State& state, Ability ability);
