#include <SDL_image.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "ui/Menu.h"

namespace {

const SDL_Color WHITE{255, 255, 255, 255};

struct Font {
    explicit Font(int size) : font(TTF_OpenFont("resources/sans.ttf", size)) {}
    ~Font() { TTF_CloseFont(font); }
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;
    TTF_Font* font;
};

// Writes a w x h picture into the texture folder, left half one colour, right half another.
void writePicture(const std::string& name, int w, int h, SDL_Color left, SDL_Color right) {
    SDL_Surface* image = SDL_CreateRGBSurfaceWithFormat(0, w, h, 24, SDL_PIXELFORMAT_RGB24);
    SDL_Rect leftHalf{0, 0, w / 2, h};
    SDL_Rect rightHalf{w / 2, 0, w - w / 2, h};
    SDL_FillRect(image, &leftHalf, SDL_MapRGB(image->format, left.r, left.g, left.b));
    SDL_FillRect(image, &rightHalf, SDL_MapRGB(image->format, right.r, right.g, right.b));
    ASSERT_EQ(IMG_SavePNG(image, ("resources/textures/" + name).c_str()), 0) << IMG_GetError();
    SDL_FreeSurface(image);
}

const SDL_Color RED{200, 100, 50, 255};
const SDL_Color GREEN{0, 200, 0, 255};
const SDL_Color CYAN{0, 255, 255, 255};

std::vector<Uint32> snapshot(const Canvas& canvas, SDL_Rect area) {
    SDL_RenderFlush(canvas.renderer);
    std::vector<Uint32> pixels;
    const auto* rows = static_cast<const Uint32*>(canvas.surface->pixels);
    for (int y = area.y; y < area.y + area.h; ++y)
        for (int x = area.x; x < area.x + area.w; ++x) pixels.push_back(rows[y * (canvas.surface->pitch / 4) + x]);
    return pixels;
}

struct Call {
    State* state = nullptr;
    int attribute = -1;
    int attribute2 = -1;
    int count = 0;
};
Call lastCall;
void recordCall(State& state, int attribute, int attribute2) {
    lastCall = {&state, attribute, attribute2, lastCall.count + 1};
}

}  // namespace

TEST(UI_Button, TextLabelIsCentredWithTruncationAndDisabledLooksTheSame) {
    Canvas canvas;
    State record;
    // With these labels the free space is odd, across, down or both, and once
    // negative: the halves must truncate toward zero.
    struct Case {
        int type;
        int fontSize;
        const char* label;
    };
    const Case cases[] = {{0, 27, "Campaign Mode"},
                          {0, 27, "A label far too long to fit inside one menu button"},
                          {1, 18, "Arcade Mode"}};
    const SDL_Rect area{200, 300, 800, 120};
    for (const Case& c : cases) {
        Font font(c.fontSize);
        UI_Button blank(420, 322, c.label, canvas.renderer, nullptr, &WHITE, nullptr, recordCall, record, c.type, 0, 0);
        Texture expected;
        expected.setup(canvas.renderer);
        ASSERT_TRUE(expected.loadFromRenderedText(c.label, WHITE, font.font));
        canvas.clear(0, 0, 0);
        blank.render();
        expected.render(420 + (blank.getWidth() - expected.getWidth()) / 2,
                        322 + (blank.getHeight() - expected.getHeight()) / 2);
        const std::vector<Uint32> reference = snapshot(canvas, area);

        UI_Button button(420, 322, c.label, canvas.renderer, nullptr, &WHITE, font.font, recordCall, record, c.type, 0,
                         0);
        canvas.clear(0, 0, 0);
        button.render();
        EXPECT_EQ(snapshot(canvas, area), reference) << c.label;
        button.disable();
        canvas.clear(0, 0, 0);
        button.render();
        EXPECT_EQ(snapshot(canvas, area), reference) << c.label;
        canvas.clear(0, 0, 0);
        blank.render();
        EXPECT_NE(snapshot(canvas, area), reference) << "the label drew nothing";
    }
}

TEST(UI_Button, HitAreaIncludesAllFourEdgesOfEachKind) {
    Canvas canvas;
    State record;
    UI_Button big(420, 322, "x", canvas.renderer, nullptr, &WHITE, nullptr, recordCall, record, 0, 0, 0);
    EXPECT_TRUE(big.mouseEvent(420, 322));
    EXPECT_TRUE(big.mouseEvent(780, 394));
    EXPECT_FALSE(big.mouseEvent(781, 322));
    EXPECT_FALSE(big.mouseEvent(419, 322));
    EXPECT_FALSE(big.mouseEvent(420, 321));
    EXPECT_FALSE(big.mouseEvent(420, 395));
    const int sizes[][2] = {{360, 72}, {192, 38}, {90, 90}, {90, 45}, {648, 48}, {0, 0}};
    for (int type = 0; type < 6; ++type) {
        UI_Button button(10, 20, "x", canvas.renderer, nullptr, &WHITE, nullptr, recordCall, record, type, 0, 0);
        EXPECT_EQ(button.getWidth(), sizes[type][0]) << type;
        EXPECT_EQ(button.getHeight(), sizes[type][1]) << type;
        EXPECT_EQ(button.getType(), type);
    }
}

