#include "field/bonus_list.h"

#include <algorithm>

#include "engine/logger.h"
#include "field/burner_bonus.h"
#include "field/dynamite_bonus.h"
#include "field/killer_bonus.h"
#include "field/lightning_bonus.h"
#include "field/mixer_bonus.h"
#include "field/slow_down_bonus2.h"

namespace {

constexpr int kMergedType = 3;

}  // namespace

std::shared_ptr<IBaseBonus> CreateBonus(int type) {
    switch (type) {
        case CBurnerBonus::kRowType:
            return std::make_shared<CBurnerBonus>(type, CBurnerBonus::kHorizontal);
        case CBurnerBonus::kColumnType:
            return std::make_shared<CBurnerBonus>(type, CBurnerBonus::kVertical);
        case CLightningBonus::kType:
            return std::make_shared<CLightningBonus>();
        case CMixerBonus::kType:
            return std::make_shared<CMixerBonus>();
        case CKillerBonus::kFeatherType:
            return std::make_shared<CKillerBonus>(type, true);
        case CKillerBonus::kEggType:
            return std::make_shared<CKillerBonus>(type, false);
        case CDynamiteBonus::kType:
            return std::make_shared<CDynamiteBonus>();
        case CSlowDownBonus2::kType:
            return std::make_shared<CSlowDownBonus2>();
        default:
            CLogger::Instance().Log(3, "Warning: Invalid bonus type %d requested!", type);
            return nullptr;
    }
}

bool CBonusList::AddBonus(int type, int cell, bool intensive) {
    if (type == kMergedType) {
        for (const auto& bonus : _bonuses)
            if (bonus->GetType() == kMergedType) {
                bonus->SetIntensive(intensive);
                bonus->Reactivate(cell);
                return true;
            }
    }
    std::shared_ptr<IBaseBonus> bonus = CreateBonus(type);
    if (!bonus) return false;
    bonus->SetDataSource(_data_source);
    bonus->SetIntensive(intensive);
    // A bonus that failed to start is not kept and the caller learns of it.
    if (!bonus->Activate(cell)) return false;
    _bonuses.push_back(std::move(bonus));
    return true;
}

bool CBonusList::IsBonusActive(int type) const {
    return std::any_of(_bonuses.begin(), _bonuses.end(),
                       [type](const auto& bonus) { return bonus->IsActive() && bonus->GetType() == type; });
}

void CBonusList::FinishBonus(int type) {
    for (const auto& bonus : _bonuses)
        if (bonus->IsActive() && bonus->GetType() == type) bonus->Finish();
}

void CBonusList::Update() {
    // A bonus may start others (a blast reaching a bonus ball) while the list
    // is walked: index the vector, whose size may grow.
    for (size_t i = 0; i < _bonuses.size(); ++i) {
        std::shared_ptr<IBaseBonus> bonus = _bonuses[i];
        bonus->Update();
    }
    std::erase_if(_bonuses, [](const auto& bonus) { return !bonus->IsActive(); });
}

void CBonusList::Draw() {
    for (const auto& bonus : _bonuses) bonus->Draw();
}
