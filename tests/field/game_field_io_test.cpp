// The saved field: the order of its blocks, a whole field written, restored
// into a fresh field and written again to the same text, the save right
// after a lost life, the resumed level end, and damaged saves restored as far
// as they go without an exception.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/xml_file.h"
#include "engine/xml_node_list.h"
#include "fake_game_scene_link.h"
#include "field/ball_state.h"
#include "field/balls_field.h"
#include "field/birds.h"
#include "field/field_state.h"
#include "field/game_field.h"
#include "field/glove.h"
#include "field/res_ferryman.h"
#include "field/tiles_field.h"
#include "glove_test_support.h"
#include "gui/menu_progress_bar.h"

namespace {

using field_test::XmlNode;

constexpr int kLockedCell = 15;    // column 3, row 3: a ball of kind 2 with a lock
constexpr int kFragmentCell = 11;  // column 3, row 2: the fragment ball
constexpr int kBonusKind = 12;
constexpr int kFragmentKind = 21;
constexpr int kHitCell = 13;       // column 1, row 3: a ball of kind 1 on a puzzle tile

class GameFieldIoTest : public field_test::ShippedDataTest {
protected:
    void SetUp() override {
        ShippedDataTest::SetUp();
        CMenuProgressBar::LoadProgressBarKinds();
        scene_ = std::make_unique<field_test::FakeGameSceneLink>();
        explosions_ = std::make_unique<field_test::ScopedExplosionRecorder>();
        CGlove& glove = CGlove::Instance();
        if (glove.GetTrophies().empty())
            for (int id = 0; id < glove.GetBaseCount(); ++id) glove.AddTrophy(id);
        field_ = MakeField();
    }
    void TearDown() override {
        field_.reset();
        CGlove::Instance().Clear();
        CGlove::Instance().ResetTrophyRoom();
        explosions_.reset();
        scene_.reset();
        ShippedDataTest::TearDown();
    }

    // The score level loaded and built, its goal the level's tile layers.
    static std::unique_ptr<CGameField> MakeField() {
        auto field = std::make_unique<CGameField>();
        EXPECT_TRUE(field->LoadConfig(XmlNode(field_test::ReadTestLevel("score_level.xml"), "/Level")));
        field->GetTilesField()->Build();
        field->GetFieldState().Reset();
        field->GetFieldState().SetTarget(field->GetTilesField()->GetTotalLayers());
        return field;
    }
    // A field in mid-game: a tile layer cleared, a bonus ball, a bird, tool
    // charges, an artefact with fragments and two collected trophies.
    void PlayABit(CGameField& field) {
        field.HitCell(kHitCell, bsDEAD);  // its ball dies, its puzzle layer goes
        field.GetBallsField()->CreateBall(5, kBonusKind);
        field.GetBallsField()->SetBallState(5, bsDEFAULT);
        field.GetBirds().CreateBirds({{2, 13}}, false);
        scene_->progress = {{1, 40}, {2, 0}, {3, 75}};
        CGlove& glove = CGlove::Instance();
        glove.SetActiveArtefact(2);
        glove.ShowTrophies(2);
        ASSERT_TRUE(glove.Deserialize(XmlNode(R"(<S><Artefact active_artefact="2" fragment="6" show="1"/></S>)")));
    }
    // The field's part of a suspended game as text; `ok` gets the result.
    static std::string Save(CGameField& field, bool* ok = nullptr) {
        CXMLFile document;
        EXPECT_TRUE(document.CreateRoot("Suspended"));
        CXMLNode root = document.SelectSingleNode("/Suspended");
        const bool result = field.Serialize(document, root);
        if (ok) *ok = result;
        std::string text;
        EXPECT_TRUE(document.GetXML(text));
        return text;
    }
    // What the menu and the game scene do on resume: the trophy room from the
    // saved root, then the field (frozen, as the resumed scene holds it).
    static bool Resume(CGameField& field, const std::string& text) {
        const CXMLNode root = XmlNode(text);
        CGlove::Instance().DeserializeTrophyRoom(root);
        field.SetFrozen(true);
        return field.Deserialize(root);
    }

