#include <gtest/gtest.h>

#include <SDL.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

#include "platform/render_device.h"
#include "platform/window.h"

using namespace plat;

namespace {

// A device set up the way the game's graphics device sets it: screen pixels in,
// linear filtering, clamp addressing, texture x diffuse in colour and alpha,
// alpha blending.
class RenderDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        dev = RenderDevice::CreateOffscreen(PresentParameters {});
        ASSERT_TRUE(dev);
        dev->SetTransform(TransformType::World, Matrix::Translation(-400, -300, 0));
        dev->SetTransform(TransformType::View, Matrix::Scaling(1, -1, 1));
        dev->SetTransform(TransformType::Projection, Matrix::OrthoLH(800, 600, 1, -1));
        dev->SetRenderState(RenderState::AlphaBlendEnable, 1);
        dev->SetRenderState(RenderState::SrcBlend, kBlendSrcAlpha);
        dev->SetRenderState(RenderState::DestBlend, kBlendInvSrcAlpha);
        dev->SetTextureStageState(0, TextureStageState::AddressU, kAddressClamp);
        dev->SetTextureStageState(0, TextureStageState::AddressV, kAddressClamp);
        dev->SetTextureStageState(0, TextureStageState::AlphaOp, kTopModulate);
        dev->SetTextureStageState(0, TextureStageState::AlphaArg1, kTaTexture);
        dev->SetTextureStageState(0, TextureStageState::AlphaArg2, kTaDiffuse);
        dev->SetTextureStageState(0, TextureStageState::MinFilter, kFilterLinear);
        dev->SetTextureStageState(0, TextureStageState::MagFilter, kFilterLinear);
        dev->Clear(0xFF000000);
    }

    std::unique_ptr<Texture> MakeTexture(uint32_t w, uint32_t h, const std::vector<uint32_t>& px) {
        std::unique_ptr<Texture> t;
        EXPECT_EQ(dev->CreateTexture(w, h, 1, Format::A8R8G8B8, &t), kOk);
        void* bits = nullptr;
        uint32_t pitch = 0;
        EXPECT_EQ(t->LockRect(0, &bits, &pitch), kOk);
        for (uint32_t y = 0; y < h; ++y) std::memcpy(static_cast<uint8_t*>(bits) + y * pitch, &px[y * w], w * 4);
        t->UnlockRect(0);
        return t;
    }

    // A sprite quad with its corners moved by -0.5, as the game's sprites are.
    void Quad(float x, float y, float w, float h, uint32_t c0, uint32_t c1 = 0, uint32_t c2 = 0, uint32_t c3 = 0) {
        if (!c1) c1 = c2 = c3 = c0;
        Vertex v[6] = {
            {x - 0.5f, y - 0.5f, 0, c0, 0, 0},         {x + w - 0.5f, y - 0.5f, 0, c1, 1, 0},
            {x - 0.5f, y + h - 0.5f, 0, c2, 0, 1},     {x + w - 0.5f, y + h - 0.5f, 0, c3, 1, 1},
            {x - 0.5f, y + h - 0.5f, 0, c2, 0, 1},     {x + w - 0.5f, y - 0.5f, 0, c1, 1, 0},
        };
        ASSERT_EQ(dev->DrawTriangleListUP(2, v, sizeof(Vertex)), kOk);
    }

    uint32_t Pixel(int x, int y) {
        std::vector<uint32_t> px;
        uint32_t w = 0, h = 0;
        dev->ReadBackBuffer(&px, &w, &h);
        return px[y * w + x];
    }

    std::unique_ptr<RenderDevice> dev;
};

TEST_F(RenderDeviceTest, SpriteCornersAtMinusHalfGiveTexelExactPixels) {
    std::vector<uint32_t> px(16);
    for (int i = 0; i < 16; ++i) px[i] = 0xFF000000u | (i * 16) << 16 | (255 - i * 16) << 8 | i;
    auto tex = MakeTexture(4, 4, px);
    dev->SetTexture(0, tex.get());
    Quad(10, 20, 4, 4, 0xFFFFFFFF);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(Pixel(10 + x, 20 + y), px[y * 4 + x]) << x << "," << y;
    // Nothing outside the sprite's 4x4 pixels.
    EXPECT_EQ(Pixel(9, 20), 0xFF000000u);
    EXPECT_EQ(Pixel(14, 20), 0xFF000000u);
    EXPECT_EQ(Pixel(10, 19), 0xFF000000u);
    EXPECT_EQ(Pixel(10, 24), 0xFF000000u);
}

