#pragma once
// Several pages, each a small dialog of its own controls, one shown at a time
// (type "PAGECONTROL"); an optional row of page buttons switches between them
// (the kind's, unless the control says page_buttons="0").
// The pages' controls report to the dialog that holds the page control; so
// does the page control itself when a page button turns the page.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/noncopyable.h"
#include "gui/base_control.h"
#include "gui/event_holder.h"

class CBaseDialog;
class CMenuButton;

class CMenuPageControl : public CBaseControl, public CEventHolder, NonCopyable {
public:
    struct Page {
        std::shared_ptr<CBaseDialog> dialog;
        std::shared_ptr<CMenuButton> button;
    };

    explicit CMenuPageControl(CEventHolder* owner);
    ~CMenuPageControl() override;

    void Update() override {}
    // Moves the pages and their buttons with the control.
    void SetPosition(float x, float y) override;
    bool Load(const CXMLNode& node) override;
    // Removes every page.
    void Clear() override;
    void Draw(bool skip_update) override;
    // A page button was clicked: its page becomes current and the owner hears
    // OnSelChange(this, page).
    void OnClick(CBaseControl* control) override;

    uint32_t GetPage() const { return _current; }
    uint32_t GetPageCount() const { return static_cast<uint32_t>(_pages.size()); }
    // An index at or past the count is logged and keeps the current page.
    void SetPage(uint32_t index);
    const Page& GetPageAt(uint32_t index) const { return _pages.at(index); }

private:
    std::vector<Page> _pages;
    uint32_t _current = 0;
};
