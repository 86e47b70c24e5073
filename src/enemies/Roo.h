#pragma once

#include "enemies/Enemy.h"

// The heavy: slow and broad, it takes five hits and shows each one.
class Roo : public Enemy {
public:
    static constexpr int difficulty = 4;
    static constexpr int health = 5;

    explicit Roo(Entity* entity);
    ~Roo() override = default;

    Roo(const Roo&) = default;
    Roo& operator=(const Roo&) = default;

    int getDifficulty() const override { return difficulty; }
    ENEMY_TYPE getType() const override { return roo; }
    float getXVelocity() const override { return static_cast<float>(scale(200)); }
    int getWidth() const override { return scale(36); }
    int getHeight() const override { return scale(50); }
};
