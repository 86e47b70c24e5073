#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <list>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "platform/State.h"
#include "player/Weapon.h"
#include "world/Bullet.h"
#include "world/Texture.h"

namespace {

// Which of the game's sound files are playing right now, told apart by their samples.
class Speaker {
public:
    Speaker() { Mix_HaltChannel(-1); }
    ~Speaker() { Mix_HaltChannel(-1); }
    Speaker(const Speaker&) = delete;
    Speaker& operator=(const Speaker&) = delete;

    static bool available() { return Mix_QuerySpec(nullptr, nullptr, nullptr) != 0; }
    void quiet() { Mix_HaltChannel(-1); }
    int anything() const { return Mix_Playing(-1); }
    // Channels now playing resources/sounds/<name>.wav.
    int playing(const std::string& name) const {
        Mix_Chunk* reference = Mix_LoadWAV(("resources/sounds/" + name + ".wav").c_str());
        if (reference == nullptr) return -1;
        int count = 0;
        for (int channel = 0; channel < Mix_AllocateChannels(-1); ++channel) {
            if (!Mix_Playing(channel)) continue;
            const Mix_Chunk* chunk = Mix_GetChunk(channel);
            if (chunk != nullptr && chunk->alen == reference->alen &&
                std::memcmp(chunk->abuf, reference->abuf, chunk->alen) == 0)
                ++count;
        }
        Mix_FreeChunk(reference);
        return count;
    }
};

// One weapon with the level's two bullet lists.
class Armoury : public ::testing::Test {
protected:
    Weapon& make(Weapon_Type type) {
        weapons.emplace_back(type, canvas.renderer, state);
        return weapons.back();
    }
    bool fire(Weapon& weapon, bool right = true) {
        return weapon.shoot(&bodies, &bullets, state, right, playerX, playerY);
    }

    Canvas canvas;
    State state;
    std::list<Weapon> weapons;
    std::list<Entity> bodies;
    std::list<Bullet> bullets;
    const int playerX = 300;
    const int playerY = 200;
};

// Read system calls made by this thread so far, or -1 where the kernel does not say.
long readCalls() {
    std::ifstream io("/proc/thread-self/io");
    std::string key;
    long value = 0;
    while (io >> key >> value) {
        if (key == "syscr:") return value;
    }
    return -1;
}

}  // namespace

TEST_F(Armoury, PictureThatCannotBeMadeIsReportedAndTheWeaponStillWorks) {
    LogCapture log;
    std::list<Weapon> orphans;  // no renderer: no picture can be made
    for (Weapon_Type type : {::revolver, ::rifle, ::shotgun, ::knife, laserPistol}) {
        orphans.emplace_back(type, nullptr, state);
    }
    for (const char* kind : {"revolver", "rifle", "shotgun", "knife", "laserPistol"}) {
        EXPECT_EQ(log.count(std::string("Could not load ") + kind + " texture!"), 1) << kind;
    }
    Weapon& revolver = orphans.front();
    revolver.reset();
    EXPECT_TRUE(fire(revolver));
    EXPECT_EQ(bullets.size(), 1u);
}

TEST_F(Armoury, NeverUpgradedRevolverHoldsFourReloadsInThreeSecondsAndHitsForOne) {
    Weapon& revolver = make(::revolver);
    EXPECT_EQ(revolver.getClipSize(), 4);
    EXPECT_DOUBLE_EQ(revolver.getReloadSpeed(), 3.0);
    EXPECT_EQ(revolver.getDamage(), 1);
    EXPECT_EQ(revolver.getBulletDurability(), 1);
    EXPECT_EQ(revolver.getBulletStrength(), 1);
    EXPECT_EQ(revolver.getBulletsPerShot(), 1);
    EXPECT_EQ(revolver.getBulletSpeed(), 1500);
    EXPECT_TRUE(revolver.isReloadable());
    EXPECT_EQ(revolver.getBulletsInClip(), 0);  // filled by reset at the wave start
    revolver.reset();
    EXPECT_EQ(revolver.getBulletsInClip(), 4);
}

