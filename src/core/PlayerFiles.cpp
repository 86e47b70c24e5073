#include "PlayerFiles.h"

#include <SDL.h>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <system_error>

namespace fs = std::filesystem;

namespace {

const char* const GAME_FOLDER = "zelvane";

std::string systemError() { return std::strerror(errno); }

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

// The folder's own entry is what makes a rename last across a power cut.
void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

std::string folderOf(const std::string& path) { return fs::path(path).parent_path().string(); }

std::string trim(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    const std::size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool isKeyCharacter(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_'; }

// "key = value" with a key of lower-case letters, digits and underscores.
bool splitEntry(const std::string& line, std::string& key, std::string& value) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) return false;
    key = trim(line.substr(0, equals));
    value = trim(line.substr(equals + 1));
    if (key.empty()) return false;
    for (char c : key)
        if (!isKeyCharacter(c)) return false;
    return true;
}

// A line as the log shows it: short enough to read.
std::string shown(const std::string& line) { return line.size() <= 60 ? line : line.substr(0, 57) + "..."; }

// Bytes a text file of the game's never holds: control characters other than
// tabs and line ends.
bool isText(const std::string& bytes) {
    for (unsigned char c : bytes) {
        if (c == '\n' || c == '\r' || c == '\t') continue;
        if (c < 0x20 || c == 0x7F) return false;
    }
    return true;
}

// Why the bytes are not a player file, or empty when they are one.
std::string notAPlayerFile(const std::string& bytes) {
    if (bytes.empty()) return "it is empty";
    if (!isText(bytes)) return "it holds bytes that are not text";
    if (bytes.back() != '\n') return "it ends in the middle of a line";
    return "";
}

// True for "version = N" with a whole number N from 1, which goes into version.
bool readVersion(const std::string& line, int& version) {
    std::string key;
    std::string value;
    if (!splitEntry(line, key, value) || key != "version" || value.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const long number = std::strtol(value.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || number < 1 || number > 1000000) return false;
    version = static_cast<int>(number);
    return true;
}

PlayerFileContents setAside(const std::string& path, const std::string& reason) {
    PlayerFileContents contents;
    contents.status = PlayerFileContents::Status::setAside;
    contents.reason = reason;
    if (setAsideBadFile(path, contents.renameError)) contents.keptAs = path + ".bad";
    return contents;
}

}  // namespace

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

namespace {

// The bytes of the file, or why there are none: missing (status stays
// missing), not to be read (unreadable), or too big to be one of the game's (setAside).
bool readBytes(const std::string& path, std::size_t maxBytes, std::string& bytes, PlayerFileContents& contents) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return false;
        contents.status = PlayerFileContents::Status::unreadable;
        contents.reason = systemError();
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        contents.status = PlayerFileContents::Status::unreadable;
        contents.reason = S_ISDIR(info.st_mode) ? "it is a folder" : "it is not a regular file";
        ::close(fd);
        return false;
    }
    if (static_cast<std::size_t>(info.st_size) > maxBytes) {
        ::close(fd);
        contents.status = PlayerFileContents::Status::setAside;
        contents.reason = "it is " + std::to_string(info.st_size) + " bytes, more than the " +
                          std::to_string(maxBytes) + " a file of the game's holds";
        return false;
    }
    bytes.assign(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    const std::string readError = got < bytes.size() ? systemError() : "";
    ::close(fd);
    if (got < bytes.size()) {
        contents.status = PlayerFileContents::Status::unreadable;
        contents.reason = readError;
        return false;
    }
    return true;
}

// The lines of bytes already known to be text: the version first, then
// "key = value" entries (bad lines logged against path and skipped). False,
// with the reason, when there is no version line.
bool parseLines(const std::string& bytes, const std::string& path, PlayerFileContents& contents) {
    bool versionSeen = false;
    int lineNumber = 0;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find('\n', start);
        std::string line = bytes.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        line = trim(line);
        if (line.empty() || line[0] == '#') continue;
        if (!versionSeen) {
            if (!readVersion(line, contents.version)) {
                contents.reason = "it does not start with a version line";
                return false;
            }
            versionSeen = true;
            continue;
        }
        PlayerFileEntry entry;
        entry.line = lineNumber;
        if (!splitEntry(line, entry.key, entry.value)) {
            SDL_Log("%s, line %d: \"%s\" is not a \"key = value\" line; it is skipped", path.c_str(), lineNumber,
                    shown(line).c_str());
            continue;
        }
        contents.entries.push_back(std::move(entry));
    }
    if (!versionSeen) contents.reason = "it has no version line";
    return versionSeen;
}

