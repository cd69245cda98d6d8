#include <gtest/gtest.h>

#include "profiles/difficulty_table.h"
#include "temp_folder.h"

namespace {

TEST(DifficultyTable, LoadsLevelsWithDefaultsAndFallsBackToEasy) {
    TempFolder folder;
    folder.EnterData();
    CDifficultyTable table;

    table.LoadDifficulty();  // no file
    ASSERT_EQ(table.GetCount(), 1u);
    EXPECT_EQ(table.GetLevel(0).name, "easy");
    EXPECT_FLOAT_EQ(table.GetLevel(0).score_factor, 1.0f);

    TempFolder::Write(folder.Data() / "Settings" / "Difficulty.xml",
                      "<Difficulty><Level name=\"soft\" score_factor=\"0.5\"/><Level/></Difficulty>");
    table.LoadDifficulty();
    table.LoadDifficulty();  // loading again does not add to the list
    ASSERT_EQ(table.GetCount(), 2u);
    EXPECT_EQ(table.GetLevel(0).name, "soft");
    EXPECT_FLOAT_EQ(table.GetLevel(0).score_factor, 0.5f);
    EXPECT_FLOAT_EQ(table.GetLevel(0).enemy_health_factor, 1.0f);
    EXPECT_EQ(table.GetLevel(1).name, "error");

    TempFolder::Write(folder.Data() / "Settings" / "Difficulty.xml", "<Difficulty><Level name=");
    table.LoadDifficulty();  // does not parse
    ASSERT_EQ(table.GetCount(), 1u);
    EXPECT_EQ(table.GetLevel(0).name, "easy");

    TempFolder::Write(folder.Data() / "Settings" / "Difficulty.xml", "<Difficulty/>");
    table.LoadDifficulty();  // no levels: the setting still has one to index
    ASSERT_EQ(table.GetCount(), 1u);
    EXPECT_EQ(table.GetLevel(0).name, "easy");

    EXPECT_EQ(CreateDifficultyTable(), CreateDifficultyTable());
}

TEST(DifficultyTable, ShippedLevelsAreEasyNormalHard) {
    TempFolder folder;
    std::filesystem::current_path(std::filesystem::path(VOVARO_SOURCE_DIR) / "data");
    CDifficultyTable table;
    table.LoadDifficulty();
    ASSERT_EQ(table.GetCount(), 3u);
    EXPECT_EQ(table.GetLevel(0).name, "easy");
    EXPECT_EQ(table.GetLevel(1).name, "normal");
    EXPECT_EQ(table.GetLevel(2).name, "hard");
}

}  // namespace
