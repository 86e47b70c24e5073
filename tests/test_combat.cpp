#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "TestSupport.h"
#include "enemies/Waves.h"
#include "play/Combat.h"
#include "play/Frame.h"
#include "play/Input.h"
#include "play/Loop.h"
#include "ui/Hud.h"
#include "ui/RobotArrows.h"

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
        return addRobot(type, placed ? std::optional<SDL_Point>(SDL_Point{x, FLOOR_TOP}) : std::nullopt);
    }
    SDL_Rect& hero() { return run->eZorbi.getRect(); }
    // A kill's breath is stepped over: it changes no rule, and these look at the rules.
    void frame(float dt = 0.016f) {
        now += 16;
        if (frozen(world->feel, now)) now = world->feel.freezeUntil;
        runFrame(state, *run, *world, dt, now);
    }
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
    addStillBullet(895, FLOOR_TOP - 40);
    (void)shot;
    frame(0.016f);
    EXPECT_EQ(state.enemiesAlive, 0);
    EXPECT_EQ(run->player.getXP(), 0);
    EXPECT_EQ(run->player.getCombo(), 0);
    EXPECT_EQ(run->explosions.size(), 2u);

    // A kill without a hit pays the robot's difficulty, a combo step and shield.
    Enemy& next = robot(roo, 900);
    next.getEntity()->hp = 1;
    addStillBullet(895, FLOOR_TOP - 40);
    frame(0.016f);
    EXPECT_EQ(run->player.getXP(), 4);
    EXPECT_EQ(run->player.getCombo(), 1);
    EXPECT_DOUBLE_EQ(run->player.getShield(), 1);
}

