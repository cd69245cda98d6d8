#pragma once
// The slide of one panel: a dialog coming in and/or a dialog going out, each
// moved by its own slider across the whole screen in one direction, drawn
// only (never updated) while they move.
#include <cstdint>

#include "gui/dialog_slider2.h"

class CBaseDialog;
class CVariables;

class CPanelSlide {
public:
    CPanelSlide() = default;

    // (dx, dy) gives the direction by its signs: the dialog in enters from the
    // opposite side of the screen toward its rest place, the dialog out leaves
    // from its rest place toward that side. Either dialog may be null.
    void Start(CBaseDialog* dialog_in, CBaseDialog* dialog_out, int dx, int dy);
    // Steps and draws both sliders (in, then out); the slide stops moving when
    // both are idle.
    void Update();
    // Stops at once; the sliders keep their state.
    void Stop() { _moving = false; }
    bool IsMoving() const { return _moving; }

    CBaseDialog* GetDialogIn() const { return _dialog_in; }
    CBaseDialog* GetDialogOut() const { return _dialog_out; }
    const CDialogSlider2& GetSliderIn() const { return _slider_in; }
    const CDialogSlider2& GetSliderOut() const { return _slider_out; }

    // The registry that holds the float game variable "m_panel_speed", the
    // pixels a panel moves per frame. The game's configuration registers it
    // at start-up; without it (or without the variable) panels move at once.
    static void SetGameVariables(const CVariables* variables);
    // The speed a slide started now would take.
    static float ReadSpeed();

private:
    CBaseDialog* _dialog_in = nullptr;
    CBaseDialog* _dialog_out = nullptr;
    bool _moving = false;
    CDialogSlider2 _slider_in;
    CDialogSlider2 _slider_out;
};
