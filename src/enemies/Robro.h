#pragma once

#include "enemies/Enemy.h"

// A slim, quicker walker.
class Robro : public Enemy {
public:
    static constexpr int difficulty = 2;
    static constexpr int health = 1;

    explicit Robro(Entity* entity);
    ~Robro() override = default;

    Robro(const Robro&) = default;
    Robro& operator=(const Robro&) = default;

    int getDifficulty() const override { return difficulty; }
    ENEMY_TYPE getType() const override { return robro; }
    float getXVelocity() const override { return static_cast<float>(scale(300)); }
    int getWidth() const override { return scale(19); }
    int getHeight() const override { return scale(50); }
};
