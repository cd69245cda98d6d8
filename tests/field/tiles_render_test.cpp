// A small level's tiles drawn from the shipped data through the real render
// device: the checkerboard of base tiles, puzzle cells of one to four plates,
// a hole, the fire on the lowest row and the puzzle bar above the field, each
// checked on the read-back frame after a full appearance. The frame is also
// written as tiles_level.png to the pictures' folder "tiles" (in the test's
// temporary folder, or under VOVARO_SHOTS_DIR to keep it for a look by eye).
#include <gtest/gtest.h>
#include <png.h>

#include "shot_png.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "field/field_globals.h"
#include "field/field_state.h"
#include "field/graph_obj.h"
#include "field/level_cfg.h"
#include "field/tiles_field.h"
#include "field/tiles_fire.h"
#include "field_test_support.h"
#include "graphics/core_test_support.h"
#include "gui/menu_progress_bar.h"

namespace {

namespace fs = std::filesystem;

constexpr uint32_t kBackground = 0xFF302838;
constexpr int kLeft = 300, kTop = 100, kCell = 36;

int R(uint32_t c) { return static_cast<int>((c >> 16) & 0xFF); }
int G(uint32_t c) { return static_cast<int>((c >> 8) & 0xFF); }
int B(uint32_t c) { return static_cast<int>(c & 0xFF); }

bool IsAmber(uint32_t c) { return R(c) > 180 && G(c) > 110 && B(c) < G(c) - 40; }
bool IsJade(uint32_t c) { return G(c) > R(c) + 30 && G(c) > B(c) + 10; }
bool IsAzure(uint32_t c) { return B(c) > R(c) + 50 && B(c) > 150; }
bool IsRuby(uint32_t c) { return R(c) > G(c) + 60 && R(c) > B(c) + 20; }
bool IsDarkGlass(uint32_t c) { return B(c) > R(c) && B(c) < 160 && R(c) < 90; }
bool IsFlame(uint32_t c) { return R(c) > 200 && G(c) > 60 && B(c) < 110; }
bool IsGold(uint32_t c) { return R(c) > 150 && R(c) > B(c) + 60 && G(c) > B(c); }

// 6 x 5 cells: the top row holds a bare tile, puzzle cells of one to four
// plates and a generator; the rest is a checkerboard of the two base tiles
// with a hole at (2, 2); the bottom row burns.
std::string LevelXml() {
    std::string cells;
    const char* top[] = {
        "<Group tile=\"1\"/>",
        "<Group tile=\"6\"/><Group tile=\"2\"/>",
        "<Group tile=\"1\"/><Group tile=\"2\"/><Group tile=\"3\"/>",
        "<Group tile=\"6\"/><Group tile=\"2\"/><Group tile=\"3\"/><Group tile=\"4\"/>",
        "<Group tile=\"1\"/><Group tile=\"2\"/><Group tile=\"3\"/><Group tile=\"4\"/><Group tile=\"5\"/>",
        "<Group tile=\"6\"/>"};
    for (int x = 0; x < 6; ++x)
        cells += "<Cell x=\"" + std::to_string(x) + "\" y=\"0\"" + (x == 5 ? " type=\"GENERATOR\"" : "") + ">" +
                 top[x] + "</Cell>";
    for (int y = 1; y < 5; ++y)
        for (int x = 0; x < 6; ++x) {
            if (x == 2 && y == 2) continue;
            cells += "<Cell x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\"><Group tile=\"" +
                     ((x + y) % 2 ? "6" : "1") + "\"/></Cell>";
        }
    return "<Level><Config field_pos_x=\"" + std::to_string(kLeft) + "\" field_pos_y=\"" + std::to_string(kTop) +
           "\"><Field field_width=\"6\" field_height=\"5\">" + cells + "</Field></Config></Level>";
}

class TilesRenderTest : public gfx_test::CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        field_test::InstallRecordingSoundKeeper();
        fs::current_path(VOVARO_DATA_DIR);
        ASSERT_TRUE(InitFieldGlobals());
        CMenuProgressBar::LoadProgressBarKinds();
    }
    void TearDown() override {
        state_.reset();
        field_.reset();
        ShutdownFieldGlobals();
        CoreTest::TearDown();
    }
    void SavePng(const std::vector<uint32_t>& px, const std::string& name) {
        test_shots::SaveFramePng(px, 800, 600, test_shots::ShotsDir("tiles") / name);
    }
    // How many pixels of the cell's square (inset by `inset`) pass the test.
    int CountInCell(const std::vector<uint32_t>& px, int x, int y, const std::function<bool(uint32_t)>& pred,
                    int inset = 0) const {
        return Count(px, kLeft + x * kCell + inset, kTop + y * kCell + inset, kLeft + (x + 1) * kCell - inset,
                     kTop + (y + 1) * kCell - inset, pred);
    }
    int Count(const std::vector<uint32_t>& px, int l, int t, int r, int b,
              const std::function<bool(uint32_t)>& pred) const {
        int n = 0;
        for (int y = t; y < b; ++y)
            for (int x = l; x < r; ++x) n += pred(At(px, x, y));
        return n;
    }

    std::unique_ptr<CTilesField> field_;
    std::unique_ptr<CFieldState> state_;
};

