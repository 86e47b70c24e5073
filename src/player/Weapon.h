#pragma once

// The five weapons: firing, reloading and the levels bought for them.

#include <SDL.h>

#include <list>

#include "platform/State.h"
#include "world/Bullet.h"
#include "world/Entity.h"
#include "world/Sound.h"
#include "world/Texture.h"

enum Weapon_Type : int { revolver = 0, rifle = 1, shotgun = 2, knife = 3, laserPistol = 4 };

// What the player calls the weapon: "Revolver", "Laser pistol".
const char* weaponName(Weapon_Type type);

// One of the five weapons: its picture beside the hero, magazine (or heat) and
// reload timer, sounds, and the bullets it fires. One object per kind lives for
// the whole run; the hero's slots point at them.
class Weapon {
public:
    Weapon(Weapon_Type type, SDL_Renderer* renderer, State& state);

    Weapon(const Weapon&) = delete;
    Weapon& operator=(const Weapon&) = delete;

    void render(int playerX, int playerY, bool playerDirection) const;
    // Where the barrel ends, for the hero at (playerX, playerY) facing right (true) or left.
    SDL_Point muzzle(int playerX, int playerY, bool playerDirection) const;
    // The shot's flash at the barrel, in the weapon's own colour (nothing for the knife).
    void renderMuzzle(int playerX, int playerY, bool playerDirection) const;
    static constexpr int MUZZLE_SIZE = 30;
    // Advances the reload and returns the reload bar's fill, 0 to 75 (75 = ready).
    int reload(float dt);
    void forceReload();
    // True once after a reload completed; plays the reload sound then.
    bool wasJustReloaded();
    // Fires once from the hero's top-left corner; true when a shot left the weapon.
    bool shoot(std::list<Entity>* eBullets, std::list<Bullet>* bullets, const State& state, bool direction,
               int playerX, int playerY);
    // Takes the numbers of the bought level from the upgrade table.
    void upgrade(const State& state);
    // A full magazine (or no heat), ready to fire.
    void reset();

    Weapon_Type getType() const { return type; }
    bool isReloadable() const { return reloadable; }
    int getBulletsInClip() const { return bulletsInClip; }
    int getClipSize() const { return clipSize; }
    int getDamage() const { return bulletDamage; }
    bool isReloaded() const { return reloaded; }
    int getBulletsPerShot() const { return bulletsPerShot; }
    int getBulletSpeed() const { return bulletSpeed; }
    int getBulletDurability() const { return bulletDurability; }
    int getBulletStrength() const { return bulletStrength; }
    double getReloadSpeed() const { return reloadSpeed; }
    double getCoolFireRate() const { return coolFireRate; }

private:
    SDL_Renderer* renderer;
    Weapon_Type type;
    BULLET_TYPE bulletType = normal;
    int relXRight = 0;
    int relXLeft = 0;
    int relY = 0;
    int bulletRelXRight = 0;
    int bulletRelXLeft = 0;
    int bulletRelY = 0;
    int bulletSpeed = scale(1000);
    int clipSize = 0;
    int bulletDurability = 1;
    int bulletStrength = 1;
    int bulletDamage = 1;
    int bulletsPerShot = 1;
    double coolFireRate = 0.5;
    int bulletsInClip = 0;
    Texture texture;
    Texture muzzleTexture;
    Sound fireSound;
    Sound reloadSound;
    Sound emptySound;
    double reloadSpeed = 0;
    bool reloadable = true;
    bool reloaded = true;
    bool justReloaded = false;
    float timeSinceShot = 0;
};
