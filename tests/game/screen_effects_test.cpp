// The screen fade's end points, hold and overlay, and the shaker's jittered
// draw offset over its 50 frames and back to rest.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/engine_core_interface.h"
#include "engine/graphics_device.h"
#include "engine/random.h"
#include "game/screen_fade.h"
#include "game/screen_shaker.h"
#include "game_test_support.h"

using game_test::GameTest;

namespace {

class ScreenFadeTest : public GameTest {
protected:
    // Renders until the fade reports done; the number of renders that still ran.
    static int RunOut(CScreenFade& fade) {
        int running = 0;
        while (!fade.Render() && running < 1000) ++running;
        return running;
    }
};

TEST_F(ScreenFadeTest, AFadeStopsAtTheLastAlphaInsideItsRange) {
    CScreenFade fade;
    fade.SetSpeed(6);
    fade.Start(0, 255);
    EXPECT_EQ(fade.GetAlpha(), 0);
    EXPECT_EQ(RunOut(fade), 42);
    EXPECT_EQ(fade.GetAlpha(), 252);
    EXPECT_FALSE(fade.IsActive());
    EXPECT_TRUE(fade.Render());  // nothing runs, nothing moves
    EXPECT_EQ(fade.GetAlpha(), 252);

    fade.StartReverse(0, 255);
    EXPECT_EQ(fade.GetAlpha(), 255);
    EXPECT_EQ(RunOut(fade), 42);
    EXPECT_EQ(fade.GetAlpha(), 3);
}

TEST_F(ScreenFadeTest, HoldKeepsDrawingAndAnAlphaSetByHandMovesOnInRange) {
    CScreenFade fade;
    fade.SetSpeed(6);
    fade.SetHold(true);
    fade.Start(0, 255);
    RunOut(fade);
    EXPECT_TRUE(fade.Render());
    EXPECT_EQ(fade.GetAlpha(), 252);
    fade.SetAlpha(100);
    EXPECT_FALSE(fade.Render());
    EXPECT_EQ(fade.GetAlpha(), 106);

    // The held overlay darkens a white screen to near black.
    fade.SetAlpha(249);
    plat::RenderDevice* device = core().GetGraphicsDevice()->GetDevice();
    device->BeginScene();
    device->Clear(0xFFFFFFFF);
    fade.Render();
    device->EndScene();
    std::vector<uint32_t> pixels;
    uint32_t w = 0, h = 0;
    device->ReadBackBuffer(&pixels, &w, &h);
    ASSERT_EQ(pixels.size(), static_cast<size_t>(w) * h);
    for (const auto& [x, y] : {std::pair {0u, 0u}, std::pair {w / 2, h / 2}, std::pair {w - 1, h - 1}}) {
        const uint32_t px = pixels[y * w + x];
        EXPECT_LT(px & 0xFF, 0x10u) << x << "," << y;
        EXPECT_LT((px >> 16) & 0xFF, 0x10u) << x << "," << y;
    }
    EXPECT_EQ(NewLog().find("Error"), std::string::npos) << NewLog();
}

TEST_F(ScreenFadeTest, WithoutAnEngineCoreThereIsNoOverlayAndNothingRuns) {
    IEngineCore* saved = g_EngineCore;
    g_EngineCore = nullptr;
    CScreenFade fade;
    fade.Start(0, 255);
    EXPECT_FALSE(fade.IsActive());
    EXPECT_TRUE(fade.Render());
    g_EngineCore = saved;
}

class ScreenShakerTest : public GameTest {
protected:
    static plat::Matrix World() {
        return core().GetGraphicsDevice()->GetDevice()->GetTransform(plat::TransformType::World);
    }
    static void ExpectWorld(float angle, float x, float y) {
        const plat::Matrix expected = plat::Matrix::Translation(x, y, 0) * plat::Matrix::RotationZ(angle * 0.017453292f);
        const plat::Matrix world = World();
        for (int i = 0; i < 16; ++i) EXPECT_NEAR(world.m[i], expected.m[i], 1e-3f) << i;
    }
};

TEST_F(ScreenShakerTest, JittersFiftyFramesWithADecayingTiltThenRestsAgain) {
    fx::srand(77);
    std::vector<std::pair<float, float>> offsets;
    for (int i = 0; i < 50; ++i) {
        const int r1 = fx::rand(), r2 = fx::rand();
        offsets.emplace_back(-395.0f - static_cast<float>(r1 % 10), -295.0f - static_cast<float>(r2 % 10));
    }
    fx::srand(77);
    CScreenShaker shaker;
    for (int i = 0; i < 49; ++i) {
        ASSERT_FALSE(shaker.Render()) << i;
        const float t = 0.05f + static_cast<float>(i);
        ExpectWorld(std::sin(t) / t, offsets[i].first, offsets[i].second);
    }
    EXPECT_TRUE(shaker.Render());
    EXPECT_FALSE(shaker.IsActive());
    ExpectWorld(0, -400, -300);
    EXPECT_TRUE(shaker.Render());
}

TEST_F(ScreenShakerTest, AfterResetNothingShakesAndAZeroStepIsLoggedNotTilted) {
    core().SetWorldTransform(0, -400, -300);
    CScreenShaker shaker;
    shaker.Reset();
    EXPECT_TRUE(shaker.Render());
    ExpectWorld(0, -400, -300);

    EXPECT_FALSE(shaker.Update());
    EXPECT_NE(NewLog().find("Error: Invalid Zero Value (CScreenShaker::Update). File="), std::string::npos);
    const plat::Matrix world = World();
    for (float v : world.m) EXPECT_TRUE(std::isfinite(v));
    while (!shaker.Update()) {}
    ExpectWorld(0, -400, -300);
}

}  // namespace
