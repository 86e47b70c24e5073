#include "world/Bullet.h"
#include "platform/Resources.h"

#include <algorithm>
#include <cstdlib>

Bullet::Bullet(Entity* _entity, BULLET_TYPE _type, int _durability, int _strength, int _damage)
    : durability(_durability), damage(_damage), strength(_strength), type(_type), entity(_entity) {
    SDL_Renderer* renderer = _entity->getRenderer();
    Texture* texture = _entity->getTexture();
    const bool isLaser = _type == laser;
    const int w = isLaser ? lazerWidth : normalWidth;
    const int h = isLaser ? lazerHeight : normalHeight;
    _entity->setDimensions(w, h);
    texture->setup(w, h, renderer);
    if (isLaser) {
        _entity->setSource(32, 8);
    } else {
        _entity->setSource(4, 4);
    }
    // Decoded once per process by the texture cache, so firing never touches the disk.
    if (!texture->loadFromFile(isLaser ? "laser.png" : "bullet.png")) {
        logOnce("Could not load bullet texture!");
    }
}

bool Bullet::move(float dt, const std::list<Platform*>& platforms, bool developerMode) {
    (void)developerMode;
    SDL_Rect& body = entity->getRect();
    const int oldX = body.x;
    const int oldY = body.y;

    if (type == laser) {
        body.x = static_cast<int>(static_cast<float>(body.x) + entity->getXVelocity() * dt);
    } else {
        const bool landed = !entity->move(dt, platforms, nullptr, nullptr);
        if (landed) {
            // Rolling along the first platform is fine; falling onto another one ends a fragile bullet.
            if (platformStatus == 2 && durability == 1) return true;
            platformStatus = 1;
        } else if (platformStatus == 1) {
            platformStatus = 2;
        }
    }

    trailingRect.x = std::min(oldX, body.x);
    trailingRect.y = std::min(oldY, body.y);
    trailingRect.w = std::abs(body.x - oldX) + body.w;
    trailingRect.h = std::abs(body.y - oldY) + body.h;

    return body.x > WINDOW_WIDTH || body.x < 0;
}

void Bullet::render() const { entity->render(0, 0, false); }

bool Bullet::decreaseStrength() {
    strength -= 1;
    return strength <= 0;
}
