#include "ui/CampaignScreen.h"

#include "platform/Game.h"
#include "platform/GlobalConstants.h"
#include "ui/Interface.h"
#include "world/Texture.h"

namespace {

const int BUTTON_X = (WINDOW_WIDTH - UI_Button::width) / 2;
const int QUESTION_Y = scale(200);
// "Campaign Mode" on the main menu: the way back lands on it.
const int MAIN_MENU_CAMPAIGN_BUTTON = 1;

Texture questionText;

// A label too long for the menus' font inside the button's frame takes the smaller one.
TTF_Font* fontFitting(const std::string& label) {
    int width = 0;
    if (counter != nullptr && TTF_SizeUTF8(counter, label.c_str(), &width, nullptr) == 0 &&
        width > UI_Button::width - 60) {
        return small;
    }
    return counter;
}

void addButton(UI_Menu& menu, State& game, int y, const std::string& label, int above, ButtonAction action) {
    menu.addButton(BUTTON_X, y, label, &white, fontFitting(label), above, -1, -1, -1, action, game, 0, 0, 0);
}

void start(State& game, bool fromCheckpoint) {
    game.mode = PlayMode::campaign;
    game.continueCampaign = fromCheckpoint;
    game.level = fromCheckpoint && game.campaign ? game.campaign->level : 1;
    game.menu = Menu::notInMenu;
    game.started = true;
}

void startOver(State& game, int, int) {
    clearCampaign();
    game.campaign.reset();
    start(game, false);
}

void keepIt(State& game, int, int) { showCampaignScreen(game, 0, 0); }

}  // namespace

std::string continueLabel(const CampaignSave& campaign) {
    return "Continue: Level " + std::to_string(campaign.level) + ", wave " +
           std::to_string(campaignFirstWave(campaign.level));
}

void showCampaignScreen(State& game, int, int) {
    campaignMenu.reset();
    campaignMenu.setup(renderer, &buttonSound);
    int above = -1;
    int y = scale(215);
    if (game.campaign) {
        addButton(campaignMenu, game, y, continueLabel(*game.campaign), above, continueCampaign);
        above = 0;
        y += scale(65);
    }
    addButton(campaignMenu, game, y, "New Campaign", above, newCampaign);
    addButton(campaignMenu, game, y + scale(65), "Back", above + 1, backFromCampaign);
    // Under the game's logo, as the main menu.
    campaignMenu.addTitle(mainMenu.getTitleX(), mainMenu.getTitleY(), mainMenu.getTitle());
    game.menu = Menu::campaign;
    setCurrentButton(campaignMenu.loadMenu());
}

void continueCampaign(State& game, int, int) { start(game, true); }

void newCampaign(State& game, int, int) {
    if (!game.campaign) {
        start(game, false);
        return;
    }
    startOverMenu.reset();
    startOverMenu.setup(renderer, &buttonSound);
    addButton(startOverMenu, game, scale(280), "No", -1, keepIt);
    addButton(startOverMenu, game, scale(345), "Yes", 0, startOver);
    questionText.setup(renderer);
    questionText.loadFromRenderedText(
        "Start over? The campaign at Level " + std::to_string(game.campaign->level) + " will be lost.", white,
        counter);
    game.menu = Menu::startOver;
    // "No": a player who pressed on by mistake loses nothing.
    setCurrentButton(startOverMenu.loadMenu());
}

void backFromCampaign(State& game, int, int) {
    game.menu = Menu::head;
    setCurrentButton(&mainMenu.getButtons()[MAIN_MENU_CAMPAIGN_BUTTON]);
}

bool handleCampaignEvent(State& game, const SDL_Event& event) {
    const bool back = (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE) ||
                      (event.type == SDL_CONTROLLERBUTTONDOWN && event.cbutton.button == SDL_CONTROLLER_BUTTON_B &&
                       !controllerButtonDown(SDL_CONTROLLER_BUTTON_A));
    if (!back) return false;
    if (game.menu == Menu::startOver) {
        keepIt(game, 0, 0);
    } else {
        backFromCampaign(game, 0, 0);
    }
    return true;
}

void renderCampaignScreen(const State& game) {
    if (game.menu == Menu::startOver) questionText.render((WINDOW_WIDTH - questionText.getWidth()) / 2, QUESTION_Y);
}

void releaseCampaignScreen() {
    campaignMenu.release();
    startOverMenu.release();
    questionText.free();
}
