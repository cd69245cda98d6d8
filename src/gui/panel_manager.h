#pragma once
// The panels of one scene: dialogs that slide onto and off the screen. The
// manager knows which panel is active (the only one that takes keys and
// updates its controls), which panel each one came from, how a panel answers
// an event by opening another, and which samples sound when panels open or
// close; it draws every panel that is shown or still moving.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/vector2.h"
#include "gui/panel_slide.h"
#include "gui/sample_queue.h"

class CBaseDialog;

class CPanelManager {
public:
    CPanelManager() = default;

    // A null or already registered dialog is ignored. With restore_previous,
    // hiding this panel gives the activity back to the panel that was active
    // when it was shown.
    void AddPanel(CBaseDialog* dialog, uint8_t restore_previous);
    bool SetPanelDirections(CBaseDialog* dialog, const CVector2& show_direction, const CVector2& hide_direction);
    bool SetPanelSounds(CBaseDialog* dialog, const std::string& show_sample, const std::string& hide_sample);
    void SetMute(uint8_t mute) { _mute = mute; }
    bool AddTransition(CBaseDialog* source, CBaseDialog* target, int32_t event, uint8_t hide_source,
                       const CVector2& direction);
    bool RemoveTransition(CBaseDialog* source, int32_t event);
    void RemovePanel(CBaseDialog* dialog);
    // Shows the target, then (when the transition says so) hides the source
    // in the transition's direction.
    bool FireTransition(CBaseDialog* source, int32_t event);
    bool FireActiveTransition(int32_t event);
    // Shows (slides in, activates, brings to the top) or hides (slides out in
    // `hide_direction`, or the panel's own hide direction when null) a panel.
    void ShowPanel(CBaseDialog* dialog, bool show, const CVector2* hide_direction = nullptr);
    // Once a frame: plays the queued samples and draws every panel that is
    // visible or moving, in list order.
    void Render();
    // Only the active panel, once settled, hears keys.
    void OnKeyDown(uint16_t key);
    void SetActivePanel(CBaseDialog* dialog);
    bool IsActivePanel(CBaseDialog* dialog) const;
    CBaseDialog* GetActivePanel() const { return _active; }
    // Visible, or its slide still moving.
    bool IsShown(CBaseDialog* dialog) const;
    // Visible and settled.
    bool IsReady(CBaseDialog* dialog) const;
    bool IsAnyPanelShown() const;
    // Everything hidden at once, without motion or sound; no active panel.
    void Reset();

    bool IsMuted() const { return _mute != 0; }
    const CSampleQueue& GetSampleQueue() const { return _queue; }
    // The registered dialogs in drawing order (the last on top).
    std::vector<CBaseDialog*> GetPanelOrder() const;
    // The panel that gets the activity back when `dialog` hides; null when none.
    CBaseDialog* GetPreviousPanel(CBaseDialog* dialog) const;
    const CPanelSlide* GetSlide(CBaseDialog* dialog) const;

private:
    struct Transition {
        int32_t event = 0;
        uint8_t hide_source = 0;
        CBaseDialog* target = nullptr;
        CVector2 direction;
    };
    struct Panel {
        CBaseDialog* dialog = nullptr;
        CBaseDialog* previous = nullptr;
        std::shared_ptr<CPanelSlide> slide;
        std::vector<Transition> transitions;
        uint8_t visible = 0;
        uint8_t restore_previous = 0;
        CVector2 show_direction;
        CVector2 hide_direction;
        std::string show_sample;
        std::string hide_sample;
    };

    Panel* FindPanel(const CBaseDialog* dialog);
    const Panel* FindPanel(const CBaseDialog* dialog) const;
    bool HasPanel(const CBaseDialog* dialog) const { return FindPanel(dialog) != nullptr; }
    static Transition* FindTransition(Panel& panel, int32_t event);
    static bool HasTransition(Panel& panel, int32_t event) { return FindTransition(panel, event) != nullptr; }
    void Show(CBaseDialog* dialog);
    // The visible panels beneath a visible panel that was opened over them
    // (directly or through a chain of such panels): they are not drawn.
    void FindCoveredPanels(std::vector<CBaseDialog*>& covered) const;
    void Hide(CBaseDialog* dialog, const CVector2* direction);

    std::vector<Panel> _panels;
    CBaseDialog* _active = nullptr;
    CSampleQueue _queue;
    uint8_t _mute = 0;
    // The drawing order of the frame under way: a panel drawn (and updated)
    // may show or hide panels, which reorders the list.
    std::vector<CBaseDialog*> _render_order;
    std::vector<CBaseDialog*> _covered;  // kept between frames, as the order is
};
