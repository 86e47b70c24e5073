#pragma once

// The files the game keeps for its player: where they live (the desktop's XDG
// folders), how one is written (atomically: a crash or a full disk never
// leaves a half-written file) and how one is read (forgivingly: a bad line
// costs that line, a file that cannot be read at all is kept aside as .bad).
// Every such file is text: a "version = N" line, then "key = value" lines.

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// $XDG_CONFIG_HOME/zelvane, or ~/.config/zelvane where it is unset (or not an
// absolute path, which the desktop's rules ignore). Empty when no home folder
// is known. Created only when a file is written.
std::string configFolder();
// $XDG_DATA_HOME/zelvane, or ~/.local/share/zelvane, by the same rules.
std::string dataFolder();

// The largest file the game reads back; anything bigger is not one of its own.
constexpr std::size_t MAX_PLAYER_FILE_BYTES = 64 * 1024;

// Writes contents to path through a temporary file in the same folder: written,
// flushed and fsync'ed, renamed over the old file, then the folder fsync'ed.
// Creates the folder when it is missing. On failure the temporary file is
// removed, the old file stays as it was, and error says what the system said.
bool writeFileAtomically(const std::string& path, const std::string& contents, std::string& error);
// Its two halves: the temporary file written and synced (its path in
// temporary), and its rename over the old file. Between them the old file is
// whole: a crash there loses only the new contents.
bool writeTemporaryFile(const std::string& path, const std::string& contents, std::string& temporary,
                        std::string& error);
bool replaceWithTemporaryFile(const std::string& temporary, const std::string& path, std::string& error);

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

// Says once a run for each reason that `what` could not be saved, and that the
// game plays on with it in memory: a player stepping a volume in a read-only
// home should not fill the log.
void tellSaveFailure(const std::string& what, const std::string& error);

// Renames path to path + ".bad" (replacing an older one); false when it could not.
bool setAsideBadFile(const std::string& path, std::string& error);

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
