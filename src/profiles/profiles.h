#pragma once
// The profile level-data store: a hierarchy of tables described by
// "Settings\Profiles.xml" (level 0 the players, each further level below the one
// before), with single rows read and written as typed tuples. Owns the program's
// one connection to "profile.db" in the per-user folder.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine/xml_node_list.h"
#include "profiles/database.h"
#include "profiles/db_types.h"
#include "profiles/statement.h"

// Ids of a row's ancestors from level 0 down, then its own id.
using LevelCoords = std::vector<int32_t>;
// (column name, type text as it goes into the create statement)
using ColumnDesc = std::pair<std::string, std::string>;

// A table the store reads and writes, with the columns it relies on.
struct TableDesc {
    std::string name;
    std::vector<ColumnDesc> columns;
};

enum TupleType : int32_t { ttInteger = 0, ttFloat = 1, ttText = 2, ttBytes = 3 };

struct TupleValue {
    int32_t i = 0;
    float f = 0.0f;
    std::string text;
    std::vector<uint8_t> bytes;
};

struct TupleEntry {
    std::string name;
    int32_t type = ttInteger;
    TupleValue value;

    static TupleEntry Int(std::string name, int32_t v);
    static TupleEntry Float(std::string name, float v);
    static TupleEntry Text(std::string name, std::string v);
    static TupleEntry Bytes(std::string name, std::vector<uint8_t> v);
};

using Tuple = std::vector<TupleEntry>;

// Position of the first entry with that name; -1 when none.
int FindField(const Tuple& tuple, const std::string& name);

class CProfiles {
public:
    CProfiles() = default;
    virtual ~CProfiles() = default;
    CProfiles(const CProfiles&) = delete;
    CProfiles& operator=(const CProfiles&) = delete;

    // Opens "profile.db" in the per-user folder and reads the level descriptions;
    // `created` tells whether the database was new (none of the store's tables
    // there). A new database gets all its tables, and whatever OnDatabaseCreated
    // adds, in one transaction: a failure leaves no table behind, so the next run
    // builds it again. An existing one must pass SQLite's quick check and hold
    // every table and column of StoreTables, with one row per top-level id
    // and in each column only values of its declared type (32-bit integers,
    // texts; no NULL); otherwise a damaged-database sqlite_exception says
    // what is wrong.
    // A zero-length file is logged and made a new database.
    void Open(bool& created);
    // Closes the connection and renames a damaged "profile.db" (with any
    // journal of it) to "profile.db.damaged-<date and time>" in the per-user
    // folder, so that the next Open makes a new one. Logs what it did; false
    // when the file could not be moved.
    bool SetDamagedDatabaseAside(const std::string& reason);

    std::string& GetLevelName(std::string& out, size_t level) const;
    std::string& GetLevelTableName(std::string& out, size_t level) const;
    std::string& GetLevelKeyName(std::string& out, size_t level) const;
    size_t GetLevelCount() const { return _levels.size(); }

    bool CheckLevelCoords(size_t level, const LevelCoords& coords) const;
    bool Select(size_t level, const LevelCoords& coords, Tuple& out);
    bool Set(size_t level, const LevelCoords& coords, const Tuple& tuple);
    bool Insert(size_t level, const LevelCoords& coords, const Tuple& tuple);
    bool InsertInto(const std::string& table, const Tuple& tuple);
    // The id for a new row of `table`: one past the largest id in use, or,
    // when that would leave the 32-bit range, the smallest free positive id.
    // A level table's ids count as used wherever a table keys on them.
    int32_t NewId(const std::string& table);

    void Query(const std::string& text, db::statement& st, const db::params& values = {});
    void Execute(const std::string& text, const db::params& values = {});
    void CreateTable(const std::string& table, const std::vector<ColumnDesc>& columns);

    // Statement builders; values go into `values` in placeholder order.
    std::string BuildWhereClause(const LevelCoords& coords) const;
    std::string BuildUpdateQuery(size_t level, const LevelCoords& coords, const Tuple& tuple, db::params& values) const;
    static std::string BuildInsertQuery(const std::string& table, const Tuple& tuple, db::params& values);
    static std::string CreateLevelTable(const std::string& table, const std::vector<ColumnDesc>& columns);

    db::database& Database() { return _database; }

protected:
    // Called inside the transaction that builds a new database, after its level
    // tables exist; an exception undoes everything.
    virtual void OnDatabaseCreated() {}
    // The tables the store uses beside the level tables (those that
    // OnDatabaseCreated makes).
    virtual void AddStoreTables(std::vector<TableDesc>& /*tables*/) {}
    // Runs a write statement; a database error is logged with the statement and
    // gives false.
    bool ExecuteWrite(const std::string& text, const db::params& values);
    // Runs a select and tells in `has_row` whether it found a row; a database
    // error is logged with the statement and gives false.
    bool QueryHasRow(const std::string& text, bool& has_row);

private:
    std::vector<TableDesc> LevelTables(const CXMLNodeList& level_nodes);
    bool TableExists(const std::string& table);
    void CheckIntegrity();
    void CheckTables(const std::vector<TableDesc>& tables);
    void CheckTopLevelIds();
    // Every column the store reads holds values of its declared type.
    void CheckColumnValues(const std::vector<TableDesc>& tables);
    // A select of every id of `table` in use, its own and those keyed on it.
    std::string UsedIdsQuery(const std::string& table);
    // NewId over the ids that `used` selects.
    int32_t NewIdAmong(const std::string& used, const std::string& table);

    db::database _database;
    std::vector<std::string> _levels;
    std::vector<TableDesc> _tables;
};

extern const char* const kProfileDbName;
