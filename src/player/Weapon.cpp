#include "player/Weapon.h"

#include <algorithm>
#include <iterator>
#include <string>

#include "platform/Resources.h"

namespace {

// How a kind looks and sounds: picture, offsets from the hero's top-left corner, sounds.
struct WeaponLook {
    const char* picture;
    int width;
    int height;
    int relXRight;
    int relXLeft;
    int relY;
    int bulletRelXRight;
    int bulletRelXLeft;
    int bulletRelY;
    const char* soundPrefix;  // null: the kind makes no sound
    const char* loadFailure;
    const char* muzzle;  // the flash of a shot; null: the kind fires nothing
};

// Sizes and offsets are authored in design units; the left offsets are the negated scaled figures.
const WeaponLook REVOLVER_LOOK{.picture = "Revolver.png", .width = scale(42), .height = scale(21),
                               .relXRight = scale(40), .relXLeft = -scale(27), .relY = scale(15),
                               .bulletRelXRight = scale(19), .bulletRelXLeft = 0, .bulletRelY = scale(19),
                               .soundPrefix = "revolver", .loadFailure = "Could not load revolver texture!",
                               .muzzle = "muzzle-revolver.png"};
const WeaponLook RIFLE_LOOK{.picture = "rifle.png", .width = scale(64), .height = scale(24),
                            .relXRight = scale(20), .relXLeft = -scale(30), .relY = scale(15),
                            .bulletRelXRight = scale(19), .bulletRelXLeft = 0, .bulletRelY = scale(19),
                            .soundPrefix = "revolver", .loadFailure = "Could not load rifle texture!",
                            .muzzle = "muzzle-rifle.png"};
const WeaponLook SHOTGUN_LOOK{.picture = "shotgun.png", .width = scale(42), .height = scale(13.5),
                              .relXRight = scale(28), .relXLeft = -scale(26), .relY = scale(18),
                              .bulletRelXRight = scale(19), .bulletRelXLeft = 0, .bulletRelY = scale(19),
                              .soundPrefix = "revolver", .loadFailure = "Could not load shotgun texture!",
                              .muzzle = "muzzle-shotgun.png"};
const WeaponLook KNIFE_LOOK{.picture = "knife.png", .width = scale(42), .height = scale(21),
                            .relXRight = scale(40), .relXLeft = -scale(27), .relY = scale(15),
                            .bulletRelXRight = 0, .bulletRelXLeft = 0, .bulletRelY = 0,
                            .soundPrefix = nullptr, .loadFailure = "Could not load knife texture!", .muzzle = nullptr};
const WeaponLook LASER_PISTOL_LOOK{.picture = "laserPistol.png", .width = scale(42), .height = scale(21),
                                   .relXRight = scale(30), .relXLeft = -scale(22), .relY = scale(12),
                                   .bulletRelXRight = scale(30), .bulletRelXLeft = 0, .bulletRelY = scale(17),
                                   .soundPrefix = "laserPistol", .loadFailure = "Could not load laserPistol texture!",
                                   .muzzle = "muzzle-laser-pistol.png"};

const WeaponLook& lookOf(Weapon_Type type) {
    switch (type) {
        case rifle: return RIFLE_LOOK;
        case shotgun: return SHOTGUN_LOOK;
        case knife: return KNIFE_LOOK;
        case laserPistol: return LASER_PISTOL_LOOK;
        default: return REVOLVER_LOOK;
    }
}

}  // namespace

Weapon::Weapon(Weapon_Type _type, SDL_Renderer* _renderer, State& state) : renderer(_renderer), type(_type) {
    upgrade(state);

    const WeaponLook& look = lookOf(_type);
    relXRight = look.relXRight;
    relXLeft = look.relXLeft;
    relY = look.relY;
    bulletRelXRight = look.bulletRelXRight;
    bulletRelXLeft = look.bulletRelXLeft;
    bulletRelY = look.bulletRelY;

    texture.setup(look.width, look.height, _renderer);
    if (!texture.loadFromFile(look.picture)) logOnce(look.loadFailure);
    if (look.muzzle != nullptr) {
        muzzleTexture.setup(MUZZLE_SIZE, MUZZLE_SIZE, _renderer);
        muzzleTexture.loadFromFile(look.muzzle);
    }

    // Every sound is loaded here, once: firing must never read a file.
    if (look.soundPrefix != nullptr) {
        const std::string stem = look.soundPrefix;
        fireSound.init(soundPath(stem + "-shoot.wav"), 0, -1);
        reloadSound.init(soundPath(stem + "-reload.wav"), 0, -1);
        emptySound.init(soundPath(stem + "-empty.wav"), 0, -1);
    }

    if (_type == knife) reloadable = false;
    if (_type == laserPistol) {
        bulletType = laser;
        reloadSpeed = 3;
        // Long enough ago that the first shot adds no heat.
        timeSinceShot = 3;
    }
}

