#pragma once
// Tests that draw through the real engine core: the core is started once per
// process (windowed, headless under the dummy video driver) and each test runs
// in its own scratch folder with its own texture files.
#include <gtest/gtest.h>

#include <vector>

#include "engine/engine_core.h"
#include "graphics/texture_manager.h"
#include "graphics_test_support.h"

namespace gfx_test {

class CoreTest : public data_test::ScratchTest {
protected:
    void SetUp() override {
        ScratchTest::SetUp();
        static const bool started = CEngineCore::Instance().Init(true);
        ASSERT_TRUE(started);
        core_ = &CEngineCore::Instance();
        device_ = core_->GetGraphicsDevice()->GetDevice();
        ASSERT_NE(device_, nullptr);
        textures_before_ = CTextureManager::Instance().GetCount();
        core_->ResetFrameStats();
    }
    void TearDown() override {
        // Every test gives back what it took from the texture store.
        EXPECT_EQ(CTextureManager::Instance().GetCount(), textures_before_);
        ScratchTest::TearDown();
    }

    // A texture file unique to this test, so that the shared store never
    // hands out another test's texture.
    std::string TextureFile(const std::string& base, const std::string& bytes) {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string name = std::string("Textures/") + info->name() + "_" + base;
        data_test::WriteBytes(name, bytes);
        std::string game_name = name;
        for (char& c : game_name)
            if (c == '/') c = '\\';
        return game_name;
    }

    void BeginDraw(uint32_t clear = 0xFF000000) {
        device_->BeginScene();
        device_->Clear(clear);
    }
    std::vector<uint32_t> ReadBack() {
        device_->EndScene();
        std::vector<uint32_t> pixels;
        uint32_t w = 0, h = 0;
        device_->ReadBackBuffer(&pixels, &w, &h);
        width_ = w;
        return pixels;
    }
    uint32_t At(const std::vector<uint32_t>& px, int x, int y) const {
        return px[static_cast<size_t>(y) * width_ + static_cast<size_t>(x)];
    }

    CEngineCore* core_ = nullptr;
    plat::RenderDevice* device_ = nullptr;
    size_t textures_before_ = 0;
    uint32_t width_ = 800;
};

}  // namespace gfx_test
