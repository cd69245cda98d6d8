#pragma once
// The mixer (type 6): every ordinary idle ball of the field becomes a ball of
// another random kind, each with an effect on its cell, and one score popup
// shows in the middle of the field. Bonus balls, fragments, locked and busy
// balls keep their kinds. The bonus ends when the last effect has played.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/vector2.h"
#include "field/ball_desc.h"
#include "field/base_bonus_impl.h"

class CMixerBonus : public CBaseBonusImpl {
public:
    static constexpr int kType = 6;

    struct Entry {
        uint32_t explosion = 0;  // the effect's emitter, 0 for none
        int cell = -1;
        BallDesc desc;
    };

    CMixerBonus() : CBaseBonusImpl("Mixer", kType) {}

    bool Activate(int cell) override;
    void Update() override;
    void Draw() override;
    void LoadConfig(const CXMLNode& node) override;

    const std::vector<Entry>& GetEntries() const { return _entries; }

private:
    void Mix();
    // A new ball of another kind in the cell; false when the level has no
    // other kind (the ball is kept).
    bool Remix(int cell, int old_kind);
    uint32_t StartEffect(int cell);

    std::string _expl_alias;
    std::string _label_name;
    int _score = 0;
    CVector2 _label_offset;
    bool _mixing = false;
    bool _effect_failed = false;
    std::vector<Entry> _entries;
};
