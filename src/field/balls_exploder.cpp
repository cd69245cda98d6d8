#include "field/balls_exploder.h"

#include "field/ball_state.h"
#include "field/balls_field.h"
#include "field/bonus_data_source.h"
#include "field/level_cfg.h"

void CBallsExploder::Start() {
    CBallsField* balls = _source->GetBallsField();
    for (int cell = 0; cell < g_LevelCFG->GetCellCount(); ++cell) {
        if (balls->IsCellEmpty(cell)) continue;
        _source->SetBallState(cell, bsDEFAULT);
        _source->ScaleOutBall(cell);
    }
}

bool CBallsExploder::Finish() {
    if (_source->IsAnyBallBusy()) return false;
    CBallsField* balls = _source->GetBallsField();
    for (int cell = 0; cell < g_LevelCFG->GetCellCount(); ++cell)
        if (!balls->IsCellEmpty(cell)) _source->SetBallState(cell, bsDEAD);
    return true;
}
