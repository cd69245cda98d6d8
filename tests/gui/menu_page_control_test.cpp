// The page control: page buttons in a row, switching pages by their clicks or
// in code, the current page's controls reporting to the dialog that holds the
// page control, and moving it.
#include <gtest/gtest.h>

#include "gui/base_dialog.h"
#include "gui/menu_button.h"
#include "gui/menu_page_control.h"
#include "gui2_test_support.h"

using namespace gui_test;

namespace {

// The shipped kind: page buttons 140x32, captioned by the "Page_" labels.
const char* kPages = R"(<Control type="PAGECONTROL" id="PC" left="100" top="50" width="600" height="400">
  <Page caption="Page_Rules"><Control type="BUTTON" id="B0" left="150" top="200" width="100" height="40"/></Page>
  <Page caption="Page_Bonuses"><Control type="BUTTON" id="B1" left="150" top="200" width="100" height="40"/></Page>
  <Page caption="Page_Tools"/>
</Control>)";

class PageControlTest : public Gui2Test {
protected:
    void Click(CMenuPageControl& pages, int x, int y) {
        PointerFrame(x, y, false, [&] { pages.Draw(true); });
        PointerFrame(x, y, true, [&] { pages.Draw(true); });
        PointerFrame(x, y, false, [&] { pages.Draw(true); });
    }
};

TEST_F(PageControlTest, PageButtonsStandInARowAndSwitchPages) {
    auto pages = Make<CMenuPageControl>(kPages, &values);
    ASSERT_NE(pages, nullptr);
    ASSERT_EQ(pages->GetPageCount(), 3u);
    EXPECT_EQ(pages->GetPage(), 0u);
    const float expected_x[] = {100, 260, 420};
    const char* captions[] = {"Page_Rules", "Page_Bonuses", "Page_Tools"};
    for (uint32_t i = 0; i < 3; ++i) {
        const CMenuButton* b = pages->GetPageAt(i).button.get();
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->GetX(), expected_x[i]);
        EXPECT_EQ(b->GetY(), 50);
        EXPECT_EQ(b->GetWidth(), 140);
        EXPECT_EQ(b->GetHeight(), 32);
        EXPECT_EQ(b->GetCaption(), std::string(captions[i]));
    }
    Click(*pages, 260 + 70, 50 + 16);
    EXPECT_EQ(pages->GetPage(), 1u);
    Click(*pages, 420 + 70, 50 + 16);
    EXPECT_EQ(pages->GetPage(), 2u);
    // The page buttons talk to the page control only; it tells its holder the page.
    EXPECT_EQ(values.Count("click"), 0);
    EXPECT_EQ(values.events, (std::vector<std::string> {"sel 1 PC", "sel 2 PC"}));
}

TEST_F(PageControlTest, PagesTurnedByCodeOnlyHaveNoButtons) {
    std::string xml = kPages;
    xml.replace(xml.find(" left="), 0, " page_buttons=\"0\"");
    auto pages = Make<CMenuPageControl>(xml, &values);
    ASSERT_NE(pages, nullptr);
    ASSERT_EQ(pages->GetPageCount(), 3u);
    for (uint32_t i = 0; i < 3; ++i) EXPECT_EQ(pages->GetPageAt(i).button, nullptr);
    pages->SetPage(2);
    Frame([&] { pages->Draw(false); });
    EXPECT_EQ(pages->GetPage(), 2u);
}

TEST_F(PageControlTest, OnlyTheCurrentPageTakesInputAndReportsToTheHolder) {
    auto pages = Make<CMenuPageControl>(kPages, &values);
    Click(*pages, 200, 220);
    EXPECT_EQ(values.Count("click B0"), 1);
    EXPECT_EQ(values.Count("click B1"), 0);
    pages->SetPage(1);
    values.Clear();
    Click(*pages, 200, 220);
    EXPECT_EQ(values.Count("click B1"), 1);
    EXPECT_EQ(values.Count("click B0"), 0);
}

TEST_F(PageControlTest, APageIndexPastTheCountIsRefused) {
    auto pages = Make<CMenuPageControl>(kPages, &values);
    pages->SetPage(2);
    pages->SetPage(3);
    EXPECT_EQ(pages->GetPage(), 2u);
    EXPECT_NE(NewLog().find("Error: invalid page index: 3! PageCount: 3"), std::string::npos);
}

TEST_F(PageControlTest, WithoutPagesNothingIsDrawn) {
    auto pages = Make<CMenuPageControl>(R"(<Control type="PAGECONTROL" id="PC" left="100" top="50"/>)", &values);
    EXPECT_EQ(pages->GetPageCount(), 0u);
    EXPECT_EQ(pages->GetPage(), 0u);
    core().ResetFrameStats();
    Frame();
    const unsigned bare = core().GetDrawCalls();
    core().ResetFrameStats();
    Frame([&] { pages->Draw(false); });
    EXPECT_EQ(core().GetDrawCalls(), bare);

    auto full = Make<CMenuPageControl>(kPages, &values);
    full->SetPage(2);
    full->Clear();
    EXPECT_EQ(full->GetPageCount(), 0u);
    EXPECT_EQ(full->GetPage(), 0u);
}

TEST_F(PageControlTest, MovingTakesPagesAndButtonsAlong) {
    auto pages = Make<CMenuPageControl>(kPages, &values);
    pages->SetPosition(130.0f, 70.0f);
    EXPECT_EQ(pages->GetX(), 130);
    EXPECT_EQ(pages->GetPageAt(1).button->GetX(), 290);
    EXPECT_EQ(pages->GetPageAt(1).button->GetY(), 70);
    EXPECT_EQ(pages->GetPageAt(0).dialog->FindControl("B0")->GetX(), 180);
    // A second move to the same place moves nothing.
    pages->SetPosition(130.0f, 70.0f);
    EXPECT_EQ(pages->GetPageAt(0).dialog->FindControl("B0")->GetX(), 180);
    EXPECT_EQ(pages->GetPageAt(0).dialog->FindControl("B0")->GetY(), 220);
}

TEST_F(PageControlTest, ADialogLoadsItsPageControlFromXml) {
    CBaseDialog dialog;
    dialog.LoadWithHandler(Node(std::string("<Dialog>") + kPages + "</Dialog>", "//Dialog"), &values);
    auto* pages = dynamic_cast<CMenuPageControl*>(dialog.FindControl("PC"));
    ASSERT_NE(pages, nullptr);
    PointerFrame(200, 220, false, [&] { dialog.Draw(true); });
    PointerFrame(200, 220, true, [&] { dialog.Draw(true); });
    PointerFrame(200, 220, false, [&] { dialog.Draw(true); });
    EXPECT_EQ(values.Count("click B0"), 1);
}

}  // namespace

namespace {

// Clears the page control that holds the clicked control.
class ClearingHolder : public CEventHolder {
public:
    CMenuPageControl* pages = nullptr;
    int clicks = 0;
    void OnClick(CBaseControl*) override {
        ++clicks;
        if (pages) pages->Clear();
    }
};

TEST_F(PageControlTest, AHandlerMayClearThePagesFromAClickOnThem) {
    ClearingHolder holder;
    auto pages = Make<CMenuPageControl>(kPages, &holder);
    holder.pages = pages.get();
    Click(*pages, 200, 220);
    EXPECT_EQ(holder.clicks, 1);
    EXPECT_EQ(pages->GetPageCount(), 0u);
    Click(*pages, 200, 220);
    EXPECT_EQ(holder.clicks, 1);
}

}  // namespace
