#pragma once

#include <string>
#include <vector>

// Where the game's files are found, wherever it was started from.
//
// The folders that may hold resources/ are tried in this order: the working
// folder (a run from the build folder), the executable's folder, then the data
// folder of an installed tree beside it (<executable folder>/../share/zelvane).
// The first that holds resources/ with its font serves the whole run (a source
// tree has no font: the build adds it), or else the first that holds resources/
// at all. Every path to a file of the game is made here and nowhere else.

// The folder of the executable (SDL_GetBasePath), ending in a separator; empty when unknown.
std::string executableFolder();

// The candidate folders in the order they are tried, each ending in a separator
// (the working folder is "", so paths under it stay relative).
std::vector<std::string> resourceFolderCandidates();

// A resources/ that is there but cannot be read (no read or search
// permission) is not missing: it is told once, by name and with the system's
// reason, and passed over for a readable one. It serves only when no other
// folder holds resources/, and its files are then not reported one by one.

// The folder that serves this run, chosen at the first call (and logged once).
// When none of the candidates holds resources/, the working folder.
const std::string& resourceFolder();

// Chooses the serving folder again among the given candidates (the default
// ones when none are given) and logs the choice. For a start from another
// folder and for tests that move between folders.
void chooseResourceFolder(const std::vector<std::string>& candidates = resourceFolderCandidates());

// The path of a file under resources/ of the serving folder: "textures/x.png",
// "sounds/x.wav", "sans.ttf", "mapping.txt". A file that is not there is
// reported once, with the folders tried; the path is returned all the same so
// that the loader adds its own line.
std::string resourcePath(const std::string& relative);
std::string texturePath(const std::string& file);
std::string soundPath(const std::string& file);
std::string fontPath();
std::string mappingPath();

// The largest controller mapping file the game hands to SDL: 1 MB.
const long MAX_MAPPING_BYTES = 1024 * 1024;

// Why the file at path cannot be read, in the system's words ("No such file or
// directory", "Permission denied", "Is a directory"); empty when it can be.
std::string unreadableReason(const std::string& path);

// The file of level 1 to 3: beside the executable first, then the other
// candidates. Empty for any other number.
std::string levelFilePath(int levelNumber);

// A folder as the log lines show it: the working folder by its absolute name.
std::string displayFolder(const std::string& folder);

// Logs a load failure the first time it happens in a run (until clearImageCache):
// an owner made many times over, such as a platform or a bullet, says it once.
void logOnce(const std::string& line);
// Forgets which failures were told, so that the next run tells them again.
void forgetLoggedOnce();
