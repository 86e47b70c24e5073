#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "Combat.h"
#include "Frame.h"
#include "Input.h"
#include "Loop.h"
#include "RobotArrows.h"
#include "TestSupport.h"
#include "Waves.h"

namespace {
// A level built in memory: one long floor on tile row 3 (top at y 454), the
// hero's spawn on it at column 2 and a robot spawn at column 8. Frames run
// with chosen dt and tick values; the wave has started unless a test says not.
class CombatTest : public ::testing::Test, protected TestGame {
protected:
    static constexpr int FLOOR_TOP = 454;

    CombatTest() : TestGame({.interface = false}) {}
    void SetUp() override {
        for (int column = -1; column < 11; ++column) {
            world->ePlatforms.emplace_back(80 * column, 80 * 3 + 63, canvas.renderer);
        }
        for (Platform& p : world->ePlatforms) world->platforms.push_back(&p);
        world->enemySpawns.emplace_back(scale(80 * 7 + 15), scale(80 * 3 + 13), 75, 75, 2);
        run->playerSpawns.emplace_back(scale(80 * 1 - 25), scale(80 * 3 + 3), 75, 90, 1);
        for (Spawn& p : world->enemySpawns) world->allSpawns.push_back(&p);
        for (Spawn& p : run->playerSpawns) world->allSpawns.push_back(&p);
        world->waveSetEEnemies.resize(1);
        world->waveSetEnemies.resize(1);
        run->eZorbi.forceSpawn();
        run->player.updateWheelRect();
        fitWeapons(*run);
        world->inWave = true;
        world->waveNumber = 1;
        world->waveStarted = true;
        world->startWaveLoad = 0;
        state.menu = Menu::notInMenu;
        state.levelHeight = 4 * TILE_SIZE;
        state.levelMap = std::vector<std::vector<int>>(4, std::vector<int>(12, -1));
        state.levelMap[3] = std::vector<int>(12, 0);
    }

    // A robot of the given kind standing on the floor with its left edge at x, already placed.
    Enemy& robot(ENEMY_TYPE type, int x, bool placed = true) {
        auto body = std::make_unique<Entity>(&world->enemySpawns, canvas.renderer, enemyHealth(type));
        auto enemy = makeEnemy(type, body.get());
        if (placed) {
            body->spawned = true;
            body->justSpawned = false;
            body->setPosition(x, FLOOR_TOP - body->getRect().h);
            body->setXVelocity(0);
        }
        world->waveSetEEnemies[0].push_back(std::move(body));
        world->waveSetEnemies[0].push_back(std::move(enemy));
        collectCharacterEntities(world->waveSetEEnemies[0], &run->eZorbi, world->allCharacterEntities);
        return *world->waveSetEnemies[0].back();
    }
    SDL_Rect& hero() { return run->eZorbi.getRect(); }
    void frame(float dt = 0.016f) { runFrame(state, *run, *world, dt, now += 16); }
    void putHeroAt(int x) {
        hero().x = x;
        hero().y = FLOOR_TOP - hero().h;
        run->player.move(0, world->platforms, state);  // refresh wheel, hit and knife rectangles
    }

    Uint32 now = 10000;
};
}  // namespace

TEST_F(CombatTest, RobotPlacedThisFrameDoesNotMoveYet) {
    Enemy& walker = robot(robor, 0, false);
    frame();
    Entity& body = *walker.getEntity();
    ASSERT_TRUE(body.isSpawned());
    const SDL_Rect placed = body.getRect();
    EXPECT_EQ(placed.x, world->enemySpawns[0].getX());
    frame(0.05f);
    EXPECT_NE(body.getRect().x, placed.x);  // walks from the next frame on
}

TEST_F(CombatTest, RobotsHoldStillWhileFrozenOrBeforeTheWaveStarts) {
    Enemy& walker = robot(robor, 700);
    walker.getEntity()->justSpawned = true;
    pauseEnemy = true;
    frame();
    EXPECT_EQ(walker.getEntity()->getRect().x, 700);
    pauseEnemy = false;
    world->waveStarted = false;
    world->startWaveLoad = now;  // a new wave: its first second
    frame();
    EXPECT_EQ(walker.getEntity()->getRect().x, 700);
}

