#pragma once
// A yes-or-no question (the menu's "start a new game?"): "ID_YES" answers 1,
// "ID_NO" and Esc answer 2. The arrow keys do not move the focus.
#include "gui/base_dialog.h"

class CConfirmationDialog : public CBaseDialog {
public:
    static constexpr int kResultYes = 1;
    static constexpr int kResultNo = 2;

    CConfirmationDialog() : CConfirmationDialog(kResultNo) {}

    void OnClick(CBaseControl* control) override;
    void OnKeyDown(int key) override;

protected:
    // A question whose "no" (and Esc) gives another result.
    explicit CConfirmationDialog(int no_result) : _no_result(no_result) {}

private:
    int _no_result;
};