TEST_F(CombatTest, BulletHitsWithItsOwnDamageOncePerFrame) {
    Enemy& big = robot(roo, 900);
    for (int damage : {2, 1}) {
        addStillBullet(895, FLOOR_TOP - 40, 3, damage);
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

    // The strip of keys of the first waves would lift it (see Moments).
    state.settings.controlHints = false;
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

// A robot hit flashes flat white for its 80 ms, then is drawn as before; the
// flash changes nothing of the rules.
TEST_F(CombatTest, AHitRobotFlashesWhiteForItsTimeAndThenLooksAsBefore) {
    Enemy& big = robot(roo, 700);  // five hit points: a bullet does not kill it
    Entity& body = *big.getEntity();
    const SDL_Rect& rect = body.getRect();
    addStillBullet(rect.x - 2, rect.y + 20);
    frame();
    ASSERT_EQ(body.getHP(), 4);
    const Uint32 hitAt = now;
    auto whitePixels = [&] {
        int flat = 0;
        for (int y = rect.y; y < rect.y + rect.h; y += 2)
            for (int x = rect.x; x < rect.x + rect.w; x += 2) flat += sameColour(canvas.pixel(x, y), 255, 255, 255) ? 1 : 0;
        return flat;
    };
    // The next frames inside its 80 ms: the robot's whole shape white.
    runFrame(state, *run, *world, 0, hitAt + 16);
    const int flashing = whitePixels();
    EXPECT_GT(flashing, 100);
    runFrame(state, *run, *world, 0, hitAt + ROBOT_FLASH_MS + 1);
    EXPECT_LT(whitePixels(), flashing / 10) << "the flash outlasted its time";
    EXPECT_EQ(body.getHP(), 4);
}

// A kill stops the clock of play for 40 ms: the frames are drawn, nothing
// moves, no rule runs again, and the timers that count ticks move on with it.
TEST_F(CombatTest, AKillStopsTheClockOfPlayForABreathAndNoRuleRunsTwice) {
    Enemy& victim = robot(robor, 700);
    Enemy& walker = robot(roo, 200);
    walker.getEntity()->setXVelocity(200);
    const SDL_Rect& rect = victim.getEntity()->getRect();
    addStillBullet(rect.x - 5, rect.y + 10);
    world->startWaveLoad = now;  // a tick the rules count from
    runFrame(state, *run, *world, 0.016f, now += 16);
    ASSERT_FALSE(victim.getEntity()->isAlive());
    const int xp = run->player.getXP();
    const SDL_Rect walkerAt = walker.getEntity()->getRect();
    const std::size_t explosions = run->explosions.size();
    const Uint32 killedAt = now;
    const Uint32 waveStart = world->startWaveLoad;
    for (Uint32 t = killedAt + 16; t < killedAt + KILL_FREEZE_MS; t += 16) {
        runFrame(state, *run, *world, 0.016f, t);
        EXPECT_EQ(walker.getEntity()->getRect().x, walkerAt.x) << "a robot moved during the breath";
    }
    EXPECT_EQ(run->player.getXP(), xp) << "the kill paid twice";
    EXPECT_EQ(run->explosions.size(), explosions);
    EXPECT_EQ(world->startWaveLoad, waveStart + 32);
    runFrame(state, *run, *world, 0.016f, killedAt + KILL_FREEZE_MS + 8);
    EXPECT_NE(walker.getEntity()->getRect().x, walkerAt.x) << "play did not go on after the breath";
}

// A hit on the hero kicks the camera; the kick wears off, never moves the
// world more than 14 pixels, moves nothing with the shake off, and never
// moves the heads-up display.
TEST_F(CombatTest, AHitOnTheHeroShakesTheWorldButNeverTheDisplay) {
    putHeroAt(300);
    robot(roo, 310);
    frame(0);
    EXPECT_FLOAT_EQ(world->feel.trauma, TRAUMA_HERO_HIT);
    EXPECT_GT(world->feel.heroFlashUntil, now);

    Feel feel;
    addTrauma(feel, TRAUMA_DEATH);
    int widest = 0;
    for (int step = 0; step < 600; ++step) {
        feel.trauma = 1.0f;
        settleTrauma(feel, 1.0f / 600);
        const SDL_Point offset = shakeOffset(feel, shakeScale(SHAKE_FULL));
        widest = std::max({widest, std::abs(offset.x), std::abs(offset.y)});
        EXPECT_EQ(shakeOffset(feel, shakeScale(SHAKE_OFF)).x, 0);
    }
    EXPECT_LE(widest, MAX_SHAKE);
    EXPECT_GE(widest, MAX_SHAKE * 2 / 3) << "full trauma hardly shakes";
    settleTrauma(feel, 1.0f / TRAUMA_DECAY);
    EXPECT_FLOAT_EQ(feel.trauma, 0.0f);

}

// The same frame shaken and still: the world moves, the heads-up display
// along the bottom does not.
TEST(CameraShake, MovesTheWorldAndNeverTheDisplay) {
    TestGame game;
    // A row of platforms across the middle of the window (design 80 x 200 is 120 x 300 on screen).
    for (int column = 0; column < 10; ++column) game.world->ePlatforms.emplace_back(80 * column, 200, game.canvas.renderer);
    for (Platform& p : game.world->ePlatforms) game.world->platforms.push_back(&p);
    updateInGameText(0, 1, 0);
    auto drawn = [&](float trauma) {
        game.world->feel.trauma = trauma;
        game.world->feel.noiseSeconds = 0.37f;
        game.canvas.clear(0, 0, 0);
        renderStillFrame(state, *game.run, *game.world, 1);
        std::vector<SDL_Color> pixels;
        for (int y = 0; y < 720; y += 3)
            for (int x = 0; x < 1200; x += 3) pixels.push_back(game.canvas.pixel(x, y));
        return pixels;
    };
    const std::vector<SDL_Color> still = drawn(0.0f);
    const std::vector<SDL_Color> shaken = drawn(1.0f);
    ASSERT_NE(shakeOffset(game.world->feel, 1.0f).x, 0);
    int worldMoved = 0;
    int displayMoved = 0;
    for (std::size_t i = 0; i < still.size(); ++i) {
        const int y = static_cast<int>(i / 400) * 3;
        const bool same = sameColour(still[i], shaken[i].r, shaken[i].g, shaken[i].b);
        if (y >= 290 && y < 340) worldMoved += same ? 0 : 1;
        if (y >= 560) displayMoved += same ? 0 : 1;
    }
    EXPECT_GT(worldMoved, 20) << "the platforms did not shake";
    EXPECT_EQ(displayMoved, 0) << "the display shook";
}
