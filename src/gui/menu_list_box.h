#pragma once
// A vertical list of text rows (type "LISTBOX"), one of them selected, with an
// optional scroll bar (a track bar whose position is the selected index while
// there are more items than rows; with every item in view it rests at the top
// and selects nothing). Each row is a label alias printed through the font
// keeper, or drawn by the owner in owner-draw mode; rows can be greyed.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/noncopyable.h"
#include "gui/base_control.h"
#include "gui/event_holder.h"

class CFontKeeper;
class CMenuTrackBar;
class CTexturedRectsList;

class CMenuListBox : public CBaseControl, public CEventHolder, NonCopyable {
public:
    struct Item {
        std::string text;
        uint8_t grey = 0;
    };

    explicit CMenuListBox(CEventHolder* owner);
    ~CMenuListBox() override;

    void Update() override;
    void Relayout() override;
    void SetPosition(float x, float y) override;
    bool Load(const CXMLNode& node) override;
    // Removes every item; the selection, the top row and the scroll bar start
    // over, so nothing reads past the items.
    void Clear() override;
    void Draw(bool skip_update) override;
    // The scroll bar moved: its position becomes the selection (while there
    // are rows to scroll).
    void OnValueChanged(CBaseControl* control) override;

    void AddItem(const std::string& text);
    // An index at or past the count throws "ListBox index out of bounds!".
    void SetItemFlag(uint32_t index, uint8_t grey);
    std::string GetItemText(uint32_t index) const;
    void CopyItemText(uint32_t index, std::string& out) const;
    uint32_t GetItemCount() const { return static_cast<uint32_t>(_items.size()); }

    // An index at or past the count is logged and changes nothing.
    void Select(uint32_t index);
    // Selects and moves the scroll bar there (which selects once more); with
    // every item in view the scroll bar stays at the top.
    void SelectAndScroll(uint32_t index);
    // Scrolls so that the item is shown; an item below the view becomes the first row.
    void EnsureVisible(uint32_t index);
    void SetItemHeight(int32_t height) { _item_height = height; }
    void SetOwnerDraw(int32_t mode) { _owner_draw = mode; }

    uint32_t GetSelected() const { return _selected; }
    uint32_t GetTopRow() const { return _top_row; }
    uint32_t GetVisibleCount() const { return _total_visible_item; }
    int32_t GetItemHeight() const { return _item_height; }
    int32_t GetTextInset() const { return _text_inset; }
    int32_t GetOwnerDraw() const { return _owner_draw; }
    CMenuTrackBar* GetScrollBar() const { return _scrollbar.get(); }
    CTexturedRectsList* GetSelectionBar() const { return _selection_bar.get(); }
    const Item& GetItem(uint32_t index) const;

private:
    // The point lies on the rows (right of the text inset).
    bool IsOverRows(float x, float y) const;
    // Selects the row at the screen height, when there is one.
    void SelectRowAt(float y);
    void CheckIndex(uint32_t index) const;
    // The rows the box has room for, items or not.
    uint32_t RowsThatFit() const;
    bool HasRowsToScroll() const { return GetItemCount() > RowsThatFit(); }
    void UpdateVisibleCount();
    // The scroll bar's range and position for the items and the selection.
    void UpdateScrollRange();
    void BuildSelectionBar();

    int32_t _owner_draw = 0;
    std::vector<Item> _items;
    uint32_t _selected = 0;
    uint32_t _top_row = 0;
    uint32_t _total_visible_item = 0;
    std::shared_ptr<CMenuTrackBar> _scrollbar;
    int32_t _text_inset = 0;
    int32_t _item_height = 30;
    CFontKeeper* _font_keeper = nullptr;
    std::shared_ptr<CTexturedRectsList> _selection_bar;
    bool _setting_range = false;  // the scroll bar reports a range being set
};
