// Sprites drawn through the engine core and the real render device, read back
// pixel by pixel.
#include <gtest/gtest.h>

#include "core_test_support.h"
#include "graphics/object_2d.h"
#include "graphics/renderer_keeper.h"

using namespace gfx_test;

namespace {

constexpr uint32_t kBackground = 0xFF404040;

// An 8x8 texture of four solid 4x4 quadrants: white, opaque black (the colour
// key makes it transparent), half-transparent red and blue. Sprites show the
// middle 2x2 of a quadrant so that filtering never reaches a neighbour.
std::string Quadrants() {
    std::vector<uint32_t> px(64);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            px[static_cast<size_t>(y) * 8 + x] =
                y < 4 ? (x < 4 ? 0xFFFFFFFF : 0xFF000000) : (x < 4 ? 0x80FF0000 : 0xFF0000FF);
    return Tga(8, 8, px);
}

const CFloatRect kWhite(1, 1, 3, 3), kKeyed(5, 1, 7, 3), kHalfRed(1, 5, 3, 7), kBlue(5, 5, 7, 7);

int Channel(uint32_t argb, int shift) { return static_cast<int>((argb >> shift) & 0xFF); }

class SpriteRenderTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        texture_ = TextureFile("quadrants.tga", Quadrants());
    }
    std::unique_ptr<C2DObject> Sprite(float x, float y, float w, float h, const CFloatRect& tex_rect) {
        auto s = std::make_unique<C2DObject>();
        s->InitFromTexRect(x, y, w, h, tex_rect);
        EXPECT_TRUE(s->CreateRenderer(texture_));
        return s;
    }
    std::string texture_;
};

}  // namespace

TEST_F(SpriteRenderTest, PlacementToThePixel) {
    auto s = Sprite(100, 100, 10, 10, kWhite);
    BeginDraw(kBackground);
    s->Render();
    const auto px = ReadBack();
    EXPECT_EQ(At(px, 100, 100), 0xFFFFFFFFu);
    EXPECT_EQ(At(px, 109, 109), 0xFFFFFFFFu);
    EXPECT_EQ(At(px, 99, 105), kBackground);
    EXPECT_EQ(At(px, 110, 105), kBackground);
    EXPECT_EQ(At(px, 105, 99), kBackground);
    EXPECT_EQ(At(px, 105, 110), kBackground);
}

TEST_F(SpriteRenderTest, RotationAboutTheCentre) {
    // 20 wide and 4 high, turned 90 degrees: 4 wide and 20 high about (110, 102).
    auto s = Sprite(100, 100, 20, 4, kWhite);
    s->SetAngle(90);
    BeginDraw(kBackground);
    s->Render();
    const auto px = ReadBack();
    EXPECT_EQ(At(px, 108, 92), 0xFFFFFFFFu);
    EXPECT_EQ(At(px, 111, 111), 0xFFFFFFFFu);
    EXPECT_EQ(At(px, 101, 101), kBackground);
    EXPECT_EQ(At(px, 118, 102), kBackground);
    EXPECT_EQ(At(px, 110, 90), kBackground);
}

TEST_F(SpriteRenderTest, ColourModulationAlphaAndColourKey) {
    auto tinted = Sprite(10, 10, 8, 8, kWhite);
    tinted->SetColor(0x00FF8000, kAllCorners);
    auto faded = Sprite(30, 10, 8, 8, kWhite);
    faded->SetAlpha(128, kAllCorners);
    auto half_red = Sprite(50, 10, 8, 8, kHalfRed);
    auto keyed = Sprite(70, 10, 8, 8, kKeyed);
    BeginDraw(kBackground);
    for (auto* s : {tinted.get(), faded.get(), half_red.get(), keyed.get()}) s->Render();
    const auto px = ReadBack();
    EXPECT_EQ(core_->GetDrawCalls(), 4u);

    EXPECT_EQ(At(px, 14, 14), 0xFFFF8000u);
    // Half of white over the background grey (64): about 160 in each channel.
    for (int shift : {0, 8, 16}) EXPECT_NEAR(Channel(At(px, 34, 14), shift), 160, 2);
    // The texture's own alpha: half of red over grey.
    EXPECT_NEAR(Channel(At(px, 54, 14), 16), 160, 2);
    EXPECT_NEAR(Channel(At(px, 54, 14), 8), 32, 2);
    // Opaque black was made transparent when the file was loaded.
    EXPECT_EQ(At(px, 74, 14), kBackground);
}

TEST_F(SpriteRenderTest, AnimatedSpriteShowsItsFramesInTurn) {
    CAnimation anim;
    anim.Reset(true, 2);
    anim.AddFrame(kWhite, nullptr);
    anim.AddFrame(kBlue, nullptr);
    // Two sprites of one texture in a keeper batch: one draw call for both,
    // the still one unaffected by the other's frames.
    CRendererKeeper keeper;
    CTexturedRectsList* batch = keeper.GetRenderer(texture_);
    C2DObject animated, still;
    animated.Init(200, 200, 6, 6, anim);
    still.InitFromTexRect(220, 200, 6, 6, kBlue);
    animated.SetRenderer(batch);
    still.SetRenderer(batch);

    std::vector<uint32_t> seen;
    for (int frame = 0; frame < 4; ++frame) {
        core_->ResetFrameStats();
        BeginDraw(kBackground);
        keeper.RenderAll();
        const auto px = ReadBack();
        EXPECT_EQ(core_->GetDrawCalls(), 1u);
        EXPECT_EQ(At(px, 223, 203), 0xFF0000FFu);
        seen.push_back(At(px, 203, 203));
    }
    // Delay 2: white, then blue for two draws, then white again.
    EXPECT_EQ(seen, (std::vector<uint32_t> {0xFFFFFFFF, 0xFF0000FF, 0xFF0000FF, 0xFFFFFFFF}));
    animated.ReleaseRenderer();
    still.ReleaseRenderer();
}