TEST_F(RenderDeviceTest, TextureModulatedByVertexColourAndFilteredLinearlyWithClamp) {
    auto tex = MakeTexture(2, 1, {0xFFFF0000, 0xFF0000FF});
    dev->SetTexture(0, tex.get());
    // Half-tinted: colour and alpha of the texture scaled by the vertex colour.
    Quad(0, 0, 2, 1, 0xFF808080);
    EXPECT_EQ(Pixel(0, 0), 0xFF800000u);
    EXPECT_EQ(Pixel(1, 0), 0xFF000080u);
    // Stretched to 8 pixels: clamped ends, a linear ramp between the texel centres.
    Quad(0, 10, 8, 1, 0xFFFFFFFF);
    EXPECT_EQ(Pixel(0, 10), 0xFFFF0000u);
    EXPECT_EQ(Pixel(1, 10), 0xFFFF0000u);
    EXPECT_EQ(Pixel(6, 10), 0xFF0000FFu);
    EXPECT_EQ(Pixel(7, 10), 0xFF0000FFu);
    uint32_t mid = Pixel(4, 10);
    EXPECT_GT((mid >> 16) & 0xFF, 0x50u);
    EXPECT_GT(mid & 0xFF, 0x70u);
}

TEST_F(RenderDeviceTest, VertexColoursInterpolateWithoutTexture) {
    dev->SetTexture(0, nullptr);
    // Red from 0 at the left edge to 200 at the right edge, 100 pixels apart:
    // each pixel centre takes the value half a pixel inside.
    Quad(100, 100, 100, 1, 0xFF000000, 0xFFC80000, 0xFF000000, 0xFFC80000);
    EXPECT_EQ(Pixel(100, 100), 0xFF010000u);
    EXPECT_EQ(Pixel(150, 100), 0xFF650000u);
    EXPECT_EQ(Pixel(199, 100), 0xFFC70000u);
    EXPECT_EQ(Pixel(200, 100), 0xFF000000u);
}

TEST_F(RenderDeviceTest, AlphaAndAdditiveBlending) {
    dev->SetTexture(0, nullptr);
    dev->Clear(0xFF204060);
    // Source alpha / inverse source alpha: half red over the background.
    Quad(0, 0, 2, 2, 0x80FF0000);
    uint32_t p = Pixel(0, 0);
    EXPECT_NEAR(static_cast<int>((p >> 16) & 0xFF), (0xFF * 128 + 0x20 * 127) / 255, 1);
    EXPECT_NEAR(static_cast<int>((p >> 8) & 0xFF), 0x40 * 127 / 255, 1);
    // Source alpha / one: added with saturation.
    dev->SetRenderState(RenderState::DestBlend, kBlendOne);
    Quad(10, 0, 2, 2, 0xFFFF0000);
    EXPECT_EQ(Pixel(10, 0), 0xFFFF4060u);
    Quad(20, 0, 2, 2, 0x80404040);
    p = Pixel(20, 0);
    EXPECT_NEAR(static_cast<int>((p >> 16) & 0xFF), 0x20 + 0x20, 1);
    EXPECT_NEAR(static_cast<int>(p & 0xFF), 0x60 + 0x20, 1);
    // Blending off: the source replaces the target.
    dev->SetRenderState(RenderState::AlphaBlendEnable, 0);
    Quad(30, 0, 2, 2, 0x10FFFFFF);
    EXPECT_EQ(Pixel(30, 0), 0xFFFFFFFFu);
}

