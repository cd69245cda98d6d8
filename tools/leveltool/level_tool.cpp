#include "level_tool.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "design_parser.h"
#include "game_data_index.h"
#include "level_checker.h"
#include "level_writer.h"

namespace leveltool {

namespace {

bool ReadDesigns(const std::string& data_dir, std::vector<EpisodeDesign>& episodes, std::vector<std::string>& errors) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(data_dir) / "LevelDesigns";
    std::vector<fs::path> files;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir, ec))
        if (entry.path().extension() == ".txt") files.push_back(entry.path());
    if (files.empty()) {
        errors.push_back(dir.string() + ": no episode designs (*.txt)");
        return false;
    }
    bool ok = true;
    for (const fs::path& file : files) {
        std::ifstream in(file);
        std::stringstream text;
        text << in.rdbuf();
        EpisodeDesign episode;
        ok = CDesignParser().Parse(text.str(), file.filename().string(), episode, errors) && ok;
        episodes.push_back(std::move(episode));
    }
    std::sort(episodes.begin(), episodes.end(),
              [](const EpisodeDesign& a, const EpisodeDesign& b) { return a.number < b.number; });
    for (size_t i = 0; i < episodes.size(); ++i)
        if (episodes[i].number != static_cast<int>(i) + 1) {
            errors.push_back(episodes[i].file + ": episodes must be numbered 1, 2, ... without gaps");
            ok = false;
        }
    return ok;
}

bool CheckWith(const CGameDataIndex& data, const std::string& data_dir, std::vector<EpisodeDesign>& episodes,
               std::vector<std::string>& errors) {
    if (!ReadDesigns(data_dir, episodes, errors)) return false;
    CLevelChecker checker(data);
    bool ok = true;
    for (const EpisodeDesign& episode : episodes) ok = checker.CheckEpisode(episode, errors) && ok;
    return ok;
}

}  // namespace

bool CLevelTool::Check(const std::string& data_dir, std::vector<EpisodeDesign>& episodes,
                       std::vector<std::string>& errors) {
    CGameDataIndex data;
    return data.Load(data_dir, errors) && CheckWith(data, data_dir, episodes, errors);
}

bool CLevelTool::Run(const std::string& data_dir, const std::string& out_dir, std::vector<std::string>& errors) {
    CGameDataIndex data;
    std::vector<EpisodeDesign> episodes;
    if (!data.Load(data_dir, errors) || !CheckWith(data, data_dir, episodes, errors)) return false;
    std::string error;
    if (!CLevelWriter(data).WriteAll(episodes, out_dir + "/Levels", error)) {
        errors.push_back(error);
        return false;
    }
    return true;
}

}  // namespace leveltool
