#pragma once
// The records of the tiles field: what a level's "Field" node says about each
// cell, and what the field keeps of it while the level is played.
#include <memory>
#include <vector>

class CGraphOBJ;

// One valid "Cell" node of the level, in document order.
struct CTileRecord {
    int cell = 0;
    bool active = true;
    int rotate = 0;  // degrees
    int tile = 0;    // tiles-base graph type of the base tile
};

// A cell with puzzle layers as the level gives them: the graph types in the
// order they are shown (the last "Group" of the cell first).
struct CLayeredCell {
    int cell = 0;
    std::vector<int> layers;
};

// One entry of the per-cell table: the cell belongs to the playing field
// (active) and its base tile (empty when the level names none there).
struct CCellTile {
    bool active = false;
    std::shared_ptr<CGraphOBJ> object;
};

// A puzzle cell still on the field: the layer now shown, the layers it
// shows from the first on (as loaded, or as a saved game left them) and how
// many of them have been removed; the object shows layers[removed].
struct CVovaroCell {
    int cell = 0;
    std::shared_ptr<CGraphOBJ> object;
    int removed = 0;
    std::vector<int> layers;
};
