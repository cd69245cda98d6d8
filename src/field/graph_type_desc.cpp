#include "field/graph_type_desc.h"

bool CGraphTypeDesc::GetState(int state, CGraphStateDesc& out) const {
    const CGraphStateDesc* desc = FindState(state);
    if (!desc) return false;
    out = *desc;
    return true;
}

const CGraphStateDesc* CGraphTypeDesc::FindState(int state) const {
    auto it = _states.find(state);
    return it == _states.end() ? nullptr : &it->second;
}
