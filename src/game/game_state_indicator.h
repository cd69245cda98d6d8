#pragma once
// A heads-up value indicator ("//GameScreenPanel/Indicators/Indicator"):
// a value source and its looks by state id. The lives and score indicators
// switch look while the game's highlight flag blinks after a bonus life.
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "game/indicator_state.h"

class CXMLNode;
class IGameStateSource;

class CGameStateIndicator {
public:
    // The look the lives and score indicators take while the highlight flag is clear.
    static constexpr int32_t kLivesHighlightState = 5;
    static constexpr int32_t kScoreHighlightState = 1;

    void Load(const CXMLNode& node);
    void Render(const IGameStateSource* source);

    const std::string& GetSrcId() const { return _src_id; }
    int32_t GetCurrentStateId() const { return _current; }
    size_t GetStateCount() const { return _states.size(); }
    // Null when there is no such state.
    IndicatorState* GetState(int32_t id) const;

private:
    void SelectState(bool highlight);

    std::string _src_id;
    std::map<int32_t, std::unique_ptr<IndicatorState>> _states;
    int32_t _current = 0;
};
