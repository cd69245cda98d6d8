#pragma once
// Checks an episode's designs against the game's data before any file is
// written: every ball kind, tile, bonus, lock, entry cell, fragment,
// background object, music track, explosion and sample a level names must
// exist, and the field must be playable (fed by birds, with a goal).
#include <string>
#include <vector>

#include "game_data_index.h"
#include "level_design.h"

namespace leveltool {

class CLevelChecker {
public:
    // Field limits: the play area between the panel and the artefact holds
    // this many cells.
    static constexpr int kMaxWidth = 10;
    static constexpr int kMaxHeight = 12;
    static constexpr int kMaxLayers = 4;
    // An entry cell's column may be this many cells shorter than the deepest.
    static constexpr int kMaxEntryDepthGap = 3;

    explicit CLevelChecker(const CGameDataIndex& data) : _data(data) {}

    // Appends one message per fault; true when there is none.
    bool CheckEpisode(const EpisodeDesign& episode, std::vector<std::string>& errors);

private:
    void CheckLevel(const EpisodeDesign& episode, const LevelDesign& level);
    void CheckPalette(const LevelDesign& level);
    void CheckBonuses(const LevelDesign& level);
    void CheckEffects(int graph_type, int line);
    void CheckMap(const LevelDesign& level);
    void CheckScreenPlace(const LevelDesign& level);
    void CheckEntryDepths(const LevelDesign& level);
    void CheckFeeding(const LevelDesign& level);
    void CheckFragmentEntry(const LevelDesign& level);
    void CheckBackground(const std::string& set, int line);
    void CheckMusic(const MusicDesign& music, int line);
    // A message about the value on `line` of the file, in the block being
    // checked; without a line, about the block as a whole (named by its first line).
    void Error(int line, const std::string& message);
    void Error(const std::string& message) { Error(_block_line, message); }

    const CGameDataIndex& _data;
    std::vector<std::string>* _errors = nullptr;
    std::string _file;
    std::string _block;  // "episode 2", "level 3"
    int _block_line = 0;
};

}  // namespace leveltool
