#pragma once
// One look of a heads-up value indicator (a "State" node): where it stands,
// whether it shows a zero, and any of a text label, a progress bar and an
// icon. It reads its value from the game state each time it is drawn.
#include <cstdint>
#include <memory>
#include <string>

#include "engine/graphics_desc.h"
#include "game/game_state_value.h"

class C2DObject;
class CMenuProgressBar;
class CXMLNode;
class IGameStateSource;

struct IndicatorStateDesc {
    float pos_x = 0, pos_y = 0;
    bool render_when_zero = true;
    struct Text {
        bool use_me = false;
        float dis_x = 0, dis_y = 0;
        std::string label;
    } text;
    struct ProgressBar {
        bool use_me = false;
        float dis_x = 0, dis_y = 0;
        int32_t kind = 0, width = 0, height = 0;
    } progress_bar;
    struct MainIcon {
        bool use_me = false;
        float dis_x = 0, dis_y = 0;
        CGraphicsDesc graphics;
    } main_icon;
};

class IndicatorState {
public:
    IndicatorState(const std::string& src_id, const CXMLNode& node);
    ~IndicatorState();
    IndicatorState(const IndicatorState&) = delete;
    IndicatorState& operator=(const IndicatorState&) = delete;

    void Render(const IGameStateSource* source);

    const IndicatorStateDesc& GetDesc() const { return _desc; }
    CMenuProgressBar* GetProgressBar() const { return _progress_bar.get(); }
    C2DObject* GetIcon() const { return _icon.get(); }
    // What the last Render read and whether it drew anything.
    const GameStateValue& GetValue() const { return _value; }
    bool WasDrawn() const { return _drawn; }

private:
    void ReadValue(const IGameStateSource* source);
    void UpdateProgressBar();
    // Logs a bad-data line once per state instead of every frame.
    bool FirstReport(uint8_t bit);

    std::string _src_id;
    IndicatorStateDesc _desc;
    GameStateValue _value {int32_t {0}};
    std::unique_ptr<C2DObject> _icon;
    std::unique_ptr<CMenuProgressBar> _progress_bar;
    uint8_t _reported = 0;
    bool _drawn = false;
};
