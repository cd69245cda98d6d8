#pragma once
// A nestable transaction (an SQLite savepoint): everything done while it lives
// is kept only when Commit is called; otherwise the destructor rolls it back.
#include "profiles/database.h"

namespace db {

class transaction {
public:
    explicit transaction(database& connection);
    ~transaction();
    transaction(const transaction&) = delete;
    transaction& operator=(const transaction&) = delete;

    void commit();

private:
    database& _connection;
    bool _open = false;
};

}  // namespace db
