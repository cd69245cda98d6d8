#pragma once
// What the level tool checks a level against, read from the data tree's
// Settings: the ball kinds and how they are drawn, the tile kinds, the
// explosions and samples those name, the bonus configuration, the
// backgrounds with their objects, the music list and the artefacts.
#include <map>
#include <set>
#include <string>
#include <vector>

#include <pugixml.hpp>

namespace leveltool {

class CGameDataIndex {
public:
    // Reads `data_dir`/Settings; false with messages in `errors` when a file
    // the tool needs is missing or broken.
    bool Load(const std::string& data_dir, std::vector<std::string>& errors);

    struct BallKind {
        int bonus_type = 0;
        int life = 0;
        pugi::xml_node node;  // its description in Settings\Balls.xml
    };
    // nullptr for a kind Settings\Balls.xml does not describe.
    const BallKind* FindBall(int graph_type) const;
    bool IsDrawnBall(int graph_type) const { return _drawn_balls.count(graph_type) != 0; }
    bool IsTile(int graph_type) const { return _tiles.count(graph_type) != 0; }
    bool IsExplosion(const std::string& alias) const { return _explosions.count(alias) != 0; }
    bool IsSample(const std::string& alias) const { return _samples.count(alias) != 0; }
    // The explosions and samples that drawing and killing the kind names.
    void GetBallEffects(int graph_type, std::vector<std::string>& explosions, std::vector<std::string>& samples) const;
    // The bonus configuration node of a bonus type (may be empty).
    pugi::xml_node BonusConfig(int bonus_type) const;
    // The background of a set of Settings\Backgrounds.xml (empty if none).
    pugi::xml_node Background(const std::string& set) const;
    bool IsBackgroundObject(int group, int id) const;
    // Number of tracks of a music alias; -1 for an unknown alias.
    int MusicTracks(const std::string& alias) const;
    // The ball kind of an artefact's fragments; -1 for an unknown artefact.
    int ArtefactFragment(int base_id) const;
    // Fragment cells of an artefact (0 when the artefact list does not say).
    int ArtefactCells(int base_id) const;
    int LockStrengths() const { return _lock_strengths; }
    int CellWidth() const { return _cell_w; }
    int CellHeight() const { return _cell_h; }

private:
    bool Open(const std::string& path, pugi::xml_document& doc, std::vector<std::string>& errors);

    pugi::xml_document _balls, _balls_base, _tiles_base, _bonus, _backgrounds, _tile_base;
    std::map<int, BallKind> _ball_kinds;
    std::set<int> _drawn_balls, _tiles;
    std::set<std::string> _explosions, _samples;
    std::map<std::string, int> _music;
    std::vector<int> _background_objects;  // number of objects per group
    std::vector<int> _artefact_fragments, _artefact_cells;
    int _lock_strengths = 0;
    int _cell_w = 36, _cell_h = 36;
};

}  // namespace leveltool