TEST_F(Armoury, EachKindReadsItsOwnColumnsOfRowLevelMinusOne) {
    state.currentRevolverLevel = 4;
    state.currentRifleLevel = 5;
    state.currentShotgunLevel = 3;
    state.currentKnifeLevel = 4;
    state.currentLaserPistolLevel = 3;

    Weapon& revolver = make(::revolver);
    EXPECT_EQ(revolver.getClipSize(), 7);
    EXPECT_DOUBLE_EQ(revolver.getReloadSpeed(), 2.0);
    EXPECT_EQ(revolver.getBulletDurability(), 2);
    EXPECT_EQ(revolver.getDamage(), 2);
    EXPECT_EQ(revolver.getBulletStrength(), 1);

    Weapon& rifle = make(::rifle);
    EXPECT_EQ(rifle.getClipSize(), 4);
    EXPECT_DOUBLE_EQ(rifle.getReloadSpeed(), 2.0);
    EXPECT_EQ(rifle.getBulletDurability(), 2);
    EXPECT_EQ(rifle.getDamage(), 5);
    EXPECT_EQ(rifle.getBulletStrength(), 3);
    EXPECT_EQ(rifle.getBulletsPerShot(), 1);

    Weapon& shotgun = make(::shotgun);
    EXPECT_EQ(shotgun.getClipSize(), 2);
    EXPECT_DOUBLE_EQ(shotgun.getReloadSpeed(), 2.0);
    EXPECT_EQ(shotgun.getBulletDurability(), 1);
    EXPECT_EQ(shotgun.getDamage(), 1);
    EXPECT_EQ(shotgun.getBulletsPerShot(), 5);
    EXPECT_EQ(shotgun.getBulletStrength(), 1);  // the shotgun's last column is its bullet count

    EXPECT_EQ(make(::knife).getDamage(), 2);

    Weapon& laser = make(laserPistol);
    EXPECT_DOUBLE_EQ(laser.getCoolFireRate(), 0.4);
    EXPECT_EQ(laser.getClipSize(), 4);
    EXPECT_DOUBLE_EQ(laser.getReloadSpeed(), 3.0);  // a new laser pistol cools off in 3 s until upgraded
    laser.upgrade(state);
    EXPECT_DOUBLE_EQ(laser.getReloadSpeed(), 2.0);
}

TEST_F(Armoury, UnboughtWeaponTakesTheFirstRow) {
    ASSERT_EQ(state.currentRifleLevel, 0);
    Weapon& rifle = make(::rifle);
    EXPECT_EQ(rifle.getClipSize(), 2);
    EXPECT_DOUBLE_EQ(rifle.getReloadSpeed(), 3.0);
    EXPECT_EQ(rifle.getBulletDurability(), 1);
    EXPECT_EQ(rifle.getDamage(), 1);
    EXPECT_EQ(make(::shotgun).getBulletsPerShot(), 3);
    EXPECT_EQ(make(::knife).getDamage(), 1);
    Weapon& laser = make(laserPistol);
    EXPECT_DOUBLE_EQ(laser.getCoolFireRate(), 0.5);
    EXPECT_EQ(laser.getClipSize(), 2);

    // A level bought later is read by the next upgrade, which leaves the magazine alone.
    rifle.reset();
    ASSERT_TRUE(fire(rifle));
    state.currentRifleLevel = 2;
    rifle.upgrade(state);
    EXPECT_EQ(rifle.getDamage(), 2);
    EXPECT_EQ(rifle.getBulletStrength(), 2);
    EXPECT_EQ(rifle.getBulletsInClip(), 1);
}

TEST_F(Armoury, RevolverEmptiesReloadsInThreeSecondsAndReportsTheReloadOnce) {
    Speaker speaker;
    Weapon& revolver = make(::revolver);
    revolver.reset();
    for (int shot = 1; shot <= 4; ++shot) {
        speaker.quiet();
        ASSERT_TRUE(fire(revolver)) << "shot " << shot;
        EXPECT_EQ(revolver.getBulletsInClip(), 4 - shot);
        EXPECT_EQ(bullets.size(), static_cast<std::size_t>(shot));
        if (Speaker::available()) {
            EXPECT_EQ(speaker.playing("revolver-shoot"), 1);
        }
    }
    EXPECT_FALSE(revolver.isReloaded());

    speaker.quiet();
    EXPECT_FALSE(fire(revolver));
    EXPECT_EQ(bullets.size(), 4u);
    EXPECT_EQ(bodies.size(), 4u);
    if (Speaker::available()) {
        EXPECT_EQ(speaker.playing("revolver-empty"), 1);
        EXPECT_EQ(speaker.playing("revolver-shoot"), 0);
    }

    // The bar fills over 3 s; the frame after that the magazine is full again.
    std::vector<int> bar;
    for (int frame = 0; frame < 5; ++frame) {
        bar.push_back(revolver.reload(0.75f));
        if (frame < 4) {
            EXPECT_FALSE(revolver.wasJustReloaded());
        }
    }
    EXPECT_EQ(bar, (std::vector<int>{16, 35, 54, 73, 75}));
    EXPECT_TRUE(revolver.isReloaded());
    EXPECT_EQ(revolver.getBulletsInClip(), 4);

    speaker.quiet();
    EXPECT_TRUE(revolver.wasJustReloaded());
    if (Speaker::available()) {
        EXPECT_EQ(speaker.playing("revolver-reload"), 1);
    }
    speaker.quiet();
    EXPECT_FALSE(revolver.wasJustReloaded());
    if (Speaker::available()) {
        EXPECT_EQ(speaker.anything(), 0);
    }

    for (int frame = 0; frame < 3; ++frame) EXPECT_EQ(revolver.reload(0.75f), 75);
    EXPECT_TRUE(fire(revolver));
}

