#pragma once
// The slow-down (type 3): holds the falling rows back and calms the free
// birds for a number of ticks. A second slow-down while it runs extends it
// (the bonus list merges type 3 into the running one).
#include "field/base_bonus_impl.h"
#include "field/countdown.h"

class CSlowDownBonus2 : public CBaseBonusImpl {
public:
    static constexpr int kType = 3;
    static constexpr int kDefaultActiveTime = 700;

    CSlowDownBonus2() : CBaseBonusImpl("SlowDown", kType) {}

    bool Activate(int cell) override;
    void Update() override;
    void Reactivate(int cell) override;
    void SetIntensive(bool intensive) override { _intensive = intensive; }
    void LoadConfig(const CXMLNode& node) override;

    uint32_t GetTicksLeft() const { return _countdown.GetCurrent(); }

private:
    int ActiveTime() const { return _intensive ? _intensive_active_time : _default_active_time; }

    CCountdown _countdown;
    int _cell = 0;
    bool _intensive = false;
    int _default_active_time = kDefaultActiveTime;
    int _intensive_active_time = kDefaultActiveTime;
};
