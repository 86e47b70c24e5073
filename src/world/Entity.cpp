#include "world/Entity.h"

#include <cstdlib>

#include "platform/GlobalConstants.h"

Entity::Entity(std::vector<Spawn>* _spawns, SDL_Renderer* renderer, int _hp)
    : hp(_hp), spawns(_spawns), gameRender(renderer) {}

Entity::Entity(int x, int y, int Vx, int Vy, SDL_Renderer* renderer)
    : xVelocity(static_cast<float>(Vx)), yVelocity(static_cast<float>(Vy)), entityRect{x, y, 0, 0},
      gameRender(renderer) {}

void Entity::setPosition(int x, int y) {
    entityRect.x = x;
    entityRect.y = y;
}

void Entity::setDimensions(int w, int h) {
    entityRect.w = w;
    entityRect.h = h;
}

void Entity::setSource(int w, int h) {
    srcWidth = w;
    srcHeight = h;
}

void Entity::setPhysics(int x, int y, int Vx, int Vy) {
    setPosition(x, y);
    xVelocity = static_cast<float>(Vx);
    yVelocity = static_cast<float>(Vy);
}

void Entity::placeAt(Spawn& point) {
    offPlatform = false;
    spawned = true;
    const SDL_Rect& area = point.getRect();
    entityRect.x = area.x;
    entityRect.y = area.y + area.h - entityRect.h;
    yVelocity = 0;
    point.setOccupied(true);
}

void Entity::spawn(bool spawnOnScreen) {
    if (spawns == nullptr || spawns->empty()) return;
    Spawn& point = (*spawns)[static_cast<std::size_t>(std::rand()) % spawns->size()];
    if (point.getOccupied() || (spawnOnScreen && !point.isOnScreen())) return;
    placeAt(point);
}

void Entity::forceSpawn() {
    if (spawns == nullptr || spawns->empty()) return;
    placeAt(spawns->front());
}

void Entity::despawn() {
    spawned = false;
    justSpawned = true;
    setPosition(-1000, -1000);
}

bool Entity::isColliding(const SDL_Rect& a, const SDL_Rect& b) {
    return !(a.y + a.h < b.y || a.y > b.y + b.h || a.x + a.w < b.x || a.x > b.x + b.w);
}

Platform* Entity::onPlatform(const std::list<Platform*>& platforms, const SDL_Rect& movementBox) const {
    const int bottom = entityRect.y + entityRect.h;
    for (Platform* platform : platforms) {
        const SDL_Rect& box = platform->getPlatformRect();
        if (box.y >= bottom && isColliding(box, movementBox)) return platform;
    }
    return nullptr;
}

bool Entity::move(float dt, const std::list<Platform*>& platforms, int* amountFallen, SDL_Rect* movementHitBox) {
    const int startY = entityRect.y;
    entityRect.x = static_cast<int>(static_cast<float>(entityRect.x) + xVelocity * dt);
    const float nextYPosition = static_cast<float>(entityRect.y) + yVelocity * dt;
    offPlatform = true;

    // The area the body sweeps this step: its own height stretched by the fall.
    SDL_Rect movementBox = entityRect;
    if (movementHitBox != nullptr) {
        movementBox.x = movementHitBox->x;
        movementBox.w = movementHitBox->w;
    }
    movementBox.h = static_cast<int>(nextYPosition - static_cast<float>(entityRect.y) + static_cast<float>(entityRect.h));

    if (Platform* platform = onPlatform(platforms, movementBox)) {
        offPlatform = false;
        entityRect.y = platform->getPlatformRect().y - entityRect.h;
        yVelocity = 0;
    } else {
        entityRect.y = static_cast<int>(nextYPosition);
        if (yVelocity <= static_cast<float>(scale(550))) yVelocity += ACCELERATION * dt;
    }

    if (amountFallen != nullptr) *amountFallen = startY - entityRect.y;
    return offPlatform;
}

bool Entity::damage(int damageAmount) {
    hp -= damageAmount;
    if (hp <= 0) {
        alive = false;
        return true;
    }
    return false;
}

void Entity::render(int spriteX, int spriteY, bool faceVelocity) const {
    const SDL_Rect source{spriteX * srcWidth, spriteY * srcHeight, srcWidth, srcHeight};
    const SDL_RendererFlip flip = (faceVelocity && xVelocity < 0) ? SDL_FLIP_HORIZONTAL : SDL_FLIP_NONE;
    entityTexture.render(entityRect.x, entityRect.y, flip, &source);
}

void Entity::renderFlash(int spriteX, int spriteY, bool faceVelocity, SDL_Color colour) const {
    const SDL_Rect source{spriteX * srcWidth, spriteY * srcHeight, srcWidth, srcHeight};
    const SDL_RendererFlip flip = (faceVelocity && xVelocity < 0) ? SDL_FLIP_HORIZONTAL : SDL_FLIP_NONE;
    entityTexture.renderSilhouette(entityRect.x, entityRect.y, colour, flip, &source);
}
