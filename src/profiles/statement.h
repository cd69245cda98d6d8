#pragma once
// A prepared statement that is also the cursor over its result rows: after
// prepare the first row is current, or the statement is empty.
#include <string>

#include "profiles/db_types.h"

struct sqlite3_stmt;

namespace db {

class database;

class statement {
public:
    statement() = default;
    ~statement();
    statement(const statement&) = delete;
    statement& operator=(const statement&) = delete;

    // Exactly one statement per text; "?" parameters take the values in order.
    void prepare(database* connection, const std::string& text, const params& values = {});
    // Moves to the next row; false (and finalised) at the end.
    bool step();
    void finalize();
    void reset();
    bool empty() const { return _handle == nullptr; }

    int column_count() const;
    std::string column_name(int index) const;
    int column_type(int index) const;  // 1 integer, 2 float, 3 text, 4 blob, 5 NULL
    int column_index(const std::string& name) const;

    int get_int(const std::string& name) const;
    double get_double(const std::string& name) const;
    float get_float(const std::string& name) const;
    std::string get_text(const std::string& name) const;
    blob get_blob(const std::string& name) const;
    [[noreturn]] void row_count() const;

    // Reads by position, for walking every column of a row.
    int get_int(int index) const;
    double get_double(int index) const;
    std::string get_text(int index) const;
    blob get_blob(int index) const;

private:
    void bind(const params& values);
    void check_error() const;

    database* _connection = nullptr;
    sqlite3_stmt* _handle = nullptr;
};

}  // namespace db