TEST(UI_Button, DisabledImageButtonDimsItsOwnPicturesOnly) {
    const ScratchFile picture("resources/textures/test-menu-picture.png");
    const ScratchFile mark("resources/textures/test-menu-mark.png");
    writePicture("test-menu-picture.png", 4, 4, RED, RED);
    writePicture("test-menu-mark.png", 4, 4, CYAN, GREEN);
    Canvas canvas;
    State record;
    UI_Button button(100, 100, "test-menu-picture.png", canvas.renderer, nullptr, recordCall, record, 2, 0, 0,
                     "test-menu-mark.png");
    UI_Button plain(300, 100, "test-menu-picture.png", canvas.renderer, nullptr, recordCall, record, 2, 0, 0, "no");
    button.disable();
    button.render();
    plain.render();
    EXPECT_TRUE(sameColour(canvas.pixel(110, 180), 47, 23, 11));  // 200,100,50 at 60/255
    EXPECT_TRUE(sameColour(canvas.pixel(180, 180), 0, 47, 0));    // the second picture, over the first
    EXPECT_TRUE(sameColour(canvas.pixel(310, 180), RED.r, RED.g, RED.b));  // same image, not tinted
    EXPECT_TRUE(sameColour(canvas.pixel(380, 180), RED.r, RED.g, RED.b));  // "no": one picture only
    button.enable();
    button.render();
    EXPECT_TRUE(sameColour(canvas.pixel(110, 180), RED.r, RED.g, RED.b));
    EXPECT_TRUE(sameColour(canvas.pixel(180, 180), GREEN.r, GREEN.g, GREEN.b));
}

TEST(UI_HoverText, WidestLineSetsTheBoxAndTheLabelColumn) {
    const HoverLayout two = hoverLayout({40, 60}, {20, 10});
    EXPECT_EQ(two.width, 102);
    EXPECT_EQ(two.breakPoint, 70);
    EXPECT_EQ(two.height, 45);
    EXPECT_EQ(hoverLayout({50, 30, 10}, {20, 40, 5}).breakPoint, 60);  // equal totals: the first counts
    EXPECT_EQ(hoverLayout({1, 1, 1}, {1, 1, 1}).height, 67);            // int(22.5 * 3)
}

TEST(UI_HoverText, DrawsBoxRightAlignedLabelsAndValues) {
    Canvas canvas;
    Font tipFont(15);
    UI_HoverText tip;
    tip.setup(2, canvas.renderer);
    tip.addLine("Cost: ", "25 for each level bought", tipFont.font, WHITE);
    tip.addLine("Bullet Durability: ", "2", tipFont.font, WHITE);
    ASSERT_EQ(tip.getNumberOfLines(), 2);
    EXPECT_EQ(tip.getLineValue(1), "2");
    tip.render(300, 100);
    const SDL_Rect area{100, 90, 600, 70};
    const std::vector<Uint32> drawn = snapshot(canvas, area);
    Uint8 r, g, b, a;
    SDL_GetRenderDrawColor(canvas.renderer, &r, &g, &b, &a);
    EXPECT_TRUE(r == 220 && g == 220 && b == 220 && a == 255);

    std::vector<Texture> parts(4);
    const char* words[] = {"Cost: ", "25 for each level bought", "Bullet Durability: ", "2"};
    for (int i = 0; i < 4; ++i) {
        parts[i].setup(canvas.renderer);
        parts[i].loadFromRenderedText(words[i], WHITE, tipFont.font);
    }
    // The first line is the widest, so the long second label pokes out left of the box.
    const int width = parts[0].getWidth() + parts[1].getWidth() + 32;
    const int breakPoint = parts[0].getWidth() + 10;
    ASSERT_GT(width, parts[2].getWidth() + parts[3].getWidth() + 32);
    ASSERT_GT(parts[2].getWidth(), breakPoint);

    canvas.clear(0, 0, 0);
    const SDL_Rect box{300, 100, width, 45};
    SDL_SetRenderDrawColor(canvas.renderer, 26, 26, 26, 255);
    SDL_RenderFillRect(canvas.renderer, &box);
    SDL_SetRenderDrawColor(canvas.renderer, 220, 220, 220, 255);
    SDL_RenderDrawRect(canvas.renderer, &box);
    parts[0].render(300 + breakPoint - parts[0].getWidth(), 100);
    parts[1].render(300 + breakPoint + 2, 100);
    parts[2].render(300 + breakPoint - parts[2].getWidth(), 122);
    parts[3].render(300 + breakPoint + 2, 122);
    EXPECT_EQ(drawn, snapshot(canvas, area));
}

