// The shipped burner and lightning drawn through the real render device: an
// intensive burner's four flames on their way out of its cell and a bolt
// over a struck ball, checked on the read-back frame, which is saved as
// bonuses.png to the pictures' folder "bonuses" (in the test's temporary
// folder, or under VOVARO_SHOTS_DIR for a person to look at).
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "balls_test_support.h"
#include "fake_bonus_data_source.h"
#include "field/bonus_config.h"
#include "field/bonus_list.h"
#include "field/burner_bonus.h"
#include "field/lightning_bonus.h"
#include "shot_png.h"

namespace {

constexpr float kLeft = 256, kTop = 160, kCell = 36;
constexpr uint32_t kBackground = 0xFF101828;

class BonusRenderTest : public field_test::ShippedDataTest {
protected:
    void SetUp() override {
        ShippedDataTest::SetUp();
        explosions_ = std::make_unique<field_test::ScopedExplosionRecorder>();
        CBonusConfig::Forget();
        const std::string level =
            R"(<Level><Config field_width="8" field_height="6" field_pos_x="256" field_pos_y="160"><Balls>
               <Ball graph_type="1"/><Ball graph_type="2"/><Ball graph_type="3"/></Balls></Config><Balls/></Level>)";
        g_LevelCFG->LoadLevelFieldConfig(field_test::XmlNode(level));
        balls_ = std::make_unique<CBallsField>(&flags_);
        balls_->LoadConfig(field_test::XmlNode(level));
        balls_->PrepareLevel();
        data_.balls = balls_.get();
        list_.SetDataSource(&data_);
    }
    void TearDown() override {
        lightning_.reset();
        list_.Clear();
        balls_.reset();
        explosions_.reset();
        CBonusConfig::Forget();
        ShippedDataTest::TearDown();
    }

    static float CellX(int cell) { return kLeft + kCell * static_cast<float>(cell % 8); }
    static float CellY(int cell) { return kTop + kCell * static_cast<float>(cell / 8); }
    // Pixels of the rectangle for which `test` (r, g, b) holds.
    int Count(const std::vector<uint32_t>& px, float left, float top, float w, float h,
              const std::function<bool(int, int, int)>& test) const {
        int n = 0;
        for (int y = static_cast<int>(top); y < static_cast<int>(top + h); ++y)
            for (int x = static_cast<int>(left); x < static_cast<int>(left + w); ++x) {
                const uint32_t c = At(px, x, y);
                n += test(static_cast<int>((c >> 16) & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                          static_cast<int>(c & 0xFF));
            }
        return n;
    }
    static bool Fire(int r, int g, int b) { return r > 180 && g > 50 && r > b + 100; }
    static bool Bolt(int r, int g, int b) { return b > 200 && b >= r && g > 150; }

    std::unique_ptr<field_test::ScopedExplosionRecorder> explosions_;
    CFieldFlags flags_;
    std::unique_ptr<CBallsField> balls_;
    field_test::FakeBonusDataSource data_;
    CBonusList list_;
    std::shared_ptr<CLightningBonus> lightning_;
};

TEST_F(BonusRenderTest, BurnerFlamesAndALightningBoltOnTheScreen) {
    const int burner_cell = 4 * 8 + 2, struck_cell = 1 * 8 + 6;
    ASSERT_TRUE(list_.AddBonus(1, burner_cell, true));
    balls_->CreateBall(struck_cell, 2);
    balls_->SetBallState(struck_cell, bsDEFAULT);
    lightning_ = std::make_shared<CLightningBonus>();
    lightning_->SetDataSource(&data_);
    lightning_->SetRandom([](uint32_t lo, uint32_t) { return lo; });  // no wait, the shortest life
    ASSERT_TRUE(lightning_->Activate(4 * 8 + 6));
    ASSERT_EQ(lightning_->GetTargets().size(), 1u);

    std::vector<uint32_t> px;
    for (int tick = 0; tick < 4; ++tick) {
        list_.Update();
        lightning_->Update();
        BeginDraw(kBackground);
        list_.Draw();
        lightning_->Draw();
        px = ReadBack();
    }
    test_shots::SaveFramePng(px, width_, static_cast<uint32_t>(px.size() / width_), test_shots::ShotsDir("bonuses") / "bonuses.png");
    ASSERT_EQ(dynamic_cast<const CBurnerBonus&>(*list_.GetBonuses().at(0)).GetFlames().size(), 4u);

    // Each flame, 20 pixels out of the burner's cell, outside the cross's middle.
    const float bx = CellX(burner_cell), by = CellY(burner_cell);
    EXPECT_GT(Count(px, bx - 20, by, 20, kCell, Fire), 30) << "left";
    EXPECT_GT(Count(px, bx + kCell, by, 20, kCell, Fire), 30) << "right";
    EXPECT_GT(Count(px, bx, by - 20, kCell, 20, Fire), 30) << "up";
    EXPECT_GT(Count(px, bx, by + kCell, kCell, 20, Fire), 30) << "down";
    // The bolt comes down onto the struck ball's centre.
    const float cx = CellX(struck_cell) + kCell / 2, cy = CellY(struck_cell) + kCell / 2;
    EXPECT_GT(Count(px, cx - 24, cy - 90, 48, 70, Bolt), 40);
    // Far from both, the screen is untouched.
    EXPECT_EQ(Count(px, 40, 40, 60, 60, [](int r, int g, int b) {
                  return static_cast<uint32_t>(0xFF000000 | (r << 16) | (g << 8) | b) != kBackground;
              }),
              0);
}

}  // namespace
