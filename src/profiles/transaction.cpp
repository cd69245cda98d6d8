#include "profiles/transaction.h"

#include "engine/logger.h"
#include "profiles/sqlite_exception.h"

namespace db {

namespace {
// One name serves every level of nesting: release and rollback act on the most
// recent savepoint of that name.
const char kSavepoint[] = "vovaro_sp";
}  // namespace

transaction::transaction(database& connection) : _connection(connection) {
    _connection.execute(std::string("savepoint ") + kSavepoint);
    _open = true;
}

void transaction::commit() {
    if (!_open) return;
    _connection.execute(std::string("release ") + kSavepoint);
    _open = false;
}

transaction::~transaction() {
    if (!_open) return;
    try {
        _connection.execute(std::string("rollback to ") + kSavepoint);
        _connection.execute(std::string("release ") + kSavepoint);
    } catch (const sqlite_exception& e) {
        CLogger::Instance().Log(2, "Error: rolling back a transaction: '%s'", e.what());
    }
}

}  // namespace db
