#pragma once

// Bullets in flight: the hero's shots, their step through the level and their end.

#include <SDL.h>

#include <list>

#include "platform/GlobalConstants.h"
#include "world/Entity.h"
#include "world/Platform.h"

enum BULLET_TYPE : int { normal = 0, laser = 1 };

// A projectile. Its body lives in the level's list of bullet bodies; the bullet
// remembers where, so that both are erased together.
class Bullet {
public:
    Bullet(Entity* entity, BULLET_TYPE type, int durability, int strength, int damage);

    // One step; true when the bullet is spent and must be removed now.
    bool move(float dt, const std::list<Platform*>& platforms, bool developerMode);
    void render() const;

    Entity* getEntity() const { return entity; }
    SDL_Rect getTrailingRect() const { return trailingRect; }
    // Spends one enemy hit; true when none is left.
    bool decreaseStrength();
    // True at the bullet's first hit only: a bullet counts once toward accuracy.
    bool firstHit() {
        const bool first = !hasHit;
        hasHit = true;
        return first;
    }
    int getDamage() const { return damage; }
    BULLET_TYPE getType() const { return type; }
    int getPlatformStatus() const { return platformStatus; }
    int getStrength() const { return strength; }

    void setIterator(std::list<Entity>::iterator it) { iterator = it; }
    std::list<Entity>::iterator getIterator() const { return iterator; }

    const int normalWidth = scale(6);
    const int normalHeight = scale(6);
    const int lazerWidth = scale(32);
    const int lazerHeight = scale(4);

private:
    int durability;
    int damage;
    int strength;
    // 0 = not yet on a platform, 1 = on one, 2 = left one and in the air.
    int platformStatus = 0;
    bool hasHit = false;
    BULLET_TYPE type;
    std::list<Entity>::iterator iterator{};
    SDL_Rect trailingRect{0, 0, 0, 0};
    Entity* entity;
};
