#pragma once
// Dynamite (type 2): blows up a square of cells around its cell. Balls in the
// square are hit, bonus balls there start their own bonus, and ten ticks
// later every dying ball of the field is finished off.
#include <string>
#include <vector>

#include "field/base_bonus_impl.h"
#include "field/countdown.h"

class CDynamiteBonus : public CBaseBonusImpl {
public:
    static constexpr int kType = 2;
    static constexpr uint32_t kKillDelay = 10;

    struct Config {
        int radius = 1;
        std::string expl_alias;
    };

    CDynamiteBonus() : CBaseBonusImpl("Dynamite", kType) {}

    bool Activate(int cell) override;
    void Update() override;
    void SetIntensive(bool intensive) override { _intensive = intensive; }
    void LoadConfig(const CXMLNode& node) override;

private:
    void Explode();

    CCountdown _countdown;
    int _cell = 0;
    bool _intensive = false;
    Config _default_cfg;
    Config _intensive_cfg;
    std::vector<int> _cells;  // the blast's cells, kept to spare a per-blast allocation
};
