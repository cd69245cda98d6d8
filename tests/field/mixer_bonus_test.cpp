// The mixer: which balls take a new kind, the effects and the popup, the end
// that lets the field look for matches, and a level with a single kind.
#include <gtest/gtest.h>

#include "bonus_test_support.h"
#include "field/mixer_bonus.h"
#include "graphics/explosion.h"

namespace {

using field_test::BonusTest;

constexpr int kFragment = 21;

TEST_F(BonusTest, MixerGivesEveryOrdinaryBallAnotherKindAndKeepsTheOthers) {
    for (int cell = 0; cell < 12; ++cell) Put(cell, 1 + cell % 3);
    Put(Cell(0, 3), 11);         // a burner ball
    Put(Cell(1, 3), kFragment);  // a fragment
    Put(Cell(2, 3), 2).SetLock(1);
    Put(Cell(3, 3), 3);
    balls_->SetBallState(Cell(3, 3), bsMOVE);
    Put(Cell(0, 4), 9);  // the special ball is ordinary too
    std::vector<int> before(20);
    for (int cell = 0; cell < 20; ++cell) before[static_cast<size_t>(cell)] = TypeAt(cell);

    ASSERT_TRUE(list_.AddBonus(6, Cell(1, 1), false));
    EXPECT_EQ(Get<CMixerBonus>().GetEntries().size(), 13u);
    Updates(1);
    for (int cell = 0; cell < 20; ++cell) {
        SCOPED_TRACE(cell);
        const bool ordinary = cell < 12 || cell == Cell(0, 4);
        if (ordinary) {
            EXPECT_NE(TypeAt(cell), before[static_cast<size_t>(cell)]);
            EXPECT_GE(TypeAt(cell), 1);
            EXPECT_LE(TypeAt(cell), 3);
            EXPECT_EQ(balls_->GetCellBallState(cell), bsDEFAULT);
        } else {
            EXPECT_EQ(TypeAt(cell), before[static_cast<size_t>(cell)]);
        }
    }
    EXPECT_TRUE(balls_->IsCellLocked(Cell(2, 3)));
    // One effect per mixed cell, at its centre, and one popup in the middle.
    ASSERT_EQ(explosions_->emitters.size(), 13u);
    EXPECT_EQ(explosions_->emitters[0].name, "mixer_fx");
    EXPECT_FLOAT_EQ(explosions_->emitters[0].x, 18);
    ASSERT_EQ(data_.scores.size(), 1u);
    EXPECT_FLOAT_EQ(data_.scores[0].x, 94);
    EXPECT_FLOAT_EQ(data_.scores[0].y, 84);
    EXPECT_EQ(data_.scores[0].points, 50);
    EXPECT_EQ(data_.scores[0].label, "mixer_label");
    EXPECT_EQ(data_.scores[0].flag, 3);

    // The bonus draws its effects and lasts while they run.
    list_.Draw();
    EXPECT_EQ(explosions_->renders.size(), 13u);
    Updates(3);
    EXPECT_TRUE(list_.IsBonusActive(6));
    explosions_->running.clear();
    Updates(1);
    EXPECT_EQ(list_.GetCount(), 0u);
    EXPECT_EQ(data_.flags.Get(CFieldFlags::ffSettled), 1);
    EXPECT_EQ(data_.flags.Get(CFieldFlags::ffSaluteDone), 1);
}

TEST_F(BonusTest, MixerOnAFieldWithoutOrdinaryBallsEndsAtItsFirstUpdate) {
    Put(Cell(0, 0), 12);
    Put(Cell(1, 0), kFragment);
    ASSERT_TRUE(list_.AddBonus(6, Cell(0, 0), false));
    Updates(1);
    EXPECT_EQ(list_.GetCount(), 0u);
    EXPECT_TRUE(explosions_->emitters.empty());
    EXPECT_TRUE(data_.scores.empty());
    EXPECT_EQ(data_.flags.Get(CFieldFlags::ffSettled), 1);
}

TEST_F(BonusTest, MixerOnALevelOfOneKindKeepsTheKinds) {
    LoadLevel("<Level><Config field_width=\"4\" field_height=\"5\" field_pos_x=\"0\" field_pos_y=\"0\"><Balls>"
              "<Ball graph_type=\"1\"/></Balls></Config><Balls/></Level>");
    for (int cell = 0; cell < 6; ++cell) Put(cell, 1);
    NewLog();
    ASSERT_TRUE(list_.AddBonus(6, Cell(0, 0), false));
    Updates(1);
    for (int cell = 0; cell < 6; ++cell) EXPECT_EQ(TypeAt(cell), 1);
    EXPECT_NE(NewLog().find("Warning: Mixer: the level has no other ball kind; 6 ball(s) keep their kind."),
              std::string::npos);
    explosions_->running.clear();
    Updates(1);
    EXPECT_EQ(list_.GetCount(), 0u);
}

TEST_F(BonusTest, MixerWhoseEffectCannotStartSaysSoOnceAndStillMixes) {
    // The real manager without a particle library: no effect can start.
    explosion::SetExplosionManager(std::make_unique<CExplosion>("Settings\\no_explosions.xml"));
    for (int cell = 0; cell < 6; ++cell) Put(cell, 1);
    NewLog();
    ASSERT_TRUE(list_.AddBonus(6, Cell(0, 0), false));
    Updates(1);
    for (int cell = 0; cell < 6; ++cell) EXPECT_NE(TypeAt(cell), 1);
    const std::string log = NewLog();
    const size_t first = log.find("Error: Mixer: effect 'mixer_fx' not started");
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(log.find("Error: Mixer: effect", first + 1), std::string::npos);
    Updates(1);
    EXPECT_EQ(list_.GetCount(), 0u);
}

}  // namespace
