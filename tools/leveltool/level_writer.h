#pragma once
// Writes the game's level files from checked designs: "Levels\Episodes.xml"
// and "Levels\Episode_%d\Level_%d.xml" (0-based numbers), in the formats the
// game scene, the field and its parts read.
#include <string>

#include <pugixml.hpp>

#include "game_data_index.h"
#include "level_design.h"

namespace leveltool {

class CLevelWriter {
public:
    // The field is centred on this point of the play area between the panel on
    // the left and the artefact in the lower right corner.
    static constexpr int kFieldCentreX = 490;
    static constexpr int kFieldCentreY = 282;

    explicit CLevelWriter(const CGameDataIndex& data) : _data(data) {}

    // Where the level file puts the field's top-left corner on the screen.
    static void PlaceField(const LevelDesign& level, int cell_w, int cell_h, int& left, int& top);

    // Fills `doc` with the level file of `level`.
    void BuildLevel(const EpisodeDesign& episode, const LevelDesign& level, pugi::xml_document& doc) const;
    // Fills `doc` with the episode list.
    static void BuildEpisodes(const std::vector<EpisodeDesign>& episodes, pugi::xml_document& doc);

    // Writes the episode list and every level under `levels_dir`; false with
    // a message in `error` when a file cannot be written.
    bool WriteAll(const std::vector<EpisodeDesign>& episodes, const std::string& levels_dir, std::string& error) const;

    // The palette index of each start ball of a level: the designer's, or for
    // a locked ball without one a kind that makes no line with its neighbours.
    static std::vector<int> StartBallKinds(const LevelDesign& level);

private:
    void AddMusic(pugi::xml_node level_node, const MusicDesign& music) const;
    void AddConfig(pugi::xml_node level_node, const LevelDesign& level) const;
    void AddBallTypes(pugi::xml_node config, const LevelDesign& level) const;
    void AddField(pugi::xml_node config, const LevelDesign& level) const;
    void AddStartBalls(pugi::xml_node level_node, const LevelDesign& level) const;

    const CGameDataIndex& _data;
};

}  // namespace leveltool
