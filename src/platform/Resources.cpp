#include "platform/Resources.h"

#include <SDL.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
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
    // Why the serving resources/ cannot be read, when it cannot: told once at
    // the choice, so its files are not each reported missing.
    std::string unreadable;
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

// Why the files of a folder cannot be opened (no read or search permission); empty when they can.
std::string folderProblem(const std::string& folder) {
    if (access(folder.c_str(), R_OK | X_OK) == 0) return "";
    return std::strerror(errno);
}

// Reports a folder that is there but cannot be read, once per folder and run.
void reportUnreadable(const std::string& folder, const std::string& reason) {
    // By its shown name: the working folder is often the executable's too.
    const std::string shown = displayFolder(folder);
    if (!reportedMissing().insert(shown).second) return;
    SDL_Log("Cannot read the folder %s: %s", shown.c_str(), reason.c_str());
}

// A file under root that stat() may not look at: the first folder on its way
// that cannot be read is told instead of the file.
void reportDenied(const std::string& root, const std::string& relative, const std::string& reason) {
    std::string folder = root;
    for (const auto& part : fs::path(relative).parent_path()) {
        if (!folderProblem(folder).empty()) break;
        folder += part.string() + "/";
    }
    const std::string problem = folderProblem(folder);
    reportUnreadable(folder, problem.empty() ? reason : problem);
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

std::string unreadableReason(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return std::strerror(errno);
    struct stat info {};
    const bool folder = fstat(fileno(file), &info) == 0 && S_ISDIR(info.st_mode);
    std::fclose(file);
    return folder ? std::strerror(EISDIR) : "";
}

void chooseResourceFolder(const std::vector<std::string>& candidates) {
    Choice choice;
    choice.tried = candidates;
    reportedMissing().clear();
    // A resources/ that is there but cannot be read is passed over for one
    // that can, and serves only when no other is there: it is not missing.
    std::optional<std::pair<std::string, std::string>> firstUnreadable;
    // A source tree holds resources/ without the font, which the build adds
    // beside the executable: a folder with the whole set comes first.
    for (bool whole : {true, false}) {
        for (const std::string& folder : candidates) {
            const std::string resources = folder + RESOURCE_DIRECTORY;
            if (!isDirectory(resources)) continue;
            const std::string problem = folderProblem(resources);
            if (!problem.empty()) {
                reportUnreadable(resources, problem);
                if (!firstUnreadable) firstUnreadable.emplace(folder, problem);
                continue;
            }
            if (!whole || isFile(resources + FONT_FILE)) {
                choice.folder = folder;
                choice.found = true;
                break;
            }
        }
        if (choice.found) break;
    }
    if (!choice.found && firstUnreadable) {
        choice.folder = firstUnreadable->first;
        choice.unreadable = firstUnreadable->second;
        choice.tried = {choice.folder};
        SDL_Log("No readable resources folder: the game runs without pictures, sounds and levels");
    } else if (choice.found) {
        SDL_Log("Reading the game's resources from %s%s", displayFolder(choice.folder).c_str(), RESOURCE_DIRECTORY);
        choice.tried = {choice.folder};
    } else {
        SDL_Log("No resources folder found in %s: the game runs without pictures, sounds and levels",
                listFolders(candidates).c_str());
    }
    currentChoice() = std::move(choice);
}

const std::string& resourceFolder() {
    if (!currentChoice()) chooseResourceFolder();
    return currentChoice()->folder;
}

std::string resourcePath(const std::string& relative) {
    const std::string& folder = resourceFolder();
    const std::string path = folder + RESOURCE_DIRECTORY + relative;
    // Within a resources/ that cannot be read nothing is looked at: that was told once.
    if (!currentChoice()->unreadable.empty()) return path;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 && errno == EACCES) {
        reportDenied(folder + RESOURCE_DIRECTORY, relative, std::strerror(errno));
    } else if (!isFile(path)) {
        reportMissing(std::string(RESOURCE_DIRECTORY) + relative, currentChoice()->tried);
    }
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
    std::string denied;
    for (const std::string& folder : folders) {
        if (isFile(folder + relative)) return folder + relative;
        struct stat info {};
        if (denied.empty() && ::stat((folder + relative).c_str(), &info) != 0 && errno == EACCES) denied = folder + relative;
    }
    // A level there but out of reach is no missing level: its loader says why it cannot be read.
    if (!denied.empty()) return denied;
    reportMissing(relative, folders);
    return folders.front() + relative;
}

namespace {
std::set<std::string>& linesLogged() {
    static std::set<std::string> lines;
    return lines;
}
}  // namespace

void logOnce(const std::string& line) {
    if (linesLogged().insert(line).second) SDL_Log("%s", line.c_str());
}

void forgetLoggedOnce() { linesLogged().clear(); }
