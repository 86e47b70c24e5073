#include "platform/Records.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <sstream>
#include <utility>
#include <vector>

#include "platform/PlayerFiles.h"

namespace {

constexpr int RECORDS_VERSION = 1;
constexpr int CAMPAIGN_VERSION = 1;

using Entries = std::vector<std::pair<std::string, std::string>>;

template <std::size_t N>
std::string joined(const std::array<int, N>& values) {
    std::string text;
    for (int value : values) {
        if (!text.empty()) text += ' ';
        text += std::to_string(value);
    }
    return text;
}

// Reads the entries of a file into values by key; what is not a number in
// range is logged with the file and line, and keeps its default.
class Reader {
public:
    Reader(std::string file, const std::vector<PlayerFileEntry>& lines) : path(std::move(file)), entries(lines) {}

    void number(const char* key, int& value, long lowest, long highest) {
        for (const PlayerFileEntry& entry : entries) {
            if (entry.key != key) continue;
            long read = 0;
            if (readWholeNumber(entry.value, read) && read >= lowest && read <= highest) {
                value = static_cast<int>(read);
            } else {
                complain(entry, std::to_string(lowest) + " to " + std::to_string(highest));
            }
        }
    }
    void number(const char* key, Uint32& value) {
        int read = static_cast<int>(std::min<Uint32>(value, 2000000000u));
        number(key, read, 0, 2000000000L);
        value = static_cast<Uint32>(read);
    }
    void number(const char* key, double& value, double lowest, double highest) {
        for (const PlayerFileEntry& entry : entries) {
            if (entry.key != key) continue;
            char* end = nullptr;
            const double read = std::strtod(entry.value.c_str(), &end);
            if (!entry.value.empty() && *end == '\0' && read >= lowest && read <= highest) {
                value = read;
            } else {
                complain(entry, "a number from " + std::to_string(static_cast<int>(lowest)) + " to " +
                                    std::to_string(static_cast<int>(highest)));
            }
        }
    }
    void flag(const char* key, bool& value) {
        int read = value ? 1 : 0;
        number(key, read, 0, 1);
        value = read != 0;
    }
    template <std::size_t N>
    void numbers(const char* key, std::array<int, N>& values, long lowest, long highest) {
        for (const PlayerFileEntry& entry : entries) {
            if (entry.key != key) continue;
            std::istringstream in(entry.value);
            std::array<int, N> read{};
            bool whole = true;
            for (int& value : read) {
                long number = 0;
                std::string word;
                whole = whole && (in >> word) && readWholeNumber(word, number) && number >= lowest && number <= highest;
                value = static_cast<int>(number);
            }
            std::string more;
            if (whole && !(in >> more)) {
                values = read;
            } else {
                complain(entry, std::to_string(N) + " numbers from " + std::to_string(lowest) + " to " +
                                    std::to_string(highest));
            }
        }
    }

private:
    void complain(const PlayerFileEntry& entry, const std::string& wanted) const {
        SDL_Log("%s, line %d: %s = %s is not %s; it is not used", path.c_str(), entry.line, entry.key.c_str(),
                entry.value.c_str(), wanted.c_str());
    }

    std::string path;
    const std::vector<PlayerFileEntry>& entries;
};

// The contents of a checked file, with the one line a player is owed when it
// had to give way to its backup or could not be read at all.
CheckedFileContents readTold(const std::string& path, const char* what) {
    const CheckedFileContents contents = readCheckedPlayerFile(path);
    if (contents.restored) {
        SDL_Log("%s could not be read (%s): its last good copy, %s.bak, is used instead", path.c_str(),
                contents.reason.c_str(), path.c_str());
    } else if (contents.status == PlayerFileContents::Status::setAside) {
        SDL_Log("%s cannot be read (%s) and has no good backup: it is kept as %s.bad and the game starts without "
                "the %s",
                path.c_str(), contents.reason.c_str(), path.c_str(), what);
    } else if (contents.status == PlayerFileContents::Status::unreadable) {
        SDL_Log("Could not read the %s in %s: %s", what, path.c_str(), contents.reason.c_str());
    }
    return contents;
}

bool saveTold(const std::string& path, int version, const Entries& entries, const char* what) {
    std::string error = path.empty() ? "no home folder to keep it in" : "";
    if (error.empty() && writeCheckedPlayerFile(path, version, entries, error)) return true;
    tellSaveFailure(what, error);
    return false;
}

std::string inDataFolder(const char* file) {
    const std::string folder = dataFolder();
    return folder.empty() ? "" : folder + "/" + file;
}

}  // namespace

int RunAccount::robotsDestroyed() const {
    int total = 0;
    for (int count : kills) total += count;
    return total;
}

int RunAccount::accuracyPercent() const {
    if (shots <= 0) return -1;
    return std::min(100, hits * 100 / shots);
}

void RunAccount::add(const RunAccount& other) {
    for (std::size_t kind = 0; kind < kills.size(); ++kind) kills[kind] += other.kills[kind];
    shots += other.shots;
    hits += other.hits;
    xpEarned += other.xpEarned;
    playedMs += other.playedMs;
    waveReached = std::max(waveReached, other.waveReached);
}

