#pragma once

#include "enemies/Enemy.h"

// A low, fast crawler: wider than it is tall.
class Romo : public Enemy {
public:
    static constexpr int difficulty = 2;
    static constexpr int health = 1;

    explicit Romo(Entity* entity);
    ~Romo() override = default;

    Romo(const Romo&) = default;
    Romo& operator=(const Romo&) = default;

    int getDifficulty() const override { return difficulty; }
    ENEMY_TYPE getType() const override { return romo; }
    float getXVelocity() const override { return static_cast<float>(scale(400)); }
    int getWidth() const override { return scale(31); }
    int getHeight() const override { return scale(20); }
};
