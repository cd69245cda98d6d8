// The field from the player's side on the shipped data: the search for
// swaps that make a line, the marker of an available move, the hover frame
// and the hint source.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "balls_test_support.h"
#include "drawn_field.h"
#include "fake_game_scene_link.h"
#include "field/available_move.h"
#include "field/ball_state.h"
#include "field/balls_field.h"
#include "field/field_flags.h"
#include "field/game_field.h"
#include "field/hint_info.h"
#include "field/level_cfg.h"
#include "field/mouse_over_marker.h"
#include "field/tiles_field.h"

namespace {

// A level drawn as rows of symbols: '.' an empty cell, '1'..'8' a ball of
// that kind, 'A' a locked ball of kind 5, 'S' a ball of kind 4 with a lock of
// two hits, 'F' a fragment, 'D' a dynamite bonus ball. `tiles` (optional, the
// same size) puts puzzle layers under cells: 'p' one, 'P' two.
std::string DrawnLevel(const std::vector<std::string>& rows, const std::vector<std::string>& tiles = {}) {
    std::string cells, balls;
    for (int y = 0; y < field_test::DrawnHeight(rows); ++y)
        for (int x = 0; x < field_test::DrawnWidth(rows); ++x) {
            const std::string at = "x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\"";
            const char tile = tiles.empty() ? '.' : tiles[static_cast<size_t>(y)][static_cast<size_t>(x)];
            cells += "<Cell " + at + "><Group tile=\"1\"/>" + (tile == 'p' || tile == 'P' ? "<Group tile=\"2\"/>" : "") +
                     (tile == 'P' ? "<Group tile=\"2\"/>" : "") + "</Cell>";
            const char symbol = rows[static_cast<size_t>(y)][static_cast<size_t>(x)];
            int type = 0, lock = 0;
            if (symbol >= '1' && symbol <= '8') type = symbol - '0';
            if (symbol == 'A') type = 5, lock = 1;
            if (symbol == 'S') type = 4, lock = 2;
            if (symbol == 'F') type = 21;
            if (symbol == 'D') type = 12;
            if (type)
                balls += "<Cell " + at + " lock=\"" + std::to_string(lock) + "\"><Ball graph_type=\"" +
                         std::to_string(type) + "\"/></Cell>";
        }
    return R"(<Level><Config field_pos_x="100" field_pos_y="100" rows_to_fall_at_start="0"><State/><Balls>
        <Ball graph_type="1"><ResCredit type="1" amount="1"/></Ball><Ball graph_type="2"><ResCredit type="2" amount="1"/></Ball>
        <Ball graph_type="3"><ResCredit type="3" amount="1"/></Ball><Ball graph_type="4"/><Ball graph_type="5"/></Balls>
        <Field field_width=")" +
           std::to_string(field_test::DrawnWidth(rows)) + "\" field_height=\"" +
           std::to_string(field_test::DrawnHeight(rows)) + "\">" + cells + "</Field></Config><Balls>" + balls +
           "</Balls></Level>";
}

class GameFieldHintsTest : public field_test::ShippedDataTest {
protected:
    void SetUp() override {
        ShippedDataTest::SetUp();
        scene_ = std::make_unique<field_test::FakeGameSceneLink>();
        field_ = std::make_unique<CGameField>();
    }
    void TearDown() override {
        field_.reset();
        scene_.reset();
        ShippedDataTest::TearDown();
    }
    // Loads the drawn level; its balls rest and the board is still.
    void Load(const std::vector<std::string>& rows, const std::vector<std::string>& tiles = {}) {
        field_->ClearLevel();
        ASSERT_TRUE(field_->LoadConfig(field_test::XmlNode(DrawnLevel(rows, tiles), "/Level")));
        field_test::PutLevelFragments(*field_->GetBallsField(), field_test::XmlNode(DrawnLevel(rows, tiles), "/Level"));
        field_->GetTilesField()->Build();
        field_->GetFieldFlags()->Set(CFieldFlags::ffCompressDue, 0);
    }
    int Cell(int x, int y) const { return g_LevelCFG->PosToCell(x, y); }
    CVector2 Centre(int cell) const {
        CVector2 c;
        g_LevelCFG->CellCenterToScr(cell, c.x, c.y);
        return c;
    }
    std::vector<MoveRecord> Moves() {
        std::vector<MoveRecord> moves {{99, 99}};  // the search empties the list first
        const bool any = field_->FindAvailableMoves(moves);
        EXPECT_EQ(any, !moves.empty());
        return moves;
    }
    // The cell a hint points at, -1 when it has no target.
    int HintCell(int id, bool wait = false) {
        HintInfo hint;
        hint.id = id;
        hint.wait_time_out = wait;
        CVector2 point;
        if (!field_->GetHintSource(hint, point)) return -1;
        return g_LevelCFG->ScrToCell(point.x, point.y);
    }

