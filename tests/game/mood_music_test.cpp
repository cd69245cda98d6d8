// The level music: the track references read from a level's music node, the
// volume ramps of one channel, and the cross-fade between the calm and the
// anxious mood, on a sound keeper that keeps streams and volumes in a table.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "engine/xml_file.h"
#include "game/level_music_desc.h"
#include "game/mood_music.h"
#include "game/music_channel.h"
#include "gui/gui_test_support.h"

namespace {

// Streams are numbered from 1; an alias in `refused` does not play. The
// sample calls are the recording keeper's.
class MusicKeeper : public gui_test::RecordingSoundKeeper {
public:
    std::map<uint32_t, int> volume;  // open streams
    std::map<uint32_t, std::string> alias_of;
    std::vector<std::string> played;
    std::vector<std::string> refused;
    uint32_t next = 1;

    uint32_t PlayMusic(const std::string& alias, int track) override {
        for (const auto& r : refused)
            if (r == alias) return 0;
        played.push_back(alias + ":" + std::to_string(track));
        volume[next] = 100;
        alias_of[next] = alias;
        return next++;
    }
    bool StopChannel(uint32_t c) override { return volume.erase(c) > 0; }
    bool IsChannelPlaying(uint32_t c) override { return volume.count(c) > 0; }
    int GetChannelVolume(uint32_t c) override { return volume.count(c) ? volume[c] : 0; }
    bool SetChannelVolume(uint32_t c, int v) override {
        if (!volume.count(c)) return false;
        volume[c] = v;
        return true;
    }
};

LevelMusicDesc Parse(const std::string& xml) {
    CXMLFile doc;
    doc.Parse(xml);
    LevelMusicDesc desc;
    EXPECT_TRUE(ParseLevelMusic(doc.SelectSingleNode("//Music"), desc));
    return desc;
}

LevelMusicDesc GameMusic() {
    return Parse("<Music fade_speed='1.0'><Normal alias='game' track='0'/><Anxious alias='game_anxious' track='0'/></Music>");
}

TEST(LevelMusicDescTest, ReadsMoodsAndKeepsWhatIsMissing) {
    const LevelMusicDesc both = Parse("<Music fade_speed='2.5'><Normal alias='game' track='1'/><Anxious alias='x'/></Music>");
    EXPECT_EQ(both.Normal, (MusicTrackRef {"game", 1}));
    EXPECT_EQ(both.Anxious, (MusicTrackRef {"x", 0}));  // track defaults to 0
    EXPECT_FLOAT_EQ(both.fade_speed, 2.5f);

    const LevelMusicDesc calm_only = Parse("<Music><Normal alias='game'/></Music>");
    EXPECT_EQ(calm_only.Anxious.track, MusicTrackRef::kNoTrack);
    EXPECT_FLOAT_EQ(calm_only.fade_speed, 1.0f);

    LevelMusicDesc none;
    none.Normal = {"game", 0};
    EXPECT_TRUE(ParseLevelMusic(CXMLNode(), none));
    EXPECT_EQ(none.Normal.track, MusicTrackRef::kNoTrack);
    EXPECT_EQ(none.Anxious.track, MusicTrackRef::kNoTrack);
}

TEST(MusicChannelTest, FadeFromZeroToFullTakes101Updates) {
    MusicKeeper keeper;
    CMusicChannel channel(&keeper);
    channel.SetTrack({"game", 0});
    channel.Open();
    ASSERT_NE(channel.GetStream(), 0u);
    channel.FadeTo(0, 0.0f);  // speed 0: at once
    EXPECT_EQ(keeper.volume[channel.GetStream()], 0);

    channel.FadeTo(100, 1.0f);
    for (int i = 1; i <= 100; ++i) {
        channel.Update();
        ASSERT_EQ(keeper.volume[channel.GetStream()], i);
        ASSERT_TRUE(channel.IsFading()) << i;
    }
    channel.Update();
    EXPECT_FALSE(channel.IsFading());
    EXPECT_EQ(keeper.volume[channel.GetStream()], 100);
    // Opening again keeps the stream.
    const uint32_t stream = channel.GetStream();
    channel.Open();
    EXPECT_EQ(channel.GetStream(), stream);
    EXPECT_EQ(keeper.played.size(), 1u);
}

TEST(MusicChannelTest, FadeToPresentVolumeEndsOnNextStepAndFadedOutStreamCloses) {
    MusicKeeper keeper;
    CMusicChannel channel(&keeper);
    channel.SetTrack({"game", 0});
    channel.FadeTo(50, 1.0f);  // nothing open: nothing happens
    EXPECT_FALSE(channel.IsFading());

    channel.Open();
    channel.FadeTo(100, 5.0f);
    channel.Update();
    EXPECT_FALSE(channel.IsFading());

    channel.FadeTo(0, 50.0f);
    channel.Update();
    channel.Update();
    channel.Update();  // passes 0: the ramp ends at 0
    EXPECT_EQ(keeper.volume[channel.GetStream()], 0);
    EXPECT_NE(channel.GetStream(), 0u);
    channel.Update();  // idle at volume 0: closed
    EXPECT_EQ(channel.GetStream(), 0u);
    EXPECT_TRUE(keeper.volume.empty());
}

TEST(MoodMusicTest, PlayThenTwoSwitchesReuseTheOpenStream) {
    MusicKeeper keeper;
    CMoodMusic music(&keeper);
    music.SetTracks(GameMusic(), true);
    music.Play();
    ASSERT_EQ(keeper.played, (std::vector<std::string> {"game:0"}));
    const uint32_t calm = music.GetCurrent().GetStream();
    EXPECT_EQ(keeper.volume[calm], 100);

    music.SwitchMood();
    const uint32_t anxious = music.GetCurrent().GetStream();
    EXPECT_EQ(keeper.alias_of[anxious], "game_anxious");
    EXPECT_EQ(keeper.volume[anxious], 0);
    for (int i = 0; i < 10; ++i) music.Update();
    EXPECT_EQ(keeper.volume[anxious], 10);
    EXPECT_EQ(keeper.volume[calm], 90);

    // Back before the fade ends: the calm stream is still open and comes back from 0.
    music.SwitchMood();
    EXPECT_EQ(music.GetCurrent().GetStream(), calm);
    EXPECT_EQ(keeper.volume[calm], 0);
    EXPECT_EQ(keeper.played.size(), 2u);
    // The anxious music, at 10, reaches 0 on the 11th update and is closed on the 12th.
    for (int i = 0; i < 11; ++i) music.Update();
    EXPECT_EQ(keeper.volume.count(anxious), 1u);
    EXPECT_EQ(keeper.volume[anxious], 0);
    music.Update();
    EXPECT_EQ(keeper.volume.count(anxious), 0u);
    for (int i = 0; i < 89; ++i) music.Update();
    EXPECT_EQ(keeper.volume[calm], 100);

    // The next switch opens the anxious music afresh.
    music.SwitchMood();
    EXPECT_EQ(keeper.played.size(), 3u);
}

TEST(MoodMusicTest, RefusedMusicNeverSwaps) {
    MusicKeeper keeper;
    keeper.refused = {"game_anxious"};
    CMoodMusic music(&keeper);
    music.SetTracks(GameMusic(), false);
    music.Play();
    const uint32_t calm = music.GetCurrent().GetStream();
    music.SwitchMood();
    music.SwitchMood();
    EXPECT_EQ(music.GetCurrent().GetStream(), calm);
    EXPECT_EQ(music.GetSecond().GetStream(), 0u);
    music.Update();
    EXPECT_EQ(keeper.volume[calm], 100);
}

TEST(MoodMusicTest, KeptMusicGoesOnAcrossLevels) {
    MusicKeeper keeper;
    CMoodMusic music(&keeper);
    music.SetTracks(GameMusic(), true);
    music.Play();
    // A level without music of its own keeps what plays.
    LevelMusicDesc none;
    ParseLevelMusic(CXMLNode(), none);
    music.SetTracks(none, true);
    music.Play();
    // The same calm track is not restarted either; another one is.
    music.SetTracks(GameMusic(), true);
    music.Play();
    EXPECT_EQ(keeper.played.size(), 1u);
    music.SetTracks(Parse("<Music><Normal alias='game' track='1'/></Music>"), true);
    music.Play();
    EXPECT_EQ(keeper.played, (std::vector<std::string> {"game:0", "game:1"}));
    EXPECT_EQ(keeper.volume.size(), 1u);
    // Without keep_if_same the music restarts.
    music.SetTracks(Parse("<Music><Normal alias='game' track='1'/></Music>"), false);
    music.Play();
    EXPECT_EQ(keeper.played.size(), 3u);
    music.Stop();
    EXPECT_TRUE(keeper.volume.empty());
}

// Both faders move by the fade speed every frame until they pass their end: a
// speed that is not finite is read as the default, so the cross-fade ends.
TEST(MoodMusicTest, AFadeSpeedThatIsNotFiniteStillEndsTheCrossFade) {
    for (const char* speed : {"nan", "inf"}) {
        SCOPED_TRACE(speed);
        const LevelMusicDesc desc = Parse(std::string("<Music fade_speed='") + speed +
                                          "'><Normal alias='game' track='0'/><Anxious alias='game_anxious' track='0'/></Music>");
        EXPECT_EQ(desc.fade_speed, 1.0f);
        MusicKeeper keeper;
        CMoodMusic music(&keeper);
        music.SetTracks(desc, false);
        music.Play();
        const uint32_t calm = music.GetCurrent().GetStream();
        music.SwitchMood();
        const uint32_t anxious = music.GetCurrent().GetStream();
        for (int i = 0; i < 102; ++i) music.Update();
        EXPECT_FALSE(music.GetCurrent().IsFading());
        EXPECT_EQ(keeper.volume[anxious], 100);
        EXPECT_EQ(keeper.volume.count(calm), 0u);
    }
}

}  // namespace