// The contents of a file's bytes, or why they are not a player file.
PlayerFileContents parseBytes(const std::string& bytes, const std::string& path) {
    PlayerFileContents contents;
    contents.reason = notAPlayerFile(bytes);
    if (contents.reason.empty() && parseLines(bytes, path, contents)) {
        contents.status = PlayerFileContents::Status::read;
    } else {
        contents.status = PlayerFileContents::Status::setAside;
    }
    return contents;
}

const char* const CHECKSUM_KEY = "checksum";

std::string checksumOf(const std::string& text) {
    char line[32];
    std::snprintf(line, sizeof line, "%08x", SDL_crc32(0, text.data(), text.size()));
    return line;
}

// Why a checked file's bytes fail, or empty when their last line is the
// checksum of everything before it.
std::string checksumFault(const std::string& bytes) {
    if (bytes.empty() || bytes.back() != '\n') return "it is cut short";
    const std::size_t lastLine = bytes.rfind('\n', bytes.size() - 2);
    const std::size_t start = lastLine == std::string::npos ? 0 : lastLine + 1;
    std::string key;
    std::string value;
    if (!splitEntry(bytes.substr(start, bytes.size() - 1 - start), key, value) || key != CHECKSUM_KEY) {
        return "it has no checksum";
    }
    if (value != checksumOf(bytes.substr(0, start))) return "its checksum does not match";
    return "";
}

// A checked file's contents, or why they do not load (status setAside).
PlayerFileContents readChecked(const std::string& path, std::string& bytes) {
    PlayerFileContents contents;
    if (!readBytes(path, MAX_PLAYER_FILE_BYTES, bytes, contents)) return contents;
    const std::string wrong = notAPlayerFile(bytes);
    const std::string fault = wrong.empty() ? checksumFault(bytes) : wrong;
    if (!fault.empty()) {
        contents.status = PlayerFileContents::Status::setAside;
        contents.reason = fault;
        return contents;
    }
    contents = parseBytes(bytes, path);
    // The checksum is the file's own business, not an entry for the caller.
    std::erase_if(contents.entries, [](const PlayerFileEntry& entry) { return entry.key == CHECKSUM_KEY; });
    return contents;
}

}  // namespace

PlayerFileContents readPlayerFile(const std::string& path, std::size_t maxBytes) {
    PlayerFileContents contents;
    std::string bytes;
    if (!readBytes(path, maxBytes, bytes, contents)) {
        if (contents.status == PlayerFileContents::Status::setAside) return setAside(path, contents.reason);
        return contents;
    }
    contents = parseBytes(bytes, path);
    if (contents.status == PlayerFileContents::Status::setAside) return setAside(path, contents.reason);
    return contents;
}

bool writeCheckedPlayerFile(const std::string& path, int version,
                            const std::vector<std::pair<std::string, std::string>>& entries, std::string& error) {
    std::string current;
    if (readChecked(path, current).status == PlayerFileContents::Status::read &&
        !writeFileAtomically(path + ".bak", current, error)) {
        return false;
    }
    const std::string text = formatPlayerFile(version, entries);
    return writeFileAtomically(path, text + CHECKSUM_KEY + " = " + checksumOf(text) + "\n", error);
}

CheckedFileContents readCheckedPlayerFile(const std::string& path) {
    CheckedFileContents result;
    std::string bytes;
    const PlayerFileContents main = readChecked(path, bytes);
    if (main.status == PlayerFileContents::Status::read || main.status == PlayerFileContents::Status::unreadable) {
        static_cast<PlayerFileContents&>(result) = main;
        return result;
    }
    std::string backupBytes;
    const PlayerFileContents backup = readChecked(path + ".bak", backupBytes);
    if (backup.status == PlayerFileContents::Status::read) {
        std::string error;
        // The bad file is kept for the player; the good copy takes its place.
        if (main.status == PlayerFileContents::Status::setAside) setAsideBadFile(path, error);
        writeFileAtomically(path, backupBytes, error);
        static_cast<PlayerFileContents&>(result) = backup;
        result.restored = true;
        result.reason = main.status == PlayerFileContents::Status::missing ? "it is missing" : main.reason;
        return result;
    }
    if (main.status == PlayerFileContents::Status::missing) return result;
    static_cast<PlayerFileContents&>(result) = setAside(path, main.reason);
    return result;
}

void removeCheckedPlayerFile(const std::string& path) {
    ::unlink(path.c_str());
    ::unlink((path + ".bak").c_str());
    syncFolder(folderOf(path));
}

bool readWholeNumber(const std::string& value, long& number) {
    if (value.empty()) return false;
    char* end = nullptr;
    errno = 0;
    number = std::strtol(value.c_str(), &end, 10);
    return errno == 0 && *end == '\0';
}

std::string formatPlayerFile(int version, const std::vector<std::pair<std::string, std::string>>& entries) {
    std::string text = "version = " + std::to_string(version) + "\n";
    for (const auto& [key, value] : entries) text += key + " = " + value + "\n";
    return text;
}
