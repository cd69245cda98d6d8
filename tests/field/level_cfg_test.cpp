// The level geometry: loading the level's keys and converting between cells,
// grid positions and screen points.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "engine/data_test_support.h"
#include "field/level_cfg.h"
#include "field/level_limits.h"
#include "field_test_support.h"

namespace {

class LevelCfgTest : public data_test::ScratchTest {
protected:
    field_test::FieldGlobalsScope globals_;
    CLevelCfg& level_ = *g_LevelCFG;
};

TEST_F(LevelCfgTest, ScreenPointsAndCellsOfAnEightByNineField) {
    globals_.LoadLevel(R"(<Level><Config field_pos_x="100" field_pos_y="100"><Field field_width="8" field_height="9"/></Config></Level>)");
    ASSERT_EQ(level_.GetCellCount(), 72);

    struct Case {
        float x, y;
        int cell;
    };
    const Case cases[] = {
        {100, 100, 0},           {135.9f, 100, 0},          {136, 100, 1},
        {99.9f, 150, CELL_ERROR}, {388, 100, CELL_ERROR},   // column 8 does not exist
        {387.9f, 423.9f, 71},    {100, 424, CELL_ERROR},    // row 9 does not exist
        {1e30f, 100, CELL_ERROR}, {100, std::numeric_limits<float>::quiet_NaN(), CELL_ERROR},
    };
    for (const Case& c : cases) EXPECT_EQ(level_.ScrToCell(c.x, c.y), c.cell) << c.x << "," << c.y;

    float x = 0, y = 0;
    ASSERT_TRUE(level_.CellToScr(9, x, y));
    EXPECT_FLOAT_EQ(x, 136);
    EXPECT_FLOAT_EQ(y, 136);
    ASSERT_TRUE(level_.CellCenterToScr(9, x, y));
    EXPECT_FLOAT_EQ(x, 154);
    EXPECT_FLOAT_EQ(y, 154);

    int column = -5, row = -5;
    ASSERT_TRUE(level_.CellToPos(17, column, row));
    EXPECT_EQ(column, 1);
    EXPECT_EQ(row, 2);
    EXPECT_EQ(level_.PosToCell(1, 2), 17);
    EXPECT_EQ(level_.PosToCell(8, 0), CELL_ERROR);
    EXPECT_EQ(level_.PosToCell(0, 9), CELL_ERROR);
    EXPECT_EQ(level_.PosToCell(-1, 0), CELL_ERROR);

    // Invalid cells: false, outputs untouched.
    EXPECT_FALSE(level_.IsValidCell(CELL_ERROR));
    EXPECT_FALSE(level_.IsValidCell(72));
    EXPECT_TRUE(level_.IsValidCell(71));
    column = row = -5;
    EXPECT_FALSE(level_.CellToPos(CELL_ERROR, column, row));
    EXPECT_EQ(column, -5);
    x = y = -5;
    EXPECT_FALSE(level_.CellToScr(72, x, y));
    EXPECT_FALSE(level_.CellCenterToScr(CELL_ERROR, x, y));
    EXPECT_EQ(x, -5);
}

TEST_F(LevelCfgTest, BeforeAnyLevelEveryCellIsInvalid) {
    EXPECT_EQ(level_.GetCellCount(), 0);
    EXPECT_FALSE(level_.IsValidCell(0));
    EXPECT_EQ(level_.ScrToCell(100, 100), CELL_ERROR);
    EXPECT_EQ(level_.PosToCell(0, 0), CELL_ERROR);
    float x = 0, y = 0;
    EXPECT_FALSE(level_.CellToScr(0, x, y));
}

TEST_F(LevelCfgTest, ACellWidthOfZeroGivesNoCell) {
    globals_.LoadGameConfig(R"(<GameCFG cell_w="0"/>)");
    globals_.LoadLevel(R"(<Level><Config field_width="8" field_height="9"/></Level>)");
    EXPECT_EQ(level_.ScrToCell(100, 100), CELL_ERROR);
    EXPECT_EQ(level_.ScrToCell(500, 300), CELL_ERROR);
}

// The keys come from Config, then Config/Field, then a Field beside Config;
// what a level does not name stays from the one before.
TEST_F(LevelCfgTest, KeysComeFromEveryPlaceOfTheLevelAndCarryOver) {
    globals_.LoadLevel(R"(<Level><Config field_width="8" ace_time="90"/><Field field_height="9"/></Level>)");
    EXPECT_EQ(level_.GetFieldWidth(), 8);
    EXPECT_EQ(level_.GetFieldHeight(), 9);
    EXPECT_EQ(level_.GetCellCount(), 72);

    globals_.LoadLevel(R"(<Level><Config field_width="6" field_pos_x="120"><Field field_width="7" field_height="5"/></Config></Level>)");
    EXPECT_EQ(level_.GetFieldWidth(), 7);  // Config/Field over Config
    EXPECT_EQ(level_.GetCellCount(), 35);
    int value = 0;
    GetLevelCfgInt("ace_time", value);
    EXPECT_EQ(value, 90);
    GetLevelCfgInt("field_pos_x", value);
    EXPECT_EQ(value, 120);
    GetLevelCfgInt("step_generate_special", value);
    EXPECT_EQ(value, 1);

    // Nothing to load: the cache is recomputed from the unchanged registry.
    globals_.LoadLevel("<Level/>");
    EXPECT_EQ(level_.GetCellCount(), 35);
}

// The screen (800 x 600) shows 22 x 16 cells of 36 pixels; a larger field,
// or a negative size, makes no grid.
TEST_F(LevelCfgTest, AFieldLargerThanTheScreenShowsMakesNoGrid) {
    struct Case {
        const char* width;
        const char* height;
        int cells;
    };
    const Case cases[] = {
        {"22", "16", 352}, {"23", "16", 0},  {"22", "17", 0},
        {"-3", "9", 0},    {"1000", "1000", 0}, {"46340", "46340", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.width) + " x " + c.height);
        globals_.LoadLevel(std::string(R"(<Level><Config field_width=")") + c.width + R"(" field_height=")" + c.height +
                           R"("/></Level>)");
        EXPECT_EQ(level_.GetCellCount(), c.cells);
        if (c.cells == 0) {
            EXPECT_EQ(level_.ScrToCell(100, 100), CELL_ERROR);
        }
    }
    EXPECT_NE(NewLog().find("Error: invalid field size 46340 x 46340: the screen shows at most 22 x 16 cells!"),
              std::string::npos);
}

