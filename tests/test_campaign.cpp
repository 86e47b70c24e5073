// Campaign Mode and the end of a run, played through the game's own loops:
// the developer's keys skip to each level's last wave and make the hero fall,
// a script answers the shop and the cards as a player would.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <vector>

#include "TestSupport.h"
#include "platform/Records.h"
#include "play/Campaign.h"
#include "play/Interlude.h"
#include "play/Loop.h"
#include "player/Loadout.h"
#include "ui/AccountCard.h"
#include "ui/Hud.h"
#include "ui/UpgradeItems.h"

namespace {

// A player at the keys, once per pass of the game's loops: leaves each shop
// as soon as it listens (after `inShop`), answers each card once it listens
// (after `onCard`, pressing Enter once too early to see it ignored), and in
// play turns developer mode on and then presses `playKey` (2: on to the
// level's last wave; 3: the hero falls), once per wave, or every pass.
class ScriptedHand {
public:
    std::function<void()> inShop = [] {};
    std::function<void()> onCard = [] {};
    SDL_Keycode playKey = SDLK_2;
    // Titles of the cards seen, and whether a press in a card's first second acted.
    std::vector<std::string> cards;
    bool earlyPressActed = false;
    Uint32 cardQuietMs = 0;

    EveryPass pass{[this] { step(); }};

private:
    void step() {
        if (++passes > 200000) state.quit = true;  // a flow that never ends fails instead of hanging
        if (isUpgradeMenu(state.menu)) {
            if (!screenListens() || shopLeft) return;
            inShop();
            pushTap(SDLK_ESCAPE);
            shopLeft = true;
            return;
        }
        shopLeft = false;
        if (state.menu == Menu::card) {
            if (cardShownAt == 0) {
                cardShownAt = SDL_GetTicks();
                pushTap(SDLK_RETURN);  // too early: the card must stay
                return;
            }
            if (!screenListens() || cardAnswered) return;
            cardQuietMs = SDL_GetTicks() - cardShownAt;
            cards.push_back(accountCardTitle());
            onCard();
            pushTap(SDLK_RETURN);
            cardAnswered = true;
            return;
        }
        if (cardShownAt != 0 && !cardAnswered) earlyPressActed = true;
        cardShownAt = 0;
        cardAnswered = false;
        if (state.menu != Menu::notInMenu || !state.started) return;
        if (!state.developerMode) {
            pushTap(SDLK_1);
            return;
        }
        pushTap(playKey);
    }

    long passes = 0;
    bool shopLeft = false;
    Uint32 cardShownAt = 0;
    bool cardAnswered = false;
};

class Campaign : public ::testing::Test, protected TestGame {
protected:
    Campaign() : TestGame({.width = WINDOW_WIDTH / 8, .height = WINDOW_HEIGHT / 8}) {}
    ScratchHome home;
};

}  // namespace

