#include "gui/menu_page_control.h"

#include "engine/logger.h"
#include "engine/xml_node.h"
#include "engine/xml_node_list.h"
#include "gui/base_dialog.h"
#include "gui/control_kinds.h"
#include "gui/menu_button.h"

namespace {
constexpr float kPageButtonGap = 20;
}  // namespace

CMenuPageControl::CMenuPageControl(CEventHolder* owner) : CBaseControl(owner) {}

CMenuPageControl::~CMenuPageControl() = default;

bool CMenuPageControl::Load(const CXMLNode& node) {
    CBaseControl::Load(node);
    const PageControlKind& kind = GetPageControlKind();
    // "page_buttons" 0: the pages are turned by code only (no row of buttons).
    const bool page_buttons = kind.has_page_buttons && node.GetAttributeBool("page_buttons", true);
    const CXMLNodeList pages = node.SelectNodes("Page");
    _pages.reserve(_pages.size() + static_cast<size_t>(pages.GetLength()));
    for (int i = 0; i < pages.GetLength(); ++i) {
        const CXMLNode page_node = pages.GetItem(i);
        Page page;
        page.dialog = std::make_shared<CBaseDialog>();
        page.dialog->LoadWithHandler(page_node, _owner);
        if (page_buttons) {
            page.button = std::make_shared<CMenuButton>(static_cast<CEventHolder*>(this));
            const float w = static_cast<float>(kind.button_width), h = static_cast<float>(kind.button_height);
            page.button->SetupCodeButton(static_cast<float>(static_cast<int>(_left + (w + kPageButtonGap) * static_cast<float>(i))),
                                         static_cast<float>(static_cast<int>(_top)), w, h,
                                         page_node.GetAttribute("caption", ""));
        }
        _pages.push_back(std::move(page));
    }
    _current = 0;
    return true;
}

void CMenuPageControl::SetPage(uint32_t index) {
    if (index >= _pages.size()) {
        CLogger::Instance().Log(2, "Error: invalid page index: %d! PageCount: %d", static_cast<int>(index),
                                static_cast<int>(_pages.size()));
        return;
    }
    _current = index;
}

void CMenuPageControl::OnClick(CBaseControl* control) {
    for (size_t i = 0; i < _pages.size(); ++i) {
        if (_pages[i].button && _pages[i].button.get() == control) {
            SetPage(static_cast<uint32_t>(i));
            // The holder keeps its own page state (arrows) in step with the tabs.
            if (_owner) _owner->OnSelChange(this, static_cast<int32_t>(i));
            return;
        }
    }
}

void CMenuPageControl::SetPosition(float x, float y) {
    const float dx = x - _left, dy = y - _top;
    for (const Page& page : _pages) {
        page.dialog->Move(dx, dy);
        if (page.button) page.button->SetPosition(page.button->GetX() + dx, page.button->GetY() + dy);
    }
    CBaseControl::SetPosition(x, y);
}

void CMenuPageControl::Clear() {
    _pages.clear();
    _current = 0;
}

void CMenuPageControl::Draw(bool skip_update) {
    if (!skip_update) Update();
    if (!_visible) return;
    // The current page and the page buttons take input even when the page
    // control's own dialog only draws.
    // Each page is held while it draws: a handler may clear the pages from a click.
    if (_current < _pages.size()) {
        const std::shared_ptr<CBaseDialog> page = _pages[_current].dialog;
        page->Draw(false);
    }
    for (size_t i = 0; i < _pages.size(); ++i) {
        const std::shared_ptr<CMenuButton> button = _pages[i].button;
        if (button) button->Draw(false);
    }
}
