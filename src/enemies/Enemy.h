#pragma once

// The robots' shared body and walk, and the level-map reads their paths use.

#include <list>

#include "platform/GlobalConstants.h"
#include "platform/State.h"
#include "world/Entity.h"
#include "world/Platform.h"

// The robot kinds. The values index the per-kind arrays of the state record
// (setEnemies, standardWeight), so their order is fixed.
enum ENEMY_TYPE : int { robor = 0, roborto = 1, robro = 2, romo = 3, roo = 4 };

// A robot: the behaviour bound to one body. The body holds the rectangle,
// velocities, hit points and sprite sheet; the enemy never owns it.
class Enemy {
public:
    explicit Enemy(Entity* entity);
    virtual ~Enemy() = default;

    Enemy(const Enemy&) = default;
    Enemy& operator=(const Enemy&) = default;

    // One frame of walking: pick a side on entering, keep going that way, fall
    // off platform ends, wrap around the window sides, leave through the floor.
    virtual void move(float dt, const std::list<Platform*>& platforms, State& state);
    // Cost in a wave's difficulty budget, and the XP a kill is worth.
    virtual int getDifficulty() const { return 1; }
    virtual ENEMY_TYPE getType() const { return robor; }
    // Walking speed in pixels per second; the sign of the body's velocity is the direction.
    virtual float getXVelocity() const { return static_cast<float>(scale(250)); }
    virtual int getWidth() const { return scale(24); }
    virtual int getHeight() const { return scale(50); }

    // One sprite frame per remaining hit point, mirrored while walking left;
    // flat white over it while a hit's flash lasts at tick now (ms).
    void render() const;
    void render(Uint32 now) const;

    Entity* getEntity() const { return entity; }

    // One knife contact deals one hit: the flag holds until the knife lets go.
    void knifeColliding() { knifeCollision = true; }
    void knifeNotColliding() { knifeCollision = false; }
    bool didAlreadyCollide() const { return knifeCollision; }

    // Tiles from startX to the first empty cell of row startY, to the right or
    // the left; -1 when the row is solid up to the end of the map.
    static int findEdgeRight(int startX, int startY, const State& state);
    static int findEdgeLeft(int startX, int startY, const State& state);

    // True when the level map has no platform at the cell; cells outside the map are empty.
    static bool isEmptyCell(int column, int row, const State& state);
    // True when the row lies inside the level map.
    static bool isMapRow(int row, const State& state);

protected:
    // Sizes the body, points its sprite sheet at the kind's image and loads it;
    // a missing image is logged with failureMessage and the robot plays on unseen.
    void setUpBody(int width, int height, int frameWidth, int frameHeight, const char* imageFile,
                   const char* failureMessage);
    // Despawns a body that fell below the level and wraps one that left the window sideways.
    void leaveLevelOrWrap(const State& state);

private:
    bool knifeCollision = false;
    Entity* entity;
};
