#pragma once
// A level as its designer writes it (the text files under data\LevelDesigns)
// before the level tool turns it into the game's level file.
#include <map>
#include <string>
#include <vector>

namespace leveltool {

// Where a block's values stand in its file, so that a message names the line
// of the value it refuses: the line of each key (the last, for a key given
// twice) and of each map row; anything else is named by the block's own line.
struct SourceLines {
    int block = 0;
    std::map<std::string, int> keys;
    std::vector<int> rows;

    int Of(const std::string& key) const {
        const auto found = keys.find(key);
        return found == keys.end() ? block : found->second;
    }
    int OfRow(int y) const { return y >= 0 && y < static_cast<int>(rows.size()) ? rows[static_cast<size_t>(y)] : block; }
};

// One cell of the field's map.
struct CellDesign {
    enum Kind { kNone, kPlain, kGenerator };
    Kind kind = kNone;
    int layers = 0;           // puzzle-tile layers on the cell (0 none)
    int generator_delay = 0;  // frames the bird waits before its first drop
    int ball = -1;            // palette index of a ball placed at the start; -1 none
    int lock = 0;             // hits the start ball's lock takes; 0 no lock
};

struct BonusDesign {
    int graph_type = 0;
    int range_time = 0;  // frames between two bonus balls
    int plus_minus = 0;  // random spread of that time
    int line = 0;        // where it is written
};

struct MusicDesign {
    std::string normal_alias, anxious_alias;
    int normal_track = 0, anxious_track = 0;
    float fade_speed = 1.0f;
    bool IsSet() const { return !normal_alias.empty(); }
};

struct LevelDesign {
    int number = 0;  // 1-based, as in the file
    SourceLines lines;  // block: where the level starts
    std::vector<int> palette;
    std::vector<BonusDesign> bonuses;
    int rows_at_start = 3;
    int rows_fall_delay = 900;
    int ace_time = 60;
    int bonus_probability_min = 10, bonus_probability_max = 10;
    int step_generate_special = 1;
    int fragment_left = 0, fragment_right = 20;
    int width = 0, height = 0;
    std::vector<CellDesign> cells;  // row by row
    std::string background;         // empty: the episode's
    MusicDesign music;              // unset: the episode's

    const CellDesign& At(int x, int y) const { return cells[static_cast<size_t>(y * width + x)]; }
    bool IsFieldCell(int x, int y) const {
        return x >= 0 && y >= 0 && x < width && y < height && At(x, y).kind == CellDesign::kPlain;
    }
};

struct EpisodeDesign {
    int number = 0;  // 1-based
    std::string file;
    SourceLines lines;  // block: the 'episode' line
    int glove_base_id = 0;
    std::string background;
    MusicDesign music;
    std::vector<LevelDesign> levels;
};

}  // namespace leveltool
