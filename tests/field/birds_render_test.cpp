// The shipped birds at work on a small field (fly-in, landing, the hammer,
// full columns and a lost life, the egg, the level end), and the birds and
// the salute drawn through the real render device as a player sees them.
// The picture is saved as birds.png to the pictures' folder "birds" (in the
// test's temporary folder, or under VOVARO_SHOTS_DIR to keep it).
#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "birds_test_support.h"
#include "shot_png.h"
#include "engine/random.h"
#include "field/birds.h"
#include "field/keeper_sprite.h"
#include "field/salute.h"
#include "field_test_support.h"
#include "graphics/core_test_support.h"
#include "graphics/object_2d.h"
#include "graphics/renderer_keeper.h"

namespace {

namespace fs = std::filesystem;
using field_test::FakeBirdsField;

constexpr int kWidth = 8, kHeight = 6;
constexpr float kLeft = 256, kTop = 160, kCell = 36;

// The shipped data tree, an 8 x 6 field of 36-pixel cells at (256, 160).
class BirdsRenderTest : public gfx_test::CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        fs::current_path(VOVARO_DATA_DIR);
        explosions_ = std::make_unique<field_test::ScopedExplosionRecorder>();
        globals_ = std::make_unique<field_test::FieldGlobalsScope>();
        globals_->LoadGameConfig(R"(<GameCFG cell_w="36" cell_h="36"/>)");
        globals_->LoadLevel(R"(<Level><Config field_width="8" field_height="6" field_pos_x="256" field_pos_y="160"/></Level>)");
        field_.cell_count = kWidth * kHeight;
        birds_ = std::make_unique<CBirds>(&field_, "Settings\\birds.xml", "//Birds/Bird");
    }
    void TearDown() override {
        birds_.reset();
        globals_.reset();
        explosions_.reset();
        CoreTest::TearDown();
    }

    std::vector<int> States() const {
        std::vector<int> states;
        for (const Bird& bird : birds_->GetBirds()) states.push_back(bird.state);
        return states;
    }
    // Ticks (update, then draw) until `done` holds; false when it never did.
    bool RunUntil(const std::function<bool()>& done, int limit = 600) {
        for (int i = 0; i < limit; ++i) {
            if (done()) return true;
            birds_->Update();
            birds_->Render();
        }
        return done();
    }
    static float CellX(int cell) { return kLeft + kCell * static_cast<float>(cell % kWidth); }
    static float CellY(int cell) { return kTop + kCell * static_cast<float>(cell / kWidth); }

    static void SavePng(const std::vector<uint32_t>& argb, uint32_t w, uint32_t h, const std::string& path) {
        fs::create_directories(fs::path(path).parent_path());
        std::vector<uint8_t> rgba(argb.size() * 4);
        for (size_t i = 0; i < argb.size(); ++i) {
            rgba[i * 4 + 0] = static_cast<uint8_t>(argb[i] >> 16);
            rgba[i * 4 + 1] = static_cast<uint8_t>(argb[i] >> 8);
            rgba[i * 4 + 2] = static_cast<uint8_t>(argb[i]);
            rgba[i * 4 + 3] = 0xFF;
        }
        png_image image {};
        image.version = PNG_IMAGE_VERSION;
        image.width = w;
        image.height = h;
        image.format = PNG_FORMAT_RGBA;
        png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr);
    }

    std::unique_ptr<field_test::ScopedExplosionRecorder> explosions_;
    std::unique_ptr<field_test::FieldGlobalsScope> globals_;
    FakeBirdsField field_;
    std::unique_ptr<CBirds> birds_;
};

TEST_F(BirdsRenderTest, ALevelOfTheShippedBirds) {
    field_.generators = {{1, 0}, {3, 0}, {5, 0}};
    rt::srand(3);
    birds_->SetupLevelBirds();
    birds_->Update();
    EXPECT_TRUE(birds_->IsWaiting());
    EXPECT_TRUE(birds_->IsInputBlocked());

    // They fly in and hover over their empty columns.
    ASSERT_TRUE(RunUntil([&] { return !birds_->IsWaiting(); }));
    EXPECT_EQ(States(), std::vector<int>({13, 13, 13}));
    for (const Bird& bird : birds_->GetBirds()) {
        EXPECT_FLOAT_EQ(bird.obj->GetLeft(), CellX(bird.cell));
        EXPECT_FLOAT_EQ(bird.obj->GetTop(), CellY(bird.cell));
    }
    EXPECT_FALSE(birds_->IsInputBlocked());

    // Balls come to rest below them: they perch and drop ordinary balls.
    field_.balls = {{9, 0}, {11, 0}, {13, 0}};
    birds_->CheckLanding();
    EXPECT_EQ(States(), std::vector<int>({1, 1, 1}));
    std::vector<DropCell> drops;
    birds_->GetDropCells(drops);
    EXPECT_EQ(drops, std::vector<DropCell>({{1, 0}, {3, 0}, {5, 0}}));

    // The hammer stuns one; it comes round and perches again.
    CEngineCore::Instance().GetMouse()->SetPosition(static_cast<int>(CellX(3) + 18), static_cast<int>(CellY(3) + 18), 0);
    EXPECT_TRUE(birds_->HitByHammer());
    CEngineCore::Instance().GetMouse()->SetPosition(0, 0, 0);
    EXPECT_EQ(States(), std::vector<int>({1, 7, 1}));
    ASSERT_TRUE(RunUntil([&] { return birds_->GetBirds()[1].state == 1; }));

    // Full columns trap birds; with every bird trapped a life is lost.
    birds_->OnRowFallen({1, 3});
    ASSERT_TRUE(RunUntil([&] { return States() == std::vector<int>({6, 6, 1}); }));
    EXPECT_FALSE(birds_->IsGameOver());
    drops.clear();
    birds_->GetDropCells(drops);
    EXPECT_EQ(drops, std::vector<DropCell>({{1, 1}, {3, 1}, {5, 0}}));
    birds_->OnRowFallen({5});
    ASSERT_TRUE(RunUntil([&] { return birds_->IsGameOver(); }));

    // The egg frees them.
    birds_->UseEgg();
    EXPECT_EQ(States(), std::vector<int>({11, 11, 11}));
    ASSERT_TRUE(RunUntil([&] { return States() == std::vector<int>({1, 1, 1}); }));
    EXPECT_FALSE(birds_->IsGameOver());

    // The level end: they celebrate, are sent off column by column and leave.
    birds_->OnLevelEnd();
    EXPECT_EQ(States(), std::vector<int>({10, 10, 10}));
    std::vector<int> columns;
    birds_->GetBirdColumns(columns);
    EXPECT_EQ(columns, std::vector<int>({1, 3, 5}));
    for (int column : columns) birds_->SendBirdInColumn(column);
    birds_->Update();
    EXPECT_TRUE(birds_->IsWaiting());
    ASSERT_TRUE(RunUntil([&] { return !birds_->IsWaiting(); }));
    for (const Bird& bird : birds_->GetBirds()) EXPECT_FALSE(bird.active);
    EXPECT_FALSE(birds_->IsGameOver());
    EXPECT_FALSE(birds_->IsInputBlocked());
}

