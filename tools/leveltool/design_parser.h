#pragma once
// Reads an episode's level designs from the tool's text format:
//
//   # comment                       (anywhere; blank lines are ignored)
//   episode 1                       the episode's number, first
//   glove 0                         the artefact (base id) of the episode
//   background meadow               a set of Settings\Backgrounds.xml
//   music episode1_calm 0 episode1_anxious 0 [fade]
//   level 1                         then the level's keys up to the next level:
//     palette 1 2 3 4               the ball kinds that fall
//     bonus 12 900 300              bonus kind, frames between two, spread
//     rows_at_start 4   rows_fall_delay 900   ace_time 60
//     bonus_probability 10 10   step_generate_special 1
//     fragment_range 0 9            columns where the fragment may enter
//     background ... / music ...    instead of the episode's
//     map                           one line per row, one token per cell:
//       G G G G                       G a bird's entry cell (G300: it waits 300 frames)
//       . 1 2 .                       . a plain cell, 1-4 a puzzle tile of that many layers
//       - .aL2 . -                    - no cell; after the tile: a-h a start ball
//     end                             of that palette kind, L1-L4 a lock on it
#include <string>
#include <vector>

#include "level_design.h"

namespace leveltool {

class CDesignParser {
public:
    // Parses `text` (read from `file`, named in messages); false with
    // messages appended to `errors` when a line cannot be read.
    bool Parse(const std::string& text, const std::string& file, EpisodeDesign& episode,
               std::vector<std::string>& errors);

private:
    bool ParseLine(const std::vector<std::string>& words);
    bool ParseEpisodeKey(const std::vector<std::string>& words);
    bool ParseLevelKey(const std::vector<std::string>& words);
    bool ParseMapRow(const std::vector<std::string>& words);
    bool ParseCell(const std::string& token, CellDesign& cell);
    bool ParseMusic(const std::vector<std::string>& words, MusicDesign& music);
    bool Ints(const std::vector<std::string>& words, size_t count, std::vector<int>& out);
    void Error(const std::string& message);

    EpisodeDesign* _episode = nullptr;
    std::vector<std::string>* _errors = nullptr;
    std::string _file;
    int _line = 0;
    bool _in_map = false;
    bool _ok = true;
};

}  // namespace leveltool
