#include "engine/user_folder.h"

#include <map>

#include "platform/system.h"

namespace {

struct FolderRow {
    const char* alias;
    const char* sub_folder;
};
const FolderRow kFolders[] = {{"all", ""}, {"save", ""}};

struct DefaultFile {
    const char* alias;
    const char* file;
};
const DefaultFile kDefaultFiles[] = {{"all", "Config.xml"}};

std::map<std::string, std::string>& FolderMap() {
    static std::map<std::string, std::string> map;
    return map;
}

const char* SubFolderOf(const std::string& alias) {
    for (const FolderRow& row : kFolders)
        if (alias == row.alias) return row.sub_folder;
    return "";
}

}  // namespace

UserFolderResult PrepareUserFolderAt(const std::string& base_in) {
    UserFolderResult result;
    // Without a per-user folder the program's own folder takes the output.
    result.path = base_in.empty() ? plat::ExecutableDir() : base_in + "/Korv/Tolvan Vovaro";

    auto& map = FolderMap();
    map.clear();
    for (const FolderRow& row : kFolders) map[row.alias] = result.path + "/" + row.sub_folder;

    // A fresh account may lack the base folder itself: every missing parent is made.
    if (!plat::CreateDirs(result.path, &result.error)) return result;
    if (!plat::IsWritableDir(result.path, &result.error)) return result;
    result.ok = true;

    for (const DefaultFile& f : kDefaultFiles) {
        std::string source = std::string(SubFolderOf(f.alias)) + f.file;
        std::string target = map[f.alias] + f.file;
        if (plat::PathExists(source) && !plat::PathExists(target)) plat::CopyFileNoOverwrite(source, target);
    }
    return result;
}

UserFolderResult PrepareUserFolder() { return PrepareUserFolderAt(plat::UserDataBase()); }

std::string EnterFolder(const std::string& alias) {
    auto& map = FolderMap();
    auto it = map.find(alias);
    if (it == map.end()) return {};
    std::string saved = plat::GetCurrentDir();
    // A folder that cannot be entered (removed while the program runs) leaves
    // the current directory alone, and the caller has nothing to switch back.
    if (!plat::SetCurrentDir(it->second)) return {};
    return saved;
}

void LeaveFolder(const std::string& saved) {
    if (!saved.empty()) plat::SetCurrentDir(saved);
}

std::string UserFolderPath(const std::string& alias) {
    auto& map = FolderMap();
    auto it = map.find(alias);
    return it == map.end() ? std::string() : it->second;
}
