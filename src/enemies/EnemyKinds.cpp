// The bodies of the four plain robot kinds: each sizes its body and loads its
// sprite sheet; their walking is the shared one of Enemy. Roborto, who chases
// the hero, has a file of its own.
#include "enemies/Robor.h"
#include "enemies/Robro.h"
#include "enemies/Romo.h"
#include "enemies/Roo.h"

Robor::Robor(Entity* _entity) : Enemy(_entity) {
    setUpBody(Enemy::getWidth(), Enemy::getHeight(), 8, 16, "robor.png", "Could not load enemy texture!");
}

Robro::Robro(Entity* _entity) : Enemy(_entity) {
    setUpBody(Robro::getWidth(), Robro::getHeight(), 12, 32, "robro.png", "Could not load robro texture!");
}

Romo::Romo(Entity* _entity) : Enemy(_entity) {
    setUpBody(Romo::getWidth(), Romo::getHeight(), 20, 13, "romo.png", "Could not load enemy texture!");
}

Roo::Roo(Entity* _entity) : Enemy(_entity) {
    setUpBody(Roo::getWidth(), Roo::getHeight(), 23, 32, "roo.png", "Could not load enemy texture!");
}
