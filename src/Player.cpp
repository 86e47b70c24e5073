#include "Player.h"

Player::Player(Entity* entity, Weapon* primaryWeapon)
    : playerEntity(entity), currentWeapon(primaryWeapon), primaryWeapon(primaryWeapon) {
    damageSound.init("resources/sounds/playerDamage.wav", 0, -1);
    entity->setDimensions(playerWidth, playerHeight);
    SDL_Renderer* renderer = entity->getRenderer();
    playerTextureRight.setup(playerWidth, playerHeight, renderer);
    playerTextureLeft.setup(playerWidth, playerHeight, renderer);
    c4Texture.setup(scale(32), scale(32), renderer);
    detinatorTexture.setup(scale(32), scale(32), renderer);
    if (!playerTextureRight.loadFromFile("Zorbi.png")) SDL_Log("Could not load ZorbiRight texture!");
    if (!playerTextureLeft.loadFromFile("ZorbiLeft.png")) SDL_Log("Could not load ZorbiLeft texture!");
    if (!c4Texture.loadFromFile("C4.png")) SDL_Log("Could not load c4 texture!");
    if (!detinatorTexture.loadFromFile("Detinator.png")) SDL_Log("Could not load detinator texture!");

    c4Entity.setTexture(c4Texture);
    c4Entity.setDimensions(scale(32), scale(32));
    c4Entity.setSource(32, 32);
    playerEntity->setTexture(playerTextureLeft);
    playerEntity->setSource(26, 32);
}

void Player::setDirection(bool direction) {
    playerDirection = direction;
    playerEntity->setTexture(direction ? playerTextureRight : playerTextureLeft);
}

void Player::updateWheelRect() {
    const SDL_Rect& body = playerEntity->getRect();
    wheelRect.x = body.x + (body.w - 20) / 2;
    wheelRect.y = body.y + body.h - 20;
}

int Player::move(float dt, const std::list<Platform*>& platforms, State& state) {
    (void)state;
    playerEntity->setXVelocity(static_cast<float>(defaultXSpeed * xNormalVelocity));
    if (c4Placed) c4Entity.move(dt, platforms, nullptr, nullptr);

    int amountFallen = 0;
    const bool inAir = playerEntity->move(dt, platforms, &amountFallen, &wheelRect);
    if (!inAir && invincible) {
        invincible = false;
        charged = false;
    }

    SDL_Rect& body = playerEntity->getRect();
    weaponRect.x = playerDirection ? body.x + scale(40) : body.x - scale(27);
    weaponRect.y = body.y + scale(20);

    // Driving off one side of the window brings the hero in at the other.
    if (body.x >= WINDOW_WIDTH) {
        body.x = -scale(40);
    } else if (body.x < -scale(40)) {
        body.x = WINDOW_WIDTH;
    }
    // Falling out of the bottom of the window costs nothing but the way back up.
    if (body.y > WINDOW_HEIGHT) playerEntity->forceSpawn();

    updateWheelRect();
    playerHitRect = {body.x + scale(12), body.y, body.w - scale(25), body.h};
    return amountFallen;
}

void Player::render() const {
    const SDL_Rect& body = playerEntity->getRect();
    if (c4Placed) c4Entity.render(0, 0, false);
    playerEntity->render(0, 0, false);
    if (c4Placed) {
        if (playerDirection) {
            detinatorTexture.render(body.x + scale(35), body.y + scale(12));
        } else {
            detinatorTexture.render(body.x - scale(17), body.y + scale(12), SDL_FLIP_HORIZONTAL);
        }
    }
}
