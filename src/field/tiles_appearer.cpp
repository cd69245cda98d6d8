#include "field/tiles_appearer.h"

#include <algorithm>

#include "engine/logger.h"
#include "field/level_cfg.h"

void CTilesAppearer::Start() {
    _stage = 0;
    _running = true;
    _cells.clear();
    _alphas.clear();
    for (int cell = g_LevelCFG->GetCellCount() - 1; cell >= 0; --cell) {
        if (!_source->HasCell(cell)) continue;
        _source->SetVisible(cell, false);
        _cells.push_back(cell);
    }
    _alphas.assign(_cells.size(), 0);
    _alpha = 0;
    _shown = 0;
    _source->SetAlpha(0);
    _countdown.Set(kPauseTicks);
}

void CTilesAppearer::Update() {
    if (!_running) return;
    switch (_stage) {
        case 0:
            if (_countdown.IsZero()) _stage = 1;
            _countdown.Decrement();
            break;
        case 1: UpdateBaseFade(); break;
        case 2: UpdateCells(); break;
        default: ASSERT(false); break;
    }
}

void CTilesAppearer::UpdateBaseFade() {
    // The last step of the fade lands on 255, so that the base tiles and the
    // fire end fully opaque.
    if (_alpha + kBaseStep >= 255) {
        _source->SetAlpha(255);
        _alpha = 255;
        _stage = 2;
        return;
    }
    _source->SetAlpha(_alpha);
    _alpha += kBaseStep;
}

void CTilesAppearer::UpdateCells() {
    // Done once the last cell has been set to 255 (its next value is a step
    // past it), so that every cell ends opaque.
    if (_cells.empty() || _alphas.back() >= 255 + kCellStep) {
        _running = false;
        return;
    }
    if (_shown < _cells.size() && _countdown.IsZero()) {
        _countdown.Set(0);
        // A cell cleared during the entrance has no layer to show.
        if (_source->HasCell(_cells[_shown])) _source->SetVisible(_cells[_shown], true);
        ++_shown;
    } else {
        _countdown.Decrement();
    }
    for (uint32_t i = 0; i < _shown; ++i) {
        if (_source->HasCell(_cells[i])) _source->SetCellAlpha(_cells[i], std::min(_alphas[i], 255));
        _alphas[i] += kCellStep;
    }
}

void CTilesAppearer::Finish() {
    _source->SetAlpha(255);
    for (int cell : _cells) {
        if (!_source->HasCell(cell)) continue;
        _source->SetVisible(cell, true);
        _source->SetCellAlpha(cell, 255);
    }
    _running = false;
}
