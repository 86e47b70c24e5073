#pragma once

#include "enemies/Enemy.h"

// The plain walker: the cheapest robot, one hit and it is gone.
class Robor : public Enemy {
public:
    static constexpr int difficulty = 1;
    static constexpr int health = 1;

    explicit Robor(Entity* entity);
    ~Robor() override = default;

    Robor(const Robor&) = default;
    Robor& operator=(const Robor&) = default;

    int getDifficulty() const override { return difficulty; }
};
