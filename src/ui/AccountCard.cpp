#include "ui/AccountCard.h"

#include <array>
#include <vector>

#include "platform/GlobalConstants.h"
#include "ui/Interface.h"
#include "ui/UpgradeMenus.h"

namespace {

const SDL_Rect PANEL{190, 90, 820, 540};
const SDL_Color PANEL_FILL{22, 22, 30, 235};
const SDL_Color PANEL_EDGE{150, 150, 172, 255};
// The record beaten, in the logo's warm yellow.
const SDL_Color NEW_BEST{255, 214, 102, 255};
const int CARD_TITLE_Y = 104;
const int FIRST_LINE_Y = 178;
const int PICTURES_Y = 218;
const int PICTURE_SLOT_WIDTH = 150;
const int LINES_Y = 300;
const int LINE_PITCH = 40;
const int BUTTON_Y = 540;

Texture cardTitleText;
std::string titleLine;
std::vector<Texture> lineTexts;
std::vector<std::string> cardLines;
Texture newBestText;
// The robots' pictures at twice their pixels, and the count beside each.
std::array<Texture, ROBOT_KINDS> robotPictures;
std::array<Texture, ROBOT_KINDS> robotCounts;
bool showNewBest = false;

void cardGoOn(State& state, int, int) {
    state.cardChoice = CardChoice::goOn;
    state.menu = Menu::notInMenu;
}

void cardToMenu(State& state, int, int) {
    state.cardChoice = CardChoice::toMenu;
    state.menu = Menu::notInMenu;
}

std::string cardTitle(const CardContent& content) {
    const std::string level = "Level " + std::to_string(content.level);
    switch (content.kind) {
    case CardKind::runOver:
        return "Wave " + std::to_string(content.account.waveReached) + " reached";
    case CardKind::levelLost:
        return level + " lost at wave " + std::to_string(content.account.waveReached);
    case CardKind::levelCleared:
        return level + " cleared";
    case CardKind::campaignComplete:
        return "Campaign complete";
    }
    return "";
}

// What the card's record line says, or empty.
std::string recordLine(const CardContent& content) {
    if (content.kind == CardKind::runOver) {
        return "Best wave on Level " + std::to_string(content.level) + ": " + std::to_string(content.bestWave);
    }
    if (content.kind == CardKind::campaignComplete) return "Best campaign time: " + playTime(content.bestMs);
    return "";
}

const char* goOnLabel(CardKind kind) {
    switch (kind) {
    case CardKind::runOver: return "Play Again";
    case CardKind::levelLost: return "Try Again";
    case CardKind::levelCleared: return "Next Level";
    case CardKind::campaignComplete: return nullptr;
    }
    return nullptr;
}

// Each robot's picture, one frame of its sheet at twice its pixels.
void preparePictures() {
    const Texture* sheets[ROBOT_KINDS] = {&roborTexture, &robortoTexture, &robroTexture, &romoTexture, &rooTexture};
    const SDL_Point frames[ROBOT_KINDS] = {{8, 16}, {robortoSource.w, robortoSource.h}, {12, 32}, {20, 13},
                                           {rooSource.w, rooSource.h}};
    for (std::size_t kind = 0; kind < ROBOT_KINDS; ++kind) {
        robotPictures[kind] = *sheets[kind];
        robotPictures[kind].setup(frames[kind].x * 2, frames[kind].y * 2, renderer);
    }
}

const SDL_Rect* frameOf(std::size_t kind) {
    if (kind == 1) return &robortoSource;
    if (kind == 4) return &rooSource;
    return nullptr;
}

}  // namespace

std::string playTime(Uint32 milliseconds) {
    const Uint32 seconds = milliseconds / 1000;
    const Uint32 rest = seconds % 60;
    return std::to_string(seconds / 60) + ":" + (rest < 10 ? "0" : "") + std::to_string(rest);
}

const std::string& accountCardTitle() { return titleLine; }
const std::vector<std::string>& accountCardLines() { return cardLines; }

