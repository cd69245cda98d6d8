#include "field/selected_ball.h"

#include <array>

#include "field/balls_field.h"
#include "field/bonus_data_source.h"
#include "field/level_cfg.h"

namespace {

// Degrees of the sway, one per phase.
constexpr std::array<int, 8> kSway {0, 3, 6, 3, 0, -3, -6, -3};

}  // namespace

void CSelectedBall::Set(IBonusDataSource* source, int cell) {
    _source = source;
    if (!g_LevelCFG->IsValidCell(cell)) {
        Reset();
        return;
    }
    _cell = cell;
    _active = true;
    _countdown = kTicksPerPhase;
    _phase = 0;
}

void CSelectedBall::Update() {
    if (!_active) return;
    CBallsField* balls = _source ? _source->GetBallsField() : nullptr;
    if (!balls || !balls->CellPredicate(_cell)) {
        Reset();
        return;
    }
    if (--_countdown >= 1) return;
    _countdown = kTicksPerPhase;
    _phase = (_phase + 1) % static_cast<int>(kSway.size());
    balls->SetBallAngle(_cell, static_cast<float>(kSway[static_cast<size_t>(_phase)]));
}

void CSelectedBall::Reset() {
    _active = false;
    _cell = -1;
}
