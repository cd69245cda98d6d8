#include "game/game_state_indicator.h"

#include "engine/logger.h"
#include "engine/xml_node.h"
#include "engine/xml_node_list.h"
#include "game/game_state_source.h"

void CGameStateIndicator::Load(const CXMLNode& node) {
    _src_id = node.GetAttribute("src_id", "");
    const CXMLNodeList states = node.SelectNodes("State");
    for (int i = 0; i < states.GetLength(); ++i) {
        const CXMLNode state = states.GetItem(i);
        const int32_t id = state.GetAttributeInt("id", 0);
        if (_states.count(id)) {
            CLogger::Instance().Log(2, "Error: Creating indicator - state with id=%d already present!", id);
            continue;
        }
        _states.emplace(id, std::make_unique<IndicatorState>(_src_id, state));
    }
    if (_states.empty())
        CLogger::Instance().Log(3, "Assert failed: '%s', File=%s, Line=%d", "!_states.empty()", __FILE__, __LINE__);
    else
        _current = _states.begin()->first;
}

IndicatorState* CGameStateIndicator::GetState(int32_t id) const {
    auto it = _states.find(id);
    return it == _states.end() ? nullptr : it->second.get();
}

void CGameStateIndicator::SelectState(bool highlight) {
    int32_t wanted = 0;
    if (_src_id == "VAL_LIVES")
        wanted = highlight ? 0 : kLivesHighlightState;
    else if (_src_id == "VAL_SCORE")
        wanted = highlight ? 0 : kScoreHighlightState;
    if (wanted != _current && _states.count(wanted)) _current = wanted;
}

void CGameStateIndicator::Render(const IGameStateSource* source) {
    // An indicator without states draws nothing.
    if (_states.empty()) return;
    SelectState(source ? source->IsLivesBlink() : true);
    _states.at(_current)->Render(source);
}
