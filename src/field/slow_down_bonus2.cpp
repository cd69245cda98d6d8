#include "field/slow_down_bonus2.h"

#include <algorithm>

#include "engine/xml_node.h"
#include "field/bonus_data_source.h"

namespace {

int ReadActiveTime(const CXMLNode& node) {
    // A negative time would wrap the tick countdown: it counts as none.
    return std::max(0, node.GetAttributeInt("active_time", CSlowDownBonus2::kDefaultActiveTime));
}

}  // namespace

void CSlowDownBonus2::LoadConfig(const CXMLNode& node) {
    CBaseBonusImpl::LoadConfig(node);
    _default_active_time = ReadActiveTime(node.SelectSingleNode("DefaultCfg"));
    _intensive_active_time = ReadActiveTime(node.SelectSingleNode("IntensiveCfg"));
}

bool CSlowDownBonus2::Activate(int cell) {
    if (!CBaseBonusImpl::Activate(cell)) return false;
    _cell = cell;
    IBonusDataSource& field = *GetDataSource();
    const int time = ActiveTime();
    field.RestartRowsFallCountdown(time);
    field.HitCell(cell, 4);
    field.SetFreeBirdsState(true);
    _countdown.Set(static_cast<uint32_t>(time));
    return true;
}

void CSlowDownBonus2::Reactivate(int cell) {
    CBaseBonusImpl::Reactivate(cell);
    _countdown.Set(_countdown.GetCurrent() + static_cast<uint32_t>(ActiveTime()));
}

void CSlowDownBonus2::Update() {
    if (!IsActive()) return;
    if (_countdown.IsZero() || IsFinished()) {
        SetActive(false);
        GetDataSource()->SetFreeBirdsState(false);
        RequestCompress();
        return;
    }
    _countdown.Decrement();
}
