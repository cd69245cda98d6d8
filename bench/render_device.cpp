// The render device's rasteriser on the loads a frame of the game brings:
// a full-screen background, a board of sprites, additive particles. Each
// iteration is a scene (the drawing is finished when EndScene returns);
// VOVARO_RENDER_THREADS sets how many threads rasterise (all of them on every
// frame, as the tiles allow).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/render_device.h"

using namespace plat;

namespace {

std::unique_ptr<RenderDevice> MakeDevice() {
    unsigned threads = 1;
    if (const char* env = std::getenv("VOVARO_RENDER_THREADS")) threads = std::max(1, std::atoi(env));
    auto dev = RenderDevice::CreateOffscreen(PresentParameters {}, threads);
    dev->SetTransform(TransformType::World, Matrix::Translation(-400, -300, 0));
    dev->SetTransform(TransformType::View, Matrix::Scaling(1, -1, 1));
    dev->SetTransform(TransformType::Projection, Matrix::OrthoLH(800, 600, 1, -1));
    dev->SetRenderState(RenderState::AlphaBlendEnable, 1);
    dev->SetRenderState(RenderState::SrcBlend, kBlendSrcAlpha);
    dev->SetRenderState(RenderState::DestBlend, kBlendInvSrcAlpha);
    dev->SetTextureStageState(0, TextureStageState::AlphaOp, kTopModulate);
    dev->SetTextureStageState(0, TextureStageState::AlphaArg2, kTaDiffuse);
    dev->SetTextureStageState(0, TextureStageState::AddressU, kAddressClamp);
    dev->SetTextureStageState(0, TextureStageState::AddressV, kAddressClamp);
    dev->SetTextureStageState(0, TextureStageState::MinFilter, kFilterLinear);
    dev->SetTextureStageState(0, TextureStageState::MagFilter, kFilterLinear);
    return dev;
}

// Pixels as the game's art has them: opaque, transparent, and a soft edge between.
std::unique_ptr<Texture> MakeTexture(RenderDevice& dev, uint32_t w, uint32_t h, bool opaque = false) {
    std::unique_ptr<Texture> t;
    dev.CreateTexture(w, h, 1, Format::A8R8G8B8, &t);
    void* bits = nullptr;
    uint32_t pitch = 0;
    t->LockRect(0, &bits, &pitch);
    auto* p = static_cast<uint32_t*>(bits);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            int dx = static_cast<int>(2 * x) - static_cast<int>(w), dy = static_cast<int>(2 * y) - static_cast<int>(h);
            int d2 = dx * dx + dy * dy, r2 = static_cast<int>(w * w);
            uint32_t alpha = opaque || d2 < r2 * 8 / 10 ? 0xFF : (d2 < r2 ? 0x80 : 0);
            p[y * w + x] = alpha << 24 | ((x * 2654435761u + y * 40503u) >> 8 & 0xFFFFFF);
        }
    t->UnlockRect(0);
    return t;
}

// A quad over pixels [x, x + w) x [y, y + h) showing texture coordinates
// [u0, u1] x [v0, v1].
void AddQuad(std::vector<Vertex>& v, float x, float y, float w, float h, uint32_t c, float u0, float v0, float u1,
             float v1) {
    x -= 0.5f;
    y -= 0.5f;
    Vertex q[6] = {{x, y, 0, c, u0, v0},         {x + w, y, 0, c, u1, v0}, {x, y + h, 0, c, u0, v1},
                   {x + w, y + h, 0, c, u1, v1}, {x, y + h, 0, c, u0, v1}, {x + w, y, 0, c, u1, v0}};
    v.insert(v.end(), q, q + 6);
}

void AddQuad(std::vector<Vertex>& v, float x, float y, float w, float h, uint32_t c) {
    AddQuad(v, x, y, w, h, c, 0, 0, 1, 1);
}

// A 9 x 9 board of 48-pixel sprites, 50 pixels apart.
std::vector<Vertex> BoardQuads() {
    std::vector<Vertex> v;
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < 9; ++c) AddQuad(v, 100 + c * 50.0f, 50 + r * 50.0f, 48, 48, 0xFFFFFFFF);
    return v;
}

