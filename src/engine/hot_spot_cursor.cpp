#include "engine/hot_spot_cursor.h"

#include "engine/logger.h"

bool CHotSpotCursor::SetCursor(const std::string& name) {
    CLogger::Instance().Log(3, "Warning: cursor '%s' not found!", name.c_str());
    return false;
}
