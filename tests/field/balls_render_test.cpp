// The shipped balls drawn through the real render device: a level of every
// ball kind on base tiles, with locks of every strength and the substrates
// under the special, bonus and fragment balls. On the read-back frame every
// ball is found in its own cell in the colours of its own picture, the locks
// and the bonus glow show; the frame is written as balls_grid.png to the
// pictures' folder "balls" (in the test's temporary folder, or under
// VOVARO_SHOTS_DIR to keep it for a look by eye).
#include <gtest/gtest.h>
#include <png.h>

#include "shot_png.h"

#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "balls_test_support.h"
#include "field/ball_tables.h"
#include "field/balls_field.h"
#include "field/field_flags.h"
#include "field/field_globals.h"
#include "field/graph_obj.h"
#include "field/graph_obj_manager.h"
#include "engine/base_app.h"
#include "engine/game_clock.h"
#include "graphics/plume.h"
#include "graphics/plume_library.h"

namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 8;
constexpr int kHeight = 7;
constexpr int kLeft = 256;
constexpr int kTop = 174;
constexpr uint32_t kBackground = 0xFF1B2233;

// Row by row: every kind once in the first rows, locks of 1 to 4 hits on the
// third and fourth rows, then a mix of the ordinary kinds.
const int kGrid[kHeight][kWidth] = {
    {1, 2, 3, 4, 5, 6, 7, 8},       {9, 11, 12, 13, 14, 15, 16, 21}, {22, 23, 24, 25, 26, 1, 2, 3},
    {4, 5, 6, 7, 8, 3, 1, 2},       {2, 7, 1, 5, 3, 8, 4, 6},        {6, 4, 8, 2, 7, 1, 5, 3},
    {3, 1, 5, 6, 2, 4, 8, 7},
};
const std::map<std::pair<int, int>, int> kLocks = {{{5, 2}, 1}, {{6, 2}, 2}, {{7, 2}, 3}, {{0, 3}, 4}};

struct Rgb {
    float r = 0, g = 0, b = 0;
};

float Distance(const Rgb& a, const Rgb& b) { return std::fabs(a.r - b.r) + std::fabs(a.g - b.g) + std::fabs(a.b - b.b); }

// A PNG of the data tree as straight ARGB words.
struct Picture {
    std::vector<uint32_t> px;
    int width = 0;

    bool Load(const std::string& path) {
        png_image image {};
        image.version = PNG_IMAGE_VERSION;
        if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
        image.format = PNG_FORMAT_BGRA;
        px.resize(PNG_IMAGE_SIZE(image) / 4);
        width = static_cast<int>(image.width);
        return png_image_finish_read(&image, nullptr, px.data(), 0, nullptr) != 0;
    }
};

Rgb Unpack(uint32_t c) {
    return {static_cast<float>((c >> 16) & 0xFF), static_cast<float>((c >> 8) & 0xFF), static_cast<float>(c & 0xFF)};
}

class BallsRenderTest : public field_test::ShippedDataTest {
protected:
    void SetUp() override {
        ShippedDataTest::SetUp();
        ASSERT_TRUE(effects_.LoadLibrary("Textures\\Plume\\Effects.plume"));
    }
    void TearDown() override {
        tiles_.clear();
        tile_keeper_.reset();
        balls_.reset();
        ShippedDataTest::TearDown();
    }