TEST_F(BirdsRenderTest, BirdsAndTheSaluteAsAPlayerSeesThem) {
    // The field's tiles and a ball under each bird, from the game's own textures.
    CRendererKeeper scenery;
    std::vector<std::shared_ptr<C2DObject>> sprites;
    CGraphicsDesc tile;
    tile.texture = "Textures\\Field\\tiles.png";
    tile.width = tile.height = 36;
    tile.tex_rect = CFloatRect(0, 0, 64, 64);
    CGraphicsDesc ball = tile;
    ball.texture = "Textures\\Field\\balls.png";
    ball.width = ball.height = 34;
    for (int cell = 0; cell < kWidth * kHeight; ++cell) {
        sprites.push_back(CreateKeeperSprite(scenery, CellX(cell), CellY(cell), tile));
        if (cell >= kWidth) {
            const int kind = (cell * 7 + cell / kWidth) % 8;
            ball.tex_rect = CFloatRect(66.0f * static_cast<float>(kind % 4), 66.0f * static_cast<float>(kind / 4),
                                       66.0f * static_cast<float>(kind % 4) + 64, 66.0f * static_cast<float>(kind / 4) + 64);
            sprites.push_back(CreateKeeperSprite(scenery, CellX(cell) + 1, CellY(cell) + 1, ball));
        }
    }
    // One bird per state along the top row: perched, hovering, a full column,
    // trapped, struck, resting, celebrating, paid by the egg.
    const std::vector<int> states {1, 13, 2, 6, 7, 8, 10, 12};
    std::vector<std::pair<int, int>> placements;
    for (int i = 0; i < kWidth; ++i) placements.emplace_back(i, states[static_cast<size_t>(i)]);
    birds_->CreateBirds(placements, false);
    // The life-lost dialog's birds, grieving, at screen points below the field.
    CBirds dialog(nullptr, "Settings\\birds.xml", "//Birds/DyingDialog/Bird");
    dialog.AddBirds({{CVector2(290, 400), 2}, {CVector2(370, 400), 2}, {CVector2(450, 400), 7}}, false);
    // The salute fires at two cells of the bottom row.
    CSalute salute(&field_);
    salute.Init();
    for (int cell : {42, 45}) field_.balls[cell] = 0;
    salute.Check();
    for (int cell : {42, 45}) field_.balls.erase(cell);
    ASSERT_TRUE(salute.Check());

    std::vector<uint32_t> px;
    for (int frame = 0; frame < 12; ++frame) {
        BeginDraw(0xFF16203A);
        scenery.RenderAll();
        birds_->Render();
        salute.Render();
        dialog.Render();
        px = ReadBack();
    }
    SavePng(px, width_, static_cast<uint32_t>(px.size() / width_), (test_shots::ShotsDir("birds") / "birds.png").string());

    // Every bird is drawn in its cell: its blue body and its orange beak.
    for (int i = 0; i < kWidth; ++i) {
        int blue = 0, orange = 0;
        for (int y = static_cast<int>(CellY(i)); y < static_cast<int>(CellY(i) + kCell); ++y) {
            for (int x = static_cast<int>(CellX(i)); x < static_cast<int>(CellX(i) + kCell); ++x) {
                const uint32_t c = At(px, x, y);
                const int r = static_cast<int>((c >> 16) & 0xFF), g = static_cast<int>((c >> 8) & 0xFF), b = static_cast<int>(c & 0xFF);
                if (b > 150 && b > r + 60 && g > 90) ++blue;
                if (r > 200 && g > 110 && g < 200 && b < 90) ++orange;
            }
        }
        EXPECT_GT(blue, 80) << "state " << states[static_cast<size_t>(i)];
        EXPECT_GT(orange, 2) << "state " << states[static_cast<size_t>(i)];
    }
    for (auto& sprite : sprites) ReleaseKeeperSprite(scenery, sprite);
}

}  // namespace
