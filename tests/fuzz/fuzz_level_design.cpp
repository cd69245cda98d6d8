// An episode's level designs through the level tool: parsed, checked against
// the built data tree's settings, and, when the checks pass, every level
// file and the episode list built in memory as the tool would write them.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <pugixml.hpp>

#include "design_parser.h"
#include "game_data_index.h"
#include "level_checker.h"
#include "level_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::unique_ptr<leveltool::CGameDataIndex> index = [] {
        auto loaded = std::make_unique<leveltool::CGameDataIndex>();
        std::vector<std::string> errors;
        if (!loaded->Load(VOVARO_DATA_DIR, errors)) {
            std::fprintf(stderr, "the data tree at %s does not load: %s\n", VOVARO_DATA_DIR,
                         errors.empty() ? "" : errors[0].c_str());
            std::abort();
        }
        return loaded;
    }();
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> errors;
    leveltool::EpisodeDesign episode;
    if (!leveltool::CDesignParser().Parse(text, "episode_1.txt", episode, errors)) return 0;
    if (!leveltool::CLevelChecker(*index).CheckEpisode(episode, errors)) return 0;
    const leveltool::CLevelWriter writer(*index);
    for (const leveltool::LevelDesign& level : episode.levels) {
        pugi::xml_document document;
        writer.BuildLevel(episode, level, document);
    }
    pugi::xml_document list;
    leveltool::CLevelWriter::BuildEpisodes({episode}, list);
    return 0;
}
