#include "profiles/profiles.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <set>
#include <stdexcept>

#include "engine/logger.h"
#include "engine/user_folder.h"
#include "engine/xml_file.h"
#include "platform/system.h"
#include "profiles/sqlite_exception.h"
#include "profiles/transaction.h"

const char* const kProfileDbName = "profile.db";

namespace {

const char kProfilesFile[] = "Settings\\Profiles.xml";

// The database by its full path in the user folder, never a name that the
// current directory would resolve.
std::string ProfileDbPath() {
    const std::string folder = UserFolderPath("all");
    if (folder.empty()) throw std::runtime_error("No user folder for the profile database!");
    return folder + kProfileDbName;
}

std::string FloatText(float v) {
    char text[64];
    std::snprintf(text, sizeof(text), "%f", static_cast<double>(v));
    return text;
}

// A byte buffer is stored as the text before its first zero byte.
std::string BytesText(const std::vector<uint8_t>& bytes) {
    const void* zero = std::memchr(bytes.data(), 0, bytes.size());
    const size_t n = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - bytes.data()) : bytes.size();
    return std::string(reinterpret_cast<const char*>(bytes.data()), n);
}

// The value of an entry as bound to its placeholder; false for an unknown tag.
bool EntryParam(const TupleEntry& entry, db::params& values) {
    switch (entry.type) {
        case ttInteger: values.emplace_back(std::int64_t{entry.value.i}); return true;
        // Floats go in as "%f" text, six decimals, as they always have.
        case ttFloat: values.emplace_back(FloatText(entry.value.f)); return true;
        case ttText: values.emplace_back(entry.value.text); return true;
        case ttBytes: values.emplace_back(BytesText(entry.value.bytes)); return true;
        default: return false;
    }
}

// Local date and time as "YYYYMMDD-HHMMSS".
std::string DateTimeStamp() {
    const std::tm t = plat::LocalTimeNow();
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &t);
    return text;
}

// Found by the checks of Open: the file is set aside as SQLite's own damaged
// ones are.
[[noreturn]] void ThrowDamaged(const std::string& reason) { throw db::sqlite_exception(SQLITE_CORRUPT, reason); }

std::string LowerCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The storage class SQLite gives a value the store writes into a column of
// this declared type ("integer default 0": its first word, by SQLite's
// affinity rules); null for a type the store never writes.
const char* StoredType(const std::string& declared) {
    const std::string name = LowerCase(declared.substr(0, declared.find(' ')));
    if (name.find("int") != std::string::npos) return "integer";
    for (const char* text : {"char", "clob", "text"})
        if (name.find(text) != std::string::npos) return "text";
    return nullptr;
}

// NewId's statement over the ids in use (`used`, a select of one column):
// their count, whether the next one fits 32 bits, and the next one.
std::string NewIdQuery(const std::string& used) {
    return "with used(v) as (" + used +
           ") select count(v) as records, max(v) < 2147483647 as below_top, max(v) + 1 as next from used";
}

// Values the store could not have written there: another storage class (a
// text 'no' in an integer column reads as 0), NULL (every column is written
// or has a default), or an integer beyond the 32 bits the store reads.
std::string WrongValueFilter(const std::string& column, const std::string& type) {
    std::string filter = "typeof(" + column + ") <> '" + type + "'";
    if (type == "integer") filter += " or " + column + " not between -2147483648 and 2147483647";
    return filter;
}

}  // namespace

TupleEntry TupleEntry::Int(std::string name, int32_t v) {
    TupleEntry e{std::move(name), ttInteger, {}};
    e.value.i = v;
    return e;
}
TupleEntry TupleEntry::Float(std::string name, float v) {
    TupleEntry e{std::move(name), ttFloat, {}};
    e.value.f = v;
    return e;
}
TupleEntry TupleEntry::Text(std::string name, std::string v) {
    TupleEntry e{std::move(name), ttText, {}};
    e.value.text = std::move(v);
    return e;
}
TupleEntry TupleEntry::Bytes(std::string name, std::vector<uint8_t> v) {
    TupleEntry e{std::move(name), ttBytes, {}};
    e.value.bytes = std::move(v);
    return e;
}

