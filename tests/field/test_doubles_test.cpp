// The shared test doubles stand where the program's code looks for them.
#include <gtest/gtest.h>

#include "engine/data_test_support.h"
#include "field_test_support.h"

namespace {

TEST(TestDoubles, TheRecordersAreWhatTheProgramReaches) {
    data_test::PrepareLogOnce();
    {
        field_test::ScopedExplosionRecorder recorder;
        explosion::GetExplosionManager()->StartExplosion("ball_burst", 10, 20);
        ASSERT_EQ(recorder->explosions.size(), 1u);
        EXPECT_EQ(recorder->explosions[0].name, "ball_burst");
        EXPECT_EQ(recorder->explosions[0].y, 20);
    }
    // Afterwards the real manager is made again on first use.
    const auto saved = std::filesystem::current_path();
    std::filesystem::current_path(VOVARO_DATA_DIR);
    EXPECT_NE(dynamic_cast<CExplosion*>(explosion::GetExplosionManager()), nullptr);
    explosion::ReleaseExplosionManager();
    std::filesystem::current_path(saved);

    field_test::RecordingSoundKeeper& sounds = field_test::InstallRecordingSoundKeeper();
    EXPECT_EQ(g_EngineCore->GetSoundKeeper(), &sounds);
    const uint32_t channel = g_EngineCore->GetSoundKeeper()->PlaySample("bll_dead");
    EXPECT_TRUE(sounds.IsChannelPlaying(channel));
    EXPECT_EQ(&field_test::InstallRecordingSoundKeeper(), &sounds);
    EXPECT_TRUE(sounds.played.empty());
}

}  // namespace
