#include "Resources.h"

#include <SDL.h>

#include <filesystem>
#include <optional>
#include <set>
#include <system_error>

namespace fs = std::filesystem;

namespace {

const char* const RESOURCE_DIRECTORY = "resources/";
const char* const TEXTURE_DIRECTORY = "textures/";
const char* const SOUND_DIRECTORY = "sounds/";
const char* const LEVEL_DIRECTORY = "levels/";
const char* const FONT_FILE = "sans.ttf";
const char* const MAPPING_FILE = "mapping.txt";
// An installed tree keeps its data here, relative to the executable's folder.
const char* const INSTALLED_DATA = "../share/zelvane/";

struct Choice {
    std::string folder;
    // The folders the choice looked at: a missing file is reported against them.
    std::vector<std::string> tried;
    bool found = false;
};

std::optional<Choice>& currentChoice() {
    static std::optional<Choice> choice;
    return choice;
}

bool isDirectory(const std::string& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

bool isFile(const std::string& path) {
    std::error_code error;
    return fs::is_regular_file(path, error);
}

std::string listFolders(const std::vector<std::string>& folders) {
    std::string list;
    for (const std::string& folder : folders) {
        if (!list.empty()) list += ", ";
        list += displayFolder(folder);
    }
    return list;
}

// Files already reported missing since the serving folder was chosen.
std::set<std::string>& reportedMissing() {
    static std::set<std::string> reported;
    return reported;
}

// Reports a file that is not where it is looked for, once per file and run.
void reportMissing(const std::string& path, const std::vector<std::string>& tried) {
    if (!reportedMissing().insert(path).second) return;
    SDL_Log("Could not find %s in %s", path.c_str(), listFolders(tried).c_str());
}

}  // namespace

std::string executableFolder() {
    std::string folder;
    if (char* basePath = SDL_GetBasePath()) {
        folder = basePath;
        SDL_free(basePath);
    }
    return folder;
}

std::string displayFolder(const std::string& folder) {
    std::error_code error;
    const fs::path absolute = fs::absolute(folder.empty() ? fs::path(".") : fs::path(folder), error);
    if (error) return folder;
    std::string shown = absolute.lexically_normal().string();
    if (shown.empty() || shown.back() != '/') shown += '/';
    return shown;
}

std::vector<std::string> resourceFolderCandidates() {
    const std::string executable = executableFolder();
    std::vector<std::string> candidates{""};
    if (!executable.empty()) {
        candidates.push_back(executable);
        candidates.push_back((fs::path(executable) / INSTALLED_DATA).lexically_normal().string());
    }
    for (std::string& folder : candidates) {
        if (!folder.empty() && folder.back() != '/') folder += '/';
    }
    return candidates;
}

void chooseResourceFolder(const std::vector<std::string>& candidates) {
    Choice choice;
    choice.tried = candidates;
    // A source tree holds resources/ without the font, which the build adds
    // beside the executable: a folder with the whole set comes first.
    for (bool whole : {true, false}) {
        for (const std::string& folder : candidates) {
            const std::string resources = folder + RESOURCE_DIRECTORY;
            if (isDirectory(resources) && (!whole || isFile(resources + FONT_FILE))) {
                choice.folder = folder;
                choice.found = true;
                break;
            }
        }
        if (choice.found) break;
    }
    if (choice.found) {
        SDL_Log("Reading the game's resources from %s%s", displayFolder(choice.folder).c_str(), RESOURCE_DIRECTORY);
        choice.tried = {choice.folder};
    } else {
        SDL_Log("No resources folder found in %s: the game runs without pictures, sounds and levels",
                listFolders(candidates).c_str());
    }
    currentChoice() = std::move(choice);
    reportedMissing().clear();
}

const std::string& resourceFolder() {
    if (!currentChoice()) chooseResourceFolder();
    return currentChoice()->folder;
}

std::string resourcePath(const std::string& relative) {
    const std::string& folder = resourceFolder();
    const std::string path = folder + RESOURCE_DIRECTORY + relative;
    if (!isFile(path)) reportMissing(std::string(RESOURCE_DIRECTORY) + relative, currentChoice()->tried);
    return path;
}

std::string texturePath(const std::string& file) { return resourcePath(TEXTURE_DIRECTORY + file); }

std::string soundPath(const std::string& file) { return resourcePath(SOUND_DIRECTORY + file); }

std::string fontPath() { return resourcePath(FONT_FILE); }

std::string mappingPath() { return resourcePath(MAPPING_FILE); }

std::string levelFilePath(int levelNumber) {
    if (levelNumber < 1 || levelNumber > 3) return "";
    const std::string relative =
        std::string(RESOURCE_DIRECTORY) + LEVEL_DIRECTORY + "level" + std::to_string(levelNumber) + ".csv";
    // Beside the executable first, then the folders every other file is looked for in.
    std::vector<std::string> folders{executableFolder()};
    for (const std::string& candidate : resourceFolderCandidates()) {
        if (candidate != folders.front()) folders.push_back(candidate);
    }
    for (const std::string& folder : folders) {
        if (isFile(folder + relative)) return folder + relative;
    }
    reportMissing(relative, folders);
    return folders.front() + relative;
}
