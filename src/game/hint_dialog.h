#pragma once
// One hint bubble: a dialog whose optional "ID_ANCHOR" control marks the point
// that must touch the hint's target, closed by "ID_CONTINUE", Space or Enter
// (result 3).
#include "gui/base_dialog.h"

class CHintDialog : public CBaseDialog {
public:
    static constexpr int kClosed = 3;

    // Activates the dialog and moves it so that its anchor lies on (x, y);
    // without an anchor it stays where it was loaded.
    void ShowAt(float x, float y);
    void OnClick(CBaseControl* control) override;
    // Space and Enter close the hint; the arrow keys do nothing here.
    void OnKeyDown(int key) override;
};
