#include "engine/user_folder.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>

#include "platform/system.h"
#include "platform/whole_file_writer.h"

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

// The files the program writes whole into the "all" folder by these names.
const char* const kWrittenWhole[] = {"Config.xml", "serial.xml"};

// A screenshot's name: eight digits and ".tga".
bool IsScreenshotName(const std::string& name) {
    return name.size() == 12 && name.compare(8, 4, ".tga") == 0 &&
           std::all_of(name.begin(), name.begin() + 8, [](unsigned char c) { return std::isdigit(c) != 0; });
}

bool IsUnfinishedWrite(const std::string& name) {
    const std::string suffix = plat::TemporaryFileName("");
    if (name.size() <= suffix.size() || name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    const std::string file = name.substr(0, name.size() - suffix.size());
    return IsScreenshotName(file) || std::find(std::begin(kWrittenWhole), std::end(kWrittenWhole), file) !=
                                         std::end(kWrittenWhole);
}

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

void RemoveUnfinishedWrites() {
    namespace fs = std::filesystem;
    const std::string folder = UserFolderPath("all");
    if (folder.empty()) return;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code file_ec;
        if (IsUnfinishedWrite(it->path().filename().string()) && it->is_regular_file(file_ec))
            fs::remove(it->path(), file_ec);
    }
}

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