TEST(UI_Menu, DrawsTitleButtonsThenTooltipOfTheSelectedButtonOnTop) {
    const ScratchFile picture("resources/textures/test-menu-picture.png");
    const ScratchFile titlePicture("resources/textures/test-menu-title.png");
    writePicture("test-menu-picture.png", 4, 4, RED, RED);
    writePicture("test-menu-title.png", 4, 4, SDL_Color{20, 40, 220, 255}, SDL_Color{20, 40, 220, 255});
    Canvas canvas;
    Font tipFont(15);
    State record;
    Texture logo;
    logo.setup(40, 20, canvas.renderer);
    ASSERT_TRUE(logo.loadFromFile("test-menu-title.png"));
    {
        UI_Menu menu(2);
        menu.setup(canvas.renderer, nullptr);
        menu.addTitle(10, 10, logo);
        menu.addButton(100, 300, "test-menu-picture.png", -1, -1, -1, -1, recordCall, record, 2, 0, 0, "no");
        menu.addButton(190, 300, "test-menu-picture.png", -1, -1, 0, -1, recordCall, record, 2, 0, 0, "no");
        UI_Button& first = menu.getButtons()[0];
        first.setupHover(1);
        first.addLine("Cost: ", "15", tipFont.font, WHITE);
        menu.render();
        EXPECT_TRUE(sameColour(canvas.pixel(15, 15), 20, 40, 220));
        EXPECT_TRUE(sameColour(canvas.pixel(192, 310), RED.r, RED.g, RED.b));  // not selected: no tooltip
        first.select();
        menu.render();
        EXPECT_TRUE(sameColour(canvas.pixel(192, 310), 26, 26, 26));  // over the next button
    }
    canvas.clear(0, 0, 0);
    logo.render(10, 10);  // the menu shared the logo and left it to its creator
    EXPECT_TRUE(sameColour(canvas.pixel(15, 15), 20, 40, 220));
}

TEST(UI_Menu, AddButtonLinksBothWaysAndLaterLinksOverwrite) {
    State record;
    UI_Menu menu(5);
    EXPECT_EQ(menu.addButton(0, 0, "A", nullptr, nullptr, -1, -1, -1, -1, recordCall, record, 9, 0, 0), 0);
    EXPECT_EQ(menu.addButton(0, 0, "B", nullptr, nullptr, 0, -1, -1, -1, recordCall, record, 9, 0, 0), 1);
    EXPECT_EQ(menu.addButton(0, 0, "C", nullptr, nullptr, 1, -1, 0, -1, recordCall, record, 9, 0, 0), 2);
    EXPECT_EQ(menu.addButton(0, 0, "D", nullptr, nullptr, -1, -1, 0, -1, recordCall, record, 9, 0, 0), 3);
    std::vector<UI_Button>& b = menu.getButtons();
    EXPECT_EQ(b[0].move(MENU_CONTROL::down), &b[1]);
    EXPECT_EQ(b[1].move(MENU_CONTROL::up), &b[0]);
    EXPECT_EQ(b[0].move(MENU_CONTROL::up), nullptr);
    EXPECT_EQ(b[0].move(MENU_CONTROL::right), &b[3]);  // D named A after C did
    EXPECT_EQ(b[2].move(MENU_CONTROL::left), &b[0]);
    for (MENU_CONTROL other : {MENU_CONTROL::select, MENU_CONTROL::back, MENU_CONTROL::connect,
                               MENU_CONTROL::disconnect})
        EXPECT_EQ(b[1].move(other), nullptr);

    // A disabled neighbour blocks the way even when the one beyond it is enabled.
    b[1].disable();
    EXPECT_EQ(b[2].move(MENU_CONTROL::up), nullptr);
    b[1].enable();
    EXPECT_EQ(b[2].move(MENU_CONTROL::up), &b[1]);

    b[3].link(RELATIVE_DIRECTION::below, &b[2]);  // one way only
    EXPECT_EQ(b[3].move(MENU_CONTROL::down), &b[2]);
    EXPECT_EQ(b[2].move(MENU_CONTROL::up), &b[1]);
    b[0].linkButtons(nullptr, &b[2], nullptr, nullptr);
    EXPECT_EQ(b[0].move(MENU_CONTROL::down), &b[2]);
    EXPECT_EQ(b[0].move(MENU_CONTROL::right), nullptr);
}