// One scene per iteration drawing all of `v` with the current states.
void DrawScenes(benchmark::State& state, RenderDevice& dev, const std::vector<Vertex>& v) {
    for (auto _ : state) {
        dev.BeginScene();
        dev.DrawTriangleListUP(static_cast<uint32_t>(v.size() / 3), v.data(), sizeof(Vertex));
        dev.EndScene();
    }
}

void BM_FullScreenBackground(benchmark::State& state) {
    auto dev = MakeDevice();
    auto tex = MakeTexture(*dev, 800, 600, true);
    dev->SetTexture(0, tex.get());
    std::vector<Vertex> v;
    AddQuad(v, 0, 0, 800, 600, 0xFFFFFFFF);
    DrawScenes(state, *dev, v);
}
BENCHMARK(BM_FullScreenBackground)->Unit(benchmark::kMillisecond);

void BM_BoardOfSprites(benchmark::State& state) {
    auto dev = MakeDevice();
    auto tex = MakeTexture(*dev, 64, 64);
    dev->SetTexture(0, tex.get());
    const std::vector<Vertex> v = BoardQuads();
    DrawScenes(state, *dev, v);
}
BENCHMARK(BM_BoardOfSprites)->Unit(benchmark::kMillisecond);

void BM_BoardOfTexelExactSprites(benchmark::State& state) {
    auto dev = MakeDevice();
    auto tex = MakeTexture(*dev, 48, 48);
    dev->SetTexture(0, tex.get());
    const std::vector<Vertex> v = BoardQuads();
    DrawScenes(state, *dev, v);
}
BENCHMARK(BM_BoardOfTexelExactSprites)->Unit(benchmark::kMillisecond);

void BM_AdditiveParticles(benchmark::State& state) {
    auto dev = MakeDevice();
    auto tex = MakeTexture(*dev, 32, 32);
    dev->SetTexture(0, tex.get());
    dev->SetRenderState(RenderState::DestBlend, kBlendOne);
    std::vector<Vertex> v;
    for (int i = 0; i < 500; ++i) AddQuad(v, (i * 37) % 760 + 0.3f, (i * 53) % 560 + 0.7f, 24, 24, 0x80FFC080);
    DrawScenes(state, *dev, v);
}
BENCHMARK(BM_AdditiveParticles)->Unit(benchmark::kMillisecond);

// A level's board and dialog as the game draws them: 14 x 14 cells minified
// from 66 texels of an atlas to 36 pixels, and a dialog of small glyphs (4 to
// 12 pixels wide) placed texel for texel, some tinted. A clear of another
// colour each frame makes every tile draw again.
void BM_BoardAndDialog(benchmark::State& state) {
    auto dev = MakeDevice();
    auto atlas = MakeTexture(*dev, 264, 264);
    auto font = MakeTexture(*dev, 128, 128);
    std::vector<Vertex> cells, glyphs;
    for (int r = 0; r < 14; ++r)
        for (int c = 0; c < 14; ++c) {
            const float u = static_cast<float>((r * 14 + c) % 4) * 0.25f, v = static_cast<float>((r + c) % 4) * 0.25f;
            AddQuad(cells, 150 + c * 36.0f, 40 + r * 36.0f, 36, 36, 0xFFFFFFFF, u, v, u + 0.25f, v + 0.25f);
        }
    for (int i = 0; i < 600; ++i) {
        const int w = 4 + i * 7 % 9, h = 12, gx = i * 13 % (128 - w), gy = i * 29 % (128 - h);
        AddQuad(glyphs, 40 + static_cast<float>(i % 60 * 12), 420 + static_cast<float>(i / 60 * 16), static_cast<float>(w),
                static_cast<float>(h), i % 3 ? 0xFFFFFFFF : 0xFFFFE080, gx / 128.0f, gy / 128.0f, (gx + w) / 128.0f,
                (gy + h) / 128.0f);
    }
    int frame = 0;
    for (auto _ : state) {
        dev->BeginScene();
        dev->Clear(frame++ % 2 ? 0xFF000000 : 0xFF000001);
        dev->SetTexture(0, atlas.get());
        dev->DrawTriangleListUP(static_cast<uint32_t>(cells.size() / 3), cells.data(), sizeof(Vertex));
        dev->SetTexture(0, font.get());
        dev->DrawTriangleListUP(static_cast<uint32_t>(glyphs.size() / 3), glyphs.data(), sizeof(Vertex));
        dev->EndScene();
    }
}
BENCHMARK(BM_BoardAndDialog)->Unit(benchmark::kMillisecond);

