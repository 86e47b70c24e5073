#pragma once

#include <list>
#include <memory>
#include <vector>

#include "enemies/Enemy.h"
#include "platform/State.h"
#include "world/Entity.h"
#include "world/Spawn.h"

// Waves come in blocks of five, composed together when the first of them begins.
const int WAVES_PER_SET = 5;

// The robot kind whose draw band holds `draw` (1 to 100). weights holds the
// bands' cumulative upper bounds in ENEMY_TYPE order; a draw above the last
// bound belongs to no kind and gives -1.
int enemyTypeForDraw(int draw, const int* weights);

// A kind's cost in a wave's difficulty budget, and its hit points when created.
int enemyDifficulty(ENEMY_TYPE type);
int enemyHealth(ENEMY_TYPE type);

// The robot of the given kind bound to the body; sizes and dresses the body.
std::unique_ptr<Enemy> makeEnemy(ENEMY_TYPE type, Entity* body);

// Composes one wave whose difficulties add up to waveNumber, drawing kinds at
// random against the band table of the global state and redrawing whenever a
// kind would overrun the budget. Appends each body to entities and its robot,
// bound to it, to enemies, in the order drawn. Every body enters at one of spawns.
void getWaveEnemyEntities(int waveNumber, std::vector<Spawn>* spawns, std::vector<std::unique_ptr<Entity>>& entities,
                          std::vector<std::unique_ptr<Enemy>>& enemies);

// Index of a wave inside its block of five (0 to 4), for waves from 1.
int waveSetLocation(int waveNumber);
// True for the first wave of a block (1, 6, 11, ...): the block is composed then.
bool startsWaveSet(int waveNumber);

// Replaces the block with the five waves firstWaveNumber to firstWaveNumber + 4:
// entry i of waveSetEEnemies holds the bodies, entry i of waveSetEnemies the
// robots, of wave firstWaveNumber + i. The previous block's robots and bodies
// are destroyed first. Then refreshes the per-kind counts in state.setEnemies.
void composeWaveSet(int firstWaveNumber, std::vector<Spawn>* spawns,
                    std::vector<std::vector<std::unique_ptr<Entity>>>& waveSetEEnemies,
                    std::vector<std::vector<std::unique_ptr<Enemy>>>& waveSetEnemies, State& state);

// Counts the block's robots by kind into state.setEnemies (after zeroing it):
// the preview of the coming five waves that the upgrade shop shows.
void countWaveSetEnemies(const std::vector<std::vector<std::unique_ptr<Enemy>>>& waveSetEnemies, State& state);

// Rebuilds the list of bodies that can cover a spawn point: the wave's robot
// bodies in order, then the hero's.
void collectCharacterEntities(const std::vector<std::unique_ptr<Entity>>& waveBodies, Entity* heroBody,
                              std::list<Entity*>& allCharacterEntities);

// Marks the spawn points that lie wholly inside the window (x strictly inside).
void checkIfSpawnsAreOnScreen(std::vector<Spawn>& enemySpawns);

// Marks each spawn point that any of the bodies touches or overlaps, alive or
// not, spawned or not; clears the mark on every other one.
void checkIfSpawnsOccupied(const std::vector<Spawn*>& allSpawns, const std::list<Entity*>& allCharacterEntities);
