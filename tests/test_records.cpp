// The records and the saved campaign: round trips, the checksum with its last
// good copy, and the loadout a checkpoint gives back exactly.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TestSupport.h"
#include "platform/PlayerFiles.h"
#include "platform/Records.h"
#include "player/Loadout.h"
#include "player/Purchases.h"
#include "ui/UpgradeItems.h"

namespace fs = std::filesystem;

namespace {

// A campaign at level 2 with a little of everything in it.
CampaignSave aCampaign() {
    CampaignSave save;
    save.level = 2;
    save.loadout.xp = 145;
    save.loadout.health = 120;
    save.loadout.shield = 37.5;
    save.loadout.weaponLevels = {2, 1, 0, 3, 0};
    save.loadout.weapon1 = 3;
    save.loadout.weapon2 = 1;
    save.loadout.ability = 2;
    save.loadout.abilityLevels = {0, 0, 2, 0};
    save.loadout.charged = false;
    save.loadout.abilitiesKills = 3;
    save.loadout.playerLevels = {1, 0, 0, 2};
    save.loadout.priceFactor = 35;
    save.played.kills = {12, 3, 4, 1, 0};
    save.played.shots = 80;
    save.played.hits = 41;
    save.played.xpEarned = 150;
    save.played.playedMs = 313000;
    save.played.waveReached = 10;
    return save;
}

class SavedPlay : public ::testing::Test {
protected:
    ScratchHome home;
};

}  // namespace

TEST_F(SavedPlay, RecordsAndTheCampaignRoundTripInTheDataFolder) {
    EXPECT_EQ(recordsPath(), home.folder + "/data/zelvane/records.ini");
    EXPECT_EQ(loadRecords(), Records{});
    EXPECT_FALSE(loadCampaign().has_value());

    Records records;
    records.bestWave = {12, 0, 31};
    records.bestCampaignMs = 754321;
    ASSERT_TRUE(saveRecords(records));
    EXPECT_EQ(loadRecords(), records);
    ASSERT_TRUE(saveCampaign(aCampaign()));
    EXPECT_EQ(loadCampaign(), aCampaign());

    clearCampaign();
    EXPECT_FALSE(loadCampaign().has_value());
    EXPECT_FALSE(fs::exists(campaignPath() + ".bak"));
}

// A file that fails its checksum gives way to its last good copy; the backup
// is never replaced by a file that did not load; with both bad the game
// starts without them and keeps the bad one.
TEST_F(SavedPlay, ABadFileFallsBackToItsBackupAndABadBackupIsNeverMade) {
    CampaignSave older = aCampaign();
    older.level = 1;
    ASSERT_TRUE(saveCampaign(older));
    ASSERT_TRUE(saveCampaign(aCampaign()));  // the first becomes the backup
    const std::string path = campaignPath();
    EXPECT_EQ(fileBytes(path + ".bak").find("level = 1\n") != std::string::npos, true);

    // One changed digit: the checksum no longer matches.
    std::string bytes = fileBytes(path);
    bytes.replace(bytes.find("xp = 145"), 8, "xp = 945");
    std::ofstream(path, std::ios::binary) << bytes;
    {
        LogCapture log;
        EXPECT_EQ(loadCampaign(), older);
        EXPECT_EQ(log.count("its last good copy"), 1);
    }
    EXPECT_EQ(fileBytes(path + ".bad"), bytes);
    EXPECT_EQ(loadCampaign(), older) << "the good copy was put back in place";

    // Broken again, then saved over: the bad file must not become the backup.
    std::ofstream(path, std::ios::binary) << "version = 1\nlevel = 3\nchecksum = 00000000\n";
    ASSERT_TRUE(saveCampaign(aCampaign()));
    EXPECT_EQ(fileBytes(path + ".bak").find("level = 3"), std::string::npos);

    // Both bad: no campaign, and the bad file kept.
    std::ofstream(path, std::ios::binary) << "garbage\x01\x02";
    std::ofstream(path + ".bak", std::ios::binary) << "version = 1\nlevel = 2\n";  // no checksum
    LogCapture log;
    EXPECT_FALSE(loadCampaign().has_value());
    EXPECT_EQ(log.count("kept as " + path + ".bad"), 1);
    EXPECT_TRUE(fs::exists(path + ".bad"));
    EXPECT_FALSE(fs::exists(path));
}

// A death in a campaign gives back exactly what the hero had as he entered
// the level, whatever he bought, lost or spent since.
TEST(Checkpoint, TheLoadoutGivenBackIsExactlyTheOneTaken) {
    const ScratchHome home;
    TestGame game({.world = false});
    Player& hero = game.run->player;
    hero.changeXP(300);
    upgradeWeapon(state, rifle, 0);
    upgradeAbility(state, teleport, 0);
    upgradePlayer(state, armor, 0);
    hero.damage(state);
    const Loadout entered = captureLoadout(state, hero);
    EXPECT_EQ(entered.weapon2, rifle);
    EXPECT_EQ(entered.ability, teleport);

    upgradeWeapon(state, rifle, 1);
    upgradeWeapon(state, shotgun, 0);
    toggleWeaponSlot(state, rifle);
    upgradeAbility(state, c4, 0);
    chooseAbility(state, &hero, c4);
    hero.damage(state);
    hero.useAbility(state);
    ASSERT_NE(captureLoadout(state, hero), entered);

    restoreLoadout(state, hero, entered);
    EXPECT_EQ(captureLoadout(state, hero), entered);
    EXPECT_EQ(state.currentShotgunLevel, 0);
    EXPECT_EQ(state.abilityLevels[c4], 0);

    // And through the file, as after a restart of the game.
    CampaignSave save;
    save.loadout = entered;
    ASSERT_TRUE(saveCampaign(save));
    EXPECT_EQ(loadCampaign()->loadout, entered);
}
