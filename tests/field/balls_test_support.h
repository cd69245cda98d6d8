#pragma once
// A small balls field for the tests of the balls, their helpers and the fall
// planner: the engine core (for textures), fresh field globals, a recording
// sound keeper, and in the scratch folder a Settings\Balls.xml, a
// Settings\Bonus.xml with two sprite substrates and a lock table of three
// strengths in Settings\GameCFG.xml. The grid is 4 x 5 cells of 36 px at the
// screen's origin with balls of 36 px, so a ball's top-left is its cell's.
//
// Ball types: 1, 2 (the level gives it score 20; the global one has 99), 3, 4
// (global only), 9 (the special ball, substrate 1 tinted), 11 and 12 (bonus
// types 1 and 2), 21 (a fragment, life -1). The level's palette is 1, 2, 3
// and its bonus types 11 and 12.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/xml_node_list.h"
#include "field/ball_state.h"
#include "field/balls_field.h"
#include "field/field_flags.h"
#include "field/graph_obj.h"
#include "field_test_support.h"
#include "graphics/core_test_support.h"
#include "graphics/plume.h"
#include "graphics/plume_library.h"

namespace field_test {

inline const char* const kTestBallsXml = R"(<Balls>
  <Ball graph_type="1" score="10"/>
  <Ball graph_type="2" score="99"/>
  <Ball graph_type="3" score="10"/>
  <Ball graph_type="4" score="40"><Match graph_type="4, 9"/><ResCredit type="2" amount="3"/></Ball>
  <Ball graph_type="9" score="50"><Substrate id="1" color="FF8090A0"/></Ball>
  <Ball graph_type="11" bonus_type="1"/>
  <Ball graph_type="12" bonus_type="2"/>
  <Ball graph_type="21" life="-1"/>
</Balls>)";

// The level's grid, palette and bonus types; `cells` is put inside the level's
// own "Balls" element and `bonus` replaces the bonus types.
inline std::string TestLevelXml(const std::string& cells = "", int width = 4, int height = 5,
                                const std::string& bonus =
                                    R"(<Bonus graph_type="11" bonus_type="1" range_time="300" range_time_plus_minus="0"/>
       <Bonus graph_type="12" bonus_type="2" range_time="300" range_time_plus_minus="0"/>)") {
    return "<Level><Config field_width=\"" + std::to_string(width) + "\" field_height=\"" + std::to_string(height) +
           R"(" field_pos_x="0" field_pos_y="0"><Balls>
       <Ball graph_type="1"/><Ball graph_type="2" score="20"/><Ball graph_type="3"/>)" +
           bonus + "</Balls></Config><Balls>" + cells + "</Balls></Level>";
}

// The game leaves a level's start fragments out (a fragment is never killed,
// so fragments in a line would match for good). The fixture levels name one
// to have it on the board; this puts it in its cell, resting, as the level's
// goal would bring it in.
inline void PutLevelFragments(CBallsField& balls, const CXMLNode& level) {
    const CXMLNodeList cells = level.SelectNodes("Balls/Cell");
    for (int i = 0; i < cells.GetLength(); ++i) {
        const CXMLNode cell = cells.GetItem(i);
        const int type = cell.SelectSingleNode("Ball").GetAttributeInt("graph_type", 0);
        const BallDesc* desc = balls.FindDesc(type);
        if (!desc || desc->life != -1) continue;
        const int index = g_LevelCFG->PosToCell(cell.GetAttributeInt("x", -1), cell.GetAttributeInt("y", -1));
        balls.CreateBall(index, type);
        balls.SetBallState(index, bsDEFAULT);
    }
}

// An initial ball of the level file.
inline std::string InitialBall(int x, int y, int graph_type, int lock = 0) {
    return "<Cell x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\" lock=\"" + std::to_string(lock) +
           "\"><Ball graph_type=\"" + std::to_string(graph_type) + "\"/></Cell>";
}