TEST_F(RenderDeviceTest, CounterClockwiseTrianglesAreCulledUnlessCullingIsOff) {
    dev->SetTexture(0, nullptr);
    // Clockwise on the screen: drawn.
    Vertex cw[3] = {{0, 0, 0, 0xFFFFFFFF, 0, 0}, {10, 0, 0, 0xFFFFFFFF, 0, 0}, {0, 10, 0, 0xFFFFFFFF, 0, 0}};
    Vertex ccw[3] = {{50, 0, 0, 0xFFFFFFFF, 0, 0}, {50, 10, 0, 0xFFFFFFFF, 0, 0}, {60, 0, 0, 0xFFFFFFFF, 0, 0}};
    dev->DrawTriangleListUP(1, cw, sizeof(Vertex));
    dev->DrawTriangleListUP(1, ccw, sizeof(Vertex));
    EXPECT_EQ(Pixel(2, 2), 0xFFFFFFFFu);
    EXPECT_EQ(Pixel(52, 2), 0xFF000000u);
    dev->SetRenderState(RenderState::CullMode, kCullNone);
    dev->DrawTriangleListUP(1, ccw, sizeof(Vertex));
    EXPECT_EQ(Pixel(52, 2), 0xFFFFFFFFu);
}

TEST_F(RenderDeviceTest, SharedEdgesAreFilledOnce) {
    dev->SetTexture(0, nullptr);
    dev->SetRenderState(RenderState::DestBlend, kBlendOne);
    // Two additive triangles of one quad: a pixel on the diagonal would show
    // twice the colour if both filled it.
    Vertex v[6] = {{0, 0, 0, 0xFF202020, 0, 0},  {16, 0, 0, 0xFF202020, 0, 0}, {0, 16, 0, 0xFF202020, 0, 0},
                   {16, 16, 0, 0xFF202020, 0, 0}, {0, 16, 0, 0xFF202020, 0, 0}, {16, 0, 0, 0xFF202020, 0, 0}};
    dev->DrawTriangleListUP(2, v, sizeof(Vertex));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) ASSERT_EQ(Pixel(x, y), 0xFF202020u) << x << "," << y;
    EXPECT_EQ(Pixel(16, 0), 0xFF000000u);
    EXPECT_EQ(Pixel(0, 16), 0xFF000000u);
}

TEST_F(RenderDeviceTest, HugeAndBrokenTrianglesAreSafe) {
    dev->SetTexture(0, nullptr);
    dev->SetRenderState(RenderState::CullMode, kCullNone);
    // A triangle far larger than the screen covers all of it.
    Vertex huge[3] = {{-5e7f, -5e7f, 0, 0xFF0000FF, 0, 0}, {5e7f, -5e7f, 0, 0xFF0000FF, 0, 0},
                      {0, 5e7f, 0, 0xFF0000FF, 0, 0}};
    EXPECT_EQ(dev->DrawTriangleListUP(1, huge, sizeof(Vertex)), kOk);
    EXPECT_EQ(Pixel(0, 0), 0xFF0000FFu);
    EXPECT_EQ(Pixel(799, 599), 0xFF0000FFu);
    const float nan = std::nanf("");
    Vertex broken[3] = {{nan, 0, 0, 0xFFFFFFFF, 0, 0}, {10, 0, 0, 0xFFFFFFFF, 0, 0}, {0, 10, 0, 0xFFFFFFFF, 0, 0}};
    EXPECT_EQ(dev->DrawTriangleListUP(1, broken, sizeof(Vertex)), kOk);
    EXPECT_EQ(Pixel(2, 2), 0xFF0000FFu);
}

