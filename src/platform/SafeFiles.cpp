#include "platform/SafeFiles.h"

#include <SDL.h>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <system_error>

namespace fs = std::filesystem;

namespace {

const char* const GAME_FOLDER = "zelvane";

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return home;
    const passwd* entry = getpwuid(getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}

// The desktop's rule: a base folder named in the environment counts only when
// it is an absolute path; otherwise the default under the home folder.
std::string xdgFolder(const char* variable, const char* fallbackUnderHome) {
    const char* named = std::getenv(variable);
    std::string base;
    if (named != nullptr && named[0] == '/') {
        base = named;
    } else {
        const std::string home = homeFolder();
        if (home.empty()) return "";
        base = home + "/" + fallbackUnderHome;
    }
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    return base + "/" + GAME_FOLDER;
}

// Writes all of contents, through short writes and interruptions.
bool writeAll(int fd, const std::string& contents) {
    const char* data = contents.data();
    std::size_t left = contents.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        left -= static_cast<std::size_t>(written);
    }
    return true;
}

}  // namespace

std::string systemError() { return std::strerror(errno); }

std::string folderOf(const std::string& path) { return fs::path(path).parent_path().string(); }

void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

std::string configFolder() { return xdgFolder("XDG_CONFIG_HOME", ".config"); }

std::string dataFolder() { return xdgFolder("XDG_DATA_HOME", ".local/share"); }

bool writeTemporaryFile(const std::string& path, const std::string& contents, std::string& temporary,
                        std::string& error) {
    const std::string folder = folderOf(path);
    std::error_code made;
    if (!folder.empty()) fs::create_directories(folder, made);
    if (made) {
        error = "cannot make the folder " + folder + ": " + made.message();
        return false;
    }
    // One temporary name per process: two games running at once never write
    // into each other's, and a crash's leftover is overwritten next time.
    temporary = path + ".tmp-" + std::to_string(::getpid());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = "cannot write in " + folder + ": " + systemError();
        return false;
    }
    const bool whole = writeAll(fd, contents) && ::fsync(fd) == 0;
    const std::string writeError = whole ? "" : systemError();
    const bool closed = ::close(fd) == 0;
    if (!whole || !closed) {
        error = "cannot write " + temporary + ": " + (whole ? systemError() : writeError);
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

bool replaceWithTemporaryFile(const std::string& temporary, const std::string& path, std::string& error) {
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        error = "cannot replace " + path + ": " + systemError();
        ::unlink(temporary.c_str());
        return false;
    }
    syncFolder(folderOf(path));
    return true;
}

bool writeFileAtomically(const std::string& path, const std::string& contents, std::string& error) {
    std::string temporary;
    return writeTemporaryFile(path, contents, temporary, error) && replaceWithTemporaryFile(temporary, path, error);
}

void tellSaveFailure(const std::string& what, const std::string& error) {
    static std::set<std::string> told;
    if (told.insert(what + error).second) {
        SDL_Log("Could not save the %s: %s. They hold until the game is closed.", what.c_str(), error.c_str());
    }
}

bool setAsideBadFile(const std::string& path, std::string& error) {
    const std::string bad = path + ".bad";
    if (::rename(path.c_str(), bad.c_str()) != 0) {
        error = systemError();
        return false;
    }
    syncFolder(folderOf(path));
    return true;
}
