#include "profiles/database.h"

#include <sqlite3.h>

#include "profiles/sqlite_exception.h"
#include "profiles/statement.h"

namespace db {

database::~database() { close(); }

void database::open(const std::string& file_name) {
    close();
    int rc = sqlite3_open(file_name.c_str(), &_handle);
    if (rc != SQLITE_OK) {
        close();
        throw sqlite_exception(rc, "Can't open file " + file_name);
    }
}

void database::close() {
    if (_handle) {
        // Statements are finalised by their owners; v2 defers the close until then
        // instead of failing, so the handle never leaks.
        sqlite3_close_v2(_handle);
        _handle = nullptr;
    }
}

void database::execute(const std::string& text, const params& values) {
    if (!_handle) return;
    statement st;
    st.prepare(this, text, values);
    while (st.step()) {
    }
    st.finalize();
}

void database::query(const std::string& text, statement& st, const params& values) {
    if (!_handle) return;
    st.prepare(this, text, values);
}

int database::errcode() const { return _handle ? sqlite3_errcode(_handle) : 0; }

std::string database::errmsg() const { return _handle ? std::string(sqlite3_errmsg(_handle)) : std::string(); }

bool database::autocommit() const { return _handle ? sqlite3_get_autocommit(_handle) != 0 : false; }

void database::check(int code) const {
    if (code == SQLITE_OK || code == SQLITE_ROW || code == SQLITE_DONE) return;
    throw sqlite_exception(code, errmsg());
}

}  // namespace db