int FindField(const Tuple& tuple, const std::string& name) {
    for (size_t i = 0; i < tuple.size(); ++i)
        if (tuple[i].name == name) return static_cast<int>(i);
    return -1;
}

void CProfiles::Open(bool& created) {
    const std::string path = ProfileDbPath();
    std::error_code ec;
    if (std::filesystem::is_regular_file(path, ec) && std::filesystem::file_size(path, ec) == 0 && !ec)
        CLogger::Instance().Log(2, "Error: profile database '%s' is empty (0 bytes); a new one is made in its place.",
                                kProfileDbName);
    _database.open(path);

    CXMLFile description(kProfilesFile);
    CXMLNodeList level_nodes = description.SelectNodes("//Profile/Level");
    _levels.clear();
    for (int i = 0; i < level_nodes.GetLength(); ++i) _levels.push_back(level_nodes.GetItem(i).GetAttribute("name", ""));
    ASSERT(!_levels.empty());

    CheckIntegrity();
    std::vector<TableDesc> tables = LevelTables(level_nodes);
    AddStoreTables(tables);
    _tables = tables;
    created = false;
    const bool any_table = std::any_of(tables.begin(), tables.end(), [&](const TableDesc& t) { return TableExists(t.name); });
    if (!any_table) {
        db::transaction build(_database);
        // The level tables here; the store's others come with OnDatabaseCreated.
        for (size_t k = 0; k < _levels.size(); ++k) CreateTable(tables[k].name, tables[k].columns);
        OnDatabaseCreated();
        build.commit();
        created = true;
        return;
    }
    CheckTables(tables);
    CheckTopLevelIds();
    CheckColumnValues(tables);
}

void CProfiles::CheckIntegrity() {
    db::statement st;
    try {
        Query("pragma quick_check", st);
    } catch (const db::sqlite_exception& e) {
        // A file whose schema SQLite cannot read at all ("unsupported file
        // format") is as damaged as a malformed one. A busy, locked or
        // unreadable file is not the file's fault: that error goes on.
        if ((e.code() & 0xFF) != SQLITE_ERROR) throw;
        ThrowDamaged(std::string("integrity check: ") + e.what());
    }
    if (st.empty()) ThrowDamaged("integrity check gave no answer");
    std::string answer = st.get_text(0);
    if (answer == "ok") return;
    std::replace(answer.begin(), answer.end(), '\n', ' ');  // one log line
    ThrowDamaged("integrity check: " + answer);
}

bool CProfiles::TableExists(const std::string& table) {
    db::statement st;
    Query("select name from sqlite_master where type='table' and name=? collate nocase", st, {table});
    return !st.empty();
}

void CProfiles::CheckTables(const std::vector<TableDesc>& tables) {
    for (const TableDesc& table : tables) {
        if (!TableExists(table.name)) ThrowDamaged("table '" + table.name + "' is missing");
        std::set<std::string> present;
        db::statement st;
        for (Query("pragma table_info(" + table.name + ")", st); !st.empty(); st.step())
            present.insert(LowerCase(st.get_text("name")));
        for (const ColumnDesc& column : table.columns)
            if (!present.count(LowerCase(column.first)))
                ThrowDamaged("column '" + column.first + "' of table '" + table.name + "' is missing");
    }
}

// Rows of the top level are found by their id alone: a row without one, or
// two rows with the same, would stand for the wrong player.
void CProfiles::CheckTopLevelIds() {
    if (_levels.empty()) return;
    std::string table;
    GetLevelTableName(table, 0);
    db::statement st;
    Query("select count(*) as n from " + table + " where id is null", st);
    if (!st.empty() && st.get_int("n") > 0) ThrowDamaged("a row of table '" + table + "' has no id");
    Query("select count(*) as n from (select id from " + table + " group by id having count(*) > 1)", st);
    if (!st.empty() && st.get_int("n") > 0) ThrowDamaged("rows of table '" + table + "' share an id");
}

