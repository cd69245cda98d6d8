#include "profiles/statement.h"

#include <sqlite3.h>

#include <stdexcept>

#include "profiles/database.h"
#include "profiles/sqlite_exception.h"

namespace db {

statement::~statement() { finalize(); }

void statement::prepare(database* connection, const std::string& text, const params& values) {
    _connection = connection;
    finalize();
    if (!connection || !connection->handle()) return;
    try {
        const char* tail = nullptr;
        int rc = sqlite3_prepare_v2(connection->handle(), text.c_str(), static_cast<int>(text.size()), &_handle, &tail);
        connection->check(rc);
        if (tail && *tail != '\0') throw sqlite_exception(1, "Only one statement is supported");
        bind(values);
    } catch (...) {
        finalize();
        throw;
    }
    step();
}

void statement::bind(const params& values) {
    if (!_handle) return;
    for (size_t i = 0; i < values.size(); ++i) {
        const int pos = static_cast<int>(i) + 1;
        const param& v = values[i];
        int rc = SQLITE_OK;
        if (auto p = std::get_if<std::int64_t>(&v)) {
            rc = sqlite3_bind_int64(_handle, pos, *p);
        } else if (auto d = std::get_if<double>(&v)) {
            rc = sqlite3_bind_double(_handle, pos, *d);
        } else if (auto s = std::get_if<std::string>(&v)) {
            rc = sqlite3_bind_text64(_handle, pos, s->data(), s->size(), SQLITE_TRANSIENT, SQLITE_UTF8);
        } else if (auto b = std::get_if<blob>(&v)) {
            rc = sqlite3_bind_blob64(_handle, pos, b->data(), b->size(), SQLITE_TRANSIENT);
        }
        _connection->check(rc);
    }
}

bool statement::step() {
    if (empty()) return false;
    int rc = sqlite3_step(_handle);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) {
        finalize();
        return false;
    }
    // The message belongs to the connection; read it before the handle goes.
    if (_connection) {
        try {
            _connection->check(rc);
        } catch (...) {
            finalize();
            throw;
        }
    }
    finalize();
    throw sqlite_exception(rc, sqlite3_errstr(rc));
}

void statement::finalize() {
    if (_handle) {
        sqlite3_finalize(_handle);
        _handle = nullptr;
    }
}

void statement::reset() {
    if (_handle) sqlite3_reset(_handle);
}

void statement::check_error() const {
    if (_connection) _connection->check(_connection->errcode());
}

int statement::column_count() const {
    int n = sqlite3_column_count(_handle);
    check_error();
    return n;
}

std::string statement::column_name(int index) const {
    // The library does not accept a null statement here.
    if (!_handle) return std::string();
    const char* name = sqlite3_column_name(_handle, index);
    check_error();
    return name ? std::string(name) : std::string();
}

int statement::column_type(int index) const {
    int type = sqlite3_column_type(_handle, index);
    check_error();
    return type;
}

int statement::column_index(const std::string& name) const {
    const int n = _handle ? sqlite3_column_count(_handle) : 0;
    for (int i = 0; i < n; ++i) {
        const char* column = sqlite3_column_name(_handle, i);
        if (column && name == column) return i;
    }
    throw sqlite_exception(25, "Invalid column '" + name + "'");
}

int statement::get_int(int index) const {
    int v = sqlite3_column_int(_handle, index);
    check_error();
    return v;
}

double statement::get_double(int index) const {
    double v = sqlite3_column_double(_handle, index);
    check_error();
    return v;
}

std::string statement::get_text(int index) const {
    const unsigned char* text = sqlite3_column_text(_handle, index);
    if (!text) return std::string();
    return std::string(reinterpret_cast<const char*>(text), static_cast<size_t>(sqlite3_column_bytes(_handle, index)));
}

blob statement::get_blob(int index) const {
    const auto* data = static_cast<const unsigned char*>(sqlite3_column_blob(_handle, index));
    const int size = sqlite3_column_bytes(_handle, index);
    if (!data || size <= 0) return blob();
    return blob(data, data + size);
}

int statement::get_int(const std::string& name) const { return get_int(column_index(name)); }
double statement::get_double(const std::string& name) const { return get_double(column_index(name)); }
float statement::get_float(const std::string& name) const { return static_cast<float>(get_double(name)); }
std::string statement::get_text(const std::string& name) const { return get_text(column_index(name)); }
blob statement::get_blob(const std::string& name) const { return get_blob(column_index(name)); }

void statement::row_count() const { throw std::runtime_error("RowCount is not implemented! "); }

}  // namespace db
