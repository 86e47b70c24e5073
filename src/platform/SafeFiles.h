#pragma once

// Where the player's files live (the desktop's XDG folders) and how one is
// written: atomically, so that a crash or a full disk never leaves a
// half-written file and never costs the old one.

#include <string>

// $XDG_CONFIG_HOME/zelvane, or ~/.config/zelvane where it is unset (or not an
// absolute path, which the desktop's rules ignore). Empty when no home folder
// is known. Created only when a file is written.
std::string configFolder();
// $XDG_DATA_HOME/zelvane, or ~/.local/share/zelvane, by the same rules.
std::string dataFolder();

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

// The system's words for the last failed call (errno).
std::string systemError();
// The folder path lies in.
std::string folderOf(const std::string& path);

// Makes a rename in folder last across a power cut: the folder's own entry is synced.
void syncFolder(const std::string& folder);

// Says once a run for each reason that `what` could not be saved, and that the
// game plays on with it in memory: a player stepping a volume in a read-only
// home should not fill the log.
void tellSaveFailure(const std::string& what, const std::string& error);

// Renames path to path + ".bad" (replacing an older one); false when it could not.
bool setAsideBadFile(const std::string& path, std::string& error);
