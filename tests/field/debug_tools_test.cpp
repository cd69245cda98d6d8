// The field's debug tools on the shipped data: the switches that feed them
// from the balls field, the marker and the printed map, and the log dump of
// a field map.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "balls_test_support.h"
#include "field/ball_state.h"
#include "field/balls_field.h"
#include "field/debug_tools.h"
#include "field/field_flags.h"
#include "field/level_cfg.h"
#include "graphics/font_keeper.h"

namespace {

using DEBUG_GAME::g_DebugMarker;
using DEBUG_GAME::g_DebugPrintMap;

class DebugToolsTest : public field_test::ShippedDataTest {
protected:
    void SetUp() override {
        ShippedDataTest::SetUp();
        // The numbers are written in the language's fonts, which stay loaded
        // for the rest of the run.
        static const bool language = [] {
            CFontKeeper::Instance().SelectLanguage(0);
            return true;
        }();
        (void)language;
        textures_before_ = CTextureManager::Instance().GetCount();
        const std::string level =
            R"(<Level><Config field_pos_x="100" field_pos_y="100"><Field field_width="3" field_height="2"/>
               <Balls><Ball graph_type="1"/><Ball graph_type="2"/></Balls></Config>
               <Balls><Cell x="0" y="0" lock="0"><Ball graph_type="1"/></Cell>
                      <Cell x="2" y="1" lock="0"><Ball graph_type="2"/></Cell></Balls></Level>)";
        g_LevelCFG->LoadLevelFieldConfig(field_test::XmlNode(level));
        balls_ = std::make_unique<CBallsField>(&flags_);
        balls_->LoadConfig(field_test::XmlNode(level));
        balls_->PrepareLevel();
        DEBUG_GAME::CreateDebugTools();
    }
    void TearDown() override {
        DEBUG_GAME::SetDebugDisplay(false);
        DEBUG_GAME::DestroyDebugTools();
        balls_.reset();
        ShippedDataTest::TearDown();
    }
    // One update with a fall from the top-left cell under way.
    void UpdateWithAFall() {
        balls_->StartMoves({{0, 3}});
        balls_->Update();
        ASSERT_FALSE(balls_->NoPendingMoves());
    }
    unsigned QuadsOfOneOverlay() {
        core_->ResetFrameStats();
        DEBUG_GAME::RenderDebugTools();
        return core_->GetQuads();
    }

    CFieldFlags flags_;
    std::unique_ptr<CBallsField> balls_;
};

TEST_F(DebugToolsTest, SwitchedOffTheToolsGetNothingAndDrawNothing) {
    UpdateWithAFall();
    EXPECT_TRUE(g_DebugMarker->GetMarks().empty());
    EXPECT_FALSE(g_DebugMarker->IsArmed());
    EXPECT_FALSE(g_DebugPrintMap->IsArmed());
    EXPECT_EQ(QuadsOfOneOverlay(), 0u);
    balls_->PrepareSequences(std::vector<uint16_t>(6, 0), 0, 0);
    EXPECT_EQ(NewLog().find("ball_inf_v"), std::string::npos);
}

TEST_F(DebugToolsTest, SwitchedOnTheMovesAreMarkedAndTheStatesPrinted) {
    DEBUG_GAME::SetDebugDisplay(true);
    UpdateWithAFall();
    ASSERT_EQ(g_DebugMarker->GetMarks().size(), 2u);
    EXPECT_EQ(g_DebugMarker->GetMarks()[0].color, 0x8000FF00u);
    EXPECT_EQ(g_DebugMarker->GetMarks()[0].pos, CVector2(100, 100));
    EXPECT_EQ(g_DebugMarker->GetMarks()[1].color, 0x80FF0000u);
    EXPECT_EQ(g_DebugMarker->GetMarks()[1].pos, CVector2(100, 136));
    EXPECT_EQ(g_DebugPrintMap->GetMap(), (std::vector<int> {-1, -1, -1, bsMOVE, -1, bsDEFAULT}));
    // The overlay draws both squares and the numbers (one glyph each, two
    // for "-1"), then forgets them; armed, the tools stay quiet until fed
    // again.
    EXPECT_EQ(QuadsOfOneOverlay(), 2u + 4u * 2u + 2u);
    EXPECT_TRUE(g_DebugMarker->GetMarks().empty());
    EXPECT_TRUE(g_DebugPrintMap->GetMap().empty());
    EXPECT_TRUE(g_DebugMarker->IsArmed());
    EXPECT_EQ(QuadsOfOneOverlay(), 0u);
    // The start fill's map goes to the log, both bytes of it.
    balls_->PrepareSequences(std::vector<uint16_t>(6, 0), 0, 0);
    const std::string log = NewLog();
    EXPECT_NE(log.find("ball_inf_v", log.find("ball_inf_v") + 1), std::string::npos);
}

TEST_F(DebugToolsTest, MarkingACellOffTheLevelThrows) {
    try {
        g_DebugMarker->MarkCell(6, 0x80FFFFFF);
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Assertion failed");
    }
    EXPECT_NE(NewLog().find("Assert failed: 'g_LevelCFG.IsValidCell(cell_index)'"), std::string::npos);
    EXPECT_TRUE(g_DebugMarker->GetMarks().empty());
}

TEST_F(DebugToolsTest, WithoutToolsTheSwitchesAreHarmless) {
    DEBUG_GAME::DestroyDebugTools();
    EXPECT_EQ(g_DebugMarker, nullptr);
    EXPECT_EQ(g_DebugPrintMap, nullptr);
    DEBUG_GAME::SetDebugDisplay(true);
    UpdateWithAFall();
    DEBUG_GAME::RenderDebugTools();
}

TEST_F(DebugToolsTest, TheFieldMapDumpShowsOneByteOfEachCellPerRow) {
    const std::vector<uint16_t> map {0x0102, 0x0304, 0x0506, 0x0708, 0x090A, 0x0B0C};
    DEBUG_GAME::DumpFieldMap(map, false);
    DEBUG_GAME::DumpFieldMap(map, true);
    const std::string log = NewLog();
    const std::vector<std::string> in_order {"<hr", " ball_inf_v &field_map ", "> 02 04 06<", "> 08 10 12<",
                                             "<hr", "<hr", "> 01 03 05<", "> 07 09 11<", "<hr"};
    size_t at = 0;
    for (const std::string& text : in_order) {
        SCOPED_TRACE(text);
        const size_t found = log.find(text, at);
        ASSERT_NE(found, std::string::npos);
        at = found + 1;
    }
}

}  // namespace
