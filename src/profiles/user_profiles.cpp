#include "profiles/user_profiles.h"

#include <cstdlib>
#include <stdexcept>

#include "engine/logger.h"
#include "engine/xml_file.h"
#include "profiles/sqlite_exception.h"
#include "profiles/transaction.h"

const char* const kHiscoresTable = "hiscoresData";
const char* const kHintsTable = "hintsData";

CUserProfiles& g_profiles = CUserProfiles::Instance();

namespace {

const char kProfilesFile[] = "Settings\\Profiles.xml";
const char kHiscoresFile[] = "Settings\\Hiscores.xml";
const char kEpisodesFile[] = "Levels\\Episodes.xml";
const char kHiscoresValues[] = "//Profile/HiScores/Value";
const char kHintsValues[] = "//Profile/Hints/Value";
const int32_t kDefaultLevelTime = 600000;

// Level indices of the profile hierarchy.
const size_t kPlayerLevel = 0;
const size_t kEpisodeLevel = 1;
const size_t kLevelLevel = 2;

int32_t EntryInt(const TupleEntry& entry) {
    switch (entry.type) {
        case ttInteger: return entry.value.i;
        case ttFloat: return static_cast<int32_t>(entry.value.f);
        case ttText: return std::atoi(entry.value.text.c_str());
        default: return std::atoi(std::string(entry.value.bytes.begin(), entry.value.bytes.end()).c_str());
    }
}

// Seeding must be all or nothing: a step that fails stops it, and the
// transaction around it undoes what was done.
void Require(bool ok, const char* expression, const char* file, int line) {
    if (ok) return;
    LogFailedCheck("Assert", expression, file, line);
    ThrowAssertionFailed();
}
#define SEED_REQUIRE(expr) Require(static_cast<bool>(expr), #expr, __FILE__, __LINE__)

}  // namespace

CUserProfiles& CUserProfiles::Instance() {
    static CUserProfiles store;
    return store;
}

void CUserProfiles::OpenProfiles() {
    _active_player = 0;
    _hint_cache.clear();
    try {
        bool created = false;
        try {
            Open(created);
            LoadPlayers();
        } catch (const db::sqlite_exception& e) {
            // A damaged file is set aside and a new database made in its place.
            if (!e.is_damaged_database() || !SetDamagedDatabaseAside(e.what())) throw;
            Open(created);
            LoadPlayers();
        }
    } catch (const db::sqlite_exception& e) {
        CLogger::Instance().Log(2, "Error: DataBase exception raised! %s", e.what());
        _players.clear();
        _deleted_players.clear();
        Database().close();
        throw std::runtime_error(e.what());
    } catch (...) {
        _players.clear();
        _deleted_players.clear();
        Database().close();
        throw;
    }
}

void CUserProfiles::OnDatabaseCreated() { CreateDefaultData(); }

TableDesc CUserProfiles::ExtraTable(const std::string& table, const char* values_path) {
    CXMLFile description(kProfilesFile);
    std::string key;
    TableDesc desc{table, {{"id", "integer"}, {GetLevelKeyName(key, kPlayerLevel), "integer"}}};
    CXMLNodeList values = description.SelectNodes(values_path);
    for (int i = 0; i < values.GetLength(); ++i) {
        CXMLNode node = values.GetItem(i);
        desc.columns.emplace_back(node.GetAttribute("name", ""), node.GetAttribute("type", ""));
    }
    return desc;
}

void CUserProfiles::CreateExtraTable(const std::string& table, const char* values_path) {
    const TableDesc desc = ExtraTable(table, values_path);
    CreateTable(desc.name, desc.columns);
}

void CUserProfiles::AddStoreTables(std::vector<TableDesc>& tables) {
    tables.push_back(ExtraTable(kHiscoresTable, kHiscoresValues));
    tables.push_back(ExtraTable(kHintsTable, kHintsValues));
}

