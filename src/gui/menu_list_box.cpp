#include "gui/menu_list_box.h"

#include <algorithm>
#include <stdexcept>

#include "engine/logger.h"
#include "engine/mouse_controller_interface.h"
#include "engine/xml_node.h"
#include "graphics/font_keeper.h"
#include "graphics/textured_rects_list.h"
#include "gui/control_kinds.h"
#include "gui/gui_services.h"
#include "gui/menu_track_bar.h"

namespace {
constexpr const char* kSelectionTexture = "Textures\\Common\\square.tga";
constexpr uint32_t kSelectionColor = 0x666666;
constexpr int kSelectionAlpha = 160;
constexpr uint32_t kGreyColor = 0x808080;
}  // namespace

CMenuListBox::CMenuListBox(CEventHolder* owner) : CBaseControl(owner) {
    _selection_bar = std::make_shared<CTexturedRectsList>();
    _selection_bar->SetTextureByName(kSelectionTexture);
}

CMenuListBox::~CMenuListBox() = default;

bool CMenuListBox::Load(const CXMLNode& node) {
    CBaseControl::Load(node);
    _item_height = node.GetAttributeInt("item_height", _item_height);
    _font_keeper = &CFontKeeper::Instance();
    const ListBoxKind& kind = GetListBoxKind();
    if (kind.has_scroll_bar) {
        _scrollbar = std::make_shared<CMenuTrackBar>(static_cast<CEventHolder*>(this));
        _scrollbar->SetupCodeTrackBar(kind.scroll_bar_rect, kind.scroll_bar_kind);
        _scrollbar->SetPosition(_left + kind.scroll_bar_rect.left, _top + kind.scroll_bar_rect.top);
        _text_inset = static_cast<int32_t>(_scrollbar->GetWidth());
    }
    _items.clear();
    _top_row = 0;
    _total_visible_item = 0;
    return true;
}

void CMenuListBox::CheckIndex(uint32_t index) const {
    if (index >= _items.size()) throw std::out_of_range("ListBox index out of bounds!");
}

const CMenuListBox::Item& CMenuListBox::GetItem(uint32_t index) const {
    CheckIndex(index);
    return _items[index];
}

uint32_t CMenuListBox::RowsThatFit() const {
    if (_item_height <= 0 || _height <= 0) return 0;
    return static_cast<uint32_t>(_height / static_cast<float>(_item_height));
}

void CMenuListBox::UpdateVisibleCount() { _total_visible_item = std::min<uint32_t>(RowsThatFit(), GetItemCount()); }

void CMenuListBox::AddItem(const std::string& text) {
    _items.push_back(Item {text, 0});
    UpdateVisibleCount();
    UpdateScrollRange();
}

void CMenuListBox::UpdateScrollRange() {
    if (!_scrollbar) return;
    // The new range reports the old position, which is no selection; the
    // position set next reports the selection itself.
    _setting_range = true;
    _scrollbar->SetMax(HasRowsToScroll() ? static_cast<int>(_items.size()) - 1 : 0);
    _setting_range = false;
    _scrollbar->SetPosition(HasRowsToScroll() ? static_cast<int>(_selected) : 0);
}

void CMenuListBox::SetItemFlag(uint32_t index, uint8_t grey) {
    CheckIndex(index);
    _items[index].grey = grey;
}

std::string CMenuListBox::GetItemText(uint32_t index) const {
    CheckIndex(index);
    return _items[index].text;
}

void CMenuListBox::CopyItemText(uint32_t index, std::string& out) const {
    CheckIndex(index);
    out = _items[index].text;
}

void CMenuListBox::Clear() {
    _items.clear();
    _selected = 0;
    _top_row = 0;
    _total_visible_item = 0;
    // The scroll bar reports both changes; with no items they select nothing.
    if (_scrollbar) {
        _scrollbar->SetMax(0);
        _scrollbar->SetPosition(0);
    }
    _selection_bar->Clear(50);
}

void CMenuListBox::Select(uint32_t index) {
    if (index >= _items.size()) {
        CLogger::Instance().Log(2, "Error: ListBox index %d out of bounds! Total items - %d", static_cast<int>(index),
                                static_cast<int>(_items.size()));
        return;
    }
    _selected = index;
    EnsureVisible(_selected);
    BuildSelectionBar();
    if (_owner) _owner->OnSelChange(this, static_cast<int32_t>(_selected));
}

void CMenuListBox::SelectAndScroll(uint32_t index) {
    Select(index);
    if (_scrollbar) _scrollbar->SetPosition(HasRowsToScroll() ? static_cast<int>(_selected) : 0);
}

void CMenuListBox::OnValueChanged(CBaseControl* /*control*/) {
    if (!ASSERT(_scrollbar != NULL)) return;
    // An empty list (cleared, or before its first item) has nothing to select.
    if (_items.empty() || _setting_range) return;
    // With every item in view the scroll bar rests at the top and selects
    // nothing: the selection stays (and is told again).
    if (!HasRowsToScroll()) {
        if (_selected < _items.size()) Select(_selected);
        return;
    }
    const int position = _scrollbar->GetPosition();
    if (position < 0) return;
    Select(static_cast<uint32_t>(position));
}

