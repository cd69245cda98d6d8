#pragma once
// The paged panel the episode selector slides in once the whole game is won:
// a congratulation sample, pages to leaf through, and a way on to the menu.
// Result 1 (continue) is given by "ID_CONTINUE" and by "ID_EXIT" alike.
#include <cstdint>

#include "gui/base_dialog.h"

class CGameCompleteDialog : public CBaseDialog {
public:
    // Starts at the first page with the "congratulations" sample.
    void Activate() override;
    void OnClick(CBaseControl* control) override;
    // The page control's tabs turn the page through here, like the arrows.
    void OnSelChange(CBaseControl* control, int32_t index) override;

    // Turns "ID_PAGES" to the page (kept within its pages) and enables the
    // arrows that lead somewhere. Without pages only the number is kept.
    void SetPage(int32_t page);
    int32_t GetPage() const { return _page; }

private:
    int32_t _page = 0;
};