TEST_F(CombatTest, KnifeStrikesOncePerContact) {
    state.currentKnifeLevel = 5;  // 3 damage
    state.weapon1 = knife;
    fitWeapons(*run);
    run->player.setDirection(true);
    putHeroAt(300);
    Enemy& big = robot(roo, 300 + 60);  // inside the knife's reach, beside the hero's hit area
    Entity& body = *big.getEntity();
    ASSERT_FALSE(Entity::isColliding(body.getRect(), run->player.getHitRect()));
    frame(0);
    EXPECT_EQ(body.getHP(), 2);
    frame(0);
    frame(0);
    EXPECT_EQ(body.getHP(), 2);  // still the same contact
    body.setPosition(900, body.getRect().y);
    frame(0);  // out of reach: the knife lets go
    body.setPosition(360, body.getRect().y);
    frame(0);
    EXPECT_FALSE(body.isAlive());
}

TEST_F(CombatTest, DodgeChanceDecidesWhetherATouchHurts) {
    putHeroAt(300);
    for (int i = 0; i < 20; ++i) {
        Enemy& toucher = robot(roo, 310);
        std::srand(static_cast<unsigned>(i));
        frame(0);
        EXPECT_LT(run->player.getHealth(), 200) << "level 0 never dodges";
        EXPECT_EQ(toucher.getEntity()->getHP(), 0);  // the touching robot takes 5
        run->player.fullHealth();
        putHeroAt(300);
    }
    state.playerLevels[dodge] = 1;
    state.playerProperties[dodge][0][1] = 100;
    Enemy& toucher = robot(roo, 310);
    for (int i = 0; i < 5; ++i) {
        toucher.getEntity()->hp = 5;
        toucher.getEntity()->alive = true;
        frame(0);
        EXPECT_EQ(run->player.getHealth(), 200);
        EXPECT_FALSE(toucher.getEntity()->isAlive());  // dodged, and still hurt by the touch
    }
}

TEST_F(CombatTest, BounceStompsFromAboveOnly) {
    run->player.setAbility(bounce);
    state.abilityLevels[bounce] = 1;
    // From above: the hero's bottom is above the robot's bottom.
    Enemy& below = robot(roo, 300);
    putHeroAt(300);
    hero().y -= 40;
    run->player.move(0, world->platforms, state);
    frame(0);
    EXPECT_EQ(below.getEntity()->getHP(), 0);
    EXPECT_TRUE(run->player.isInvincible());
    EXPECT_EQ(run->player.getHealth(), 200);
    EXPECT_LT(run->eZorbi.getYVelocity(), 0.0f);
}

TEST_F(CombatTest, TouchFromBelowIsAnOrdinaryHitEvenWithBounce) {
    run->player.setAbility(bounce);
    putHeroAt(300);
    Enemy& above = robot(roo, 300);
    above.getEntity()->setPosition(300, hero().y - 10);  // the robot's bottom is above the hero's
    frame(0);
    EXPECT_EQ(run->player.getHealth(), 150);
    EXPECT_FALSE(run->player.isInvincible());
}

TEST_F(CombatTest, NoRewardForKillsAfterTheHeroWasHurtInTheSameFrame) {
    putHeroAt(300);
    robot(robor, 310);                       // touches: hero hurt, robot dies by the touch
    Enemy& shot = robot(robor, 900);         // killed by a bullet later in the same frame
    run->player.setDirection(true);
    world->eBullets.emplace_back(895, FLOOR_TOP - 40, 0, 0, canvas.renderer);
    world->bullets.emplace_back(&world->eBullets.back(), normal, 1, 1, 1);
    world->bullets.back().setIterator(std::prev(world->eBullets.end()));
    (void)shot;
    frame(0.016f);
    EXPECT_EQ(state.enemiesAlive, 0);
    EXPECT_EQ(run->player.getXP(), 0);
    EXPECT_EQ(run->player.getCombo(), 0);
    EXPECT_EQ(run->explosions.size(), 2u);

    // A kill without a hit pays the robot's difficulty, a combo step and shield.
    Enemy& next = robot(roo, 900);
    next.getEntity()->hp = 1;
    world->eBullets.emplace_back(895, FLOOR_TOP - 40, 0, 0, canvas.renderer);
    world->bullets.emplace_back(&world->eBullets.back(), normal, 1, 1, 1);
    world->bullets.back().setIterator(std::prev(world->eBullets.end()));
    frame(0.016f);
    EXPECT_EQ(run->player.getXP(), 4);
    EXPECT_EQ(run->player.getCombo(), 1);
    EXPECT_DOUBLE_EQ(run->player.getShield(), 1);
}