void CUserProfiles::CreateDefaultData() {
    CreateExtraTable(kHiscoresTable, kHiscoresValues);

    // The default hiscores belong to a player who is deleted at once.
    SEED_REQUIRE(AddPlayer("KORV"));
    for (int32_t score : {10000, 7000, 5000, 3000, 1000}) SEED_REQUIRE(AddHiscore(0, score));
    SEED_REQUIRE(DeletePlayer(0));

    {
        CXMLFile hiscores(kHiscoresFile);
        CXMLNodeList episodes = hiscores.SelectNodes("//Hiscores/Episode");
        for (int e = 0; e < episodes.GetLength(); ++e) {
            CXMLNodeList levels = episodes.GetItem(e).SelectNodes("Level");
            for (int l = 0; l < levels.GetLength(); ++l) {
                CXMLNodeList users = levels.GetItem(l).SelectNodes("User");
                for (int u = 0; u < users.GetLength(); ++u) {
                    const std::string name = users.GetItem(u).GetAttribute("name", "Unknown");
                    const int32_t time = users.GetItem(u).GetAttributeInt("time", kDefaultLevelTime);
                    AddPlayer(name);  // a name already active is not added again
                    const int32_t player = GetPlayerIndexByName(name);
                    Require(player != -1, "player != (size_t)-1", __FILE__, __LINE__);
                    Require(SetLevelTime(player, e, l, time), "SetLevelTime(player, e, l, time)", __FILE__, __LINE__);
                }
            }
        }
        for (int32_t i = static_cast<int32_t>(GetPlayerCount()) - 1; i >= 0; --i) SEED_REQUIRE(DeletePlayer(i));
    }

    {
        if (GetPlayerCount() != 0) LogFailedCheck("Assert", "GetPlayerCount() == 0", __FILE__, __LINE__);
        CXMLFile description(kProfilesFile);
        CXMLNodeList fakes = description.SelectNodes("//Profile/FakePlayers/Player");
        for (int i = 0; i < fakes.GetLength(); ++i) AddPlayer(fakes.GetItem(i).GetAttribute("name", ""));
        for (uint32_t n = GetPlayerCount(); n > 0; --n) SEED_REQUIRE(DeletePlayer(0));
    }

    CreateExtraTable(kHintsTable, kHintsValues);
}

void CUserProfiles::LoadPlayers() {
    std::string table;
    db::statement st;
    Query("select id, name, deleted from " + GetLevelTableName(table, kPlayerLevel), st);
    _players.clear();
    _deleted_players.clear();
    for (; !st.empty(); st.step()) {
        PlayerRecord record{st.get_int("id"), st.get_text("name")};
        if (st.get_int("deleted") != 1)
            _players.push_back(std::move(record));
        else
            _deleted_players.push_back(std::move(record));
    }
}

bool CUserProfiles::IsValidPlayerIndex(uint32_t index) const {
    if (index < GetPlayerCount()) return true;
    CLogger::Instance().Log(2, "Error: Invalid player requested! index = %d. Max index = %d", static_cast<int>(index),
                            static_cast<int>(GetPlayerCount()) - 1);
    return false;
}

bool CUserProfiles::SetActivePlayer(uint32_t index) {
    _active_player = index;
    return true;
}

std::string& CUserProfiles::GetPlayerName(std::string& out, uint32_t index) const {
    out = IsValidPlayerIndex(index) ? _players[index].name : std::string();
    return out;
}

std::string& CUserProfiles::GetPlayerNameById(std::string& out, int32_t id) const {
    for (const auto* list : {&_players, &_deleted_players})
        for (const PlayerRecord& p : *list)
            if (p.id == id) return out = p.name;
    CLogger::Instance().Log(2, "Error: Invalid player requested! id = %d", id);
    out.clear();
    return out;
}

int32_t CUserProfiles::GetPlayerIndexByName(const std::string& name) const {
    for (size_t i = 0; i < _players.size(); ++i)
        if (_players[i].name == name) return static_cast<int32_t>(i);
    CLogger::Instance().Log(2, "Error: Invalid player requested! name = %s", name.c_str());
    return -1;
}

