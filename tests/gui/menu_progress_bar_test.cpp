// The progress bar: values clamped into the range and run smoothly toward a
// target, the three indicators, the colour and size maps by percentage, the
// top bar on the leading end, an empty range, and moving the bar.
#include <gtest/gtest.h>

#include "graphics/graphics_test_support.h"
#include "gui/base_dialog.h"
#include "gui/menu_progress_bar.h"
#include "gui2_test_support.h"

using namespace gui_test;

namespace {

// Shipped kinds: 0 LINEAR horizontal, a 200x14 fill at (8, 5) with colour
// stages 30, 70 and 100 and a 16x16 top bar; 1 DISCRETE_SINGLE, 14x14 cells
// at (1, 5) in a frame of 8-pixel corners.
const char* kLinear =
    R"(<Control type="PROGRESS_BAR" id="PB" kind="0" left="100" top="200" width="216" height="24"/>)";
const char* kCells =
    R"(<Control type="PROGRESS_BAR" id="PB" kind="1" left="100" top="200" width="216" height="24"/>)";

// Kinds of the test's own: 0 a vertical LINEAR fill with a size-mapped top
// bar, 1 three different pictures, 2 an unknown indicator type.
const char* kKindsFile = R"(<Controls><ProgressBars>
  <ProgressBar orientation="VERTICAL">
    <Indicator type="LINEAR">
      <Discrete dis_x="2" dis_y="3"><graphics texture="Textures\pb.tga" tex_rect="0 0 10 40" width="10" height="40"/></Discrete>
      <TopBar offset_x="1" offset_y="2"><graphics texture="Textures\pb.tga" tex_rect="0 0 8 8" width="8" height="8"/></TopBar>
      <SizeMap><Stage percentage="50" width="10" height="12"/><Stage percentage="100" width="20" height="22"/></SizeMap>
    </Indicator>
  </ProgressBar>
  <ProgressBar>
    <Indicator type="DISCRETE_MULTIPLE">
      <Discrete dis_x="0" dis_y="1"><graphics texture="Textures\pb.tga" tex_rect="0 0 16 16" width="16" height="16"/></Discrete>
      <Discrete dis_x="20" dis_y="1"><graphics texture="Textures\pb.tga" tex_rect="16 0 32 16" width="16" height="16"/></Discrete>
      <Discrete dis_x="40" dis_y="1"><graphics texture="Textures\pb.tga" tex_rect="32 0 48 16" width="16" height="16"/></Discrete>
    </Indicator>
  </ProgressBar>
  <ProgressBar>
    <Indicator type="FANCY">
      <Discrete><graphics texture="Textures\pb.tga" tex_rect="0 0 40 10" width="40" height="10"/></Discrete>
    </Indicator>
  </ProgressBar>
</ProgressBars></Controls>)";

class ProgressBarTest : public Gui2Test {
protected:
    std::unique_ptr<CMenuProgressBar> Bar(const char* xml) {
        auto bar = Make<CMenuProgressBar>(xml, &values);
        EXPECT_NE(bar, nullptr);
        return bar;
    }
    void UseOwnKinds() {
        UseScratch();
        data_test::WriteBytes("Settings/controls.xml", kKindsFile);
        data_test::WriteBytes("Textures/pb.tga", gfx_test::SolidTga(64, 64, 0xFFFFFFFF));
        ReloadKinds();
    }
    static CMenuProgressBar* Code(CMenuProgressBar& bar, int kind, const CFloatRect& rect) {
        bar.setKind(kind, rect);
        return &bar;
    }
};

