#include <gtest/gtest.h>
#include <unistd.h>

#include <list>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "platform/State.h"
#include "play/Frame.h"
#include "player/Player.h"
#include "player/Weapon.h"
#include "ui/ControlHints.h"
#include "ui/Hud.h"
#include "ui/UI.h"

namespace {

bool isBlack(SDL_Color c) { return sameColour(c, 0, 0, 0); }
bool isGrey(SDL_Color c) { return sameColour(c, 150, 150, 150); }
bool isRed(SDL_Color c) { return sameColour(c, 255, 0, 0); }
bool isBlue(SDL_Color c) { return sameColour(c, 0, 0, 255); }

// Number of pixels that are not black in the rows [top, bottom) across the window.
int litRows(const Canvas& canvas, int top, int bottom) { return litPixels(canvas, 0, top, WINDOW_WIDTH, bottom - top); }

// The heads-up display and the menus on a software canvas.
class Hud : public ::testing::Test, protected TestGame {
protected:
    Hud() : TestGame({.run = false, .world = false}) {}
};

}  // namespace

TEST_F(Hud, StartUpOpensFourSizesOfTheFont) {
    ASSERT_TRUE(counter && small && verySmall && title);
    EXPECT_LT(TTF_FontHeight(verySmall), TTF_FontHeight(small));
    EXPECT_LT(TTF_FontHeight(small), TTF_FontHeight(counter));
    EXPECT_LT(TTF_FontHeight(counter), TTF_FontHeight(title));
}

TEST_F(Hud, FullBarsFillTheirBackgroundsBarTheTopRowOfTheVerticalOnes) {
    updateTimeToShoot(scale(75));
    updateTimeToAbility(scale(75));
    renderPlayerUI(1.0, 1.0, true, 0, 0);

    EXPECT_TRUE(isRed(canvas.pixel(1065, 645)) && isRed(canvas.pixel(1176, 666)));
    EXPECT_TRUE(isBlack(canvas.pixel(1177, 645)) && isBlack(canvas.pixel(1065, 667)));
    EXPECT_TRUE(isBlue(canvas.pixel(1065, 608)) && isBlue(canvas.pixel(1176, 629)));
    EXPECT_TRUE(isBlack(canvas.pixel(1065, 630)) && isBlack(canvas.pixel(1065, 607)));

    EXPECT_TRUE(timeToShoot.w == timeToShootBack.w && healthRect.y == 601 && healthRect.h == 112);
    EXPECT_TRUE(isGrey(canvas.pixel(15, 600)) && isRed(canvas.pixel(15, 601)) && isRed(canvas.pixel(36, 712)));
    EXPECT_TRUE(isGrey(canvas.pixel(52, 600)) && isBlue(canvas.pixel(73, 601)) && isBlue(canvas.pixel(52, 712)));
    EXPECT_TRUE(isBlack(canvas.pixel(15, 713)) && isBlack(canvas.pixel(37, 650)) && isBlack(canvas.pixel(51, 650)));
}

TEST_F(Hud, PartialBarsTruncateAndVerticalFillsGrowFromTheBottom) {
    updateTimeToShoot(37.9);
    updateTimeToAbility(0.0);
    renderPlayerUI(0.5, 0.0, true, 0, 0);

    EXPECT_TRUE(isRed(canvas.pixel(1101, 655)) && isGrey(canvas.pixel(1102, 655)));
    EXPECT_TRUE(isGrey(canvas.pixel(1065, 620)));  // empty ability bar: background only

    EXPECT_TRUE(healthRect.y == 657 && healthRect.h == 56);
    EXPECT_TRUE(isGrey(canvas.pixel(20, 656)) && isRed(canvas.pixel(20, 657)) && isRed(canvas.pixel(20, 712)));
    EXPECT_EQ(shieldRect.h, 0);
    // Empty fills draw nothing, not even a line.
    EXPECT_TRUE(isGrey(canvas.pixel(60, 600)) && isGrey(canvas.pixel(60, 711)));
    EXPECT_TRUE(isBlack(canvas.pixel(60, 712)) && isBlack(canvas.pixel(60, 713)));
}

TEST_F(Hud, WithoutAnAbilityOnlyTheReloadBarIsDrawn) {
    renderPlayerUI(1.0, 1.0, false, 0, 0);
    EXPECT_TRUE(isRed(canvas.pixel(1100, 650)));
    for (int x = 1060; x < 1180; x += 5) EXPECT_TRUE(isBlack(canvas.pixel(x, 620))) << x;
}

