// The statistics dialog over the shipped layout: the lines it takes from its
// labels, the line it picks for the time bonus, the lines counting one after
// another, a click that starts them all, the times as text, and the tip.
#include <gtest/gtest.h>

#include "game/int_counter.h"
#include "game/print_string_counter.h"
#include "game/statistics_dialog.h"
#include "game/time_counter.h"
#include "platform/virtual_keys.h"
#include "dialog_test_support.h"

using namespace game_test;
using namespace ComplexCounter;

namespace {

LevelStatistics Figures(int32_t score, int32_t time, int32_t bonus) {
    LevelStatistics s;
    s.score = score;
    s.time = time;
    s.ace_time = 120000;
    s.time_bonus = bonus;
    s.best_time = 65000;
    s.best_player = "Ann";
    return s;
}

class StatisticsDialogTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(dialog.Load(DialogNode("StatisticsDialog")));
    }
    void TearDown() override {
        dialog.Clear();  // its textures go back before the fixture counts them
        DialogTest::TearDown();
    }
    CBaseCounter& Line(size_t i) const { return *dialog.GetGroups().at(i)->GetCounters().at(0); }
    const CValueCounter& Counting(size_t i) const { return dynamic_cast<const CValueCounter&>(Line(i)); }
    void Draw() {
        Frame([&] { dialog.Draw(false); });
    }

    CStatisticsDialog dialog;
};

TEST_F(StatisticsDialogTest, LabelsBecomePlacementsAndLeaveTheDialog) {
    const std::pair<const char*, const char*> lines[] = {
        {"ID_SCORE_I", "Stat_Score"},       {"ID_TIME_S", "Stat_Time"},          {"ID_BEST_TIME_S", "Stat_BestTime"},
        {"ID_ACE_TIME_S", "Stat_AceTime"}, {"ID_NO_TIME_BONUS", "Stat_NoTimeBonus"}, {"ID_BONUS_ACE_TIME_S", "Stat_TimeBonus"}};
    for (const auto& [id, alias] : lines) {
        EXPECT_EQ(dialog.GetPlacement(id).text, alias);
        EXPECT_FALSE(dialog.HasControl(id)) << id;
    }
    EXPECT_EQ(dialog.GetPlacement("ID_SCORE_I").position.x, 320.0f);
    ASSERT_EQ(dialog.GetTips().size(), 8u);
    EXPECT_EQ(dialog.GetTips()[7].text, "Tip_7");
    EXPECT_FALSE(dialog.HasControl("ID_TIPS_0"));
    EXPECT_TRUE(dialog.HasControl("ID_OK"));
    EXPECT_TRUE(dialog.GetPlacement("ID_NOT_THERE").text.empty());
}

TEST_F(StatisticsDialogTest, TimeBonusLineIsACounterOrTheNoBonusLabel) {
    dialog.Show(Figures(1000, 65000, 0));
    ASSERT_EQ(dialog.GetGroups().size(), 5u);
    EXPECT_NE(dynamic_cast<CPrintStringCounter*>(&Line(3)), nullptr);
    EXPECT_EQ(dynamic_cast<const CPrintStringCounter&>(Line(3)).GetText().GetAlias(), "Stat_NoTimeBonus");
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_TRUE(Line(i).IsVisible()) << i;
        EXPECT_FALSE(Line(i).IsStarted()) << i;
    }

    // A second level end builds fresh lines.
    dialog.Show(Figures(1000, 65000, 2200));
    ASSERT_EQ(dialog.GetGroups().size(), 5u);
    ASSERT_NE(dynamic_cast<CIntCounter*>(&Line(3)), nullptr);
    EXPECT_EQ(Counting(3).GetText().GetAlias(), "Stat_TimeBonus");
    EXPECT_EQ(Counting(0).GetValue(), 0);
    EXPECT_NE(dynamic_cast<CTimeCounter*>(&Line(1)), nullptr);
    EXPECT_NE(dynamic_cast<CTimeCounter*>(&Line(2)), nullptr);
}

TEST_F(StatisticsDialogTest, LinesCountOneAfterAnotherAndEndOnTheirTimes) {
    dialog.Show(Figures(1000, 3725000, 0));
    std::vector<int> started(5, 0);
    for (int frame = 1; frame <= 160; ++frame) {
        Draw();
        for (size_t i = 0; i < 5; ++i)
            if (!started[i] && Line(i).IsStarted()) started[i] = frame;
    }
    // Each counting line finishes after 49 of its updates (one step is left,
    // then it snaps); the next starts in the frame after; the no-bonus line is
    // done at once.
    EXPECT_EQ(started, (std::vector<int> {1, 50, 99, 148, 149}));
    EXPECT_EQ(Counting(0).GetValue(), 1000);
    EXPECT_EQ(Counting(1).GetText().GetArgA().GetString(), "1:02:05");
    EXPECT_EQ(Counting(2).GetText().GetArgA().GetString(), "2:00");
    const CStaticText& best = dynamic_cast<const CPrintStringCounter&>(Line(4)).GetText();
    EXPECT_EQ(best.GetArgA().GetString(), "1:05");
    EXPECT_EQ(best.GetArgB().GetString(), "Ann");
    EXPECT_FALSE(sounds->played.empty());
    EXPECT_EQ(sounds->played.front(), "int_label_counter");
}

TEST_F(StatisticsDialogTest, AClickInTheFirstFrameStartsEveryLineWhichStillCountsFiftyUpdates) {
    dialog.Show(Figures(5000, 65000, 2200));
    Button(true);
    Draw();
    Button(false);
    for (size_t i = 0; i < 5; ++i) EXPECT_TRUE(Line(i).IsStarted()) << i;
    // The first line counted in the click's frame, the others from the next.
    for (int frame = 2; frame <= 49; ++frame) Draw();
    EXPECT_LT(Counting(0).GetValue(), 5000);
    Draw();  // frame 50: the first line's 50th update
    EXPECT_EQ(Counting(0).GetValue(), 5000);
    EXPECT_LT(Counting(3).GetValue(), 2200);
    Draw();
    EXPECT_EQ(Counting(1).GetText().GetArgA().GetString(), "1:05");
    EXPECT_EQ(Counting(3).GetValue(), 2200);
}

TEST_F(StatisticsDialogTest, AnswersAndATipFromTheList) {
    dialog.Show(Figures(10, 1000, 0));
    const std::string& tip = dialog.GetTipText().GetAlias();
    EXPECT_EQ(tip.rfind("Tip_", 0), 0u) << tip;
    const std::pair<int, int> keys[] = {{'Y', 1}, {'y', 1}, {'N', 2}, {'n', 2}};
    for (const auto& [key, result] : keys) {
        dialog.SetResult(0);
        dialog.OnKeyDown(key);
        EXPECT_EQ(dialog.GetResult(), result) << char(key);
    }
    dialog.SetResult(0);
    dialog.OnClick(dialog.FindControl("ID_OK"));
    EXPECT_EQ(dialog.GetResult(), 1);
}

TEST(StatisticsDialogWithoutTips, ShowsNoTip) {
    CXMLFile doc;
    doc.Parse("<Dialog><Control type='LABEL' id='ID_SCORE_I' left='10' top='10' caption='Stat_Score'/></Dialog>");
    CStatisticsDialog dialog;
    ASSERT_TRUE(dialog.Load(doc.SelectSingleNode("/Dialog")));
    EXPECT_TRUE(dialog.GetTips().empty());
    dialog.Show(Figures(1, 1, 0));
    EXPECT_TRUE(dialog.GetTipText().GetAlias().empty());
    dialog.Draw(true);
}

}  // namespace
