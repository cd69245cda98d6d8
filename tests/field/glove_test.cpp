// The artefacts of the glove on the shipped Artefact.xml: the fragment's
// flight path, landing in the next cell, completion with its colouring and
// trophy, the saved artefact with its checks, and the trophy room.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/xml_file.h"
#include "field/flying_fragment.h"
#include "field/game_cfg.h"
#include "glove_test_support.h"
#include "graphics/object_2d.h"

namespace {

using field_test::GloveTest;
using field_test::XmlNode;

constexpr int kCells = 10;       // every shipped artefact has ten cells
constexpr int kFragmentKind = 21;  // the first artefact's fragment ball

TEST_F(GloveTest, ShippedArtefactsAreOnePerEpisodeWithFullDescriptions) {
    ASSERT_GE(glove_->GetBaseCount(), 4);
    for (int id = 0; id < glove_->GetBaseCount(); ++id) {
        const ArtefactDesc& desc = glove_->GetDesc(id);
        EXPECT_EQ(static_cast<int>(desc.cells.size()), kCells) << id;
        EXPECT_EQ(desc.fragment_graph_type, kFragmentKind + id) << id;
        // The fragment ball is a kind of the balls field with life -1.
        const BallDesc* ball = balls_->FindDesc(desc.fragment_graph_type);
        ASSERT_NE(ball, nullptr) << id;
        EXPECT_EQ(ball->life, -1) << id;
        EXPECT_FALSE(desc.base_color.graphics.texture.empty());
        EXPECT_EQ(desc.page, id + 1);
    }
    EXPECT_FALSE(glove_->IsValidBase(-1));
    EXPECT_FALSE(glove_->IsValidBase(glove_->GetBaseCount()));
}

TEST_F(GloveTest, FlightPathDropsRunsAlongTheRowThenTurnsOrGoesStraightWhenNear) {
    const float cw = g_GameCFG->GetCellWidth(), ch = g_GameCFG->GetCellHeight();
    // A ball in row 2 of the field at (100, 100): its row under starts at y = 100 + 3 cells.
    const CVector2 from(208, 172), to(676, 428);
    const std::vector<CVector2> far = CFlyingFragment::FlightPoints(from, to, false);
    ASSERT_EQ(far.size(), 4u);
    EXPECT_EQ(far[0], from);
    EXPECT_EQ(far[1], CVector2(from.x - cw, from.y + ch));
    EXPECT_EQ(far[2], CVector2(100 - cw, 100 + 3 * ch));
    EXPECT_EQ(far[3], to);

    struct Case {
        CVector2 to;
        bool straight;
    };
    for (const Case& c : {Case {CVector2(211, 174), true}, Case {CVector2(210.8f, 174.8f), true},
                          Case {CVector2(212, 172), false}}) {
        EXPECT_EQ(CFlyingFragment::FlightPoints(from, c.to, false).size(), c.straight ? 2u : 4u) << c.to.x;
    }

    // About one path point per 5 pixels of the straight distance in each span.
    CCurve path;
    ASSERT_TRUE(CFlyingFragment::BuildFlightPath(path, from, to, false));
    const float distance = std::hypot(to.x - from.x, to.y - from.y);
    EXPECT_NEAR(path.GetPathPointCount(), 3 * distance / 5, 4);
    EXPECT_EQ(path.GetPathPoints().back(), to);
    CCurve near;
    ASSERT_TRUE(CFlyingFragment::BuildFlightPath(near, from, CVector2(210, 173), false));
    EXPECT_EQ(near.GetPathPoints().front(), from);
    EXPECT_EQ(near.GetPathPoints().back(), CVector2(210, 173));
}

TEST_F(GloveTest, FragmentFliesFromTheFieldAndLandsInTheNextCell) {
    glove_->SetActiveArtefact(0);
    glove_->SetArtefactShown(true);
    Restore(0, 3);
    EXPECT_EQ(glove_->NextFragmentGraphType(), kFragmentKind);
    std::shared_ptr<CBall> ball = TakeFragment();
    const CVector2 start(ball->GetGraphObj()->GetLeft(), ball->GetGraphObj()->GetTop());
    glove_->FlyFragmentToArtefact(ball);
    ball.reset();
    EXPECT_TRUE(Queued("arte_fly"));
    EXPECT_EQ(glove_->GetFlyingCount(0), 1);
    EXPECT_FALSE(glove_->IsIdle());
    ASSERT_EQ(Recorder().emitters.size(), 1u);
    EXPECT_EQ(Recorder().emitters[0].name, "fragment_trail");

    // It first moves down and to the left, away from the artefact.
    Frame();
    const CVector2 first = glove_->GetFlyingFragments().front()->GetPosition();
    EXPECT_LT(first.x, start.x);
    EXPECT_GT(first.y, start.y);

    ASSERT_TRUE(RunUntil([&] { return glove_->GetFlyingFragments().empty(); }));
    EXPECT_EQ(glove_->GetPlacedCount(0), 4);
    const ArtefactDesc& desc = glove_->GetDesc(0);
    const C2DObject& landed = *glove_->GetRecord(0)->cells[3];
    EXPECT_EQ(landed.GetLeft(), desc.pos.x + desc.cells[3].offset.x);
    EXPECT_EQ(landed.GetTop(), desc.pos.y + desc.cells[3].offset.y);
    EXPECT_TRUE(Queued("arte_cell"));
    const auto& burst = Recorder().emitters.back();
    EXPECT_EQ(burst.name, desc.cells[3].explosion);
    EXPECT_FALSE(glove_->IsColored(0));
    ASSERT_TRUE(RunUntil([&] { return glove_->IsIdle(); }));
}

TEST_F(GloveTest, NextFragmentKindIsMinusOneOnceEveryCellIsTakenOrWithoutArtefact) {
    EXPECT_EQ(glove_->NextFragmentGraphType(), -1);  // no active artefact
    glove_->SetActiveArtefact(1);
    Restore(1, kCells - 1);
    EXPECT_EQ(glove_->NextFragmentGraphType(), kFragmentKind + 1);
    glove_->FlyFragmentToArtefact(TakeFragment());
    // The last cell is taken by the fragment in flight.
    EXPECT_EQ(glove_->NextFragmentGraphType(), -1);
    EXPECT_THROW(glove_->FlyFragmentToArtefact(TakeFragment(0)), std::exception);
    EXPECT_THROW(glove_->SetActiveArtefact(glove_->GetBaseCount()), std::exception);
}

TEST_F(GloveTest, LandingTheLastCellColoursTheArtefactAndCollectsItsTrophy) {
    glove_->AddTrophy(0);
    glove_->SetActiveArtefact(0);
    Restore(0, kCells - 1);
    glove_->FlyFragmentToArtefact(TakeFragment());
    ASSERT_TRUE(RunUntil([&] { return glove_->GetFlyingFragments().empty(); }));
    EXPECT_EQ(glove_->GetPlacedCount(0), kCells);
    // Coloured in the next update, with its effects and completion burst.
    EXPECT_FALSE(glove_->IsEffectsDone());
    glove_->Update();
    ASSERT_TRUE(glove_->IsColored(0));
    const ArtefactDesc& desc = glove_->GetDesc(0);
    EXPECT_EQ(glove_->GetRecord(0)->color->GetLeft(), desc.pos.x + desc.base_color.offset.x);
    EXPECT_EQ(Recorder().emitters.back().name, desc.color_explosion);
    EXPECT_EQ(Recorder().emitters.back().x, desc.pos.x + desc.expl_offset.x);
    EXPECT_GE(sounds_->CountPlayed(desc.color_sound), 1);
    const Trophy& trophy = glove_->GetTrophies()[0];
    EXPECT_TRUE(trophy.collected);
    EXPECT_FALSE(trophy.visible);  // until the trophy room's arrival
    // The blink and the glow run, then everything settles.
    glove_->Update();
    EXPECT_FALSE(glove_->GetRecord(0)->effects.empty());
    ASSERT_TRUE(RunUntil([&] { return glove_->IsIdle(); }));
    EXPECT_EQ(glove_->GetRecord(0)->color->GetAlpha(0), 255);
}

TEST_F(GloveTest, SaveDuringAFlightRestoresTheFragmentAsPlacedAndTheFlightDoesNotLandAgain) {
    glove_->SetActiveArtefact(0);
    glove_->SetArtefactShown(true);
    Restore(0, kCells - 1);
    glove_->FlyFragmentToArtefact(TakeFragment());
    Frame();

    CXMLFile saved;
    ASSERT_TRUE(saved.CreateRoot("Suspended"));
    CXMLNode root = saved.SelectSingleNode("/Suspended");
    ASSERT_TRUE(glove_->Serialize(saved, root));
    const CXMLNode artefact = root.SelectSingleNode("Artefact");
    EXPECT_EQ(artefact.GetAttributeInt("active_artefact", -1), 0);
    EXPECT_EQ(artefact.GetAttributeInt("fragment", -1), kCells);
    EXPECT_TRUE(artefact.GetAttributeBool("show", false));

    // Restored while the fragment still flies: the artefact is complete at
    // once, and the fragment arriving afterwards does not land.
    ASSERT_TRUE(glove_->Deserialize(root));
    EXPECT_EQ(glove_->GetPlacedCount(0), kCells);
    EXPECT_TRUE(glove_->IsColored(0));
    ASSERT_TRUE(RunUntil([&] { return glove_->GetFlyingFragments().empty(); }));
    EXPECT_EQ(glove_->GetPlacedCount(0), kCells);
    EXPECT_TRUE(glove_->IsArtefactShown());
}

TEST_F(GloveTest, DamagedSavedArtefactIsCheckedLoggedAndNeverThrows) {
    glove_->SetActiveArtefact(2);
    struct Case {
        const char* xml;
        int active;
        int placed;
        bool ok;
    };
    const Case cases[] = {
        {R"(<S><Artefact active_artefact="99" fragment="2" show="1"/></S>)", 2, 2, false},  // unknown id: kept
        {R"(<S><Artefact active_artefact="-5" fragment="1"/></S>)", 2, 1, false},
        {R"(<S><Artefact active_artefact="1" fragment="99"/></S>)", 1, kCells, false},  // clamped
        {R"(<S><Artefact active_artefact="0" fragment="-3"/></S>)", 0, 0, false},
        {R"(<S><Artefact active_artefact="x" fragment="y"/></S>)", 0, 0, true},  // text reads 0
        {R"(<S><Other/></S>)", 0, 0, false},                                     // no node
    };
    for (const Case& c : cases) {
        bool ok = !c.ok;
        EXPECT_NO_THROW(ok = glove_->Deserialize(XmlNode(c.xml))) << c.xml;
        EXPECT_EQ(ok, c.ok) << c.xml;
        EXPECT_EQ(glove_->GetActiveArtefact(), c.active) << c.xml;
        EXPECT_EQ(glove_->GetPlacedCount(c.active), c.placed) << c.xml;
    }
}

TEST_F(GloveTest, PanelSlidesBetweenItsPositionsWithItsSounds) {
    glove_->SetActiveArtefact(0);
    const ArtefactDesc& desc = glove_->GetDesc(0);
    EXPECT_EQ(glove_->GetSlider().GetCurrent(), desc.slide_end);
    glove_->ShowArtefact(true);
    EXPECT_TRUE(glove_->IsPanelMoving());
    EXPECT_FALSE(glove_->IsPanelIdle());
    ASSERT_TRUE(RunUntil([&] { return !glove_->IsPanelMoving(); }));
    EXPECT_EQ(glove_->GetSlider().GetCurrent(), desc.slide_begin);
    EXPECT_EQ(sounds_->CountPlayed(desc.sound_show), 1);
    glove_->ShowArtefact(true);  // already shown: nothing
    EXPECT_FALSE(glove_->IsPanelMoving());
    glove_->ShowArtefact(false);
    ASSERT_TRUE(RunUntil([&] { return glove_->IsPanelIdle(); }));
    EXPECT_EQ(glove_->GetSlider().GetCurrent(), desc.slide_end);
    EXPECT_EQ(sounds_->CountPlayed(desc.sound_hide), 1);
}

TEST_F(GloveTest, ResetArtefactsEmptiesEveryArtefactAndFlight) {
    glove_->SetActiveArtefact(0);
    Restore(0, kCells);
    glove_->SetActiveArtefact(1);
    Restore(1, 4);
    glove_->FlyFragmentToArtefact(TakeFragment());
    glove_->ResetArtefacts();
    for (int id : {0, 1}) {
        EXPECT_EQ(glove_->GetPlacedCount(id), 0);
        EXPECT_FALSE(glove_->IsColored(id));
    }
    EXPECT_TRUE(glove_->GetFlyingFragments().empty());
    EXPECT_TRUE(glove_->IsIdle());
    glove_->Clear();
    EXPECT_EQ(glove_->GetActiveArtefact(), -1);
}

// ---------------------------------------------------------------- trophy room

class TrophyRoomTest : public GloveTest {
protected:
    void SetUp() override {
        GloveTest::SetUp();
        for (int id = 0; id < glove_->GetBaseCount(); ++id) glove_->AddTrophy(id);
    }
    std::vector<int> Shown() const {
        std::vector<int> ids;
        for (const Trophy& trophy : glove_->GetTrophies())
            if (trophy.collected && trophy.visible) ids.push_back(trophy.id);
        return ids;
    }
};

TEST_F(TrophyRoomTest, ShowTrophiesShowsTheFirstNAndHidesTheRest) {
    struct Case {
        int n;
        std::vector<int> shown;
    };
    for (const Case& c : {Case {2, {0, 1}}, Case {0, {}}, Case {99, {0, 1, 2, 3, 4}}, Case {-1, {}}}) {
        glove_->ShowTrophies(c.n);
        EXPECT_EQ(Shown(), c.shown) << c.n;
    }
    EXPECT_THROW(glove_->AddTrophy(3), std::exception);
    EXPECT_THROW(glove_->AddTrophy(-1), std::exception);
}

TEST_F(TrophyRoomTest, TrophiesRoundTripThroughTheSavedGame) {
    glove_->ShowTrophies(3);
    CXMLFile saved;
    ASSERT_TRUE(saved.CreateRoot("Suspended"));
    CXMLNode root = saved.SelectSingleNode("/Suspended");
    ASSERT_TRUE(glove_->Serialize(saved, root));
    const CXMLNodeList written = root.SelectNodes("TrophyRoom/Trophy");
    ASSERT_EQ(written.GetLength(), 3);
    EXPECT_EQ(written.GetItem(2).GetAttributeInt("id", -1), 2);

    glove_->ResetTrophyRoom();
    EXPECT_TRUE(Shown().empty());
    glove_->DeserializeTrophyRoom(root);
    EXPECT_EQ(Shown(), (std::vector<int> {0, 1, 2}));

    // Unknown ids are ignored; player data without the node gives an empty room.
    glove_->DeserializeTrophyRoom(XmlNode(R"(<S><TrophyRoom><Trophy id="4"/><Trophy id="77"/></TrophyRoom></S>)"));
    EXPECT_EQ(Shown(), (std::vector<int> {4}));
    EXPECT_NO_THROW(glove_->DeserializeTrophyRoom(CXMLNode()));
    EXPECT_TRUE(Shown().empty());
}

// A damaged save with thousands of unknown trophies does not flood the log.
TEST_F(TrophyRoomTest, ManyUnknownTrophiesLeaveAFewLogLines) {
    std::string room = "<S><TrophyRoom>";
    for (int i = 0; i < 2000; ++i) room += "<Trophy id=\"77\"/><Trophy id=\"1\"/>";
    glove_->DeserializeTrophyRoom(XmlNode(room + "</TrophyRoom></S>"));
    EXPECT_EQ(Shown(), (std::vector<int> {1}));
    const std::string log = NewLog();
    EXPECT_EQ(data_test::CountOf(log, "saved trophy 77 is not in the trophy room"), 4) << log;
    EXPECT_NE(log.find("ignored. (and 1997 more like it"), std::string::npos) << log;
}

TEST_F(TrophyRoomTest, CompletedArtefactFliesIntoTheRoomAndBecomesAVisibleTrophy) {
    glove_->SetActiveArtefact(1);
    Restore(1, kCells);
    ASSERT_TRUE(glove_->IsColored(1));
    EXPECT_FALSE(glove_->IsTrophyRoomIdle());
    glove_->UpdateTrophyRoom();
    ASSERT_EQ(glove_->GetFlyingFragments().size(), 1u);
    EXPECT_TRUE(glove_->GetFlyingFragments().front()->IsTreasure());
    EXPECT_EQ(sounds_->CountPlayed("treasure_fly_out"), 1);
    int frames = 0;
    while (!glove_->GetFlyingFragments().empty() && frames++ < 1000) {
        glove_->RenderTrophyRoom();
        glove_->UpdateTrophyRoom();
    }
    const Trophy& trophy = glove_->GetTrophies()[1];
    EXPECT_TRUE(trophy.collected);
    EXPECT_TRUE(trophy.visible);
    EXPECT_FALSE(glove_->IsColored(1));
    ASSERT_NE(trophy.effect, nullptr);
    EXPECT_FALSE(glove_->IsTrophyRoomIdle());
    while (!glove_->IsTrophyRoomIdle() && frames++ < 2000) {
        glove_->RenderTrophyRoom();
        glove_->UpdateTrophyRoom();
    }
    EXPECT_TRUE(glove_->IsTrophyRoomIdle());
    // No second flight starts once the picture has gone.
    EXPECT_TRUE(glove_->GetFlyingFragments().empty());
}

}  // namespace
