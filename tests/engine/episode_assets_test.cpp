// The generated episode content on the built data tree: every music alias of
// Settings\Music.xml plays through the real sound keeper, each episode's calm
// and anxious tracks loop inside their own orders without silence or
// clipping; the artefact pictures have the sizes and the ten-cell grid their
// data relies on, with every lit cell standing out from the grey; every
// background names pictures that exist, and its scrolling strips wrap without
// a seam. One rendered track is saved as episode1_calm.wav in the folder
// "episode-assets" (in the test's temporary folder, or under VOVARO_SHOTS_DIR
// to keep it for listening).
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

#include "shot_png.h"
#include "generated_data_test.h"
#include "engine/sound_keeper.h"
#include "engine/xml_file.h"
#include "platform/audio_mixer.h"
#include "platform/image_decoder.h"

namespace {

namespace fs = std::filesystem;
using plat::AudioMixer;

constexpr int kRate = 44100;
constexpr int kEpisodes = 5;

int Red(uint32_t c) { return static_cast<int>((c >> 16) & 0xFF); }
int Green(uint32_t c) { return static_cast<int>((c >> 8) & 0xFF); }
int Blue(uint32_t c) { return static_cast<int>(c & 0xFF); }
int Alpha(uint32_t c) { return static_cast<int>(c >> 24); }

// A picture of the data tree, by its game name; empty when it cannot be read.
plat::DecodedImage Picture(std::string name) {
    std::replace(name.begin(), name.end(), '\\', '/');
    std::ifstream in(name, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    plat::DecodedImage image;
    std::string error;
    if (bytes.empty() || !plat::DecodeImage(bytes.data(), bytes.size(), &image, &error)) return {};
    return image;
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

class EpisodeAssetsTest : public data_test::GeneratedDataTest {};

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
    const auto list = MusicList();
    const std::map<std::string, CMusicDesc> table(list.begin(), list.end());
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
        if (e == 1) WriteWav(test_shots::ShotsDir("episode-assets") / (calm + ".wav"), calm_run.audio);
    }
}

// The artefact pictures: the sizes the artefact data is written for, ten cells
// (the grid of 48x48 cells, 3 by 4, without the two top corners) that all hold
// a part of the artefact, a coloured cell that differs plainly from its grey
// one, and a round fragment ball.
TEST_F(EpisodeAssetsTest, ArtefactPicturesHaveTheirSizesAndTenDistinctCells) {
    struct Size {
        const char* file;
        uint32_t width, height;
    };
    const Size sizes[] = {{"color", 144, 192}, {"grey", 144, 192}, {"blink", 144, 192},
                          {"glow", 208, 256},  {"icon", 48, 48},   {"fragment", 34, 34}};
    const plat::DecodedImage panel = Picture("Textures\\Artefacts\\panel.png");
    EXPECT_EQ(panel.width, 176u);
    EXPECT_EQ(panel.height, 224u);
    for (const char* artefact : {"amulet", "vase", "mask", "lantern", "crown"}) {
        const std::string dir = std::string("Textures\\Artefacts\\") + artefact + "\\";
        std::map<std::string, plat::DecodedImage> pictures;
        for (const Size& size : sizes) {
            pictures[size.file] = Picture(dir + size.file + ".png");
            EXPECT_EQ(pictures[size.file].width, size.width) << artefact << " " << size.file;
            EXPECT_EQ(pictures[size.file].height, size.height) << artefact << " " << size.file;
        }
        const plat::DecodedImage& colour = pictures["color"];
        const plat::DecodedImage& grey = pictures["grey"];
        if (colour.argb.size() != 144u * 192u || grey.argb.size() != colour.argb.size()) continue;
        int cells = 0;
        for (int row = 0; row < 4; ++row)
            for (int column = 0; column < 3; ++column) {
                int opaque = 0;
                long difference = 0;
                for (int y = row * 48; y < row * 48 + 48; ++y)
                    for (int x = column * 48; x < column * 48 + 48; ++x) {
                        const uint32_t c = colour.argb[static_cast<size_t>(y * 144 + x)];
                        const uint32_t g = grey.argb[static_cast<size_t>(y * 144 + x)];
                        EXPECT_NEAR(Alpha(c), Alpha(g), 1) << artefact << " at " << x << "," << y;
                        if (Alpha(c) < 128) continue;
                        ++opaque;
                        difference += std::abs(Red(c) - Red(g)) + std::abs(Green(c) - Green(g)) + std::abs(Blue(c) - Blue(g));
                    }
                const bool corner = row == 0 && column != 1;
                if (corner) {
                    EXPECT_EQ(opaque, 0) << artefact << ": top corner cell " << column << " is not empty";
                    continue;
                }
                ++cells;
                EXPECT_GT(opaque, 48 * 48 / 8) << artefact << ": cell " << column << "," << row << " is nearly empty";
                EXPECT_GT(difference / std::max(opaque, 1), 60) << artefact << ": cell " << column << "," << row
                                                                << " looks the same lit and grey";
            }
        EXPECT_EQ(cells, 10) << artefact;
        // The grey picture is grey.
        for (uint32_t g : grey.argb)
            if (Alpha(g) > 0) {
                EXPECT_LT(std::max({Red(g), Green(g), Blue(g)}) - std::min({Red(g), Green(g), Blue(g)}), 24);
            }
        // The ball: transparent corners, an opaque middle.
        const plat::DecodedImage& ball = pictures["fragment"];
        if (ball.argb.size() == 34u * 34u) {
            EXPECT_EQ(Alpha(ball.argb[0]), 0);
            EXPECT_EQ(Alpha(ball.argb[33]), 0);
            EXPECT_EQ(Alpha(ball.argb[17 * 34 + 17]), 255);
        }
    }
}

// Every tile of every background names an object of the catalogue whose
// picture exists and holds its rectangle; each layer that scrolls sideways is
// a strip as wide as the screen whose two ends meet without a visible seam.
TEST_F(EpisodeAssetsTest, EveryBackgroundSetNamesItsPicturesAndItsStripsWrap) {
    CXMLFile catalogue("Settings\\TileBase.xml");
    CXMLNodeList groups = catalogue.SelectNodes("//TileBase/Group");
    CXMLFile file("Settings\\Backgrounds.xml");
    CXMLNodeList backgrounds = file.SelectNodes("//Backgrounds/Background");
    std::vector<std::string> sets;
    for (int b = 0; b < backgrounds.GetLength(); ++b) {
        const CXMLNode background = backgrounds.GetItem(b);
        const std::string set = background.GetAttribute("set", "");
        sets.push_back(set);
        CXMLNodeList layers = background.SelectNodes("Layer");
        for (int l = 0; l < layers.GetLength(); ++l) {
            const CXMLNode layer = layers.GetItem(l);
            const bool sideways = layer.GetAttributeFloat("speed", 0) > 0 && !layer.GetAttributeBool("scroll_vertically", true);
            CXMLNodeList tiles = layer.SelectNodes("Tile");
            for (int t = 0; t < tiles.GetLength(); ++t) {
                const CXMLNode tile = tiles.GetItem(t);
                const int group_id = tile.GetAttributeInt("group_id", 0), id = tile.GetAttributeInt("id", 0);
                ASSERT_LT(group_id, groups.GetLength()) << set;
                CXMLNodeList objects = groups.GetItem(group_id).SelectNodes("Object");
                ASSERT_LT(id, objects.GetLength()) << set;
                const CXMLNode graphics = objects.GetItem(id).SelectSingleNode("graphics");
                if (!graphics.IsValid()) continue;  // a particle emitter
                const std::string texture = graphics.GetAttribute("texture", "");
                const plat::DecodedImage image = Picture(texture);
                ASSERT_GT(image.width, 0u) << set << ": " << texture;
                std::istringstream rect(graphics.GetAttribute("tex_rect", ""));
                uint32_t left = 0, top = 0, right = 0, bottom = 0;
                rect >> left >> top >> right >> bottom;
                EXPECT_LE(right, image.width) << texture;
                EXPECT_LE(bottom, image.height) << texture;
                if (!sideways) continue;
                EXPECT_EQ(image.width, 800u) << texture;
                // Across the seam the picture changes no more than between its own neighbouring columns.
                long seam = 0, inside = 0;
                for (uint32_t y = 0; y < image.height; ++y) {
                    const uint32_t* row = &image.argb[static_cast<size_t>(y) * image.width];
                    auto step = [](uint32_t a, uint32_t b) {
                        return std::abs(Alpha(a) - Alpha(b)) + std::abs(Red(a) - Red(b)) + std::abs(Green(a) - Green(b)) +
                               std::abs(Blue(a) - Blue(b));
                    };
                    seam += step(row[image.width - 1], row[0]);
                    inside += step(row[399], row[400]) + step(row[image.width - 2], row[image.width - 1]);
                }
                EXPECT_LE(seam, inside + 16 * static_cast<long>(image.height)) << set << ": " << texture;
            }
        }
    }
    // Five looks, one for each episode.
    for (const char* set : {"meadow", "orchard", "marsh", "forest", "winter"})
        EXPECT_NE(std::find(sets.begin(), sets.end(), set), sets.end()) << set;
}

}  // namespace