TEST_F(CombatTest, BulletHitsWithItsOwnDamageOncePerFrame) {
    Enemy& big = robot(roo, 900);
    for (int damage : {2, 1}) {
        world->eBullets.emplace_back(895, FLOOR_TOP - 40, 0, 0, canvas.renderer);
        world->bullets.emplace_back(&world->eBullets.back(), normal, 1, 3, damage);
        world->bullets.back().setIterator(std::prev(world->eBullets.end()));
    }
    state.currentRevolverLevel = 1;  // the weapon in hand does 1 damage
    frame(0.016f);
    EXPECT_EQ(big.getEntity()->getHP(), 3);  // the first bullet's 2, and only one bullet
    EXPECT_EQ(world->bullets.size(), 2u);     // strength left: both still fly
    EXPECT_EQ(world->bullets.front().getStrength(), 2);
}

TEST_F(CombatTest, C4BlastReachesJustUnder300Pixels) {
    state.abilityLevels[c4] = 2;  // 2 damage
    Enemy& near = robot(roo, 0);
    Enemy& far = robot(roo, 0);
    Entity* charge = run->player.getC4Entity();
    charge->setPosition(100, 100);
    near.getEntity()->setPosition(100 + 299, 100);
    far.getEntity()->setPosition(100, 100 + 300);
    putHeroAt(1100);
    state.c4Exploded = true;
    frame(0);
    EXPECT_EQ(near.getEntity()->getHP(), 3);
    EXPECT_EQ(far.getEntity()->getHP(), 5);
    EXPECT_FALSE(state.c4Exploded);  // acts in one frame only
    frame(0);
    EXPECT_EQ(near.getEntity()->getHP(), 3);
}

TEST_F(CombatTest, WaveThatCannotPlaceItsRobotsDoesNotEnd) {
    robot(robor, 0, false);
    world->enemySpawns[0].setOccupied(true);
    // Keep the only robot spawn covered by a dead body.
    auto blocker = std::make_unique<Entity>(&world->enemySpawns, canvas.renderer, 1);
    blocker->setDimensions(36, 75);
    blocker->setPosition(world->enemySpawns[0].getX(), world->enemySpawns[0].getY());
    world->allCharacterEntities.push_front(blocker.get());
    for (int i = 0; i < 30; ++i) frame();
    EXPECT_TRUE(world->inWave);
    EXPECT_FALSE(world->waveSetEEnemies[0][0]->isSpawned());
}

TEST_F(CombatTest, WaveEndsWhenItsLastRobotDies) {
    Enemy& last = robot(robor, 900);
    frame();
    EXPECT_TRUE(world->inWave);
    last.getEntity()->damage(1);
    frame();
    EXPECT_FALSE(world->inWave);
}

TEST_F(CombatTest, DeathEndsTheWaveAndTheNextIsWaveOneWithPurchasesGone) {
    run->player.changeXP(500);
    state.currentRifleLevel = 3;
    state.weapon2 = rifle;
    state.playerLevels[armor] = 2;
    world->waveNumber = 7;
    robot(robor, 1100);  // keeps the wave going while the hero is worn down
    for (int i = 0; i < 10 && world->inWave; ++i) {
        putHeroAt(300);  // each hit sends him back to his spawn
        robot(roo, 310);
        frame(0);
    }
    ASSERT_FALSE(world->inWave);
    EXPECT_EQ(world->waveNumber, 0);

    startWave(*run, *world);
    EXPECT_EQ(world->waveNumber, 1);
    EXPECT_EQ(run->player.getXP(), 0);
    EXPECT_EQ(state.currentRifleLevel, 0);
    EXPECT_EQ(state.playerLevels[armor], 0);
    EXPECT_EQ(run->player.getSecondaryWeapon(), nullptr);
    EXPECT_EQ(run->player.getWeapon()->getType(), revolver);
    EXPECT_EQ(run->player.getWeapon()->getBulletsInClip(), 4);
    int robots = 0;
    for (const auto& wave : world->waveSetEnemies) robots += static_cast<int>(wave.size());
    EXPECT_GE(robots, 5);  // a freshly composed block of five waves
}

TEST_F(CombatTest, DeveloperSkipEndsTheWaveAndTheNextStartsABlockAtWave31) {
    world->waveOverride = true;
    world->waveNumber = 30;
    robot(robor, 900);
    frame();
    EXPECT_FALSE(world->inWave);
    EXPECT_FALSE(world->waveOverride);
    TapWhenTheShopListens leave(SDLK_ESCAPE);  // wave 31 opens the shop first: leave it at once
    startWave(*run, *world);
    EXPECT_EQ(world->waveNumber, 31);
    EXPECT_EQ(world->waveSetLocation, 0);
    int total = 0;
    for (int count : state.setEnemies) total += count;
    EXPECT_GT(total, 0);
}

