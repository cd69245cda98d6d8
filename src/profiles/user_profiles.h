#pragma once
// The player-profile store: players (created, chosen, renamed, soft-deleted),
// each player's game-won flag, state, suspended game, episode availability and
// best level times, the hiscore table and the hints each player has seen.
//
// Players are addressed by index (position in the list of active players, in row
// order) everywhere but in the best-time operations and GetPlayerNameById, which
// take the database id.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "profiles/profiles.h"

struct PlayerRecord {
    int32_t id = 0;
    std::string name;
};

struct ScoreRecord {
    std::string name;
    int32_t score = 0;
};

extern const char* const kHiscoresTable;
extern const char* const kHintsTable;

class CUserProfiles : public CProfiles {
public:
    // The program's one store, built on first use and closed at exit.
    static CUserProfiles& Instance();

    CUserProfiles() = default;

    // Opens (and on first run builds and seeds) the database and loads the
    // players. A file SQLite finds malformed or no database, or one that fails
    // the checks of Open (a table or column missing, player ids NULL or
    // shared), is set aside ("profile.db.damaged-<date>", logged) and a new
    // database built. A database
    // that cannot be opened logs "Error: DataBase exception raised! %s" and
    // throws its text.
    void OpenProfiles();

    uint32_t GetPlayerCount() const { return static_cast<uint32_t>(_players.size()); }
    bool IsValidPlayerIndex(uint32_t index) const;
    uint32_t GetActivePlayer() const { return _active_player; }
    bool SetActivePlayer(uint32_t index);
    bool HasActivePlayer() const { return _active_player < GetPlayerCount(); }

    std::string& GetPlayerName(std::string& out, uint32_t index) const;
    std::string& GetPlayerNameById(std::string& out, int32_t id) const;
    int32_t GetPlayerIndexByName(const std::string& name) const;

    bool AddPlayer(const std::string& name);
    bool DeletePlayer(uint32_t index);
    bool RenamePlayer(uint32_t index, const std::string& name);

    bool IsGameWon(uint32_t index);
    bool SetGameWon(uint32_t index, bool won);
    int32_t GetPlayerState(uint32_t index);
    bool SetPlayerState(uint32_t index, int32_t state);

    // The saved-game text: the bytes before the first zero byte are stored.
    bool SetPlayerSuspendedGame(uint32_t index, const std::vector<uint8_t>& data);
    bool ErasePlayerSuspendedGame(uint32_t index);
    // Gives back exactly the stored text bytes (no zero byte) while a game is suspended.
    bool GetPlayerSuspendedGame(uint32_t index, std::vector<uint8_t>& data);

    bool UpdateEpisodeAvailability(uint32_t index, int32_t episode, int32_t value);
    bool GetEpisodeAvailability(uint32_t index, int32_t episode, int32_t& value);
    bool GetEpisodeField(int32_t player_id, int32_t episode, const std::string& column, int32_t& value);

    // Stores the time only when there is none yet or it is lower than the stored one.
    bool SetLevelTime(uint32_t index, int32_t episode, int32_t level, int32_t time);
    bool GetPlayerLevelTime(uint32_t index, int32_t episode, int32_t level, int32_t& time);
    bool GetLevelTime(int32_t player_id, int32_t episode, int32_t level, int32_t& time);
    bool GetLevelField(int32_t player_id, int32_t episode, int32_t level, const std::string& column, int32_t& value);
    // The id of the player (deleted ones included) with the lowest time of a level.
    bool GetBestLevelTime(int32_t episode, int32_t level, int32_t& player_id);

    bool AddHiscore(uint32_t index, int32_t score);
    void GetTopScores(std::vector<ScoreRecord>& out, int32_t limit);

    bool SetHintShown(uint32_t index, int32_t hint, bool shown);
    bool GetHintShown(uint32_t index, int32_t hint);

    // Writes the best level times as "Settings\Hiscores.xml".
    void ExportHiscores();

    const std::vector<PlayerRecord>& Players() const { return _players; }
    const std::vector<PlayerRecord>& DeletedPlayers() const { return _deleted_players; }

protected:
    void OnDatabaseCreated() override;
    void AddStoreTables(std::vector<TableDesc>& tables) override;

private:
    void CreateDefaultData();
    // The hiscore or hint table: "id", the player key, then the Values of the description.
    TableDesc ExtraTable(const std::string& table, const char* values_path);
    void CreateExtraTable(const std::string& table, const char* values_path);
    void LoadPlayers();
    int32_t PlayerId(uint32_t index) const { return _players[index].id; }
    bool SetPlayerRow(uint32_t index, const Tuple& tuple);
    // Reads the named integer columns (and optionally "level_data") of a player's row.
    void SelectPlayerRow(uint32_t index, const std::vector<std::string>& int_columns, std::vector<int32_t>& ints,
                         std::vector<uint8_t>* level_data);
    bool ReadField(size_t level, const LevelCoords& coords, const std::string& column, int32_t& value);

    std::vector<PlayerRecord> _players;
    std::vector<PlayerRecord> _deleted_players;
    uint32_t _active_player = 0;
    // Hints already known as shown, by player id; follows SetHintShown both ways.
    std::map<int32_t, std::set<int32_t>> _hint_cache;
};

extern CUserProfiles& g_profiles;
