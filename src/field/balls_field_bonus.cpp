// Bonus balls that appear on their timers and expire when not used.
#include "engine/game_math.h"
#include "field/ball_state.h"
#include "field/balls_field.h"

bool CBallsField::PlaceBonusBalls() {
    TickBonusTimers();
    return PlaceDueBonusBalls();
}

void CBallsField::TickBonusTimers() { _bonus_timers.TickAll(); }

bool CBallsField::PlaceDueBonusBalls() {
    if (!_bonus_timers.CollectDue(_due)) return false;
    _candidates.clear();
    for (size_t i = 0; i < _field.size(); ++i) {
        const int cell = static_cast<int>(i);
        if (!CellPredicate(cell)) continue;
        const BallDesc& desc = _field[i]->GetDesc();
        if (desc.bonus_type == 0 && desc.life != -1) _candidates.push_back(cell);
    }
    // Without a candidate the due bonuses are lost; their timers run again.
    if (_candidates.empty()) return false;
    const size_t n = std::min(_candidates.size(), _due.size());
    for (size_t k = 0; k < n; ++k) {
        const size_t r = static_cast<size_t>(RandomRange(0, static_cast<int>(_candidates.size())));
        ChangeBallGraph(_candidates[r], _due[k]);
        _candidates.erase(_candidates.begin() + static_cast<std::ptrdiff_t>(r));
    }
    return true;
}

void CBallsField::UpdateBonusExpiry(int cell_index, CBall& ball) {
    // A ball made as a bonus ball has no type to turn back into: it stays.
    if (!ball.IsBonus() || ball.GetPrevDesc().graph_type == 0) return;
    // A ball on its way out keeps its fade-out: a new picture would flash at full alpha.
    if (ball.GetState() == bsDYING || ball.GetState() == bsDEAD) return;
    const uint32_t t = ball.GetExistenceTime();
    if (t > kBonusBlinkStart) ball.SetVisible(t % kBonusBlinkPeriod > kBonusBlinkPeriod / 2);
    if (t > kBonusLifeTime) {
        ball.SetVisible(true);
        ChangeBallGraph(cell_index, ball.GetPrevDesc().graph_type);
    }
}
