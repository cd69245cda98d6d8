#pragma once
// The help and the credits dialogs: pages in the page control "ID_PAGES",
// turned by "ID_FORWARD" and "ID_BACKWARD", whose enabled states follow the
// page; "ID_BACK" answers 3, "ID_CREDITS" (help only) answers 4. Every
// showing starts at the first page. The page control's own page buttons turn
// pages too, so the arrows are also brought up to date when a drawn frame
// finds the page changed.
#include <cstdint>

#include "gui/base_dialog.h"

class CMenuPageControl;

class CHelpDialog : public CBaseDialog {
public:
    static constexpr int kBack = 3;
    static constexpr int kCredits = 4;

    bool Load(const CXMLNode& node) override;
    void Clear() override;
    // Turns to the first page; the result and the focus stay as they are.
    void Activate() override;
    void OnClick(CBaseControl* control) override;
    void Draw(bool skip_update) override;

    // "ID_FORWARD" enabled below the last page, "ID_BACKWARD" above the first.
    void UpdateArrows();

    CMenuPageControl* GetPageControl() const { return _page_control; }

private:
    CMenuPageControl* _page_control = nullptr;
    uint32_t _arrows_page = 0;  // the page the arrows were last set for
};
