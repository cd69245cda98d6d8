#pragma once
// The level tool's run: read every episode design of a data tree
// ("LevelDesigns\episode_<n>.txt"), check all of them, and only when no level
// is broken write the level files into the output data tree.
#include <string>
#include <vector>

#include "level_design.h"

namespace leveltool {

class CLevelTool {
public:
    // Reads and checks; the designs, in episode order, are left in `episodes`.
    static bool Check(const std::string& data_dir, std::vector<EpisodeDesign>& episodes,
                      std::vector<std::string>& errors);
    // Check, then write "<out_dir>/Levels/...".
    static bool Run(const std::string& data_dir, const std::string& out_dir, std::vector<std::string>& errors);
};

}  // namespace leveltool
