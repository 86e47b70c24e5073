#include "ui/Menu.h"

#include <algorithm>
#include <cstddef>

#include "platform/GlobalConstants.h"

namespace {
const Uint8 DIMMED = 60;
const Uint8 UNDIMMED = 255;
}  // namespace

// ---------------------------------------------------------------------------
// UI_Button

UI_Button::UI_Button(int _x, int _y, SDL_Renderer* _renderer, Sound* sound, ButtonAction _action, State& _state,
                     int _type, int _attribute, int _attribute2)
    : x(_x), y(_y), attribute(_attribute), attribute2(_attribute2), type(_type), state(_state), action(_action),
      buttonClick(sound) {
    setType(_type, _renderer);
}

UI_Button::UI_Button(int _x, int _y, const std::string& text, SDL_Renderer* _renderer, Sound* sound,
                     const SDL_Color* color, TTF_Font* font, ButtonAction _action, State& _state, int _type,
                     int _attribute, int _attribute2)
    : UI_Button(_x, _y, _renderer, sound, _action, _state, _type, _attribute, _attribute2) {
    usingText = true;
    textTexture.setup(0, 0, _renderer);
    const SDL_Color labelColor = color != nullptr ? *color : SDL_Color{255, 255, 255, 255};
    textTexture.loadFromRenderedText(text, labelColor, font);
}

UI_Button::UI_Button(int _x, int _y, const std::string& path, SDL_Renderer* _renderer, Sound* sound,
                     ButtonAction _action, State& _state, int _type, int _attribute, int _attribute2,
                     const std::string& secondaryPath)
    : UI_Button(_x, _y, _renderer, sound, _action, _state, _type, _attribute, _attribute2) {
    usingText = false;
    loadImage(imageTexture, path);
    if (secondaryPath != "no") {
        secondaryImage = true;
        loadImage(secondImageTexture, secondaryPath);
    }
}

void UI_Button::loadImage(Texture& target, const std::string& path) {
    target.setup(w, h, renderer);
    target.loadFromFile(path);
}

void UI_Button::setType(int _type, SDL_Renderer* _renderer) {
    this->renderer = _renderer;
    switch (_type) {
    case 0:
        w = width;
        h = height;
        loadImage(texture, "button.png");
        loadImage(hoverTexture, "button1.png");
        break;
    case 1:
        w = smallWidth;
        h = smallHeight;
        loadImage(texture, "upgrade-menu/small.png");
        loadImage(hoverTexture, "upgrade-menu/small-selected.png");
        loadImage(activeTexture, "upgrade-menu/small-active.png");
        break;
    case 2:
        w = weaponWidth;
        h = weaponWidth;
        loadImage(texture, "upgrade-menu/upgrade-button.png");
        loadImage(hoverTexture, "upgrade-menu/upgrade-selected.png");
        loadImage(activeTexture, "upgrade-menu/upgrade-active.png");
        break;
    case 3:
        w = scale(60);
        h = scale(30);
        loadImage(texture, "upgrade-menu/weapon.png");
        loadImage(hoverTexture, "upgrade-menu/weapon-selected.png");
        loadImage(activeTexture, "upgrade-menu/weapon-active.png");
        break;
    case 4:
        w = settingsRowWidth;
        h = settingsRowHeight;
        loadImage(texture, "settings-row.png");
        loadImage(hoverTexture, "settings-row-selected.png");
        break;
    default:
        break;
    }
}

void UI_Button::render() const {
    texture.render(x, y);
    if (active) activeTexture.render(x, y);
    if (selected) hoverTexture.render(x, y);
    if (usingText) {
        textTexture.render(x + (w - textTexture.getWidth()) / 2, y + (h - textTexture.getHeight()) / 2);
        return;
    }
    imageTexture.render(x, y);
    if (secondaryImage) secondImageTexture.render(x, y);
}

bool UI_Button::mouseEvent(int mouseX, int mouseY) const {
    return x <= mouseX && mouseX <= x + w && y <= mouseY && mouseY <= y + h;
}

UI_Button* UI_Button::move(MENU_CONTROL _action) const {
    UI_Button* neighbour = nullptr;
    switch (_action) {
    case MENU_CONTROL::up:
        neighbour = buttonAbove;
        break;
    case MENU_CONTROL::down:
        neighbour = buttonBelow;
        break;
    case MENU_CONTROL::left:
        neighbour = buttonLeft;
        break;
    case MENU_CONTROL::right:
        neighbour = buttonRight;
        break;
    default:
        break;
    }
    // A disabled neighbour blocks the way; nothing skips over it.
    if (neighbour == nullptr || neighbour->isDisabled()) return nullptr;
    return neighbour;
}

void UI_Button::link(RELATIVE_DIRECTION direction, UI_Button* button) {
    switch (direction) {
    case RELATIVE_DIRECTION::above:
        buttonAbove = button;
        break;
    case RELATIVE_DIRECTION::below:
        buttonBelow = button;
        break;
    case RELATIVE_DIRECTION::left:
        buttonLeft = button;
        break;
    case RELATIVE_DIRECTION::right:
        buttonRight = button;
        break;
    }
}

void UI_Button::linkButtons(UI_Button* above, UI_Button* below, UI_Button* left, UI_Button* right) {
    buttonAbove = above;
    buttonBelow = below;
    buttonLeft = left;
    buttonRight = right;
}

void UI_Button::disable() {
    disabled = true;
    applyDimming();
}

void UI_Button::enable() {
    disabled = false;
    applyDimming();
}

