#pragma once
// The killer, started by the feather (type 7) and the egg (type 8): removes
// every ordinary ball of one kind at once. It takes its preferred kind when
// such a ball is on the field; otherwise the feather picks an allowed kind at
// random and the egg does nothing.
#include <string>
#include <vector>

#include "field/base_bonus_impl.h"
#include "field/bonus_random.h"

class CKillerBonus : public CBaseBonusImpl {
public:
    static constexpr int kFeatherType = 7;
    static constexpr int kEggType = 8;

    struct Target {
        int graph_type = 0;
        int cell = -1;
    };

    CKillerBonus(int type, bool random_fallback)
        : CBaseBonusImpl("Killer", type), _random_fallback(random_fallback) {}

    bool Activate(int cell) override;
    void Update() override;
    void LoadConfig(const CXMLNode& node) override;

    void SetRandom(BonusRandom random) { _random = std::move(random); }
    const std::vector<Target>& GetTargets() const { return _targets; }

private:
    // The kind to remove; 0 when there is none.
    int ChooseKind();
    int RandomKind();

    std::vector<Target> _targets;
    std::string _expl_alias;
    std::string _type_sample;
    int _priority_graph_type = 0;
    std::vector<int> _unallowed_graph_type;
    bool _random_fallback;
    BonusRandom _random = DefaultBonusRandom();
};
