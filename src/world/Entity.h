#pragma once

#include <SDL.h>

#include <list>
#include <vector>

#include "world/Platform.h"
#include "world/Spawn.h"
#include "world/Texture.h"

// The one physical body of the game: a rectangle in window pixels with a
// velocity, hit points, a sprite sheet and the spawn points it may enter at.
// The hero, every robot, every bullet and the C4 charge each use one.
class Entity {
public:
    Entity() = default;
    Entity(std::vector<Spawn>* spawns, SDL_Renderer* renderer, int hp);
    Entity(int x, int y, int Vx, int Vy, SDL_Renderer* renderer);

    void setPosition(int x, int y);
    void setXVelocity(float v) { xVelocity = v; }
    void setYVelocity(float v) { yVelocity = v; }
    void setDimensions(int w, int h);
    void setSource(int w, int h);
    void setPhysics(int x, int y, int Vx, int Vy);
    // Draws with another holder's image at the size that holder set up.
    void setTexture(const Texture& texture) { entityTexture = texture; }

    SDL_Rect& getRect() { return entityRect; }
    const SDL_Rect& getRect() const { return entityRect; }
    Texture* getTexture() { return &entityTexture; }
    float getXVelocity() const { return xVelocity; }
    float getYVelocity() const { return yVelocity; }
    SDL_Renderer* getRenderer() const { return gameRender; }
    int getHP() const { return hp; }
    bool isAlive() const { return alive; }
    bool isSpawned() const { return spawned; }
    bool isOffPlatform() const { return offPlatform; }

    // One random attempt to enter at a free spawn point (on screen, if asked).
    void spawn(bool spawnOnScreen);
    // Enters at the first spawn point whatever its state.
    void forceSpawn();
    void despawn();

    // One physics step; returns true when the body did not land on a platform.
    bool move(float dt, const std::list<Platform*>& platforms, int* amountFallen, SDL_Rect* movementHitBox);

    // Edge-inclusive overlap: touching edges and corners count.
    static bool isColliding(const SDL_Rect& rectA, const SDL_Rect& rectB);

    // Returns true when this hit brought the hit points to 0 or below.
    bool damage(int damageAmount);

    void render(int spriteX, int spriteY, bool faceVelocity) const;
    // The same frame of the sheet in one flat colour, over the body: a hit's flash.
    void renderFlash(int spriteX, int spriteY, bool faceVelocity, SDL_Color colour) const;

    // A hit's flash shows until this tick (ms): drawing only, no rule reads it.
    Uint32 flashUntil = 0;

    bool justSpawned = true;
    float xVelocity = 0;
    float yVelocity = 0;
    int srcWidth = 0;
    int srcHeight = 0;
    bool alive = true;
    int hp = 1;
    Texture entityTexture;
    bool offPlatform = false;
    std::vector<Spawn>* spawns = nullptr;
    bool spawned = false;
    SDL_Rect entityRect{-150, -150, 0, 0};
    SDL_Renderer* gameRender = nullptr;

private:
    Platform* onPlatform(const std::list<Platform*>& platforms, const SDL_Rect& movementBox) const;
    void placeAt(Spawn& point);
};