TEST(UI_Menu, ButtonsKeepTheirPlacesThroughResetAndOverflow) {
    State record;
    UI_Menu menu(2);
    menu.addButton(0, 0, "A", nullptr, nullptr, -1, -1, -1, -1, recordCall, record, 9, 0, 0);
    const UI_Button* first = &menu.getButtons()[0];
    menu.addButton(0, 0, "B", nullptr, nullptr, 0, -1, -1, -1, recordCall, record, 9, 0, 0);
    LogCapture log;
    EXPECT_EQ(menu.addButton(0, 0, "C", nullptr, nullptr, 7, -1, -1, -1, recordCall, record, 9, 0, 0), -1);
    EXPECT_TRUE(log.contains("No room for another button"));
    EXPECT_EQ(menu.getButtons().size(), 2u);
    EXPECT_EQ(&menu.getButtons()[0], first);
    EXPECT_EQ(menu.getButtons()[0].move(MENU_CONTROL::down), &menu.getButtons()[1]);

    menu.reset();
    EXPECT_TRUE(menu.getButtons().empty());
    EXPECT_EQ(menu.loadMenu(), nullptr);
    menu.addButton(0, 0, "A", nullptr, nullptr, -1, -1, -1, -1, recordCall, record, 9, 0, 0);
    EXPECT_EQ(&menu.getButtons()[0], first);
    EXPECT_EQ(menu.addButton(0, 0, "B", nullptr, nullptr, 5, -1, -1, -1, recordCall, record, 9, 0, 0), 1);
    EXPECT_EQ(menu.getButtons()[1].move(MENU_CONTROL::up), nullptr);  // a neighbour not in the menu names none
    EXPECT_TRUE(log.contains("not in the menu"));
}

TEST(UI_Menu, LoadMenuSelectsTheFirstButtonAlone) {
    State record;
    UI_Menu menu(3);
    for (int i = 0; i < 3; ++i)
        menu.addButton(0, 0, "x", nullptr, nullptr, i - 1, -1, -1, -1, recordCall, record, 9, 0, 0);
    std::vector<UI_Button>& b = menu.getButtons();
    EXPECT_FALSE(b[0].isSelected() || b[0].isActive() || b[0].isDisabled());
    b[2].select();
    b[1].select();
    b[1].activate();
    EXPECT_EQ(menu.loadMenu(), &b[0]);
    EXPECT_TRUE(b[0].isSelected());
    EXPECT_FALSE(b[1].isSelected() || b[2].isSelected());
    EXPECT_TRUE(b[1].isActive());  // activity is not selection
}

namespace {
UI_Menu* rebuiltMenu = nullptr;
Sound* silentSound = nullptr;
// Like a purchase: the clicked button's menu is cleared and rebuilt before click() returns.
void rebuildMenu(State& state, int attribute, int attribute2) {
    recordCall(state, attribute, attribute2);
    rebuiltMenu->reset();
    rebuiltMenu->setup(nullptr, silentSound);
    rebuiltMenu->addButton(0, 0, "y", nullptr, nullptr, -1, -1, -1, -1, recordCall, state, 9, 0, 0);
}
}  // namespace

TEST(UI_Button, ClickCallsTheActionThenPlaysTheSoundTakenBeforehand) {
    State record;
    UI_Button button(0, 0, "x", nullptr, nullptr, nullptr, nullptr, recordCall, record, 9, 3, 4);
    lastCall = {};
    button.click();  // no sound: the action alone
    EXPECT_EQ(lastCall.count, 1);
    EXPECT_EQ(lastCall.state, &record);
    EXPECT_EQ(lastCall.attribute, 3);
    EXPECT_EQ(lastCall.attribute2, 4);

    if (Mix_QuerySpec(nullptr, nullptr, nullptr) == 0) GTEST_SKIP() << "no audio device";
    Sound click("resources/sounds/mediumExplosion.wav", 0, -1);  // long enough to still be playing when checked
    testing::internal::CaptureStdout();
    Sound silent("resources/sounds/no-such-sound.wav", 0, -1);
    testing::internal::GetCapturedStdout();
    ASSERT_TRUE(click.isLoaded());
    UI_Menu menu(1);
    menu.setup(nullptr, &click);
    menu.addButton(0, 0, "x", nullptr, nullptr, -1, -1, -1, -1, rebuildMenu, record, 9, 5, 6);
    rebuiltMenu = &menu;
    silentSound = &silent;
    Mix_HaltChannel(-1);
    menu.getButtons()[0].click();
    EXPECT_EQ(lastCall.count, 2);
    EXPECT_EQ(lastCall.attribute, 5);
    EXPECT_GE(Mix_Playing(-1), 1);
    Mix_HaltChannel(-1);
}