TEST_F(Hud, CartridgesRunLeftwardFromTheRightEdgeLoadedOnesRightmost) {
    renderPlayerUI(1.0, 1.0, false, 2, 6);
    const std::vector<int> xs{1155, 1125, 1095, 1065, 1035, 1005};
    for (size_t i = 0; i < xs.size(); ++i) {
        const bool loaded = i < 2;
        EXPECT_TRUE(loaded ? isRed(canvas.pixel(xs[i], 683)) : isGrey(canvas.pixel(xs[i], 683))) << xs[i];
        EXPECT_TRUE(loaded ? isRed(canvas.pixel(xs[i] + 21, 704)) : isGrey(canvas.pixel(xs[i] + 21, 704))) << xs[i];
        EXPECT_TRUE(isBlack(canvas.pixel(xs[i] - 1, 690))) << "gap left of " << xs[i];
    }
    EXPECT_TRUE(isBlack(canvas.pixel(1155, 682)) && isBlack(canvas.pixel(1155, 705)));
    EXPECT_TRUE(isBlack(canvas.pixel(975, 690)) && isBlack(canvas.pixel(996, 690)));  // no seventh square
}

TEST_F(Hud, TextsShowTheNumbersAndTheBannerOnlyBeforeTheWaveStarts) {
    updateInGameText(3, 7, 120);
    int w = 0, h = 0;
    ASSERT_EQ(TTF_SizeText(title, "Wave 7 Start!", &w, &h), 0);
    EXPECT_EQ(waveNumberTitle.getWidth(), w);
    EXPECT_EQ(waveNumberTitle.getHeight(), h);

    renderInGameText(false, 60.0f, false);
    EXPECT_TRUE(showsText(canvas, 15, 7, "Wave: 7", counter));
    EXPECT_TRUE(showsText(canvas, 15, 45, "Combo: 3", counter));
    EXPECT_TRUE(showsText(canvas, 15, 82, "XP: 120", counter));
    EXPECT_TRUE(showsText(canvas, (1200 - w) / 2, 300, "Wave 7 Start!", title));
    // Nothing between the top-left texts and the banner, nor below it.
    EXPECT_EQ(litRows(canvas, 82 + playerXPText.getHeight(), 300), 0);
    EXPECT_EQ(litRows(canvas, 300 + h, 600), 0);

    canvas.clear(0, 0, 0);
    renderInGameText(false, 60.0f, true);
    EXPECT_TRUE(showsText(canvas, 15, 7, "Wave: 7", counter));
    EXPECT_EQ(litRows(canvas, 150, 600), 0);
}

TEST_F(Hud, OnlyUpdatesRenderTextsExceptTheFrameRateInDeveloperMode) {
    updateInGameText(0, 1, 0);
    const Texture wave = waveNumberText, combo = comboNumberText, xp = playerXPText, banner = waveNumberTitle;

    renderInGameText(false, 59.5f, false);
    renderInGameText(false, 59.5f, true);
    EXPECT_EQ(fpsText.getTexture(), nullptr);  // never rendered outside developer mode
    EXPECT_EQ(litRows(canvas, 120, 160), 0);

    renderInGameText(true, 59.5f, true);
    EXPECT_TRUE(showsText(canvas, 15, 120, "FPS: 59.500000", counter));
    const Texture firstFps = fpsText;
    renderInGameText(true, 59.5f, true);
    EXPECT_NE(fpsText.getTexture(), firstFps.getTexture());  // re-rendered each developer frame

    const Texture lastFps = fpsText;
    canvas.clear(0, 0, 0);
    renderInGameText(false, 30.0f, true);
    EXPECT_EQ(fpsText.getTexture(), lastFps.getTexture());
    EXPECT_EQ(litRows(canvas, 120, 160), 0);

    EXPECT_EQ(waveNumberText.getTexture(), wave.getTexture());
    EXPECT_EQ(comboNumberText.getTexture(), combo.getTexture());
    EXPECT_EQ(playerXPText.getTexture(), xp.getTexture());
    EXPECT_EQ(waveNumberTitle.getTexture(), banner.getTexture());
    updateInGameText(0, 2, 0);
    EXPECT_NE(waveNumberText.getTexture(), wave.getTexture());
}

TEST_F(Hud, DrawsWithTheRendererGivenAtStartUpNotTheCurrentGameRenderer) {
    updateInGameText(1, 1, 1);
    Canvas other;  // now the game renderer
    renderInGameText(false, 0.0f, false);
    renderPlayerUI(1.0, 1.0, true, 1, 1);
    EXPECT_TRUE(isRed(canvas.pixel(20, 700)) && isRed(canvas.pixel(1160, 690)));
    EXPECT_GT(litRows(canvas, 0, 120), 0);
    EXPECT_EQ(litRows(other, 0, 720), 0);
}

