#include "field/play_textures.h"

#include <algorithm>
#include <exception>

#include "engine/engine_core_interface.h"
#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "engine/xml_node_list.h"
#include "field/field_globals.h"
#include "field/game_cfg.h"

std::vector<std::string> FieldTextureNames() {
    const std::string files[] = {kBallsGraphBaseFile, kTilesGraphBaseFile, std::string("Settings\\") + kBonusFileName,
                                 CGameCfg::kFileName};
    std::vector<std::string> names;
    for (const std::string& file : files) {
        try {
            const CXMLFile document(file);
            const CXMLNodeList graphics = document.SelectNodes("//graphics");
            for (int i = 0; i < graphics.GetLength(); ++i) {
                std::string name = graphics.GetItem(i).GetAttribute("texture", "");
                if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end())
                    names.push_back(std::move(name));
            }
        } catch (const std::exception&) {
            // The file opener has said which file; its pictures load when shown.
        }
    }
    return names;
}

std::vector<CTextureHold> HoldFieldTextures() {
    std::vector<CTextureHold> holds;
    if (!EngineDevice()) return holds;
    for (const std::string& name : FieldTextureNames()) holds.emplace_back(name);
    return holds;
}