TEST_F(RenderDeviceTest, IndexedDrawFromBuffersAndTransforms) {
    std::unique_ptr<VertexBuffer> vb;
    std::unique_ptr<IndexBuffer> ib;
    ASSERT_EQ(dev->CreateVertexBuffer(4 * sizeof(Vertex), &vb), kOk);
    ASSERT_EQ(dev->CreateIndexBuffer(6 * 2, &ib), kOk);
    void* p = nullptr;
    ASSERT_EQ(vb->Lock(0, 0, &p), kOk);
    Vertex q[4] = {{-0.5f, -0.5f, 0, 0xFF00FF00, 0, 0}, {1.5f, -0.5f, 0, 0xFF00FF00, 1, 0},
                   {-0.5f, 1.5f, 0, 0xFF00FF00, 0, 1}, {1.5f, 1.5f, 0, 0xFF00FF00, 1, 1}};
    std::memcpy(p, q, sizeof q);
    vb->Unlock();
    ASSERT_EQ(ib->Lock(0, 0, &p), kOk);
    uint16_t idx[6] = {0, 1, 2, 3, 2, 1};
    std::memcpy(p, idx, sizeof idx);
    ib->Unlock();
    dev->SetTexture(0, nullptr);
    dev->SetStreamSource(0, vb.get(), sizeof(Vertex));
    dev->SetIndices(ib.get(), 0);
    // The world transform moves the quad: translation (300, 200) before the screen centring.
    dev->SetTransform(TransformType::World, Matrix::Translation(300, 200, 0) * Matrix::Translation(-400, -300, 0));
    ASSERT_EQ(dev->DrawIndexedTriangleList(0, 4, 0, 2), kOk);
    EXPECT_EQ(Pixel(300, 200), 0xFF00FF00u);
    EXPECT_EQ(Pixel(301, 201), 0xFF00FF00u);
    EXPECT_EQ(Pixel(302, 201), 0xFF000000u);
    EXPECT_EQ(dev->DrawIndexedTriangleList(0, 4, 0, 3), kErrInvalidCall) << "reads past the indices";
}

TEST_F(RenderDeviceTest, GammaRampLiftsThePresentedFrameOnly) {
    dev->Clear(0xFF10F080);
    GammaRamp ramp;
    for (int i = 0; i < 256; ++i) ramp.red[i] = ramp.green[i] = ramp.blue[i] = static_cast<uint16_t>(std::min(65535, (30 + i) * 256));
    dev->SetGammaRamp(ramp);
    ASSERT_EQ(dev->Present(), kOk);
    std::vector<uint32_t> shown;
    uint32_t w = 0, h = 0;
    dev->ReadPresentedFrame(&shown, &w, &h);
    ASSERT_EQ(w * h, shown.size());
    EXPECT_EQ(shown[0], 0xFF2EFF9Eu);
    EXPECT_EQ(Pixel(0, 0), 0xFF10F080u) << "the back buffer keeps the frame as drawn";
    // Any other ramp maps each channel through its own table.
    for (int i = 0; i < 256; ++i) {
        ramp.red[i] = static_cast<uint16_t>(i / 2 * 256);
        ramp.green[i] = static_cast<uint16_t>(i * 257);
        ramp.blue[i] = static_cast<uint16_t>((255 - i) * 256);
    }
    dev->SetGammaRamp(ramp);
    dev->Present();
    dev->ReadPresentedFrame(&shown, &w, &h);
    EXPECT_EQ(shown[0], 0xFF08F07Fu);
    dev->SetGammaRamp(GammaRamp::Linear());
    dev->Present();
    dev->ReadPresentedFrame(&shown, &w, &h);
    EXPECT_EQ(shown[0], 0xFF10F080u);
}

TEST_F(RenderDeviceTest, LostDeviceNeedsResetAndTexturesSurvive) {
    auto tex = MakeTexture(1, 1, {0xFF123456});
    dev->SetTexture(0, tex.get());
    dev->LoseDevice();
    EXPECT_EQ(dev->TestCooperativeLevel(), kErrDeviceNotReset);
    EXPECT_NE(dev->Present(), kOk);
    ASSERT_EQ(dev->Reset(PresentParameters {}), kOk);
    EXPECT_EQ(dev->TestCooperativeLevel(), kOk);
    EXPECT_EQ(dev->GetTexture(0), nullptr) << "a reset unbinds";
    EXPECT_EQ(dev->GetRenderState(RenderState::CullMode), kCullCCW) << "a reset restores default states";
    EXPECT_EQ(tex->ToArgb()[0], 0xFF123456u);
}