TEST_F(Hud, TheHeroAndHisWeaponFeedTheBars) {
    std::vector<Spawn> spawns;
    Entity body(&spawns, canvas.renderer, 10);
    Player hero(&body, nullptr);  // no weapon in hand yet: no cartridges
    renderPlayerUI(&hero);
    EXPECT_TRUE(isRed(canvas.pixel(15, 601)) && isGrey(canvas.pixel(52, 711)));  // full health, no shield
    EXPECT_TRUE(isBlack(canvas.pixel(1065, 620)) && isBlack(canvas.pixel(1160, 690)));

    Weapon revolver(::revolver, canvas.renderer, state);  // a clip of 4 at level 1
    revolver.reset();
    std::list<Entity> bodies;
    std::list<Bullet> bullets;
    ASSERT_TRUE(revolver.shoot(&bodies, &bullets, state, true, 0, 0));
    hero.setPrimaryWeapon(&revolver);
    hero.setSecondaryWeapon(nullptr);
    hero.damage(state);  // a quarter of his health
    hero.setAbility(teleport);
    updateTimeToAbility(50);
    canvas.clear(0, 0, 0);
    renderPlayerUI(&hero);

    EXPECT_TRUE(isGrey(canvas.pixel(15, 628)) && isRed(canvas.pixel(15, 629)));
    EXPECT_TRUE(isGrey(canvas.pixel(1176, 608)) && isBlue(canvas.pixel(1065, 620)));
    for (int x : {1155, 1125, 1095}) EXPECT_TRUE(isRed(canvas.pixel(x, 690))) << x;
    EXPECT_TRUE(isGrey(canvas.pixel(1065, 690)) && isBlack(canvas.pixel(1035, 690)));
}

TEST(HudShutdown, CloseReleasesEverythingAndCanBeRepeated) {
    UI_close();  // nothing open yet in this test: harmless
    Canvas canvas;
    State record;
    UI_init(canvas.renderer, record, nullptr);
    updateInGameText(1, 1, 1);
    renderInGameText(true, 1.0f, false);
    UI_close();
    UI_close();
    EXPECT_TRUE(!counter && !small && !verySmall && !title);
    for (const Texture* text : {&waveNumberText, &waveNumberTitle, &comboNumberText, &playerXPText, &fpsText})
        EXPECT_EQ(text->getTexture(), nullptr);
}

TEST(HudShutdown, AMissingFontLeavesBlankTextsAndPlayGoesOn) {
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir("/"), 0);  // no resources folder here
    TestGame game({.run = false, .world = false});
    const Canvas& canvas = game.canvas;
    ASSERT_EQ(chdir(previous), 0);
    // Only the heads-up texts count here; the menus built by UI_init log their own.
    LogCapture log;
    updateInGameText(1, 1, 1);
    renderInGameText(false, 0.0f, false);
    renderPlayerUI(1.0, 1.0, false, 0, 0);
    EXPECT_EQ(log.count("Unable to render text surface"), 1);  // once, not once per text
    EXPECT_EQ(litRows(canvas, 0, 400), 0);
    EXPECT_TRUE(isRed(canvas.pixel(20, 700)));
}

