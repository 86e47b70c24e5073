#include <gtest/gtest.h>

#include <list>
#include <memory>
#include <vector>

#include "TestSupport.h"
#include "player/Player.h"
#include "player/Weapon.h"

namespace {
// The hero with his body, two weapons and one platform to stand on, on a software canvas.
class HeroTest : public ::testing::Test {
protected:
    HeroTest()
        : revolverGun(revolver, canvas.renderer, local),
          rifleGun(rifle, canvas.renderer, local),
          body(&spawns, canvas.renderer, 10) {
        spawns.emplace_back(scale(80 * 3 - 25), scale(80 * 2 + 3), 75, 90, 1);
        ground.emplace_back(80 * 3, 80 * 2 + 63, canvas.renderer);  // {360, 334, 120, 25}
        for (Platform& p : ground) platforms.push_back(&p);
        hero = std::make_unique<Player>(&body, &revolverGun);
        body.forceSpawn();
        hero->updateWheelRect();
    }

    SDL_Rect& rect() { return body.getRect(); }

    Canvas canvas;
    State local;
    Weapon revolverGun;
    Weapon rifleGun;
    std::vector<Spawn> spawns;
    std::list<Platform> ground;
    std::list<Platform*> platforms;
    Entity body;
    std::unique_ptr<Player> hero;
};
}  // namespace

TEST_F(HeroTest, DrivesAtItsSpeedWithTheSpeedUpgrade) {
    hero->setXNormalV(1);
    const int x = rect().x;
    hero->move(0.1f, platforms, local);
    EXPECT_EQ(rect().x, x + 45);  // 450 px/s
    EXPECT_FALSE(body.isOffPlatform());

    local.playerLevels[speed] = 3;  // +30 %
    hero->setXNormalV(-1);
    const int before = rect().x;
    hero->move(0.1f, platforms, local);
    EXPECT_FLOAT_EQ(body.getXVelocity(), -585.0f);
    EXPECT_EQ(rect().x, static_cast<int>(static_cast<float>(before) - 58.5f));
}

TEST_F(HeroTest, WrapsAroundTheWindowSides) {
    rect().y = 100;  // in the air, nothing below matters here
    rect().x = 1200;
    hero->move(0.0f, platforms, local);
    EXPECT_EQ(rect().x, -60);
    rect().x = -61;
    hero->move(0.0f, platforms, local);
    EXPECT_EQ(rect().x, 1200);
    rect().x = -60;
    hero->move(0.0f, platforms, local);
    EXPECT_EQ(rect().x, -60);
}

TEST_F(HeroTest, TheWheelDecidesLandingAndFallingOutRespawns) {
    // The body still overlaps the platform's end, but the wheel under its middle does not.
    rect().x = 360 + 120 - 20;  // wheel at 487, past the platform's end at 480
    hero->updateWheelRect();
    hero->move(0.016f, platforms, local);
    EXPECT_TRUE(body.isOffPlatform());
    EXPECT_EQ(hero->getWheelRect()->x, rect().x + 27);
    EXPECT_EQ(hero->getWheelRect()->y, rect().y + 70);
    const SDL_Rect hit = hero->getHitRect();
    EXPECT_EQ(hit.x, rect().x + 18);
    EXPECT_EQ(hit.w, 38);
    EXPECT_EQ(hit.h, 90);

    rect().y = 721;
    hero->move(0.0f, platforms, local);
    EXPECT_EQ(rect().x, spawns[0].getX());  // back on the first player spawn
    EXPECT_EQ(rect().y + rect().h, 334);
}

TEST_F(HeroTest, KnifeReachFollowsTheFacing) {
    hero->setDirection(true);
    hero->move(0.0f, platforms, local);
    EXPECT_EQ(hero->getWeaponRect().x, rect().x + 60);
    EXPECT_EQ(hero->getWeaponRect().y, rect().y + 30);
    EXPECT_EQ(hero->getWeaponRect().w, 63);
    hero->setDirection(false);
    hero->move(0.0f, platforms, local);
    EXPECT_EQ(hero->getWeaponRect().x, rect().x - 40);
}

TEST_F(HeroTest, HitsGoThroughArmourAndShieldBeforeHealth) {
    hero->fillShield();
    EXPECT_FALSE(hero->damage(local));
    EXPECT_DOUBLE_EQ(hero->getShield(), 150);
    EXPECT_EQ(hero->getHealth(), 200);

    hero->reset(local);  // shield 0
    hero->changeXP(30);
    for (int i = 0; i < 3; ++i) hero->killEnemy(local);  // shield 1 + 2 + 3 = 6
    hero->zeroCombo();
    EXPECT_FALSE(hero->damage(local));  // 6 - 50: 44 comes off health
    EXPECT_EQ(hero->getHealth(), 156);
    EXPECT_DOUBLE_EQ(hero->getShield(), 0);

    local.playerLevels[armor] = 2;  // 20 % off: hits of 40
    EXPECT_FALSE(hero->damage(local));
    EXPECT_EQ(hero->getHealth(), 116);
    local.playerLevels[armor] = 5;  // hits of 25
    EXPECT_FALSE(hero->damage(local));
    EXPECT_EQ(hero->getHealth(), 91);
}

