#include "field/base_bonus_impl.h"

#include "engine/logger.h"
#include "engine/sound_keeper.h"
#include "field/balls_field.h"
#include "field/bonus_config.h"
#include "field/bonus_data_source.h"
#include "field/field_flags.h"
#include "field/field_services.h"
#include "field/level_cfg.h"

namespace {

// The path the failed cell check reports as its file.
constexpr const char* kBonusSourcePath = ".\\Sources\\_Lines\\GameField\\Bonus";

}  // namespace

bool CBaseBonusImpl::Activate(int cell) {
    if (!g_LevelCFG->IsValidCell(cell)) {
        LogFailedCheck("Assert", "g_LevelCFG.IsValidCell( cell_index )", kBonusSourcePath, __LINE__);
        return false;
    }
    if (!ASSERT(_data_source)) return false;
    if (!_config_loaded) {
        LoadConfig(CBonusConfig::GetBonusNode(_name));
        _config_loaded = true;
    }
    if (!_sample_alias.empty())
        if (ISoundKeeper* sounds = field::SoundKeeper()) sounds->PlaySample(_sample_alias);
    _active = true;
    return true;
}

void CBaseBonusImpl::Reactivate(int cell) {
    if (_data_source) _data_source->KillBall(cell, 4);
}

void CBaseBonusImpl::LoadConfig(const CXMLNode& node) {
    if (node.IsValid()) _sample_alias = node.GetAttribute("sample", "");
}

void CBaseBonusImpl::RequestCompress() {
    if (_data_source)
        if (CFieldFlags* flags = _data_source->GetFieldFlags()) flags->Set(CFieldFlags::ffCompressDue, 1);
}

bool CBaseBonusImpl::IsOrdinaryBall(int cell) const {
    const CBallsField* balls = _data_source ? _data_source->GetBallsField() : nullptr;
    if (!balls || balls->IsCellEmpty(cell)) return false;
    const BallDesc& desc = balls->GetBall(cell);
    return desc.life != -1 && desc.bonus_type == 0 && balls->CellPredicate(cell);
}