bool CUserProfiles::AddPlayer(const std::string& name) {
    for (const PlayerRecord& p : _players)
        if (p.name == name) return false;

    const uint32_t previous_active = _active_player;
    bool added = false;
    try {
        // The player row and its first episode go in together or not at all.
        db::transaction add(Database());
        if (Insert(kPlayerLevel, {0}, {TupleEntry::Text("name", name), TupleEntry::Int("deleted", 0)})) {
            LoadPlayers();
            _active_player = GetPlayerCount() - 1;
            if (UpdateEpisodeAvailability(_active_player, 0, 1)) {
                add.commit();
                added = true;
            }
        }
    } catch (const db::sqlite_exception& e) {
        CLogger::Instance().Log(2, "Error: DataBase exception raised! %s", e.what());
    }
    if (!added) {
        _active_player = previous_active;
        try {
            LoadPlayers();
        } catch (const db::sqlite_exception& e) {
            // The lists stay as they were before the attempt.
            CLogger::Instance().Log(2, "Error: DataBase exception raised! %s", e.what());
        }
    }
    return added;
}

bool CUserProfiles::DeletePlayer(uint32_t index) {
    if (!IsValidPlayerIndex(index)) return false;
    if (!SetPlayerRow(index, {TupleEntry::Int("deleted", 1)})) return false;
    if (index == _active_player)
        _active_player = 0;
    else if (index < _active_player)
        --_active_player;
    LoadPlayers();
    return true;
}

bool CUserProfiles::RenamePlayer(uint32_t index, const std::string& name) {
    if (!IsValidPlayerIndex(index)) return false;
    if (!SetPlayerRow(index, {TupleEntry::Text("name", name)})) return false;
    LoadPlayers();
    return true;
}

bool CUserProfiles::SetPlayerRow(uint32_t index, const Tuple& tuple) {
    if (!IsValidPlayerIndex(index)) return false;
    return Set(kPlayerLevel, {PlayerId(index)}, tuple);
}

void CUserProfiles::SelectPlayerRow(uint32_t index, const std::vector<std::string>& int_columns,
                                    std::vector<int32_t>& ints, std::vector<uint8_t>* level_data) {
    try {
        std::string table;
        db::statement sel;
        Query("select * from " + GetLevelTableName(table, kPlayerLevel) + " where id=" + std::to_string(PlayerId(index)), sel);
        if (sel.empty()) LogFailedCheck("Assert", "!sel.Empty()", __FILE__, __LINE__);
        ints.clear();
        for (const std::string& column : int_columns) ints.push_back(sel.get_int(column));
        if (level_data) *level_data = sel.get_blob("level_data");
    } catch (const db::sqlite_exception& e) {
        CLogger::Instance().Log(2, "Error: DataBase exception raised! %s", e.what());
        throw std::runtime_error(e.what());
    }
}

bool CUserProfiles::IsGameWon(uint32_t index) {
    if (!IsValidPlayerIndex(index)) return false;
    std::vector<int32_t> v;
    SelectPlayerRow(index, {"game_won"}, v, nullptr);
    return v[0] != 0;
}

bool CUserProfiles::SetGameWon(uint32_t index, bool won) {
    return SetPlayerRow(index, {TupleEntry::Int("game_won", won ? 1 : 0)});
}

int32_t CUserProfiles::GetPlayerState(uint32_t index) {
    if (!IsValidPlayerIndex(index)) return -1;
    std::vector<int32_t> v;
    SelectPlayerRow(index, {"state"}, v, nullptr);
    return v[0];
}

bool CUserProfiles::SetPlayerState(uint32_t index, int32_t state) {
    return SetPlayerRow(index, {TupleEntry::Int("state", state)});
}

bool CUserProfiles::SetPlayerSuspendedGame(uint32_t index, const std::vector<uint8_t>& data) {
    return SetPlayerRow(index, {TupleEntry::Int("suspended", 1), TupleEntry::Bytes("level_data", data)});
}

