#include "State.h"

static int* weightRowFor(const State& from, State& to) {
    return from.currentWeight == from.standardWeight ? to.standardWeight : from.currentWeight;
}

State::State(const State& other) : StateFields(other), currentWeight(weightRowFor(other, *this)) {}

State& State::operator=(const State& other) {
    if (this != &other) {
        StateFields::operator=(other);
        currentWeight = weightRowFor(other, *this);
    }
    return *this;
}
