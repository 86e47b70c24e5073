#pragma once

#include <list>

#include "enemies/Enemy.h"

// The chaser: while it stands on a platform it picks, every frame, the side
// from which a way down through the gaps leads to the hero's row. It cannot
// climb; with no way to the hero it makes for the nearer end of its platform.
class Roborto : public Enemy {
public:
    static constexpr int difficulty = 2;
    static constexpr int health = 2;

    // A weight at or above this means no way to the hero starts on that side.
    static constexpr int NO_WAY = 1000;

    explicit Roborto(Entity* entity);
    ~Roborto() override = default;

    Roborto(const Roborto&) = default;
    Roborto& operator=(const Roborto&) = default;

    void move(float dt, const std::list<Platform*>& platforms, State& state) override;
    int getDifficulty() const override { return difficulty; }
    ENEMY_TYPE getType() const override { return roborto; }
    int getWidth() const override { return scale(28); }
    int getHeight() const override { return scale(50); }

    // Costs of walking left and right from map cell (x, y) to the hero's row:
    // tiles walked to the gaps on the way down, the last stretch along the
    // hero's row free. firstCall measures the hero's side in pixels from this
    // robot's body; deeper calls compare columns.
    void pathFind(int x, int y, int& leftWeight, int& rightWeight, const State& state, bool firstCall) const;
};
