#include <SDL.h>
#include <SDL_image.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <string>

#include "TestSupport.h"
#include "platform/Resources.h"
#include "world/Texture.h"

namespace {
// The media libraries as the game opens them, without a window: the dummy video
// and audio drivers stand in for a screen and a sound card.
class MediaEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        chooseDummyDrivers();
        ASSERT_EQ(SDL_Init(MEDIA_SUBSYSTEMS), 0) << SDL_GetError();
        ASSERT_EQ(TTF_Init(), 0) << TTF_GetError();
        audioOpen = openAudio();
        // The serving folder is chosen here, in the folder the tests start in,
        // not by whichever test first asks for a file from wherever it went.
        const LogCapture quiet;
        chooseResourceFolder();
    }
    void TearDown() override { closeMedia(audioOpen); }

private:
    bool audioOpen = false;
};

// Whatever a test did to the process, the next one starts as the first did:
// in the build folder, with its resource folder chosen afresh there (no file
// taken for reported missing), no picture decoded (a picture that failed to
// load elsewhere must not stay failed) and every failure to be told again.
class FreshProcessState : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo&) override {
        char folder[4096];
        if (getcwd(folder, sizeof folder) != nullptr) working = folder;
    }
    void OnTestEnd(const ::testing::TestInfo&) override {
        if (!working.empty() && chdir(working.c_str()) != 0) std::abort();
        clearImageCache();
        const LogCapture quiet;
        chooseResourceFolder();
    }

private:
    std::string working;
};
}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // The tests read and write the build folder's resources/ by relative paths:
    // they run there, wherever they were started from.
    if (char* base = SDL_GetBasePath()) {
        const int moved = chdir(base);
        SDL_free(base);
        if (moved != 0) return 1;
    }
    // Whatever the game writes (settings, records) lands in a scratch home, never the real one.
    const ScratchHome home;
    // An event the queue refuses fails the test that pushed it.
    checkQueued = [](bool queued) { EXPECT_TRUE(queued) << "the event queue refused an event: " << SDL_GetError(); };
    ::testing::AddGlobalTestEnvironment(new MediaEnvironment);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshProcessState);
    return RUN_ALL_TESTS();
}
