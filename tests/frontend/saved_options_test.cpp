#include "frontend/saved_options.h"

#include <gtest/gtest.h>

#include <memory>

#include "engine/data_test_support.h"
#include "engine/engine_core.h"
#include "platform/audio_mixer.h"

namespace {

// Start-up hands the saved volumes to the sound keeper (music first).
TEST(SavedOptionsTest, SavedVolumesReachTheSoundKeeper) {
    data_test::PrepareLogOnce();
    CEngineCore& core = CEngineCore::Instance();
    auto keeper = std::make_unique<CSoundKeeper>(std::make_unique<plat::AudioMixer>(plat::AudioMixer::Mode::Manual));
    CSoundKeeper* sounds = keeper.get();
    core.SetSoundKeeper(std::move(keeper));

    GameOptions options;
    options.mus_vol = 25;
    options.snd_vol = 55;
    ApplySavedOptions(core, options);
    int music = -1, samples = -1;
    core.GetSoundKeeper()->GetVolumes(&music, &samples);
    EXPECT_EQ(music, 25);
    EXPECT_EQ(samples, 55);
    EXPECT_EQ(sounds->Mixer().GetGlobalVolume(plat::AudioMixer::Kind::Stream), 25);
}

}  // namespace
