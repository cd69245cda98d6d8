#include "game_data_index.h"

#include <filesystem>
#include <sstream>

namespace leveltool {

namespace {

int CountWords(const std::string& text) {
    std::string spaced = text;
    for (char& c : spaced)
        if (c == ',') c = ' ';
    std::istringstream in(spaced);
    int n = 0;
    for (std::string word; in >> word;) ++n;
    return n;
}

// The bonus configuration node of each bonus type, by its element name.
const char* BonusNodeName(int bonus_type) {
    switch (bonus_type) {
        case 1:
        case 4: return "Burner";
        case 2: return "Dynamite";
        case 3: return "SlowDown";
        case 5: return "Lightning";
        case 6: return "Mixer";
        default: return "";
    }
}

}  // namespace

bool CGameDataIndex::Open(const std::string& path, pugi::xml_document& doc, std::vector<std::string>& errors) {
    const pugi::xml_parse_result result = doc.load_file(path.c_str());
    if (!result) errors.push_back(path + ": " + result.description());
    return static_cast<bool>(result);
}

bool CGameDataIndex::Load(const std::string& data_dir, std::vector<std::string>& errors) {
    const std::string settings = data_dir + "/Settings/";
    pugi::xml_document explosions, samples, music, game_cfg, artefacts;
    bool ok = Open(settings + "Balls.xml", _balls, errors);
    ok = Open(settings + "Bases/Balls.XML", _balls_base, errors) && ok;
    ok = Open(settings + "Bases/Tiles.XML", _tiles_base, errors) && ok;
    ok = Open(settings + "Bonus.xml", _bonus, errors) && ok;
    ok = Open(settings + "Backgrounds.xml", _backgrounds, errors) && ok;
    ok = Open(settings + "TileBase.xml", _tile_base, errors) && ok;
    ok = Open(settings + "Explosions.xml", explosions, errors) && ok;
    ok = Open(settings + "Samples.xml", samples, errors) && ok;
    ok = Open(settings + "Music.xml", music, errors) && ok;
    ok = Open(settings + "GameCFG.xml", game_cfg, errors) && ok;
    if (!ok) return false;

    for (pugi::xml_node ball : _balls.child("Balls").children("Ball"))
        _ball_kinds[ball.attribute("graph_type").as_int()] = {ball.attribute("bonus_type").as_int(),
                                                              ball.attribute("life").as_int(), ball};
    for (pugi::xml_node obj : _balls_base.document_element().children("GraphObj"))
        _drawn_balls.insert(obj.attribute("graph_type").as_int());
    for (pugi::xml_node obj : _tiles_base.document_element().children("GraphObj"))
        _tiles.insert(obj.attribute("graph_type").as_int());
    for (pugi::xml_node node : explosions.child("Explosions").children("Explosion"))
        _explosions.insert(node.attribute("alias").value());
    for (pugi::xml_node node : samples.child("Samples").children("Sample"))
        _samples.insert(node.attribute("alias").value());
    for (pugi::xml_node node : music.child("Music").children("File"))
        _music[node.attribute("alias").value()] = CountWords(node.attribute("patterns").as_string("0"));
    for (pugi::xml_node group : _tile_base.child("TileBase").children("Group")) {
        int objects = 0;
        for (pugi::xml_node obj : group.children("Object")) objects += obj ? 1 : 0;
        _background_objects.push_back(objects);
    }
    const pugi::xml_node cfg = game_cfg.child("GameCFG");
    _cell_w = static_cast<int>(cfg.attribute("cell_w").as_float(36));
    _cell_h = static_cast<int>(cfg.attribute("cell_h").as_float(36));
    for (pugi::xml_node solidity : cfg.child("BallLock").children("Solidity")) _lock_strengths += solidity ? 1 : 0;

    // The artefact list is optional: without it every fragment kind of the
    // ball list stands for one artefact, in order.
    const std::string artefact_path = settings + "Artefact.xml";
    if (std::filesystem::exists(artefact_path)) {
        if (!Open(artefact_path, artefacts, errors)) return false;
        for (const pugi::xpath_node& found : artefacts.select_nodes("//Base/Artefacts/Artefact")) {
            const pugi::xml_node art = found.node();
            _artefact_fragments.push_back(art.child("Fragment").attribute("graph_type").as_int());
            int cells = 0;
            for (pugi::xml_node cell : art.child("Cells").children("Cell")) cells += cell ? 1 : 0;
            _artefact_cells.push_back(cells);
        }
    } else {
        for (const auto& [type, kind] : _ball_kinds)
            if (kind.life == -1) {
                _artefact_fragments.push_back(type);
                _artefact_cells.push_back(0);
            }
    }
    return true;
}

const CGameDataIndex::BallKind* CGameDataIndex::FindBall(int graph_type) const {
    auto it = _ball_kinds.find(graph_type);
    return it == _ball_kinds.end() ? nullptr : &it->second;
}

void CGameDataIndex::GetBallEffects(int graph_type, std::vector<std::string>& explosions,
                                    std::vector<std::string>& samples) const {
    for (pugi::xml_node obj : _balls_base.document_element().children("GraphObj")) {
        if (obj.attribute("graph_type").as_int() != graph_type) continue;
        for (pugi::xml_node state : obj.children("State")) {
            if (const char* alias = state.attribute("explosion").value(); *alias) explosions.push_back(alias);
            for (pugi::xml_node sound : state.children("sound"))
                if (const char* alias = sound.attribute("file").value(); *alias) samples.push_back(alias);
        }
    }
}

pugi::xml_node CGameDataIndex::BonusConfig(int bonus_type) const {
    const char* name = BonusNodeName(bonus_type);
    return *name ? _bonus.child("Bonuses").child(name) : pugi::xml_node();
}

pugi::xml_node CGameDataIndex::Background(const std::string& set) const {
    return _backgrounds.child("Backgrounds").find_child_by_attribute("Background", "set", set.c_str());
}

bool CGameDataIndex::IsBackgroundObject(int group, int id) const {
    return group >= 0 && static_cast<size_t>(group) < _background_objects.size() && id >= 0 &&
           id < _background_objects[static_cast<size_t>(group)];
}

int CGameDataIndex::MusicTracks(const std::string& alias) const {
    auto it = _music.find(alias);
    return it == _music.end() ? -1 : it->second;
}

int CGameDataIndex::ArtefactFragment(int base_id) const {
    if (base_id < 0 || static_cast<size_t>(base_id) >= _artefact_fragments.size()) return -1;
    return _artefact_fragments[static_cast<size_t>(base_id)];
}

int CGameDataIndex::ArtefactCells(int base_id) const {
    if (base_id < 0 || static_cast<size_t>(base_id) >= _artefact_cells.size()) return 0;
    return _artefact_cells[static_cast<size_t>(base_id)];
}

}  // namespace leveltool