TEST_F(Armoury, ForcedReloadEmptiesAFullMagazineAndRunsAWholeReload) {
    Weapon& rifle = make(::rifle);  // level 0: two shots, 3 s
    rifle.reset();
    rifle.forceReload();
    EXPECT_EQ(rifle.getBulletsInClip(), 0);
    EXPECT_FALSE(rifle.isReloaded());
    EXPECT_FALSE(fire(rifle));
    EXPECT_TRUE(bullets.empty());
    for (int frame = 0; frame < 5; ++frame) rifle.reload(0.5f);
    EXPECT_FALSE(rifle.isReloaded());  // 2.5 s in
    rifle.reload(0.5f);
    EXPECT_FALSE(rifle.isReloaded());  // 3 s reached, completes on the next frame
    EXPECT_EQ(rifle.reload(0.5f), 75);
    EXPECT_EQ(rifle.getBulletsInClip(), 2);
    EXPECT_TRUE(rifle.wasJustReloaded());
}

TEST_F(Armoury, LaserPistolOverheatsOnlyWhenFiredQuickly) {
    Speaker speaker;
    Weapon& laser = make(laserPistol);  // level 0: 0.5 s, heat buffer 2, 3 s to cool
    ASSERT_TRUE(fire(laser));          // the first shot after making it is slow: no heat
    EXPECT_EQ(laser.getBulletsInClip(), 0);
    laser.reload(0.5f);  // exactly the cool fire rate still counts as quick
    ASSERT_TRUE(fire(laser));
    EXPECT_EQ(laser.getBulletsInClip(), 1);
    laser.reload(0.6f);  // a slow shot neither adds heat nor removes it
    ASSERT_TRUE(fire(laser));
    EXPECT_EQ(laser.getBulletsInClip(), 1);
    laser.reload(0.2f);
    ASSERT_TRUE(fire(laser));
    EXPECT_EQ(laser.getBulletsInClip(), 2);
    EXPECT_FALSE(laser.isReloaded());

    speaker.quiet();
    EXPECT_FALSE(fire(laser));
    EXPECT_EQ(bullets.size(), 4u);
    if (Speaker::available()) {
        EXPECT_EQ(speaker.playing("laserPistol-empty"), 1);
    }

    std::vector<int> bar;
    for (int frame = 0; frame < 5; ++frame) bar.push_back(laser.reload(0.75f));
    EXPECT_EQ(bar, (std::vector<int>{16, 35, 54, 73, 75}));
    EXPECT_EQ(laser.getBulletsInClip(), 0);  // cooled right down
    speaker.quiet();
    EXPECT_TRUE(laser.wasJustReloaded());
    if (Speaker::available()) {
        EXPECT_EQ(speaker.playing("laserPistol-reload"), 1);
    }

    // Shots more than 0.5 s apart never overheat it.
    for (int shot = 0; shot < 10; ++shot) {
        EXPECT_EQ(laser.reload(0.6f), 75);
        ASSERT_TRUE(fire(laser)) << "slow shot " << shot;
    }
    EXPECT_EQ(laser.getBulletsInClip(), 0);
}

TEST_F(Armoury, LaserPistolAtLevelFiveOverheatsOnTheSixthQuickShotAndCoolsInTwoSeconds) {
    state.currentLaserPistolLevel = 5;
    Weapon& laser = make(laserPistol);
    laser.upgrade(state);  // the wave start: upgrade, then reset
    laser.reset();
    EXPECT_DOUBLE_EQ(laser.getCoolFireRate(), 0.3);
    for (int shot = 1; shot <= 6; ++shot) {
        ASSERT_TRUE(fire(laser)) << "shot " << shot;
        EXPECT_EQ(laser.isReloaded(), shot < 6);
        laser.reload(0.25f);
    }
    EXPECT_EQ(laser.getBulletsInClip(), 6);
    EXPECT_FALSE(fire(laser));
    for (int frame = 0; frame < 7; ++frame) laser.reload(0.25f);  // 2 s counted from the overheating shot
    EXPECT_FALSE(laser.isReloaded());
    EXPECT_EQ(laser.reload(0.25f), 75);
    EXPECT_EQ(laser.getBulletsInClip(), 0);
}

