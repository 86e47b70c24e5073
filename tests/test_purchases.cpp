#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "TestSupport.h"
#include "play/World.h"
#include "player/Purchases.h"
#include "ui/MenuScreens.h"
#include "ui/UI.h"
#include "ui/UpgradeItems.h"
#include "ui/UpgradeMenus.h"

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

TEST_F(Purchases, TheFirstRifleCostsTenAndGoesIntoTheEmptySlotAFullOneStaysAsItWas) {
    giveXP(10);
    upgradeWeapon(state, rifle, 0);
    EXPECT_EQ(state.currentRifleLevel, 1);
    EXPECT_EQ(hero().getXP(), 0);
    EXPECT_EQ(state.upgradeIncreaseFactor, 5);
    EXPECT_EQ(state.weapon1, revolver);
    EXPECT_EQ(state.weapon2, rifle);  // bought into the empty second slot, no switch to click
    // The shop shows it bought and carried at once.
    EXPECT_TRUE(weaponUpgradeMenu.getButtons()[levelButtonIndex(rifle, 0)].isActive());
    EXPECT_TRUE(weaponUpgradeMenu.getButtons()[selectButtonIndex(rifle)].isActive());
    EXPECT_FALSE(weaponUpgradeMenu.getButtons()[levelButtonIndex(rifle, 1)].isDisabled());

    // Both slots full: the shotgun is owned, and waits for its switch.
    giveXP(1000);
    upgradeWeapon(state, shotgun, 0);
    EXPECT_EQ(state.currentShotgunLevel, 1);
    EXPECT_TRUE(state.weapon1 == revolver && state.weapon2 == rifle);

    // An ability bought by a hero without one is his at once; a second one is only owned.
    upgradeAbility(state, c4, 0);
    EXPECT_EQ(hero().getAbility(), c4);
    upgradeAbility(state, bounce, 0);
    EXPECT_EQ(state.abilityLevels[bounce], 1);
    EXPECT_EQ(hero().getAbility(), c4);
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
    for (const auto& [where, price] : before) {
        // A level the hero has is "Owned" instead of priced: the revolver's first, and the two bought here.
        if (price == "Owned" || after.at(where) == "Owned") continue;
        EXPECT_EQ(std::stoi(after.at(where)), std::stoi(price) + 15) << where.first << "/" << where.second;
    }
    EXPECT_EQ(before.at({0, levelButtonIndex(revolver, 0)}), "Owned");
    EXPECT_EQ(after.at({0, levelButtonIndex(rifle, 0)}), "Owned");
    EXPECT_EQ(after.at({1, levelButtonIndex(bounce, 0)}), "Owned");
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

// Every tooltip of the shop names its item and level first; a level the hero
// has says "Owned" where its price was; the laser's numbers get plain words.
TEST_F(Purchases, EveryTooltipOpensWithItsTitleAndAnOwnedLevelIsNotPriced) {
    const std::vector<std::pair<UI_Menu*, std::vector<std::string>>> tabs{
        {&weaponUpgradeMenu, {"Revolver", "Rifle", "Shotgun", "Knife", "Laser pistol"}},
        {&abilityUpgradeMenu, {"Bounce", "Teleport", "C4 charge"}},
        {&playerUpgradeMenu, {"Armor", "Shield charge", "Speed", "Dodge"}}};
    for (const auto& [menu, names] : tabs) {
        const bool upgrades = menu == &playerUpgradeMenu;
        EXPECT_EQ(at(*menu, MAX_HP_BUTTON)->getHover().getWholeLine(0), "Max HP");
        EXPECT_EQ(at(*menu, MAX_SHIELD_BUTTON)->getHover().getWholeLine(0), "Max Shield");
        for (int column = 0; column < static_cast<int>(names.size()); ++column) {
            for (int row = 0; row < 5; ++row) {
                const int index = upgrades ? playerLevelButtonIndex(column, row) : levelButtonIndex(column, row);
                const UI_HoverText& tooltip = at(*menu, index)->getHover();
                ASSERT_GE(tooltip.getNumberOfWholeLines(), 1) << names[column];
                EXPECT_EQ(tooltip.getWholeLine(0), names[column] + ", level " + std::to_string(row + 1));
            }
        }
    }
    const UI_HoverText& laser = at(weaponUpgradeMenu, levelButtonIndex(laserPistol, 0))->getHover();
    ASSERT_EQ(laser.getNumberOfWholeLines(), 2);
    EXPECT_NE(laser.getWholeLine(1).find("heat"), std::string::npos);
    EXPECT_EQ(laser.getLineText(1), "Cool Fire Rate: ");  // the numbers' own lines stay as they were

    // The revolver's first level comes with the hero; the rifle's once bought.
    const auto cost = [](int weapon, int row) {
        return at(weaponUpgradeMenu, levelButtonIndex(weapon, row))->getHover().getLineValue(0);
    };
    EXPECT_EQ(cost(revolver, 0), "Owned");
    EXPECT_EQ(cost(rifle, 0), "10");
    giveXP(10);
    upgradeWeapon(state, rifle, 0);
    EXPECT_EQ(cost(rifle, 0), "Owned");
    EXPECT_EQ(cost(rifle, 1), "25");
}

// A click the XP does not cover spends nothing, answers with the "denied"
// sound instead of the click, and shows the price red for half a second.
TEST_F(Purchases, AnUnaffordableClickSpendsNothingSoundsDeniedAndShowsThePriceRed) {
    giveXP(5);
    state.menu = Menu::weaponUpgrade;
    UI_Button* rifle1 = at(weaponUpgradeMenu, levelButtonIndex(rifle, 0));
    setCurrentButton(rifle1);
    rifle1->click();
    EXPECT_EQ(hero().getXP(), 5);
    EXPECT_EQ(state.currentRifleLevel, 0);
    if (deniedSound.isLoaded() && Mix_QuerySpec(nullptr, nullptr, nullptr) != 0) {
        EXPECT_TRUE(deniedSound.isPlaying());
        EXPECT_FALSE(buttonSound.isPlaying());
    }
    EXPECT_TRUE(rifle1->getHover().isFlashing(SDL_GetTicks()));
    EXPECT_FALSE(rifle1->getHover().isFlashing(SDL_GetTicks() + 501));
    EXPECT_TRUE(priceFlashing(state, SDL_GetTicks()));
    // The price drawn red, where it is white otherwise.
    renderMenu(state);
    const HoverLayout box = rifle1->getHover().layout();
    const int valueX = rifle1->getX() + rifle1->getWidth() + box.breakPoint + 2;
    const int costY = rifle1->getY() + scale(15.0 * rifle1->getHover().getNumberOfWholeLines());
    int red = 0;
    for (int y = costY; y < costY + scale(15); ++y)
        for (int x = valueX; x < valueX + 30; ++x) red += sameColour(canvas.pixel(x, y), 255, 70, 70, 40) ? 1 : 0;
    EXPECT_GT(red, 5);

    // An owned level, or one not yet in reach, is no purchase to deny.
    Mix_HaltChannel(-1);
    at(weaponUpgradeMenu, levelButtonIndex(revolver, 0))->click();
    at(weaponUpgradeMenu, levelButtonIndex(rifle, 3))->click();
    if (deniedSound.isLoaded() && Mix_QuerySpec(nullptr, nullptr, nullptr) != 0) {
        EXPECT_FALSE(deniedSound.isPlaying());
    }
    // Nor a refill bought.
    giveXP(100);
    at(weaponUpgradeMenu, MAX_HP_BUTTON)->click();
    EXPECT_FALSE(at(weaponUpgradeMenu, MAX_HP_BUTTON)->getHover().isFlashing(SDL_GetTicks()));
}
