// The track bar: values stepped by its arrows, set by a click or a drag on the
// strip (in floating point, a strip with no room refused), the thumb's place,
// captions per value and a range of zero.
#include <gtest/gtest.h>

#include "gui/base_menu_button.h"
#include "gui/control_factory.h"
#include "gui/menu_track_bar.h"
#include "gui2_test_support.h"

using namespace gui_test;

namespace {

// Shipped kinds: 0 horizontal (arrows 24x24, thumb 16x24), 1 vertical
// (arrows 24x24, thumb 24x16). A bar 264 long leaves a track of 200.
const char* kHorizontal =
    R"(<Control type="TRACKBAR" id="TB" kind="0" left="100" top="100" width="264" height="24"/>)";
const char* kVertical =
    R"(<Control type="TRACKBAR" id="TB" kind="1" left="100" top="100" width="24" height="264"/>)";

class TrackBarTest : public Gui2Test {
protected:
    std::unique_ptr<CMenuTrackBar> Bar(const std::string& xml, int min, int max) {
        auto bar = Make<CMenuTrackBar>(xml, &values);
        EXPECT_NE(bar, nullptr);
        bar->SetMin(min);
        bar->SetMax(max);
        bar->SetPosition(min);
        values.Clear();
        return bar;
    }
    // Presses and releases the left button at (x, y) over two drawn frames.
    void Click(CMenuTrackBar& bar, int x, int y, bool skip_update = false) {
        PointerFrame(x, y, true, [&] { bar.Draw(skip_update); });
        PointerFrame(x, y, false, [&] { bar.Draw(skip_update); });
    }
};

TEST_F(TrackBarTest, KindsAreTheShippedOnes) {
    ASSERT_GE(CMenuTrackBar::GetKinds().size(), 2u);
    const TrackBarKind& h = CMenuTrackBar::GetKinds()[0];
    EXPECT_EQ(h.orientation, 1);
    EXPECT_EQ(h.left_arrow.width, 24);
    EXPECT_EQ(h.thumb.width, 16);
    EXPECT_TRUE(h.has_thumb && h.has_back);
    EXPECT_EQ(CMenuTrackBar::GetKinds()[1].orientation, 0);
    EXPECT_EQ(h.maximum, 100);
}

TEST_F(TrackBarTest, ArrowsStepOncePerPressInsideTheRangeAndAlwaysReport) {
    struct Case {
        int value, step;
        bool right;
        int expected;
    };
    const Case cases[] = {
        {10, 1, true, 10},  // at the maximum: stays, still reported
        {0, 1, false, 0},   // at the minimum
        {5, 1, true, 6},  {5, 1, false, 4}, {8, 3, true, 8},  // 11 would pass the maximum
        {2, 2, false, 0},
    };
    for (const Case& c : cases) {
        auto bar = Bar(kHorizontal, 0, 10);
        bar->SetStep(c.step);
        bar->SetPosition(c.value);
        values.Clear();
        const CBaseMenuButton* arrow = c.right ? bar->GetRightArrow() : bar->GetLeftArrow();
        const int x = static_cast<int>(arrow->GetX() + 12), y = static_cast<int>(arrow->GetY() + 12);
        // Held over three frames: one step only.
        PointerFrame(x, y, true, [&] { bar->Draw(false); });
        PointerFrame(x, y, true, [&] { bar->Draw(false); });
        PointerFrame(x, y, true, [&] { bar->Draw(false); });
        PointerFrame(x, y, false, [&] { bar->Draw(false); });
        EXPECT_EQ(bar->GetPosition(), c.expected) << c.value << (c.right ? " right" : " left");
        EXPECT_EQ(values.Count("value"), 1) << c.value;
        ReleaseAll();
    }
}

TEST_F(TrackBarTest, ArrowsSitAtBothEnds) {
    auto h = Bar(kHorizontal, 0, 4);
    EXPECT_EQ(h->GetLeftArrow()->GetX(), 100);
    EXPECT_EQ(h->GetRightArrow()->GetX(), 340);
    EXPECT_EQ(h->GetRightArrow()->GetY(), 100);
    auto v = Bar(kVertical, 0, 4);
    EXPECT_EQ(v->GetRightArrow()->GetX(), 100);
    EXPECT_EQ(v->GetRightArrow()->GetY(), 340);
    // Moving the control takes the arrows along.
    h->SetPosition(200.0f, 50.0f);
    EXPECT_EQ(h->GetLeftArrow()->GetX(), 200);
    EXPECT_EQ(h->GetRightArrow()->GetX(), 440);
    EXPECT_EQ(h->GetRightArrow()->GetY(), 50);
}

TEST_F(TrackBarTest, ClickOnTheStripJumpsToTheValueUnderTheThumbCentre) {
    // Strip start 124 (left + arrow); the value of a point is taken at the
    // thumb's centre, 8 pixels further.
    struct Case {
        const char* xml;
        int min, max;
        int x, y;
        int expected;
    };
    const Case cases[] = {
        {kHorizontal, 0, 4, 124 + 100 + 8, 110, 2},
        {kHorizontal, 0, 4, 126, 110, 0},             // before the first thumb centre: clamped
        {kHorizontal, 0, 4, 124 + 200 + 8, 110, 4},   // the end of the track
        {kHorizontal, 0, 4, 338, 110, 4},             // past it, still on the strip: clamped
        {kHorizontal, 10, 20, 124 + 50 + 8, 110, 12}, // a quarter of the way: 12.5 truncated
        // More values than pixels: no integer pixels-per-value that could be 0.
        {kHorizontal, 0, 400, 124 + 50 + 8, 110, 100},
        {kVertical, 0, 4, 112, 124 + 100 + 8, 2},
    };
    for (const Case& c : cases) {
        auto bar = Bar(c.xml, c.min, c.max);
        Click(*bar, c.x, c.y);
        EXPECT_EQ(bar->GetPosition(), c.expected) << c.x << "," << c.y << " range " << c.min << ".." << c.max;
        EXPECT_EQ(values.Count("value"), bar->GetPosition() != c.min ? 1 : 0);
        ReleaseAll();
    }
}

TEST_F(TrackBarTest, HoldingTheButtonDragsTheValue) {
    auto bar = Bar(kHorizontal, 0, 4);
    const int start = 124 + 8;
    std::vector<int> values;
    for (int p : {0, 50, 100, 150, 200, 150}) {
        PointerFrame(start + p, 110, true, [&] { bar->Draw(false); });
        values.push_back(bar->GetPosition());
    }
    EXPECT_EQ(values, (std::vector<int> {0, 1, 2, 3, 4, 3}));
    // Up and moved: nothing follows.
    PointerFrame(start + 10, 110, false, [&] { bar->Draw(false); });
    PointerFrame(start + 10, 110, false, [&] { bar->Draw(false); });
    EXPECT_EQ(bar->GetPosition(), 3);
}

TEST_F(TrackBarTest, ThumbFollowsTheValueAndLightsUnderThePointer) {
    auto bar = Bar(kHorizontal, 0, 4);
    bar->SetPosition(2);
    EXPECT_FLOAT_EQ(bar->GetThumbPosition(), 124 + 100);
    bar->SetPosition(4);
    EXPECT_FLOAT_EQ(bar->GetThumbPosition(), 124 + 200);
    PointerFrame(330, 110, false, [&] { bar->Draw(false); });
    EXPECT_TRUE(bar->IsThumbLit());
    PointerFrame(200, 110, false, [&] { bar->Draw(false); });
    EXPECT_FALSE(bar->IsThumbLit());
    // The value setter clamps into the range.
    bar->SetPosition(9);
    EXPECT_EQ(bar->GetPosition(), 4);
    bar->SetPosition(-3);
    EXPECT_EQ(bar->GetPosition(), 0);
}

TEST_F(TrackBarTest, AZeroRangeIgnoresTheStripAndCentresTheThumb) {
    auto bar = Bar(kHorizontal, 3, 3);
    // Middle offset: track / 2 - thumb / 2 = 100 - 8.
    EXPECT_FLOAT_EQ(bar->GetThumbPosition(), 124 + 92);
    Click(*bar, 124 + 150, 110);
    EXPECT_EQ(bar->GetPosition(), 3);
    EXPECT_TRUE(values.events.empty());
}

TEST_F(TrackBarTest, AStripWithNoRoomForTheThumbIsRefused) {
    // 64 = two arrows and the thumb: a track of 0 pixels.
    auto bar = Bar(R"(<Control type="TRACKBAR" id="TB" kind="0" left="100" top="100" width="64" height="24"/>)", 0, 10);
    Click(*bar, 132, 110);
    EXPECT_EQ(bar->GetPosition(), 0);
    EXPECT_TRUE(values.events.empty());
}

TEST_F(TrackBarTest, OnlyTheArrowsReactWhileTheBarIsOnlyDrawn) {
    auto bar = Bar(kHorizontal, 0, 4);
    Click(*bar, 124 + 200 + 8, 110, true);
    EXPECT_EQ(bar->GetPosition(), 0);
    Click(*bar, 352, 112, true);
    EXPECT_EQ(bar->GetPosition(), 1);
}

TEST_F(TrackBarTest, CaptionsNameTheValuesFromTheMinimumUp) {
    auto bar = Make<CMenuTrackBar>(
        R"(<Control type="TRACKBAR" id="TB" left="100" top="100" width="264" height="24">
             <Captions dis_x="280" dis_y="2">
               <Caption text="mission_0"/><Caption text="mission_1"/><Caption text="mission_2"/>
             </Captions>
           </Control>)",
        &values);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->GetKind().caption_offset, CVector2(280, 2));
    bar->SetMin(1);
    bar->SetMax(4);
    const std::pair<int, const char*> cases[] = {{1, "mission_0"}, {3, "mission_2"}, {4, ""}};
    for (const auto& [value, caption] : cases) {
        bar->SetPosition(value);
        EXPECT_EQ(bar->GetCurrentCaption(), caption) << value;
        Frame([&] { bar->Draw(true); });
    }
    bar->AddCaption("mission_3");
    EXPECT_EQ(bar->GetCurrentCaption(), "mission_3");
    EXPECT_EQ(NewLog().find("not found"), std::string::npos);
}

