#pragma once
// One flame of a burner: a sprite that travels 5 pixels a tick from the
// burner's cell along a row or a column, hits every field cell it enters
// (a bonus ball there starts its bonus too) and dies at the field's edge or
// before an indestructible ball. The point that leads it is its top-left
// corner moving left or up, and the far corner moving right or down, so a
// flame moving left enters an indestructible ball's cell (and hits it) while
// one moving right stops before it.
#include <vector>

#include "engine/graphics_desc.h"
#include "graphics/object_2d.h"

class IBonusDataSource;

class CBurnerFlame {
public:
    static constexpr float kStep = 5.0f;

    // `hit_cells` (the burner's, which outlives the flame) gets every cell hit.
    CBurnerFlame(IBonusDataSource* data_source, int cell, int dcol, int drow, const CGraphicsDesc& graphics,
                 std::vector<int>* hit_cells);
    CBurnerFlame(const CBurnerFlame&) = delete;
    CBurnerFlame& operator=(const CBurnerFlame&) = delete;

    void Update();
    void Draw();
    bool IsAlive() const { return _alive; }
    float GetX() const { return _x; }
    float GetY() const { return _y; }

private:
    void HitCurrentCell(int cell);
    bool BlocksAt(float x, float y) const;

    IBonusDataSource* _data_src;
    int _dcol;
    int _drow;
    int _last_cell = -1;
    bool _alive = true;
    std::vector<int>* _hit_cells;
    float _x = 0;
    float _y = 0;
    C2DObject _sprite;
};