TEST_F(CombatTest, TeleportLandsAtTheCursorAfterTwoSeconds) {
    run->player.setAbility(teleport);
    run->player.useAbility(state);
    ASSERT_TRUE(state.teleportSelection);
    state.startSelection = static_cast<float>(now);
    state.tcVx = 1;
    state.tcVy = -1;
    const int startX = state.teleportCursorX;
    for (int i = 0; i < 10; ++i) frame(0.1f);  // 160 ms of ticks, a second of movement
    EXPECT_TRUE(pauseEnemy);
    EXPECT_EQ(state.teleportCursorX, startX + 450);
    now = static_cast<Uint32>(state.startSelection) + 2000 - 16;
    frame(0);  // exactly 2000 ms: still aiming
    EXPECT_TRUE(state.teleportSelection);
    now += 1;
    state.tcVx = 0;
    state.tcVy = 0;
    runFrame(state, *run, *world, 0, now);
    EXPECT_FALSE(state.teleportSelection);
    EXPECT_FALSE(pauseEnemy);
    EXPECT_EQ(run->eZorbi.getRect().x, state.teleportCursorX);
}

TEST_F(CombatTest, ArrowPointsAtARobotBelowTheWindowAndNotAtOneInView) {
    pauseEnemy = true;  // the robot stays where it is put
    state.levelHeight = 40 * TILE_SIZE;
    Enemy& enemy = robot(robor, 600);
    SDL_Rect& body = enemy.getEntity()->getRect();
    const int centre = body.x + body.w / 2;
    // The middle of the arrow's body, where it would stand at the bottom edge.
    const int x = centre - ROBOT_ARROW_SIDE / 2 + 5 * ROBOT_ARROW_CELL + 1;
    const int y = WINDOW_HEIGHT - ROBOT_ARROW_MARGIN - ROBOT_ARROW_SIDE + 4 * ROBOT_ARROW_CELL + 1;

    body.y = WINDOW_HEIGHT + 400;
    frame();
    EXPECT_TRUE(sameColour(canvas.pixel(x, y), 196, 44, 60));

    body.y = FLOOR_TOP - body.h;
    frame();
    EXPECT_FALSE(sameColour(canvas.pixel(x, y), 196, 44, 60));

    // Developer mode outlines robots instead.
    body.y = WINDOW_HEIGHT + 400;
    state.developerMode = true;
    frame();
    EXPECT_FALSE(sameColour(canvas.pixel(x, y), 196, 44, 60));
}

// What the card at a run's end tells: every bullet fired and those that hit
// (each once), the robots destroyed by kind with the XP they paid, and the
// time of play alone, the pause's not counted.
TEST_F(CombatTest, TheRunsAccountCountsShotsHitsKillsAndPlayOnly) {
    Enemy& target = robot(roborto, 700);  // 2 hit points
    putHeroAt(300);
    pauseEnemy = true;
    auto fire = [&](SDL_Keycode facing) {
        handlePlayEvent(state, *run, *world, keyEvent(facing));
        handlePlayEvent(state, *run, *world, keyEvent(SDLK_SPACE));
        handlePlayEvent(state, *run, *world, keyEvent(SDLK_SPACE, KMOD_NONE, false));
        for (int i = 0; i < 30; ++i) frame();
    };
    fire(SDLK_j);  // away from it: a miss
    fire(SDLK_l);
    fire(SDLK_l);
    ASSERT_FALSE(target.getEntity()->isAlive());
    const RunAccount& account = world->account;
    EXPECT_EQ(account.shots, 3);
    EXPECT_EQ(account.hits, 2);
    EXPECT_EQ(account.accuracyPercent(), 66);
    EXPECT_EQ(account.kills[roborto], 1);
    EXPECT_EQ(account.robotsDestroyed(), 1);
    EXPECT_EQ(account.xpEarned, 2);

    // Three frames of play 16 ms apart, a long pause, two frames more.
    world->lastPlayTick = 0;
    world->account.playedMs = 0;
    for (Uint32 at : {20000u, 20016u, 20032u}) playFrame(*run, *world, 0.016f, at);
    state.menu = Menu::pause;
    state.started = true;
    pushTap(SDLK_ESCAPE);  // resumes
    pausePlay(*run, *world);
    ASSERT_EQ(state.menu, Menu::notInMenu);
    for (Uint32 at : {90000u, 90016u}) playFrame(*run, *world, 0.016f, at);
    EXPECT_EQ(world->account.playedMs, 48u);
}
