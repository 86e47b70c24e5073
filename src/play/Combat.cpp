#include "play/Combat.h"

#include <cmath>
#include <cstdlib>

#include "enemies/Enemy.h"
#include "platform/Game.h"
#include "ui/Hud.h"

namespace {

int dodgeChance(const State& game) { return static_cast<int>(playerUpgradeValue(game, dodge, 1, 0)); }

// A hit: the damage as the rules say, and a white flash as the eye wants it.
void hit(Entity& body, int damage, Uint32 now) {
    body.damage(damage);
    body.flashUntil = now + ROBOT_FLASH_MS;
}

// The knife hurts a robot once per contact with its reach. True when it struck.
bool knifeStrike(Player& player, Enemy& enemy, Uint32 now) {
    Weapon* weapon = player.getWeapon();
    if (weapon == nullptr || weapon->getType() != knife) return false;
    Entity& body = *enemy.getEntity();
    const bool touching = Entity::isColliding(body.getRect(), player.getWeaponRect());
    if (touching && !enemy.didAlreadyCollide()) {
        hit(body, weapon->getDamage(), now);
        enemy.knifeColliding();
        return true;
    }
    if (!touching) enemy.knifeNotColliding();
    return false;
}

// A robot touching the hero: a charged bounce stomps it from above, otherwise
// the hero takes a hit unless he dodges. True when the robot was stomped.
bool contact(State& game, RunObjects& run, World& world, Enemy& enemy, FrameOutcome& outcome, Uint32 now) {
    Player& player = run.player;
    Entity& body = *enemy.getEntity();
    if (!Entity::isColliding(body.getRect(), player.getHitRect())) return false;

    const SDL_Rect& hero = run.eZorbi.getRect();
    const bool fromAbove = hero.y + hero.h - body.getRect().h < body.getRect().y;
    if (fromAbove && player.getAbility() == bounce && player.isCharged()) {
        run.eZorbi.setYVelocity(BOUNCE_SPEED);
        hit(body, CONTACT_DAMAGE, now);
        player.setInvincible(true);
        return true;
    }
    if (player.isInvincible()) return false;

    const int randomNumber = std::rand() % 100;
    if (randomNumber >= dodgeChance(game)) {
        if (player.damage(game)) {
            outcome.playerAlive = false;
            world.waveNumber = 0;
            player.zeroCombo();
        }
        outcome.playerDamaged = true;
    } else {
        // Dodged: the hero says so.
        world.feel.texts.push_back({0, hero.x + hero.w / 2, hero.y, now});
    }
    body.damage(CONTACT_DAMAGE);
    return false;
}

// The first bullet whose path this frame crossed the robot hits it with the
// damage it carries. At most one bullet hits a robot per frame.
void bulletHits(const State& game, RunObjects& run, World& world, Entity& body, Uint32 now) {
    for (auto it = world.bullets.begin(); it != world.bullets.end(); ++it) {
        const SDL_Rect trail = it->getTrailingRect();
        if (game.developerMode) {
            SDL_SetRenderDrawColor(gameRenderer, 0, 0, 255, 255);
            SDL_RenderFillRect(gameRenderer, &trail);
        }
        if (!Entity::isColliding(body.getRect(), trail)) continue;
        run.explosion.play();
        if (it->firstHit()) world.account.hits += 1;
        const int damage = it->getDamage();
        if (it->decreaseStrength()) {
            world.eBullets.erase(it->getIterator());
            world.bullets.erase(it);
        }
        hit(body, damage, now);
        return;
    }
}

// The detonated charge hurts every robot whose corner lies within the blast.
bool c4Blast(const State& game, Player& player, Entity& body, Uint32 now) {
    if (!game.c4Exploded) return false;
    const SDL_Rect& charge = player.getC4Entity()->getRect();
    const double dx = charge.x - body.getRect().x;
    const double dy = charge.y - body.getRect().y;
    if (std::sqrt(dx * dx + dy * dy) >= C4_BLAST_RADIUS) return false;
    hit(body, abilityValue(game, c4, 2), now);
    return true;
}

void robotDied(State& game, RunObjects& run, World& world, Enemy& enemy, bool abilityDamage,
               const FrameOutcome& outcome, Uint32 now) {
    Player& player = run.player;
    const SDL_Rect& rect = enemy.getEntity()->getRect();
    run.explosions.emplace_back(rect.x + rect.w / 2, rect.y + rect.h / 2, gameRenderer);
    const auto kind = static_cast<std::size_t>(enemy.getType());
    if (kind < world.account.kills.size()) world.account.kills[kind] += 1;
    // A breath on each kill: play stands still while the frames go on.
    freezeFor(world.feel, now, KILL_FREEZE_MS);
    // A hero hurt earlier in this frame earns nothing for it.
    if (!outcome.playerDamaged) {
        player.changeXP(enemy.getDifficulty());
        world.account.xpEarned += enemy.getDifficulty();
        world.feel.texts.push_back({enemy.getDifficulty(), rect.x + rect.w / 2, rect.y, now});
        player.killEnemy(game);
        const Ability ability = player.getAbility();
        if (!abilityDamage && ability != none && !player.isCharged() &&
            game.abilitiesKills < killsToRecharge(game, ability)) {
            game.abilitiesKills += 1;
        }
    }
    updateInGameText(player.getCombo(), world.waveNumber, player.getXP(), world.waveGoal);
}

}  // namespace

