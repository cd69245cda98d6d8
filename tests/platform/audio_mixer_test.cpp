#include "platform/audio_mixer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "audio_test_util.h"

using plat::AudioMixer;
namespace err = plat::audio_error;
using namespace audio_test;

namespace {

class MixerTest : public ::testing::Test {
protected:
    AudioMixer mixer {AudioMixer::Mode::Manual};
    AudioMixer::Handle LoadTone(int rate = 22050, double seconds = 1.0, int max = 16) {
        int e = -1;
        AudioMixer::Handle s = mixer.LoadSample(WriteSineWav("tone" + std::to_string(rate) + ".wav", rate, seconds), max, &e);
        EXPECT_NE(s, 0u);
        EXPECT_EQ(e, err::kOk);
        return s;
    }
    double Position(AudioMixer::Handle ch) {
        double p = -1;
        EXPECT_EQ(mixer.GetPosition(ch, &p), err::kOk);
        return p;
    }
};

TEST_F(MixerTest, SampleChannelsUpToTheLimitThenTheOldestIsReused) {
    AudioMixer::Handle s = LoadTone(22050, 2.0, 16);
    std::vector<AudioMixer::Handle> channels;
    for (int i = 0; i < 16; ++i) {
        AudioMixer::Handle ch = mixer.GetSampleChannel(s, nullptr);
        ASSERT_NE(ch, 0u);
        ASSERT_EQ(mixer.Play(ch, true), err::kOk);
        channels.push_back(ch);
        mixer.Step(441);  // each playback starts 10 ms after the previous one
    }
    std::set<AudioMixer::Handle> distinct(channels.begin(), channels.end());
    EXPECT_EQ(distinct.size(), 16u);
    AudioMixer::Handle seventeenth = mixer.GetSampleChannel(s, nullptr);
    EXPECT_EQ(seventeenth, channels[0]) << "the playback that has played longest is reused";
    EXPECT_NEAR(Position(seventeenth), 0.0, 1e-6);
    EXPECT_GT(Position(channels[1]), 0.1);
    mixer.Play(seventeenth, true);
    // A stopped channel is taken before any playing one.
    mixer.Stop(channels[5]);
    EXPECT_EQ(mixer.GetSampleChannel(s, nullptr), channels[5]);
}

TEST_F(MixerTest, SampleEndsAfterItsLengthAtItsOwnRateOrTwiceAsFastAtDoubleFrequency) {
    AudioMixer::Handle s = LoadTone(22050, 0.5);
    AudioMixer::Handle a = mixer.GetSampleChannel(s, nullptr);
    mixer.Play(a, true);
    AudioMixer::Handle b = mixer.GetSampleChannel(s, nullptr);
    ASSERT_NE(a, b);
    int freq = 0;
    ASSERT_EQ(mixer.GetDefaultFrequency(a, &freq), err::kOk);
    EXPECT_EQ(freq, 22050);
    double len = 0;
    mixer.GetLength(a, &len);
    EXPECT_NEAR(len, 0.5, 1e-3);
    ASSERT_EQ(mixer.SetAttributes(b, 44100, AudioMixer::kKeepVolume, AudioMixer::kKeepPan), err::kOk);
    mixer.Play(b, true);
    mixer.Step(44100 / 4 + 512);
    AudioMixer::State sa, sb;
    mixer.GetState(a, &sa);
    mixer.GetState(b, &sb);
    EXPECT_EQ(sa, AudioMixer::State::Playing);
    EXPECT_EQ(sb, AudioMixer::State::Stopped);
    mixer.Step(44100 / 4);
    mixer.GetState(a, &sa);
    EXPECT_EQ(sa, AudioMixer::State::Stopped);
    // Playing an ended channel without restart starts it over.
    mixer.Play(a, false);
    mixer.Step(4410);
    EXPECT_NEAR(Position(a), 0.1, 0.01);
}

TEST_F(MixerTest, VolumePanLevelsAndGlobalVolume) {
    AudioMixer::Handle ch = mixer.GetSampleChannel(LoadTone(44100), nullptr);
    mixer.Play(ch, true);
    Peak full = MixPeak(mixer, 4410);
    EXPECT_NEAR(full.left, 16000 / 32768.0, 0.01);
    uint32_t level = 0;
    ASSERT_EQ(mixer.GetLevel(ch, &level), err::kOk);
    EXPECT_NEAR(level & 0xFFFF, 16000, 100);
    EXPECT_NEAR(level >> 16, 16000, 100);

    mixer.SetAttributes(ch, AudioMixer::kKeepFreq, 50, -100);
    Peak left_only = MixPeak(mixer, 4410);
    EXPECT_NEAR(left_only.left, full.left / 2, 0.01);
    EXPECT_EQ(left_only.right, 0.0f);
    mixer.GetLevel(ch, &level);
    EXPECT_EQ(level >> 16, 0u);

    mixer.SetGlobalVolume(AudioMixer::Kind::Sample, 0);
    EXPECT_EQ(MixPeak(mixer, 4410).left, 0.0f);
    mixer.SetGlobalVolume(AudioMixer::Kind::Music, 100);
    EXPECT_EQ(mixer.SetAttributes(ch, 50, -1, -101), err::kIllegalParam) << "frequency below 100 Hz";
    EXPECT_EQ(mixer.SetAttributes(ch, -1, 101, -101), err::kIllegalParam);
    EXPECT_EQ(mixer.SetAttributes(12345, -1, 10, -101), err::kHandle);
}

TEST_F(MixerTest, SlidesMoveAttributesOverTimeAndNotifyOnceOnTheMixingThread) {
    AudioMixer::Handle ch = mixer.GetSampleChannel(LoadTone(44100, 3.0), nullptr);
    mixer.Play(ch, true);
    struct Seen {
        std::atomic<int> calls {0};
        AudioMixer::Handle channel = 0;
        int volume_in_callback = -1;
    } seen;
    auto proc = [](AudioMixer& m, AudioMixer::Handle h, void* user) {
        auto* s = static_cast<Seen*>(user);
        s->channel = h;
        ++s->calls;
        // The notification may call back into the mixer.
        m.GetAttributes(h, nullptr, &s->volume_in_callback, nullptr);
    };
    ASSERT_EQ(mixer.SetSlideSync(ch, true, proc, &seen), err::kOk);
    ASSERT_EQ(mixer.SlideAttributes(ch, 44100 * 2, 0, 100, 1000), err::kOk);
    bool sliding = false;
    mixer.IsSliding(ch, &sliding);
    EXPECT_TRUE(sliding);
    mixer.Step(22050);
    int freq, vol, pan;
    mixer.GetAttributes(ch, &freq, &vol, &pan);
    EXPECT_NEAR(vol, 50, 1);
    EXPECT_NEAR(pan, 50, 1);
    EXPECT_NEAR(freq, 66150, 100);
    EXPECT_EQ(seen.calls, 0);
    mixer.Step(22050);
    EXPECT_EQ(seen.calls, 1);
    EXPECT_EQ(seen.channel, ch);
    EXPECT_EQ(seen.volume_in_callback, 0);
    mixer.IsSliding(ch, &sliding);
    EXPECT_FALSE(sliding);
    // A one-time notification is gone after its call.
    mixer.SlideAttributes(ch, AudioMixer::kKeepFreq, 100, AudioMixer::kKeepPan, 100);
    mixer.Step(44100);
    EXPECT_EQ(seen.calls, 1);
    EXPECT_EQ(mixer.SlideAttributes(ch, -1, -1, -101, 100), err::kIllegalParam) << "nothing to slide";
}

TEST_F(MixerTest, PausedOutputIsSilentAndFreezesPlayback) {
    AudioMixer::Handle ch = mixer.GetSampleChannel(LoadTone(44100), nullptr);
    mixer.Play(ch, true);
    mixer.Step(4410);
    double before = Position(ch);
    mixer.Pause();
    EXPECT_EQ(MixPeak(mixer, 4410).left, 0.0f);
    EXPECT_DOUBLE_EQ(Position(ch), before);
    mixer.Start();
    EXPECT_GT(MixPeak(mixer, 4410).left, 0.1f);
    EXPECT_GT(Position(ch), before);
    // Pausing a channel keeps its place; playing it without restart goes on from there.
    mixer.PauseChannel(ch);
    AudioMixer::State st;
    mixer.GetState(ch, &st);
    EXPECT_EQ(st, AudioMixer::State::Paused);
    double paused_at = Position(ch);
    mixer.Step(4410);
    EXPECT_DOUBLE_EQ(Position(ch), paused_at);
    mixer.Play(ch, false);
    mixer.Step(4410);
    EXPECT_NEAR(Position(ch), paused_at + 0.1, 0.005);
}

TEST_F(MixerTest, ModuleStartsAtAPatternOrderAndHasChannelVolumes) {
    int e = -1;
    AudioMixer::Handle music = mixer.LoadMusic(DataFile("Music/game.xm"), &e);
    ASSERT_NE(music, 0u) << "error " << e;
    AudioMixer::Kind kind;
    mixer.GetKind(music, &kind);
    EXPECT_EQ(kind, AudioMixer::Kind::Music);
    ASSERT_EQ(mixer.Play(music, true), err::kOk);
    ASSERT_EQ(mixer.SetMusicLoop(music, true), err::kOk);
    ASSERT_EQ(mixer.SetMusicOrder(music, 4, 0), err::kOk);
    int order = -1, row = -1;
    mixer.GetMusicOrder(music, &order, &row);
    EXPECT_EQ(order, 4);
    EXPECT_EQ(row, 0);
    EXPECT_GT(MixPeak(mixer, 44100).left, 0.05f);
    mixer.GetMusicOrder(music, &order, &row);
    EXPECT_EQ(order, 4);
    EXPECT_GT(row, 0);
    EXPECT_EQ(mixer.SetMusicOrder(music, 999, 0), err::kPosition);

    EXPECT_EQ(mixer.SetMusicChannelVolume(music, 2, 40), err::kOk);
    int vol = -1;
    EXPECT_EQ(mixer.GetMusicChannelVolume(music, 2, &vol), err::kOk);
    EXPECT_EQ(vol, 40);
    EXPECT_EQ(mixer.GetMusicChannelVolume(music, 64, &vol), err::kIllegalParam);
    // The channel volumes shape what is heard: all at 0 is silence.
    for (int channel = 0; channel < 8; ++channel) ASSERT_EQ(mixer.SetMusicChannelVolume(music, channel, 0), err::kOk);
    mixer.Step(4410);
    EXPECT_LT(MixPeak(mixer, 44100).left, 0.001f);
    for (int channel = 0; channel < 8; ++channel) mixer.SetMusicChannelVolume(music, channel, 100);
    // Music follows the global music volume, not the sample volume.
    mixer.SetGlobalVolume(AudioMixer::Kind::Sample, 0);
    EXPECT_GT(MixPeak(mixer, 44100).left, 0.05f);
    mixer.SetGlobalVolume(AudioMixer::Kind::Music, 0);
    EXPECT_EQ(MixPeak(mixer, 4410).left, 0.0f);
    EXPECT_TRUE(mixer.FreeMusic(music));
    EXPECT_EQ(mixer.Play(music, true), err::kHandle);
}

TEST_F(MixerTest, OggFileIsNoModuleButLoopsAsAStream) {
    int e = -1;
    EXPECT_EQ(mixer.LoadMusic(DataFile("Music/ambient.ogg"), &e), 0u);
    EXPECT_EQ(e, err::kFileForm);
    AudioMixer::Handle stream = mixer.CreateFileStream(DataFile("Music/ambient.ogg"), true, &e);
    ASSERT_NE(stream, 0u);
    double len = 0;
    mixer.GetLength(stream, &len);
    ASSERT_GT(len, 5.0);
    mixer.Play(stream, true);
    EXPECT_EQ(mixer.SetMusicOrder(stream, 0, 0), err::kNotAvailable);
    mixer.Step(static_cast<int>((len + 1.0) * 44100));
    AudioMixer::State st;
    mixer.GetState(stream, &st);
    EXPECT_EQ(st, AudioMixer::State::Playing) << "the stream starts over at its end";
    EXPECT_LT(Position(stream), 2.0);
    EXPECT_GT(MixPeak(mixer, 44100).left, 0.01f);
    EXPECT_EQ(mixer.CreateFileStream(WriteSineWav("not_ogg.wav", 8000, 0.1), true, &e), 0u);
    EXPECT_EQ(mixer.LoadSample("/nonexistent/file.wav", 16, &e), 0u);
    EXPECT_EQ(e, err::kFileOpen);
}

TEST(MixerDevice, SilentOrDeviceMixerAdvancesInRealTime) {
    AudioMixer mixer(AudioMixer::Mode::Auto);
    int e;
    AudioMixer::Handle s = mixer.LoadSample(WriteSineWav("rt.wav", 44100, 2.0), 16, &e);
    AudioMixer::Handle ch = mixer.GetSampleChannel(s, &e);
    mixer.Play(ch, true);
    double pos = 0;
    EXPECT_TRUE(PollFor([&] { return mixer.GetPosition(ch, &pos), pos > 0.05; })) << pos;
}

// With no sound device at all the mixer runs on a silent clock: playback, the
// pause of all output and slide notifications go on as with sound.
TEST(MixerDevice, WithoutADeviceASilentClockRunsTheMix) {
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    const std::string saved = driver ? driver : "";
    setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
    {
        AudioMixer mixer(AudioMixer::Mode::Auto);
        EXPECT_FALSE(mixer.IsAudible());
        int e;
        AudioMixer::Handle ch = mixer.GetSampleChannel(mixer.LoadSample(WriteSineWav("quiet.wav", 44100, 3.0), 16, &e), &e);
        ASSERT_NE(ch, 0u);
        std::atomic<int> fired {0};
        auto proc = [](AudioMixer&, AudioMixer::Handle, void* user) { ++*static_cast<std::atomic<int>*>(user); };
        ASSERT_EQ(mixer.SetSlideSync(ch, true, proc, &fired), err::kOk);
        mixer.Play(ch, true);
        ASSERT_EQ(mixer.SlideAttributes(ch, AudioMixer::kKeepFreq, 0, AudioMixer::kKeepPan, 100), err::kOk);
        double pos = 0;
        EXPECT_TRUE(PollFor([&] { return mixer.GetPosition(ch, &pos), pos > 0.1 && fired.load() > 0; })) << pos;
        EXPECT_EQ(fired.load(), 1);

        mixer.Pause();
        // The block being mixed when the pause came may still finish.
        double paused_at = -1, later = 0;
        EXPECT_TRUE(PollFor([&] {
            const double before = paused_at;
            mixer.GetPosition(ch, &paused_at);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            return before == paused_at;
        }));
        // Nothing can be awaited here: the position must simply stay.
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        mixer.GetPosition(ch, &later);
        EXPECT_DOUBLE_EQ(later, paused_at);
        mixer.Start();
        EXPECT_TRUE(PollFor([&] { return mixer.GetPosition(ch, &later), later > paused_at + 0.05; })) << later;
    }
    setenv("SDL_AUDIODRIVER", saved.empty() ? "dummy" : saved.c_str(), 1);
}

// With SDL's disk driver the mix reaches the file the driver writes.
TEST(MixerDevice, DiskDriverReceivesTheMix) {
    const test_temp::TempDir dir("disk");
    const std::string out = (dir / "mix.raw").string();
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", out.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "5", 1);
    size_t n = 0;
    float peak = 0;
    {
        AudioMixer mixer(AudioMixer::Mode::Auto);
        ASSERT_TRUE(mixer.IsAudible()) << "the disk driver opens as a device";
        int e;
        AudioMixer::Handle ch = mixer.GetSampleChannel(mixer.LoadSample(WriteSineWav("disk.wav", 44100, 1.0), 16, &e), &e);
        mixer.Play(ch, true);
        // The file grows as the audio thread gets to run; what it has added
        // since the last look is read each time.
        EXPECT_TRUE(PollFor([&] {
            std::FILE* f = std::fopen(out.c_str(), "rb");
            if (!f) return false;
            std::fseek(f, static_cast<long>(n * sizeof(float)), SEEK_SET);
            std::vector<float> data(44100);
            const size_t got = std::fread(data.data(), sizeof(float), data.size(), f);
            std::fclose(f);
            for (size_t i = 0; i < got; ++i) peak = std::max(peak, std::fabs(data[i]));
            n += got;
            return n > 1000 && peak > 0.3f;
        }));
    }
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    EXPECT_GT(n, 1000u);
    EXPECT_GT(peak, 0.3f) << "the tone is in the file";
}

}  // namespace
