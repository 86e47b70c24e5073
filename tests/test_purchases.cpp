#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "MenuScreens.h"
#include "Purchases.h"
#include "UpgradeItems.h"
#include "TestSupport.h"
#include "UI.h"
#include "UpgradeMenus.h"
#include "World.h"

namespace {

// A new run in the shop: the hero with no XP, the revolver alone at level 1.
class Purchases : public ::testing::Test, protected TestGame {
protected:
    Purchases() : TestGame({.world = false}) {}
    void SetUp() override {
        state.menu = Menu::weaponUpgrade;
        loadUpgradeMenu(state);
    }

    Player& hero() { return run->player; }
    void giveXP(int xp) { hero().changeXP(xp - hero().getXP()); }

    // Every "Cost: " shown in the shop, by menu and button index.
    static std::map<std::pair<int, int>, std::string> pricesShown() {
        std::map<std::pair<int, int>, std::string> prices;
        int menuNumber = 0;
        for (UI_Menu* menu : {&weaponUpgradeMenu, &abilityUpgradeMenu, &playerUpgradeMenu}) {
            const std::vector<UI_Button>& buttons = menu->getButtons();
            for (size_t i = 0; i < buttons.size(); ++i) {
                const UI_HoverText& hover = buttons[i].getHover();
                for (int line = 0; line < hover.getNumberOfLines(); ++line)
                    if (hover.getLineText(line) == "Cost: ")
                        prices[{menuNumber, static_cast<int>(i)}] = hover.getLineValue(line);
            }
            ++menuNumber;
        }
        return prices;
    }
};

}  // namespace

TEST_F(Purchases, TheFirstRifleCostsTenAndIsOwnedButNotCarried) {
    giveXP(10);
    upgradeWeapon(state, rifle, 0);
    EXPECT_EQ(state.currentRifleLevel, 1);
    EXPECT_EQ(hero().getXP(), 0);
    EXPECT_EQ(state.upgradeIncreaseFactor, 5);
    EXPECT_EQ(state.weapon1, revolver);
    EXPECT_EQ(state.weapon2, -1);
    // The shop shows it bought at once.
    EXPECT_TRUE(weaponUpgradeMenu.getButtons()[levelButtonIndex(rifle, 0)].isActive());
    EXPECT_FALSE(weaponUpgradeMenu.getButtons()[levelButtonIndex(rifle, 1)].isDisabled());
}

TEST_F(Purchases, LevelsAreBoughtStrictlyInOrderUpToFive) {
    giveXP(10000);
    upgradeWeapon(state, revolver, 0);  // already owned: row 0 is never bought
    upgradeWeapon(state, revolver, 2);  // level 1: row 2 is out of reach
    EXPECT_EQ(state.currentRevolverLevel, 1);
    EXPECT_EQ(state.upgradeIncreaseFactor, 0);
    EXPECT_EQ(hero().getXP(), 10000);

    for (int row = 1; row < 5; ++row) upgradeWeapon(state, revolver, row);
    EXPECT_EQ(state.currentRevolverLevel, 5);
    for (int row = 0; row < 5; ++row) upgradeWeapon(state, revolver, row);
    EXPECT_EQ(state.currentRevolverLevel, 5);

    // Every kind of weapon has its own counter.
    for (int weapon : {rifle, shotgun, knife, laserPistol}) {
        upgradeWeapon(state, weapon, 0);
        EXPECT_EQ(weaponLevel(state, weapon), 1) << weapon;
    }
    for (int ability : {bounce, teleport, c4, grenade}) {
        upgradeAbility(state, ability, 1);
        EXPECT_EQ(state.abilityLevels[ability], 0) << ability;
        upgradeAbility(state, ability, 0);
        EXPECT_EQ(state.abilityLevels[ability], 1) << ability;
    }
    for (int upgrade : {armor, shield, speed, dodge}) {
        upgradePlayer(state, upgrade, 1);
        EXPECT_EQ(state.playerLevels[upgrade], 0) << upgrade;
        upgradePlayer(state, upgrade, 0);
        EXPECT_EQ(state.playerLevels[upgrade], 1) << upgrade;
    }
}

TEST_F(Purchases, TheExactPriceIsEnoughAndOneLessBuysNothing) {
    state.upgradeIncreaseFactor = 10;
    resetMenus(state);
    const auto before = pricesShown();

    giveXP(29);  // rifle row 0 costs 10 + 10, row 1 would be 20 + 10
    upgradeWeapon(state, rifle, 0);
    EXPECT_EQ(hero().getXP(), 9);
    giveXP(24);
    upgradeAbility(state, teleport, 0);  // 10 + 15
    EXPECT_EQ(state.abilityLevels[teleport], 0);
    upgradePlayer(state, armor, 0);
    EXPECT_EQ(state.playerLevels[armor], 0);
    EXPECT_EQ(hero().getXP(), 24);
    EXPECT_EQ(state.upgradeIncreaseFactor, 15);
    EXPECT_EQ(pricesShown().at({0, levelButtonIndex(rifle, 1)}), "35");

    giveXP(25);
    upgradeAbility(state, teleport, 0);
    EXPECT_EQ(state.abilityLevels[teleport], 1);
    EXPECT_EQ(hero().getXP(), 0);
    giveXP(30);
    upgradePlayer(state, shield, 0);
    EXPECT_EQ(state.playerLevels[shield], 1);
    EXPECT_EQ(hero().getXP(), 0);
    EXPECT_EQ(before.at({0, levelButtonIndex(rifle, 0)}), "20");
}