    std::string LevelXml() const {
        std::string cells;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                auto lock = kLocks.find({x, y});
                cells += "<Cell x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\" lock=\"" +
                         std::to_string(lock == kLocks.end() ? 0 : lock->second) + "\"><Ball graph_type=\"" +
                         std::to_string(kGrid[y][x]) + "\"/></Cell>";
            }
        return "<Level><Config field_width=\"" + std::to_string(kWidth) + "\" field_height=\"" + std::to_string(kHeight) +
               "\" field_pos_x=\"" + std::to_string(kLeft) + "\" field_pos_y=\"" + std::to_string(kTop) +
               "\"><Balls><Ball graph_type=\"1\"/></Balls></Config><Balls>" + cells + "</Balls></Level>";
    }
    // Base tiles under every cell, a puzzle layer on a few, as the tiles field lays them.
    void LayTiles() {
        tile_keeper_ = std::make_unique<CRendererKeeper>();
        for (int cell = 0; cell < g_LevelCFG->GetCellCount(); ++cell) {
            for (int type : {1, cell % 5 == 2 ? 2 : cell % 7 == 3 ? 3 : 0}) {
                const CGraphStateDesc* desc = type ? g_TilesGraphBase->FindStateDesc(type, 0) : nullptr;
                if (!desc) continue;
                auto tile = std::make_unique<CGraphOBJ>(*desc, g_GameCFG->GetCellWidth(), g_GameCFG->GetCellHeight(),
                                                        tile_keeper_.get());
                float x = 0, y = 0;
                g_LevelCFG->CellToScr(cell, x, y);
                tile->SetPosition(x, y);
                tiles_.push_back(std::move(tile));
            }
        }
    }
    std::vector<uint32_t> Draw(bool with_balls, int frames) {
        std::vector<uint32_t> px;
        for (int i = 0; i < frames; ++i) {
            BeginDraw(kBackground);
            tile_keeper_->RenderAll();
            if (with_balls) balls_->Render();
            px = ReadBack();
            GameClock().Advance(g_FramePeriod);  // the substrates' effects run on game time
        }
        return px;
    }
    // The mean colour of the frame within `r` pixels of (cx, cy).
    Rgb Mean(const std::vector<uint32_t>& px, float cx, float cy, float r) const {
        Rgb sum;
        int n = 0;
        for (int y = static_cast<int>(cy - r); y <= static_cast<int>(cy + r); ++y)
            for (int x = static_cast<int>(cx - r); x <= static_cast<int>(cx + r); ++x) {
                if (std::hypot(static_cast<float>(x) + 0.5f - cx, static_cast<float>(y) + 0.5f - cy) > r) continue;
                const Rgb c = Unpack(At(px, x, y));
                sum.r += c.r, sum.g += c.g, sum.b += c.b;
                ++n;
            }
        return {sum.r / static_cast<float>(n), sum.g / static_cast<float>(n), sum.b / static_cast<float>(n)};
    }
    // The same over the picture of a graph type in its texture, scaled to the ball.
    Rgb PictureMean(int graph_type, float r) {
        const CGraphStateDesc* desc = g_BallsGraphBase->FindStateDesc(graph_type, 0);
        EXPECT_NE(desc, nullptr) << graph_type;
        if (!desc) return {};
        const CGraphicsDesc& g = desc->layers[0].graphics;
        Picture& picture = pictures_[g.texture];
        if (picture.px.empty()) {
            std::string path = g.texture;
            for (char& c : path)
                if (c == '\\') c = '/';
            EXPECT_TRUE(picture.Load(path)) << path;
        }
        const float scale = (g.tex_rect.right - g.tex_rect.left) / g_GameCFG->GetBallWidth();
        const float cx = (g.tex_rect.left + g.tex_rect.right) / 2, cy = (g.tex_rect.top + g.tex_rect.bottom) / 2;
        Rgb sum;
        float n = 0;
        for (int y = static_cast<int>(g.tex_rect.top); y < static_cast<int>(g.tex_rect.bottom); ++y)
            for (int x = static_cast<int>(g.tex_rect.left); x < static_cast<int>(g.tex_rect.right); ++x) {
                if (std::hypot(static_cast<float>(x) + 0.5f - cx, static_cast<float>(y) + 0.5f - cy) > r * scale) continue;
                const Rgb c = Unpack(picture.px[static_cast<size_t>(y) * static_cast<size_t>(picture.width) +
                                                static_cast<size_t>(x)]);
                sum.r += c.r, sum.g += c.g, sum.b += c.b;
                n += 1;
            }
        return {sum.r / n, sum.g / n, sum.b / n};
    }
    // The mean difference per pixel and channel of the 24 x 24 squares around two points.
    float PatchDifference(const std::vector<uint32_t>& px, const CVector2& a, const CVector2& b) const {
        float sum = 0;
        for (int dy = -12; dy < 12; ++dy)
            for (int dx = -12; dx < 12; ++dx)
                sum += Distance(Unpack(At(px, static_cast<int>(a.x) + dx, static_cast<int>(a.y) + dy)),
                                Unpack(At(px, static_cast<int>(b.x) + dx, static_cast<int>(b.y) + dy)));
        return sum / (24 * 24 * 3);
    }
    void SavePng(const std::vector<uint32_t>& px, const std::string& name) {
        const fs::path path = test_shots::ShotsDir("balls") / name;
        EXPECT_TRUE(test_shots::SaveFramePng(px, 800, 600, path)) << path;
    }

    // The grid alone, three times as large, for a closer look.
    void SaveZoom(const std::vector<uint32_t>& px, const std::string& name) {
        constexpr int kZoom = 3, kMargin = 12;
        const int w = (kWidth * 36 + 2 * kMargin) * kZoom, h = (kHeight * 36 + 2 * kMargin) * kZoom;
        std::vector<uint32_t> zoom(static_cast<size_t>(w) * static_cast<size_t>(h));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                zoom[static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x)] =
                    At(px, kLeft - kMargin + x / kZoom, kTop - kMargin + y / kZoom);
        png_image image {};
        image.version = PNG_IMAGE_VERSION;
        image.width = static_cast<png_uint_32>(w);
        image.height = static_cast<png_uint_32>(h);
        image.format = PNG_FORMAT_BGRA;
        const std::string path = (test_shots::ShotsDir("balls") / name).string();
        EXPECT_TRUE(png_image_write_to_file(&image, path.c_str(), 0, zoom.data(), 0, nullptr)) << path;
    }

    CPlume effects_;
    CFieldFlags flags_;
    std::unique_ptr<CBallsField> balls_;
    std::unique_ptr<CRendererKeeper> tile_keeper_;
    std::vector<std::unique_ptr<CGraphOBJ>> tiles_;
    std::map<std::string, Picture> pictures_;
};

