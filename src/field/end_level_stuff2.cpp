#include "field/end_level_stuff2.h"

#include <exception>

#include "engine/logger.h"
#include "engine/sound_keeper_interface.h"
#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "field/balls_field.h"
#include "field/birds.h"
#include "field/bonus_data_source.h"
#include "field/field_services.h"
#include "field/level_cfg.h"
#include "graphics/explosion.h"

CEndLevelStuff2::CEndLevelStuff2(IBonusDataSource* data_source, CBirds* birds)
    : _data_source(data_source), _birds(birds) {
    try {
        const CXMLFile document(kConfigFile);
        const CXMLNode config = document.SelectSingleNode(kConfigPath);
        if (!config.IsValid())
            CLogger::Instance().Log(2, "Error: No end-level stuff described at '%s' of '%s'!", kConfigPath,
                                    kConfigFile);
        LoadConfig(config);
    } catch (const std::exception& e) {
        CLogger::Instance().Log(2, "Error: End-level stuff not configured: %s", e.what());
    }
}

CEndLevelStuff2::CEndLevelStuff2(IBonusDataSource* data_source, CBirds* birds, const CXMLNode& config)
    : _data_source(data_source), _birds(birds) {
    LoadConfig(config);
}

void CEndLevelStuff2::LoadConfig(const CXMLNode& config) {
    if (config.IsValid()) _expl = config.GetAttribute("expl", "");
}

void CEndLevelStuff2::Start(const std::vector<int>& columns) {
    _column = 0;
    _row = 0;
    _first_row = kNoRow;
    _last_row = kNoRow;
    _columns = columns;
    _running = !_columns.empty();
    _started = true;
}

void CEndLevelStuff2::Reset() {
    _running = false;
    _started = false;
    _columns.clear();
    _countdown.Set(0);
}

void CEndLevelStuff2::Update() {
    if (_running && _countdown.IsZero()) VisitCell();
    _countdown.Decrement();
}

void CEndLevelStuff2::VisitCell() {
    const int cell = g_LevelCFG->PosToCell(_columns[_column], _row);
    // A column outside the field has no cell to walk.
    const bool empty = cell == -1 || _data_source->GetBallsField()->IsCellEmpty(cell);
    if (cell != -1 && empty && _data_source->IsVovaroCell(cell)) {
        CVector2 scr;
        VERIFY(g_LevelCFG->CellCenterToScr(cell, scr.x, scr.y));
        explosion::GetExplosionManager()->StartExplosion(_expl, scr.x, scr.y);
        _countdown.Set(kTicksPerCell);
        _position = scr;
        _last_row = _row;
        if (_first_row == kNoRow) _first_row = _row;
    }
    ++_row;
    if (cell != -1 && empty && _row < g_LevelCFG->GetFieldHeight()) return;
    FinishColumn();
}

void CEndLevelStuff2::FinishColumn() {
    if (_last_row != kNoRow) {
        _data_source->AddScoreAtPos(_position.x, _position.y, (_last_row - _first_row + 1) * kPointsPerRow,
                                    "Score_bonus", 1);
        if (ISoundKeeper* keeper = field::SoundKeeper()) keeper->PlaySample("lev_complete_bonus");
    }
    if (_birds) _birds->SendBirdInColumn(_columns[_column]);
    ++_column;
    _row = 0;
    _first_row = kNoRow;
    _last_row = kNoRow;
    if (_column >= _columns.size()) _running = false;
}
