#pragma once

// What the game keeps of a player's play between starts: the best wave reached
// on each level in Arcade Mode, the best campaign time, and the campaign's
// checkpoint (the level it stands at and the hero's whole loadout as he
// entered it). Both files live in the game's data folder, checked (see
// PlayerFiles): records.ini and campaign.ini.

#include <SDL.h>

#include <array>
#include <optional>
#include <string>

constexpr int LEVELS = 3;
constexpr int ROBOT_KINDS = 5;

// Everything the hero carries from one level to the next: what a checkpoint restores.
struct Loadout {
    int xp = 0;
    int health = 200;
    double shield = 0;
    // The bought level of each weapon (by Weapon_Type), and the two slots.
    std::array<int, 5> weaponLevels{1, 0, 0, 0, 0};
    int weapon1 = 0;
    int weapon2 = -1;
    // The ability in use (by Ability; 4 for none), each one's level, its charge.
    int ability = 4;
    std::array<int, 4> abilityLevels{0, 0, 0, 0};
    bool charged = true;
    int abilitiesKills = 0;
    std::array<int, 4> playerLevels{0, 0, 0, 0};
    // What every later purchase costs more.
    int priceFactor = 0;

    bool operator==(const Loadout&) const = default;
};

// The account of a run: what the card at its end shows.
struct RunAccount {
    // Robots destroyed, by ENEMY_TYPE.
    std::array<int, ROBOT_KINDS> kills{0, 0, 0, 0, 0};
    // Bullets fired, and those that hit a robot (each bullet counts once).
    int shots = 0;
    int hits = 0;
    int xpEarned = 0;
    // Play only: the pause screen and the shop are not counted.
    Uint32 playedMs = 0;
    int waveReached = 0;

    int robotsDestroyed() const;
    // Hits over shots, 0 to 100; -1 with no shot fired (a knife's run).
    int accuracyPercent() const;
    // This account and another one together (the waves reached: the later).
    void add(const RunAccount& other);
    bool operator==(const RunAccount&) const = default;
};

// The records: 0 where there is none yet.
struct Records {
    std::array<int, LEVELS> bestWave{0, 0, 0};
    Uint32 bestCampaignMs = 0;
    bool operator==(const Records&) const = default;
};

// A campaign saved at its checkpoint: the level the hero entered with this
// loadout, and the account of the campaign before it.
struct CampaignSave {
    int level = 1;
    Loadout loadout;
    RunAccount played;
    bool operator==(const CampaignSave&) const = default;
};

// The campaign's waves: level 1 holds waves 1 to 10, level 2 11 to 20, level 3 21 to 30.
constexpr int CAMPAIGN_WAVES_PER_LEVEL = 10;
constexpr int campaignFirstWave(int level) { return (level - 1) * CAMPAIGN_WAVES_PER_LEVEL + 1; }
constexpr int campaignLastWave(int level) { return level * CAMPAIGN_WAVES_PER_LEVEL; }

// records.ini and campaign.ini in dataFolder(); empty when no home is known.
std::string recordsPath();
std::string campaignPath();

// Read as the checked files' rules say (a bad file gives way to its backup,
// with one log line); the defaults, or none, when neither loads.
Records loadRecords(const std::string& path = recordsPath());
std::optional<CampaignSave> loadCampaign(const std::string& path = campaignPath());
// Written atomically, the last good copy kept as the backup. A home that
// cannot be written costs one log line a run; false then.
bool saveRecords(const Records& records, const std::string& path = recordsPath());
bool saveCampaign(const CampaignSave& campaign, const std::string& path = campaignPath());
// The campaign is over: its file and backup go.
void clearCampaign(const std::string& path = campaignPath());
