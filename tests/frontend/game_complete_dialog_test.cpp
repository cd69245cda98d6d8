// The game-complete panel: the sample and the first page on every showing,
// the page arrows kept within the pages and disabled at the ends, a panel
// without pages keeping only the number, and both ways out answering 1.
#include "frontend/game_complete_dialog.h"

#include <gtest/gtest.h>

#include "gui/menu_page_control.h"
#include "menu_test_support.h"

using namespace menu_test;

namespace {

class GameCompleteDialogTest : public MenuTest {
protected:
    static bool Enabled(const CBaseDialog& d, const std::string& id) { return d.FindControl(id)->IsEnabled(); }
    static constexpr const char* kArrows =
        "<Control type='BUTTON' id='ID_BACKWARD' left='0' top='0' width='40' height='40'/>"
        "<Control type='BUTTON' id='ID_FORWARD' left='50' top='0' width='40' height='40'/>";
};

TEST_F(GameCompleteDialogTest, ShowingPlaysTheSampleAndStartsAtTheFirstPage) {
    CGameCompleteDialog d;
    d.Load(DialogNode("GameCompleteDialog"));
    auto* pages = Control<CMenuPageControl>(d, "ID_PAGES");
    ASSERT_EQ(pages->GetPageCount(), 3u);
    d.SetPage(2);
    d.SetResult(1);
    d.Activate();
    EXPECT_EQ(d.GetResult(), 0);
    EXPECT_EQ(d.GetPage(), 0);
    EXPECT_EQ(pages->GetPage(), 0u);
    EXPECT_EQ(sounds->played, (std::vector<std::string> {"congratulations"}));
}

// SetPage through the arrows on the shipped three pages: (page, forward
// enabled, backward enabled) after each click.
TEST_F(GameCompleteDialogTest, ArrowsTurnThePagesWithinTheirRange) {
    CGameCompleteDialog d;
    d.Load(DialogNode("GameCompleteDialog"));
    d.Activate();
    auto* pages = Control<CMenuPageControl>(d, "ID_PAGES");
    EXPECT_TRUE(Enabled(d, "ID_FORWARD"));
    EXPECT_FALSE(Enabled(d, "ID_BACKWARD"));
    struct Step {
        const char* click;
        int page;
        bool forward, backward;
    };
    const Step steps[] = {
        {"ID_FORWARD", 1, true, true},   {"ID_FORWARD", 2, false, true}, {"ID_FORWARD", 2, false, true},
        {"ID_BACKWARD", 1, true, true},  {"ID_BACKWARD", 0, true, false}, {"ID_BACKWARD", 0, true, false},
    };
    for (const Step& s : steps) {
        Click(d, s.click);
        EXPECT_EQ(d.GetPage(), s.page) << s.click;
        EXPECT_EQ(pages->GetPage(), static_cast<uint32_t>(s.page));
        EXPECT_EQ(Enabled(d, "ID_FORWARD"), s.forward);
        EXPECT_EQ(Enabled(d, "ID_BACKWARD"), s.backward);
    }
    d.SetPage(-5);
    EXPECT_EQ(d.GetPage(), 0);
    d.SetPage(99);
    EXPECT_EQ(d.GetPage(), 2);
}

// The tabs of the page control and the arrows turn one page: an arrow goes on
// from the page a tab chose, and the arrows' states follow the tabs.
TEST_F(GameCompleteDialogTest, TabsAndArrowsTurnOnePage) {
    CGameCompleteDialog d;
    d.Load(DialogNode("GameCompleteDialog"));
    d.Activate();
    auto* pages = Control<CMenuPageControl>(d, "ID_PAGES");
    auto tab = [&](uint32_t page) {
        const CBaseControl* b = pages->GetPageAt(page).button.get();
        const int x = static_cast<int>(b->GetX() + b->GetWidth() / 2), y = static_cast<int>(b->GetY() + b->GetHeight() / 2);
        for (bool down : {false, true, false}) {
            MoveTo(x, y);
            Button(down);
            Frame([&] { d.Draw(false); });
        }
    };
    struct Step {
        int tab;            // a tab to click, or -1
        const char* click;  // else an arrow
        int page;
        bool forward, backward;
    };
    const Step steps[] = {
        {-1, "ID_FORWARD", 1, true, true}, {0, nullptr, 0, true, false},  {-1, "ID_FORWARD", 1, true, true},
        {2, nullptr, 2, false, true},      {-1, "ID_BACKWARD", 1, true, true}, {0, nullptr, 0, true, false},
        {1, nullptr, 1, true, true},       {-1, "ID_BACKWARD", 0, true, false},
    };
    for (const Step& s : steps) {
        if (s.tab >= 0)
            tab(static_cast<uint32_t>(s.tab));
        else
            Click(d, s.click);
        const std::string what = s.tab >= 0 ? "tab " + std::to_string(s.tab) : s.click;
        EXPECT_EQ(pages->GetPage(), static_cast<uint32_t>(s.page)) << what;
        EXPECT_EQ(d.GetPage(), s.page) << what;
        EXPECT_EQ(Enabled(d, "ID_FORWARD"), s.forward) << what;
        EXPECT_EQ(Enabled(d, "ID_BACKWARD"), s.backward) << what;
    }
    Button(false);
}

// Without a page control, or with one that has no pages, only the number is
// kept: nothing is turned and the arrows stay as they are.
TEST_F(GameCompleteDialogTest, WithoutPagesOnlyTheNumberIsKept) {
    for (const std::string& pages : {std::string(), std::string("<Control type='PAGECONTROL' id='ID_PAGES' "
                                                               "left='0' top='60' width='200' height='100'/>")}) {
        CGameCompleteDialog d;
        d.Load(Node("<D>" + pages + kArrows + "</D>", "/D"));
        d.Activate();
        Click(d, "ID_FORWARD");
        Click(d, "ID_FORWARD");
        EXPECT_EQ(d.GetPage(), 2);
        Click(d, "ID_BACKWARD");
        EXPECT_EQ(d.GetPage(), 1);
        EXPECT_TRUE(Enabled(d, "ID_FORWARD"));
        EXPECT_TRUE(Enabled(d, "ID_BACKWARD"));
    }
    EXPECT_EQ(NewLog().find("invalid page index"), std::string::npos);
    EXPECT_EQ(NewLog().find("not found in dialog"), std::string::npos);
}

TEST_F(GameCompleteDialogTest, ContinueAndExitBothLeaveForTheMenu) {
    CGameCompleteDialog d;
    d.Load(DialogNode("GameCompleteDialog"));
    for (const char* id : {"ID_CONTINUE", "ID_EXIT"}) {
        d.Activate();
        Click(d, id);
        EXPECT_EQ(d.GetResult(), 1) << id;
    }
}

}  // namespace
