#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/Game.h"
#include "play/Input.h"

namespace {
// A virtual game controller, as the media library sees a plugged-in pad.
int attachPad() {
    SDL_VirtualJoystickDesc desc = padDescription();
    return SDL_JoystickAttachVirtualEx(&desc);
}

void drainEvents() {
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}
}  // namespace

TEST(Controller, NoPadMeansKeyboardOnly) {
    ASSERT_EQ(SDL_NumJoysticks(), 0);
    state.controller = true;
    loadController();
    EXPECT_EQ(controller, nullptr);
    EXPECT_FALSE(state.controller);
}

TEST(Controller, ReopeningAndUnpluggingLeaveNoHandleOpen) {
    const int index = attachPad();
    ASSERT_GE(index, 0) << SDL_GetError();
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(index);

    loadController();
    ASSERT_NE(controller, nullptr);
    EXPECT_TRUE(state.controller);
    loadController();  // plugged in again: the earlier handle is closed first
    ASSERT_NE(controller, nullptr);
    SDL_GameControllerClose(controller);
    controller = nullptr;
    EXPECT_EQ(SDL_GameControllerFromInstanceID(id), nullptr) << "a second handle was left open";

    // Unplugging the pad closes it.
    loadController();
    drainEvents();
    ASSERT_EQ(SDL_JoystickDetachVirtual(index), 0);
    SDL_PumpEvents();
    SDL_Event event;
    bool removed = false;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_CONTROLLERDEVICEREMOVED) removed = handleCommonEvent(state, event);
    }
    EXPECT_TRUE(removed);
    EXPECT_EQ(controller, nullptr);
    EXPECT_FALSE(state.controller);
    EXPECT_EQ(SDL_GameControllerFromInstanceID(id), nullptr);
}

TEST(Controller, AnotherPadUnpluggedLeavesOursOpen) {
    const int first = attachPad();
    const int second = attachPad();
    ASSERT_GE(second, 0);
    loadController();  // the most recently attached
    ASSERT_NE(controller, nullptr);
    const SDL_JoystickID ours = SDL_JoystickGetDeviceInstanceID(second);
    controllerRemoved(SDL_JoystickGetDeviceInstanceID(first));
    EXPECT_NE(controller, nullptr);
    controllerRemoved(ours);
    EXPECT_EQ(controller, nullptr);
    SDL_JoystickDetachVirtual(second);
    SDL_JoystickDetachVirtual(first);
    drainEvents();
}

TEST(Controller, ClosingTheWindowQuits) {
    State local;
    SDL_Event quit;
    SDL_zero(quit);
    quit.type = SDL_QUIT;
    EXPECT_TRUE(handleCommonEvent(local, quit));
    EXPECT_TRUE(local.quit);
}