// The three levels in order, ten waves each numbered across them, each a
// checkpoint: a fall at level 2 brings back exactly what the hero had as he
// entered it, on disk as well, and wave 30 cleared ends the campaign with its
// time recorded and its file gone.
TEST_F(Campaign, ThreeLevelsInOrderAFallReturnsToTheLevelsCheckpoint) {
    ScriptedHand hand;
    Player& hero = run->player;
    bool bought = false;
    std::optional<Loadout> entered;
    std::optional<Loadout> afterFall;
    hand.inShop = [&] {
        if (state.level != 2) return;
        if (!bought) {
            // The checkpoint is the hero as he came into the level: what he buys now is at stake.
            entered = captureLoadout(state, hero);
            EXPECT_EQ(loadCampaign()->level, 2) << "the checkpoint is saved as the level is entered";
            hero.changeXP(100);
            upgradeWeapon(state, shotgun, 0);
            bought = true;
            hand.playKey = SDLK_3;
        } else if (!afterFall) {
            afterFall = captureLoadout(state, hero);
            hand.playKey = SDLK_2;
        }
    };
    hand.onCard = [&] {
        if (accountCardTitle() == "Level 1 cleared") {
            EXPECT_EQ(loadCampaign()->level, 2) << "clearing a level saves the next one as the checkpoint";
        }
    };

    state.mode = PlayMode::campaign;
    state.started = true;
    state.level = 1;
    runCampaign(*run);

    const std::vector<std::string> expected{"Level 1 cleared", "Level 2 lost at wave 11", "Level 2 cleared",
                                            "Level 3 cleared", "Campaign complete"};
    // The third level's card is the campaign's own: it comes in its place.
    EXPECT_EQ(hand.cards, (std::vector<std::string>{expected[0], expected[1], expected[2], expected[4]}));
    EXPECT_FALSE(hand.earlyPressActed);
    // Seen from the script's first pass on the card, which a loaded machine
    // (a sanitizer build beside a compiler) may bring a moment late.
    EXPECT_GE(hand.cardQuietMs + 250, CARD_QUIET_MS);
    ASSERT_TRUE(entered && afterFall);
    EXPECT_EQ(*afterFall, *entered);
    EXPECT_EQ(afterFall->weaponLevels[shotgun], 0);
    EXPECT_FALSE(state.campaign.has_value());
    EXPECT_FALSE(std::filesystem::exists(campaignPath()));
    EXPECT_GT(loadRecords().bestCampaignMs, 0u);
    EXPECT_FALSE(state.started);
    EXPECT_EQ(state.menu, Menu::head);
}

// A wave of a campaign's second level is the Arcade's wave of the same
// number: a new block at 11 with the shop before it, and the display shows
// the level's goal.
TEST_F(Campaign, TheSecondLevelsFirstWaveIsWaveElevenWithTheShopAndTheGoal) {
    ASSERT_EQ(campaignFirstWave(2), 11);
    ASSERT_EQ(campaignLastWave(3), 30);
    state.mode = PlayMode::campaign;
    state.level = 2;
    loadLevel(*run, *world, 2);
    world->waveNumber = campaignFirstWave(2) - 1;
    world->waveGoal = campaignLastWave(2);
    run->player.changeXP(40);
    {
        TapWhenTheShopListens leave(SDLK_ESCAPE);
        startWave(*run, *world);
    }
    EXPECT_EQ(world->waveNumber, 11);
    EXPECT_EQ(world->waveSetLocation, 0);
    EXPECT_EQ(run->player.getXP(), 40) << "a campaign's level does not start a new run";
    EXPECT_EQ(world->account.waveReached, 11);
    // The display's wave text is "Wave: 11 / 20", not Arcade's "Wave: 11".
    Texture expected;
    expected.setup(canvas.renderer);
    ASSERT_TRUE(expected.loadFromRenderedText("Wave: 11 / 20", white, counter));
    EXPECT_EQ(waveNumberText.getWidth(), expected.getWidth());
}

// An Arcade run ends with its card: the wave reached, a new best the first
// time (saved at once), "Play Again" starting wave 1; the second run's card
// has no new best, and "Quit To Menu" leaves the level.
TEST_F(Campaign, AnArcadeRunEndsWithItsCardAndItsBest) {
    ScriptedHand hand;
    hand.playKey = SDLK_3;
    std::vector<std::vector<std::string>> lines;
    int answered = 0;
    hand.onCard = [&] {
        lines.push_back(accountCardLines());
        // The second card: "Quit To Menu", the button to the right.
        if (++answered == 2) pushTap(SDLK_RIGHT);
    };
    state.mode = PlayMode::arcade;
    state.started = true;
    state.level = 1;
    loadLevel(*run, *world, 1);
    runWaves(*run, *world);

    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(hand.cards, (std::vector<std::string>{"Wave 1 reached", "Wave 1 reached"}));
    EXPECT_EQ(lines[0].back(), "Best wave on Level 1: 1 New best!");
    EXPECT_EQ(lines[1].back(), "Best wave on Level 1: 1");
    EXPECT_EQ(loadRecords().bestWave[0], 1);
    EXPECT_FALSE(state.started);
    EXPECT_EQ(state.menu, Menu::head);
}