bool CUserProfiles::ErasePlayerSuspendedGame(uint32_t index) {
    return SetPlayerRow(index, {TupleEntry::Int("suspended", 0)});
}

bool CUserProfiles::GetPlayerSuspendedGame(uint32_t index, std::vector<uint8_t>& data) {
    if (!IsValidPlayerIndex(index)) return false;
    std::vector<int32_t> v;
    std::vector<uint8_t> stored;
    SelectPlayerRow(index, {"suspended"}, v, &stored);
    if (v[0] == 0) return false;
    data = std::move(stored);
    return true;
}

bool CUserProfiles::UpdateEpisodeAvailability(uint32_t index, int32_t episode, int32_t value) {
    if (!IsValidPlayerIndex(index)) return false;
    return Set(kEpisodeLevel, {PlayerId(index), episode}, {TupleEntry::Int("available", value)});
}

bool CUserProfiles::GetEpisodeAvailability(uint32_t index, int32_t episode, int32_t& value) {
    if (!IsValidPlayerIndex(index)) return false;
    return GetEpisodeField(PlayerId(index), episode, "available", value);
}

bool CUserProfiles::ReadField(size_t level, const LevelCoords& coords, const std::string& column, int32_t& value) {
    Tuple row;
    if (!Select(level, coords, row)) return false;
    if (row.empty()) {
        value = 0;
        return true;
    }
    const int pos = FindField(row, column);
    if (pos < 0) throw std::runtime_error("Field " + column + " not found at episode level!");
    value = EntryInt(row[static_cast<size_t>(pos)]);
    return true;
}

bool CUserProfiles::GetEpisodeField(int32_t player_id, int32_t episode, const std::string& column, int32_t& value) {
    return ReadField(kEpisodeLevel, {player_id, episode}, column, value);
}

bool CUserProfiles::GetLevelField(int32_t player_id, int32_t episode, int32_t level, const std::string& column,
                                  int32_t& value) {
    return ReadField(kLevelLevel, {player_id, episode, level}, column, value);
}

bool CUserProfiles::SetLevelTime(uint32_t index, int32_t episode, int32_t level, int32_t time) {
    int32_t current = 0;
    if (!GetPlayerLevelTime(index, episode, level, current)) return false;
    if (current != 0 && time >= current) return false;
    return Set(kLevelLevel, {PlayerId(index), episode, level}, {TupleEntry::Int("time", time)});
}

bool CUserProfiles::GetPlayerLevelTime(uint32_t index, int32_t episode, int32_t level, int32_t& time) {
    if (!IsValidPlayerIndex(index)) return false;
    return GetLevelField(PlayerId(index), episode, level, "time", time);
}

bool CUserProfiles::GetLevelTime(int32_t player_id, int32_t episode, int32_t level, int32_t& time) {
    return GetLevelField(player_id, episode, level, "time", time);
}

bool CUserProfiles::GetBestLevelTime(int32_t episode, int32_t level, int32_t& player_id) {
    std::string table;
    db::statement st;
    Query("select * from " + GetLevelTableName(table, kLevelLevel) + " where episodeID=" + std::to_string(episode) +
              " and id=" + std::to_string(level) + " order by time limit 1",
          st);
    if (st.empty()) return false;
    player_id = st.get_int("playerID");
    return true;
}

bool CUserProfiles::AddHiscore(uint32_t index, int32_t score) {
    if (!IsValidPlayerIndex(index)) return false;
    int32_t id = 0;
    try {
        id = NewId(kHiscoresTable);
    } catch (const db::sqlite_exception& e) {
        CLogger::Instance().Log(2, "Error: DataBase exception raised! %s", e.what());
        return false;
    }
    return InsertInto(kHiscoresTable,
                      {TupleEntry::Int("id", id), TupleEntry::Int("playerID", PlayerId(index)), TupleEntry::Int("score", score)});
}

