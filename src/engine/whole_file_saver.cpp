#include "engine/whole_file_saver.h"

#include "engine/logger.h"
#include "platform/whole_file_writer.h"

namespace {

bool LogUnsynced(bool saved, const std::string& path, const std::string& unsynced) {
    if (saved && !unsynced.empty())
        CLogger::Instance().Log(2, "Warning: '%s' is saved, but its folder could not be synced (%s).", path.c_str(),
                                unsynced.c_str());
    return saved;
}

}  // namespace

bool SaveWholeFile(const std::string& path, const std::function<bool(std::FILE*)>& write, std::string* error) {
    std::string unsynced;
    return LogUnsynced(plat::WriteWholeFile(path, write, error, &unsynced), path, unsynced);
}

bool SaveWholeFile(const std::string& path, const void* data, size_t size, std::string* error) {
    std::string unsynced;
    return LogUnsynced(plat::WriteWholeFile(path, data, size, error, &unsynced), path, unsynced);
}
