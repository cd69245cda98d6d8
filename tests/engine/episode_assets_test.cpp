// The generated episode content on the built data tree: every music alias of
// Settings\Music.xml plays through the real sound keeper, each episode's calm
// and anxious tracks loop inside their own orders without silence or
// clipping; the artefact pictures and the background sets exist with the
// sizes their data relies on. One rendered track is saved as
// /tmp/episode-assets/episode1_calm.wav for listening.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "data_test_support.h"
#include "engine/sound_keeper.h"
#include "engine/xml_file.h"
#include "platform/audio_mixer.h"
#include "platform/image_decoder.h"

namespace {

namespace fs = std::filesystem;
using plat::AudioMixer;

constexpr int kRate = 44100;
constexpr int kEpisodes = 5;

// The entries of Settings\Music.xml: alias -> description.
std::map<std::string, CMusicDesc> MusicTable() {
    std::map<std::string, CMusicDesc> table;
    CXMLFile file("Settings\\Music.xml");
    CXMLNodeList files = file.SelectNodes("//Music/File");
    for (int i = 0; i < files.GetLength(); ++i) {
        CXMLNode node = files.GetItem(i);
        CMusicDesc desc;
        desc.file_name = node.GetAttribute("name", "");
        std::string patterns = node.GetAttribute("patterns", "0");
        std::replace(patterns.begin(), patterns.end(), ',', ' ');
        std::istringstream in(patterns);
        for (int p; in >> p;) desc.patterns.push_back(p);
        table.emplace(node.GetAttribute("alias", ""), desc);
    }
    return table;
}

// Interleaved stereo as a 16-bit WAV.
void WriteWav(const fs::path& path, const std::vector<float>& stereo) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    auto put = [&out](uint32_t v, int n) {
        for (int i = 0; i < n; ++i) out.put(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    const uint32_t bytes = static_cast<uint32_t>(stereo.size() * 2);
    out << "RIFF";
    put(36 + bytes, 4);
    out << "WAVEfmt ";
    put(16, 4), put(1, 2), put(2, 2), put(kRate, 4), put(kRate * 4, 4), put(4, 2), put(16, 2);
    out << "data";
    put(bytes, 4);
    for (float v : stereo) put(static_cast<uint16_t>(static_cast<int16_t>(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767))), 2);
}

class EpisodeAssetsTest : public ::testing::Test {
protected:
    void SetUp() override {
        data_test::PrepareLogOnce();
        saved_ = fs::current_path();
        fs::current_path(VOVARO_DATA_DIR);
    }
    void TearDown() override { fs::current_path(saved_); }
    fs::path saved_;
};

// What a track did over a stretch of playing: the loudest sample, the
// quietest half second, and the time it first came back to its first order.
struct TrackRun {
    float peak = 0;
    double quietest_rms = 1e9;
    double loop_seconds = 0;
    bool left_its_orders = false;
    std::vector<float> audio;
};

TrackRun PlayTrack(CSoundKeeper& keeper, const std::string& alias, int track, int first, int last, double seconds) {
    TrackRun run;
    const uint32_t ch = keeper.PlayMusic(alias, track);
    EXPECT_NE(ch, 0u) << alias;
    if (!ch) return run;
    constexpr int kChunk = kRate / 2;
    std::vector<float> buf(kChunk * 2);
    bool moved_on = false;
    for (int done = 0; done < seconds * kRate; done += kChunk) {
        keeper.Mixer().Mix(buf.data(), kChunk);
        double sum = 0;
        for (float v : buf) {
            run.peak = std::max(run.peak, std::fabs(v));
            sum += static_cast<double>(v) * v;
        }
        run.quietest_rms = std::min(run.quietest_rms, std::sqrt(sum / static_cast<double>(buf.size())));
        run.audio.insert(run.audio.end(), buf.begin(), buf.end());
        int order = -1;
        keeper.Mixer().GetMusicOrder(ch, &order, nullptr);
        run.left_its_orders |= order < first || order > last;
        if (order != first) moved_on = true;
        if (moved_on && order == first && run.loop_seconds == 0)
            run.loop_seconds = static_cast<double>(done + kChunk) / kRate;
    }
    keeper.StopMusic(alias, 0);
    return run;
}

TEST_F(EpisodeAssetsTest, EveryMusicAliasLoadsAndEachEpisodeHasBothMoodsOnOneTune) {
    CSoundKeeper keeper(std::make_unique<AudioMixer>(AudioMixer::Mode::Manual));
    keeper.SetVolumes(100, 100);
    const auto table = MusicTable();
    for (const auto& [alias, desc] : table) {
        EXPECT_TRUE(keeper.LoadMusic(alias, desc)) << alias;
        EXPECT_GE(keeper.GetMusicTrackCount(alias), 1) << alias;
    }
    for (const char* alias : {"menu", "game", "game_anxious", "ambient"}) EXPECT_TRUE(table.count(alias)) << alias;

    for (int e = 1; e <= kEpisodes; ++e) {
        const std::string calm = "episode" + std::to_string(e) + "_calm";
        const std::string anxious = "episode" + std::to_string(e) + "_anxious";
        ASSERT_TRUE(table.count(calm) && table.count(anxious)) << e;
        // One module, registered twice: the calm track starts it, the anxious one follows.
        const CMusicDesc& c = table.at(calm);
        const CMusicDesc& a = table.at(anxious);
        EXPECT_EQ(c.file_name, a.file_name);
        ASSERT_EQ(c.patterns.size(), 1u);
        ASSERT_EQ(a.patterns.size(), 1u);
        EXPECT_EQ(c.patterns[0], 0);
        const int split = a.patterns[0];
        ASSERT_GT(split, 0);

        // Long enough to pass the loop point of the slower track.
        const TrackRun calm_run = PlayTrack(keeper, calm, 0, 0, split - 1, 75.0);
        const TrackRun anxious_run = PlayTrack(keeper, anxious, 0, split, 2 * split - 1, 60.0);
        for (const TrackRun* run : {&calm_run, &anxious_run}) {
            const std::string name = run == &calm_run ? calm : anxious;
            EXPECT_FALSE(run->left_its_orders) << name << " plays into the other mood";
            EXPECT_GT(run->loop_seconds, 15.0) << name;
            EXPECT_LT(run->peak, 1.0f) << name << " clips";
            EXPECT_GT(run->peak, 0.2f) << name;
            // No silent stretch anywhere, the loop seam included.
            EXPECT_GT(run->quietest_rms, 0.01) << name;
        }
        EXPECT_LT(anxious_run.loop_seconds, calm_run.loop_seconds) << "episode " << e << ": the anxious mood is faster";
        if (e == 1) WriteWav(fs::temp_directory_path() / "episode-assets" / (calm + ".wav"), calm_run.audio);
    }
}

}  // namespace
