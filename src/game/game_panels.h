#pragma once
// The heads-up display of the game scene ("//Dialogs/GameDialog"): the menu
// button, the three tools with their charge bars, buttons and images, the
// rings that announce a charged tool, periodic blinks of an available tool,
// the life indicator and the value indicators of Settings\GameScreenPanel.xml.
// Clicks answer through the result word: 3 menu, 4 hammer, 5 egg, 6 feather.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/graphics_desc.h"
#include "engine/vector2.h"
#include "field/artefact_blink.h"
#include "field/countdown.h"
#include "game/game_state_indicator.h"
#include "game/life_indicator.h"
#include "game/tool_panel.h"
#include "game/tool_ring.h"
#include "gui/base_dialog.h"

class CMenuProgressBar;
class IGameStateSource;

// One "Blinks/Blink" child of the dialog node: the blink of an available tool.
struct ToolBlinkDesc {
    CVector2 pos;
    int32_t num_blink = 0;
    float speed = 0;
    std::string sound;
    CGraphicsDesc graphics;
    int32_t delay = 0;  // frames between blinks
};

class CGamePanels : public CBaseDialog, public IToolPanel {
public:
    static constexpr int kResultMenu = 3, kResultHammer = 4, kResultEgg = 5, kResultFeather = 6;

    CGamePanels();
    ~CGamePanels() override;

    void OnClick(CBaseControl* control) override;
    // The dialog's controls, then the indicators, the rings and the life
    // indicator, and the blinks of the node; blinks start disabled.
    bool Load(const CXMLNode& node) override;
    // Loads the "GameDialog" node of Settings\Dialogs.xml.
    bool LoadFromDialogs();
    // The frame's update and drawing; with skip_update the controls are only
    // drawn (a dialog over the scene has the pointer).
    void Render(bool skip_update = false);
    // Where the indicators read the game's values (none: they show 0).
    void SetStateSource(const IGameStateSource* source) { _source = source; }

    void ResetToolProgress(int32_t tool) override;
    bool AddToolProgress(const ToolValue& amount) override;
    bool GetToolProgress(ToolValue& out) override;
    bool SetToolProgress(const ToolValue& value) override;
    bool IsToolAvailable(int32_t tool) override;
    void ShowToolImage(int32_t tool, bool show) override;
    void EnableTool(int32_t tool, bool on) override;
    bool GetToolProgressPoint(int32_t tool, CVector2& point) override;
    // The top-left corner of the tool's button; false for an unknown tool.
    bool GetToolButtonPos(int32_t tool, CVector2& pos) const;
    void EnableToolBlinks(bool on) override { _blinks_enabled = on ? 1 : 0; }
    void SetToolButtonVisible(int32_t tool, bool visible);
    void SetToolProgressVisible(int32_t tool, bool visible);

    CLifeIndicator& LifeIndicator() { return _life_indicator; }
    const std::vector<std::shared_ptr<CGameStateIndicator>>& GetIndicators() const { return _indicators; }
    const std::vector<ToolBlinkDesc>& GetBlinkDescs() const { return _blink_desc; }
    // The tool's ring; null for an unknown tool.
    CToolRing* GetRing(int32_t tool);
    // The tool's running blink, or null.
    const CArtefactBlink* GetBlink(int32_t tool) const;

private:
    // Per tool, in the panel's order hammer, egg, feather.
    struct ToolSlot {
        int32_t tool;
        const char* button;
        const char* image;
        const char* progress;
        size_t blink_desc;  // index of the tool's "Blinks/Blink"
    };
    static const std::array<ToolSlot, 3> kSlots;
    // The slot index of a tool; -1 for an unknown tool.
    static int SlotOf(int32_t tool);

    void LoadIndicators();
    void LoadRings();
    void LoadBlinks(const CXMLNode& node);
    void StartToolBlink(int32_t tool);
    CBaseControl* ToolControl(int32_t tool, const char* ToolSlot::*which) const;
    CMenuProgressBar* ToolBar(int32_t tool) const;
    void SetControlVisible(int32_t tool, const char* ToolSlot::*which, bool visible);

    std::vector<std::shared_ptr<CGameStateIndicator>> _indicators;
    CToolRing _hammer_ring, _egg_ring, _feather_ring;
    std::array<CToolRing*, 3> _rings;
    CLifeIndicator _life_indicator;
    std::vector<ToolBlinkDesc> _blink_desc;
    std::array<CCountdown, 3> _countdowns;
    std::array<std::unique_ptr<CArtefactBlink>, 3> _blinks;
    uint8_t _blinks_enabled = 0;
    const IGameStateSource* _source = nullptr;
};