TEST_F(TilesRenderTest, ASmallLevelAsThePlayerSeesIt) {
    const std::string level = LevelXml();
    g_LevelCFG->LoadLevelFieldConfig(field_test::XmlNode(level));
    field_ = std::make_unique<CTilesField>();
    ASSERT_TRUE(field_->LoadConfig(field_test::XmlNode(level, "/Level/Config")));
    field_->Build();
    int ticks = 0;
    while (field_->IsAppearing() && ticks < 1000) {
        field_->Update();
        ++ticks;
    }
    ASSERT_FALSE(field_->IsAppearing());
    // After the whole appearance everything stands opaque.
    EXPECT_EQ(field_->GetTileObject(0)->GetAlpha(), 255);
    EXPECT_EQ(field_->GetFire().GetSprite(0).GetAlpha(0), 255);
    EXPECT_EQ(field_->GetLayerObject(4)->GetAlpha(), 255);
    EXPECT_EQ(field_->GetTotalLayers(), 10);

    state_ = std::make_unique<CFieldState>();
    state_->Reset();
    state_->SetTarget(field_->GetTotalLayers());
    state_->SetValue(6);

    BeginDraw(kBackground);
    field_->Render();
    state_->Render();
    const std::vector<uint32_t> px = ReadBack();
    SavePng(px, "tiles_level.png");

    // The top row: bare dark glass, then one to four plates, each coloured
    // by its top plate over most of the cell.
    const int area = (kCell - 8) * (kCell - 8);
    EXPECT_GT(CountInCell(px, 0, 0, IsDarkGlass, 4), area * 3 / 4);
    EXPECT_GT(CountInCell(px, 1, 0, IsAmber, 4), area / 2);
    EXPECT_GT(CountInCell(px, 2, 0, IsJade, 4), area / 2);
    EXPECT_GT(CountInCell(px, 3, 0, IsAzure, 4), area / 2);
    EXPECT_GT(CountInCell(px, 4, 0, IsRuby, 4), area / 2);
    // The plates below show at the right and bottom edges of a stack.
    const int edge_l = kLeft + 4 * kCell + kCell - 8, edge_t = kTop + kCell - 8;
    const auto warm = [](uint32_t c) { return R(c) > 120 && R(c) > G(c) && G(c) > B(c) + 30; };
    const auto cool = [](uint32_t c) { return B(c) > R(c) + 40 && B(c) > 100; };
    EXPECT_GT(Count(px, edge_l, kTop + 10, edge_l + 8, edge_t, warm), 8);
    EXPECT_GT(Count(px, edge_l, kTop + 10, edge_l + 8, edge_t, cool), 8);
    EXPECT_EQ(CountInCell(px, 1, 0, IsRuby, 2), 0);
    // The hole shows what lies behind the field.
    EXPECT_EQ(CountInCell(px, 2, 2, [](uint32_t c) { return (c & 0xFFFFFF) != (kBackground & 0xFFFFFF); }), 0);
    // Fire on every cell of the bottom row, none above it.
    for (int x = 0; x < 6; ++x) EXPECT_GT(CountInCell(px, x, 4, IsFlame), 60) << x;
    EXPECT_EQ(CountInCell(px, 0, 3, IsFlame), 0);
    // The puzzle bar: its gold frame, six tenths of its plates filled.
    EXPECT_GT(Count(px, 310, 8, 750, 12, IsGold), 600);
    const auto plate = [](uint32_t c) { return G(c) > B(c) + 30 && R(c) + G(c) > 250; };
    EXPECT_GT(Count(px, 322, 18, 560, 26, plate), 1200);
    EXPECT_EQ(Count(px, 600, 18, 740, 26, plate), 0);
    EXPECT_EQ(NewLog().find("Error"), std::string::npos) << NewLog();
}

}  // namespace