void runEnemyPass(State& game, RunObjects& run, World& world, float dt, Uint32 now, FrameOutcome& outcome) {
    SDL_SetRenderDrawColor(gameRenderer, 255, 0, 0, 255);
    int enemiesAlive = 0;
    const auto location = static_cast<std::size_t>(world.waveSetLocation);
    if (location < world.waveSetEnemies.size()) {
        for (const std::unique_ptr<Enemy>& robot : world.waveSetEnemies[location]) {
            Enemy& enemy = *robot;
            Entity& body = *enemy.getEntity();
            bool firstLoop = false;
            bool abilityDamage = false;
            if (!body.isSpawned()) {
                // With few robots about, new ones enter only where the player can see them.
                body.spawn(game.enemiesAlive <= 5);
                firstLoop = true;
            }
            if (body.isAlive() && body.isSpawned()) {
                if (!firstLoop && world.waveStarted && !pauseEnemy && game.menu != Menu::weaponUpgrade) {
                    enemy.move(dt, world.platforms, game);
                }
                enemy.render(now);
                if (!knifeStrike(run.player, enemy, now)) {
                    abilityDamage = contact(game, run, world, enemy, outcome, now);
                }
                bulletHits(game, run, world, body, now);
                if (game.developerMode) SDL_RenderDrawRect(gameRenderer, &body.getRect());
                if (c4Blast(game, run.player, body, now)) abilityDamage = true;
                if (!body.isAlive()) robotDied(game, run, world, enemy, abilityDamage, outcome, now);
            }
            if (body.isAlive()) {
                outcome.robotAlive = true;
                enemiesAlive += 1;
            }
        }
    }
    game.enemiesAlive = enemiesAlive;
}

void settleFrame(State& game, RunObjects& run, World& world, FrameOutcome outcome, Uint32 now) {
    if (world.heroFalls) {
        // The developer's key: as a death, at once.
        world.heroFalls = false;
        outcome.playerAlive = false;
        world.waveNumber = 0;
        run.player.zeroCombo();
    }
    if (outcome.playerDamaged) {
        vibrate(RUMBLE_STRONG, 750);
        world.feel.heroFlashUntil = now + HERO_FLASH_MS;
        world.feel.hurtAt = now;
        world.feel.hurt = true;
        addTrauma(world.feel, TRAUMA_HERO_HIT);
        run.player.zeroCombo();
        run.player.charge(game);
        run.eZorbi.forceSpawn();
    }
    if (!outcome.playerAlive || world.waveOverride) {
        vibrate(RUMBLE_STRONG, 750);
        if (!outcome.playerAlive) addTrauma(world.feel, TRAUMA_DEATH);
        world.inWave = false;
        world.waveOverride = false;
    } else {
        world.inWave = outcome.robotAlive;
    }
}
