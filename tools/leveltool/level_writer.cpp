#include "level_writer.h"

#include <algorithm>
#include <filesystem>

namespace leveltool {

namespace {

constexpr int kDarkTile = 1;
constexpr int kLightTile = 6;
constexpr int kFirstLayerTile = 2;  // layer n of a stack is tile 1 + n
constexpr int kMinFieldTop = 8;

void AddDeclaration(pugi::xml_document& doc) {
    pugi::xml_node decl = doc.append_child(pugi::node_declaration);
    decl.append_attribute("version") = "1.0";
    decl.append_attribute("encoding") = "windows-1252";
}

// Length of the run of `kind` through (x, y) along (dx, dy) among `kinds`.
int RunThrough(const LevelDesign& level, const std::vector<int>& kinds, int x, int y, int dx, int dy, int kind) {
    int run = 1;
    for (int s : {-1, 1})
        for (int k = 1;; ++k) {
            const int cx = x + s * k * dx, cy = y + s * k * dy;
            if (cx < 0 || cy < 0 || cx >= level.width || cy >= level.height) break;
            if (kinds[static_cast<size_t>(cy * level.width + cx)] != kind) break;
            ++run;
        }
    return run;
}

}  // namespace

std::vector<int> CLevelWriter::StartBallKinds(const LevelDesign& level) {
    std::vector<int> kinds(level.cells.size(), -1);
    for (size_t i = 0; i < level.cells.size(); ++i) kinds[i] = level.cells[i].ball;
    const int n = static_cast<int>(level.palette.size());
    for (int y = 0; y < level.height; ++y)
        for (int x = 0; x < level.width; ++x) {
            const size_t i = static_cast<size_t>(y * level.width + x);
            if (kinds[i] >= 0 || level.cells[i].lock == 0 || n == 0) continue;
            // Walk the palette from a position-dependent start to the first
            // kind that lines up with none of the neighbours.
            const int start = (x * 3 + y * 5) % n;
            for (int k = 0; k < n; ++k) {
                const int kind = (start + k) % n;
                kinds[i] = kind;
                if (RunThrough(level, kinds, x, y, 1, 0, kind) < 3 && RunThrough(level, kinds, x, y, 0, 1, kind) < 3)
                    break;
            }
        }
    return kinds;
}

void CLevelWriter::BuildEpisodes(const std::vector<EpisodeDesign>& episodes, pugi::xml_document& doc) {
    AddDeclaration(doc);
    doc.append_child(pugi::node_comment).set_value(" Written by the level tool from data/LevelDesigns. ");
    pugi::xml_node root = doc.append_child("Episodes");
    for (const EpisodeDesign& episode : episodes) {
        pugi::xml_node node = root.append_child("Episode");
        node.append_attribute("level_count") = static_cast<int>(episode.levels.size());
        node.append_attribute("glove_base_id") = episode.glove_base_id;
    }
}

void CLevelWriter::BuildLevel(const EpisodeDesign& episode, const LevelDesign& level, pugi::xml_document& doc) const {
    AddDeclaration(doc);
    doc.append_child(pugi::node_comment)
        .set_value((" Written by the level tool from " + episode.file + ", level " + std::to_string(level.number) +
                    ". ")
                       .c_str());
    pugi::xml_node root = doc.append_child("Level");
    AddMusic(root, level.music.IsSet() ? level.music : episode.music);
    const std::string& set = level.background.empty() ? episode.background : level.background;
    pugi::xml_node background = root.append_copy(_data.Background(set));
    background.remove_attribute("set");
    AddConfig(root, level);
    AddStartBalls(root, level);
}

void CLevelWriter::AddMusic(pugi::xml_node level_node, const MusicDesign& music) const {
    pugi::xml_node node = level_node.append_child("Music");
    node.append_attribute("fade_speed") = music.fade_speed;
    pugi::xml_node normal = node.append_child("Normal");
    normal.append_attribute("alias") = music.normal_alias.c_str();
    normal.append_attribute("track") = music.normal_track;
    pugi::xml_node anxious = node.append_child("Anxious");
    anxious.append_attribute("alias") = music.anxious_alias.c_str();
    anxious.append_attribute("track") = music.anxious_track;
}

void CLevelWriter::PlaceField(const LevelDesign& level, int cell_w, int cell_h, int& left, int& top) {
    left = kFieldCentreX - level.width * cell_w / 2;
    top = std::max(kMinFieldTop, kFieldCentreY - level.height * cell_h / 2);
}

void CLevelWriter::AddConfig(pugi::xml_node level_node, const LevelDesign& level) const {
    pugi::xml_node config = level_node.append_child("Config");
    int left = 0, top = 0;
    PlaceField(level, _data.CellWidth(), _data.CellHeight(), left, top);
    const std::pair<const char*, int> values[] = {
        {"field_pos_x", left},
        {"field_pos_y", top},
        {"rows_to_fall_at_start", level.rows_at_start},
        {"rows_fall_delay", level.rows_fall_delay},
        {"bonus_probability_min", level.bonus_probability_min},
        {"bonus_probability_max", level.bonus_probability_max},
        {"ace_time", level.ace_time},
        {"fragment_fall_range_left", level.fragment_left},
        {"fragment_fall_range_right", level.fragment_right},
        {"step_generate_special", level.step_generate_special},
    };
    for (const auto& [name, value] : values) config.append_attribute(name) = value;
    config.append_child("State");
    AddBallTypes(config, level);
    AddField(config, level);
}

void CLevelWriter::AddBallTypes(pugi::xml_node config, const LevelDesign& level) const {
    pugi::xml_node balls = config.append_child("Balls");
    // A level's kinds replace the game's, so each is copied whole.
    for (int type : level.palette) balls.append_copy(_data.FindBall(type)->node);
    for (const BonusDesign& bonus : level.bonuses) {
        pugi::xml_node node = balls.append_copy(_data.FindBall(bonus.graph_type)->node);
        node.set_name("Bonus");
        node.append_attribute("range_time") = bonus.range_time;
        node.append_attribute("range_time_plus_minus") = bonus.plus_minus;
    }
}

void CLevelWriter::AddField(pugi::xml_node config, const LevelDesign& level) const {
    pugi::xml_node field = config.append_child("Field");
    field.append_attribute("field_width") = level.width;
    field.append_attribute("field_height") = level.height;
    for (int y = 0; y < level.height; ++y)
        for (int x = 0; x < level.width; ++x) {
            const CellDesign& cell = level.At(x, y);
            if (cell.kind == CellDesign::kNone) continue;
            pugi::xml_node node = field.append_child("Cell");
            node.append_attribute("x") = x;
            node.append_attribute("y") = y;
            if (cell.kind == CellDesign::kGenerator) {
                // The birds' cells lie above the playing field.
                node.append_attribute("active") = 0;
                node.append_attribute("type") = "GENERATOR";
                node.append_attribute("delay") = cell.generator_delay;
            }
            node.append_child("Group").append_attribute("tile") = (x + y) % 2 ? kLightTile : kDarkTile;
            for (int layer = 0; layer < cell.layers; ++layer)
                node.append_child("Group").append_attribute("tile") = kFirstLayerTile + layer;
        }
}

void CLevelWriter::AddStartBalls(pugi::xml_node level_node, const LevelDesign& level) const {
    const std::vector<int> kinds = StartBallKinds(level);
    pugi::xml_node balls = level_node.append_child("Balls");
    for (int y = 0; y < level.height; ++y)
        for (int x = 0; x < level.width; ++x) {
            const int kind = kinds[static_cast<size_t>(y * level.width + x)];
            if (kind < 0) continue;
            pugi::xml_node cell = balls.append_child("Cell");
            cell.append_attribute("x") = x;
            cell.append_attribute("y") = y;
            cell.append_attribute("lock") = level.At(x, y).lock;
            cell.append_child("Ball").append_attribute("graph_type") = level.palette[static_cast<size_t>(kind)];
        }
}

bool CLevelWriter::WriteAll(const std::vector<EpisodeDesign>& episodes, const std::string& levels_dir,
                            std::string& error) const {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(levels_dir, ec);
    pugi::xml_document list;
    BuildEpisodes(episodes, list);
    const std::string list_path = levels_dir + "/Episodes.xml";
    if (!list.save_file(list_path.c_str(), "  ")) {
        error = "cannot write " + list_path;
        return false;
    }
    for (size_t e = 0; e < episodes.size(); ++e) {
        const std::string dir = levels_dir + "/Episode_" + std::to_string(e);
        fs::create_directories(dir, ec);
        for (size_t l = 0; l < episodes[e].levels.size(); ++l) {
            pugi::xml_document doc;
            BuildLevel(episodes[e], episodes[e].levels[l], doc);
            const std::string path = dir + "/Level_" + std::to_string(l) + ".xml";
            if (!doc.save_file(path.c_str(), "  ")) {
                error = "cannot write " + path;
                return false;
            }
        }
    }
    return true;
}

}  // namespace leveltool
