// Drawing in row bands on several threads must give the very pixels that
// drawing one call at a time on one thread gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "platform/render_device.h"

using namespace plat;

namespace {

std::unique_ptr<RenderDevice> Offscreen(unsigned threads, PresentParameters pp = {}) {
    auto dev = RenderDevice::CreateOffscreen(pp, threads);
    dev->SetTransform(TransformType::World, Matrix::Translation(-400, -300, 0));
    dev->SetTransform(TransformType::View, Matrix::Scaling(1, -1, 1));
    dev->SetTransform(TransformType::Projection, Matrix::OrthoLH(800, 600, 1, -1));
    return dev;
}

// Texture contents as art has them: opaque, transparent and soft texels.
void Fill(Texture& t, std::mt19937& rng) {
    void* bits = nullptr;
    uint32_t pitch = 0;
    ASSERT_EQ(t.LockRect(0, &bits, &pitch), kOk);
    const uint32_t kinds[4] = {0xFF000000u, 0x00000000u, 0x80000000u, 0xFF000000u};
    for (uint32_t y = 0; y < t.Height(); ++y)
        for (uint32_t x = 0; x < t.Width(); ++x) {
            uint32_t alpha = rng() % 5 == 0 ? (rng() & 0xFF) << 24 : kinds[rng() % 4];
            uint32_t p = alpha | (rng() & 0xFFFFFF);
            std::memcpy(static_cast<uint8_t*>(bits) + y * pitch + 4 * x, &p, 4);
        }
    ASSERT_EQ(t.UnlockRect(0), kOk);
}

std::unique_ptr<Texture> NewTexture(RenderDevice& dev, std::mt19937& rng) {
    const uint32_t sizes[] = {1, 2, 7, 16, 32, 48, 64, 128};
    std::unique_ptr<Texture> t;
    EXPECT_EQ(dev.CreateTexture(sizes[rng() % 8], sizes[rng() % 8], 1, Format::A8R8G8B8, &t), kOk);
    Fill(*t, rng);
    return t;
}

uint32_t Pick(std::mt19937& rng, std::initializer_list<uint32_t> values) { return values.begin()[rng() % values.size()]; }

void RandomStates(RenderDevice& dev, std::mt19937& rng) {
    dev.SetRenderState(RenderState::CullMode, Pick(rng, {kCullNone, kCullNone, kCullCW, kCullCCW}));
    const uint32_t mode = rng() % 5;
    dev.SetRenderState(RenderState::AlphaBlendEnable, mode != 0);
    if (mode == 1 || mode == 2) {
        dev.SetRenderState(RenderState::SrcBlend, kBlendSrcAlpha);
        dev.SetRenderState(RenderState::DestBlend, mode == 1 ? kBlendInvSrcAlpha : kBlendOne);
    } else {
        dev.SetRenderState(RenderState::SrcBlend, 1 + rng() % 10);
        dev.SetRenderState(RenderState::DestBlend, 1 + rng() % 10);
    }
    const bool modulate = rng() % 3 != 0;
    dev.SetTextureStageState(0, TextureStageState::ColorOp, modulate ? static_cast<uint32_t>(kTopModulate) : 1 + rng() % 7);
    dev.SetTextureStageState(0, TextureStageState::ColorArg1, modulate ? static_cast<uint32_t>(kTaTexture) : rng() % 3);
    dev.SetTextureStageState(0, TextureStageState::ColorArg2, modulate ? static_cast<uint32_t>(kTaDiffuse) : rng() % 3);
    dev.SetTextureStageState(0, TextureStageState::AlphaOp, modulate ? static_cast<uint32_t>(kTopModulate) : 1 + rng() % 7);
    dev.SetTextureStageState(0, TextureStageState::AlphaArg1, modulate ? static_cast<uint32_t>(kTaTexture) : rng() % 3);
    dev.SetTextureStageState(0, TextureStageState::AlphaArg2, modulate ? static_cast<uint32_t>(kTaDiffuse) : rng() % 3);
    dev.SetTextureStageState(0, TextureStageState::AddressU, Pick(rng, {kAddressWrap, kAddressClamp, kAddressClamp}));
    dev.SetTextureStageState(0, TextureStageState::AddressV, Pick(rng, {kAddressWrap, kAddressClamp, kAddressClamp}));
    const uint32_t filter = Pick(rng, {kFilterPoint, kFilterLinear, kFilterLinear});
    dev.SetTextureStageState(0, TextureStageState::MinFilter, filter);
    dev.SetTextureStageState(0, TextureStageState::MagFilter, filter);
}

float Coord(std::mt19937& rng, float size) {
    return std::uniform_real_distribution<float>(-0.2f * size, 1.2f * size)(rng);
}

// One frame of random drawing: sprites placed texel for texel, scaled and
// rotated quads, loose triangles of every size, indexed and from buffers;
// clears now and then; textures rewritten, dropped and replaced between draws.
void RandomFrame(RenderDevice& dev, std::mt19937& rng, std::vector<std::unique_ptr<Texture>>& textures) {
    std::unique_ptr<VertexBuffer> vb;
    std::unique_ptr<IndexBuffer> ib;
    ASSERT_EQ(dev.CreateVertexBuffer(64 * sizeof(Vertex), &vb), kOk);
    ASSERT_EQ(dev.CreateIndexBuffer(96 * 2, &ib), kOk);
    ASSERT_EQ(dev.BeginScene(), kOk);
    dev.Clear(rng());
    for (int call = 0; call < 40; ++call) {
        RandomStates(dev, rng);
        const uint32_t tex_pick = rng() % (textures.size() + 1);
        Texture* tex = tex_pick < textures.size() ? textures[tex_pick].get() : nullptr;
        dev.SetTexture(0, tex);
        const bool uniform = rng() % 2 == 0;
        const uint32_t base_color = rng() % 3 == 0 ? 0xFFFFFFFFu : rng();
        auto color = [&] { return uniform ? base_color : static_cast<uint32_t>(rng()); };
        const float angle = rng() % 3 == 0 ? std::uniform_real_distribution<float>(0, 6.3f)(rng) : 0.0f;
        dev.SetTransform(TransformType::World, Matrix::RotationZ(angle) * Matrix::Translation(-400, -300, 0));
        std::vector<Vertex> v;
        switch (rng() % 4) {
            case 0:
            case 1: {  // quads: texel-exact sprites or scaled ones
                const int quads = 1 + static_cast<int>(rng() % 10);
                for (int q = 0; q < quads; ++q) {
                    float x = static_cast<float>(static_cast<int>(rng() % 900) - 50) - 0.5f;
                    float y = static_cast<float>(static_cast<int>(rng() % 700) - 50) - 0.5f;
                    float w = tex && rng() % 2 ? static_cast<float>(tex->Width()) : Coord(rng, 300);
                    float h = tex && rng() % 2 ? static_cast<float>(tex->Height()) : Coord(rng, 300);
                    if (rng() % 4 == 0) {
                        x += Coord(rng, 1);
                        y += Coord(rng, 1);
                    }
                    const float u0 = rng() % 3 ? 0.0f : Coord(rng, 1), u1 = rng() % 3 ? 1.0f : Coord(rng, 2);
                    const uint32_t c0 = color(), c1 = color(), c2 = color(), c3 = color();
                    Vertex quad[6] = {{x, y, 0, c0, u0, u0},         {x + w, y, 0, c1, u1, u0},
                                      {x, y + h, 0, c2, u0, u1},     {x + w, y + h, 0, c3, u1, u1},
                                      {x, y + h, 0, c2, u0, u1},     {x + w, y, 0, c1, u1, u0}};
                    v.insert(v.end(), quad, quad + 6);
                }
                ASSERT_EQ(dev.DrawTriangleListUP(static_cast<uint32_t>(v.size() / 3), v.data(), sizeof(Vertex)), kOk);
                break;
            }
            case 2: {  // loose triangles, from tiny to far larger than the screen
                const float scale = Pick(rng, {20, 200, 800, 2000}) * 1.0f;
                const int tris = 1 + static_cast<int>(rng() % (scale > 200 ? 3 : 30));
                // Some on pixel centres or halfway between, where the fill rule decides.
                const uint32_t snap = rng() % 3;
                auto place = [&](float p) { return snap == 2 ? p : std::round(p) + (snap ? 0.5f : 0.0f); };
                for (int t = 0; t < tris; ++t) {
                    const float cx = Coord(rng, 800), cy = Coord(rng, 600);
                    for (int k = 0; k < 3; ++k)
                        v.push_back({place(cx + Coord(rng, scale) - 0.5f * scale), place(cy + Coord(rng, scale) - 0.5f * scale),
                                     0, color(), Coord(rng, 1), Coord(rng, 1)});
                }
                ASSERT_EQ(dev.DrawTriangleListUP(static_cast<uint32_t>(tris), v.data(), sizeof(Vertex)), kOk);
                break;
            }
            default: {  // indexed from buffers
                void* data = nullptr;
                ASSERT_EQ(vb->Lock(0, 0, &data), kOk);
                auto* vert = static_cast<Vertex*>(data);
                for (int i = 0; i < 64; ++i) vert[i] = {Coord(rng, 800), Coord(rng, 600), 0, color(), Coord(rng, 1), Coord(rng, 1)};
                vb->Unlock();
                ASSERT_EQ(ib->Lock(0, 0, &data), kOk);
                auto* idx = static_cast<uint16_t*>(data);
                for (int i = 0; i < 96; ++i) idx[i] = static_cast<uint16_t>(rng() % 32);
                ib->Unlock();
                dev.SetStreamSource(0, vb.get(), sizeof(Vertex));
                dev.SetIndices(ib.get(), 4);
                ASSERT_EQ(dev.DrawIndexedTriangleList(0, 32, 0, 32), kOk);
                ASSERT_EQ(dev.DrawTriangleList(10, 5), kOk);
                dev.SetStreamSource(0, nullptr, 0);
                dev.SetIndices(nullptr, 0);
                break;
            }
        }
        switch (rng() % 12) {
            case 0:
                if (call < 25) dev.Clear(rng());
                break;
            case 1:  // rewritten after it was drawn with
                if (!textures.empty()) Fill(*textures[rng() % textures.size()], rng);
                break;
            case 2:  // dropped (possibly still bound) and replaced
                if (!textures.empty()) {
                    const size_t i = rng() % textures.size();
                    if (dev.GetTexture(0) == textures[i].get()) dev.SetTexture(0, nullptr);
                    textures[i] = NewTexture(dev, rng);
                }
                break;
            case 3:  // copied onto from another of its size
                for (auto& other : textures)
                    if (tex && other.get() != tex && other->Width() == tex->Width() && other->Height() == tex->Height()) {
                        ASSERT_EQ(dev.CopyLevel(*other, *tex, 0), kOk);
                        break;
                    }
                break;
            default: break;
        }
    }
    dev.SetTransform(TransformType::World, Matrix::Translation(-400, -300, 0));
    ASSERT_EQ(dev.EndScene(), kOk);
}

std::vector<uint32_t> Back(RenderDevice& dev) {
    std::vector<uint32_t> px;
    EXPECT_EQ(dev.ReadBackBuffer(&px, nullptr, nullptr), kOk);
    return px;
}

// The first differing pixel, for a readable failure.
::testing::AssertionResult SamePixels(const std::vector<uint32_t>& want, const std::vector<uint32_t>& got, int width) {
    if (want.size() != got.size()) return ::testing::AssertionFailure() << "sizes differ";
    for (size_t i = 0; i < want.size(); ++i)
        if (want[i] != got[i])
            return ::testing::AssertionFailure() << "pixel (" << i % width << ", " << i / width << "): " << std::hex
                                                 << want[i] << " on one thread, " << got[i] << " in bands";
    return ::testing::AssertionSuccess();
}

struct BandCase {
    unsigned threads;
    uint32_t seed;
    PresentParameters pp;
};

class RenderDeviceBandsTest : public ::testing::TestWithParam<BandCase> {};

TEST_P(RenderDeviceBandsTest, RandomFramesMatchOneThread) {
    const BandCase& c = GetParam();
    auto one = Offscreen(1, c.pp), many = Offscreen(c.threads, c.pp);
    std::mt19937 rng_one(c.seed), rng_many(c.seed);
    std::vector<std::unique_ptr<Texture>> tex_one, tex_many;
    for (int i = 0; i < 6; ++i) {
        tex_one.push_back(NewTexture(*one, rng_one));
        tex_many.push_back(NewTexture(*many, rng_many));
    }
    GammaRamp ramp = GammaRamp::Linear();
    for (int i = 0; i < 256; ++i) ramp.green[i] = static_cast<uint16_t>(std::min(65535, i * 300));
    std::vector<uint32_t> colours;
    for (int frame = 0; frame < 3; ++frame) {
        RandomFrame(*one, rng_one, tex_one);
        RandomFrame(*many, rng_many, tex_many);
        const std::vector<uint32_t> want = Back(*one);
        colours.insert(colours.end(), want.begin(), want.end());
        std::sort(colours.begin(), colours.end());
        colours.erase(std::unique(colours.begin(), colours.end()), colours.end());
        ASSERT_TRUE(SamePixels(want, Back(*many), static_cast<int>(c.pp.width))) << "frame " << frame;
        if (frame == 1) {
            one->SetGammaRamp(ramp);
            many->SetGammaRamp(ramp);
        }
        ASSERT_EQ(one->Present(), kOk);
        ASSERT_EQ(many->Present(), kOk);
        std::vector<uint32_t> shown_one, shown_many;
        one->ReadPresentedFrame(&shown_one, nullptr, nullptr);
        many->ReadPresentedFrame(&shown_many, nullptr, nullptr);
        ASSERT_TRUE(SamePixels(shown_one, shown_many, static_cast<int>(c.pp.width)));
    }
    // Frames of random drawing, not blank ones.
    EXPECT_GT(colours.size(), std::min<size_t>(1000, c.pp.width * c.pp.height / 20));
}

PresentParameters Size(uint32_t w, uint32_t h) {
    PresentParameters pp;
    pp.width = w;
    pp.height = h;
    return pp;
}

INSTANTIATE_TEST_SUITE_P(Threads, RenderDeviceBandsTest,
                         ::testing::Values(BandCase {4, 1, {}}, BandCase {4, 2, {}}, BandCase {2, 3, {}},
                                           BandCase {3, 4, {}}, BandCase {4, 5, Size(640, 7)},
                                           BandCase {8, 6, Size(800, 601)}));

// Every change a recorded draw depends on comes after it in the same frame:
// the texture's texels rewritten, copied onto, dropped while bound; the back
// buffer read between draws; the device reset and lost; one texture drawn
// with by two devices in turn.
TEST(RenderDeviceBands, ChangesAfterADrawLeaveThatDrawAsItWas) {
    struct Run {
        std::unique_ptr<RenderDevice> dev, other;
        std::vector<uint32_t> mid, end, other_end;
    };
    auto draw = [](unsigned threads) {
        Run r {Offscreen(threads), Offscreen(threads), {}, {}, {}};
        RenderDevice& dev = *r.dev;
        std::mt19937 rng(7);
        std::unique_ptr<Texture> a = NewTexture(dev, rng), b;
        EXPECT_EQ(dev.CreateTexture(a->Width(), a->Height(), 1, Format::A8R8G8B8, &b), kOk);
        Fill(*b, rng);
        auto quad = [&](RenderDevice& d, float x, float y) {
            Vertex v[6] = {{x, y, 0, 0xFFFFFFFF, 0, 0},         {x + 300, y, 0, 0xFFFFFFFF, 1, 0},
                           {x, y + 200, 0, 0xFFFFFFFF, 0, 1},   {x + 300, y + 200, 0, 0xFFFFFFFF, 1, 1},
                           {x, y + 200, 0, 0xFFFFFFFF, 0, 1},   {x + 300, y, 0, 0xFFFFFFFF, 1, 0}};
            EXPECT_EQ(d.DrawTriangleListUP(2, v, sizeof(Vertex)), kOk);
        };
        dev.BeginScene();
        dev.Clear(0xFF203040);
        dev.SetRenderState(RenderState::AlphaBlendEnable, 1);
        dev.SetRenderState(RenderState::SrcBlend, kBlendSrcAlpha);
        dev.SetRenderState(RenderState::DestBlend, kBlendInvSrcAlpha);
        dev.SetTextureStageState(0, TextureStageState::MagFilter, kFilterLinear);
        dev.SetTexture(0, a.get());
        quad(dev, 10, 10);
        Fill(*a, rng);  // rewritten: the quad above keeps the old texels
        quad(dev, 100, 100);
        EXPECT_EQ(dev.CopyLevel(*b, *a, 0), kOk);
        quad(dev, 200, 150);
        dev.ReadBackBuffer(&r.mid, nullptr, nullptr);
        quad(dev, 250, 250);
        r.other->SetTexture(0, a.get());  // the other device draws with it too
        quad(*r.other, 0, 0);
        quad(dev, 300, 300);
        Fill(*a, rng);
        quad(*r.other, 50, 50);
        a.reset();  // dropped while bound and recorded on both devices
        dev.SetTexture(0, b.get());
        quad(dev, 350, 50);
        dev.LoseDevice();
        dev.Reset(PresentParameters {});
        quad(dev, 400, 350);  // after a reset: default states, no texture
        dev.EndScene();
        dev.ReadBackBuffer(&r.end, nullptr, nullptr);
        r.other->ReadBackBuffer(&r.other_end, nullptr, nullptr);
        return r;
    };
    Run one = draw(1), many = draw(4);
    EXPECT_TRUE(SamePixels(one.mid, many.mid, 800));
    EXPECT_TRUE(SamePixels(one.end, many.end, 800));
    EXPECT_TRUE(SamePixels(one.other_end, many.other_end, 800));
    EXPECT_NE(one.mid, one.end);
}

}  // namespace