class BallsFieldTest : public gfx_test::CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        sounds_ = &InstallRecordingSoundKeeper();
        globals_ = std::make_unique<FieldGlobalsScope>();
        texture_ = TextureFile("ball.tga", gfx_test::SolidTga(8, 8, 0xFFFF0000));
        lock_texture_ = TextureFile("lock.tga", gfx_test::SolidTga(8, 8, 0xFF00FF00));
        data_test::WriteBytes("Settings/Balls.xml", kTestBallsXml);
        data_test::WriteBytes("Settings/Bonus.xml", R"(<Bonuses><Substrates>
            <Substrate id="0"><graphics texture=")" + texture_ + R"(" width="48" height="48"/></Substrate>
            <Substrate id="1"><graphics texture=")" + texture_ + R"(" width="40" height="40"/></Substrate>
          </Substrates></Bonuses>)");
        std::string locks;
        for (int i = 0; i < 3; ++i)
            locks += "<Solidity><graphics texture=\"" + lock_texture_ + "\" width=\"36\" height=\"36\" tex_rect=\"" +
                     std::to_string(i) + " 0 " + std::to_string(i + 1) + " 1\"/></Solidity>";
        data_test::WriteBytes("Settings/GameCFG.xml", "<GameCFG><BallLock>" + locks + "</BallLock></GameCFG>");
        std::string base = "<Base>";
        for (int type : {1, 2, 3, 4, 9, 11, 12, 21})
            base += "<GraphObj graph_type=\"" + std::to_string(type) +
                    "\"><State name=\"DEFAULT\"><Layer><graphics texture=\"" + texture_ +
                    "\" tex_rect=\"0 0 8 8\"/></Layer></State></GraphObj>";
        globals_->LoadBallsBase(base + "</Base>");
        globals_->LoadGameConfig(
            R"(<GameCFG cell_w="36" cell_h="36" ball_w="36" ball_h="36" ball_speed="3" special_graph_type="9"/>)");
        balls_ = std::make_unique<CBallsField>(&flags_);
    }
    void TearDown() override {
        balls_.reset();
        globals_.reset();
        CoreTest::TearDown();
    }

    // Loads the level (geometry and balls) and prepares it.
    void LoadLevel(const std::string& xml) {
        globals_->LoadLevel(xml);
        balls_->LoadConfig(XmlNode(xml));
        balls_->PrepareLevel();
        flags_.ResetAll();
        flags_.Set(CFieldFlags::ffCompressDue, 0);
    }
    int Cell(int x, int y) const { return g_LevelCFG->PosToCell(x, y); }
    // A resting ball of the type in the cell.
    CBall& Put(int cell, int graph_type) {
        balls_->CreateBall(cell, graph_type);
        balls_->SetBallState(cell, bsDEFAULT);
        return Ball(cell);
    }
    CBall& Ball(int cell) const { return const_cast<CBall&>(*balls_->GetBallAt(cell)); }
    int TypeAt(int cell) const {
        const CBall* ball = balls_->GetBallAt(cell);
        return ball ? ball->GetDesc().graph_type : 0;
    }
    CVector2 PosOf(int cell) const {
        const CGraphOBJ* graph = Ball(cell).GetGraphObj();
        return CVector2(graph->GetLeft(0), graph->GetTop(0));
    }
    void Tick(int n = 1) {
        for (int i = 0; i < n; ++i) {
            NextFrame();
            balls_->Update();
        }
    }

    RecordingSoundKeeper* sounds_ = nullptr;
    std::unique_ptr<FieldGlobalsScope> globals_;
    std::string texture_, lock_texture_;
    CFieldFlags flags_;
    std::unique_ptr<CBallsField> balls_;
};

// The shipped data tree as the current directory with the field's globals
// built from it (the engine core up, samples recorded); a particle library
// loaded by a test is released at the end.
class ShippedDataTest : public gfx_test::CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        InstallRecordingSoundKeeper();
        std::filesystem::current_path(VOVARO_DATA_DIR);
        ASSERT_TRUE(InitFieldGlobals());
    }
    void TearDown() override {
        ShutdownFieldGlobals();
        if (Plume::CLibrary::Exists()) CPlume::ReleaseLibrary();
        CoreTest::TearDown();
    }
};

}  // namespace field_test