// Each bar says what it is with a picture beside it, the weapon just taken in
// hand is named for two seconds, and a bottom corner with the hero under it
// is drawn at half opacity until he leaves it.
TEST_F(Hud, PicturesNameTheBarsTheNewWeaponIsNamedAndACornerFadesOverTheHero) {
    std::vector<Spawn> spawns;
    Entity body(&spawns, canvas.renderer, 10);
    Weapon revolver(::revolver, canvas.renderer, state);
    Weapon rifle(::rifle, canvas.renderer, state);
    Player hero(&body, &revolver);
    hero.setSecondaryWeapon(&rifle);
    hero.setAbility(c4);
    body.setPosition(600, 300);  // under no corner
    updateTimeToAbility(scale(75));
    renderPlayerUI(&hero, 1000);
    const auto showsIcon = [&](const char* file, const SDL_Rect& at) {
        return showsPicture(canvas, file, at.x, at.y, at.w, at.h);
    };
    EXPECT_TRUE(showsIcon("hud-heart.png", healthIconRect()));
    EXPECT_TRUE(showsIcon("hud-shield.png", shieldIconRect()));
    EXPECT_TRUE(showsIcon("hud-cartridge.png", reloadIconRect()));
    EXPECT_TRUE(showsIcon("hud-c4.png", abilityIconRect()));
    // Beside their bars, clear of them.
    for (const SDL_Rect& icon : {healthIconRect(), shieldIconRect(), reloadIconRect(), abilityIconRect()})
        for (const SDL_Rect* bar : {&healthBackRect, &shieldBackRect, &timeToShootBack, &timeToAbilityBack})
            EXPECT_FALSE(SDL_HasIntersection(&icon, bar));

    // A switch names the rifle over the ability bar; two seconds on it is gone.
    const SDL_Rect nameArea{timeToShootBack.x - 60, timeToAbilityBack.y - 40, 172, 36};
    EXPECT_EQ(litPixels(canvas, nameArea.x, nameArea.y, nameArea.w, nameArea.h), 0);
    hero.changeWeapon();
    canvas.clear(0, 0, 0);
    renderPlayerUI(&hero, 1100);
    EXPECT_GT(litPixels(canvas, nameArea.x, nameArea.y, nameArea.w, nameArea.h), 20);
    std::vector<SDL_Rect> covered;
    hudAreas(&hero, false, true, covered);
    EXPECT_GT(covered.size(), 12u);  // the name too: the robot arrows keep clear of it
    canvas.clear(0, 0, 0);
    renderPlayerUI(&hero, 1100 + WEAPON_NAME_MS);
    EXPECT_EQ(litPixels(canvas, nameArea.x, nameArea.y, nameArea.w, nameArea.h), 0);

    // Under the bottom left corner: its bars at half opacity over the world; the other corner as it was.
    canvas.clear(0, 0, 0);
    body.setPosition(10, 620);
    renderPlayerUI(&hero, 5000);
    const SDL_Color health = canvas.pixel(20, 700);
    EXPECT_TRUE(sameColour(health, 128, 0, 0, 3)) << int(health.r);
    EXPECT_TRUE(isRed(canvas.pixel(1100, 650)));
    body.setPosition(600, 300);
    canvas.clear(0, 0, 0);
    renderPlayerUI(&hero, 5017);
    EXPECT_TRUE(isRed(canvas.pixel(20, 700)));
}

// The keys in use along the bottom in a run's first two waves: whole in waves
// 1 and 2, fading through the first second of wave 3, then gone, and never
// with the setting off; between the display's corners, clear of every bar.
TEST(ControlsStrip, TeachesTheFirstTwoWavesBetweenTheCornersUnlessTurnedOff) {
    EXPECT_EQ(hintsOpacity(1, 1000, 90000), 1.0f);
    EXPECT_EQ(hintsOpacity(2, 1000, 90000), 1.0f);
    EXPECT_NEAR(hintsOpacity(3, 1000, 1500), 0.5f, 0.01f);
    EXPECT_EQ(hintsOpacity(3, 1000, 1000 + HINTS_FADE_MS), 0.0f);
    EXPECT_EQ(hintsOpacity(4, 1000, 1100), 0.0f);
    EXPECT_EQ(hintsOpacity(11, 1000, 1100), 0.0f);  // a campaign's second level is no run's beginning

    TestGame game;
    std::vector<SDL_Rect> covered;
    hudAreas(&game.run->player, false, true, covered);
    const SDL_Rect band = hintsBand(hudLeftCorner(), hudRightCorner(&game.run->player));
    for (const SDL_Rect& area : covered) EXPECT_FALSE(SDL_HasIntersection(&band, &area));
    EXPECT_GT(band.w, 700);

    // The band's pixels in a frame of wave 1, with or without the strip, for the keyboard or a pad.
    auto bandPixels = [&](bool hints, bool pad) {
        state.settings.controlHints = hints;
        state.menuGate.admits(pad ? padButtonEvent(0, SDL_CONTROLLER_BUTTON_A) : keyEvent(SDLK_DOWN), state.menu, 1);
        game.world->waveNumber = 1;
        game.canvas.clear(0, 0, 0);
        renderStillFrame(state, *game.run, *game.world, 1);
        std::vector<SDL_Color> pixels;
        for (int y = band.y; y < band.y + band.h; y += 2)
            for (int x = band.x; x < band.x + band.w; x += 2) pixels.push_back(game.canvas.pixel(x, y));
        return pixels;
    };
    auto differing = [](const std::vector<SDL_Color>& a, const std::vector<SDL_Color>& b) {
        int n = 0;
        for (std::size_t i = 0; i < a.size(); ++i) n += sameColour(a[i], b[i].r, b[i].g, b[i].b) ? 0 : 1;
        return n;
    };
    const std::vector<SDL_Color> none = bandPixels(false, false);
    const std::vector<SDL_Color> keyboard = bandPixels(true, false);
    const std::vector<SDL_Color> pad = bandPixels(true, true);
    EXPECT_GT(differing(none, keyboard), static_cast<int>(none.size()) / 2) << "no dark band";
    EXPECT_GT(differing(keyboard, pad), 100) << "the controller's pictures are the keyboard's words";
    EXPECT_EQ(differing(none, bandPixels(false, true)), 0) << "the strip shows with the setting off";
}