void CProfiles::CheckColumnValues(const std::vector<TableDesc>& tables) {
    for (const TableDesc& table : tables)
        for (const ColumnDesc& column : table.columns) {
            const char* type = StoredType(column.second);
            if (!type) continue;
            db::statement st;
            Query("select typeof(" + column.first + ") as kind from " + table.name + " where " +
                      WrongValueFilter(column.first, type) + " limit 1",
                  st);
            if (st.empty()) continue;
            const std::string kind = st.get_text("kind");
            const std::string where = "column '" + column.first + "' of table '" + table.name + "'";
            if (kind == type) ThrowDamaged(where + " holds an integer beyond 32 bits");
            ThrowDamaged(where + " holds a " + kind + " value where " + (std::string(type) == "integer" ? "an " : "a ") +
                         type + " belongs");
        }
}

bool CProfiles::SetDamagedDatabaseAside(const std::string& reason) {
    _database.close();
    const std::string stamp = DateTimeStamp();
    const std::string db_path = ProfileDbPath();
    std::string aside = db_path + ".damaged-" + stamp;
    for (int n = 2; std::filesystem::exists(aside); ++n)
        aside = db_path + ".damaged-" + stamp + "-" + std::to_string(n);
    std::error_code ec;
    std::filesystem::rename(db_path, aside, ec);
    if (ec) {
        CLogger::Instance().Log(2, "Error: profile database '%s' is damaged (%s) and cannot be moved aside: %s",
                                kProfileDbName, reason.c_str(), ec.message().c_str());
        return false;
    }
    // A journal left beside it belongs to the damaged file, never to a new one.
    for (const char* suffix : {"-journal", "-wal", "-shm"}) {
        std::error_code journal_ec;
        if (std::filesystem::exists(db_path + suffix, journal_ec))
            std::filesystem::rename(db_path + suffix, aside + suffix, journal_ec);
    }
    CLogger::Instance().Log(2, "Error: profile database '%s' is damaged (%s); kept as '%s', a new one is made.",
                            kProfileDbName, reason.c_str(), std::filesystem::path(aside).filename().c_str());
    return true;
}

std::vector<TableDesc> CProfiles::LevelTables(const CXMLNodeList& level_nodes) {
    std::vector<TableDesc> tables;
    for (size_t k = 0; k < _levels.size(); ++k) {
        TableDesc table;
        GetLevelTableName(table.name, k);
        table.columns.emplace_back("id", "integer");
        std::string key;
        for (size_t j = 0; j < k; ++j) table.columns.emplace_back(GetLevelKeyName(key, j), "integer");
        CXMLNodeList values = level_nodes.GetItem(static_cast<int>(k)).SelectNodes("Value");
        for (int v = 0; v < values.GetLength(); ++v) {
            CXMLNode node = values.GetItem(v);
            table.columns.emplace_back(node.GetAttribute("name", ""), node.GetAttribute("type", ""));
        }
        tables.push_back(std::move(table));
    }
    return tables;
}

std::string& CProfiles::GetLevelName(std::string& out, size_t level) const {
    if (level >= _levels.size()) throw std::out_of_range("Profiles level index out of bounds!");
    out = _levels[level];
    return out;
}

std::string& CProfiles::GetLevelTableName(std::string& out, size_t level) const {
    GetLevelName(out, level);
    out += "Data";
    return out;
}

std::string& CProfiles::GetLevelKeyName(std::string& out, size_t level) const {
    GetLevelName(out, level);
    out += "ID";
    return out;
}

bool CProfiles::CheckLevelCoords(size_t level, const LevelCoords& coords) const {
    if (level >= _levels.size()) {
        CLogger::Instance().Log(2, "Error: Profiles level index '%d' out of bounds! Total levels: %d", static_cast<int>(level),
                                static_cast<int>(_levels.size()));
        return false;
    }
    if (coords.size() <= level) {
        CLogger::Instance().Log(2, "Error: Not enough level '%d' data coords! Got: %d", static_cast<int>(level),
                                static_cast<int>(coords.size()));
        return false;
    }
    return true;
}

std::string CProfiles::BuildWhereClause(const LevelCoords& coords) const {
    ASSERT(!coords.empty());
    if (coords.empty()) return " ";
    const size_t n = coords.size() - 1;
    std::string clause = " where id=" + std::to_string(coords[n]) + " ";
    std::string key;
    for (size_t j = 0; j < n; ++j) clause += "and " + GetLevelKeyName(key, j) + "=" + std::to_string(coords[j]) + " ";
    return clause;
}