TEST_F(ProgressBarTest, SmoothRunStepsTowardTheTargetOncePerDrawnFrame) {
    auto bar = Bar(kLinear);
    bar->setSmooth(5);
    bar->setValue(23);
    EXPECT_EQ(bar->getValue(), 0);
    EXPECT_EQ(bar->getTarget(), 23);
    std::vector<int> shown;
    for (int i = 0; i < 6; ++i) {
        Frame([&] { bar->Draw(true); });
        shown.push_back(bar->getValue());
    }
    EXPECT_EQ(shown, (std::vector<int> {5, 10, 15, 20, 23, 23}));

    // Down again, and a value already shown changes nothing mid-run.
    bar->setValue(3);
    Frame([&] { bar->Draw(true); });
    EXPECT_EQ(bar->getValue(), 18);
    bar->setValue(18);
    EXPECT_EQ(bar->getTarget(), 3);
    // Hidden bars do not run.
    bar->SetVisible(false);
    Frame([&] { bar->Draw(true); });
    EXPECT_EQ(bar->getValue(), 18);
}

TEST_F(ProgressBarTest, TheFilesValueStaysShownWhileDrawn) {
    for (int speed : {0, 5}) {
        auto bar = Bar(R"(<Control type="PROGRESS_BAR" id="PB" kind="0" left="100" top="200" width="216"
                                   height="24" min="0" max="100" pos="55"/>)");
        bar->setSmooth(speed);
        for (int i = 0; i < 3; ++i) Frame([&] { bar->Draw(true); });
        EXPECT_EQ(bar->getValue(), 55) << speed;
        EXPECT_EQ(bar->GetIndicatorCount(), 1u) << speed;
    }
}

TEST_F(ProgressBarTest, ValuesAreClampedAndJumpWithoutSmoothing) {
    auto bar = Bar(kLinear);
    bar->setValue(150);
    EXPECT_EQ(bar->getValue(), 100);
    bar->setValue(-5);
    EXPECT_EQ(bar->getValue(), 0);
    bar->setSmooth(10);
    bar->setValueNow(64);
    EXPECT_EQ(bar->getValue(), 64);
    EXPECT_EQ(bar->getTarget(), 64);
}

TEST_F(ProgressBarTest, NewBoundsClampValueAndTarget) {
    auto bar = Bar(kLinear);
    bar->setSmooth(5);
    bar->setValueNow(40);
    bar->setValue(80);  // running toward 80
    bar->setMin(60);
    EXPECT_EQ(bar->getValue(), 60);
    EXPECT_EQ(bar->getTarget(), 80);
    bar->setMin(0);
    bar->setValueNow(90);
    bar->setSmooth(0);
    // A new maximum clamps, then resets to the minimum.
    bar->setMax(50);
    EXPECT_EQ(bar->getMax(), 50);
    EXPECT_EQ(bar->getValue(), 0);
    EXPECT_EQ(bar->getTarget(), 0);
    bar->setSmooth(4);
    bar->setValueNow(30);
    bar->setValue(50);
    bar->setMax(40);  // the run under way ends inside the new range
    EXPECT_LE(bar->getTarget(), 40);
    for (int i = 0; i < 20; ++i) Frame([&] { bar->Draw(true); });
    EXPECT_GE(bar->getValue(), 0);
    EXPECT_LE(bar->getValue(), 40);
}

TEST_F(ProgressBarTest, LinearFillIsCutToTheValue) {
    auto bar = Bar(kLinear);
    bar->setValue(50);
    ASSERT_EQ(bar->GetIndicatorCount(), 1u);
    const C2DObject* fill = bar->GetIndicator(0);
    EXPECT_EQ(fill->GetLeft(), 108);
    EXPECT_EQ(fill->GetTop(), 205);
    EXPECT_EQ(fill->GetWidth(), 100);
    EXPECT_EQ(fill->GetHeight(), 14);
    // The leading end: right edge, half height.
    EXPECT_EQ(bar->getIndicatorPoint(), CVector2(208, 212));

    bar->setValue(0);
    EXPECT_EQ(bar->GetIndicatorCount(), 0u);
    // Without a fill the point comes from the whole first picture.
    EXPECT_EQ(bar->getIndicatorPoint(), CVector2(308, 212));
}