TEST_F(Purchases, EveryPriceShownRisesByFiveWithEachPurchase) {
    const auto before = pricesShown();
    ASSERT_EQ(before.size(), 3u * 2 + 25 + 15 + 20);  // two refills per tab, one per level button
    EXPECT_EQ(before.at({0, MAX_HP_BUTTON}), "15");
    EXPECT_EQ(before.at({2, playerLevelButtonIndex(dodge, 4)}), "50");

    giveXP(1000);
    upgradeWeapon(state, rifle, 0);
    upgradeAbility(state, bounce, 0);
    fullShield(state, 0, 0);
    const auto after = pricesShown();
    ASSERT_EQ(after.size(), before.size());
    for (const auto& [where, price] : before)
        EXPECT_EQ(std::stoi(after.at(where)), std::stoi(price) + 15) << where.first << "/" << where.second;
    // The refill costs what its tooltip said: 15 + 10 after two purchases.
    EXPECT_EQ(hero().getXP(), 1000 - 10 - 15 - 25);
}

TEST_F(Purchases, RefillsAreSoldEvenWhenFull) {
    hero().damage(state);
    ASSERT_LT(hero().getHealth(), 200);
    giveXP(14);
    fullHealth(state, 0, 0);
    EXPECT_LT(hero().getHealth(), 200);
    EXPECT_EQ(state.upgradeIncreaseFactor, 0);

    giveXP(15);
    fullHealth(state, 0, 0);
    EXPECT_EQ(hero().getHealth(), 200);
    EXPECT_EQ(hero().getXP(), 0);
    EXPECT_EQ(state.upgradeIncreaseFactor, 5);

    giveXP(20);
    fullShield(state, 0, 0);
    EXPECT_DOUBLE_EQ(hero().getShield(), 200);
    giveXP(25);
    fullShield(state, 0, 0);  // already full: sold all the same
    EXPECT_EQ(hero().getXP(), 0);
    EXPECT_EQ(state.upgradeIncreaseFactor, 15);
}

TEST_F(Purchases, WeaponSlots) {
    LogCapture log;
    selectWeapon(state, revolver, 0);  // the only weapon
    EXPECT_TRUE(log.contains("Must always have 1 weapon!"));
    EXPECT_EQ(state.weapon1, revolver);

    selectWeapon(state, rifle, 0);  // never bought
    EXPECT_EQ(state.weapon2, -1);

    state.currentRifleLevel = 1;
    state.currentKnifeLevel = 2;
    selectWeapon(state, rifle, 0);
    EXPECT_EQ(state.weapon2, rifle);
    EXPECT_TRUE(weaponUpgradeMenu.getButtons()[selectButtonIndex(rifle)].isActive());
    selectWeapon(state, knife, 0);
    EXPECT_TRUE(log.contains("No weapon slot free"));
    EXPECT_TRUE(state.weapon1 == revolver && state.weapon2 == rifle);

    selectWeapon(state, revolver, 0);  // the second weapon moves up
    EXPECT_TRUE(state.weapon1 == rifle && state.weapon2 == -1);
    EXPECT_FALSE(weaponUpgradeMenu.getButtons()[selectButtonIndex(revolver)].isActive());
    selectWeapon(state, knife, 0);
    selectWeapon(state, knife, 0);  // out of the second slot again
    EXPECT_TRUE(state.weapon1 == rifle && state.weapon2 == -1);

    // No weapon kind, no slot.
    selectWeapon(state, 7, 0);
    selectWeapon(state, -1, 0);
    EXPECT_TRUE(state.weapon1 == rifle && state.weapon2 == -1);
}

TEST_F(Purchases, AbilitiesAreChosenOnceOwned) {
    state.abilitiesKills = 3;
    selectAbility(state, teleport, 0);
    EXPECT_EQ(hero().getAbility(), none);

    giveXP(10);
    upgradeAbility(state, teleport, 0);
    selectAbility(state, teleport, 0);
    EXPECT_EQ(hero().getAbility(), teleport);
    EXPECT_TRUE(abilityUpgradeMenu.getButtons()[selectButtonIndex(teleport)].isActive());
    selectAbility(state, teleport, 0);  // chosen again: stays chosen
    EXPECT_EQ(hero().getAbility(), teleport);
    EXPECT_EQ(state.abilitiesKills, 3);  // kills carry over

    state.abilityLevels[bounce] = 1;
    selectAbility(state, 9, 0);  // any other value means bounce
    EXPECT_EQ(hero().getAbility(), bounce);
    EXPECT_FALSE(abilityUpgradeMenu.getButtons()[selectButtonIndex(teleport)].isActive());
}

TEST_F(Purchases, AttributesOutsideTheTablesBuyNothing) {
    giveXP(1000);
    upgradeWeapon(state, 5, 0);
    upgradeWeapon(state, rifle, 5);
    upgradeAbility(state, 4, 0);
    upgradeAbility(state, -1, 0);
    upgradePlayer(state, 4, 0);
    upgradePlayer(state, armor, -1);
    EXPECT_EQ(hero().getXP(), 1000);
    EXPECT_EQ(state.upgradeIncreaseFactor, 0);
}

TEST(RemoveTrailingZeros, PrintsNumbersAsTheShopShowsThem) {
    EXPECT_EQ(removeTrailingZeros(15.0), "15");
    EXPECT_EQ(removeTrailingZeros(0.5), "0.5");
    EXPECT_EQ(removeTrailingZeros(2.25), "2.25");
    EXPECT_EQ(removeTrailingZeros(100.0), "100");
    EXPECT_EQ(removeTrailingZeros(0.0), "0");
    EXPECT_EQ(removeTrailingZeros(1.0000001), "1");
    EXPECT_EQ(removeTrailingZeros(0.0000004), "0");
    EXPECT_EQ(removeTrailingZeros(1.75), "1.75");
}