std::string CProfiles::BuildUpdateQuery(size_t level, const LevelCoords& coords, const Tuple& tuple,
                                        db::params& values) const {
    std::string table;
    std::string text = "update " + GetLevelTableName(table, level) + " set ";
    for (size_t i = 0; i < tuple.size(); ++i) {
        if (!EntryParam(tuple[i], values)) {
            CLogger::Instance().Log(2, "Error: invalid tuple data type %d!", tuple[i].type);
            throw std::runtime_error("Build update query error!");
        }
        if (i) text += ", ";
        text += tuple[i].name + "=?";
    }
    return text + BuildWhereClause(coords);
}

std::string CProfiles::BuildInsertQuery(const std::string& table, const Tuple& tuple, db::params& values) {
    std::string names, marks;
    for (size_t i = 0; i < tuple.size(); ++i) {
        if (!EntryParam(tuple[i], values)) {
            CLogger::Instance().Log(2, "Error: invalid tuple data type %d!", tuple[i].type);
            throw std::runtime_error("Build insert query error!");
        }
        if (i) {
            names += ", ";
            marks += ", ";
        }
        names += tuple[i].name;
        marks += "?";
    }
    return "insert into " + table + " (" + names + ") values (" + marks + ")";
}

std::string CProfiles::CreateLevelTable(const std::string& table, const std::vector<ColumnDesc>& columns) {
    std::string text = "create table " + table + "(";
    for (size_t i = 0; i < columns.size(); ++i) {
        if (i) text += ", ";
        text += columns[i].first + " " + columns[i].second;
    }
    return text + ")";
}

bool CProfiles::Select(size_t level, const LevelCoords& coords, Tuple& out) {
    if (!CheckLevelCoords(level, coords)) return false;
    std::string table;
    db::statement st;
    Query("select * from " + GetLevelTableName(table, level) + BuildWhereClause(coords) + " limit 1", st);
    out.clear();
    if (st.empty()) return true;
    const int count = st.column_count();
    for (int c = 0; c < count; ++c) {
        TupleEntry entry;
        entry.name = st.column_name(c);
        const int type = st.column_type(c);
        switch (type) {
            case 1: entry.type = ttInteger; entry.value.i = st.get_int(c); break;
            case 2: entry.type = ttFloat; entry.value.f = static_cast<float>(st.get_double(c)); break;
            case 3: entry.type = ttText; entry.value.text = st.get_text(c); break;
            case 4: entry.type = ttBytes; entry.value.bytes = st.get_blob(c); break;
            default:
                CLogger::Instance().Log(2, "Error: unknown column type %d!", type);
                return false;
        }
        out.push_back(std::move(entry));
    }
    return true;
}

bool CProfiles::QueryHasRow(const std::string& text, bool& has_row) {
    try {
        db::statement st;
        Query(text, st);
        has_row = !st.empty();
        return true;
    } catch (const db::sqlite_exception& e) {
        CLogger::Instance().Log(2, "Error: executing query. Query: '%s', error: '%s'", text.c_str(), e.what());
        return false;
    }
}

bool CProfiles::ExecuteWrite(const std::string& text, const db::params& values) {
    // A closed connection runs nothing, so the write did not happen.
    if (!_database.is_open()) {
        CLogger::Instance().Log(2, "Error: executing query. Query: '%s', error: '%s'", text.c_str(), "database is not open");
        return false;
    }
    try {
        Execute(text, values);
    } catch (const db::sqlite_exception& e) {
        CLogger::Instance().Log(2, "Error: executing query. Query: '%s', error: '%s'", text.c_str(), e.what());
        return false;
    }
    return true;
}