void CUserProfiles::GetTopScores(std::vector<ScoreRecord>& out, int32_t limit) {
    out.clear();
    db::statement st;
    Query(std::string("select * from ") + kHiscoresTable + " order by score desc limit " + std::to_string(limit), st);
    for (; !st.empty(); st.step()) {
        ScoreRecord record;
        GetPlayerNameById(record.name, st.get_int("playerID"));
        record.score = st.get_int("score");
        out.push_back(std::move(record));
    }
}

bool CUserProfiles::SetHintShown(uint32_t index, int32_t hint, bool shown) {
    if (!IsValidPlayerIndex(index)) return false;
    const int32_t id = PlayerId(index);
    const std::string where = " where playerID=" + std::to_string(id) + " and hintID=" + std::to_string(hint);
    const std::string test = std::string("select * from ") + kHintsTable + where + " limit 1";
    bool exists = false;
    if (!QueryHasRow(test, exists)) return false;

    bool ok = false;
    if (exists) {
        ok = ExecuteWrite(std::string("update ") + kHintsTable + " set shown=" + (shown ? "1" : "0") + where, {});
    } else {
        int32_t new_id = 0;
        try {
            new_id = NewId(kHintsTable);
        } catch (const db::sqlite_exception& e) {
            CLogger::Instance().Log(2, "Error: DataBase exception raised! %s", e.what());
            return false;
        }
        ok = InsertInto(kHintsTable, {TupleEntry::Int("id", new_id), TupleEntry::Int("playerID", id),
                                      TupleEntry::Int("hintID", hint), TupleEntry::Int("shown", shown ? 1 : 0)});
    }
    if (ok) {
        if (shown)
            _hint_cache[id].insert(hint);
        else if (auto it = _hint_cache.find(id); it != _hint_cache.end())
            it->second.erase(hint);
    }
    return ok;
}

bool CUserProfiles::GetHintShown(uint32_t index, int32_t hint) {
    if (index >= GetPlayerCount()) {
        LogFailedCheck("Assert", "false", __FILE__, __LINE__);
        return false;
    }
    const int32_t id = PlayerId(index);
    std::set<int32_t>& known = _hint_cache[id];
    if (known.count(hint)) return true;
    db::statement st;
    Query(std::string("select * from ") + kHintsTable + " where playerID=" + std::to_string(id) +
              " and hintID=" + std::to_string(hint) + " limit 1",
          st);
    const bool shown = !st.empty() && st.get_int("shown") != 0;
    if (shown) known.insert(hint);
    return shown;
}

void CUserProfiles::ExportHiscores() {
    CXMLFile episodes(kEpisodesFile);
    CXMLNodeList episode_nodes = episodes.SelectNodes("//Episodes/Episode");

    CXMLFile doc;
    doc.CreateRoot("Hiscores");
    CXMLNode root = doc.SelectSingleNode("//Hiscores");
    for (int e = 0; e < episode_nodes.GetLength(); ++e) {
        CXMLNode episode = doc.CreateNode("Episode");
        root.AppendChild(episode);
        const int level_count = episode_nodes.GetItem(e).GetAttributeInt("level_count", 0);
        for (int l = 0; l < level_count; ++l) {
            int32_t id = 0;
            if (!GetBestLevelTime(e, l, id)) id = 0;
            int32_t time = 0;
            GetLevelTime(id, e, l, time);
            if (time == 0) time = kDefaultLevelTime;
            std::string name;
            GetPlayerNameById(name, id);
            CXMLNode level = doc.CreateNode("Level");
            episode.AppendChild(level);
            CXMLNode user = doc.CreateNode("User");
            level.AppendChild(user);
            user.SetAttribute("name", name);
            user.SetAttributeInt("time", time);
        }
    }
    if (!doc.Save(kHiscoresFile)) CLogger::Instance().Log(2, "Error: unable to save '%s'!", kHiscoresFile);
}
