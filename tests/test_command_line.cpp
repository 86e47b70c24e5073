#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/CommandLine.h"
#include "play/Loop.h"

TEST(CommandLine, HelpVersionAndAnUnknownOptionEachAnswerWithoutPlaying) {
    const ScratchHome home;
    const char* help[] = {"zelvane", "--help"};
    const char* version[] = {"zelvane", "--version"};
    const char* wrong[] = {"zelvane", "--fulscreen"};
    const char* both[] = {"zelvane", "--version", "--help"};
    EXPECT_EQ(readCommandLine(2, help).action, CommandLine::Action::help);
    EXPECT_EQ(readCommandLine(2, version).action, CommandLine::Action::version);
    EXPECT_EQ(readCommandLine(3, both).action, CommandLine::Action::help);
    const CommandLine refused = readCommandLine(2, wrong);
    EXPECT_EQ(refused.action, CommandLine::Action::refuse);
    EXPECT_EQ(refused.complaint, "zelvane: unknown option --fulscreen");

    // Each ends at once with its status, none of them opening a window: the
    // answers on standard output, the complaint and the usage on standard error.
    testing::internal::CaptureStdout();
    EXPECT_EQ(gameMain(2, help), 0);
    EXPECT_EQ(gameMain(2, version), 0);
    const std::string usage = usageText();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), usage + "Zelvane 0.4\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(gameMain(2, wrong), USAGE_ERROR_STATUS);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "zelvane: unknown option --fulscreen\n" + usage);
    for (const char* part : {"--fullscreen", "--windowed", "Space fire", "Esc pause"}) {
        EXPECT_NE(usage.find(part), std::string::npos) << part;
    }
    EXPECT_NE(usage.find(home.folder + "/config/zelvane/settings.ini"), std::string::npos) << usage;
}

TEST(CommandLine, FullscreenOrWindowedHoldsForOneRunTheLastOneCounting) {
    const char* none[] = {"zelvane"};
    const char* full[] = {"zelvane", "--fullscreen"};
    const char* last[] = {"zelvane", "--fullscreen", "--windowed"};
    EXPECT_EQ(readCommandLine(1, none).action, CommandLine::Action::play);
    EXPECT_FALSE(readCommandLine(1, none).fullscreen.has_value());
    EXPECT_EQ(readCommandLine(2, full).fullscreen, std::optional<bool>(true));
    EXPECT_EQ(readCommandLine(3, last).fullscreen, std::optional<bool>(false));
}
