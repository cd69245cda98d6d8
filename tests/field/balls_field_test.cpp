// The balls field: ball types and their precedence, creation, motion of falls
// and swaps, locks, the saved-game block, bonus-ball expiry and the fade.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "balls_test_support.h"
#include "engine/random.h"
#include "engine/xml_file.h"
#include "field/ball_tables.h"

namespace {

using field_test::BallsFieldTest;
using field_test::InitialBall;
using field_test::TestLevelXml;

TEST_F(BallsFieldTest, TypesComeFromThePaletteThenTheBonusTypesThenTheGlobalTypes) {
    const std::string bonus = R"(<Bonus graph_type="11" bonus_type="1" score="7"/><Bonus graph_type="77" bonus_type="3"/>)";
    LoadLevel(TestLevelXml("", 4, 5, bonus + R"(<Ball graph_type="66"/>)"));
    EXPECT_EQ(balls_->GetDesc(2).score, 20);  // the level's, not the global 99
    EXPECT_EQ(balls_->GetDesc(11).score, 7);  // the level's bonus type
    EXPECT_EQ(balls_->GetDesc(4).score, 40);  // global only
    EXPECT_EQ(balls_->GetDesc(4).match, (std::vector<int> {4, 9}));
    EXPECT_EQ(balls_->GetDesc(4).credit_type, 2);
    EXPECT_EQ(balls_->GetDesc(4).credit_amount, 3);
    EXPECT_EQ(balls_->GetDesc(9).substrate_color, 0xFF8090A0u);
    EXPECT_EQ(balls_->GetDesc(21).life, -1);

    // Types the balls base cannot draw are left out of the level.
    EXPECT_EQ(balls_->GetPalette().size(), 3u);
    EXPECT_EQ(balls_->GetBonusTypes().size(), 1u);
    EXPECT_EQ(balls_->GetBonusTimers().GetCount(), 1u);
    std::string log = NewLog();
    EXPECT_NE(log.find("CBallsField: Not existing graphic type - 66"), std::string::npos) << log;
    EXPECT_NE(log.find("CBallsField: Not existing graphic type - 77"), std::string::npos);

    EXPECT_THROW(balls_->GetDesc(77), std::exception);
    EXPECT_THROW(balls_->CreateBall(Cell(0, 0), 77), std::exception);
    EXPECT_TRUE(balls_->IsCellEmpty(Cell(0, 0)));
    log = NewLog();
    EXPECT_NE(log.find("Error: Invalid graph type desc requested! graph_type=77"), std::string::npos);
    EXPECT_NE(log.find("Assert failed: 'false'"), std::string::npos);
}

TEST_F(BallsFieldTest, InitialBallsAreRestingWithTheirLocksAndBadEntriesAreLeftOut) {
    LoadLevel(TestLevelXml(InitialBall(0, 4, 1) + InitialBall(3, 4, 4, 2) + InitialBall(9, 2, 1) +
                           InitialBall(1, 1, 55)));
    EXPECT_EQ(balls_->GetInitialCells().size(), 2u);
    EXPECT_EQ(TypeAt(Cell(0, 4)), 1);
    EXPECT_EQ(balls_->GetCellBallState(Cell(0, 4)), bsDEFAULT);
    EXPECT_EQ(PosOf(Cell(3, 4)), CVector2(108, 144));
    EXPECT_TRUE(balls_->IsCellLocked(Cell(3, 4)));
    EXPECT_TRUE(balls_->IsLockStrong(Cell(3, 4)));
    EXPECT_FALSE(balls_->CellPredicate(Cell(3, 4)));
    EXPECT_TRUE(balls_->CellPredicate(Cell(0, 4)));
    const std::string log = NewLog();
    EXPECT_NE(log.find("CBallsField: Cell outside a file - x=9, y=2"), std::string::npos) << log;
    EXPECT_NE(log.find("unknown graph type 55"), std::string::npos);

    // Queries on cells past the field: the empty test throws, the others answer no.
    EXPECT_THROW(balls_->IsCellEmpty(20), std::exception);
    EXPECT_THROW(balls_->IsCellEmpty(-1), std::exception);
    EXPECT_NE(NewLog().find("Assert failed: 'cell_index < _field.size()'"), std::string::npos);
    EXPECT_EQ(balls_->GetCellBallState(-1), -1);
    EXPECT_EQ(balls_->GetCellBallState(Cell(1, 1)), -1);
    EXPECT_FALSE(balls_->IsCellLocked(99));
    EXPECT_THROW(balls_->GetBall(Cell(1, 1)), std::exception);
}

// The ball moves `speed` pixels per tick and lands exactly on its cell: 36 px
// take 12 ticks at 3.0 (ball_speed) and a swap at 4.0 takes 9.
TEST_F(BallsFieldTest, FallsAndSwapsLandExactlyOnTheirCells) {
    LoadLevel(TestLevelXml());
    Put(Cell(1, 0), 1);
    balls_->StartMoves({{Cell(1, 0), Cell(1, 1)}});
    EXPECT_TRUE(balls_->IsCellEmpty(Cell(1, 0)));
    EXPECT_EQ(balls_->GetCellBallState(Cell(1, 1)), bsMOVE);
    EXPECT_EQ(PosOf(Cell(1, 1)), CVector2(36, 0));  // the picture stays until it moves
    int ticks = 0;
    while (!balls_->NoPendingMoves() && ticks < 100) {
        Tick();
        ++ticks;
        if (ticks == 11) {
            EXPECT_FLOAT_EQ(PosOf(Cell(1, 1)).y, 33);
        }
    }
    EXPECT_EQ(ticks, 12);
    EXPECT_EQ(PosOf(Cell(1, 1)), CVector2(36, 36));
    EXPECT_EQ(balls_->GetCellBallState(Cell(1, 1)), bsDEFAULT);

    Put(Cell(2, 1), 2);
    balls_->SetBallState(Cell(1, 1), bsSWAP);
    int steps = 1;
    while (balls_->StepSwapBall(Cell(1, 1), Cell(2, 1))) ++steps;
    EXPECT_EQ(steps, 9);
    EXPECT_EQ(PosOf(Cell(1, 1)), CVector2(72, 36));
    ASSERT_TRUE(balls_->SwapBalls(Cell(1, 1), Cell(2, 1)));
    EXPECT_EQ(TypeAt(Cell(2, 1)), 1);
    EXPECT_EQ(PosOf(Cell(1, 1)), CVector2(36, 36));  // both back at their cells' places
    EXPECT_FALSE(balls_->SwapBalls(Cell(1, 1), Cell(3, 3)));
}

TEST_F(BallsFieldTest, OnlyTheLastArrivalTellsTheFieldItChanged) {
    LoadLevel(TestLevelXml());
    Put(Cell(0, 0), 1);
    Put(Cell(3, 0), 2);
    // Straight down (12 ticks) and diagonally (36 * sqrt 2 px: 17 ticks).
    balls_->StartMoves({{Cell(0, 0), Cell(0, 1)}, {Cell(3, 0), Cell(2, 1)}});
    Tick(12);
    EXPECT_EQ(balls_->GetPendingMoves().size(), 1u);
    EXPECT_EQ(flags_.Get(CFieldFlags::ffCompressDue), 0);
    Tick(4);
    EXPECT_EQ(flags_.Get(CFieldFlags::ffCompressDue), 0);
    Tick();
    EXPECT_TRUE(balls_->NoPendingMoves());
    EXPECT_EQ(flags_.Get(CFieldFlags::ffCompressDue), 1);
    EXPECT_EQ(PosOf(Cell(2, 1)), CVector2(72, 36));

    // Setting the state a ball already has changes nothing, moves included.
    Put(Cell(1, 2), 1);
    balls_->StartMoves({{Cell(1, 2), Cell(1, 3)}});
    flags_.Set(CFieldFlags::ffCompressDue, 0);
    EXPECT_TRUE(balls_->SetBallState(Cell(1, 3), bsMOVE));
    EXPECT_EQ(balls_->GetPendingMoves().size(), 1u);
    // A ball killed on its way ends its move.
    EXPECT_TRUE(balls_->SetBallState(Cell(1, 3), bsDYING));
    EXPECT_TRUE(balls_->NoPendingMoves());
    EXPECT_EQ(flags_.Get(CFieldFlags::ffCompressDue), 1);
    EXPECT_FALSE(balls_->SetBallState(Cell(3, 3), bsDEFAULT));  // empty: logged
    EXPECT_THROW(balls_->SetBallState(-5, bsDEFAULT), std::exception);
}

TEST_F(BallsFieldTest, KilledBallsFadeOutAndLeave) {
    LoadLevel(TestLevelXml());
    Put(Cell(0, 0), 1);
    balls_->SetBallState(Cell(0, 0), bsDEAD);
    EXPECT_TRUE(balls_->IsAnyBallBusy());
    Tick(20);
    EXPECT_FALSE(balls_->IsCellEmpty(Cell(0, 0)));
    EXPECT_LT(Ball(Cell(0, 0)).GetGraphObj()->GetAlpha(), 20);
    Tick();
    EXPECT_TRUE(balls_->IsCellEmpty(Cell(0, 0)));
    EXPECT_EQ(flags_.Get(CFieldFlags::ffCompressDue), 1);
}

// A lock of strength 2 survives the first kill (the ball keeps its state) and
// breaks at the second, leaving the ball resting on the field.
TEST_F(BallsFieldTest, LocksTakeTheirHitsBeforeTheBallCanDie) {
    LoadLevel(TestLevelXml(InitialBall(1, 1, 1, 2)));
    const int cell = Cell(1, 1);
    EXPECT_FALSE(balls_->HitLockAt(cell, bsDYING));
    EXPECT_EQ(balls_->GetCellBallState(cell), bsDEFAULT);
    EXPECT_EQ(Ball(cell).GetLockSolidity(), 1);
    EXPECT_FALSE(balls_->IsLockStrong(cell));
    EXPECT_EQ(flags_.Get(CFieldFlags::ffCompressDue), 0);
    EXPECT_TRUE(balls_->HitLockAt(cell, bsDYING));
    EXPECT_FALSE(balls_->IsCellLocked(cell));
    EXPECT_EQ(balls_->GetCellBallState(cell), bsDEFAULT);
    EXPECT_EQ(flags_.Get(CFieldFlags::ffCompressDue), 1);
    EXPECT_EQ(sounds_->CountPlayed("remove_lock"), 2);
    // Without a lock the kill goes through.
    EXPECT_TRUE(balls_->HitLockAt(cell, bsDYING));
    EXPECT_EQ(balls_->GetCellBallState(cell), bsDYING);
    EXPECT_EQ(sounds_->CountPlayed("remove_lock"), 2);

    // BreakLock takes a lock of any strength at once.
    Put(Cell(2, 2), 1).SetLock(3);
    EXPECT_TRUE(balls_->BreakLock(Cell(2, 2)));
    EXPECT_FALSE(balls_->IsCellLocked(Cell(2, 2)));
    EXPECT_FALSE(balls_->BreakLock(Cell(2, 2)));
}

// With a table of three pictures a lock of level 5 is logged, shows the last
// picture and breaks at the third hit; level 1 shows the first and breaks at once.
TEST_F(BallsFieldTest, LockLevelsBeyondTheTableAreClamped) {
    LoadLevel(TestLevelXml());
    CBall& strong = Put(Cell(0, 0), 1);
    strong.SetLock(5);
    EXPECT_NE(NewLog().find("Error: Invalid lock solidity value 4! Max value is 2"), std::string::npos);
    EXPECT_EQ(g_BallLockGraphics->size(), 3u);
    EXPECT_EQ(strong.GetLock()->GetSprite().GetAnimation()->GetFrameData(0).tex_rect.left, 2);
    EXPECT_FALSE(strong.HitLock());
    EXPECT_EQ(strong.GetLock()->GetSprite().GetAnimation()->GetFrameData(0).tex_rect.left, 1);
    EXPECT_FALSE(strong.HitLock());
    EXPECT_TRUE(strong.HitLock());
    EXPECT_FALSE(strong.IsLocked());
    EXPECT_THROW(strong.HitLock(), std::exception);

    CBall& weak = Put(Cell(1, 0), 1);
    weak.SetLock(1);
    EXPECT_EQ(weak.GetLock()->GetSprite().GetAnimation()->GetFrameData(0).tex_rect.left, 0);
    EXPECT_TRUE(weak.HitLock());
}

// A start ball's lock is read as 0 (none) up to the strongest lock of the
// table (three pictures here); anything else is logged and held to that
// range, so the lock never counts below its lowest value.
TEST_F(BallsFieldTest, StartLocksOutOfRangeAreLoggedAndHeldToTheTable) {
    LoadLevel(TestLevelXml(InitialBall(0, 4, 1, std::numeric_limits<int>::min()) + InitialBall(1, 4, 1, 0) + InitialBall(2, 4, 1, 3) +
                           InitialBall(3, 4, 1, std::numeric_limits<int>::max())));
    const std::vector<InitialCell>& cells = balls_->GetInitialCells();
    ASSERT_EQ(cells.size(), 4u);
    const int want[] = {0, 0, 3, 3};
    for (size_t i = 0; i < cells.size(); ++i) EXPECT_EQ(cells[i].lock, want[i]) << i;
    EXPECT_FALSE(balls_->IsCellLocked(Cell(0, 4)));
    EXPECT_TRUE(balls_->IsCellLocked(Cell(3, 4)));
    const std::string log = NewLog();
    EXPECT_NE(log.find("the lock -2147483648 of the ball at x=0, y=4 is not 0 to 3; 0 is used."), std::string::npos)
        << log;
    EXPECT_NE(log.find("the lock 2147483647 of the ball at x=3, y=4 is not 0 to 3; 3 is used."), std::string::npos);
    EXPECT_EQ(log.find("x=2, y=4"), std::string::npos);
}

TEST_F(BallsFieldTest, AnyBallWithALockNeedsTheLockTable) {
    data_test::WriteBytes("Settings/GameCFG.xml", "<GameCFG/>");
    LoadLevel(TestLevelXml());
    CBall& ball = Put(Cell(0, 0), 1);
    EXPECT_THROW(ball.SetLock(1), std::exception);
    EXPECT_FALSE(ball.IsLocked());
    EXPECT_NE(NewLog().find("Assert failed: '!_solidity_graphics.empty()'"), std::string::npos);
}

// The saved block and what comes back of it: a moving (or swapping) ball rests
// at its destination, a dying ball comes back dead and fades, a new ball is
// not saved, a bonus ball keeps the type it turns back into, a lock keeps its
// strength.
TEST_F(BallsFieldTest, SaveAndRestore) {
    LoadLevel(TestLevelXml());
    Put(Cell(0, 0), 1);
    balls_->StartMoves({{Cell(0, 0), Cell(0, 1)}});
    Tick(5);                            // half way
    Put(Cell(1, 4), 2);
    balls_->SetBallState(Cell(1, 4), bsDYING);
    balls_->CreateBall(Cell(2, 0), 3);  // a new ball of a dropped row
    balls_->SetBallState(Cell(2, 0), bsNEW);
    Put(Cell(3, 4), 3);
    balls_->ChangeBallGraph(Cell(3, 4), 11);  // turned bonus over a type-3 ball
    Put(Cell(2, 4), 12);                      // made as a bonus ball
    Put(Cell(0, 4), 1).SetLock(2);
    Put(Cell(3, 3), 2);
    balls_->SetBallState(Cell(3, 3), bsSWAP);

    CXMLFile document;
    ASSERT_TRUE(document.CreateRoot("Suspended"));
    CXMLNode root = document.SelectSingleNode("/Suspended");
    ASSERT_TRUE(balls_->Serialize(document, root));
    std::string text;
    document.GetXML(text);
    EXPECT_EQ(text.find("cell_index=\"2\""), std::string::npos) << "new balls are not saved";
    const CXMLNode bonus = document.SelectSingleNode("//Ball[@cell_index='19']");
    EXPECT_EQ(bonus.GetAttributeInt("prev_graph_type", -1), 3);
    EXPECT_EQ(document.SelectSingleNode("//Ball[@cell_index='18']").GetAttributeInt("prev_graph_type", -1), -1);
    EXPECT_EQ(document.SelectSingleNode("//Ball[@cell_index='4']").GetAttributeInt("state", -1), bsDEFAULT);
    EXPECT_EQ(document.SelectSingleNode("//Ball[@cell_index='15']").GetAttributeInt("state", -1), bsDEFAULT);
    EXPECT_FLOAT_EQ(document.SelectSingleNode("//Ball[@cell_index='4']").GetAttributeFloat("fall_speed", 0), 3.0f);

    balls_->ClearCells();
    ASSERT_TRUE(balls_->Deserialize(root));
    EXPECT_TRUE(balls_->IsCellEmpty(Cell(0, 0)));
    EXPECT_EQ(TypeAt(Cell(0, 1)), 1);
    EXPECT_EQ(balls_->GetCellBallState(Cell(0, 1)), bsDEFAULT);
    EXPECT_EQ(PosOf(Cell(0, 1)), CVector2(0, 36));
    EXPECT_FLOAT_EQ(Ball(Cell(0, 1)).GetSpeed(), 3.0f);
    EXPECT_TRUE(balls_->NoPendingMoves());
    EXPECT_EQ(balls_->GetCellBallState(Cell(1, 4)), bsDEAD);
    EXPECT_TRUE(balls_->IsCellEmpty(Cell(2, 0)));
    EXPECT_EQ(TypeAt(Cell(3, 4)), 11);
    EXPECT_EQ(Ball(Cell(3, 4)).GetPrevDesc().graph_type, 3);
    EXPECT_EQ(TypeAt(Cell(2, 4)), 12);
    EXPECT_EQ(Ball(Cell(0, 4)).GetLockSolidity(), 2);
    EXPECT_EQ(balls_->GetCellBallState(Cell(3, 3)), bsDEFAULT);
    EXPECT_EQ(Ball(Cell(3, 4)).GetExistenceTime(), 0u);

    // The dead ball fades away; the restored bonus ball turns back into a
    // type-3 ball on its 676th tick; the one made as a bonus ball stays.
    Tick(21);
    EXPECT_TRUE(balls_->IsCellEmpty(Cell(1, 4)));
    Tick(675 - 21);
    EXPECT_EQ(TypeAt(Cell(3, 4)), 11);
    Tick();
    EXPECT_EQ(TypeAt(Cell(3, 4)), 3);
    EXPECT_EQ(TypeAt(Cell(2, 4)), 12);
    Tick(700);
    EXPECT_EQ(TypeAt(Cell(2, 4)), 12);
    EXPECT_EQ(NewLog().find("Assertion failed"), std::string::npos);
}

TEST_F(BallsFieldTest, BadSavedBallsAreSkippedAndReported) {
    LoadLevel(TestLevelXml());
    const CXMLNode state = field_test::XmlNode(R"(<Suspended><BallsField>
        <Ball cell_index="0" graph_type="1"/>
        <Ball cell_index="40" graph_type="1"/>
        <Ball cell_index="1" graph_type="88"/>
        <Ball cell_index="2" graph_type="11" prev_graph_type="0" state="2"/>
        <Ball cell_index="2147483647" graph_type="1"/>
        <Ball cell_index="3" graph_type="1" lock_solidity="-2147483648"/>
        <Ball cell_index="4" graph_type="1" lock_solidity="2147483647" fall_speed="nan"/>
      </BallsField></Suspended>)");
    EXPECT_FALSE(balls_->Deserialize(state));
    EXPECT_EQ(TypeAt(0), 1);
    EXPECT_TRUE(balls_->IsCellEmpty(1));
    EXPECT_EQ(TypeAt(2), 11);  // an old save's previous type 0 means none
    EXPECT_EQ(balls_->GetCellBallState(2), bsDEFAULT);
    const std::string log = NewLog();
    EXPECT_NE(log.find("cell 40 outside the field"), std::string::npos) << log;
    EXPECT_NE(log.find("graph_type=88"), std::string::npos);
    EXPECT_NE(log.find("cell 2147483647 outside the field"), std::string::npos) << log;
    // A lock out of range is clamped: none below, the strongest above.
    EXPECT_EQ(TypeAt(3), 1);
    EXPECT_FALSE(balls_->IsCellLocked(3));
    ASSERT_TRUE(balls_->IsCellLocked(4));
    EXPECT_EQ(Ball(4).GetLockSolidity(), static_cast<int>(g_BallLockGraphics->size()));
    EXPECT_EQ(Ball(4).GetSpeed(), 0.0f);
    EXPECT_NE(log.find("lock -2147483648"), std::string::npos) << log;
}

// A fragment is never killed: fragments in a line would match in every frame.
// The level brings one in at its goal; none stands among its start balls or
// its kinds of new balls.
TEST_F(BallsFieldTest, AFragmentIsNeitherAStartBallNorAKindOfNewBalls) {
    const std::string bonus = R"(<Ball graph_type="21" life="-1"/><Bonus graph_type="11" bonus_type="1"/>)";
    LoadLevel(TestLevelXml(InitialBall(0, 4, 21) + InitialBall(1, 4, 21) + InitialBall(2, 4, 21) + InitialBall(3, 4, 2),
                           4, 5, bonus));
    ASSERT_EQ(balls_->GetInitialCells().size(), 1u);
    for (int x = 0; x < 3; ++x) EXPECT_TRUE(balls_->IsCellEmpty(Cell(x, 4))) << x;
    EXPECT_EQ(TypeAt(Cell(3, 4)), 2);
    EXPECT_EQ(balls_->GetPalette().size(), 3u);
    for (const BallDesc& desc : balls_->GetPalette()) EXPECT_NE(desc.life, -1) << desc.graph_type;
    const std::string log = NewLog();
    EXPECT_NE(log.find("the ball at x=2, y=4 is the fragment kind 21; it is left out."), std::string::npos) << log;
    EXPECT_NE(log.find("the fragment kind 21 cannot be a kind of new balls."), std::string::npos) << log;
}

// A saved fragment comes back only while the level has one in the field; a
// bonus ball over a fragment counts as one.
TEST_F(BallsFieldTest, SavedFragmentsComeBackOnlyAsFarAsOneIsDue) {
    LoadLevel(TestLevelXml());
    const CXMLNode state = field_test::XmlNode(R"(<Suspended><BallsField>
        <Ball cell_index="16" graph_type="21"/>
        <Ball cell_index="17" graph_type="21"/>
        <Ball cell_index="18" graph_type="11" prev_graph_type="21"/>
        <Ball cell_index="19" graph_type="1"/>
      </BallsField></Suspended>)");
    for (const int due : {0, 1}) {
        SCOPED_TRACE(due);
        EXPECT_FALSE(balls_->Deserialize(state, due));
        EXPECT_EQ(balls_->IsCellEmpty(16), due == 0);
        EXPECT_TRUE(balls_->IsCellEmpty(17));
        EXPECT_TRUE(balls_->IsCellEmpty(18));
        EXPECT_EQ(TypeAt(19), 1);
        EXPECT_NE(NewLog().find("saved ball in cell 18 is a fragment the level has not brought in"), std::string::npos);
    }
    EXPECT_TRUE(balls_->IsFragmentBall(16));
}

TEST_F(BallsFieldTest, BonusBallsBlinkBeforeTheyTurnBack) {
    LoadLevel(TestLevelXml());
    Put(Cell(1, 1), 3);
    balls_->ChangeBallGraph(Cell(1, 1), 11);
    const auto visible = [&] {
        const CGraphOBJ* graph = Ball(Cell(1, 1)).GetGraphObj();
        return graph->GetSprite(0)->HasRenderer() &&
               graph->GetSprite(0)->GetRenderer()->GetAttachedCount() > 0;
    };
    Tick(575);
    EXPECT_TRUE(visible());
    Tick();  // 576: 576 mod 20 = 16, shown
    EXPECT_TRUE(visible());
    Tick(4);  // 580: 0, hidden
    EXPECT_FALSE(visible());
    Tick(11);  // 591: 11, shown again
    EXPECT_TRUE(visible());
    Tick(85);  // 676
    EXPECT_EQ(TypeAt(Cell(1, 1)), 3);
    EXPECT_TRUE(visible());

    // The pause stops the clock.
    balls_->ChangeBallGraph(Cell(1, 1), 11);
    balls_->SetTimePaused(true);
    Tick(700);
    EXPECT_EQ(Ball(Cell(1, 1)).GetExistenceTime(), 0u);
    EXPECT_EQ(TypeAt(Cell(1, 1)), 11);
}

// A bonus ball killed just before its time is up fades out as it is: it
// neither turns back nor comes back at full alpha for a tick.
TEST_F(BallsFieldTest, AnExpiringBonusBallThatIsDyingKeepsItsFadeOut) {
    LoadLevel(TestLevelXml());
    Put(Cell(1, 1), 3);
    balls_->ChangeBallGraph(Cell(1, 1), 11);
    Tick(static_cast<int>(CBallsField::kBonusLifeTime) - 5);
    balls_->SetBallState(Cell(1, 1), bsDYING);
    int last_alpha = 255;
    for (int tick = 0; tick < 25; ++tick) {
        Tick();
        ASSERT_EQ(TypeAt(Cell(1, 1)), 11) << tick;
        const int alpha = Ball(Cell(1, 1)).GetGraphObj()->GetAlpha();
        EXPECT_LE(alpha, last_alpha) << tick;
        last_alpha = alpha;
    }
    EXPECT_LT(last_alpha, 128);
}

// Field flag 0 tells the field to look at the board again: it is set when a
// ball leaves its move and no move is left, also when no list held its move.
TEST_F(BallsFieldTest, ABallLeavingItsMoveWithNoMoveLeftMarksTheFieldChanged) {
    LoadLevel(TestLevelXml());
    Put(Cell(0, 0), 1);
    balls_->SetBallState(Cell(0, 0), bsMOVE);
    flags_.Set(CFieldFlags::ffCompressDue, 0);
    balls_->SetBallState(Cell(0, 0), bsDEFAULT);
    EXPECT_EQ(flags_.Get(CFieldFlags::ffCompressDue), 1);

    // With another ball still on its way, the field waits for that one.
    Put(Cell(1, 0), 2);
    balls_->StartMoves({{Cell(1, 0), Cell(1, 3)}});
    balls_->SetBallState(Cell(0, 0), bsMOVE);
    flags_.Set(CFieldFlags::ffCompressDue, 0);
    balls_->SetBallState(Cell(0, 0), bsDEFAULT);
    EXPECT_EQ(flags_.Get(CFieldFlags::ffCompressDue), 0);
}

TEST_F(BallsFieldTest, ReplaceWithDifferentBallNeverPicksTheOldType) {
    LoadLevel(TestLevelXml());
    rt::srand(7);
    for (int i = 0; i < 40; ++i) {
        const int old = 1 + i % 3;
        Put(Cell(0, 0), old);
        balls_->ReplaceWithDifferentBall(Cell(0, 0));
        EXPECT_NE(TypeAt(Cell(0, 0)), old);
        EXPECT_GE(TypeAt(Cell(0, 0)), 1);
        EXPECT_LE(TypeAt(Cell(0, 0)), 3);
    }
    balls_->ReplaceWithDifferentBall(Cell(1, 1));  // empty: any palette type
    EXPECT_NE(TypeAt(Cell(1, 1)), 0);

    // A palette of one kind has nothing else: the ball stays, the fact is logged.
    const std::string one = R"(<Level><Config field_width="4" field_height="5"><Balls><Ball graph_type="2"/></Balls></Config></Level>)";
    LoadLevel(one);
    Put(Cell(0, 0), 2);
    const CBall* before = balls_->GetBallAt(Cell(0, 0));
    balls_->ReplaceWithDifferentBall(Cell(0, 0));
    EXPECT_EQ(balls_->GetBallAt(Cell(0, 0)), before);
    EXPECT_NE(NewLog().find("no palette type other than 2"), std::string::npos);
    EXPECT_THROW(balls_->ReplaceWithDifferentBall(-1), std::exception);
}

TEST_F(BallsFieldTest, DissolveOutFadesEveryBallInStepsOf25) {
    LoadLevel(TestLevelXml());
    Put(Cell(0, 0), 1);
    Put(Cell(3, 4), 9);
    balls_->DissolveOut(10);
    std::vector<int> seen = {Ball(Cell(0, 0)).GetGraphObj()->GetAlpha()};
    while (balls_->IsDissolving()) {
        Tick();
        seen.push_back(Ball(Cell(3, 4)).GetGraphObj()->GetAlpha());
    }
    EXPECT_EQ(seen.front(), 255);
    EXPECT_EQ(seen[1], 230);
    EXPECT_EQ(seen.back(), 0);
    EXPECT_EQ(Ball(Cell(0, 0)).GetGraphObj()->GetAlpha(), 0);
    EXPECT_EQ(Ball(Cell(3, 4)).GetSubstrateSprite()->GetAlpha(0), 0);
}

TEST_F(BallsFieldTest, AngleAndScaleOnlyForBallsThatMayTakeThem) {
    LoadLevel(TestLevelXml());
    Put(Cell(0, 0), 1);
    EXPECT_TRUE(balls_->SetBallAngle(Cell(0, 0), 10));
    EXPECT_FLOAT_EQ(Ball(Cell(0, 0)).GetGraphObj()->GetSprite(0)->GetAngle(), 10);
    EXPECT_FALSE(balls_->SetBallAngle(Cell(1, 0), 10));
    EXPECT_FALSE(balls_->SetBallAngle(-3, 10));
    balls_->SetBallState(Cell(0, 0), bsDYING);
    EXPECT_THROW(balls_->SetBallAngle(Cell(0, 0), 10), std::exception);
    EXPECT_NE(NewLog().find("Verify failed: 'state == bsDEFAULT'"), std::string::npos);

    Put(Cell(2, 2), 2);
    EXPECT_TRUE(balls_->ScaleOutBall(Cell(2, 2)));
    Tick(40);
    EXPECT_NEAR(Ball(Cell(2, 2)).GetGraphObj()->GetWidth(), 0, 0.01);
    EXPECT_FALSE(balls_->ScaleOutBall(Cell(3, 3)));
}

}  // namespace
