#include "play/Campaign.h"

#include <algorithm>

#include "platform/Game.h"
#include "play/Input.h"
#include "play/Interlude.h"
#include "play/Loop.h"
#include "player/Loadout.h"
#include "ui/MenuInput.h"
#include "ui/MenuScreens.h"
#include "ui/UpgradeItems.h"
#include "ui/UpgradeMenus.h"

namespace {

void leaveCard(State& game) {
    game.cardChoice = CardChoice::toMenu;
    game.menu = Menu::notInMenu;
}

int& bestWaveOf(int level) { return state.records.bestWave[static_cast<std::size_t>(level - 1)]; }

bool isLevel(int level) { return level >= 1 && level <= LEVELS; }

// How one attempt at a campaign's level ended.
enum class LevelEnd { cleared, fell, left };

// The waves of a campaign's level from where the world stands, until its last
// wave is cleared, the hero falls or the level is left.
LevelEnd playCampaignLevel(RunObjects& run, World& world) {
    if (!run.song.isPlaying()) run.song.play();
    while (state.started && !state.quit) {
        startWave(run, world);
        playWave(run, world);
        world.allCharacterEntities.clear();
        if (!state.started || state.quit) return LevelEnd::left;
        if (world.waveNumber == 0) return LevelEnd::fell;
        if (world.waveNumber >= world.waveGoal) return LevelEnd::cleared;
    }
    return LevelEnd::left;
}

// A card answered "Quit To Menu" (or a quit) ends the campaign's play for now.
bool goesOn(RunObjects& run, World& world, const CardContent& card) {
    if (holdCard(run, world, card) == CardChoice::goOn) return true;
    if (!state.quit) quitToMenu(state, 0, 0);
    return false;
}

// Wave 30 cleared: the whole campaign's account, its time as a record, and
// the saved campaign gone.
void finishCampaign(RunObjects& run, World& world, const RunAccount& played) {
    CardContent card;
    card.kind = CardKind::campaignComplete;
    card.level = LEVELS;
    card.account = played;
    Uint32& best = state.records.bestCampaignMs;
    card.newBest = best == 0 || played.playedMs < best;
    if (card.newBest) {
        // 0 stands for no record yet: a finished campaign always has a time.
        best = std::max<Uint32>(1, played.playedMs);
        saveRecords(state.records);
    }
    card.bestMs = best;
    clearCampaign();
    state.campaign.reset();
    goesOn(run, world, card);
}

}  // namespace

void handleCardEvent(State& game, const SDL_Event& event) {
    // A player still firing at the robots must not skip the card.
    if (!game.menuGate.admits(event, game.menu, SDL_GetTicks())) return;
    if (handleCommonEvent(game, event)) return;
    if (menuPointerOrStick(game, event, true)) return;
    switch (event.type) {
    case SDL_KEYDOWN:
        if (menuKey(game, event.key.keysym.sym)) break;
        if (event.key.keysym.sym == SDLK_ESCAPE) leaveCard(game);
        break;
    case SDL_CONTROLLERBUTTONDOWN:
        if (event.cbutton.button == SDL_CONTROLLER_BUTTON_A) {
            controllerEvent(game, MENU_CONTROL::select);
        } else if (event.cbutton.button == SDL_CONTROLLER_BUTTON_B && !controllerButtonDown(SDL_CONTROLLER_BUTTON_A)) {
            leaveCard(game);
        }
        break;
    default:
        break;
    }
}

CardChoice holdCard(RunObjects& run, World& world, const CardContent& content) {
    showAccountCard(state, content);
    state.menuGate.quietUntil(SDL_GetTicks() + CARD_QUIET_MS);
    holdOverStillWorld(run, world, [] { return state.menu == Menu::card && !state.quit; }, handleCardEvent);
    return state.quit ? CardChoice::none : state.cardChoice;
}

void noteWaveReached(World& world) {
    world.account.waveReached = world.waveNumber;
    if (state.mode != PlayMode::arcade || world.skipped || !isLevel(state.level)) return;
    int& best = bestWaveOf(state.level);
    if (world.waveNumber <= best) return;
    best = world.waveNumber;
    saveRecords(state.records);
}

void arcadeRunOver(RunObjects& run, World& world) {
    CardContent card;
    card.kind = CardKind::runOver;
    card.level = state.level;
    card.account = world.account;
    card.bestWave = isLevel(state.level) ? bestWaveOf(state.level) : 0;
    card.newBest = !world.skipped && world.account.waveReached > world.bestBefore;
    if (holdCard(run, world, card) != CardChoice::goOn && !state.quit) quitToMenu(state, 0, 0);
}

void runCampaign(RunObjects& run) {
    CampaignSave save;
    if (state.continueCampaign && state.campaign) {
        save = *state.campaign;
    } else {
        // A new campaign starts as a new run does: the revolver alone.
        resetState();
        run.player.setSecondaryWeapon(nullptr);
        run.player.setAbility(none);
        save.loadout = captureLoadout(state, run.player);
    }
    // What was played at this level, its lost attempts included: its card's account.
    RunAccount levelPlayed;
    while (state.started && !state.quit) {
        World world;
        run.playerSpawns.clear();
        state.level = save.level;
        loadLevel(run, world, save.level);
        if (!levelPlayable(run, world)) {
            SDL_Log("Level %d could not be loaded: the campaign waits there", save.level);
            quitToMenu(state, 0, 0);
            break;
        }
        // The checkpoint: the hero as he entered the level, saved as such.
        restoreLoadout(state, run.player, save.loadout);
        resetMenus(state);
        loadUpgradeMenu(state);
        world.waveNumber = campaignFirstWave(save.level) - 1;
        world.waveGoal = campaignLastWave(save.level);
        state.campaign = save;
        saveCampaign(save);

        const LevelEnd end = playCampaignLevel(run, world);
        if (end == LevelEnd::left) break;
        levelPlayed.add(world.account);
        save.played.add(world.account);
        CardContent card;
        card.level = save.level;
        card.account = levelPlayed;
        if (end == LevelEnd::fell) {
            // Back to the level's first wave with what the hero had then.
            state.campaign = save;
            saveCampaign(save);
            card.kind = CardKind::levelLost;
            card.account.waveReached = world.account.waveReached;
            if (!goesOn(run, world, card)) break;
            continue;
        }
        levelPlayed = {};
        save.level += 1;
        save.loadout = captureLoadout(state, run.player);
        if (save.level > LEVELS) {
            finishCampaign(run, world, save.played);
            break;
        }
        // Cleared: the next level, with everything the hero has now, is the checkpoint.
        state.campaign = save;
        saveCampaign(save);
        card.kind = CardKind::levelCleared;
        if (!goesOn(run, world, card)) break;
    }
    run.song.stop();
}