void showAccountCard(State& state, const CardContent& content) {
    const RunAccount& account = content.account;
    cardTitleText.setup(renderer);
    titleLine = cardTitle(content);
    cardTitleText.loadFromRenderedText(titleLine, white, title);

    cardLines.clear();
    cardLines.push_back("Robots destroyed: " + std::to_string(account.robotsDestroyed()));
    const int accuracy = account.accuracyPercent();
    cardLines.push_back(accuracy < 0 ? "Accuracy: no shot fired"
                                 : "Accuracy: " + std::to_string(accuracy) + " % (" + std::to_string(account.hits) +
                                       " of " + std::to_string(account.shots) + " bullets hit)");
    cardLines.push_back("XP earned: " + std::to_string(account.xpEarned));
    cardLines.push_back("Time played: " + playTime(account.playedMs));
    const std::string record = recordLine(content);
    if (!record.empty()) cardLines.push_back(record);
    lineTexts.assign(cardLines.size(), Texture());
    for (std::size_t i = 0; i < cardLines.size(); ++i) {
        lineTexts[i].setup(renderer);
        lineTexts[i].loadFromRenderedText(cardLines[i], white, counter);
    }
    showNewBest = content.newBest && !record.empty();
    if (showNewBest) cardLines.back() += " New best!";
    newBestText.setup(renderer);
    newBestText.loadFromRenderedText("New best!", NEW_BEST, counter);

    preparePictures();
    for (std::size_t kind = 0; kind < ROBOT_KINDS; ++kind) {
        robotCounts[kind].setup(renderer);
        robotCounts[kind].loadFromRenderedText(std::string("x").append(std::to_string(account.kills[kind])), white, small);
    }

    cardMenu.reset();
    cardMenu.setup(renderer, &buttonSound);
    const char* goOn = goOnLabel(content.kind);
    if (goOn != nullptr) {
        cardMenu.addButton(PANEL.x + 40, BUTTON_Y, goOn, &white, counter, -1, -1, -1, -1, cardGoOn, state, 0, 0, 0);
        cardMenu.addButton(PANEL.x + PANEL.w - 40 - UI_Button::width, BUTTON_Y, "Quit To Menu", &white, counter, -1,
                           -1, 0, -1, cardToMenu, state, 0, 0, 0);
    } else {
        cardMenu.addButton((WINDOW_WIDTH - UI_Button::width) / 2, BUTTON_Y, "Quit To Menu", &white, counter, -1, -1,
                           -1, -1, cardToMenu, state, 0, 0, 0);
    }
    state.cardChoice = CardChoice::none;
    state.menu = Menu::card;
    setCurrentButton(cardMenu.loadMenu());
}

void renderAccountCard(const State&) {
    SDL_SetRenderDrawColor(renderer, PANEL_FILL.r, PANEL_FILL.g, PANEL_FILL.b, PANEL_FILL.a);
    SDL_RenderFillRect(renderer, &PANEL);
    SDL_SetRenderDrawColor(renderer, PANEL_EDGE.r, PANEL_EDGE.g, PANEL_EDGE.b, PANEL_EDGE.a);
    SDL_RenderDrawRect(renderer, &PANEL);

    cardTitleText.render((WINDOW_WIDTH - cardTitleText.getWidth()) / 2, CARD_TITLE_Y);
    if (!lineTexts.empty()) lineTexts[0].render((WINDOW_WIDTH - lineTexts[0].getWidth()) / 2, FIRST_LINE_Y);
    // Each robot kind's picture over its slot, its count beside it.
    const int firstSlot = (WINDOW_WIDTH - ROBOT_KINDS * PICTURE_SLOT_WIDTH) / 2;
    for (std::size_t kind = 0; kind < ROBOT_KINDS; ++kind) {
        const Texture& picture = robotPictures[kind];
        const int slot = firstSlot + static_cast<int>(kind) * PICTURE_SLOT_WIDTH;
        const int x = slot + PICTURE_SLOT_WIDTH / 2 - picture.getWidth() / 2 - 14;
        const int bottom = PICTURES_Y + 64;
        picture.render(x, bottom - picture.getHeight(), SDL_FLIP_NONE, frameOf(kind));
        robotCounts[kind].render(x + picture.getWidth() + 6, bottom - robotCounts[kind].getHeight());
    }
    for (std::size_t i = 1; i < lineTexts.size(); ++i) {
        const int y = LINES_Y + static_cast<int>(i - 1) * LINE_PITCH;
        const int x = PANEL.x + 80;
        lineTexts[i].render(x, y);
        if (showNewBest && i + 1 == lineTexts.size()) newBestText.render(x + lineTexts[i].getWidth() + 24, y);
    }
}

void releaseAccountCard() {
    cardMenu.release();
    cardTitleText.free();
    newBestText.free();
    lineTexts.clear();
    cardLines.clear();
    for (Texture& picture : robotPictures) picture.free();
    for (Texture& count : robotCounts) count.free();
}