TEST_F(Armoury, NoWeaponFiresWhileAChargeIsPlaced) {
    for (Weapon_Type type : {::revolver, ::rifle, ::shotgun, laserPistol}) {
        Weapon& weapon = make(type);
        weapon.reset();
        const int loaded = weapon.getBulletsInClip();
        state.c4Placed = true;
        EXPECT_FALSE(fire(weapon)) << "kind " << type;
        EXPECT_TRUE(bodies.empty());
        EXPECT_TRUE(bullets.empty());
        EXPECT_EQ(weapon.getBulletsInClip(), loaded);
        EXPECT_TRUE(weapon.isReloaded());
        state.c4Placed = false;
        EXPECT_TRUE(fire(weapon)) << "kind " << type;
        bodies.clear();
        bullets.clear();
    }
}

TEST_F(Armoury, KnifeNeverFiresAndMakesNoSound) {
    Speaker speaker;
    state.currentKnifeLevel = 5;
    Weapon& knife = make(::knife);
    knife.reset();
    EXPECT_FALSE(knife.isReloadable());
    EXPECT_EQ(knife.getDamage(), 3);
    for (bool right : {true, false}) EXPECT_FALSE(fire(knife, right));
    EXPECT_TRUE(bodies.empty());
    EXPECT_TRUE(bullets.empty());
    EXPECT_TRUE(knife.isReloaded());
    if (Speaker::available()) {
        EXPECT_EQ(speaker.anything(), 0);
    }
}

TEST_F(Armoury, ShotgunFansItsBulletsUpwardWithSpeedsThatAreNotMirrored) {
    state.currentShotgunLevel = 5;  // seven bullets a shot
    Weapon& shotgun = make(::shotgun);
    shotgun.reset();
    // Bullets already in flight stay where they are.
    bodies.emplace_back(10, 10, 0, 0, canvas.renderer);
    bullets.emplace_back(&bodies.back(), normal, 1, 1, 9);
    bullets.back().setIterator(bodies.begin());

    ASSERT_TRUE(fire(shotgun, true));
    ASSERT_TRUE(fire(shotgun, false));
    ASSERT_EQ(bodies.size(), 15u);
    ASSERT_EQ(bullets.size(), 15u);
    EXPECT_EQ(bullets.front().getDamage(), 9);
    EXPECT_EQ(bodies.front().getRect().x, 10);

    auto body = std::next(bodies.begin());
    auto bullet = std::next(bullets.begin());
    for (int i = 0; i < 14; ++i, ++body, ++bullet) {
        const bool right = i < 7;
        const int n = i % 7;
        EXPECT_EQ(bullet->getIterator(), body) << i;
        EXPECT_EQ(bullet->getEntity(), &*body) << i;
        EXPECT_EQ(body->getRect().x, playerX + (right ? 28 : 0)) << i;
        EXPECT_EQ(body->getRect().y, playerY + 28) << i;
        EXPECT_FLOAT_EQ(body->getXVelocity(), right ? 1500 + 75 * n : 75 * n - 1500) << i;
        EXPECT_FLOAT_EQ(body->getYVelocity(), -150.0f * n) << i;
        EXPECT_EQ(bullet->getType(), normal);
        EXPECT_EQ(body->getRect().w, 9);
    }
}

TEST_F(Armoury, FirstShotgunFiresThreeBulletsRisingAtZero150And300) {
    Weapon& shotgun = make(::shotgun);
    shotgun.reset();
    ASSERT_TRUE(fire(shotgun));
    std::vector<float> rising;
    for (const Entity& body : bodies) rising.push_back(body.getYVelocity());
    EXPECT_EQ(rising, (std::vector<float>{0.0f, -150.0f, -300.0f}));
    EXPECT_EQ(shotgun.getBulletsInClip(), 0);  // one shell in the first shotgun
    EXPECT_FALSE(shotgun.isReloaded());
}