void CMenuListBox::EnsureVisible(uint32_t index) {
    if (_top_row <= index && index < _top_row + _total_visible_item) return;
    _top_row = index;
    if (_top_row + _total_visible_item > _items.size())
        _top_row = static_cast<uint32_t>(_items.size()) - _total_visible_item;
}

void CMenuListBox::BuildSelectionBar() {
    if (_selected >= _items.size()) return;
    const float r = static_cast<float>(static_cast<int64_t>(_selected) - static_cast<int64_t>(_top_row));
    const float h = static_cast<float>(_item_height);
    _selection_bar->Clear(50);
    const int quad = _selection_bar->AddRect(
        CFloatRect(_left + static_cast<float>(_text_inset), _top + r * h - 2, _left + _width, _top + (r + 1) * h - 2),
        CFloatRect(0, 0, 1, 1));
    if (ATexturedRect* q = _selection_bar->GetRect(static_cast<size_t>(quad))) {
        q->SetColor(kSelectionColor, kAllCorners);
        q->SetAlpha(kSelectionAlpha, kAllCorners);
    }
}

void CMenuListBox::Relayout() { BuildSelectionBar(); }

void CMenuListBox::SetPosition(float x, float y) {
    CBaseControl::SetPosition(x, y);
    if (_scrollbar) {
        const ListBoxKind& kind = GetListBoxKind();
        _scrollbar->SetPosition(_left + kind.scroll_bar_rect.left, _top + kind.scroll_bar_rect.top);
    }
}

void CMenuListBox::Update() {
    IMouseController* mouse = gui::Mouse();
    if (!mouse) return;
    // Every press in order where it happened: the second press of a double
    // click reports the row the first one selected.
    for (const MouseButtonEvent& e : gui::LeftButtonEvents()) {
        const float ex = static_cast<float>(e.x), ey = static_cast<float>(e.y);
        if (!e.down || !IsOverRows(ex, ey)) continue;
        SelectRowAt(ey);
        if (e.double_click && _owner) {
            _owner->OnItemClick(this, static_cast<int32_t>(_selected));
            // The owner may have changed the list or closed its dialog.
            return;
        }
    }
    const float x = static_cast<float>(mouse->GetX()), y = static_cast<float>(mouse->GetY());
    if (!IsOverRows(x, y)) return;
    const int wheel = mouse->GetWheel();
    const uint32_t count = GetItemCount();
    if (wheel < 0 && count > 0 && _selected < count - 1) SelectAndScroll(_selected + 1);
    if (wheel > 0 && _selected != 0) SelectAndScroll(_selected - 1);
    if (gui::IsLeftButtonHeld(*mouse)) SelectRowAt(y);
}

bool CMenuListBox::IsOverRows(float x, float y) const {
    return _left + static_cast<float>(_text_inset) < x && x < _left + _width && _top < y && y < _top + _height;
}

void CMenuListBox::SelectRowAt(float y) {
    if (!ASSERT(_item_height != 0)) return;
    const double row = (static_cast<double>(y) - static_cast<double>(_top)) / static_cast<double>(_item_height);
    const int64_t index = static_cast<int64_t>(row + static_cast<double>(_top_row));
    if (index >= 0 && index < static_cast<int64_t>(GetItemCount())) SelectAndScroll(static_cast<uint32_t>(index));
}

void CMenuListBox::Draw(bool skip_update) {
    if (!_visible || _items.empty()) return;
    if (!skip_update) Update();
    // The owner may have emptied the list while it heard the input.
    if (_items.empty()) return;
    _selection_bar->Render();
    if (_scrollbar) _scrollbar->Draw(false);
    ASSERT(_total_visible_item <= _items.size());
    CFontKeeper& keeper = _font_keeper ? *_font_keeper : CFontKeeper::Instance();
    const ListBoxKind& kind = GetListBoxKind();
    for (uint32_t i = 0; i < _total_visible_item; ++i) {
        const uint32_t index = _top_row + i;
        // Never past the items, whatever the owner did to the list.
        if (index >= _items.size()) break;
        const Item& item = _items[index];
        const int x = static_cast<int>(_left + static_cast<float>(_text_inset) + static_cast<float>(kind.item_dis_x));
        const int y = static_cast<int>(_top + static_cast<float>(i) * static_cast<float>(_item_height) +
                                       static_cast<float>(kind.item_dis_y));
        if (_owner_draw == 1) {
            if (_owner) _owner->OnCustomDraw(this, static_cast<int>(index), x, y, item.text, nullptr);
            continue;
        }
        if (item.grey) {
            keeper.EnableStyleOverride(true);
            keeper.SetLabelStyle(keeper.GetLabel(item.text).style);
            keeper.SetStyleColor(kGreyColor);
        } else {
            keeper.EnableStyleOverride(false);
        }
        keeper.PrintLabel(static_cast<float>(x), static_cast<float>(y), item.text);
        keeper.EnableStyleOverride(false);
    }
}