TEST_F(BallsRenderTest, EveryBallKindIsDrawnInItsCell) {
    balls_ = std::make_unique<CBallsField>(&flags_);
    const CXMLNode level = field_test::XmlNode(LevelXml());
    g_LevelCFG->LoadLevelFieldConfig(level);
    balls_->LoadConfig(level);
    balls_->PrepareLevel();
    field_test::PutLevelFragments(*balls_, level);
    for (int cell = 0; cell < kWidth * kHeight; ++cell) ASSERT_FALSE(balls_->IsCellEmpty(cell)) << cell;
    LayTiles();

    const std::vector<uint32_t> bare = Draw(false, 1);
    const std::vector<uint32_t> px = Draw(true, 12);
    SavePng(px, "balls_grid.png");
    SaveZoom(px, "balls_grid_zoom.png");

    constexpr float kInner = 9.0f;  // inside every ball's rim
    std::map<int, CVector2> seen;  // where each kind was checked
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const int cell = g_LevelCFG->PosToCell(x, y);
            const int type = kGrid[y][x];
            float cx = 0, cy = 0;
            ASSERT_TRUE(g_LevelCFG->CellCenterToScr(cell, cx, cy));
            SCOPED_TRACE(testing::Message() << "kind " << type << " at " << x << "," << y);
            const Rgb drawn = Mean(px, cx, cy, kInner);
            EXPECT_GT(Distance(drawn, Mean(bare, cx, cy, kInner)), 60) << "nothing drawn over the tile";
            if (kLocks.count({x, y})) continue;  // checked below
            const Rgb expected = PictureMean(type, kInner);
            EXPECT_LT(Distance(drawn, expected), 36)
                << "drawn " << drawn.r << "," << drawn.g << "," << drawn.b << " expected " << expected.r << ","
                << expected.g << "," << expected.b;
            seen[type] = CVector2(cx, cy);
        }
    // Every kind the player tells apart has looks of its own: its picture
    // differs from every other kind's, pixel by pixel, in colour or in shape.
    // (The fragments, one per artefact, only need to differ from the rest.)
    EXPECT_EQ(seen.size(), 21u);
    const auto fragment = [](int type) { return type >= 21; };
    for (auto a = seen.begin(); a != seen.end(); ++a)
        for (auto b = std::next(a); b != seen.end(); ++b)
            if (!fragment(a->first) || !fragment(b->first)) {
                EXPECT_GT(PatchDifference(px, a->second, b->second), 25) << "kinds " << a->first << " and " << b->first;
            }

    // A lock's steel rim lies over the ball's edge: grey where the same kind
    // unlocked shows its colour.
    for (const auto& [pos, strength] : kLocks) {
        const int type = kGrid[pos.second][pos.first];
        float cx = 0, cy = 0;
        g_LevelCFG->CellCenterToScr(g_LevelCFG->PosToCell(pos.first, pos.second), cx, cy);
        const Rgb rim = Unpack(At(px, static_cast<int>(cx) - 15, static_cast<int>(cy)));
        EXPECT_LT(std::fabs(rim.r - rim.b) + std::fabs(rim.g - rim.b), 60)
            << "lock " << strength << " on kind " << type << ": " << rim.r << "," << rim.g << "," << rim.b;
        EXPECT_TRUE(balls_->IsCellLocked(g_LevelCFG->PosToCell(pos.first, pos.second)));
    }
    EXPECT_EQ(balls_->GetBall(g_LevelCFG->PosToCell(0, 3)).graph_type, 4);

    // The golden glow of a bonus ball shows around it, off its diagonal,
    // where an ordinary ball leaves the tile as it was.
    for (const auto& [x, y, glowing] : {std::tuple {1, 1, true}, std::tuple {3, 1, true}, std::tuple {1, 0, false},
                                        std::tuple {3, 4, false}}) {
        float cx = 0, cy = 0;
        g_LevelCFG->CellCenterToScr(g_LevelCFG->PosToCell(x, y), cx, cy);
        const int gx = static_cast<int>(cx) - 15, gy = static_cast<int>(cy) - 15;
        const Rgb drawn = Unpack(At(px, gx, gy)), tile = Unpack(At(bare, gx, gy));
        if (glowing) {
            EXPECT_GT(drawn.r - tile.r, 60) << x << "," << y;
            EXPECT_GT(drawn.r, drawn.b + 60) << x << "," << y;
        } else {
            EXPECT_LT(Distance(drawn, tile), 12) << x << "," << y;
        }
    }
}

}  // namespace
