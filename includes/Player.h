#pragma once

#include <SDL.h>

#include <list>

#include "Entity.h"
#include "GlobalConstants.h"
#include "Platform.h"
#include "Sound.h"
#include "State.h"
#include "Texture.h"

class Weapon;

enum Ability : int { bounce = 0, teleport = 1, c4 = 2, grenade = 3, none = 4 };

enum PlayerUpgrades : int { armor = 0, shield = 1, speed = 2, dodge = 3 };

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

    Entity* getEntity() const { return playerEntity; }
    Entity* getC4Entity() { return &c4Entity; }
    SDL_Rect getHitRect() const { return playerHitRect; }
    SDL_Rect* getWheelRect() { return &wheelRect; }
    const SDL_Rect& getWeaponRect() const { return weaponRect; }
    Weapon* getWeapon() const { return currentWeapon; }
    bool isC4Placed() const { return c4Placed; }

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
