#include "platform/CommandLine.h"

#include "platform/Settings.h"

CommandLine readCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i] != nullptr ? argv[i] : "";
        if (argument == "--help" || argument == "-h") {
            if (line.action != CommandLine::Action::refuse) line.action = CommandLine::Action::help;
        } else if (argument == "--version") {
            if (line.action == CommandLine::Action::play) line.action = CommandLine::Action::version;
        } else if (argument == "--fullscreen") {
            line.fullscreen = true;
        } else if (argument == "--windowed") {
            line.fullscreen = false;
        } else if (line.action != CommandLine::Action::refuse) {
            line.action = CommandLine::Action::refuse;
            line.complaint = argument.rfind('-', 0) == 0 ? "zelvane: unknown option " + argument
                                                          : "zelvane: unexpected argument " + argument;
        }
    }
    return line;
}

std::string usageText() {
    const std::string settings = settingsPath();
    return "Usage: zelvane [--fullscreen | --windowed] [--help] [--version]\n"
           "\n"
           "Fight waves of robots as a small robot on one wheel.\n"
           "\n"
           "  --fullscreen  fill the screen, this time only\n"
           "  --windowed    play in a window, this time only\n"
           "  --help        show this help and exit\n"
           "  --version     show the version and exit\n"
           "\n"
           "Controls: A D drive, J L aim, Space fire, R reload, W switch weapon,\n"
           "E ability, Esc pause, F11 or Alt+Enter fullscreen. On the menus: the\n"
           "mouse, or the arrow keys and Enter. A game controller plays everything.\n"
           "\n"
           "Settings (volumes, fullscreen, vibration) are kept in\n" +
           (settings.empty() ? std::string("(no home folder: none are kept)") : settings) +
           "\n"
           "($XDG_CONFIG_HOME/zelvane/settings.ini, or ~/.config/zelvane/settings.ini).\n";
}

std::string versionText() { return "Zelvane 0.4"; }
