#pragma once
// The states of one graph type, by state id.
#include <map>

#include "field/graph_state_desc.h"

class CGraphTypeDesc {
public:
    // State ids the base files name: "DEFAULT", "MOVE" and "DEAD".
    enum StateId : int { gsDefault = 0, gsMove = 2, gsDead = 4 };

    // Copies the state into `out`; false (out untouched) when it is absent.
    bool GetState(int state, CGraphStateDesc& out) const;
    // The state, or null when it is absent.
    const CGraphStateDesc* FindState(int state) const;
    // Stores the state, replacing one of the same id.
    void SetState(int state, CGraphStateDesc desc) { _states[state] = std::move(desc); }
    size_t GetStateCount() const { return _states.size(); }

private:
    std::map<int, CGraphStateDesc> _states;
};