    std::unique_ptr<field_test::FakeGameSceneLink> scene_;
    std::unique_ptr<CGameField> field_;
};

TEST_F(GameFieldHintsTest, AvailableMoves) {
    struct Case {
        const char* name;
        std::vector<std::string> rows;
        std::vector<MoveRecord> moves;  // in search order
    };
    const Case cases[] = {
        {"only locked and fragment balls: none", {"AA.A", "FF.F", "AFAF"}, {}},
        // Swapping the 2 and the last 5 makes a line only at the 2's cell:
        // the move is found from the 5's cell.
        {"found from the other cell", {"5525", "...."}, {{3, 2}}},
        {"locked balls extend a line", {"AA25", "...."}, {{3, 2}}},
        {"a line never runs on into the next row", {"..11", "21.."}, {}},
        {"a vertical line", {"1.", "1.", "21"}, {{5, 4}}},
        {"a swap across rows", {"112", "..1"}, {{5, 2}}},
        {"no line anywhere", {"1212", "3434"}, {}},
        {"moves in search order", {"1121", "3343"}, {{3, 2}, {7, 6}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load(c.rows);
        EXPECT_EQ(Moves(), c.moves);
    }
}

TEST_F(GameFieldHintsTest, BallsThatCannotMatchNeverCompleteALine) {
    // The first ball of the row is dying: the swap would leave two alike
    // balls that can stay, no line.
    Load({"1121", "...."});
    field_->SetBallState(Cell(0, 0), bsDYING);
    EXPECT_EQ(Moves(), (std::vector<MoveRecord> {}));
    // A ball on its way neither moves nor completes a line.
    Load({"1121", "...."});
    field_->SetBallState(Cell(3, 0), bsMOVE);
    EXPECT_EQ(Moves(), (std::vector<MoveRecord> {}));
}

TEST_F(GameFieldHintsTest, HintTargets) {
    struct Case {
        int id;
        int episode;
        std::vector<int> cells;  // any of them; empty: no target
    };
    // A locked 5, a strong-locked 4, a fragment, a dynamite ball; kinds 1, 2
    // and 3 charge the hammer, the feather and the egg; puzzle layers under
    // the 1 (one) and the 2 (two).
    const std::vector<std::string> rows {"ASFD", "1234"};
    const std::vector<std::string> tiles {"....", "pP.."};
    const Case cases[] = {
        {1, 0, {4, 5}},  {2, 0, {5}}, {3, 0, {0, 1}}, {4, 0, {1}}, {5, 0, {2}}, {6, 0, {}},   {100, 0, {3}},
        {101, 0, {}},    {102, 0, {}}, {103, 0, {}},  {301, 0, {5}}, {303, 0, {4}}, {304, 0, {}}, {304, 1, {5}},
        {305, 1, {}},    {305, 2, {6}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "hint " << c.id << " in episode " << c.episode);
        Load(rows, tiles);
        scene_->episode = c.episode;
        const int cell = HintCell(c.id);
        if (c.cells.empty())
            EXPECT_EQ(cell, -1);
        else
            EXPECT_TRUE(std::count(c.cells.begin(), c.cells.end(), cell)) << cell;
    }
}

TEST_F(GameFieldHintsTest, ToolHintsPointAtAvailableButtons) {
    Load({"12", "34"});
    scene_->available[2] = true;
    HintInfo hint;
    CVector2 point;
    for (int id : {200, 202}) {
        hint.id = id;
        EXPECT_FALSE(field_->GetHintSource(hint, point)) << id;
    }
    // The button is a target even where a box would not fit around it.
    hint.id = 201;
    hint.bounds = CFloatRect(0, 0, 5000, 5000);
    ASSERT_TRUE(field_->GetHintSource(hint, point));
    EXPECT_EQ(point, CVector2(200, 50));
}

TEST_F(GameFieldHintsTest, TheMoveHintShowsTheMoveItPointsAt) {
    Load({"1121", "3343"});
    HintInfo hint;
    CVector2 point;
    ASSERT_TRUE(field_->GetHintSource(hint, point));
    ASSERT_TRUE(field_->IsAvailableMoveShown());
    const int from = g_LevelCFG->ScrToCell(point.x, point.y);
    EXPECT_TRUE(from == 3 || from == 7) << from;
    field_->HideAvailableMove();
    EXPECT_FALSE(field_->IsAvailableMoveShown());
    // No move, no target.
    Load({"1212", "3434"});
    EXPECT_FALSE(field_->GetHintSource(hint, point));
}

TEST_F(GameFieldHintsTest, UnknownIdsAreLogged) {
    Load({"12", "34"});
    for (int id : {7, 99, 104, 203, 300, 302, 306}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(HintCell(id), -1);
        EXPECT_NE(NewLog().find("Unknown hint id: " + std::to_string(id)), std::string::npos);
    }
}

TEST_F(GameFieldHintsTest, NoTargetWhileTheFieldIsNotStill) {
    Load({"A2", "34"});
    ASSERT_EQ(HintCell(3), 0);
    scene_->state = gsPause;
    EXPECT_EQ(HintCell(3), -1);
    scene_->state = gsDefault;
    field_->GetFieldFlags()->Set(CFieldFlags::ffCompressDue, 1);
    EXPECT_EQ(HintCell(3), -1);
    field_->GetFieldFlags()->Set(CFieldFlags::ffCompressDue, 0);
    // The episode's opening message comes first.
    field_->SetShowBeginEpisode(true);
    EXPECT_EQ(HintCell(3), -1);
    field_->SetShowBeginEpisode(false);
    ASSERT_EQ(HintCell(3), 0);
    // A ball scaling out is busy.
    field_->ScaleOutBall(Cell(1, 1));
    EXPECT_EQ(HintCell(3), -1);
    // So is the field while a ball falls.
    Load({"A2", "3."});
    ASSERT_EQ(HintCell(3), 0);
    field_->GetBallsField()->StartMoves({{Cell(0, 1), Cell(1, 1)}});
    EXPECT_EQ(HintCell(3), -1);
    // Even an unknown id is not looked at while the field moves.
    EXPECT_EQ(HintCell(7), -1);
    EXPECT_EQ(NewLog().find("Unknown hint id"), std::string::npos);
}

TEST_F(GameFieldHintsTest, AHintRestartsTheHintDelay) {
    Load({"A2", "34"});
    // No hint was given yet: a waiting hint is due at once.
    ASSERT_EQ(HintCell(3, true), 0);
    // Now the delay runs (7 s in the shipped configuration).
    EXPECT_EQ(HintCell(3, true), -1);
    EXPECT_EQ(HintCell(3, false), 0);
}

TEST_F(GameFieldHintsTest, TheHintBoxMustFitOnTheScreen) {
    Load({"A2", "34"});
    HintInfo hint;
    hint.id = 3;
    CVector2 point;
    // A box of 100 x 50 whose anchor is the middle of its bottom edge fits
    // above the cell.
    hint.bounds = CFloatRect(0, 0, 100, 50);
    hint.anchor = CVector2(50, 50);
    ASSERT_TRUE(field_->GetHintSource(hint, point));
    EXPECT_EQ(point, Centre(0));
    // Anchored at its right edge, it would start left of the screen.
    hint.anchor = CVector2(200, 50);
    EXPECT_FALSE(field_->GetHintSource(hint, point));
    // An area given by the scene (the screen beside its panel) replaces the
    // screen: the box that fits the screen must fit the area too.
    hint.anchor = CVector2(50, 50);
    const CVector2 centre = Centre(0);
    hint.area = CFloatRect(centre.x - 49, 0, 800, 600);
    EXPECT_FALSE(field_->GetHintSource(hint, point));
    hint.area = CFloatRect(centre.x - 50, 0, 800, 600);
    ASSERT_TRUE(field_->GetHintSource(hint, point));
    EXPECT_EQ(point, Centre(0));
}

class MoveMarkersTest : public field_test::ShippedDataTest {};

TEST_F(MoveMarkersTest, TheAvailableMoveMarkerStandsBetweenItsCells) {
    const auto config = field_test::ParseXml(R"(<GameCFG><AvailableMove>
        <Vertical><graphics texture="Textures\Common\available_move.tga" width="12" height="40"/></Vertical>
        <Horizontal><graphics texture="Textures\Common\available_move.tga" width="40" height="12"/></Horizontal>
      </AvailableMove></GameCFG>)");
    g_LevelCFG->LoadLevelFieldConfig(field_test::XmlNode(
        R"(<Level><Config field_pos_x="100" field_pos_y="100"><Field field_width="4" field_height="4"/></Config></Level>)"));
    CAvailableMove marker(*config);
    marker.Show({});
    EXPECT_FALSE(marker.IsShown());
    struct Case {
        MoveRecord move;
        CFloatRect rect;
    };
    // Cells of 36 px from (100, 100): between cells 1 and 2 is x = 172.
    const Case cases[] = {{{1, 2}, {166, 98, 178, 138}}, {{5, 1}, {134, 130, 174, 142}}};
    for (const Case& c : cases) {
        marker.Show({c.move});
        ASSERT_TRUE(marker.IsShown());
        EXPECT_EQ(marker.GetMove(), c.move);
        EXPECT_EQ(marker.GetSprite().GetRect(), c.rect);
    }
    core_->ResetFrameStats();
    marker.Draw();
    EXPECT_EQ(core_->GetQuads(), 1u);
    marker.Hide();
    marker.Draw();
    EXPECT_EQ(core_->GetQuads(), 1u);
}

TEST_F(MoveMarkersTest, TheHoverFrameFollowsItsCell) {
    g_LevelCFG->LoadLevelFieldConfig(field_test::XmlNode(
        R"(<Level><Config field_pos_x="100" field_pos_y="100"><Field field_width="4" field_height="4"/></Config></Level>)"));
    CMouseOverMarker frame;
    frame.Create();
    EXPECT_EQ(frame.GetSprite().GetRect(), CFloatRect(-36, -36, 0, 0));
    frame.SetCell(5);
    EXPECT_EQ(frame.GetCell(), 5);
    EXPECT_EQ(frame.GetSprite().GetRect(), CFloatRect(136, 136, 172, 172));
    // A cell off the field is a failed check; the frame stays.
    frame.SetCell(16);
    EXPECT_NE(NewLog().find("Verify failed: 'g_LevelCFG.CellToScr( selected_cell, new_obj_pos.x, new_obj_pos.y )'"),
              std::string::npos);
    EXPECT_EQ(frame.GetSprite().GetRect(), CFloatRect(136, 136, 172, 172));
    // Drawn only while shown.
    core_->ResetFrameStats();
    frame.Draw();
    EXPECT_EQ(core_->GetQuads(), 0u);
    frame.Show();
    frame.Draw();
    EXPECT_EQ(core_->GetQuads(), 1u);
}

}  // namespace
