#pragma once
// "Delete this player?": "ID_YES" answers 1; "ID_NO" answers 3 (the menu's
// answer for no here), and so does Esc, so the question always closes.
#include "frontend/confirmation_dialog.h"

class CProfileDeleteConfirmationDialog : public CConfirmationDialog {
public:
    static constexpr int kResultNo = 3;

    CProfileDeleteConfirmationDialog() : CConfirmationDialog(kResultNo) {}
};
