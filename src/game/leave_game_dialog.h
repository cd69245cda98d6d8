#pragma once
// The question "leave the game?": "ID_LEAVE" answers 1, "ID_CONCEL" and Esc
// answer 3 (stay).
#include "gui/base_dialog.h"

class CLeaveGameDialog : public CBaseDialog {
public:
    static constexpr int kLeave = 1;
    static constexpr int kStay = 3;

    void OnClick(CBaseControl* control) override;
    void OnKeyDown(int key) override;
};
