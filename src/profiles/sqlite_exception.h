#pragma once
// The one error type of the database layer: an SQLite result code (or one of the
// layer's own) with its message.
#include <exception>
#include <string>

namespace db {

class sqlite_exception : public std::exception {
public:
    sqlite_exception(int code, std::string message) : _code(code), _message(std::move(message)) {}
    ~sqlite_exception() override = default;
    const char* what() const noexcept override { return _message.c_str(); }
    int code() const noexcept { return _code; }
    // SQLite says the file is damaged: malformed (SQLITE_CORRUPT) or no
    // database at all (SQLITE_NOTADB), extended codes included.
    bool is_damaged_database() const noexcept { return (_code & 0xFF) == 11 || (_code & 0xFF) == 26; }

private:
    int _code;
    std::string _message;
};

}  // namespace db
