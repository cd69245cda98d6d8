#pragma once
// A connection to an SQLite database file.
#include <string>

#include "profiles/db_types.h"

struct sqlite3;

namespace db {

class statement;

class database {
public:
    database() = default;
    ~database();
    database(const database&) = delete;
    database& operator=(const database&) = delete;

    // Closes first; throws sqlite_exception(code, "Can't open file " + name) and
    // stays closed when the file cannot be opened.
    void open(const std::string& file_name);
    void close();
    bool is_open() const { return _handle != nullptr; }

    // Runs a statement to its end, with its "?" parameters bound in order.
    void execute(const std::string& text, const params& values = {});
    // Prepares the statement object with the text; its first row, if any, is current.
    void query(const std::string& text, statement& st, const params& values = {});

    int errcode() const;
    std::string errmsg() const;
    bool autocommit() const;
    // Codes 0 (ok), 100 (row) and 101 (done) pass; any other throws sqlite_exception.
    void check(int code) const;

    sqlite3* handle() const { return _handle; }

private:
    sqlite3* _handle = nullptr;
};

}  // namespace db