TEST_F(ProgressBarTest, ColourMapTintsByPercentage) {
    auto bar = Bar(kLinear);
    struct Case {
        int value;
        uint32_t color;
    };
    const Case cases[] = {{20, 0xFFFF7050}, {30, 0xFFFF7050}, {31, 0xFFFFD850}, {71, 0xFF78E060}, {100, 0xFF78E060}};
    for (const Case& c : cases) {
        bar->setValue(c.value);
        EXPECT_EQ(bar->getColor(), c.color) << c.value;
        ASSERT_EQ(bar->GetIndicatorCount(), 1u);
        EXPECT_EQ(bar->GetIndicator(0)->GetColor(0), c.color) << c.value;
    }
    // The percentage counts from the minimum: 60 of 50..100 is 20 %.
    bar->setMin(50);
    bar->setValueNow(60);
    EXPECT_EQ(bar->getColor(), 0xFFFF7050);
    bar->setValueNow(100);
    EXPECT_EQ(bar->getColor(), 0xFF78E060);
}

TEST_F(ProgressBarTest, ARangeAwayFromZeroFillsFromItsMinimum) {
    // The shipped LINEAR fill is 200 pixels long.
    auto bar = Bar(R"(<Control type="PROGRESS_BAR" id="PB" kind="0" left="100" top="200" width="216"
                              height="24" min="50" max="150" pos="50"/>)");
    EXPECT_EQ(bar->GetIndicatorCount(), 0u);  // empty at the minimum
    EXPECT_FALSE(bar->IsTopBarShown());
    bar->setValue(100);
    ASSERT_EQ(bar->GetIndicatorCount(), 1u);
    EXPECT_EQ(bar->GetIndicator(0)->GetWidth(), 100);
    bar->setValue(125);
    EXPECT_EQ(bar->GetIndicator(0)->GetWidth(), 150);
    EXPECT_EQ(bar->getIndicatorPoint(), CVector2(258, 212));
    bar->setValue(150);
    EXPECT_EQ(bar->GetIndicator(0)->GetWidth(), 200);

    // A vertical bar of the test's own kinds: 40 pixels high, 20 in a range of 10..40.
    UseOwnKinds();
    CMenuProgressBar tall(&values);
    Code(tall, 0, CFloatRect(300, 100, 320, 150));
    tall.setMax(40);
    tall.setMin(10);
    tall.setValue(20);
    ASSERT_EQ(tall.GetIndicatorCount(), 1u);
    EXPECT_EQ(tall.GetIndicator(0)->GetHeight(), 13);  // trunc(10 x 40 / 30)
    // The size map counts from the minimum too: 33 % takes the 50 stage.
    EXPECT_EQ(tall.GetTopBar()->GetWidth(), 10);
}

TEST_F(ProgressBarTest, TopBarMarksTheLeadingEndBetweenTheBounds) {
    auto bar = Bar(kLinear);
    ASSERT_NE(bar->GetTopBar(), nullptr);
    for (int v : {0, 100}) {
        bar->setValue(v);
        EXPECT_FALSE(bar->IsTopBarShown()) << v;
    }
    bar->setValue(25);
    EXPECT_TRUE(bar->IsTopBarShown());
    const CVector2 point = bar->getIndicatorPoint();
    EXPECT_EQ(point, CVector2(158, 212));
    EXPECT_EQ(bar->GetTopBar()->GetLeft(), point.x - 8);
    EXPECT_EQ(bar->GetTopBar()->GetTop(), point.y - 8);
}

TEST_F(ProgressBarTest, ARangeOfZeroDrawsAnEmptyBar) {
    for (const char* xml : {kLinear, kCells}) {
        auto bar = Bar(xml);
        bar->setValue(50);
        bar->setMax(0);
        EXPECT_EQ(bar->getValue(), 0);
        EXPECT_EQ(bar->GetIndicatorCount(), 0u);
        Frame([&] { bar->Draw(true); });
    }
    EXPECT_NE(NewLog().find("getMax() != getMin()"), std::string::npos);
}

