// The bodies of the four plain robot kinds: each sizes its body and loads its
// sprite sheet; their walking is the shared one of Enemy. Roborto, who chases
// the hero, has a file of its own.
#include "Robor.h"
#include "Robro.h"
#include "Romo.h"
#include "Roo.h"

Robor::Robor(Entity* entity) : Enemy(entity) {
    setUpBody(Enemy::getWidth(), Enemy::getHeight(), 8, 16, "robor.png", "Could not load enemy texture!");
}

Robro::Robro(Entity* entity) : Enemy(entity) {
    setUpBody(Robro::getWidth(), Robro::getHeight(), 12, 32, "robro.png", "Could not load robro texture!");
}

Romo::Romo(Entity* entity) : Enemy(entity) {
    setUpBody(Romo::getWidth(), Romo::getHeight(), 20, 13, "romo.png", "Could not load enemy texture!");
}

Roo::Roo(Entity* entity) : Enemy(entity) {
    setUpBody(Roo::getWidth(), Roo::getHeight(), 23, 32, "roo.png", "Could not load enemy texture!");
}