TEST(TextureFormats, EveryFormatDecodesToArgb) {
    struct Case {
        Format f;
        std::vector<uint8_t> bytes;
        uint32_t expected;
    };
    const Case cases[] = {
        {Format::A8R8G8B8, {0x56, 0x34, 0x12, 0x80}, 0x80123456},
        {Format::X8R8G8B8, {0x56, 0x34, 0x12, 0x00}, 0xFF123456},
        {Format::A4R4G4B4, {0x3C, 0x8F}, 0x88FF33CC},
        {Format::R5G6B5, {0x00, 0xF8}, 0xFFFF0000},
        {Format::R5G6B5, {0xE0, 0x07}, 0xFF00FF00},
        {Format::X1R5G5B5, {0x1F, 0x00}, 0xFF0000FF},
        {Format::A1R5G5B5, {0x1F, 0x00}, 0x000000FF},
        {Format::R8G8B8, {0x03, 0x02, 0x01}, 0xFF010203},
        // DXT1 block: c0 red > c1 blue, every index 0.
        {Format::DXT1, {0x00, 0xF8, 0x1F, 0x00, 0, 0, 0, 0}, 0xFFFF0000},
        // DXT1 with c0 <= c1: index 3 is transparent black.
        {Format::DXT1, {0x1F, 0x00, 0x00, 0xF8, 0xFF, 0xFF, 0xFF, 0xFF}, 0x00000000},
        // DXT3: explicit alpha 0x8 (-> 0x88) over green.
        {Format::DXT3, {0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0xE0, 0x07, 0, 0, 0, 0, 0, 0}, 0x8800FF00},
        // DXT5: alpha endpoints 255/0, index 1 everywhere -> alpha 0.
        {Format::DXT5, {0xFF, 0x00, 0x49, 0x92, 0x24, 0x49, 0x92, 0x24, 0x1F, 0x00, 0, 0, 0, 0, 0, 0}, 0x000000FF},
    };
    for (const Case& c : cases) {
        Texture t(IsBlockFormat(c.f) ? 4 : 1, IsBlockFormat(c.f) ? 4 : 1, 1, c.f);
        void* bits = nullptr;
        uint32_t pitch = 0;
        ASSERT_EQ(t.LockRect(0, &bits, &pitch), kOk);
        std::memcpy(bits, c.bytes.data(), c.bytes.size());
        t.UnlockRect(0);
        EXPECT_EQ(t.ToArgb()[0], c.expected) << "format " << static_cast<uint32_t>(c.f);
    }
}

TEST(RenderDeviceWindow, CreatesOnAWindowAndPresents) {
    auto window = Window::Create("test", 800, 600, false);
    ASSERT_TRUE(window);
    Result r = kErrFail;
    auto dev = RenderDevice::Create(*window, PresentParameters {}, &r);
    ASSERT_TRUE(dev);
    EXPECT_EQ(r, kOk);
    EXPECT_EQ(dev->Clear(0xFF0000FF), kOk);
    EXPECT_EQ(dev->BeginScene(), kOk);
    EXPECT_EQ(dev->BeginScene(), kErrInvalidCall);
    EXPECT_EQ(dev->EndScene(), kOk);
    EXPECT_EQ(dev->Present(), kOk);
    std::vector<uint32_t> shown;
    uint32_t w = 0, h = 0;
    dev->ReadPresentedFrame(&shown, &w, &h);
    EXPECT_EQ(w, 800u);
    EXPECT_EQ(h, 600u);
    EXPECT_EQ(shown[600 * 800 - 1], 0xFF0000FFu);
}


