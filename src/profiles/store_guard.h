#pragma once
// Calls into the profile store from the scenes and the menu. Once the game
// runs, a database error (a disk that fills, a file damaged after the start)
// must not end it: the error is logged with the place of the call and the
// caller goes on with the fallback value.
#include <stdexcept>
#include <utility>

#include "profiles/sqlite_exception.h"

// "Error: Exception raised. <what> (<place>)", as every caught exception is logged.
void LogStoreFailure(const char* place, const char* what);

template <class T, class Call>
T GuardStoreCall(const char* place, T fallback, Call&& call) {
    try {
        return std::forward<Call>(call)();
    } catch (const db::sqlite_exception& e) {
        LogStoreFailure(place, e.what());
    } catch (const std::runtime_error& e) {
        // The player-row readers pass database errors on as standard exceptions.
        LogStoreFailure(place, e.what());
    }
    return fallback;
}