// A busy frame as the game draws it, call by call: background, a board of
// sprites one quad per call, GUI panels, particles in batches, then present.
// `frame` moves one column of sprites down a little and the particles on.
class BusyFrame {
public:
    BusyFrame()
        : dev_(MakeDevice()),
          background_(MakeTexture(*dev_, 800, 600, true)),
          sprite_(MakeTexture(*dev_, 64, 64)),
          panel_(MakeTexture(*dev_, 256, 128)),
          particle_(MakeTexture(*dev_, 32, 32)) {
        AddQuad(bg_, 0, 0, 800, 600, 0xFFFFFFFF);
        AddQuad(panels_, 10, 10, 130, 580, 0xE0FFFFFF);
        AddQuad(panels_, 660, 10, 130, 580, 0xE0FFFFFF);
        AddQuad(panels_, 200, 520, 400, 70, 0xC0FFFFFF);
        Move(0);
    }
    void Move(int frame) {
        const float fall = static_cast<float>(frame % 50);
        sprites_.clear();
        particles_.clear();
        for (int r = 0; r < 10; ++r)
            for (int c = 0; c < 10; ++c)
                AddQuad(sprites_, 150 + c * 50.0f, 40 + r * 50.0f + (c == 4 ? fall : 0.0f), 48, 48, 0xFFFFFFFF);
        for (int i = 0; i < 1500; ++i)
            AddQuad(particles_, (i * 37 + frame * 3) % 780 + 0.3f, (i * 53 + frame * 2) % 580 + 0.7f, 12.5f, 12.5f,
                    0x80FFC080);
    }
    void Draw() {
        dev_->BeginScene();
        dev_->Clear(0xFF000000);
        dev_->SetRenderState(RenderState::DestBlend, kBlendInvSrcAlpha);
        dev_->SetTexture(0, background_.get());
        dev_->DrawTriangleListUP(2, bg_.data(), sizeof(Vertex));
        dev_->SetTexture(0, sprite_.get());
        for (size_t q = 0; q < sprites_.size(); q += 6) dev_->DrawTriangleListUP(2, sprites_.data() + q, sizeof(Vertex));
        dev_->SetTexture(0, panel_.get());
        dev_->DrawTriangleListUP(static_cast<uint32_t>(panels_.size() / 3), panels_.data(), sizeof(Vertex));
        dev_->SetTexture(0, particle_.get());
        dev_->SetRenderState(RenderState::DestBlend, kBlendOne);
        for (size_t q = 0; q < particles_.size(); q += 6 * 100)
            dev_->DrawTriangleListUP(200, particles_.data() + q, sizeof(Vertex));
        dev_->EndScene();
        dev_->Present();
    }

private:
    std::unique_ptr<RenderDevice> dev_;
    std::unique_ptr<Texture> background_, sprite_, panel_, particle_;
    std::vector<Vertex> bg_, sprites_, panels_, particles_;
};

// The same busy frame drawn again and again.
void BM_BusyFrame(benchmark::State& state) {
    BusyFrame scene;
    for (auto _ : state) scene.Draw();
}
BENCHMARK(BM_BusyFrame)->Unit(benchmark::kMillisecond);

// The busy frame as it changes in play (a cascade with a bonus going off), so
// the drawing differs from one frame to the next.
void BM_BusyFrameInMotion(benchmark::State& state) {
    BusyFrame scene;
    int frame = 0;
    for (auto _ : state) {
        scene.Move(frame++);
        scene.Draw();
    }
}
BENCHMARK(BM_BusyFrameInMotion)->Unit(benchmark::kMillisecond);

// The main menu as the game draws it: a still sky, clouds and two ranges of
// hills scrolling by fractions of a pixel (the hills opaque below their
// ridge), a translucent panel stretched from a small texture and a
// translucent side panel placed texel for texel. Every frame the layers move
// on, so most tiles draw again.
class MenuFrame {
public:
    MenuFrame()
        : dev_(MakeDevice()),
          sky_(MakeTexture(*dev_, 800, 600, true)),
          clouds_(MakeTexture(*dev_, 800, 200)),
          hills_(MakeHills(*dev_, 800, 240)),
          near_hills_(MakeHills(*dev_, 800, 200)),
          panel_(MakeTranslucent(*dev_, 128, 64, 0xE8)),
          side_(MakeTranslucent(*dev_, 260, 600, 0xFA)) {}

