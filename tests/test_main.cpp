#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "Texture.h"

namespace {
// The media libraries as the game opens them, without a window: the dummy video
// and audio drivers stand in for a screen and a sound card.
class MediaEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_AUDIO | SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER |
                           SDL_INIT_EVENTS),
                  0)
            << SDL_GetError();
        ASSERT_EQ(TTF_Init(), 0) << TTF_GetError();
        audioOpen = Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 2048) == 0;
    }
    void TearDown() override {
        if (audioOpen) Mix_CloseAudio();
        clearImageCache();
        IMG_Quit();
        TTF_Quit();
        SDL_Quit();
    }

private:
    bool audioOpen = false;
};
}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new MediaEnvironment);
    return RUN_ALL_TESTS();
}
