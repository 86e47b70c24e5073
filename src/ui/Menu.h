#pragma once

// The menu widgets: buttons with their tooltips, and a menu that holds, links and draws them.

#include <SDL.h>
#include <SDL_ttf.h>

#include <string>
#include <vector>

#include "platform/State.h"
#include "ui/HoverText.h"
#include "world/Sound.h"
#include "world/Texture.h"

// Commands that menu input sends to the menu on screen.
enum class MENU_CONTROL : int {
    connect = 0,
    disconnect = 1,
    up = 2,
    down = 3,
    select = 4,
    back = 5,
    left = 6,
    right = 7,
};

// The side of a button that a neighbour link leaves from.
enum class RELATIVE_DIRECTION : int {
    above = 0,
    below = 1,
    left = 2,
    right = 3,
};

// What a button does when clicked. The two attributes mean whatever the action
// wants (an item index, a level index); the menu actions ignore them.
using ButtonAction = void (*)(State& state, int attribute, int attribute2);

// A clickable rectangle: background, highlight while selected and an overlay
// while active, with a text label or one or two stretched images on top. Knows
// its four neighbours for controller navigation and calls one action on click.
//
// Buttons live inside a menu's sequence and neighbours point at each other, so
// a button never moves once added: links are plain non-owning pointers.
class UI_Button {
public:
    static constexpr int width = 360;
    static constexpr int height = 72;
    static constexpr int smallWidth = 192;
    static constexpr int smallHeight = 38;
    static constexpr int weaponWidth = 90;
    static constexpr int settingsRowWidth = 648;
    static constexpr int settingsRowHeight = 48;

    // Text button: the label keeps the rendered text's own size, centred on the button.
    UI_Button(int x, int y, const std::string& text, SDL_Renderer* renderer, Sound* sound, const SDL_Color* color,
              TTF_Font* font, ButtonAction action, State& state, int type, int attribute, int attribute2);
    // Image button: both images are stretched to the button. secondaryPath "no" means one image only.
    UI_Button(int x, int y, const std::string& path, SDL_Renderer* renderer, Sound* sound, ButtonAction action,
              State& state, int type, int attribute, int attribute2, const std::string& secondaryPath);

    // Size and background images of a visual kind: 0 the big menu button, 1 the
    // shop's small one, 2 an item level, 3 a select switch, 4 a row of the
    // Settings screen; any other kind changes nothing.
    void setType(int type, SDL_Renderer* renderer);
    void render() const;
    // Inside the button, all four edges included.
    bool mouseEvent(int mouseX, int mouseY) const;
    // The neighbour on that side, or null when there is none or it is disabled.
    UI_Button* move(MENU_CONTROL action) const;
    // One-way: the other button is not touched.
    void link(RELATIVE_DIRECTION direction, UI_Button* button);
    void linkButtons(UI_Button* above, UI_Button* below, UI_Button* left, UI_Button* right);

    void select() { selected = true; }
    void deselect() { selected = false; }
    void activate() { active = true; }
    void deactivate() { active = false; }
    void disable();
    void enable();
    bool isSelected() const { return selected; }
    bool isDisabled() const { return disabled; }
    bool isActive() const { return active; }
    int getType() const { return type; }
    int getX() const { return x; }
    int getY() const { return y; }
    int getWidth() const { return w; }
    int getHeight() const { return h; }
    int getAttribute() const { return attribute; }
    int getAttribute2() const { return attribute2; }

    void setupHover(int numberOflines);
    bool hasHover() const { return hover; }
    void addLine(const std::string& lineText, const std::string& lineValue, TTF_Font* font, SDL_Color color);
    void addWholeLine(const std::string& lineText, TTF_Font* font, SDL_Color color);
    void renderHover(int x, int y) const;
    const UI_HoverText& getHover() const { return ht; }
    UI_HoverText& getHover() { return ht; }

    // Calls the action, then plays the click sound, or the sound the action
    // answered with instead (answerWith).
    void click();
    // Called by a running action: its own sound is played instead of the click
    // (a purchase the XP does not cover answers with a "denied").
    static void answerWith(Sound* sound);

private:
    // What both constructors share: position, attributes, links cleared, kind set up.
    UI_Button(int x, int y, SDL_Renderer* renderer, Sound* sound, ButtonAction action, State& state, int type,
              int attribute, int attribute2);
    void loadImage(Texture& target, const std::string& path);
    // Dims the button's own pictures while disabled; backgrounds stay as they are.
    void applyDimming();

    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    int attribute = 0;
    int attribute2 = 0;
    int type = 0;
    bool usingText = false;
    UI_HoverText ht;
    bool hover = false;
    State& state;
    SDL_Renderer* renderer = nullptr;
    ButtonAction action = nullptr;
    UI_Button* buttonAbove = nullptr;
    UI_Button* buttonBelow = nullptr;
    UI_Button* buttonRight = nullptr;
    UI_Button* buttonLeft = nullptr;
    Texture texture;
    Texture hoverTexture;
    Texture imageTexture;
    Texture secondImageTexture;
    Texture textTexture;
    Texture activeTexture;
    Sound* buttonClick = nullptr;
    bool selected = false;
    bool secondaryImage = false;
    bool disabled = false;
    bool active = false;
};

// An optional title image and an ordered sequence of buttons with room for a
// fixed number of them. Index 0 is the default selection.
class UI_Menu {
public:
    explicit UI_Menu(int numberOfButtons);
    // Buttons point at each other, so a copy would point into the original.
    UI_Menu(const UI_Menu&) = delete;
    UI_Menu& operator=(const UI_Menu&) = delete;

    // Renderer and click sound for every button added afterwards.
    void setup(SDL_Renderer* renderer, Sound* buttonSound);

    // Adds a text button linked two-way to the buttons named by index (-1 names
    // none); returns its index, or -1 when the menu has no room left.
    int addButton(int x, int y, const std::string& text, SDL_Color* color, TTF_Font* font, int above, int below,
                  int left, int right, ButtonAction action, State& state, int type, int attribute, int attribute2);
    // The same with an image button.
    int addButton(int x, int y, const std::string& path, int above, int below, int left, int right,
                  ButtonAction action, State& state, int type, int attribute, int attribute2,
                  const std::string& secondaryPath);

    // Shares texture's image; its creator keeps it too.
    void addTitle(int x, int y, const Texture& texture);
    const Texture& getTitle() const { return titleTexture; }
    int getTitleX() const { return titleX; }
    int getTitleY() const { return titleY; }

    std::vector<UI_Button>& getButtons() { return buttons; }
    const std::vector<UI_Button>& getButtons() const { return buttons; }

    // Removes the buttons; the room, the title, the renderer and the sound stay,
    // and buttons built afterwards take the same places.
    void reset();
    // Removes the buttons and drops this menu's share of the title, for shutdown
    // before the renderer goes.
    void release();

    // Selects the first button alone and returns it; null for a menu without buttons.
    UI_Button* loadMenu();
    // Title, buttons, then the tooltips of selected buttons over them, each
    // beside its button: to the right, or to the left where the window ends.
    void render() const;

private:
    // Links the newest button two-way to its named neighbours and returns its index.
    int linkNewButton(int above, int below, int left, int right);
    bool hasRoom() const;

    Sound* buttonSound = nullptr;
    SDL_Renderer* renderer = nullptr;
    Texture titleTexture;
    int titleX = 0;
    int titleY = 0;
    int room = 0;
    std::vector<UI_Button> buttons;
};
