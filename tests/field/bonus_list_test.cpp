// The bonus list: which bonuses it creates, the slow-down merge, failed
// starts, finishing and dropping ended bonuses, and the configuration read once.
#include <gtest/gtest.h>

#include "bonus_test_support.h"
#include "field/slow_down_bonus2.h"

namespace {

using field_test::BonusTest;
using CellValue = field_test::FakeBonusDataSource::CellValue;

TEST_F(BonusTest, InvalidTypesLogTheWarningAndAddNothing) {
    for (int type : {0, 9}) {
        NewLog();
        EXPECT_EQ(CreateBonus(type), nullptr);
        EXPECT_FALSE(list_.AddBonus(type, Cell(1, 1), false));
        EXPECT_NE(NewLog().find("Warning: Invalid bonus type " + std::to_string(type) + " requested!"),
                  std::string::npos);
    }
    EXPECT_EQ(list_.GetCount(), 0u);
    EXPECT_TRUE(data_.hits.empty());
}

TEST_F(BonusTest, TwoDynamitesAreTwoEntries) {
    EXPECT_TRUE(list_.AddBonus(2, Cell(0, 0), false));
    EXPECT_TRUE(list_.AddBonus(2, Cell(3, 4), false));
    ASSERT_EQ(list_.GetCount(), 2u);
    EXPECT_NE(list_.GetBonuses()[0], list_.GetBonuses()[1]);
    EXPECT_TRUE(list_.IsBonusActive(2));
    EXPECT_FALSE(list_.IsBonusActive(3));
    // Each blasts its own square and plays its sample.
    EXPECT_EQ(explosions_->explosions.size(), 2u);
    EXPECT_EQ(std::count(sounds_->played.begin(), sounds_->played.end(), "dynamite_sample"), 2);
}

TEST_F(BonusTest, TwoSlowDownsMergeIntoOneReactivatedBonus) {
    ASSERT_TRUE(list_.AddBonus(3, Cell(1, 1), false));
    Updates(100);
    ASSERT_TRUE(list_.AddBonus(3, Cell(2, 2), false));
    ASSERT_EQ(list_.GetCount(), 1u);
    const auto* slow = dynamic_cast<const CSlowDownBonus2*>(list_.GetBonuses()[0].get());
    ASSERT_NE(slow, nullptr);
    EXPECT_EQ(slow->GetTicksLeft(), 1300u);
    // The second cell's ball is killed; the rows' pause is not renewed.
    EXPECT_EQ(data_.kills, (std::vector<CellValue> {{Cell(2, 2), 4}}));
    EXPECT_EQ(data_.rows_pauses, std::vector<int> {700});

    Updates(1300);
    EXPECT_TRUE(list_.IsBonusActive(3));
    EXPECT_EQ(data_.free_birds_states, std::vector<bool> {true});
    data_.flags.Set(CFieldFlags::ffCompressDue, 0);
    Updates(1);
    EXPECT_EQ(list_.GetCount(), 0u);
    EXPECT_EQ(data_.free_birds_states, (std::vector<bool> {true, false}));
    EXPECT_EQ(data_.flags.Get(CFieldFlags::ffCompressDue), 1);
}

TEST_F(BonusTest, SlowDownStartsHoldsRowsAndExtendsByTheIntensiveTime) {
    ASSERT_TRUE(list_.AddBonus(3, Cell(1, 1), false));
    EXPECT_EQ(data_.rows_pauses, std::vector<int> {700});
    EXPECT_EQ(data_.hits, (std::vector<CellValue> {{Cell(1, 1), 4}}));
    EXPECT_EQ(sounds_->played, std::vector<std::string> {"slow_sample"});
    ASSERT_TRUE(list_.AddBonus(3, Cell(2, 2), true));
    const auto* slow = dynamic_cast<const CSlowDownBonus2*>(list_.GetBonuses()[0].get());
    EXPECT_EQ(slow->GetTicksLeft(), 1700u);
}

TEST_F(BonusTest, FinishBonusEndsTheSlowDownAtTheNextUpdate) {
    ASSERT_TRUE(list_.AddBonus(3, Cell(1, 1), false));
    ASSERT_TRUE(list_.AddBonus(2, Cell(0, 0), false));
    list_.FinishBonus(3);
    Updates(1);
    EXPECT_FALSE(list_.IsBonusActive(3));
    EXPECT_TRUE(list_.IsBonusActive(2));
    EXPECT_EQ(data_.free_birds_states, (std::vector<bool> {true, false}));
    list_.Clear();
    EXPECT_EQ(list_.GetCount(), 0u);
}

TEST_F(BonusTest, AStartOnAnInvalidCellIsReportedAndNotKept) {
    NewLog();
    EXPECT_FALSE(list_.AddBonus(2, 20, false));
    EXPECT_FALSE(list_.AddBonus(3, -1, false));
    EXPECT_EQ(list_.GetCount(), 0u);
    EXPECT_NE(NewLog().find("Assert failed: 'g_LevelCFG.IsValidCell( cell_index )'"), std::string::npos);
    EXPECT_TRUE(data_.hits.empty());
    EXPECT_TRUE(data_.rows_pauses.empty());
}

TEST_F(BonusTest, TheConfigurationIsParsedOnceAndKept) {
    ASSERT_TRUE(list_.AddBonus(2, Cell(1, 1), false));
    // A changed file is not read again; the parsed one stays in use.
    data_test::WriteBytes("Settings/Bonus.xml", "<Bonuses><Dynamite sample=\"other\"/></Bonuses>");
    ASSERT_TRUE(list_.AddBonus(2, Cell(2, 2), false));
    EXPECT_EQ(sounds_->played, (std::vector<std::string> {"dynamite_sample", "dynamite_sample"}));
}

TEST_F(BonusTest, AMissingFileOrNodeKeepsTheDefaults) {
    data_test::WriteBytes("Settings/Bonus.xml", "<Bonuses/>");
    CBonusConfig::Forget();
    ASSERT_TRUE(list_.AddBonus(3, Cell(1, 1), false));
    EXPECT_TRUE(sounds_->played.empty());
    EXPECT_EQ(data_.rows_pauses, std::vector<int> {700});
    std::filesystem::remove("Settings/Bonus.xml");
    CBonusConfig::Forget();
    ASSERT_TRUE(list_.AddBonus(2, Cell(1, 1), false));
    EXPECT_TRUE(explosions_->explosions.empty());
}

}  // namespace
