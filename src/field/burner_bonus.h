#pragma once
// The burner (type 1 along its row, type 4 along its column, both when
// intensive): flames leave its cell both ways and burn every cell they pass;
// once the last flame has died, the balls they left dying are finished off.
#include <memory>
#include <vector>

#include "engine/graphics_desc.h"
#include "field/base_bonus_impl.h"
#include "field/burner_flame.h"

class CBurnerBonus : public CBaseBonusImpl {
public:
    static constexpr int kRowType = 1;
    static constexpr int kColumnType = 4;
    // Direction mask bits: the two vertical flames, the two horizontal ones.
    static constexpr int kVertical = 1;
    static constexpr int kHorizontal = 2;

    CBurnerBonus(int type, int direction_mask) : CBaseBonusImpl("Burner", type), _direction_mask(direction_mask) {}

    bool Activate(int cell) override;
    void Update() override;
    void Draw() override;
    void SetIntensive(bool intensive) override { _intensive = intensive; }
    void LoadConfig(const CXMLNode& node) override;

    const std::vector<std::unique_ptr<CBurnerFlame>>& GetFlames() const { return _flames; }
    const std::vector<int>& GetHitCells() const { return _hit_cells; }

private:
    void AddFlame(int cell, int dcol, int drow, const CGraphicsDesc& graphics);
    void FinishDyingBalls();

    CGraphicsDesc _left, _right, _up, _down;
    std::vector<std::unique_ptr<CBurnerFlame>> _flames;
    bool _intensive = false;
    int _direction_mask;
    int _intensive_direction_mask = kVertical | kHorizontal;
    std::vector<int> _hit_cells;
};
