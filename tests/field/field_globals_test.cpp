// The field's start-up: every global built from the data files in order,
// the panel slides given the configured speed, and a missing or broken file
// reported with nothing left half built.
#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <string>

#include "engine/data_test_support.h"
#include "field/animation_cache.h"
#include "field/field_globals.h"
#include "field/game_cfg.h"
#include "field/graph_obj_manager.h"
#include "field/level_cfg.h"
#include "field_test_support.h"
#include "gui/panel_slide.h"

namespace {

namespace fs = std::filesystem;

const char* const kBase = R"(<Base><GraphObj graph_type="1"><State name="DEFAULT"><sound file="bll_dead"/></State></GraphObj></Base>)";

class FieldGlobalsTest : public data_test::ScratchTest {
protected:
    void SetUp() override {
        ScratchTest::SetUp();
        sounds_ = &field_test::InstallRecordingSoundKeeper();
    }
    void TearDown() override {
        ShutdownFieldGlobals();
        ScratchTest::TearDown();
    }
    void WriteTree() {
        data_test::WriteBytes("Settings/Bases/Balls.XML", kBase);
        data_test::WriteBytes("Settings/Bases/Tiles.XML", kBase);
        data_test::WriteBytes("Settings/GameCFG.xml", R"(<GameCFG m_panel_speed="12.5" cell_w="40"/>)");
    }
    static bool NoneBuilt() {
        return !g_AnimationCache && !g_BallsGraphBase && !g_TilesGraphBase && !g_GameCFG && !g_LevelCFG;
    }
    field_test::RecordingSoundKeeper* sounds_ = nullptr;
};

TEST_F(FieldGlobalsTest, TheShippedDataTreeStartsTheField) {
    fs::current_path(VOVARO_DATA_DIR);
    ASSERT_TRUE(InitFieldGlobals());
    fs::current_path(dir_);
    ASSERT_TRUE(g_AnimationCache && g_BallsGraphBase && g_TilesGraphBase && g_GameCFG && g_LevelCFG);
    EXPECT_GE(g_BallsGraphBase->GetGraphTypeCount(), 8u);
    EXPECT_GE(g_TilesGraphBase->GetGraphTypeCount(), 1u);
    EXPECT_GT(sounds_->CountLoaded("bll_dead"), 0);

    const std::string log = NewLog();
    const size_t balls = log.find("Graph base 'Settings\\Bases\\Balls.XML' loaded");
    const size_t tiles = log.find("Graph base 'Settings\\Bases\\Tiles.XML' loaded");
    const size_t config = log.find("Game configuration 'Settings\\GameCFG.xml' loaded.");
    ASSERT_NE(balls, std::string::npos) << log;
    ASSERT_NE(tiles, std::string::npos);
    ASSERT_NE(config, std::string::npos);
    EXPECT_LT(balls, tiles);
    EXPECT_LT(tiles, config);
    EXPECT_EQ(log.find("Error"), std::string::npos) << log;
}

TEST_F(FieldGlobalsTest, BuildsInOrderAndTheSlidesTakeTheConfiguredSpeed) {
    WriteTree();
    const float before = CPanelSlide::ReadSpeed();
    ASSERT_TRUE(InitFieldGlobals());
    EXPECT_FLOAT_EQ(g_GameCFG->GetCellWidth(), 40.0f);  // loaded, not only registered
    EXPECT_FLOAT_EQ(CPanelSlide::ReadSpeed(), 12.5f);
    // The level geometry converts with the game configuration's cell size.
    g_LevelCFG->LoadLevelFieldConfig(field_test::XmlNode(R"(<Level><Config field_width="2" field_height="2"/></Level>)"));
    EXPECT_EQ(g_LevelCFG->ScrToCell(141, 100), 1);

    // A second start-up builds afresh.
    g_LevelCFG->Set("ace_time", 5);
    ASSERT_TRUE(InitFieldGlobals());
    EXPECT_EQ(g_LevelCFG->GetInt("ace_time"), 60);

    ShutdownFieldGlobals();
    EXPECT_TRUE(NoneBuilt());
    EXPECT_EQ(CPanelSlide::ReadSpeed(), before);
    ShutdownFieldGlobals();  // harmless twice
}

TEST_F(FieldGlobalsTest, AMissingBrokenOrEmptyFileStopsTheStartUp) {
    struct Case {
        const char* file;
        const char* content;  // null: the file is missing
        const char* line;
    };
    const Case cases[] = {
        {"Settings/Bases/Balls.XML", nullptr, "Error: Failed to open XML file 'Settings\\Bases\\Balls.XML'!"},
        {"Settings/Bases/Tiles.XML", "<Base><GraphObj", "Error: Parse error"},
        {"Settings/Bases/Tiles.XML", "<Base/>", "Error: Graph base 'Settings\\Bases\\Tiles.XML' holds no graph types!"},
        {"Settings/GameCFG.xml", nullptr, "Error: Failed to open XML file 'Settings\\GameCFG.xml'!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        WriteTree();
        if (c.content)
            data_test::WriteBytes(c.file, c.content);
        else
            fs::remove(c.file);
        const size_t mark = data_test::ReadLog().size();
        EXPECT_FALSE(InitFieldGlobals());
        EXPECT_TRUE(NoneBuilt());
        const std::string log = data_test::ReadLog().substr(mark);
        EXPECT_NE(log.find(c.line), std::string::npos) << log;
        EXPECT_NE(log.find("(InitFieldGlobals)"), std::string::npos) << log;
        EXPECT_NE(log.find("Error: The field's data could not be loaded, the game cannot start!"), std::string::npos);
    }
}

}  // namespace
