// The flag tables of the field and the game scene, and the move record.
#include <gtest/gtest.h>

#include "field/field_flags.h"
#include "field/game_flags.h"
#include "field/path.h"

namespace {

TEST(Flags, AbsentIdsAnswerMinusOneAndAreNotAdded) {
    CFieldFlags flags;
    EXPECT_EQ(flags.Get(7), -1);
    EXPECT_FALSE(flags.Set(7, 1));
    EXPECT_FALSE(flags.Contains(7));
    EXPECT_EQ(flags.Get(7), -1);
    flags.Reset(7);  // nothing to reset
    EXPECT_FALSE(flags.Contains(7));
}

TEST(Flags, AddKeepsAnExistingEntryAndResetRestoresInitialValues) {
    CFieldFlags flags;
    ASSERT_TRUE(flags.Set(CFieldFlags::ffCompressDue, 0));
    EXPECT_TRUE(flags.Add(CFieldFlags::ffCompressDue, 5));
    EXPECT_EQ(flags.Get(CFieldFlags::ffCompressDue), 0);
    flags.Reset(CFieldFlags::ffCompressDue);
    EXPECT_EQ(flags.Get(CFieldFlags::ffCompressDue), 1);  // the initial value, not 5

    for (int id = 0; id <= 4; ++id) flags.Set(id, 9);
    flags.ResetAll();
    const int field_initial[] = {1, 0, 0, 0, 0};
    for (int id = 0; id <= 4; ++id) EXPECT_EQ(flags.Get(id), field_initial[id]) << id;

    CGameFlags game;
    game.Set(CGameFlags::gfBeginEpisode, 4);
    game.ResetAll();
    EXPECT_EQ(game.Get(0), 2);
    EXPECT_FALSE(game.Contains(1));
}

TEST(Path, StagesFollowTheMove) {
    CPath path;
    EXPECT_EQ(path.GetFrom(), -1);
    EXPECT_EQ(path.GetTo(), -1);
    EXPECT_EQ(path.GetStage(), 0);
    path.SetFrom(10);
    path.SetTo(11);
    EXPECT_EQ(path.GetStage(), 1);
    path.SetFrom(20);  // a new selection: stage 0, partner kept
    EXPECT_EQ(path.GetStage(), 0);
    EXPECT_EQ(path.GetTo(), 11);
    path.Reset();
    EXPECT_EQ(path.GetFrom(), -1);
    EXPECT_EQ(path.GetTo(), -1);
}

}  // namespace
