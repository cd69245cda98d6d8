#include "engine/sound_keeper.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <chrono>
#include <set>
#include <sstream>
#include <thread>

#include "data_test_support.h"
#include "generated_data_test.h"
#include "engine/xml_file.h"
#include "platform/audio_mixer.h"

namespace {

using plat::AudioMixer;
namespace fs = std::filesystem;

// A mono 16-bit WAV of a sine tone under the current directory.
void WriteToneWav(const std::string& relative, int rate, double seconds) {
    std::string bytes = "RIFF";
    auto put = [&bytes](uint32_t v, int n) { for (int i = 0; i < n; ++i) bytes.push_back(static_cast<char>((v >> (8 * i)) & 0xFF)); };
    uint32_t frames = static_cast<uint32_t>(rate * seconds);
    put(36 + frames * 2, 4);
    bytes += "WAVEfmt ";
    put(16, 4); put(1, 2); put(1, 2); put(static_cast<uint32_t>(rate), 4); put(static_cast<uint32_t>(rate * 2), 4);
    put(2, 2); put(16, 2);
    bytes += "data";
    put(frames * 2, 4);
    for (uint32_t i = 0; i < frames; ++i)
        put(static_cast<uint16_t>(static_cast<int16_t>(16000 * std::sin(6.283185307 * 440.0 * i / rate))), 2);
    data_test::WriteBytes(relative, bytes);
}

float MixPeak(AudioMixer& mixer, int frames) {
    std::vector<float> buf(static_cast<size_t>(frames) * 2);
    mixer.Mix(buf.data(), frames);
    float peak = 0;
    for (float v : buf) peak = std::max(peak, std::fabs(v));
    return peak;
}

std::string DataFile(const std::string& relative) { return std::string(VOVARO_DATA_DIR) + "/" + relative; }

// A keeper on a manual mixer in a scratch folder holding Settings\Samples.xml
// and a few sound files.
class SoundKeeperTest : public data_test::ScratchTest {
protected:
    void SetUp() override {
        ScratchTest::SetUp();
        WriteToneWav("Sounds/Tone.wav", 22050, 2.0);
        data_test::WriteBytes("Settings/Samples.xml",
                              "<Samples>"
                              "<Sample alias='tone' file_name='sounds\\TONE.wav' volume='80'/>"
                              "<Sample alias='tone' file_name='other.wav'/>"
                              "<Sample alias='fast' file_name='Sounds\\Tone.wav' freq='44100'/>"
                              "<Sample alias='bad_freq' file_name='Sounds\\Tone.wav' freq='50'/>"
                              "<Sample alias='missing' file_name='Sounds\\missing.wav'/>"
                              "<Sample alias='loud' file_name='Sounds\\Tone.wav' volume='150'/>"
                              "</Samples>");
        keeper = std::make_unique<CSoundKeeper>(std::make_unique<AudioMixer>(AudioMixer::Mode::Manual));
        keeper->SetVolumes(100, 100);
    }
    AudioMixer& mixer() { return keeper->Mixer(); }
    bool LoadGameMusic(const std::string& alias = "game") {
        return keeper->LoadMusic(alias, CMusicDesc {DataFile("Music/game.xm"), {0, 4, 8, 12}});
    }
    std::unique_ptr<CSoundKeeper> keeper;
};

TEST_F(SoundKeeperTest, SampleTableKeepsTheFirstEntryAndReportsABadFrequency) {
    const auto& table = keeper->SampleTable();
    ASSERT_EQ(table.size(), 5u);
    EXPECT_EQ(table.at("tone").file_name, "sounds\\TONE.wav");
    EXPECT_EQ(table.at("tone").volume, 80);
    EXPECT_EQ(table.at("tone").freq, -1);
    EXPECT_EQ(table.at("fast").volume, 100);
    EXPECT_EQ(table.at("bad_freq").freq, 50) << "the entry stays as written";
    std::string log = NewLog();
    size_t at = log.find("Assert failed: '");
    ASSERT_NE(at, std::string::npos);
    EXPECT_NE(log.find("Sample frequency must be between 100 and 100000!", at), std::string::npos);
}

// Without a readable sample table the keeper stands, says so, has no samples
// and still plays music.
TEST_F(SoundKeeperTest, MissingOrBrokenSampleTableLeavesAKeeperWithoutSamples) {
    for (const char* broken : {"", "<Samples><Sample alias='tone'"}) {
        fs::remove("Settings/Samples.xml");
        if (*broken) data_test::WriteBytes("Settings/Samples.xml", broken);
        NewLog();
        CSoundKeeper bare(std::make_unique<AudioMixer>(AudioMixer::Mode::Manual));
        EXPECT_TRUE(bare.SampleTable().empty());
        EXPECT_NE(NewLog().find("Error: no samples: 'Settings\\Samples.xml' could not be read!"), std::string::npos)
            << broken;
        EXPECT_EQ(bare.PlaySample("tone"), 0u);
        ASSERT_TRUE(bare.LoadMusic("game", CMusicDesc {DataFile("Music/game.xm"), {0}}));
        EXPECT_NE(bare.PlayMusic("game", 0), 0u);
    }
}

// GetVolumes tells what the mixer plays at: full volume before any SetVolumes,
// and a value out of range as the mixer took it.
TEST_F(SoundKeeperTest, VolumesAreWhatTheMixerUses) {
    CSoundKeeper fresh(std::make_unique<AudioMixer>(AudioMixer::Mode::Manual));
    int music = -1, samples = -1;
    EXPECT_TRUE(fresh.GetVolumes(&music, &samples));
    EXPECT_EQ(music, fresh.Mixer().GetGlobalVolume(AudioMixer::Kind::Music));
    EXPECT_EQ(samples, fresh.Mixer().GetGlobalVolume(AudioMixer::Kind::Sample));
    EXPECT_EQ(music, 100);
    fresh.SetVolumes(150, -5);
    fresh.GetVolumes(&music, &samples);
    EXPECT_EQ(music, 100);
    EXPECT_EQ(samples, 0);
    EXPECT_EQ(fresh.PlaySample("tone"), 0u) << "a sample volume taken as 0 is samples off";
    fresh.SetVolumes(30, 70);
    fresh.GetVolumes(&music, &samples);
    EXPECT_EQ(music, 30);
    EXPECT_EQ(fresh.Mixer().GetGlobalVolume(AudioMixer::Kind::Stream), 30);
    EXPECT_EQ(samples, 70);
}

TEST_F(SoundKeeperTest, PlaySampleAppliesTheEntryAndPlays) {
    uint32_t ch = keeper->PlaySample("tone");
    ASSERT_NE(ch, 0u);
    EXPECT_TRUE(keeper->IsChannelPlaying(ch));
    EXPECT_EQ(keeper->GetChannelState(ch), 1);
    EXPECT_EQ(keeper->GetChannelVolume(ch), 80);
    EXPECT_NEAR(keeper->GetChannelLength(ch), 2.0f, 0.001f);
    EXPECT_NEAR(MixPeak(mixer(), 4410), 0.8f * 16000 / 32768, 0.01f);
    int left = 0, right = 0;
    EXPECT_TRUE(keeper->GetChannelLevel(ch, &left, &right));
    EXPECT_GT(left, 10000);
    EXPECT_EQ(left, right);
    EXPECT_FALSE(keeper->LoadSample("tone")) << "already loaded";
    EXPECT_FALSE(keeper->LoadSample(""));

    // freq 44100 on a 22050 Hz file plays at twice the speed.
    uint32_t fast = keeper->PlaySample("fast");
    mixer().Step(22050);
    EXPECT_NEAR(keeper->GetChannelPosition(fast), 1.0f, 0.01f);
    EXPECT_NEAR(keeper->GetChannelPosition(ch), 0.6f, 0.01f);

    keeper->PauseChannel(ch);
    EXPECT_EQ(keeper->GetChannelState(ch), 3);
    keeper->PlayChannel(ch);
    EXPECT_NEAR(keeper->GetChannelPosition(ch), 0.6f, 0.01f) << "plays on from where it stands";
    keeper->SetChannelPosition(ch, 1.5f);
    EXPECT_NEAR(keeper->GetChannelPosition(ch), 1.5f, 0.001f);
    EXPECT_TRUE(keeper->StopChannel(ch));
    EXPECT_FALSE(keeper->IsChannelPlaying(ch));
    EXPECT_TRUE(keeper->FreeSample("tone"));
    EXPECT_FALSE(keeper->FreeSample("tone"));
}

TEST_F(SoundKeeperTest, SampleVolumeZeroGivesChannelZeroWithoutLoading) {
    uint32_t playing = keeper->PlaySample("fast");
    ASSERT_TRUE(LoadGameMusic());
    uint32_t music = keeper->PlayMusic("game", 0);
    ASSERT_NE(music, 0u);

    keeper->SetVolumes(100, 0);
    EXPECT_EQ(keeper->PlaySample("tone"), 0u);
    EXPECT_TRUE(keeper->LoadSample("tone")) << "the first PlaySample did not load it";
    EXPECT_FALSE(keeper->IsChannelPlaying(0));
    EXPECT_EQ(keeper->GetChannelState(0), 0);
    // Sample channels are gated...
    EXPECT_FALSE(keeper->IsChannelPlaying(playing));
    EXPECT_EQ(keeper->GetChannelState(playing), 0);
    EXPECT_TRUE(keeper->StopChannel(playing));
    // ...music channels are not: they still play, answer, pause and stop.
    EXPECT_TRUE(keeper->IsChannelPlaying(music));
    EXPECT_GT(MixPeak(mixer(), 44100), 0.02f) << "music is heard with effects off";
    keeper->PauseChannel(music);
    EXPECT_EQ(keeper->GetChannelState(music), 3);
    keeper->PlayChannel(music);
    EXPECT_EQ(keeper->GetChannelState(music), 1);
    EXPECT_TRUE(keeper->StopChannel(music));
    EXPECT_FALSE(keeper->IsChannelPlaying(music));

    int m = -1, s = -1;
    keeper->GetVolumes(&m, &s);
    EXPECT_EQ(m, 100);
    EXPECT_EQ(s, 0);
    keeper->SetVolumes(40, 60);
    EXPECT_TRUE(keeper->GetVolumes(nullptr, &s));
    EXPECT_EQ(s, 60);
    EXPECT_NE(keeper->PlaySample("tone"), 0u);
}

// A level start loads the whole table, so that no play decodes a file in the
// middle of a frame; with samples off it loads nothing.
TEST_F(SoundKeeperTest, LoadAllSamplesLoadsTheTableUnlessSamplesAreOff) {
    keeper->SetVolumes(100, 0);
    keeper->LoadAllSamples();
    EXPECT_TRUE(keeper->LoadSample("tone")) << "nothing was loaded with samples off";
    EXPECT_TRUE(keeper->FreeSample("tone"));

    keeper->SetVolumes(100, 100);
    keeper->PlaySample("fast");
    keeper->LoadAllSamples();
    for (const char* alias : {"tone", "fast", "bad_freq", "loud"})
        EXPECT_FALSE(keeper->LoadSample(alias)) << alias << " is loaded already";
    EXPECT_NE(NewLog().find("Error: can't load sample! Alias: 'missing'"), std::string::npos)
        << "a file that cannot be read is said, the others load";
    const uint32_t channel = keeper->PlaySample("tone");
    EXPECT_NE(channel, 0u);
    EXPECT_TRUE(keeper->IsChannelPlaying(channel));
}

TEST_F(SoundKeeperTest, UnknownAliasAndUnreadableFileAreLoggedAndGiveZero) {
    EXPECT_EQ(keeper->PlaySample("nope"), 0u);
    std::string log = NewLog();
    size_t err = log.find("Error: sample 'nope' not found!");
    size_t check = log.find("Assert failed: 'LoadSample(Name)'");
    ASSERT_NE(err, std::string::npos);
    ASSERT_NE(check, std::string::npos);
    EXPECT_LT(err, check);

    EXPECT_EQ(keeper->PlaySample("missing"), 0u);
    EXPECT_NE(NewLog().find("Error: can't load sample! Alias: 'missing', filename: 'Sounds\\missing.wav'. Error code: 2"),
              std::string::npos);
    EXPECT_EQ(keeper->PlaySample(""), 0u);

    // A volume the library refuses is reported; the sample still plays.
    uint32_t loud = keeper->PlaySample("loud");
    EXPECT_NE(loud, 0u);
    EXPECT_NE(NewLog().find("Assert failed: 'ChannelSetAttributes(channel, table_it->second.freq, "
                            "table_it->second.volume, -101) == TRUE'"),
              std::string::npos);
    EXPECT_TRUE(keeper->IsChannelPlaying(loud));
}

TEST_F(SoundKeeperTest, SeventeenthPlaybackOfOneAliasRestartsTheFirst) {
    std::vector<uint32_t> channels;
    for (int i = 0; i < 16; ++i) {
        channels.push_back(keeper->PlaySample("tone"));
        mixer().Step(441);
    }
    EXPECT_EQ(std::set<uint32_t>(channels.begin(), channels.end()).size(), 16u);
    uint32_t seventeenth = keeper->PlaySample("tone");
    EXPECT_EQ(seventeenth, channels[0]);
    EXPECT_NEAR(keeper->GetChannelPosition(seventeenth), 0.0f, 1e-6f);
    EXPECT_TRUE(keeper->IsChannelPlaying(seventeenth));
    EXPECT_GT(keeper->GetChannelPosition(channels[1]), 0.1f);
}

TEST_F(SoundKeeperTest, ChannelPitchPanAndSlides) {
    uint32_t ch = keeper->PlaySample("tone");
    keeper->SetChannelPitch(ch, 1.5f);
    int freq = 0;
    mixer().GetAttributes(ch, &freq, nullptr, nullptr);
    EXPECT_EQ(freq, 33075);
    keeper->SetChannelPan(ch, -100);
    mixer().Step(1024);
    int left = 0, right = -1;
    keeper->GetChannelLevel(ch, &left, &right);
    EXPECT_GT(left, 0);
    EXPECT_EQ(right, 0);

    keeper->SlideChannel(ch, 0.5f, 20, 100, -1.0f);
    EXPECT_TRUE(keeper->IsChannelSliding(ch));
    mixer().Step(22050 + 256);
    EXPECT_FALSE(keeper->IsChannelSliding(ch));
    int volume, pan;
    mixer().GetAttributes(ch, &freq, &volume, &pan);
    EXPECT_EQ(freq, 33075) << "a pitch factor of -1 keeps the frequency";
    EXPECT_EQ(volume, 20);
    EXPECT_EQ(pan, 100);
    keeper->SlideChannel(ch, 0.1f, -1, -101, 2.0f);
    mixer().Step(4410 + 256);
    mixer().GetAttributes(ch, &freq, &volume, &pan);
    EXPECT_EQ(freq, 44100);
    EXPECT_EQ(volume, 20);

    keeper->SetChannelPitch(ch, 10.0f);  // 220500 Hz is out of range
    EXPECT_NE(NewLog().find("Warning: unable to set channel '" + std::to_string(ch) + "' pitch! Error code: 20"),
              std::string::npos);
    EXPECT_FALSE(keeper->SetChannelVolume(99999, 10));
    EXPECT_NE(NewLog().find("Warning: unable to set channel '99999' volume! Error code: 5"), std::string::npos);
    EXPECT_FALSE(keeper->GetChannelLevel(99999, &left, &right));
    EXPECT_NE(NewLog().find("Warning: unable to get channel '99999' level! Error code: 5"), std::string::npos);
}

TEST_F(SoundKeeperTest, MusicTracksStartAtTheirPatternOrder) {
    ASSERT_TRUE(LoadGameMusic());
    EXPECT_TRUE(keeper->LoadMusic("game", CMusicDesc {"elsewhere.xm", {0}})) << "the old entry stays";
    EXPECT_EQ(keeper->GetMusicTrackCount("game"), 4);
    EXPECT_EQ(keeper->GetMusicTrackCount("none"), 0);
    EXPECT_EQ(keeper->PlayMusic("game", 4), 0u) << "track index equal to the track count";
    EXPECT_EQ(keeper->PlayMusic("none", 0), 0u);
    EXPECT_FALSE(keeper->LoadMusic("broken", CMusicDesc {"Music\\absent.xm", {0}}));

    uint32_t ch = keeper->PlayMusic("game", 2);
    ASSERT_NE(ch, 0u);
    int order = -1, row = -1;
    mixer().GetMusicOrder(ch, &order, &row);
    EXPECT_EQ(order, 8);
    EXPECT_EQ(row, 0);
    EXPECT_GT(MixPeak(mixer(), 22050), 0.02f);
    mixer().GetMusicOrder(ch, &order, &row);
    EXPECT_EQ(order, 8);
    EXPECT_EQ(keeper->PlayMusic("game", 1), ch) << "one channel per music";
    mixer().GetMusicOrder(ch, &order, &row);
    EXPECT_EQ(order, 4);

    EXPECT_TRUE(keeper->SetMusicChannelVolume("game", 3, 25));
    EXPECT_EQ(keeper->GetMusicChannelVolume("game", 3), 25);
    EXPECT_EQ(keeper->GetMusicChannelVolume("none", 3), 0);
    EXPECT_FALSE(keeper->SetMusicChannelVolume("none", 3, 25));
    EXPECT_EQ(keeper->GetMusicChannelVolume("game", 99), -1);
    EXPECT_NE(NewLog().find("Warning: unable to get music 'game' channel 99 volume! Error code: 20"), std::string::npos);
    EXPECT_FALSE(keeper->SetMusicChannelVolume("game", 99, 25));
    EXPECT_NE(NewLog().find("Warning: unable to set music 'game' channel 99 volume! Error code: 20"), std::string::npos);

    EXPECT_TRUE(keeper->FreeMusic("game"));
    EXPECT_FALSE(keeper->FreeMusic("game"));

    // A track whose pattern order the module lacks plays from the start, not
    // from wherever the previous track had got to.
    ASSERT_TRUE(keeper->LoadMusic("odd", CMusicDesc {DataFile("Music/game.xm"), {8, 99}}));
    ch = keeper->PlayMusic("odd", 0);
    mixer().Step(22050);
    EXPECT_EQ(keeper->PlayMusic("odd", 1), ch);
    mixer().GetMusicOrder(ch, &order, &row);
    EXPECT_EQ(order, 0);
    EXPECT_EQ(row, 0);
    EXPECT_TRUE(keeper->IsChannelPlaying(ch));
}

TEST_F(SoundKeeperTest, StopMusicWithAFadeStopsAfterItAndRestoresFullVolume) {
    ASSERT_TRUE(LoadGameMusic());
    uint32_t ch = keeper->PlayMusic("game", 0);
    ASSERT_NE(ch, 0u);
    EXPECT_FALSE(keeper->StopMusic("none", 2));
    ASSERT_TRUE(keeper->StopMusic("game", 2));
    mixer().Step(44100);
    EXPECT_NEAR(keeper->GetChannelVolume(ch), 50, 1);
    mixer().Step(44100 - 2048);
    EXPECT_TRUE(keeper->IsChannelPlaying(ch));
    EXPECT_GT(keeper->GetChannelVolume(ch), 0);
    mixer().Step(2048 - 256);
    EXPECT_TRUE(keeper->IsChannelPlaying(ch));
    EXPECT_EQ(keeper->GetChannelVolume(ch), 0) << "faded down to silence before it stops";
    mixer().Step(256);
    EXPECT_FALSE(keeper->IsChannelPlaying(ch));
    EXPECT_EQ(keeper->GetChannelVolume(ch), 100);
    EXPECT_FALSE(keeper->IsChannelSliding(ch));

    EXPECT_EQ(keeper->PlayMusic("game", 0), ch);
    EXPECT_GT(MixPeak(mixer(), 44100), 0.02f) << "heard at full volume again";
    EXPECT_TRUE(keeper->StopMusic("game", 0));
    EXPECT_FALSE(keeper->IsChannelPlaying(ch));
}

// Playing the music again while its fade-out runs cancels the fade and the stop
// at its end: the track plays on at full volume.
TEST_F(SoundKeeperTest, PlayMusicDuringAFadeOutCancelsItsStop) {
    ASSERT_TRUE(LoadGameMusic());
    const uint32_t ch = keeper->PlayMusic("game", 0);
    ASSERT_TRUE(keeper->StopMusic("game", 2));
    mixer().Step(44100);
    ASSERT_LT(keeper->GetChannelVolume(ch), 60);
    EXPECT_EQ(keeper->PlayMusic("game", 1), ch);
    EXPECT_FALSE(keeper->IsChannelSliding(ch));
    EXPECT_EQ(keeper->GetChannelVolume(ch), 100);
    mixer().Step(3 * 44100);
    EXPECT_TRUE(keeper->IsChannelPlaying(ch));
    EXPECT_EQ(keeper->GetChannelVolume(ch), 100);
    // A later fade still ends with its stop.
    ASSERT_TRUE(keeper->StopMusic("game", 1));
    mixer().Step(44100 + 512);
    EXPECT_FALSE(keeper->IsChannelPlaying(ch));
}

// On a real output (the dummy driver, or the silent clock) the fade ends on the
// audio thread, which stops the music and restores its volume.
TEST_F(SoundKeeperTest, FadeEndsOnTheAudioThread) {
    CSoundKeeper live;
    live.SetVolumes(100, 100);
    ASSERT_TRUE(live.LoadMusic("game", CMusicDesc {DataFile("Music/game.xm"), {0}}));
    uint32_t ch = live.PlayMusic("game", 0);
    ASSERT_NE(ch, 0u);
    ASSERT_TRUE(live.StopMusic("game", 1));
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (live.IsChannelPlaying(ch) && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(live.IsChannelPlaying(ch));
    EXPECT_EQ(live.GetChannelVolume(ch), 100);
}

TEST_F(SoundKeeperTest, AFileThatIsNoModulePlaysAsALoopingStream) {
    ASSERT_TRUE(keeper->LoadMusic("ambient", CMusicDesc {DataFile("Music/ambient.ogg"), {0}}));
    uint32_t ch = keeper->PlayMusic("ambient", 0);
    ASSERT_NE(ch, 0u);
    AudioMixer::Kind kind;
    mixer().GetKind(ch, &kind);
    EXPECT_EQ(kind, AudioMixer::Kind::Stream);
    float length = keeper->GetChannelLength(ch);
    ASSERT_GT(length, 5.0f);
    mixer().Step(static_cast<int>((length + 0.5f) * 44100));
    EXPECT_TRUE(keeper->IsChannelPlaying(ch));
    EXPECT_LT(keeper->GetChannelPosition(ch), 1.0f);
    EXPECT_GT(MixPeak(mixer(), 44100), 0.01f);
}

TEST_F(SoundKeeperTest, PauseAllSilencesEverythingUntilResumeAll) {
    uint32_t ch = keeper->PlaySample("tone");
    mixer().Step(4410);
    float pos = keeper->GetChannelPosition(ch);
    EXPECT_TRUE(keeper->PauseAll());
    EXPECT_EQ(MixPeak(mixer(), 4410), 0.0f);
    EXPECT_EQ(keeper->GetChannelPosition(ch), pos);
    EXPECT_TRUE(keeper->IsChannelPlaying(ch));
    EXPECT_TRUE(keeper->ResumeAll());
    EXPECT_GT(MixPeak(mixer(), 4410), 0.1f);

    ASSERT_TRUE(LoadGameMusic());
    keeper->FreeAll();
    EXPECT_EQ(keeper->GetMusicTrackCount("game"), 0);
    EXPECT_FALSE(keeper->FreeSample("tone"));
    EXPECT_FALSE(keeper->IsChannelPlaying(ch));
}

// The generated data: every alias of Samples.xml and every track of Music.xml
// loads through the real decoders and is heard.
class GeneratedSoundDataTest : public data_test::GeneratedDataTest {};

TEST_F(GeneratedSoundDataTest, EverySampleAliasIsAudible) {
    CSoundKeeper keeper(std::make_unique<AudioMixer>(AudioMixer::Mode::Manual));
    keeper.SetVolumes(100, 100);
    ASSERT_GE(keeper.SampleTable().size(), 35u);
    for (const auto& [alias, desc] : keeper.SampleTable()) {
        uint32_t ch = keeper.PlaySample(alias);
        ASSERT_NE(ch, 0u) << alias;
        // The whole sound: some build up to their loudest part.
        int frames = static_cast<int>(keeper.GetChannelLength(ch) * 44100.0f) + 256;
        float peak = MixPeak(keeper.Mixer(), frames);
        EXPECT_GT(peak, 0.1f) << alias;
        EXPECT_LE(peak, 1.0f) << alias;
        keeper.StopChannel(ch);
    }
    // Every alias that the game's code plays by name.
    for (const char* alias :
         {"ball_move", "ball_select", "mismatch", "bll_dead", "combo_bonus", "match_bonus", "pzl_ball_dead",
          "remove_lock", "row_falling", "on_bonus_add", "arte_appear", "arte_down", "arte_fly", "arte_cell",
          "treasure_fly_out", "treasure_fly_in", "hammer_take", "hammer_return", "bll_dead_hammer", "hammer_appear",
          "feather_appear", "egg_appear", "end_iter", "warning", "lev_complete_bonus", "btn_enter", "int_panel_open",
          "int_panel_move", "lives_up", "lives_down", "bonus_life", "lev_started", "episode_complete",
          "int_label_counter", "congratulations"})
        EXPECT_TRUE(keeper.SampleTable().count(alias)) << alias;
}

TEST_F(GeneratedSoundDataTest, EveryMusicTrackIsAudible) {
    CSoundKeeper keeper(std::make_unique<AudioMixer>(AudioMixer::Mode::Manual));
    keeper.SetVolumes(100, 100);
    const auto list = MusicList();
    ASSERT_GE(list.size(), 3u);
    int streams = 0;
    for (const auto& [alias, desc] : list) {
        ASSERT_TRUE(keeper.LoadMusic(alias, desc)) << alias;
        for (int track = 0; track < keeper.GetMusicTrackCount(alias); ++track) {
            uint32_t ch = keeper.PlayMusic(alias, track);
            ASSERT_NE(ch, 0u) << alias << " track " << track;
            AudioMixer::Kind kind;
            keeper.Mixer().GetKind(ch, &kind);
            if (kind == AudioMixer::Kind::Stream) {
                ++streams;
            } else {
                int order = -1;
                keeper.Mixer().GetMusicOrder(ch, &order, nullptr);
                EXPECT_EQ(order, desc.patterns[static_cast<size_t>(track)]) << alias << " track " << track;
            }
            float peak = MixPeak(keeper.Mixer(), 44100);
            EXPECT_GT(peak, 0.05f) << alias << " track " << track;
            EXPECT_LE(peak, 1.0f) << alias << " track " << track;
            EXPECT_TRUE(keeper.StopMusic(alias, 0));
        }
    }
    EXPECT_GE(streams, 1) << "at least one piece is an Ogg stream";
}

// A kill queues its sounds together with the chimes of its match and combo; all
// of them over the level music still stay below full scale.
TEST_F(GeneratedSoundDataTest, TheSoundsOfOneMatchOverTheMusicDoNotClip) {
    CSoundKeeper keeper(std::make_unique<AudioMixer>(AudioMixer::Mode::Manual));
    keeper.SetVolumes(100, 100);
    for (const auto& [alias, desc] : MusicList()) ASSERT_TRUE(keeper.LoadMusic(alias, desc)) << alias;
    for (int track = 0; track < keeper.GetMusicTrackCount("game"); ++track) {
        ASSERT_NE(keeper.PlayMusic("game", track), 0u);
        keeper.Mixer().Step(44100);
        for (const char* alias : {"bll_dead", "match_bonus", "combo_bonus"}) ASSERT_NE(keeper.PlaySample(alias), 0u);
        float peak = MixPeak(keeper.Mixer(), 44100);
        EXPECT_GT(peak, 0.3f);
        EXPECT_LT(peak, 1.0f) << "track " << track;
        keeper.StopMusic("game", 0);
    }
}

// A level's calm and anxious moods are tracks of two aliases, so both play at
// once on channels of their own and the music can cross-fade between them.
TEST_F(GeneratedSoundDataTest, MoodMusicPlaysOnChannelsOfItsOwn) {
    CSoundKeeper keeper(std::make_unique<AudioMixer>(AudioMixer::Mode::Manual));
    keeper.SetVolumes(100, 100);
    for (const auto& [alias, desc] : MusicList()) ASSERT_TRUE(keeper.LoadMusic(alias, desc)) << alias;
    for (int track = 0; track < 2; ++track) {
        uint32_t calm = keeper.PlayMusic("game", track);
        uint32_t anxious = keeper.PlayMusic("game_anxious", track);
        ASSERT_NE(calm, 0u);
        ASSERT_NE(anxious, 0u);
        EXPECT_NE(calm, anxious);
        keeper.SetChannelVolume(anxious, 0);
        keeper.Mixer().Step(4410);
        EXPECT_TRUE(keeper.IsChannelPlaying(calm));
        EXPECT_TRUE(keeper.IsChannelPlaying(anxious));
        EXPECT_EQ(keeper.GetChannelVolume(calm), 100);
        int calm_order = -1, anxious_order = -1;
        keeper.Mixer().GetMusicOrder(calm, &calm_order, nullptr);
        keeper.Mixer().GetMusicOrder(anxious, &anxious_order, nullptr);
        EXPECT_NE(calm_order / 4, anxious_order / 4) << "the moods are different tunes";
    }
}

}  // namespace
