#include "platform/PlayerFiles.h"

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
