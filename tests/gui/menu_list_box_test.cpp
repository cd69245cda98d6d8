// The list box: visible rows, scrolling a selection into view, selection by
// click, drag, wheel and scroll bar, item clicks, the re-entrant path of
// select-and-scroll, the selection bar, owner-drawn rows, and Clear.
#include <gtest/gtest.h>

#include "graphics/textured_rects_list.h"
#include "gui/menu_list_box.h"
#include "gui/menu_track_bar.h"
#include "gui2_test_support.h"

using namespace gui_test;

namespace {

// Three rows of 30 in a box 100 high; the shipped kind puts a vertical scroll
// bar 24 wide (240 high) at the box's left and indents the rows past it.
const char* kList =
    R"(<Control type="LISTBOX" id="LB" left="100" top="100" width="300" height="100" item_height="30"/>)";

class ListBoxTest : public Gui2Test {
protected:
    std::unique_ptr<CMenuListBox> List(int items, const char* xml = kList) {
        auto list = Make<CMenuListBox>(xml, &values);
        EXPECT_NE(list, nullptr);
        for (int i = 0; i < items; ++i) list->AddItem("mission_" + std::to_string(i % 10));
        values.Clear();
        return list;
    }
    void Draw(CMenuListBox& list, int x, int y, bool down) {
        PointerFrame(x, y, down, [&] { list.Draw(false); });
    }
};

TEST_F(ListBoxTest, ShowsAsManyRowsAsFitButNoMoreThanItems) {
    EXPECT_EQ(List(2)->GetVisibleCount(), 2u);
    EXPECT_EQ(List(5)->GetVisibleCount(), 3u);
    auto list = List(5);
    EXPECT_EQ(list->GetTextInset(), 24);
    EXPECT_EQ(list->GetScrollBar()->GetMax(), 4);
    EXPECT_EQ(list->GetScrollBar()->GetX(), 100);
}

TEST_F(ListBoxTest, SelectingScrollsTheItemIntoView) {
    struct Case {
        uint32_t from_top_of;  // selected first, to set the top row
        uint32_t select;
        uint32_t top;
    };
    const Case cases[] = {
        {0, 7, 7},  // below the view: it becomes the first row
        {0, 9, 7},  // not past the end: count - rows
        {9, 8, 7},  // already shown
        {9, 2, 2},  // above the view
        {0, 2, 0},
    };
    for (const Case& c : cases) {
        auto list = List(10);
        list->Select(c.from_top_of);
        values.Clear();
        list->Select(c.select);
        EXPECT_EQ(list->GetTopRow(), c.top) << c.from_top_of << " -> " << c.select;
        EXPECT_EQ(list->GetSelected(), c.select);
        EXPECT_EQ(values.events, (std::vector<std::string> {"sel " + std::to_string(c.select) + " LB"}));
    }
}

TEST_F(ListBoxTest, AnIndexOutOfRangeIsRefused) {
    auto list = List(10);
    list->Select(4);
    values.Clear();
    list->Select(10);
    EXPECT_NE(NewLog().find("Error: ListBox index 10 out of bounds! Total items - 10"), std::string::npos);
    EXPECT_EQ(list->GetSelected(), 4u);
    EXPECT_TRUE(values.events.empty());
    EXPECT_THROW(list->GetItemText(10), std::out_of_range);
    std::string text;
    EXPECT_THROW(list->CopyItemText(11, text), std::out_of_range);
    EXPECT_THROW(list->SetItemFlag(10, 1), std::out_of_range);
    list->CopyItemText(3, text);
    EXPECT_EQ(text, "mission_3");
}

TEST_F(ListBoxTest, SelectionBarSpansTheRowTwoPixelsHigh) {
    auto list = List(10);
    list->Select(8);  // top 7: the second row
    CTexturedRectsList* bar = list->GetSelectionBar();
    ASSERT_EQ(bar->GetCount(), 1);
    const ATexturedRect* q = bar->GetRect(0);
    EXPECT_EQ(q->GetRect(), CFloatRect(124, 100 + 30 - 2, 400, 100 + 60 - 2));
    EXPECT_EQ(q->GetColor(0) & 0xFFFFFF, 0x666666u);
    EXPECT_EQ(q->GetAlpha(0), 160);
}

TEST_F(ListBoxTest, PointerSelectsRowsAndDragsTheSelection) {
    auto list = List(10);
    list->Select(7);  // top 7
    values.Clear();
    Draw(*list, 200, 100 + 45, true);  // the second row
    EXPECT_EQ(list->GetSelected(), 8u);
    Draw(*list, 200, 100 + 75, true);  // dragged to the third
    EXPECT_EQ(list->GetSelected(), 9u);
    Draw(*list, 200, 100 + 75, false);
    // The rows begin right of the scroll bar's column (edges are outside).
    Draw(*list, 124, 100 + 15, true);
    Draw(*list, 124, 100 + 15, false);
    EXPECT_EQ(list->GetSelected(), 9u);

    // A short list: a click below its last item selects nothing.
    auto short_list = List(2);
    Draw(*short_list, 200, 100 + 75, true);
    Draw(*short_list, 200, 100 + 75, false);
    EXPECT_EQ(short_list->GetSelected(), 0u);
    EXPECT_EQ(values.Count("sel"), 0);
}

TEST_F(ListBoxTest, WheelStepsTheSelectionButNotPastEitherEnd) {
    auto list = List(3);
    auto wheel = [&](int notches) {
        window()->InjectWheel(notches);
        Draw(*list, 200, 130, false);
    };
    wheel(-1);
    EXPECT_EQ(list->GetSelected(), 1u);
    wheel(-1);
    wheel(-1);  // at the last item
    EXPECT_EQ(list->GetSelected(), 2u);
    wheel(1);
    wheel(1);
    wheel(1);  // at the first
    EXPECT_EQ(list->GetSelected(), 0u);
    // Each step is a select and a scroll: the owner hears it twice.
    EXPECT_EQ(values.Count("sel"), 8);
}

TEST_F(ListBoxTest, DoubleClickReportsTheItemItSelected) {
    auto list = List(5);
    Draw(*list, 200, 100 + 45, true);
    Draw(*list, 200, 100 + 45, false);
    Draw(*list, 200, 100 + 45, true);
    // The item the clicks selected, however many polls count as the double click.
    EXPECT_GE(values.Count("item"), 1);
    EXPECT_EQ(values.Count("item"), values.Count("item 1 LB"));
    EXPECT_EQ(values.events.back(), "item 1 LB");
    Draw(*list, 200, 100 + 45, false);
}

TEST_F(ListBoxTest, SelectAndScrollSelectsAgainThroughTheScrollBar) {
    auto list = List(10);
    list->SelectAndScroll(6);
    EXPECT_EQ(values.events, (std::vector<std::string> {"sel 6 LB", "sel 6 LB"}));
    EXPECT_EQ(list->GetScrollBar()->GetPosition(), 6);

    // An owner that answers a selection by selecting again (skipping item 3):
    // the nested calls end with list, scroll bar and view in agreement.
    values.Clear();
    CMenuListBox* raw = list.get();
    values.on_sel = [raw](int32_t index) {
        if (index == 3) raw->SelectAndScroll(4);
    };
    list->SelectAndScroll(3);
    values.on_sel = nullptr;
    EXPECT_EQ(list->GetSelected(), 4u);
    EXPECT_EQ(list->GetScrollBar()->GetPosition(), 4);
    EXPECT_EQ(list->GetTopRow(), 3u);
    EXPECT_EQ(values.events.front(), "sel 3 LB");
    EXPECT_EQ(values.events.back(), "sel 4 LB");
    EXPECT_LE(values.events.size(), 5u);
}

TEST_F(ListBoxTest, TheScrollBarSelects) {
    auto list = List(10);
    CMenuTrackBar* bar = list->GetScrollBar();
    // The end of its strip (height 240: arrows 24, thumb 16, track 176).
    Draw(*list, 112, 100 + 24 + 8 + 176, true);
    Draw(*list, 112, 100 + 24 + 8 + 176, false);
    EXPECT_EQ(bar->GetPosition(), 9);
    EXPECT_EQ(list->GetSelected(), 9u);
    EXPECT_EQ(list->GetTopRow(), 7u);
}

TEST_F(ListBoxTest, ClearStartsTheViewAndTheScrollBarOver) {
    auto list = List(10);
    list->SelectAndScroll(9);
    ASSERT_EQ(list->GetTopRow(), 7u);
    list->Clear();
    EXPECT_EQ(list->GetItemCount(), 0u);
    EXPECT_EQ(list->GetTopRow(), 0u);
    EXPECT_EQ(list->GetVisibleCount(), 0u);
    EXPECT_EQ(list->GetScrollBar()->GetPosition(), 0);
    list->AddItem("mission_0");
    list->AddItem("mission_1");
    EXPECT_EQ(list->GetTopRow(), 0u);
    EXPECT_EQ(list->GetScrollBar()->GetMax(), 0);  // both in view: nothing to scroll
    list->SetOwnerDraw(1);
    values.Clear();
    Frame([&] { list->Draw(true); });
    // Both rows, never one past the items.
    EXPECT_EQ(values.events, (std::vector<std::string> {"draw 0 132,102 mission_0 LB", "draw 1 132,132 mission_1 LB"}));
    EXPECT_EQ(NewLog().find("Assert failed"), std::string::npos) << NewLog();
    EXPECT_EQ(NewLog().find("out of bounds"), std::string::npos) << NewLog();
}

// With every item in view the scroll bar has nothing to scroll: its thumb
// rests at the top of the strip whichever item is selected; with one item
// more it follows the selection again.
TEST_F(ListBoxTest, WithEveryItemInViewTheThumbRestsAtTheTop) {
    auto scrolled = List(10);
    const float top = scrolled->GetScrollBar()->GetThumbPosition();
    scrolled->SelectAndScroll(9);
    const float bottom = scrolled->GetScrollBar()->GetThumbPosition();
    ASSERT_GT(bottom, top + 100);
    for (int items = 1; items <= 3; ++items) {
        auto list = List(items);
        for (int i = 0; i < items; ++i) {
            list->SelectAndScroll(static_cast<uint32_t>(i));
            EXPECT_EQ(list->GetSelected(), static_cast<uint32_t>(i)) << items;
            EXPECT_EQ(list->GetScrollBar()->GetPosition(), 0) << items;
            EXPECT_EQ(list->GetScrollBar()->GetThumbPosition(), top) << items << " items, item " << i;
        }
        // Its arrows leave the selection where it is.
        list->GetScrollBar()->OnMouseDown(list->GetScrollBar()->GetRightArrow());
        EXPECT_EQ(list->GetSelected(), static_cast<uint32_t>(items - 1));
    }
    // A fourth item needs scrolling: the bar takes the selection's place.
    auto list = List(3);
    list->SelectAndScroll(2);
    list->AddItem("mission_3");
    EXPECT_EQ(list->GetSelected(), 2u);
    EXPECT_EQ(list->GetScrollBar()->GetMax(), 3);
    EXPECT_EQ(list->GetScrollBar()->GetPosition(), 2);
    list->SelectAndScroll(3);
    EXPECT_EQ(list->GetScrollBar()->GetThumbPosition(), bottom);
}

TEST_F(ListBoxTest, OwnerDrawsVisibleRowsAtTheirPlaces) {
    auto list = List(10);
    list->Select(9);
    list->SetOwnerDraw(1);
    values.Clear();
    Frame([&] { list->Draw(true); });
    EXPECT_EQ(values.events, (std::vector<std::string> {"draw 7 132,102 mission_7 LB", "draw 8 132,132 mission_8 LB",
                                                        "draw 9 132,162 mission_9 LB"}));
}

TEST_F(ListBoxTest, AnEmptyListDrawsNothing) {
    auto list = List(0);
    core().ResetFrameStats();
    Frame();
    const unsigned bare = core().GetDrawCalls();
    core().ResetFrameStats();
    Frame([&] { list->Draw(false); });
    EXPECT_EQ(core().GetDrawCalls(), bare);
    list->AddItem("mission_0");
    core().ResetFrameStats();
    Frame([&] { list->Draw(false); });
    EXPECT_GT(core().GetDrawCalls(), bare);
}

TEST_F(ListBoxTest, GreyItemsPrintInGrey) {
    auto list = List(2);
    list->SetItemFlag(1, 1);
    EXPECT_EQ(list->GetItem(1).grey, 1);
    Frame([&] { list->Draw(true); }, 0xFF000000);
    const auto px = ReadBack();
    // The brightest pixel of each row's text: the grey row has no channel above 0x80.
    auto brightest = [&](int row) {
        int best = 0;
        for (int y = 100 + row * 30; y < 100 + (row + 1) * 30 - 2; ++y)
            for (int x = 132; x < 400; ++x) {
                const uint32_t p = At(px, x, y);
                best = std::max({best, int((p >> 16) & 0xFF), int((p >> 8) & 0xFF), int(p & 0xFF)});
            }
        return best;
    };
    EXPECT_GT(brightest(1), 0x40);
    EXPECT_LE(brightest(1), 0x80);
    EXPECT_GT(brightest(0), 0x80);
}

}  // namespace
