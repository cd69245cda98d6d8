#pragma once
// The field's running bonuses, in the order they were started. A slow-down
// (type 3) is never doubled: a second one re-aims and extends the running one.
#include <memory>
#include <vector>

#include "field/base_bonus.h"
#include "field/field_bonus_list.h"

class IBonusDataSource;

// A new bonus of the type (1 to 8); none, with a logged warning, otherwise.
std::shared_ptr<IBaseBonus> CreateBonus(int type);

class CBonusList : public IFieldBonusList {
public:
    void SetDataSource(IBonusDataSource* data_source) { _data_source = data_source; }
    // Starts a bonus of the type at the cell. False when the type yields no
    // bonus or the bonus could not start (it is then not kept).
    bool AddBonus(int type, int cell, bool intensive) override;
    bool IsBonusActive(int type) const override;
    void FinishBonus(int type) override;
    // Updates every bonus, then drops those that have ended.
    void Update() override;
    void Draw() override;
    void Clear() override { _bonuses.clear(); }

    size_t GetCount() const { return _bonuses.size(); }
    const std::vector<std::shared_ptr<IBaseBonus>>& GetBonuses() const { return _bonuses; }

private:
    IBonusDataSource* _data_source = nullptr;
    std::vector<std::shared_ptr<IBaseBonus>> _bonuses;
};