// A display that keeps the window at 800x600 through Alt+Enter, refusing
// even the window's own placing, while SDL takes the desktop's size for it: the frame is shown
// whole in what the window shows, not scaled to a size it does not have and
// cut off, in full screen and after going back.
TEST(RenderDeviceWindow, TheFrameFollowsTheSizeTheWindowReallyHas) {
    auto window = Window::Create("test", 800, 600, false);
    ASSERT_TRUE(window);
    window->Show();
    window->HoldShownSize(true);
    Result r = kErrFail;
    auto dev = RenderDevice::Create(*window, PresentParameters {}, &r);
    ASSERT_TRUE(dev);
    // The window's top left 800x600 pixels show the frame as drawn.
    auto shows_frame_whole = [&] {
        dev->SetTransform(TransformType::World, Matrix::Translation(-400, -300, 0));
        dev->SetTransform(TransformType::View, Matrix::Scaling(1, -1, 1));
        dev->SetTransform(TransformType::Projection, Matrix::OrthoLH(800, 600, 1, -1));
        dev->BeginScene();
        dev->Clear(0xFF102030);
        const uint32_t c = 0xFFE04010;  // a quad in the bottom right corner
        Vertex v[6] = {{700, 500, 0, c, 0, 0}, {800, 500, 0, c, 0, 0}, {700, 600, 0, c, 0, 0},
                       {800, 600, 0, c, 0, 0}, {700, 600, 0, c, 0, 0}, {800, 500, 0, c, 0, 0}};
        dev->DrawTriangleListUP(2, v, sizeof(Vertex));
        dev->EndScene();
        EXPECT_EQ(dev->Present(), kOk);
        std::vector<uint32_t> drawn;
        dev->ReadBackBuffer(&drawn, nullptr, nullptr);
        SDL_Surface* surface = SDL_GetWindowSurface(window->Native());
        if (!surface || surface->w < 800 || surface->h < 600) return false;
        for (int y = 0; y < 600; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch);
            for (int x = 0; x < 800; ++x)
                if ((row[x] & 0xFFFFFF) != (drawn[y * 800 + x] & 0xFFFFFF)) return false;
        }
        return true;
    };
    EXPECT_TRUE(shows_frame_whole());
    PresentParameters full;
    full.windowed = false;
    ASSERT_EQ(dev->Reset(full), kOk);
    int w = 0, h = 0;
    SDL_GetWindowSize(window->Native(), &w, &h);
    ASSERT_GT(w, 800) << "SDL takes the desktop's size for the full-screen window";
    EXPECT_TRUE(shows_frame_whole()) << "full screen";
    ASSERT_EQ(dev->Reset(PresentParameters {}), kOk);
    EXPECT_TRUE(shows_frame_whole()) << "windowed again";
}

// Without a window manager full screen still fills the display: the frame is
// scaled over the whole window surface, its bottom right corner in the
// display's, and windowed again it is shown 1:1 in an 800x600 window.
TEST(RenderDeviceWindow, WithoutAWindowManagerFullScreenFillsTheDisplay) {
    auto window = Window::Create("test", 800, 600, false);
    ASSERT_TRUE(window);
    window->Show();
    window->ActWithoutWindowManager(true);
    Result r = kErrFail;
    auto dev = RenderDevice::Create(*window, PresentParameters {}, &r);
    ASSERT_TRUE(dev);
    // The surface's pixel that shows the frame's bottom right corner, drawn orange.
    auto corner_pixel = [&] {
        dev->SetTransform(TransformType::World, Matrix::Translation(-400, -300, 0));
        dev->SetTransform(TransformType::View, Matrix::Scaling(1, -1, 1));
        dev->SetTransform(TransformType::Projection, Matrix::OrthoLH(800, 600, 1, -1));
        dev->BeginScene();
        dev->Clear(0xFF102030);
        const uint32_t c = 0xFFE04010;
        Vertex v[6] = {{700, 500, 0, c, 0, 0}, {800, 500, 0, c, 0, 0}, {700, 600, 0, c, 0, 0},
                       {800, 600, 0, c, 0, 0}, {700, 600, 0, c, 0, 0}, {800, 500, 0, c, 0, 0}};
        dev->DrawTriangleListUP(2, v, sizeof(Vertex));
        dev->EndScene();
        EXPECT_EQ(dev->Present(), kOk);
        SDL_Surface* surface = SDL_GetWindowSurface(window->Native());
        if (!surface) return std::tuple {0, 0, 0u};
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(surface->pixels) +
                                                            (surface->h - 1) * surface->pitch);
        return std::tuple {surface->w, surface->h, row[surface->w - 1] & 0xFFFFFFu};
    };
    SDL_Rect bounds;
    ASSERT_EQ(SDL_GetDisplayBounds(0, &bounds), 0);
    PresentParameters full;
    full.windowed = false;
    ASSERT_EQ(dev->Reset(full), kOk);
    EXPECT_EQ(corner_pixel(), std::tuple(bounds.w, bounds.h, 0xE04010u)) << "full screen";
    ASSERT_EQ(dev->Reset(PresentParameters {}), kOk);
    EXPECT_EQ(corner_pixel(), std::tuple(800, 600, 0xE04010u)) << "windowed again";
}