    std::unique_ptr<field_test::FakeGameSceneLink> scene_;
    std::unique_ptr<field_test::ScopedExplosionRecorder> explosions_;
    std::unique_ptr<CGameField> field_;
};

TEST_F(GameFieldIoTest, BlocksAreWrittenInOrderWithTheFieldsElementLast) {
    PlayABit(*field_);
    bool ok = false;
    const std::string text = Save(*field_, &ok);
    EXPECT_TRUE(ok);
    const CXMLNodeList blocks = XmlNode(text).SelectNodes("*");
    std::vector<std::string> names;
    for (int i = 0; i < blocks.GetLength(); ++i) names.push_back(blocks.GetItem(i).GetName());
    EXPECT_EQ(names, (std::vector<std::string> {"VovaroCells", "BallsField", "Birds", "Artefact", "TrophyRoom",
                                                "GameField"}));
    const CXMLNode game_field = XmlNode(text, "/Suspended/GameField");
    for (const char* attribute : {"level_is_starting", "level_timer", "num_fragments_at_the_level",
                                  "num_fragments_fallen", "kill_vovaro_cell", "stage", "show_begin_episode"})
        EXPECT_NE(game_field.GetAttribute(attribute, "absent"), "absent") << attribute;
    const CXMLNodeList credits = game_field.SelectNodes("ResCredit");
    ASSERT_EQ(credits.GetLength(), 3);
    EXPECT_EQ(credits.GetItem(2).GetAttributeInt("type", 0), 3);
    EXPECT_EQ(credits.GetItem(2).GetAttributeInt("amount", 0), 75);
}

TEST_F(GameFieldIoTest, WholeFieldRestoresIntoAFreshFieldAndWritesTheSameText) {
    PlayABit(*field_);
    const std::string saved = Save(*field_);

    CGlove::Instance().ResetArtefacts();
    CGlove::Instance().ResetTrophyRoom();
    CGlove::Instance().SetActiveArtefact(0);
    scene_->progress.clear();
    auto restored = MakeField();
    ASSERT_TRUE(Resume(*restored, saved));

    CBallsField& balls = *restored->GetBallsField();
    EXPECT_EQ(balls.GetCellBallState(kHitCell), bsDEAD);
    // The cleared puzzle tile stays cleared, the others keep their layers.
    EXPECT_EQ(XmlNode(saved).SelectNodes("VovaroCells/Cell").GetLength(), 2);
    EXPECT_EQ(restored->GetTilesField()->GetLayerObject(kHitCell), nullptr);
    EXPECT_NE(restored->GetTilesField()->GetLayerObject(kLockedCell), nullptr);
    EXPECT_EQ(balls.GetBonusType(5), field_->GetBallsField()->GetBonusType(5));
    EXPECT_NE(balls.GetBonusType(5), 0);
    EXPECT_TRUE(balls.IsCellLocked(kLockedCell));
    EXPECT_EQ(restored->GetBirds().GetBirds().size(), 1u);
    EXPECT_EQ(restored->GetFieldState().GetValue(), field_->GetFieldState().GetValue());
    EXPECT_EQ(scene_->progress[3], 75);
    EXPECT_EQ(CGlove::Instance().GetActiveArtefact(), 2);
    EXPECT_EQ(CGlove::Instance().GetPlacedCount(2), 6);
    EXPECT_EQ(Save(*restored), saved);
}

TEST_F(GameFieldIoTest, SaveAfterALostLifeResumesTheLevelAfreshKeepingItsProgress) {
    PlayABit(*field_);
    scene_->state = gsLifeLost;
    const std::string saved = Save(*field_);
    EXPECT_TRUE(XmlNode(saved, "/Suspended/GameField").GetAttributeBool("level_is_starting", false));

    scene_->state = gsDefault;
    scene_->progress.clear();
    auto restored = MakeField();
    restored->GetBallsField()->CreateBall(12, 3);  // the fresh level's own ball stays
    ASSERT_TRUE(Resume(*restored, saved));
    EXPECT_EQ(restored->GetBallsField()->GetBall(12).graph_type, 3);
    EXPECT_TRUE(restored->GetBallsField()->IsCellEmpty(5));
    EXPECT_EQ(scene_->progress[1], 40);
    EXPECT_EQ(restored->GetRowsCountdown().GetCurrent(), 0u);
}

TEST_F(GameFieldIoTest, ToolCreditsAreWrittenOnlyForToolsWithACharge) {
    struct NoCharge : field_test::FakeGameSceneLink {
        bool GetToolProgress(int tool, int& amount) override {
            return tool == 2 && FakeGameSceneLink::GetToolProgress(tool, amount);
        }
    };
    scene_.reset();
    NoCharge scene;
    scene.progress[2] = 9;
    const CXMLNodeList credits = XmlNode(Save(*field_), "/Suspended/GameField").SelectNodes("ResCredit");
    ASSERT_EQ(credits.GetLength(), 1);
    EXPECT_EQ(credits.GetItem(0).GetAttributeInt("type", 0), 2);
}

// A credit still flying to its bar when the game is saved counts in the
// charge that is written: leaving the level does not lose it.
TEST_F(GameFieldIoTest, ACreditInFlightIsSavedWithItsTool) {
    scene_->progress = {{1, 40}};
    field_->GetResFerryman().Send(1, 5, CVector2(100, 300), CVector2(400, 20));
    ASSERT_FALSE(field_->GetResFerryman().IsIdle());
    const CXMLNode credit = XmlNode(Save(*field_), "/Suspended/GameField/ResCredit[@type='1']");
    EXPECT_EQ(credit.GetAttributeInt("amount", 0), 45);
    EXPECT_TRUE(field_->GetResFerryman().IsIdle());
}

TEST_F(GameFieldIoTest, LevelEndStageResumesWithItsMoodAndTheGoalReached) {
    CGlove::Instance().SetActiveArtefact(0);
    const std::string saved = Save(*field_);
    std::string at_stage = saved;
    at_stage.replace(at_stage.find("stage=\"0\""), 9, "stage=\"2\"");
    ASSERT_TRUE(Resume(*field_, at_stage));
    EXPECT_EQ(field_->GetLevelEndStage(), 2);
    EXPECT_EQ(scene_->mood_switches, 1);
    EXPECT_TRUE(field_->GetFieldState().IsComplete());
    EXPECT_FALSE(field_->GetFieldState().IsBlinking());
}

TEST_F(GameFieldIoTest, DamagedSavesRestoreWhatTheyCanReturnFalseAndNeverThrow) {
    PlayABit(*field_);
    const std::string good = Save(*field_);
    struct Case {
        std::string text;
        int stage;
    };
    auto without = [&good](const std::string& block) {
        std::string text = good;
        const size_t from = text.find("<" + block);
        const size_t close = text.find("</" + block + ">", from);
        const size_t end = close == std::string::npos ? text.find("/>", from) + 2 : close + block.size() + 3;
        return text.erase(from, end - from);
    };
    auto replaced = [&good](const std::string& what, const std::string& with) {
        std::string text = good;
        return text.replace(text.find(what), what.size(), with);
    };
    const Case cases[] = {
        {without("BallsField"), 0},
        {without("VovaroCells"), 0},
        {without("Artefact"), 0},
        {without("GameField"), 0},
        {replaced("stage=\"0\"", "stage=\"9\""), 3},
        {replaced("level_timer=\"0\"", "level_timer=\"-5\""), 0},
        {replaced("type=\"3\"", "type=\"7\""), 0},
        // A swap under way of two cells that cannot swap (the second is locked).
        {replaced("stage=\"0\"", "stage=\"0\" swap_from=\"14\" swap_to=\"15\""), 0},
        {replaced("<Bird cell_index=\"2\"", "<Bird cell_index=\"2147483647\""), 0},
        {R"(<Other><GameField stage="1"/></Other>)", 1},
        {"<Suspended/>", 0},
    };
    for (const Case& c : cases) {
        auto field = MakeField();
        bool ok = true;
        EXPECT_NO_THROW(ok = Resume(*field, c.text)) << c.text;
        EXPECT_FALSE(ok) << c.text;
        EXPECT_EQ(field->GetLevelEndStage(), c.stage) << c.text;
        // A missing balls block leaves the level's own balls in place.
        EXPECT_FALSE(field->GetBallsField()->IsCellEmpty(kLockedCell)) << c.text;
    }
}

TEST_F(GameFieldIoTest, ADamagedBirdNeverCostsTheLevelsProgress) {
    PlayABit(*field_);
    const int kills = field_->GetFieldState().GetValue();
    ASSERT_GT(kills, 0);
    const std::string text = Save(*field_);
    for (const int stage : {0, 2}) {
        for (const char* bird : {R"(<Bird cell_index="2" state="99"/>)", R"(<Bird cell_index="2"/>)"}) {
            SCOPED_TRACE(std::string(bird) + " at stage " + std::to_string(stage));
            std::string damaged = text;
            damaged.replace(damaged.find("stage=\"0\""), 9, "stage=\"" + std::to_string(stage) + "\"");
            const size_t from = damaged.find("<Bird cell_index");
            damaged.replace(from, damaged.find("/>", from) + 2 - from, bird);
            scene_->mood_switches = 0;
            auto restored = MakeField();
            bool ok = false;
            EXPECT_NO_THROW(ok = Resume(*restored, damaged));
            EXPECT_TRUE(ok) << "a bird of an unknown state comes back settled";
            ASSERT_EQ(restored->GetBirds().GetBirds().size(), 1u);
            EXPECT_EQ(restored->GetBirds().GetBirds()[0].state, CBirds::kUnsupported);
            // The puzzle tiles, the goal's progress, its mark and the mood all come back.
            EXPECT_EQ(restored->GetTilesField()->GetLayerObject(kHitCell), nullptr);
            EXPECT_NE(restored->GetTilesField()->GetLayerObject(kLockedCell), nullptr);
            EXPECT_EQ(restored->GetFieldState().GetValue(),
                      stage == 0 ? kills : restored->GetFieldState().GetTarget());
            EXPECT_EQ(restored->GetFieldState().IsComplete(), stage != 0);
            EXPECT_EQ(restored->GetLevelEndStage(), stage);
            EXPECT_EQ(scene_->mood_switches, stage > 1 ? 1 : 0);
        }
    }
}

// A fragment is never killed: one on the field is the one the level brought
// in at its goal (stage 1); in a save at any other stage it is left out.
TEST_F(GameFieldIoTest, ASavedFragmentComesBackOnlyWhileTheLevelHasOneInTheField) {
    PlayABit(*field_);
    field_->GetBallsField()->CreateBall(kFragmentCell, kFragmentKind);
    field_->GetBallsField()->SetBallState(kFragmentCell, bsDEFAULT);
    const std::string saved = Save(*field_);
    for (const int stage : {0, 1, 2}) {
        SCOPED_TRACE(stage);
        std::string text = saved;
        text.replace(text.find("stage=\"0\""), 9, "stage=\"" + std::to_string(stage) + "\"");
        auto restored = MakeField();
        bool ok = false;
        EXPECT_NO_THROW(ok = Resume(*restored, text));
        const CBallsField& balls = *restored->GetBallsField();
        EXPECT_EQ(ok, stage == 1);
        EXPECT_EQ(!balls.IsCellEmpty(kFragmentCell) && balls.IsFragmentBall(kFragmentCell), stage == 1);
        EXPECT_EQ(balls.GetBonusType(5), field_->GetBallsField()->GetBonusType(5));
    }
}

// Before the goal is reached, the saved count of cleared layers stays short
// of it: with the board restored it is what the board's tiles say was
// cleared; in a level that starts afresh it stays below the target.
TEST_F(GameFieldIoTest, ASavedGoalCountNeverWinsTheLevelAtOnce) {
    PlayABit(*field_);
    ASSERT_EQ(field_->GetFieldState().GetValue(), 1);
    const std::string saved = Save(*field_);
    struct Case {
        const char* name;
        const char* from;
        const char* to;
        bool ok;
        int count;  // -1: the target
    };
    const Case cases[] = {
        {"as saved", "kill_vovaro_cell=\"1\"", "kill_vovaro_cell=\"1\"", true, 1},
        {"huge", "kill_vovaro_cell=\"1\"", "kill_vovaro_cell=\"2147483647\"", false, 1},
        {"at the target", "kill_vovaro_cell=\"1\"", "kill_vovaro_cell=\"3\"", false, 1},
        {"afresh", "kill_vovaro_cell=\"1\"", "kill_vovaro_cell=\"2147483647\" level_is_starting=\"1\"", false, 2},
        {"reached", "stage=\"0\"", "stage=\"2\"", true, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text = saved;
        if (std::string(c.to).find("level_is_starting") != std::string::npos)
            text.replace(text.find("level_is_starting=\"0\""), 21, "");
        text.replace(text.find(c.from), std::string(c.from).size(), c.to);
        auto restored = MakeField();
        bool ok = false;
        EXPECT_NO_THROW(ok = Resume(*restored, text));
        EXPECT_EQ(ok, c.ok);
        const CFieldState& state = restored->GetFieldState();
        EXPECT_EQ(state.GetTarget(), 3);
        EXPECT_EQ(state.GetValue(), c.count < 0 ? state.GetTarget() : c.count);
        EXPECT_EQ(state.IsComplete(), c.count < 0);
    }
}

}  // namespace