// A position that puts the field (here 9 x 8 cells: 324 x 288 pixels) off
// the screen is moved onto it, with a log line; one on the screen stays.
TEST_F(LevelCfgTest, AFieldPositionOffTheScreenIsMovedOntoIt) {
    struct Case {
        const char* x;
        const char* y;
        int want_x, want_y;
    };
    const Case cases[] = {
        {"100000000", "100", 476, 100}, {"-50", "-2147483648", 0, 0}, {"476", "312", 476, 312},
        {"300", "313", 300, 312},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.x) + ", " + c.y);
        globals_.LoadLevel(std::string(R"(<Level><Config field_width="9" field_height="8" field_pos_x=")") + c.x +
                           R"(" field_pos_y=")" + c.y + R"("/></Level>)");
        int x = 0, y = 0;
        GetLevelCfgInt("field_pos_x", x);
        GetLevelCfgInt("field_pos_y", y);
        EXPECT_EQ(x, c.want_x);
        EXPECT_EQ(y, c.want_y);
        EXPECT_EQ(level_.GetCellCount(), 72);
    }
    const std::string log = NewLog();
    EXPECT_NE(log.find("Warning: field_pos_x 100000000 puts the field off the screen; 476 is used."), std::string::npos);
    EXPECT_EQ(log.find("field_pos_x 476 "), std::string::npos);
}

// The row delay is added to an entry cell's delay and grows with each lost
// life; the ace time is counted in milliseconds. Values beyond their range
// are held to it, with a log line.
TEST_F(LevelCfgTest, RowDelayAndAceTimeAreHeldToTheirRanges) {
    struct Case {
        const char* rows_fall_delay;
        const char* ace_time;
        int want_delay, want_ace;
    };
    const Case cases[] = {
        {"1500", "90", 1500, 90},
        {"2147483000", "2147483647", level_limits::kMaxRowsFallDelay, level_limits::kMaxAceTime},
        {"-5", "-2147483648", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rows_fall_delay);
        globals_.LoadLevel(std::string(R"(<Level><Config field_width="8" field_height="9" rows_fall_delay=")") +
                           c.rows_fall_delay + R"(" ace_time=")" + c.ace_time + R"("/></Level>)");
        int delay = 0, ace = 0;
        GetLevelCfgInt("rows_fall_delay", delay);
        GetLevelCfgInt("ace_time", ace);
        EXPECT_EQ(delay, c.want_delay);
        EXPECT_EQ(ace, c.want_ace);
    }
    const std::string log = NewLog();
    EXPECT_NE(log.find("Error: the level's rows_fall_delay 2147483000 is not 0 to 216000; 216000 is used."),
              std::string::npos)
        << log;
    EXPECT_NE(log.find("Error: the level's ace_time -2147483648 is not 0 to 36000; 0 is used."), std::string::npos);
    EXPECT_EQ(log.find("rows_fall_delay 1500"), std::string::npos);
}

}  // namespace
