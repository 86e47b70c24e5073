#include "play/Interlude.h"

#include "enemies/Waves.h"
#include "platform/Game.h"
#include "play/Frame.h"
#include "play/Input.h"
#include "play/Screens.h"
#include "ui/MenuInput.h"
#include "ui/MenuScreens.h"
#include "ui/UpgradeMenus.h"

namespace {

void buttonPressed(State& game, Uint8 button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_A:
        controllerEvent(game, MENU_CONTROL::select);
        break;
    case SDL_CONTROLLER_BUTTON_B:
        closeUpgradeMenu(game, 0, 0);
        break;
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
        nextUpgradeTab(game);
        break;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
        previousUpgradeTab(game);
        break;
    default:
        break;
    }
}

// Escape closes the shop as B does, Q and E (or Page Up and Page Down) switch
// tabs as the shoulder buttons do, the rest is menu keys, but for the fire
// key: Space fires at the last robot of a wave, it must not buy or leave.
void shopKey(State& game, SDL_Keycode key) {
    switch (key) {
    case SDLK_SPACE:
        break;
    case SDLK_ESCAPE:
        closeUpgradeMenu(game, 0, 0);
        break;
    case SDLK_e:
    case SDLK_PAGEDOWN:
        nextUpgradeTab(game);
        break;
    case SDLK_q:
    case SDLK_PAGEUP:
        previousUpgradeTab(game);
        break;
    default:
        menuKey(game, key);
        break;
    }
}

}  // namespace

bool interludeRunning(const State& game, int waveNumber) {
    return startsWaveSet(waveNumber) && isUpgradeMenu(game.menu) && !game.quit && waveNumber != 1;
}

void handleInterludeEvent(State& game, const SDL_Event& event) {
    // Nothing held from play, and no press in the shop's first moment, acts on it.
    if (!game.menuGate.admits(event, game.menu, SDL_GetTicks())) return;
    // Window close, and a controller plugged in or pulled out, as everywhere.
    if (handleCommonEvent(game, event)) return;
    if (menuPointerOrStick(game, event, true)) return;
    switch (event.type) {
    case SDL_KEYDOWN:
        shopKey(game, event.key.keysym.sym);
        break;
    case SDL_CONTROLLERBUTTONDOWN:
        buttonPressed(game, event.cbutton.button);
        break;
    default:
        break;
    }
}

namespace {

// The world standing still under the shop's two veils.
void renderStillWorldVeiled(RunObjects& run, World& world) {
    run.background.render(0, 0);
    SDL_SetRenderDrawColor(gameRenderer, 35, 35, 35, 155);
    SDL_RenderFillRect(gameRenderer, &run.backgroundRect);
    renderWorldStill(state, run, world);
    SDL_SetRenderDrawColor(gameRenderer, 26, 26, 26, 200);
    SDL_RenderFillRect(gameRenderer, &fullScreenRect);
}

// A window-sized texture to draw into, copied opaque; null where the renderer cannot.
std::shared_ptr<SDL_Texture> windowSizedTarget() {
    if (gameRenderer == nullptr || !SDL_RenderTargetSupported(gameRenderer)) return nullptr;
    SDL_Texture* target = SDL_CreateTexture(gameRenderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                                            WINDOW_WIDTH, WINDOW_HEIGHT);
    if (target == nullptr) return nullptr;
    SDL_SetTextureBlendMode(target, SDL_BLENDMODE_NONE);
    return std::shared_ptr<SDL_Texture>(target, SDL_DestroyTexture);
}

// Runs draw with the texture as the renderer's target; false when it cannot be drawn into.
template <typename Draw>
bool drawInto(SDL_Texture* texture, Draw draw) {
    SDL_Texture* previousTarget = SDL_GetRenderTarget(gameRenderer);
    if (texture == nullptr || SDL_SetRenderTarget(gameRenderer, texture) != 0) return false;
    draw();
    SDL_SetRenderTarget(gameRenderer, previousTarget);
    return true;
}

// The shop's whole picture without presenting it.
void drawInterludeFrame(RunObjects& run, World& world, SDL_Texture* backdrop) {
    SDL_RenderClear(gameRenderer);
    if (backdrop != nullptr) {
        SDL_RenderCopy(gameRenderer, backdrop, nullptr, &fullScreenRect);
    } else {
        renderStillWorldVeiled(run, world);
    }
    renderMenu(state);
    SDL_SetRenderDrawColor(gameRenderer, 26, 26, 26, 255);
}

}  // namespace

std::shared_ptr<SDL_Texture> composeShopBackdrop(RunObjects& run, World& world) {
    std::shared_ptr<SDL_Texture> backdrop = windowSizedTarget();
    const bool drawn = drawInto(backdrop.get(), [&] {
        SDL_SetRenderDrawColor(gameRenderer, 26, 26, 26, 255);
        SDL_RenderClear(gameRenderer);
        renderStillWorldVeiled(run, world);
    });
    return drawn ? backdrop : nullptr;
}

void renderInterludeFrame(RunObjects& run, World& world, SDL_Texture* backdrop) {
    drawInterludeFrame(run, world, backdrop);
    presentFrame();
}

void holdOverStillWorld(RunObjects& run, World& world, const std::function<bool()>& showing,
                        void (*handle)(State&, const SDL_Event&)) {
    // Nothing under the screen moves meanwhile: the world is drawn once, then
    // copied. The screen itself is drawn only when an event may have changed
    // it, as the menus are.
    const std::shared_ptr<SDL_Texture> backdrop = composeShopBackdrop(run, world);
    ScreenRest rest;
    while (showing()) {
        SDL_Event event;
        while (SDL_PollEvent(&event) != 0) {
            handle(state, event);
            rest.saw(event);
        }
        if (rest.due(state)) {
            renderInterludeFrame(run, world, backdrop.get());
        } else {
            ScreenRest::rest();
        }
    }
}

void upgradeInterlude(RunObjects& run, World& world) {
    state.menu = Menu::weaponUpgrade;
    loadUpgradeMenu(state);
    launchUpgradeMenu(state);
    if (!interludeRunning(state, world.waveNumber)) return;
    state.menuGate.quietUntil(SDL_GetTicks() + SHOP_QUIET_MS);
    // No frame time is taken here: the time in the shop arrives as the next frame's dt.
    holdOverStillWorld(run, world, [&] { return interludeRunning(state, world.waveNumber); }, handleInterludeEvent);
}
