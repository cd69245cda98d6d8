// Scripted sounds: the mode names, the description parser with its checks, and
// CSound's update over a keeper whose channels play until the test ends them:
// fades, the delay between descriptions, waiting for the end, loops, replays
// and samples shared between objects.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "game/singleton_samples.h"
#include "game/sound.h"
#include "game/sound_desc.h"
#include "game_test_support.h"

using game_test::GameTest;

namespace {

struct ModeCase {
    const char* text;
    uint32_t mode;
};

TEST(SoundModeTest, NamesAreReadExactlyAndNoneEndsTheList) {
    const ModeCase cases[] = {
        {"", 0},
        {"None", 0},
        {"FadeIn", smFadeIn},
        {"Loop,FadeIn", smLoop | smFadeIn},
        {"Loop FadeIn", smLoop | smFadeIn},
        {"Loop, None, FadeIn", 0},
        {"Loop FadeIn None", 0},
        {"loop", 0},
        {"Loop Sparkle Pause", smLoop | smPause},
        {" FadeOut,,Break  Singleton WaitEnd ", smFadeOut | smBreak | smSingleton | smWaitEnd},
    };
    for (const ModeCase& c : cases) EXPECT_EQ(PARSERS::ParseSoundMode(c.text), c.mode) << '"' << c.text << '"';
}

class SoundTest : public GameTest {
protected:
    CXMLNode Node(const std::string& xml, const std::string& path) {
        doc_.Parse(xml);
        return doc_.SelectSingleNode(path);
    }
    static SoundDesc Desc(const std::string& alias, uint32_t mode) {
        SoundDesc d;
        d.alias = alias;
        d.mode = mode;
        return d;
    }
    static SoundDesc Ramp(const std::string& alias, uint32_t mode, int32_t min_vol, int32_t max_vol, float speed) {
        SoundDesc d = Desc(alias, mode);
        d.min_vol = min_vol;
        d.max_vol = max_vol;
        d.fader_speed = speed;
        return d;
    }
    // Runs a sound of one description for n updates; the volumes set on its channel.
    std::vector<int> RunVolumes(const SoundDesc& d, int n) {
        CSound s;
        s.Enqueue(d);
        for (int i = 0; i < n; ++i) s.Update();
        return VolumesOf(s.GetChannel());
    }
    // The volumes set on a channel, in order.
    std::vector<int> VolumesOf(uint32_t channel) const {
        std::vector<int> v;
        for (const auto& [c, vol] : sounds->volumes)
            if (c == channel) v.push_back(vol);
        return v;
    }

private:
    CXMLFile doc_;
};

TEST_F(SoundTest, ParseReadsTheChildSoundOrTheNodeItselfWithDefaults) {
    SoundDesc d = PARSERS::ParseSound(
        Node("<Bird><sound alias='bird_flap' mode='FadeIn, Pause' min_vol='20.9' max_vol='80.5' fader_speed='2.5' "
             "delay='30'/></Bird>",
             "//Bird"));
    EXPECT_EQ(d.alias, "bird_flap");
    EXPECT_EQ(d.mode, smFadeIn | smPause);
    EXPECT_EQ(d.min_vol, 20);
    EXPECT_EQ(d.max_vol, 80);
    EXPECT_FLOAT_EQ(d.fader_speed, 2.5f);
    EXPECT_EQ(d.delay, 30);

    d = PARSERS::ParseSound(Node("<Step alias='bird_chirp'/>", "//Step"));
    EXPECT_EQ(d.alias, "bird_chirp");
    EXPECT_EQ(d.mode, 0u);
    EXPECT_EQ(d.min_vol, 0);
    EXPECT_EQ(d.max_vol, 100);
    EXPECT_FLOAT_EQ(d.fader_speed, 1.0f);
    EXPECT_EQ(d.delay, 0);
}

TEST_F(SoundTest, ParseOfAMissingNodeLogsTheCheckAndThrows) {
    CXMLNode missing = Node("<Bird/>", "//Nothing");
    ASSERT_FALSE(missing.IsValid());
    try {
        PARSERS::ParseSound(missing);
        FAIL() << "no exception";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Assertion failed");
    }
    EXPECT_NE(NewLog().find("Assert failed: 'node.IsValid()'"), std::string::npos);
}

TEST_F(SoundTest, FadeInStartsAtMaxAndReachesMinAfterSixUpdatesEndingOnTheSeventh) {
    CSound s;
    s.Enqueue(Ramp("fade_in", smFadeIn, 20, 80, 10));
    s.Update();  // takes the description and starts it
    const uint32_t ch = s.GetChannel();
    ASSERT_NE(ch, 0u);
    EXPECT_EQ(VolumesOf(ch), (std::vector<int> {80}));
    for (int i = 0; i < 6; ++i) s.Update();
    EXPECT_EQ(VolumesOf(ch), (std::vector<int> {80, 70, 60, 50, 40, 30, 20}));
    s.Update();  // the step that would pass 20 ends the ramp on 20
    s.Update();  // nothing left to ramp
    EXPECT_EQ(VolumesOf(ch), (std::vector<int> {80, 70, 60, 50, 40, 30, 20, 20}));
    EXPECT_TRUE(s.IsPlaying());
}

TEST_F(SoundTest, FadeOutRampsUpAndFadeInWinsOverIt) {
    EXPECT_EQ(RunVolumes(Ramp("fade_out", smFadeOut, 0, 30, 15), 4), (std::vector<int> {0, 15, 30, 30}));
    EXPECT_EQ(RunVolumes(Ramp("both", smFadeIn | smFadeOut, 0, 30, 15), 3), (std::vector<int> {30, 15, 0}));
}

TEST_F(SoundTest, WithoutPauseTheNextDescriptionStartsOnTheUpdateAfterTheStart) {
    CSound s;
    s.Enqueue(Desc("first", 0));
    s.Enqueue(Desc("second", 0));
    s.Update();
    EXPECT_EQ(sounds->played, (std::vector<std::string> {"first"}));
    const uint32_t first = s.GetChannel();
    s.Update();
    EXPECT_EQ(sounds->played, (std::vector<std::string> {"first", "second"}));
    // The new start does not stop the channel that was held.
    EXPECT_TRUE(sounds->IsChannelPlaying(first));
    EXPECT_TRUE(sounds->stopped.empty());
}

TEST_F(SoundTest, WaitEndHoldsTheNextDescriptionUntilTheSampleHasFinished) {
    CSound s;
    s.Enqueue(Desc("long", smWaitEnd));
    s.Enqueue(Desc("after", 0));
    s.Update();
    const uint32_t ch = s.GetChannel();
    for (int i = 0; i < 5; ++i) s.Update();
    EXPECT_EQ(sounds->played, (std::vector<std::string> {"long"}));
    sounds->End(ch);
    s.Update();  // the first update after the end takes the next one
    EXPECT_EQ(sounds->played, (std::vector<std::string> {"long", "after"}));
    EXPECT_EQ(s.GetAlias(), "after");
}

TEST_F(SoundTest, PauseDelaysTheNextDescriptionAndHoldsBackTheRamp) {
    SoundDesc d = Ramp("paused", smPause | smFadeIn, 0, 100, 10);
    d.delay = 3;
    CSound s;
    s.Enqueue(d);
    s.Enqueue(Desc("next", 0));
    s.Update();  // start; the delay of 3 begins
    const uint32_t ch = s.GetChannel();
    s.Update();
    s.Update();
    EXPECT_EQ(sounds->played, (std::vector<std::string> {"paused"}));
    EXPECT_EQ(VolumesOf(ch), (std::vector<int> {100}));  // no ramp step while the delay runs
    s.Update();  // the delay reaches 0: the next description is taken and started
    EXPECT_EQ(sounds->played, (std::vector<std::string> {"paused", "next"}));
}

TEST_F(SoundTest, ANegativeDelayCountsAsNone) {
    SoundDesc d = Desc("negative", smPause);
    d.delay = -5;
    CSound s;
    s.Enqueue(d);
    s.Enqueue(Desc("next", 0));
    s.Update();
    s.Update();
    EXPECT_EQ(sounds->played, (std::vector<std::string> {"negative", "next"}));
}

TEST_F(SoundTest, LoopReplaysAStoppedSampleAndBreakReplaysEveryUpdate) {
    CSound loop;
    loop.Enqueue(Desc("loop", smLoop));
    loop.Update();
    loop.Update();
    EXPECT_EQ(sounds->played.size(), 1u);
    sounds->End(loop.GetChannel());
    loop.Update();
    EXPECT_EQ(sounds->played, (std::vector<std::string> {"loop", "loop"}));
    EXPECT_TRUE(loop.IsPlaying());

    sounds->Reset();
    CSound brk;
    brk.Enqueue(Desc("break", smBreak));
    for (int i = 0; i < 4; ++i) brk.Update();
    EXPECT_EQ(sounds->played.size(), 4u);
}

TEST_F(SoundTest, StopStopsTheChannelAndPlayStartsTheDescriptionAgain) {
    CSound s;
    s.Enqueue(Desc("again", 0));
    s.Update();
    const uint32_t ch = s.GetChannel();
    s.Stop();
    s.Update();
    EXPECT_EQ(sounds->stopped, (std::vector<uint32_t> {ch}));
    EXPECT_EQ(s.GetChannel(), 0u);
    s.Play();
    s.Update();
    EXPECT_EQ(sounds->played, (std::vector<std::string> {"again", "again"}));
    EXPECT_NE(s.GetChannel(), 0u);
}

TEST_F(SoundTest, SingletonObjectsShareOneChannelAndAStopLeavesItPlaying) {
    CSound a, b;
    a.Enqueue(Desc("shared_flap", smSingleton));
    b.Enqueue(Desc("shared_flap", smSingleton));
    a.Update();
    b.Update();
    ASSERT_NE(a.GetChannel(), 0u);
    EXPECT_EQ(a.GetChannel(), b.GetChannel());
    EXPECT_EQ(sounds->played.size(), 1u);
    const uint32_t ch = a.GetChannel();
    a.Stop();
    a.Update();
    EXPECT_EQ(a.GetChannel(), 0u);
    EXPECT_TRUE(sounds->stopped.empty());
    EXPECT_TRUE(b.IsPlaying());
    // Once the shared instance has ended, the next play starts a new one.
    sounds->End(ch);
    EXPECT_NE(g_SingletonSamples.Play("shared_flap"), ch);
    EXPECT_EQ(sounds->played.size(), 2u);
}

TEST_F(SoundTest, AFailedPlayHoldsNoChannelUntilTheNextStart) {
    sounds->fail_plays = true;
    CSound s;
    s.Enqueue(Ramp("silent", smLoop | smFadeIn, 0, 100, 5));
    for (int i = 0; i < 3; ++i) s.Update();
    EXPECT_EQ(s.GetChannel(), 0u);
    EXPECT_EQ(sounds->played.size(), 1u);  // no loop replays without a channel
    EXPECT_TRUE(sounds->volumes.empty());
    sounds->fail_plays = false;
    s.Play();
    s.Update();
    EXPECT_NE(s.GetChannel(), 0u);
}

}  // namespace