TEST_F(ProgressBarTest, CellsFillTheRowInWholePictures) {
    auto bar = Bar(kCells);
    // Room 216 - 8 - 1 - 8 = 199: half of it holds 7 whole cells of 14.
    bar->setValue(50);
    ASSERT_EQ(bar->GetIndicatorCount(), 7u);
    for (size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(bar->GetIndicator(i)->GetLeft(), 109 + 14 * static_cast<float>(i));
        EXPECT_EQ(bar->GetIndicator(i)->GetTop(), 205);
    }
    bar->setValue(100);
    EXPECT_EQ(bar->GetIndicatorCount(), 14u);
    bar->setValue(6);
    EXPECT_EQ(bar->GetIndicatorCount(), 0u);
}

TEST_F(ProgressBarTest, OutlandishSizesStayBounded) {
    UseScratch();
    data_test::WriteBytes("Settings/controls.xml", R"(<Controls><ProgressBars><ProgressBar>
        <Indicator type="DISCRETE_SINGLE">
          <Discrete dis_x="0" dis_y="-1e30"><graphics texture="Textures\pb.tga" tex_rect="0 0 1 1" width="1" height="1"/></Discrete>
        </Indicator></ProgressBar></ProgressBars></Controls>)");
    data_test::WriteBytes("Textures/pb.tga", gfx_test::SolidTga(4, 4, 0xFFFFFFFF));
    ReloadKinds();
    CMenuProgressBar bar(&values);
    Code(bar, 0, CFloatRect(0, 0, 100000, 10));
    bar.setValue(100);
    // A hundred thousand one-pixel cells would fit: the row is cut at 4096.
    EXPECT_EQ(bar.GetIndicatorCount(), 4096u);
    EXPECT_EQ(bar.GetIndicator(0)->GetTop(), -1e30f);
    bar.setValue(0);
    EXPECT_EQ(bar.GetIndicatorCount(), 0u);
}

TEST_F(ProgressBarTest, DifferentPicturesNeverRunPastTheirNumber) {
    UseOwnKinds();
    CMenuProgressBar bar(&values);
    Code(bar, 1, CFloatRect(10, 20, 70, 40));
    struct Case {
        int max, value;
        size_t shown;
    };
    const Case cases[] = {
        {9, 3, 1}, {9, 8, 2}, {9, 9, 3},
        {8, 8, 3},  // 8 / (8 div 3) would be 4
        {2, 1, 1}, {2, 2, 3},  // fewer values than pictures: no division by 0
        {3, 0, 0},
    };
    for (const Case& c : cases) {
        bar.setMax(c.max);
        bar.setValue(c.value);
        EXPECT_EQ(bar.GetIndicatorCount(), c.shown) << c.value << " of " << c.max;
    }
    bar.setMax(9);
    bar.setValue(6);
    ASSERT_EQ(bar.GetIndicatorCount(), 2u);
    EXPECT_EQ(bar.GetIndicator(1)->GetLeft(), 30);
    EXPECT_EQ(bar.GetIndicator(1)->GetTop(), 21);
}