    void Draw(int frame) {
        std::vector<Vertex> v;
        dev_->BeginScene();
        dev_->Clear(0xFF000000);
        auto draw = [&](Texture* t, const std::vector<Vertex>& quads) {
            dev_->SetTexture(0, t);
            dev_->DrawTriangleListUP(static_cast<uint32_t>(quads.size() / 3), quads.data(), sizeof(Vertex));
        };
        draw(sky_.get(), Quad(0, 0, 800, 600));
        draw(clouds_.get(), Layer(frame * 0.21f, 24, 200));
        draw(hills_.get(), Layer(frame * 0.37f, 360, 240));
        draw(near_hills_.get(), Layer(frame * 0.74f, 400, 200));
        draw(side_.get(), Quad(0, 0, 260, 600));
        draw(panel_.get(), Quad(226, 278, 348, 292));
        dev_->EndScene();
        dev_->Present();
    }

private:
    static std::vector<Vertex> Quad(float x, float y, float w, float h) {
        std::vector<Vertex> v;
        AddQuad(v, x, y, w, h, 0xFFFFFFFF);
        return v;
    }
    // Two copies side by side, moved left by `shift` (wrapping every 800 pixels).
    static std::vector<Vertex> Layer(float shift, float y, float h) {
        std::vector<Vertex> v;
        const float x = -std::fmod(shift, 800.0f);
        AddQuad(v, x, y, 800, h, 0xFFFFFFFF);
        AddQuad(v, x + 800, y, 800, h, 0xFFFFFFFF);
        return v;
    }
    static std::unique_ptr<Texture> MakeHills(RenderDevice& dev, uint32_t w, uint32_t h) {
        auto t = MakeTexture(dev, w, h, true);
        Paint(*t, [&](uint32_t x, uint32_t y, uint32_t texel) {
            const uint32_t ridge = h / 3 + static_cast<uint32_t>(h / 6 * std::sin(x * 0.02));
            return y < ridge ? texel & 0x00FFFFFFu : (y < ridge + 2 ? (texel & 0x00FFFFFFu) | 0x80000000u : texel);
        });
        return t;
    }
    static std::unique_ptr<Texture> MakeTranslucent(RenderDevice& dev, uint32_t w, uint32_t h, uint32_t alpha) {
        auto t = MakeTexture(dev, w, h, true);
        Paint(*t, [&](uint32_t, uint32_t, uint32_t texel) { return (texel & 0x00FFFFFFu) | alpha << 24; });
        return t;
    }
    template <typename F>
    static void Paint(Texture& t, F paint) {
        void* bits = nullptr;
        uint32_t pitch = 0;
        t.LockRect(0, &bits, &pitch);
        auto* p = static_cast<uint32_t*>(bits);
        for (uint32_t y = 0; y < t.Height(); ++y)
            for (uint32_t x = 0; x < t.Width(); ++x) p[y * t.Width() + x] = paint(x, y, p[y * t.Width() + x]);
        t.UnlockRect(0);
    }

    std::unique_ptr<RenderDevice> dev_;
    std::unique_ptr<Texture> sky_, clouds_, hills_, near_hills_, panel_, side_;
};

void BM_MenuFrameInMotion(benchmark::State& state) {
    MenuFrame scene;
    int frame = 0;
    for (auto _ : state) scene.Draw(frame++);
}
BENCHMARK(BM_MenuFrameInMotion)->Unit(benchmark::kMillisecond);

void BM_ClearAndPresent(benchmark::State& state) {
    auto dev = MakeDevice();
    GammaRamp ramp;
    for (int i = 0; i < 256; ++i) ramp.red[i] = ramp.green[i] = ramp.blue[i] = static_cast<uint16_t>(std::min(65535, (20 + i) * 256));
    dev->SetGammaRamp(ramp);
    for (auto _ : state) {
        dev->Clear(0xFF000000);
        dev->Present();
    }
}
BENCHMARK(BM_ClearAndPresent)->Unit(benchmark::kMillisecond);

}  // namespace
