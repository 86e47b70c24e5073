#pragma once

// The game's command line: --help, --version, and --fullscreen or --windowed
// for one run, over the saved setting.

#include <optional>
#include <string>

struct CommandLine {
    enum class Action { play, help, version, refuse };
    Action action = Action::play;
    // The window's shape for this run only; none keeps the saved setting.
    std::optional<bool> fullscreen;
    // For refuse: the one line that says what was wrong.
    std::string complaint;
};

// Reads the arguments after the program's name. The last of --fullscreen and
// --windowed counts; --help and --version win over playing; anything else is
// refused.
CommandLine readCommandLine(int argc, const char* const* argv);

// The usage, the controls in brief, and where the settings file lives.
std::string usageText();
// "Zelvane 0.4"
std::string versionText();

// Exit status of a refused command line, as for every command-line tool.
const int USAGE_ERROR_STATUS = 2;