bool CProfiles::Set(size_t level, const LevelCoords& coords, const Tuple& tuple) {
    if (!CheckLevelCoords(level, coords)) return false;
    if (tuple.empty()) {
        CLogger::Instance().Log(2, "Error: Cannot set level %d value with empty tuple!", static_cast<int>(level));
        return false;
    }
    std::string table;
    GetLevelTableName(table, level);
    const std::string test = "select * from " + table + BuildWhereClause(coords);
    bool exists = false;
    if (!QueryHasRow(test, exists)) return false;

    db::params values;
    std::string text;
    if (exists) {
        text = BuildUpdateQuery(level, coords, tuple, values);
    } else {
        const size_t n = coords.size() - 1;
        Tuple row{TupleEntry::Int("id", coords[n])};
        std::string key;
        for (size_t j = 0; j < n; ++j) row.push_back(TupleEntry::Int(GetLevelKeyName(key, j), coords[j]));
        row.insert(row.end(), tuple.begin(), tuple.end());
        text = BuildInsertQuery(table, row, values);
    }
    return ExecuteWrite(text, values);
}

bool CProfiles::Insert(size_t level, const LevelCoords& coords, const Tuple& tuple) {
    if (!CheckLevelCoords(level, coords)) return false;
    if (tuple.empty()) {
        CLogger::Instance().Log(2, "Error: Cannot insert into level %d value with empty tuple!", static_cast<int>(level));
        return false;
    }
    std::string table;
    GetLevelTableName(table, level);
    int32_t id = 0;
    std::string used;
    try {
        used = UsedIdsQuery(table);
        id = NewIdAmong(used, table);
    } catch (const db::sqlite_exception& e) {
        CLogger::Instance().Log(2, "Error: executing query. Query: '%s', error: '%s'", NewIdQuery(used).c_str(),
                                e.what());
        return false;
    }
    const size_t n = coords.size() - 1;
    Tuple row{TupleEntry::Int("id", id)};
    std::string key;
    for (size_t j = 0; j < n; ++j) row.push_back(TupleEntry::Int(GetLevelKeyName(key, j), coords[j]));
    row.insert(row.end(), tuple.begin(), tuple.end());
    db::params values;
    const std::string text = BuildInsertQuery(table, row, values);
    return ExecuteWrite(text, values);
}

bool CProfiles::InsertInto(const std::string& table, const Tuple& tuple) {
    db::params values;
    const std::string text = BuildInsertQuery(table, tuple, values);
    return ExecuteWrite(text, values);
}

std::string CProfiles::UsedIdsQuery(const std::string& table) {
    std::string used = "select id as v from " + table;
    std::string name, key;
    for (size_t k = 0; k < _levels.size(); ++k)
        if (LowerCase(GetLevelTableName(name, k)) == LowerCase(table)) GetLevelKeyName(key, k);
    if (key.empty()) return used;  // not a level table: no other table keys on its ids
    for (const TableDesc& other : _tables) {
        if (LowerCase(other.name) == LowerCase(table) || !TableExists(other.name)) continue;
        for (const ColumnDesc& column : other.columns)
            if (LowerCase(column.first) == LowerCase(key)) used += " union all select " + key + " from " + other.name;
    }
    return used;
}

int32_t CProfiles::NewId(const std::string& table) { return NewIdAmong(UsedIdsQuery(table), table); }

int32_t CProfiles::NewIdAmong(const std::string& used, const std::string& table) {
    db::statement st;
    Query(NewIdQuery(used), st);
    if (st.empty() || st.get_int("records") == 0) return 0;
    if (st.get_int("below_top") != 0) return st.get_int("next");
    // At the top of the range the next id would wrap: the smallest free
    // positive one is taken instead.
    Query("with used(v) as (" + used +
              ") select min(c) as free from (select 1 as c union all select v + 1 from used where v between 1 and "
              "2147483646) where c not in (select v from used where v is not null)",
          st);
    if (st.empty() || st.column_type(0) == SQLITE_NULL) throw db::sqlite_exception(SQLITE_FULL, "no free id in table " + table);
    return st.get_int("free");
}

void CProfiles::Query(const std::string& text, db::statement& st, const db::params& values) {
    _database.query(text, st, values);
}

void CProfiles::Execute(const std::string& text, const db::params& values) { _database.execute(text, values); }

void CProfiles::CreateTable(const std::string& table, const std::vector<ColumnDesc>& columns) {
    Execute(CreateLevelTable(table, columns));
}