TEST_F(ProgressBarTest, VerticalFillRisesFromTheBottomAndTheTopBarTakesMappedSizes) {
    UseOwnKinds();
    CMenuProgressBar bar(&values);
    Code(bar, 0, CFloatRect(300, 100, 320, 150));
    bar.setValue(25);
    ASSERT_EQ(bar.GetIndicatorCount(), 1u);
    const C2DObject* fill = bar.GetIndicator(0);
    // A quarter of 40: 10 pixels at the bottom of the picture's place.
    EXPECT_EQ(fill->GetTop(), 100 + 40 - 10 + 3);
    EXPECT_EQ(fill->GetHeight(), 10);
    EXPECT_EQ(fill->GetLeft(), 302);
    // The leading end of a vertical bar: its top edge, half way across.
    EXPECT_EQ(bar.getIndicatorPoint(), CVector2(307, 133));
    ASSERT_NE(bar.GetTopBar(), nullptr);
    EXPECT_EQ(bar.GetTopBar()->GetWidth(), 10);
    EXPECT_EQ(bar.GetTopBar()->GetHeight(), 12);
    bar.setValue(75);
    EXPECT_EQ(bar.GetTopBar()->GetWidth(), 20);
    EXPECT_EQ(bar.GetTopBar()->GetHeight(), 22);

    // Drawn through the device: the fill's rows are lit, the rows above are not.
    Frame([&] { bar.Draw(true); }, 0xFF000000);
    const auto px = ReadBack();
    EXPECT_EQ(At(px, 305, 140) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(At(px, 305, 101) & 0xFFFFFF, 0u);
}

TEST_F(ProgressBarTest, MovingTheBarKeepsItsPicturesInPlace) {
    auto bar = Bar(kLinear);
    bar->setValue(50);
    bar->SetPosition(150.0f, 260.0f);
    ASSERT_EQ(bar->GetIndicatorCount(), 1u);
    EXPECT_EQ(bar->GetIndicator(0)->GetLeft(), 158);
    EXPECT_EQ(bar->GetIndicator(0)->GetTop(), 265);
    EXPECT_EQ(bar->GetTopBar()->GetLeft(), 150 + 8 + 100 - 8);
    ASSERT_GT(bar->GetBack()->GetCount(), 0);
    bar->setValue(60);
    EXPECT_EQ(bar->GetIndicator(0)->GetLeft(), 158);
}

TEST_F(ProgressBarTest, BadKindsAreReportedAndKindZeroUsed) {
    UseOwnKinds();
    EXPECT_EQ(CMenuProgressBar::GetKinds().at(2).indicator.type, ProgressBarKind::itLinear);
    EXPECT_NE(NewLog().find("Warning: Unknown progressbar indicator type 'FANCY'!"), std::string::npos);
    for (int kind : {3, -1}) {
        CMenuProgressBar bar(&values);
        bar.setKind(kind, CFloatRect(0, 0, 10, 10));
        EXPECT_NE(NewLog().find("Invalid progressbar kind!"), std::string::npos) << kind;
        EXPECT_EQ(bar.GetKind().orientation, 0) << kind;  // kind 0 is the vertical one
    }

    // In a dialog the bar with the bad kind is built with kind 0 and the
    // controls after it are still made.
    CBaseDialog dialog;
    ASSERT_TRUE(dialog.Load(Node(R"(<Dialog>
        <Control type="PROGRESS_BAR" id="Bad" kind="7" width="20" height="50"/>
        <Control type="PROGRESS_BAR" id="Good" kind="1" width="60" height="20"/></Dialog>)",
                                 "/Dialog")));
    ASSERT_EQ(dialog.GetControlCount(), 2u);
    EXPECT_EQ(static_cast<CMenuProgressBar*>(dialog.GetControl(0))->GetKind().orientation, 0);
    EXPECT_EQ(dialog.GetControl(1)->GetId(), "Good");
    EXPECT_NE(NewLog().find("Invalid progressbar kind!"), std::string::npos);

    // No kinds at all: an empty kind, logged, and a bar that draws nothing.
    data_test::WriteBytes("Settings/controls.xml", "<Controls/>");
    ReloadKinds();
    CMenuProgressBar empty(&values);
    empty.setKind(0, CFloatRect(0, 0, 10, 10));
    empty.setValue(40);
    EXPECT_EQ(empty.GetIndicatorCount(), 0u);
    EXPECT_NE(NewLog().find("Error: No progress bar kinds in 'Settings\\controls.xml', an empty kind is used!"),
              std::string::npos);
    Frame([&] { empty.Draw(false); });
}

}  // namespace
