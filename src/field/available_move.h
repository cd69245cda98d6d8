#pragma once
// The marker that shows the player one swap that would make a line: a bar
// across the border of the two cells, "Vertical" for a swap within a row and
// "Horizontal" for a swap within a column (Settings\GameCFG.xml,
// //GameCFG/AvailableMove).
#include <vector>

#include "engine/graphics_desc.h"
#include "field/move_record.h"
#include "graphics/object_2d.h"

class CXMLFile;

class CAvailableMove {
public:
    static constexpr const char* kConfigFile = "Settings\\GameCFG.xml";

    // Reads kConfigFile; a file that cannot be read is logged and leaves the
    // marker without pictures.
    CAvailableMove();
    // The same from a document already in memory.
    explicit CAvailableMove(const CXMLFile& config);

    // Shows one of the moves, picked at random, centred between its two
    // cells; an empty list changes nothing.
    void Show(const std::vector<MoveRecord>& moves);
    void Hide() { _shown = false; }
    // Draws the marker while shown.
    void Draw();

    bool IsShown() const { return _shown; }
    const MoveRecord& GetMove() const { return _move; }
    const C2DObject& GetSprite() const { return _sprite; }

private:
    void LoadConfig(const CXMLFile& config);

    CGraphicsDesc _vertical;
    CGraphicsDesc _horizontal;
    C2DObject _sprite;
    MoveRecord _move;
    bool _shown = false;
};