std::string recordsPath() { return inDataFolder("records.ini"); }
std::string campaignPath() { return inDataFolder("campaign.ini"); }

Records loadRecords(const std::string& path) {
    Records records;
    if (path.empty()) return records;
    const CheckedFileContents contents = readTold(path, "records");
    if (contents.status != PlayerFileContents::Status::read) return records;
    Reader read(path, contents.entries);
    for (int level = 0; level < LEVELS; ++level) {
        const std::string key = "best_wave_level" + std::to_string(level + 1);
        read.number(key.c_str(), records.bestWave[static_cast<std::size_t>(level)], 0, 1000000);
    }
    read.number("best_campaign_ms", records.bestCampaignMs);
    return records;
}

bool saveRecords(const Records& records, const std::string& path) {
    Entries entries;
    for (int level = 0; level < LEVELS; ++level) {
        // The key appended to in place: GCC 12 warns, wrongly, about the copy
        // of a concatenated temporary here (its -Warray-bounds false positive).
        std::string key = "best_wave_level";
        key += std::to_string(level + 1);
        entries.emplace_back(std::move(key), std::to_string(records.bestWave[static_cast<std::size_t>(level)]));
    }
    entries.emplace_back("best_campaign_ms", std::to_string(records.bestCampaignMs));
    return saveTold(path, RECORDS_VERSION, entries, "records");
}

std::optional<CampaignSave> loadCampaign(const std::string& path) {
    if (path.empty()) return std::nullopt;
    const CheckedFileContents contents = readTold(path, "saved campaign");
    if (contents.status != PlayerFileContents::Status::read) return std::nullopt;
    CampaignSave save;
    Reader read(path, contents.entries);
    save.level = 0;
    read.number("level", save.level, 1, LEVELS);
    if (save.level == 0) {
        SDL_Log("%s names no level to continue at: the campaign starts anew", path.c_str());
        return std::nullopt;
    }
    Loadout& hero = save.loadout;
    read.number("xp", hero.xp, 0, 100000000L);
    read.number("health", hero.health, 1, 200);
    read.number("shield", hero.shield, 0, 200);
    read.numbers("weapon_levels", hero.weaponLevels, 0, 5);
    read.number("weapon1", hero.weapon1, 0, 4);
    read.number("weapon2", hero.weapon2, -1, 4);
    read.number("ability", hero.ability, 0, 4);
    read.numbers("ability_levels", hero.abilityLevels, 0, 5);
    read.flag("charged", hero.charged);
    read.number("ability_kills", hero.abilitiesKills, 0, 1000);
    read.numbers("player_levels", hero.playerLevels, 0, 5);
    read.number("price_factor", hero.priceFactor, 0, 100000);
    RunAccount& played = save.played;
    read.numbers("played_kills", played.kills, 0, 100000000L);
    read.number("played_shots", played.shots, 0, 2000000000L);
    read.number("played_hits", played.hits, 0, 2000000000L);
    read.number("played_xp", played.xpEarned, 0, 2000000000L);
    read.number("played_ms", played.playedMs);
    read.number("played_wave", played.waveReached, 0, campaignLastWave(LEVELS));
    // The revolver is always at hand, and a weapon in a slot is one the hero owns.
    hero.weaponLevels[0] = std::max(hero.weaponLevels[0], 1);
    if (hero.weaponLevels[static_cast<std::size_t>(hero.weapon1)] == 0) hero.weapon1 = 0;
    if (hero.weapon2 >= 0 && (hero.weapon2 == hero.weapon1 || hero.weaponLevels[static_cast<std::size_t>(hero.weapon2)] == 0)) {
        hero.weapon2 = -1;
    }
    if (hero.ability < 4 && hero.abilityLevels[static_cast<std::size_t>(hero.ability)] == 0) hero.ability = 4;
    return save;
}

bool saveCampaign(const CampaignSave& campaign, const std::string& path) {
    const Loadout& hero = campaign.loadout;
    const RunAccount& played = campaign.played;
    std::ostringstream shield;
    shield << hero.shield;
    const Entries entries{
        {"level", std::to_string(campaign.level)},
        {"xp", std::to_string(hero.xp)},
        {"health", std::to_string(hero.health)},
        {"shield", shield.str()},
        {"weapon_levels", joined(hero.weaponLevels)},
        {"weapon1", std::to_string(hero.weapon1)},
        {"weapon2", std::to_string(hero.weapon2)},
        {"ability", std::to_string(hero.ability)},
        {"ability_levels", joined(hero.abilityLevels)},
        {"charged", hero.charged ? "1" : "0"},
        {"ability_kills", std::to_string(hero.abilitiesKills)},
        {"player_levels", joined(hero.playerLevels)},
        {"price_factor", std::to_string(hero.priceFactor)},
        {"played_kills", joined(played.kills)},
        {"played_shots", std::to_string(played.shots)},
        {"played_hits", std::to_string(played.hits)},
        {"played_xp", std::to_string(played.xpEarned)},
        {"played_ms", std::to_string(played.playedMs)},
        {"played_wave", std::to_string(played.waveReached)},
    };
    return saveTold(path, CAMPAIGN_VERSION, entries, "campaign");
}

void clearCampaign(const std::string& path) {
    if (!path.empty()) removeCheckedPlayerFile(path);
}
