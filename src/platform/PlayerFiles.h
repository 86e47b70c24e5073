#pragma once

// The files the game keeps for its player, written through SafeFiles and read
// forgivingly: a bad line costs that line, a file that cannot be read at all
// is kept aside as .bad. Every such file is text: a "version = N" line, then
// "key = value" lines; those that hold achievements also carry a checksum and
// a backup.

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "platform/SafeFiles.h"

// The largest file the game reads back; anything bigger is not one of its own.
constexpr std::size_t MAX_PLAYER_FILE_BYTES = 64 * 1024;

// One "key = value" line as read, with its line number (from 1).
struct PlayerFileEntry {
    int line = 0;
    std::string key;
    std::string value;
};

// What reading a player file found.
struct PlayerFileContents {
    enum class Status {
        missing,   // no file: the defaults, silently
        read,      // read; entries hold its key = value lines
        setAside,  // not a file of the game's (reason says why): renamed to path + ".bad"
        unreadable,  // there but could not be opened or read (reason says why); left as it is
    };
    Status status = Status::missing;
    int version = 0;
    std::vector<PlayerFileEntry> entries;
    // Why the file was set aside or could not be read.
    std::string reason;
    // Where a file set aside went; empty when even the rename failed (renameError says why).
    std::string keptAs;
    std::string renameError;
};

// Reads a player file. Blank lines and lines starting with '#' are skipped; a
// line that is not "key = value" is logged with the file and its line number
// and skipped. A file larger than maxBytes, holding bytes that are not text,
// without a "version = N" first line, or ending in the middle of a line (cut
// short) is not the game's: it is renamed to path + ".bad" for the player to
// keep. The caller tells the player about it, once, with what it does instead.
PlayerFileContents readPlayerFile(const std::string& path, std::size_t maxBytes = MAX_PLAYER_FILE_BYTES);

// A value that is a whole number in decimal, and nothing else, into number.
bool readWholeNumber(const std::string& value, long& number);

// A player file's text: the version line, then one "key = value" line per entry.
std::string formatPlayerFile(int version, const std::vector<std::pair<std::string, std::string>>& entries);

// Files that hold what a player achieved (records, a saved campaign) matter
// more than settings: they end with a "checksum = XXXXXXXX" line (the CRC-32
// of every byte before it), and the last good copy is kept beside them as
// path + ".bak".

// Writes a checked file atomically. The file it replaces becomes the backup
// first, but only when it passes its own checksum: a backup is never
// overwritten by a file that would not load.
bool writeCheckedPlayerFile(const std::string& path, int version,
                            const std::vector<std::pair<std::string, std::string>>& entries, std::string& error);

// Reads a checked file. One that is missing, or fails its checksum or any
// other test of readPlayerFile, gives way to its backup when that one is good:
// the backup is then copied back over it (a bad file kept as .bad first) and
// `restored` says so. Only when neither loads is the file kept as .bad and
// the caller starts without it (status setAside). The caller logs the one line.
struct CheckedFileContents : PlayerFileContents {
    bool restored = false;
};
CheckedFileContents readCheckedPlayerFile(const std::string& path);

// Removes the file and its backup, as when a saved campaign is finished.
void removeCheckedPlayerFile(const std::string& path);