TEST_F(TrackBarTest, SettersReportAndAShrinkingRangeTakesTheValueAlong) {
    auto bar = Bar(kHorizontal, 0, 10);
    bar->SetPosition(8);
    values.Clear();
    bar->SetMax(5);
    EXPECT_EQ(bar->GetPosition(), 5);
    // The thumb stays on the strip: at its far end (left 100 + arrow 24 + track 200).
    EXPECT_FLOAT_EQ(bar->GetThumbPosition(), 324);
    bar->SetMin(1);
    bar->SetStep(2);
    EXPECT_EQ(values.Count("value"), 3);
    EXPECT_EQ(bar->GetPosition(), 5);  // inside the new range: kept
    bar->SetMax(20);
    EXPECT_EQ(bar->GetPosition(), 5);  // a growing range keeps it too
    bar->SetMin(12);
    EXPECT_EQ(bar->GetPosition(), 12);
}

TEST_F(TrackBarTest, OutlandishSizesStayBounded) {
    // A control far wider than any screen is kept to 16384 pixels: its strip
    // of 8-pixel back pieces stays a couple of thousand quads.
    auto wide = Bar(R"(<Control type="TRACKBAR" id="TB" kind="0" left="-2147483648" top="0" width="1000000" height="24"/>)",
                    0, 10);
    EXPECT_EQ(wide->GetX(), -16384);
    EXPECT_EQ(wide->GetWidth(), 16384);
    EXPECT_EQ(wide->GetRenderer()->GetCount(), (16384 - 24) / 8 + 1);  // the back pieces and the thumb
    wide->SetPosition(10);
    EXPECT_FLOAT_EQ(wide->GetThumbPosition(), -16384 + 16384 - 24 - 16);

    // Sizes and margins of a kind are clamped when read.
    UseScratch();
    data_test::WriteBytes("Settings/controls.xml", R"(<Controls><TrackBars><TrackBar>
        <LeftButton width="2147483647" height="-3"/><RightButton width="4"/>
        <Thumb width="8" height="8" mg_left="-2147483648" mg_right="2147483647"/>
        <Back width="1" height="1" mg_left="2147483647" mg_right="2147483647"/></TrackBar></TrackBars></Controls>)");
    ReloadKinds();
    const TrackBarKind& kind = CMenuTrackBar::GetKinds().at(0);
    EXPECT_EQ(kind.left_arrow.width, 4096);
    EXPECT_EQ(kind.left_arrow.height, 0);
    EXPECT_EQ(kind.thumb.mg_left, -4096);
    EXPECT_EQ(kind.back.mg_right, 4096);
    auto bar = Bar(R"(<Control type="TRACKBAR" id="TB" kind="0" width="16384" height="24"/>)", 0, 10);
    // (16384 - 8192 of margins) / 1 = 8192 pieces, cut at 4096, and the thumb.
    EXPECT_EQ(bar->GetRenderer()->GetCount(), 4096 + 1);
}

TEST_F(TrackBarTest, AKindOutsideTheTableIsLoggedAndKindZeroUsed) {
    auto bar = Make<CMenuTrackBar>(R"(<Control type="TRACKBAR" id="TB" kind="9" width="264" height="24"/>)", &values);
    ASSERT_NE(bar, nullptr);
    EXPECT_NE(NewLog().find("track_bar_kind < _kinds_desc.size()"), std::string::npos) << NewLog();
    EXPECT_EQ(bar->GetKind().orientation, 1);
    CMenuTrackBar code(&values);
    code.SetupCodeTrackBar(CFloatRect(0, 0, 24, 200), -1);
    EXPECT_NE(NewLog().find("(size_t)track_bar_kind < _kinds_desc.size()"), std::string::npos);
}

}  // namespace