TEST_F(Armoury, EachBulletCarriesTheDamageAndStrengthOfItsWeapon) {
    state.currentRifleLevel = 5;
    state.currentRevolverLevel = 4;
    Weapon& rifle = make(::rifle);
    Weapon& revolver = make(::revolver);
    rifle.reset();
    revolver.reset();
    ASSERT_TRUE(fire(rifle));
    ASSERT_TRUE(fire(revolver, false));
    ASSERT_EQ(bullets.size(), 2u);
    EXPECT_EQ(bullets.front().getDamage(), 5);
    EXPECT_EQ(bullets.front().getStrength(), 3);
    EXPECT_EQ(bullets.back().getDamage(), 2);
    EXPECT_EQ(bullets.back().getStrength(), 1);

    // The damage follows the weapon's level at the moment of firing.
    state.currentRifleLevel = 2;
    rifle.upgrade(state);
    ASSERT_TRUE(fire(rifle));
    EXPECT_EQ(bullets.back().getDamage(), 2);
}

TEST_F(Armoury, LaserPistolFiresBoltsFromItsMuzzle) {
    Weapon& pistol = make(laserPistol);
    ASSERT_TRUE(fire(pistol, true));
    ASSERT_TRUE(fire(pistol, false));
    const Entity& right = bodies.front();
    const Entity& left = bodies.back();
    EXPECT_EQ(bullets.front().getType(), laser);
    EXPECT_EQ(right.getRect().x, playerX + 45);
    EXPECT_EQ(right.getRect().y, playerY + 25);
    EXPECT_EQ(right.getRect().w, 48);
    EXPECT_EQ(right.getRect().h, 6);
    EXPECT_FLOAT_EQ(right.getXVelocity(), 1500.0f);
    EXPECT_EQ(left.getRect().x, playerX);
    EXPECT_FLOAT_EQ(left.getXVelocity(), -1500.0f);
    EXPECT_EQ(bullets.back().getDamage(), 1);
}

TEST_F(Armoury, ShootingOpensNoFileAndDecodesNoImage) {
    Weapon& shotgun = make(::shotgun);
    Weapon& laser = make(laserPistol);
    shotgun.reset();
    ASSERT_TRUE(fire(shotgun));  // the first bullets may decode their pictures
    ASSERT_TRUE(fire(laser));
    bodies.clear();
    bullets.clear();

    const int decoded = decodedImageCount();
    const long quietStart = readCalls();
    const long quietEnd = readCalls();
    if (quietStart < 0) GTEST_SKIP() << "the kernel does not count read calls";
    const long before = readCalls();
    for (int shot = 0; shot < 30; ++shot) {
        shotgun.reset();
        ASSERT_TRUE(fire(shotgun, shot % 2 == 0));
        laser.reset();
        ASSERT_TRUE(fire(laser));
        bodies.clear();  // the last bullet gone: the next one makes its picture anew
        bullets.clear();
    }
    const long after = readCalls();
    EXPECT_EQ(after - before, quietEnd - quietStart);
    EXPECT_EQ(decodedImageCount(), decoded);
}

TEST_F(Armoury, PictureSitsBesideTheHeroAndTurnsWithHim) {
    Weapon& revolver = make(::revolver);
    canvas.clear(0, 0, 0);
    revolver.render(200, 100, true);   // picture at (260, 122), 63 x 31
    revolver.render(700, 400, false);  // picture at (660, 422), mirrored
    auto lit = [&](int x, int y) { return !sameColour(canvas.pixel(x, y), 0, 0, 0, 0); };

    int drawn = 0;
    for (int y = 0; y < 720; ++y) {
        for (int x = 0; x < 1200; ++x) {
            if (!lit(x, y)) continue;
            ++drawn;
            const bool inRight = x >= 260 && x < 260 + 63 && y >= 122 && y < 122 + 31;
            const bool inLeft = x >= 660 && x < 660 + 63 && y >= 422 && y < 422 + 31;
            EXPECT_TRUE(inRight || inLeft) << x << "," << y;
        }
    }
    EXPECT_GT(drawn, 100);

    int matched = 0;
    int total = 0;
    for (int y = 0; y < 31; ++y) {
        for (int x = 0; x < 63; ++x) {
            const SDL_Color a = canvas.pixel(260 + x, 122 + y);
            const SDL_Color b = canvas.pixel(660 + 62 - x, 422 + y);
            ++total;
            matched += sameColour(a, b.r, b.g, b.b, 0) ? 1 : 0;
        }
    }
    // The picture is not symmetric, so only a mirrored copy matches.
    EXPECT_GE(matched, total * 95 / 100);
}