void Weapon::render(int playerX, int playerY, bool playerDirection) const {
    if (playerDirection) {
        texture.render(playerX + relXRight, playerY + relY);
    } else {
        texture.render(playerX + relXLeft, playerY + relY, SDL_FLIP_HORIZONTAL);
    }
}

SDL_Point Weapon::muzzle(int playerX, int playerY, bool playerDirection) const {
    // The front of the gun's picture, a third of the way down: its barrel.
    const int y = playerY + relY + texture.getHeight() / 3;
    if (playerDirection) return {playerX + relXRight + texture.getWidth() - 4, y};
    return {playerX + relXLeft + 4, y};
}

void Weapon::renderMuzzle(int playerX, int playerY, bool playerDirection) const {
    const SDL_Point tip = muzzle(playerX, playerY, playerDirection);
    // The burst blooms forward from the barrel: its core sits a fifth into the picture.
    const int back = MUZZLE_SIZE / 5;
    if (playerDirection) {
        muzzleTexture.render(tip.x - back, tip.y - MUZZLE_SIZE / 2);
    } else {
        muzzleTexture.render(tip.x - MUZZLE_SIZE + back, tip.y - MUZZLE_SIZE / 2, SDL_FLIP_HORIZONTAL);
    }
}

int Weapon::reload(float dt) {
    if (reloaded) {
        timeSinceShot += dt;
        return 75;
    }
    if (timeSinceShot >= reloadSpeed) {
        timeSinceShot = 0;
        reloaded = true;
        bulletsInClip = type == laserPistol ? 0 : clipSize;
        justReloaded = true;
        return 75;
    }
    timeSinceShot += dt;
    return static_cast<int>((1.0 / reloadSpeed) * (75.0 * timeSinceShot) - 2.0);
}

void Weapon::forceReload() {
    timeSinceShot = 0;
    reloaded = false;
    bulletsInClip = 0;
}

bool Weapon::wasJustReloaded() {
    if (!justReloaded) return false;
    justReloaded = false;
    reloadSound.play();
    return true;
}

bool Weapon::shoot(std::list<Entity>* eBullets, std::list<Bullet>* bullets, const State& state, bool direction,
                   int playerX, int playerY) {
    // The hero holds the detonator while a charge is placed, and the knife only stabs.
    if (!reloaded || state.c4Placed || type == knife) {
        emptySound.play();
        return false;
    }
    fireSound.play();

    // The bullets of one shot fan out upward, each a little faster than the one before.
    for (int i = 0; i < bulletsPerShot; ++i) {
        if (direction) {
            eBullets->emplace_back(playerX + bulletRelXRight, playerY + bulletRelY, bulletSpeed + 75 * i, -150 * i,
                                   renderer);
        } else {
            eBullets->emplace_back(playerX + bulletRelXLeft, playerY + bulletRelY, 75 * i - bulletSpeed, -150 * i,
                                   renderer);
        }
        auto body = std::prev(eBullets->end());
        bullets->emplace_back(&*body, bulletType, bulletDurability, bulletStrength, bulletDamage);
        bullets->back().setIterator(body);
    }

    if (type == laserPistol) {
        // Only quick successive shots heat the barrel.
        if (coolFireRate >= timeSinceShot) {
            bulletsInClip += 1;
            if (bulletsInClip >= clipSize) reloaded = false;
        }
    } else {
        bulletsInClip -= 1;
        // An empty magazine (never refilled since construction included) starts the reload.
        if (bulletsInClip <= 0) reloaded = false;
    }

    timeSinceShot = 0;
    return true;
}

void Weapon::upgrade(const State& state) {
    const int row = upgradeRow(weaponLevel(state, type));
    const int kind = (type >= revolver && type <= laserPistol) ? type : revolver;
    const double* c = state.weaponProperties[kind][row];

    switch (type) {
        case knife: bulletDamage = static_cast<int>(c[1]); break;
        case laserPistol:
            coolFireRate = c[1];
            clipSize = static_cast<int>(c[2]);
            reloadSpeed = c[3];
            bulletsInClip = 0;
            break;
        case shotgun:
            clipSize = static_cast<int>(c[1]);
            reloadSpeed = c[2];
            bulletDurability = static_cast<int>(c[3]);
            bulletDamage = static_cast<int>(c[4]);
            bulletsPerShot = static_cast<int>(c[5]);
            break;
        default:
            clipSize = static_cast<int>(c[1]);
            reloadSpeed = c[2];
            bulletDurability = static_cast<int>(c[3]);
            bulletDamage = static_cast<int>(c[4]);
            bulletStrength = static_cast<int>(c[5]);
            break;
    }
}

const char* weaponName(Weapon_Type type) {
    switch (type) {
    case rifle: return "Rifle";
    case shotgun: return "Shotgun";
    case knife: return "Knife";
    case laserPistol: return "Laser pistol";
    default: return "Revolver";
    }
}

void Weapon::reset() {
    timeSinceShot = 0;
    reloaded = true;
    justReloaded = false;
    bulletsInClip = type == laserPistol ? 0 : clipSize;
}