TEST_F(HeroTest, DeathRefillsHealthAndEndsTheCombo) {
    hero->killEnemy(local);
    for (int i = 0; i < 3; ++i) hero->damage(local);  // 1 shield, then 49 + 50 + 50 off health
    EXPECT_EQ(hero->getHealth(), 51);
    EXPECT_FALSE(hero->damage(local));
    EXPECT_EQ(hero->getHealth(), 1);
    EXPECT_EQ(hero->getCombo(), 1);
    EXPECT_TRUE(hero->damage(local));  // would be -49
    EXPECT_EQ(hero->getHealth(), 200);
    EXPECT_EQ(hero->getCombo(), 0);
}

TEST_F(HeroTest, KillsChargeTheShieldUpToItsMaximum) {
    for (int i = 0; i < 19; ++i) hero->killEnemy(local);
    EXPECT_DOUBLE_EQ(hero->getShield(), 190);
    hero->killEnemy(local);
    EXPECT_DOUBLE_EQ(hero->getShield(), 200);

    hero->reset(local);
    hero->zeroCombo();
    local.playerLevels[PlayerUpgrades::shield] = 5;  // x2.5
    hero->killEnemy(local);
    hero->killEnemy(local);
    EXPECT_DOUBLE_EQ(hero->getShield(), 7.5);
}

TEST_F(HeroTest, WeaponSlotsAndSwitching) {
    EXPECT_EQ(hero->getWeapon(), &revolverGun);
    hero->changeWeapon();  // no second weapon: stays
    EXPECT_EQ(hero->getWeapon(), &revolverGun);
    hero->setSecondaryWeapon(&rifleGun);
    hero->changeWeapon();
    EXPECT_EQ(hero->getWeapon(), &rifleGun);
    hero->setSecondaryWeapon(&rifleGun);  // refitting puts the primary in hand
    EXPECT_EQ(hero->getWeapon(), &revolverGun);
    hero->changeWeapon();
    hero->changeWeapon();
    EXPECT_EQ(hero->getWeapon(), &revolverGun);
}

TEST_F(HeroTest, ResetStartsARunButKeepsTheCharge) {
    hero->changeXP(99);
    hero->fillShield();
    hero->setAbility(c4);
    local.weapon1 = 2;
    local.weapon2 = 3;
    local.abilitiesKills = 7;
    hero->reset(local);
    EXPECT_EQ(hero->getXP(), 0);
    EXPECT_DOUBLE_EQ(hero->getShield(), 0);
    EXPECT_EQ(hero->getHealth(), 200);
    EXPECT_EQ(hero->getAbility(), none);
    EXPECT_EQ(local.weapon1, 0);
    EXPECT_EQ(local.weapon2, -1);
    EXPECT_EQ(local.abilitiesKills, 0);
    EXPECT_TRUE(hero->isCharged());
}

TEST_F(HeroTest, AbilityChargesByKillsAndBarShowsProgress) {
    hero->setAbility(bounce);
    local.abilityLevels[bounce] = 1;  // ten kills
    EXPECT_EQ(hero->charge(local), 75);  // charged from the start
    hero->useAbility(local);
    EXPECT_FALSE(hero->isCharged());
    std::vector<int> bar;
    for (int kills = 0; kills < 10; ++kills) {
        local.abilitiesKills = kills;
        bar.push_back(hero->charge(local));
    }
    EXPECT_EQ(bar, (std::vector<int>{0, 7, 15, 22, 30, 37, 45, 52, 60, 67}));
    local.abilitiesKills = 10;
    EXPECT_EQ(hero->charge(local), 75);
    EXPECT_TRUE(hero->isCharged());
    EXPECT_EQ(local.abilitiesKills, 0);

    // Without an ability nothing changes.
    hero->setAbility(none);
    local.abilitiesKills = 50;
    EXPECT_EQ(hero->charge(local), 75);
    EXPECT_EQ(local.abilitiesKills, 50);
}

TEST_F(HeroTest, C4IsPlacedAtTheFeetThenDetonatedByTheNextUse) {
    hero->setAbility(c4);
    local.abilityLevels[c4] = 1;
    hero->useAbility(local);
    EXPECT_TRUE(hero->isC4Placed());
    EXPECT_TRUE(local.c4Placed);
    EXPECT_FALSE(hero->isCharged());
    const SDL_Rect charge = hero->getC4Entity()->getRect();
    EXPECT_EQ(charge.x, rect().x);
    EXPECT_EQ(charge.y + 48, rect().y + rect().h);

    hero->setAbility(teleport);  // switching abilities still leaves the detonator in hand
    hero->useAbility(local);
    EXPECT_FALSE(hero->isC4Placed());
    EXPECT_FALSE(local.c4Placed);
    EXPECT_TRUE(local.c4Exploded);
    EXPECT_FALSE(local.teleportSelection);

    // Uncharged and nothing placed: nothing happens.
    local.c4Exploded = false;
    hero->useAbility(local);
    EXPECT_FALSE(local.teleportSelection);
    EXPECT_FALSE(local.c4Exploded);
}

TEST_F(HeroTest, TeleportStartsAimingAtTheHero) {
    hero->setAbility(teleport);
    hero->useAbility(local);
    EXPECT_TRUE(local.teleportSelection);
    EXPECT_EQ(local.teleportCursorX, rect().x);
    EXPECT_EQ(local.teleportCursorY, rect().y);
    EXPECT_GT(local.startSelection, 0.0f);
}

TEST_F(HeroTest, BounceLandingEndsInvincibility) {
    hero->setInvincible(true);
    hero->move(0.016f, platforms, local);  // resting on the platform: lands
    EXPECT_FALSE(hero->isInvincible());
    EXPECT_FALSE(hero->isCharged());
}