// Where OpenGL draws in software the frame goes to the window's surface, and
// the log's renderer line says so. Each present copies the tiles that changed,
// so the surface shows every frame whole: a quad drawn, moved, and a new gamma
// ramp that changes every pixel.
TEST(RenderDeviceWindow, SoftwareOpenGlPresentsOnTheWindowSurface) {
    const char* old = std::getenv("LIBGL_ALWAYS_SOFTWARE");
    const std::string saved = old ? old : "";
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1);
    auto window = Window::Create("test", 800, 600, false);
    ASSERT_TRUE(window);
    Result r = kErrFail;
    auto dev = RenderDevice::Create(*window, PresentParameters {}, &r);
    if (old) setenv("LIBGL_ALWAYS_SOFTWARE", saved.c_str(), 1);
    else unsetenv("LIBGL_ALWAYS_SOFTWARE");
    ASSERT_TRUE(dev);
    EXPECT_NE(dev->RendererName().find("window surface"), std::string::npos) << dev->RendererName();
    EXPECT_EQ(dev->NativeRenderer(), nullptr);
    dev->SetTransform(TransformType::World, Matrix::Translation(-400, -300, 0));
    dev->SetTransform(TransformType::View, Matrix::Scaling(1, -1, 1));
    dev->SetTransform(TransformType::Projection, Matrix::OrthoLH(800, 600, 1, -1));
    auto frame = [&](float x) {
        dev->BeginScene();
        dev->Clear(0xFF102030);
        const uint32_t c = 0xFFE04010;
        Vertex v[6] = {{x, 100, 0, c, 0, 0}, {x + 50, 100, 0, c, 0, 0}, {x, 150, 0, c, 0, 0},
                       {x + 50, 150, 0, c, 0, 0}, {x, 150, 0, c, 0, 0}, {x + 50, 100, 0, c, 0, 0}};
        EXPECT_EQ(dev->DrawTriangleListUP(2, v, sizeof(Vertex)), kOk);
        dev->EndScene();
        EXPECT_EQ(dev->Present(), kOk);
    };
    auto surface_shows = [&](const std::vector<uint32_t>& want) {
        SDL_Surface* surface = SDL_GetWindowSurface(window->Native());
        if (!surface || surface->w != 800 || surface->h != 600) return false;
        for (int y = 0; y < 600; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch);
            for (int x = 0; x < 800; ++x)
                if ((row[x] & 0xFFFFFF) != (want[y * 800 + x] & 0xFFFFFF)) return false;
        }
        return true;
    };
    // Without a ramp the frame shown is the frame drawn, and it reads back as shown.
    auto shows_as_drawn = [&] {
        std::vector<uint32_t> drawn, shown;
        dev->ReadBackBuffer(&drawn, nullptr, nullptr);
        dev->ReadPresentedFrame(&shown, nullptr, nullptr);
        return surface_shows(drawn) && shown == drawn;
    };
    frame(100);
    EXPECT_TRUE(shows_as_drawn());
    frame(300);  // moved: its old place shows the clear colour again
    EXPECT_TRUE(shows_as_drawn());
    GammaRamp ramp = GammaRamp::Linear();
    for (int i = 0; i < 256; ++i) ramp.blue[i] = static_cast<uint16_t>(std::min(65535, i * 400));
    dev->SetGammaRamp(ramp);
    frame(300);  // nothing drawn anew, yet every pixel shows the new ramp
    std::vector<uint32_t> shown;
    dev->ReadPresentedFrame(&shown, nullptr, nullptr);
    EXPECT_TRUE(surface_shows(shown));
    EXPECT_EQ(shown[0], 0xFF10204Bu);  // 0x30 * 400 / 256 = 0x4B
    EXPECT_EQ(shown[125 * 800 + 325], 0xFFE04019u);  // 0x10 * 400 / 256 = 0x19 on the quad
    dev->SetGammaRamp(GammaRamp::Linear());
    frame(100);
    EXPECT_TRUE(shows_as_drawn());
}

}  // namespace
