#include "profiles/store_guard.h"

#include "engine/logger.h"

void LogStoreFailure(const char* place, const char* what) {
    CLogger::Instance().Log(2, "Error: Exception raised. %s (%s)", what, place);
}