void UI_Button::applyDimming() {
    // Each button holds its own textures, so dimming never reaches another button
    // that shows the same picture.
    const Uint8 level = disabled ? DIMMED : UNDIMMED;
    imageTexture.setColorMod(level, level, level);
    secondImageTexture.setColorMod(level, level, level);
}

void UI_Button::setupHover(int numberOflines) {
    ht.setup(numberOflines, renderer);
    hover = true;
}

void UI_Button::addLine(const std::string& lineText, const std::string& lineValue, TTF_Font* font,
                        SDL_Color color) {
    ht.addLine(lineText, lineValue, font, color);
}

void UI_Button::addWholeLine(const std::string& lineText, TTF_Font* font, SDL_Color color) {
    ht.addWholeLine(lineText, font, color);
}

void UI_Button::renderHover(int _x, int _y) const { ht.render(_x, _y); }

namespace {
// The sound the running action answered with, in place of the click.
Sound* actionAnswer = nullptr;
}  // namespace

void UI_Button::answerWith(Sound* sound) { actionAnswer = sound; }

void UI_Button::click() {
    // The action may clear and rebuild the menu holding this button, so nothing
    // of the button is read once it returns.
    Sound* sound = buttonClick;
    actionAnswer = nullptr;
    if (action != nullptr) action(state, attribute, attribute2);
    if (actionAnswer != nullptr) sound = actionAnswer;
    actionAnswer = nullptr;
    if (sound != nullptr) sound->play();
}

// ---------------------------------------------------------------------------
// UI_Menu

UI_Menu::UI_Menu(int numberOfButtons) : room(std::max(0, numberOfButtons)) {
    buttons.reserve(static_cast<std::size_t>(room));
}

void UI_Menu::setup(SDL_Renderer* _renderer, Sound* _buttonSound) {
    this->renderer = _renderer;
    this->buttonSound = _buttonSound;
}

bool UI_Menu::hasRoom() const {
    // Growing past the room reserved would move every button and leave the
    // neighbour links and the current button pointing at freed memory.
    if (static_cast<int>(buttons.size()) < room) return true;
    SDL_Log("No room for another button in this menu (%d buttons)!", room);
    return false;
}

int UI_Menu::addButton(int x, int y, const std::string& text, SDL_Color* color, TTF_Font* font, int above,
                       int below, int left, int right, ButtonAction action, State& game, int type, int attribute,
                       int attribute2) {
    if (!hasRoom()) return -1;
    buttons.emplace_back(x, y, text, renderer, buttonSound, color, font, action, game, type, attribute, attribute2);
    return linkNewButton(above, below, left, right);
}

int UI_Menu::addButton(int x, int y, const std::string& path, int above, int below, int left, int right,
                       ButtonAction action, State& game, int type, int attribute, int attribute2,
                       const std::string& secondaryPath) {
    if (!hasRoom()) return -1;
    buttons.emplace_back(x, y, path, renderer, buttonSound, action, game, type, attribute, attribute2,
                         secondaryPath);
    return linkNewButton(above, below, left, right);
}

int UI_Menu::linkNewButton(int above, int below, int left, int right) {
    const int index = static_cast<int>(buttons.size()) - 1;
    UI_Button& added = buttons.back();
    // A neighbour must already be in the menu; -1 (or any index not there) names none.
    auto earlier = [&](int neighbour) -> UI_Button* {
        if (neighbour == -1) return nullptr;
        if (neighbour < 0 || neighbour >= index) {
            SDL_Log("Button %d cannot link to button %d: not in the menu!", index, neighbour);
            return nullptr;
        }
        return &buttons[static_cast<std::size_t>(neighbour)];
    };
    if (UI_Button* other = earlier(above)) {
        added.link(RELATIVE_DIRECTION::above, other);
        other->link(RELATIVE_DIRECTION::below, &added);
    }
    if (UI_Button* other = earlier(below)) {
        added.link(RELATIVE_DIRECTION::below, other);
        other->link(RELATIVE_DIRECTION::above, &added);
    }
    if (UI_Button* other = earlier(left)) {
        added.link(RELATIVE_DIRECTION::left, other);
        other->link(RELATIVE_DIRECTION::right, &added);
    }
    if (UI_Button* other = earlier(right)) {
        added.link(RELATIVE_DIRECTION::right, other);
        other->link(RELATIVE_DIRECTION::left, &added);
    }
    return index;
}

void UI_Menu::addTitle(int x, int y, const Texture& texture) {
    titleX = x;
    titleY = y;
    titleTexture = texture;
}

void UI_Menu::reset() {
    // clear() keeps the capacity, so rebuilt buttons take the same addresses.
    buttons.clear();
}

void UI_Menu::release() {
    buttons.clear();
    titleTexture.free();
}

UI_Button* UI_Menu::loadMenu() {
    for (UI_Button& button : buttons) button.deselect();
    if (buttons.empty()) return nullptr;
    buttons.front().select();
    return &buttons.front();
}

void UI_Menu::render() const {
    titleTexture.render(titleX, titleY);
    for (const UI_Button& button : buttons) button.render();
    // Tooltips go over every button, so they come in a second pass; one that
    // would run off the window's right edge goes left of its button instead.
    for (const UI_Button& button : buttons) {
        if (!button.hasHover() || !button.isSelected()) continue;
        const int width = button.getHover().layout().width;
        int x = button.getX() + button.getWidth();
        if (x + width > WINDOW_WIDTH) x = std::max(0, button.getX() - width);
        button.renderHover(x, button.getY());
    }
}
