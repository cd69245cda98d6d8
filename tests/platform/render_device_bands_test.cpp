// Drawing tile by tile on several threads, and keeping the tiles a frame drew
// as the last one did, must give the very pixels that drawing every call whole
// gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

#include "platform/raster_queue.h"
#include "platform/raster_wide_spans.h"
#include "platform/rasterizer.h"
#include "platform/render_device.h"

using namespace plat;

namespace {

std::unique_ptr<RenderDevice> WithScreenTransforms(std::unique_ptr<RenderDevice> dev) {
    dev->SetTransform(TransformType::World, Matrix::Translation(-400, -300, 0));
    dev->SetTransform(TransformType::View, Matrix::Scaling(1, -1, 1));
    dev->SetTransform(TransformType::Projection, Matrix::OrthoLH(800, 600, 1, -1));
    return dev;
}

std::unique_ptr<RenderDevice> Offscreen(unsigned threads, PresentParameters pp = {}) {
    return WithScreenTransforms(RenderDevice::CreateOffscreen(pp, threads));
}

// The pixels the tiled drawing must give: every triangle drawn alone over the
// whole back buffer as it comes, with nothing left out, paired or kept.
std::unique_ptr<RenderDevice> Reference(PresentParameters pp = {}) {
    return WithScreenTransforms(RenderDevice::CreateReference(pp));
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

// Six textures of random sizes and texels.
std::vector<std::unique_ptr<Texture>> Textures(RenderDevice& dev, std::mt19937& rng) {
    std::vector<std::unique_ptr<Texture>> textures;
    for (int i = 0; i < 6; ++i) textures.push_back(NewTexture(dev, rng));
    return textures;
}

// A ramp that brightens one channel steeply.
GammaRamp SteepRamp(std::array<uint16_t, 256> GammaRamp::*channel) {
    GammaRamp ramp = GammaRamp::Linear();
    for (int i = 0; i < 256; ++i) (ramp.*channel)[i] = static_cast<uint16_t>(std::min(65535, i * 300));
    return ramp;
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
                                                 << want[i] << " wanted, " << got[i] << " got";
    return ::testing::AssertionSuccess();
}

// Presents on both devices (after giving both `ramp`, if any); the frames the
// player sees must be the same.
::testing::AssertionResult PresentBoth(RenderDevice& want, RenderDevice& got, const GammaRamp* ramp, int width) {
    if (ramp) {
        want.SetGammaRamp(*ramp);
        got.SetGammaRamp(*ramp);
    }
    if (want.Present() != kOk || got.Present() != kOk) return ::testing::AssertionFailure() << "a present failed";
    std::vector<uint32_t> shown_want, shown_got;
    want.ReadPresentedFrame(&shown_want, nullptr, nullptr);
    got.ReadPresentedFrame(&shown_got, nullptr, nullptr);
    return SamePixels(shown_want, shown_got, width);
}

struct BandCase {
    unsigned threads;
    uint32_t seed;
    PresentParameters pp;
};

class RenderDeviceBandsTest : public ::testing::TestWithParam<BandCase> {};

// Random frames drawn in tiles, on one thread and on several, give the pixels
// of the same draws sent to the rasteriser one triangle at a time.
TEST_P(RenderDeviceBandsTest, RandomFramesMatchTheRasteriserAlone) {
    const BandCase& c = GetParam();
    auto ref = Reference(c.pp), one = Offscreen(1, c.pp), many = Offscreen(c.threads, c.pp);
    std::mt19937 rng_ref(c.seed), rng_one(c.seed), rng_many(c.seed);
    std::vector<std::unique_ptr<Texture>> tex_ref = Textures(*ref, rng_ref), tex_one = Textures(*one, rng_one),
                                          tex_many = Textures(*many, rng_many);
    const GammaRamp ramp = SteepRamp(&GammaRamp::green);
    std::vector<uint32_t> colours;
    for (int frame = 0; frame < 3; ++frame) {
        RandomFrame(*ref, rng_ref, tex_ref);
        RandomFrame(*one, rng_one, tex_one);
        RandomFrame(*many, rng_many, tex_many);
        const std::vector<uint32_t> want = Back(*ref);
        colours.insert(colours.end(), want.begin(), want.end());
        std::sort(colours.begin(), colours.end());
        colours.erase(std::unique(colours.begin(), colours.end()), colours.end());
        ASSERT_TRUE(SamePixels(want, Back(*one), static_cast<int>(c.pp.width))) << "frame " << frame << ", one thread";
        ASSERT_TRUE(SamePixels(want, Back(*many), static_cast<int>(c.pp.width))) << "frame " << frame;
        ASSERT_TRUE(PresentBoth(*ref, *one, frame == 1 ? &ramp : nullptr, static_cast<int>(c.pp.width)));
        ASSERT_TRUE(PresentBoth(*ref, *many, frame == 1 ? &ramp : nullptr, static_cast<int>(c.pp.width)));
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


// The rasteriser cut to a tile gives each pixel of the tile what drawing the
// whole triangle gives it: spans cut on the left step their texture, colour
// and alpha on to the tile's edge exactly. Columns one pixel wide draw every
// pixel alone, so the paths that fill several pixels at once (sprites placed
// texel for texel, moved by a fraction of a pixel, or stretched along the
// rows) must match the one that fills a single pixel.
TEST(RenderDeviceTiles, TrianglesCutToTilesMatchWholeOnes) {
    // The four-pixel loops of processors with wide lanes, and the two-pixel
    // ones of the others.
    struct Restore {
        bool was = wide::Enabled();
        ~Restore() { wide::SetEnabled(was); }
    } restore;
    for (const bool wide_lanes : {true, false})
    for (const int tile_w : {32, 1}) {
        SCOPED_TRACE(testing::Message() << "tile width " << tile_w << (wide_lanes ? ", wide lanes" : ""));
        wide::SetEnabled(wide_lanes);
        std::mt19937 rng(11);
        constexpr int kW = 200, kH = 150;
        std::vector<uint32_t> texels(48 * 40);
        for (uint32_t& t : texels) t = (rng() % 3 ? 0xFF000000u : (rng() & 0xFF) << 24) | (rng() & 0xFFFFFF);
        // Shaded from top to bottom only, as panels are: every row one colour.
        std::vector<uint32_t> shaded(48 * 40);
        for (size_t i = 0; i < shaded.size(); ++i) shaded[i] = i % 48 ? shaded[i - 1] : static_cast<uint32_t>(rng());
        for (int round = 0; round < 200; ++round) {
            SCOPED_TRACE(round);
            RasterState st;
            if (rng() % 4) {
                st.texels = texels.data();
                st.tex_width = 48;
                st.tex_height = 40;
            }
            st.linear = rng() % 2;
            st.wrap_u = rng() % 3 == 0;
            st.wrap_v = rng() % 3 == 0;
            st.color_op = Pick(rng, {kTopModulate, kTopModulate, kTopAdd, kTopSelectArg1});
            st.color_arg1 = kTaTexture;
            st.color_arg2 = kTaDiffuse;
            st.alpha_op = Pick(rng, {kTopModulate, kTopSelectArg1});
            st.alpha_arg1 = kTaTexture;
            st.alpha_arg2 = kTaDiffuse;
            st.blend = rng() % 4 != 0;
            st.src_blend = Pick(rng, {kBlendSrcAlpha, kBlendSrcAlpha, kBlendOne, kBlendDestColor});
            st.dest_blend = Pick(rng, {kBlendInvSrcAlpha, kBlendOne, kBlendZero});
            st.cull = kCullNone;
            ScreenVertex v[3];
            const bool exact = rng() % 3 == 0;  // a sprite corner on a texel corner
            // ... or beside it by one fraction (a scrolling layer).
            const float shift_x = rng() % 2 ? static_cast<float>(rng() % 256) / 256.0f : 0.0f;
            const float shift_y = rng() % 2 ? static_cast<float>(rng() % 256) / 256.0f : 0.0f;
            const uint32_t color = rng() % 2 ? 0xFFFFFFFFu : static_cast<uint32_t>(rng());
            if (exact && st.texels) {  // as sprites are drawn: filtered, clamped, modulated
                st.linear = rng() % 4 != 0;
                st.wrap_u = st.wrap_v = false;
                st.color_op = st.alpha_op = kTopModulate;
            }
            // ... or stretched along the rows alone (a scaled panel).
            const bool stretched = !exact && rng() % 3 == 0;
            // Magnified: u from offset_u to offset_u + stretch over the pixels
            // the triangle may cover, inside the texture. Or else up to three
            // texels a pixel, mostly reaching past the texture's edges.
            const bool magnified = rng() % 2;
            const float stretch = magnified ? 0.05f + static_cast<float>(rng() % 85) / 100.0f
                                            : 0.05f + static_cast<float>(rng() % 300) / 100.0f;
            const float offset_u = magnified ? 0.02f + (0.96f - stretch) * static_cast<float>(rng() % 100) / 100.0f
                                             : Coord(rng, 1) - 0.5f;
            if (stretched && st.texels) {  // as panels are drawn
                if (rng() % 2) st.texels = shaded.data();
                st.linear = true;
                st.wrap_u = st.wrap_v = false;
                st.color_op = st.alpha_op = kTopModulate;
            }
            for (ScreenVertex& p : v) {
                p = {Coord(rng, kW), Coord(rng, kH), rng() % 2 ? color : static_cast<uint32_t>(rng()), Coord(rng, 1), Coord(rng, 1)};
                if (stretched) {
                    p.y = std::round(p.y) - 0.5f;
                    p.u = magnified ? offset_u + stretch * (p.x + 0.2f * kW) / (1.4f * kW) : offset_u + p.x * stretch / 48.0f;
                    p.v = (p.y + 0.5f + shift_y) / 40.0f;
                    p.color = color;
                }
                if (exact) {
                    p.x = std::round(p.x) - 0.5f;
                    p.y = std::round(p.y) - 0.5f;
                    p.u = (p.x + 0.5f) / 48.0f;
                    p.v = (p.y + 0.5f) / 40.0f;
                    p.color = color;
                    p.x += shift_x;
                    p.y += shift_y;
                }
            }
            std::vector<uint32_t> whole(kW * kH), tiled;
            for (uint32_t& p : whole) p = 0xFF000000u | (rng() & 0xFFFFFF);
            tiled = whole;
            Rasterizer(whole.data(), kW, kH).Triangle(v[0], v[1], v[2], st);
            for (int y = 0; y < kH; y += 32)
                for (int x = 0; x < kW; x += tile_w)
                    Rasterizer(tiled.data(), kW, kH, y, std::min(kH, y + 32), x, std::min(kW, x + tile_w))
                        .Triangle(v[0], v[1], v[2], st);
            ASSERT_TRUE(SamePixels(whole, tiled, kW));
        }
    }
}

// Two triangles drawn as a pair give the pixels of the two drawn in turn: the
// halves of axis-aligned quads (texel for texel, moved by a fraction of a
// pixel, stretched, shaded from corner to corner), on either diagonal, in
// either order and winding, and loose triangles that overlap; whole and cut
// to tiles.
TEST(RenderDeviceTiles, PairsMatchTheirTrianglesDrawnInTurn) {
    struct Restore {
        bool was = wide::Enabled();
        ~Restore() { wide::SetEnabled(was); }
    } restore;
    for (const bool wide_lanes : {true, false}) {
        SCOPED_TRACE(wide_lanes ? "wide lanes" : "narrow lanes");
        wide::SetEnabled(wide_lanes);
        std::mt19937 rng(23);
        constexpr int kW = 160, kH = 100, kTexW = 48, kTexH = 40;
        std::vector<uint32_t> texels(kTexW * kTexH);
        for (uint32_t& t : texels) t = (rng() % 3 ? 0xFF000000u : (rng() & 0xFF) << 24) | (rng() & 0xFFFFFF);
        for (int round = 0; round < 400; ++round) {
            SCOPED_TRACE(round);
            RasterState st;
            if (rng() % 5) {
                st.texels = texels.data();
                st.tex_width = kTexW;
                st.tex_height = kTexH;
            }
            st.linear = rng() % 4 != 0;
            st.wrap_u = rng() % 4 == 0;
            st.wrap_v = rng() % 4 == 0;
            st.color_op = st.alpha_op = rng() % 4 ? kTopModulate : kTopAdd;
            st.color_arg1 = st.alpha_arg1 = kTaTexture;
            st.color_arg2 = st.alpha_arg2 = kTaDiffuse;
            st.blend = rng() % 5 != 0;
            st.src_blend = Pick(rng, {kBlendSrcAlpha, kBlendSrcAlpha, kBlendOne, kBlendDestColor});
            st.dest_blend = Pick(rng, {kBlendInvSrcAlpha, kBlendOne, kBlendZero});
            st.cull = Pick(rng, {kCullNone, kCullNone, kCullCW, kCullCCW});
            ScreenVertex a[3], b[3];
            const uint32_t color = rng() % 2 ? 0xFFFFFFFFu : static_cast<uint32_t>(rng());
            if (rng() % 5 == 0) {
                for (ScreenVertex* t : {a, b})
                    for (int i = 0; i < 3; ++i)
                        t[i] = {Coord(rng, kW), Coord(rng, kH), rng() % 2 ? color : static_cast<uint32_t>(rng()),
                                Coord(rng, 1), Coord(rng, 1)};
            } else {
                // A quad: pixel-aligned, with its edges on pixel centres, or
                // moved by a fraction; its texels one to a pixel or stretched.
                auto fraction = [&] {
                    const uint32_t kind = rng() % 3;
                    return kind == 0 ? 0.0f : (kind == 1 ? 0.5f : static_cast<float>(rng() % 256) / 256.0f);
                };
                const float frac_x = fraction(), frac_y = fraction();
                const float left = std::round(Coord(rng, kW)) - 0.5f + frac_x;
                const float top = std::round(Coord(rng, kH)) - 0.5f + frac_y;
                const float w = static_cast<float>(1 + rng() % 70), h = static_cast<float>(1 + rng() % 50);
                const float su = rng() % 2 ? 1.0f : 0.2f + static_cast<float>(rng() % 300) / 100.0f;
                const float sv = rng() % 2 ? 1.0f : 0.2f + static_cast<float>(rng() % 300) / 100.0f;
                const float u0 = static_cast<float>(rng() % kTexW) - 8.0f, v0 = static_cast<float>(rng() % kTexH) - 8.0f;
                const bool shaded = rng() % 4 == 0;
                ScreenVertex corner[4];  // top left, top right, bottom right, bottom left
                for (int i = 0; i < 4; ++i) {
                    const float dx = (i == 1 || i == 2) ? w : 0.0f, dy = i >= 2 ? h : 0.0f;
                    corner[i] = {left + dx, top + dy, shaded ? static_cast<uint32_t>(rng()) : color,
                                 (u0 + dx * su) / kTexW, (v0 + dy * sv) / kTexH};
                }
                // Now and then a corner's texel a little off: the halves map apart.
                if (rng() % 3 == 0) {
                    ScreenVertex& off = corner[rng() % 4];
                    (rng() % 2 ? off.u : off.v) += static_cast<float>(1 + rng() % 64) / 4096.0f;
                }
                const int d = static_cast<int>(rng() % 2);  // the diagonal: 0-2 or 1-3
                const int first[3] = {d, d + 1, (d + 2) % 4}, second[3] = {(d + 2) % 4, (d + 3) % 4, d};
                const int turn = static_cast<int>(rng() % 3);
                const bool reversed = rng() % 2;
                for (int i = 0; i < 3; ++i) {
                    const int k = reversed ? 2 - i : i;
                    a[(i + turn) % 3] = corner[first[k]];
                    b[(i + turn) % 3] = corner[second[k]];
                }
                if (rng() % 2) std::swap(a, b);
            }
            std::vector<uint32_t> in_turn(kW * kH), paired;
            for (uint32_t& p : in_turn) p = 0xFF000000u | (rng() & 0xFFFFFF);
            paired = in_turn;
            const int tile_w = rng() % 2 ? kW : 1 + static_cast<int>(rng() % 40);
            const int tile_h = rng() % 2 ? kH : 1 + static_cast<int>(rng() % 32);
            for (int y = 0; y < kH; y += tile_h)
                for (int x = 0; x < kW; x += tile_w) {
                    Rasterizer one(in_turn.data(), kW, kH, y, std::min(kH, y + tile_h), x, std::min(kW, x + tile_w));
                    one.Triangle(a[0], a[1], a[2], st);
                    one.Triangle(b[0], b[1], b[2], st);
                    Rasterizer(paired.data(), kW, kH, y, std::min(kH, y + tile_h), x, std::min(kW, x + tile_w)).Pair(a, b, st);
                }
            ASSERT_TRUE(SamePixels(in_turn, paired, kW));
        }
    }
}

// The wide loops fill eight pixels at a time and the last one to seven through
// masks. Drawn with them into a rectangle, quads of every width up to a few
// eight-pixel steps (texel for texel, also past the texture's right edge; moved
// by a fraction of a pixel, also in from the texture's edges; stretched along
// the rows, minified or mirrored; turned and scaled, reaching past the
// texture's edges) give the pixels that the narrow loops give
// drawing one column at a time and, where the colour is opaque, those of the
// general texture stage's per-pixel loop; every pixel outside the rectangle
// stays as it was.
TEST(RenderDeviceTiles, WideLanesMatchNarrowPixelByPixel) {
    struct Restore {
        bool was = wide::Enabled();
        ~Restore() { wide::SetEnabled(was); }
    } restore;
    wide::SetEnabled(true);
    if (!wide::Enabled()) GTEST_SKIP() << "the processor has no wide lanes";
    std::mt19937 rng(41);
    constexpr int kW = 96, kH = 40, kTexW = 40, kTexH = 24;
    // Runs of transparent, opaque and soft texels, so that whole groups of
    // eight are passed over, copied or blended.
    std::vector<uint32_t> texels(kTexW * kTexH);
    for (size_t i = 0; i < texels.size();) {
        const uint32_t kind = rng() % 3;
        for (size_t run = 1 + rng() % 12; run > 0 && i < texels.size(); --run, ++i) {
            const uint32_t alpha = kind == 0 ? 0 : (kind == 1 ? 0xFF : rng() & 0xFF);
            texels[i] = alpha << 24 | (rng() & 0xFFFFFF);
        }
    }
    enum Kind { kTexelExact, kScrolled, kStretched, kTurned };
    for (int round = 0; round < 1200; ++round) {
        const Kind kind = static_cast<Kind>(round % 4);
        SCOPED_TRACE(testing::Message() << "round " << round << ", kind " << kind);
        RasterState st;
        st.texels = texels.data();
        st.tex_width = kTexW;
        st.tex_height = kTexH;
        st.linear = kind != kTexelExact || rng() % 2;
        st.color_op = st.alpha_op = kTopModulate;
        st.color_arg1 = st.alpha_arg1 = kTaTexture;
        st.color_arg2 = st.alpha_arg2 = kTaDiffuse;
        st.cull = kCullNone;
        const uint32_t blend = rng() % 3;  // none, alpha, additive
        st.blend = blend != 0;
        st.src_blend = kBlendSrcAlpha;
        st.dest_blend = blend == 2 ? kBlendOne : kBlendInvSrcAlpha;
        const uint32_t color =
            Pick(rng, {0xFFFFFFFFu, static_cast<uint32_t>(0xFF000000u | rng()), static_cast<uint32_t>(rng())});

        const float w = static_cast<float>(1 + rng() % 40);
        const float h = static_cast<float>(1 + rng() % (kind == kTurned ? 30 : 6));
        float left = static_cast<float>(static_cast<int>(rng() % (kW + 8)) - 8) - 0.5f;
        float top = static_cast<float>(static_cast<int>(rng() % (kH + 2)) - 2) - 0.5f;
        // Texels per pixel along the row, and the first column.
        float su = 1.0f, u0 = static_cast<float>(rng() % kTexW);
        if (kind == kScrolled) {
            left += static_cast<float>(1 + rng() % 255) / 256.0f;
            if (rng() % 2) top += static_cast<float>(1 + rng() % 255) / 256.0f;
        } else if (kind == kStretched) {
            su = 0.55f + static_cast<float>(rng() % 250) / 100.0f;
            if (rng() % 4 == 0) su = -su;
            u0 = static_cast<float>(rng() % (kTexW * 100)) / 100.0f;
            if (rng() % 2) top += static_cast<float>(1 + rng() % 255) / 256.0f;
        }
        const float v0 = static_cast<float>(rng() % kTexH);
        // Turned by an angle and scaled each way, its texels reaching past
        // the texture's edges now and then; the others upright.
        float angle = 0.0f, sv = 1.0f;
        if (kind == kTurned) {
            angle = static_cast<float>(rng() % 628) / 100.0f;
            su = 0.3f + static_cast<float>(rng() % 250) / 100.0f;
            sv = 0.3f + static_cast<float>(rng() % 250) / 100.0f;
            u0 = static_cast<float>(static_cast<int>(rng() % (kTexW + 20)) - 10);
        }
        ScreenVertex corner[4];  // top left, top right, bottom right, bottom left
        for (int i = 0; i < 4; ++i) {
            const float dx = (i == 1 || i == 2) ? w : 0.0f, dy = i >= 2 ? h : 0.0f;
            corner[i] = {left + dx * std::cos(angle) - dy * std::sin(angle),
                         top + dx * std::sin(angle) + dy * std::cos(angle), color, (u0 + dx * su) / kTexW,
                         (v0 + dy * sv) / kTexH};
        }
        const ScreenVertex a[3] = {corner[0], corner[1], corner[2]}, b[3] = {corner[2], corner[3], corner[0]};

        const int x0 = static_cast<int>(rng() % 20), x1 = kW - static_cast<int>(rng() % 20);
        std::vector<uint32_t> before(kW * kH);
        for (uint32_t& p : before) p = 0xFF000000u | (rng() & 0xFFFFFF);
        // Columns [x0, x1) drawn in columns `column_w` wide.
        auto draw = [&](bool wide_lanes, int column_w, const RasterState& state) {
            std::vector<uint32_t> out = before;
            wide::SetEnabled(wide_lanes);
            for (int x = x0; x < x1; x += column_w)
                Rasterizer(out.data(), kW, kH, 0, kH, x, std::min(x1, x + column_w)).Pair(a, b, state);
            return out;
        };
        const std::vector<uint32_t> wide_drawn = draw(true, kW, st);
        ASSERT_TRUE(SamePixels(draw(false, 1, st), wide_drawn, kW));
        if ((color >> 24) == 0xFF) {
            // With an opaque colour, the texture's alpha selected gives what
            // it gives modulated, through the general texture stage's
            // per-pixel loop: the same arithmetic on no shared path.
            RasterState general = st;
            general.alpha_op = kTopSelectArg1;
            const std::vector<uint32_t> want = draw(false, kW, general);
            ASSERT_TRUE(SamePixels(want, wide_drawn, kW));
            ASSERT_TRUE(SamePixels(want, draw(false, kW, st), kW));
        }
    }
}

// Room for `count` pixels that ends where an unreadable page begins.
class GuardedPixels {
public:
    explicit GuardedPixels(size_t count) : _page(static_cast<size_t>(sysconf(_SC_PAGESIZE))) {
        _size = ((count * 4 + _page - 1) / _page + 1) * _page;
        _base = mmap(nullptr, _size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (_base == MAP_FAILED) return;
        mprotect(static_cast<char*>(_base) + _size - _page, _page, PROT_NONE);
        _pixels = reinterpret_cast<uint32_t*>(static_cast<char*>(_base) + _size - _page) - count;
    }
    ~GuardedPixels() {
        if (_base != MAP_FAILED) munmap(_base, _size);
    }
    GuardedPixels(const GuardedPixels&) = delete;
    GuardedPixels& operator=(const GuardedPixels&) = delete;
    uint32_t* get() const { return _pixels; }

private:
    size_t _page, _size = 0;
    void* _base = MAP_FAILED;
    uint32_t* _pixels = nullptr;
};

// Spans that end on the texture's last texel and the target's last pixel, at
// the end of their memory: the wide loops' last few pixels read nothing after.
TEST(RenderDeviceTiles, WideLanesReadNothingPastTheirRows) {
    struct Restore {
        bool was = wide::Enabled();
        ~Restore() { wide::SetEnabled(was); }
    } restore;
    constexpr int kW = 24, kH = 6, kTexW = 16, kTexH = 8;
    GuardedPixels texture(kTexW * kTexH), target(kW * kH);
    ASSERT_NE(texture.get(), nullptr);
    ASSERT_NE(target.get(), nullptr);
    std::mt19937 rng(5);
    for (int i = 0; i < kTexW * kTexH; ++i) texture.get()[i] = rng();
    RasterState st;
    st.texels = texture.get();
    st.tex_width = kTexW;
    st.tex_height = kTexH;
    st.color_op = st.alpha_op = kTopModulate;
    st.color_arg1 = st.alpha_arg1 = kTaTexture;
    st.color_arg2 = st.alpha_arg2 = kTaDiffuse;
    st.blend = true;
    st.src_blend = kBlendSrcAlpha;
    st.dest_blend = kBlendInvSrcAlpha;
    st.cull = kCullNone;
    // The last pixel of the last row on the texture's last texel (texel for
    // texel), or between the last two columns and rows (moved by a fraction
    // of a texel, or stretched to two thirds or half as many pixels), or a
    // few quarter texels left of there; the first pixel inside.
    const struct {
        float s_last, t_last, texels_per_pixel;
    } kinds[] = {{kTexW - 1.0f, kTexH - 1.0f, 1.0f},
                 {kTexW - 1.5f, kTexH - 1.5f, 1.0f},
                 {kTexW - 1.5f, kTexH - 1.5f, 1.5f},
                 {kTexW - 1.5f, kTexH - 1.5f, 2.0f}};
    for (const auto& kind : kinds)
        for (float back = 0.0f; back < 2.0f; back += 0.25f) {
            const float s_last = kind.s_last - back;
            for (int w = 1; s_last - (w - 1) * kind.texels_per_pixel >= 0; ++w) {
                SCOPED_TRACE(testing::Message() << "width " << w << ", last texel " << s_last << ", stretch "
                                                << kind.texels_per_pixel);
                auto corner = [&](float x, float y) {
                    const float s = s_last + (x - (kW - 1)) * kind.texels_per_pixel, t = kind.t_last + (y - (kH - 1));
                    return ScreenVertex {x, y, 0xFFFFFFFFu, (s + 0.5f) / kTexW, (t + 0.5f) / kTexH};
                };
                const float left = kW - w - 0.5f, top = kH - 2.5f, right = kW - 0.5f, bottom = kH - 0.5f;
                const ScreenVertex a[3] = {corner(left, top), corner(right, top), corner(right, bottom)};
                const ScreenVertex b[3] = {a[2], corner(left, bottom), a[0]};
                std::vector<uint32_t> narrow(kW * kH, 0xFF336699u);
                wide::SetEnabled(false);
                for (int x = 0; x < kW; ++x) Rasterizer(narrow.data(), kW, kH, 0, kH, x, x + 1).Pair(a, b, st);
                wide::SetEnabled(true);
                std::fill(target.get(), target.get() + kW * kH, 0xFF336699u);
                Rasterizer(target.get(), kW, kH).Pair(a, b, st);
                ASSERT_TRUE(SamePixels(narrow, std::vector<uint32_t>(target.get(), target.get() + kW * kH), kW));
            }
        }
}

// Frames drawn again as they were, or changed a little, on a device that keeps
// unchanged tiles match the same frames drawn triangle by triangle.
TEST(RenderDeviceTiles, KeptTilesMatchFramesDrawnWhole) {
    auto kept = Offscreen(4), whole = Reference();
    std::mt19937 rng_kept(21), rng_whole(21);
    std::vector<std::unique_ptr<Texture>> tex_kept = Textures(*kept, rng_kept), tex_whole = Textures(*whole, rng_whole);
    const GammaRamp lift = SteepRamp(&GammaRamp::red);
    const uint32_t seeds[] = {1, 1, 2, 2, 2, 1, 3, 3};
    for (size_t frame = 0; frame < std::size(seeds); ++frame) {
        SCOPED_TRACE(frame);
        std::mt19937 a(seeds[frame]), b(seeds[frame]);
        RandomFrame(*kept, a, tex_kept);
        RandomFrame(*whole, b, tex_whole);
        ASSERT_TRUE(SamePixels(Back(*whole), Back(*kept), 800));
        // A new ramp shows on tiles that are kept, too.
        ASSERT_TRUE(PresentBoth(*whole, *kept, frame == 4 ? &lift : nullptr, 800));
    }
}

// A menu's frame: a clear, a background, a board of sprites. Drawn again as
// it was, no tile is rasterised; a sprite that moves redraws only the tiles
// under its old and new place; a texture rewritten between frames, or dropped
// and replaced, redraws the tiles it was drawn into; without a clear first
// the tiles draw again (the drawing blends over what they hold).
TEST(RenderDeviceTiles, OnlyChangedTilesAreDrawn) {
    for (unsigned threads : {1u, 4u}) {
        SCOPED_TRACE(threads);
        auto dev = Offscreen(threads);
        std::mt19937 rng(5);
        std::unique_ptr<Texture> bg, sprite;
        ASSERT_EQ(dev->CreateTexture(64, 64, 1, Format::A8R8G8B8, &bg), kOk);
        ASSERT_EQ(dev->CreateTexture(32, 32, 1, Format::A8R8G8B8, &sprite), kOk);
        Fill(*bg, rng);
        Fill(*sprite, rng);
        dev->SetRenderState(RenderState::AlphaBlendEnable, 1);
        dev->SetRenderState(RenderState::SrcBlend, kBlendSrcAlpha);
        dev->SetRenderState(RenderState::DestBlend, kBlendInvSrcAlpha);
        auto quad = [&](Texture* t, float x, float y, float w, float h) {
            x -= 0.5f;
            y -= 0.5f;
            Vertex v[6] = {{x, y, 0, 0xFFFFFFFF, 0, 0},         {x + w, y, 0, 0xFFFFFFFF, 1, 0},
                           {x, y + h, 0, 0xFFFFFFFF, 0, 1},     {x + w, y + h, 0, 0xFFFFFFFF, 1, 1},
                           {x, y + h, 0, 0xFFFFFFFF, 0, 1},     {x + w, y, 0, 0xFFFFFFFF, 1, 0}};
            dev->SetTexture(0, t);
            ASSERT_EQ(dev->DrawTriangleListUP(2, v, sizeof(Vertex)), kOk);
        };
        auto frame = [&](float sprite_x, bool clear) {
            dev->BeginScene();
            if (clear) dev->Clear(0);
            quad(bg.get(), 0, 0, 800, 600);
            for (int i = 0; i < 10; ++i) quad(sprite.get(), 40.0f + 64 * i, 200, 32, 32);
            quad(sprite.get(), sprite_x, 400, 32, 32);
            dev->EndScene();
            EXPECT_EQ(dev->Present(), kOk);
            return dev->LastTilesDrawn();
        };
        constexpr unsigned all = ((800 + RasterQueue::kTileWidth - 1) / RasterQueue::kTileWidth) *
                                 ((600 + RasterQueue::kTileHeight - 1) / RasterQueue::kTileHeight);
        EXPECT_EQ(frame(100, true), all);
        EXPECT_EQ(frame(100, true), 0u);
        // 32 pixels from x 100 to 140: at most two tiles' columns each, and
        // the rows 400..431 (with their margin) in two tiles' rows.
        const unsigned moved = frame(140, true);
        EXPECT_GE(moved, 2u);
        EXPECT_LE(moved, 8u);
        EXPECT_EQ(frame(140, true), 0u);
        Fill(*sprite, rng);
        const unsigned rewritten = frame(140, true);
        EXPECT_GE(rewritten, 11u);
        EXPECT_LE(rewritten, 60u);
        std::vector<uint32_t> before;
        dev->ReadBackBuffer(&before, nullptr, nullptr);
        EXPECT_EQ(frame(140, false), all);  // no clear: drawn over what is there
        std::vector<uint32_t> after;
        dev->ReadBackBuffer(&after, nullptr, nullptr);
        EXPECT_NE(before, after);  // the soft texels blend again
        EXPECT_EQ(frame(140, true), all);
        sprite.reset();  // dropped, and one of its size made (it may take its place)
        ASSERT_EQ(dev->CreateTexture(32, 32, 1, Format::A8R8G8B8, &sprite), kOk);
        Fill(*sprite, rng);
        const unsigned replaced = frame(140, true);
        EXPECT_GE(replaced, 11u);
        EXPECT_LE(replaced, 60u);
    }
}

}  // namespace

// A quad that hides whole tiles (opaque texels and colour, or blending off)
// keeps those tiles while the layer below it moves, and they show what
// drawing the frame whole shows. A panel that lets anything through (one soft
// texel within a texel of a tile, a translucent colour) hides nothing there.
// Textures sampled as the game's sprites are: filtered, clamped.
void FilteredAndClamped(RenderDevice& dev) {
    dev.SetTextureStageState(0, TextureStageState::AddressU, kAddressClamp);
    dev.SetTextureStageState(0, TextureStageState::AddressV, kAddressClamp);
    dev.SetTextureStageState(0, TextureStageState::MinFilter, kFilterLinear);
    dev.SetTextureStageState(0, TextureStageState::MagFilter, kFilterLinear);
}

// Writes `texel(x, y)` into columns [0, columns) of every row of `t`.
template <class Texel>
void WriteTexels(Texture& t, uint32_t columns, Texel texel) {
    void* bits = nullptr;
    uint32_t pitch = 0;
    ASSERT_EQ(t.LockRect(0, &bits, &pitch), kOk);
    for (uint32_t y = 0; y < t.Height(); ++y)
        for (uint32_t x = 0; x < columns; ++x) {
            const uint32_t p = texel(x, y);
            std::memcpy(static_cast<uint8_t*>(bits) + y * pitch + 4 * x, &p, 4);
        }
    ASSERT_EQ(t.UnlockRect(0), kOk);
}

// Frames of a scene whose layer moves by fractions of a pixel: after the
// first, which draws every tile, `kept` tiles are kept, and the pixels are
// those of the scene drawn triangle by triangle.
template <class Scene, class Make, class Frame>
void ExpectKeptWhileTheLayerMoves(Make make, Frame frame, unsigned kept) {
    constexpr unsigned all = ((800 + RasterQueue::kTileWidth - 1) / RasterQueue::kTileWidth) *
                             ((600 + RasterQueue::kTileHeight - 1) / RasterQueue::kTileHeight);
    Scene moving;
    make(moving);
    EXPECT_EQ(frame(moving, 0.0f), all);
    for (const float x : {0.25f, 0.5f, 3.75f}) {
        SCOPED_TRACE(x);
        EXPECT_EQ(frame(moving, x), all - kept);
        Scene whole;
        whole.dev = Reference();
        make(whole);
        frame(whole, x);
        ASSERT_TRUE(SamePixels(Back(*whole.dev), Back(*moving.dev), 800));
    }
}

// A layer moving over tiles where its texels are all clear leaves them as they
// were: drawn so, those tiles are kept (the sky between clouds); drawn so that
// clear texels show, they are drawn again. Either way the pixels are those of
// the layer drawn triangle by triangle.
TEST(RenderDeviceTiles, ALayerMovingWhereItIsClearKeepsTheTiles) {
    struct Case {
        const char* what;
        uint32_t src_blend, dest_blend;  // 0: blending off
        uint32_t alpha_op;               // of the texture and the colour (or the colour alone)
        bool soft_texel;                 // one texel at (10, 40) not quite clear
        unsigned kept;
    };
    // The layer stretches 64 texels over the 800 pixels, clear in its left
    // half: tile columns 0 and 1 (19 rows) sample only clear texels; the soft
    // texel is sampled in columns 0 and 1 of tile rows 11 and 12.
    const Case cases[] = {{"alpha-blended", kBlendSrcAlpha, kBlendInvSrcAlpha, kTopModulate, false, 38},
                          {"added", kBlendSrcAlpha, kBlendOne, kTopModulate, false, 38},
                          {"one texel not quite clear", kBlendSrcAlpha, kBlendInvSrcAlpha, kTopModulate, true, 34},
                          {"blending off", 0, 0, kTopModulate, false, 0},
                          {"alpha of the colour alone", kBlendSrcAlpha, kBlendInvSrcAlpha, kTopSelectArg2, false, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        struct Scene {
            std::unique_ptr<RenderDevice> dev = Offscreen(1);
            std::unique_ptr<Texture> layer;
        };
        auto make = [&](Scene& sc) {
            ASSERT_EQ(sc.dev->CreateTexture(64, 64, 1, Format::A8R8G8B8, &sc.layer), kOk);
            std::mt19937 rng(3);
            Fill(*sc.layer, rng);
            WriteTexels(*sc.layer, 32, [&](uint32_t x, uint32_t y) {
                return ((c.soft_texel && x == 10 && y == 40) ? 0x01000000u : 0u) | 0x00FF8040u;
            });
        };
        auto frame = [&](Scene& sc, float layer_x) {
            RenderDevice& dev = *sc.dev;
            const float x = layer_x - 0.5f, y = -0.5f, w = 800, h = 600;
            const uint32_t colour = 0xC0FFFFFF;
            Vertex v[6] = {{x, y, 0, colour, 0, 0},     {x + w, y, 0, colour, 1, 0}, {x, y + h, 0, colour, 0, 1},
                           {x + w, y + h, 0, colour, 1, 1}, {x, y + h, 0, colour, 0, 1}, {x + w, y, 0, colour, 1, 0}};
            dev.SetTextureStageState(0, TextureStageState::AlphaOp, c.alpha_op);
            dev.SetTextureStageState(0, TextureStageState::AlphaArg1, kTaTexture);
            dev.SetTextureStageState(0, TextureStageState::AlphaArg2, kTaDiffuse);
            FilteredAndClamped(dev);
            dev.BeginScene();
            dev.Clear(0xFF102030);
            dev.SetRenderState(RenderState::AlphaBlendEnable, c.src_blend != 0);
            dev.SetRenderState(RenderState::SrcBlend, c.src_blend);
            dev.SetRenderState(RenderState::DestBlend, c.dest_blend);
            dev.SetTexture(0, sc.layer.get());
            EXPECT_EQ(dev.DrawTriangleListUP(2, v, sizeof(Vertex)), kOk);
            dev.EndScene();
            EXPECT_EQ(dev.Present(), kOk);
            return dev.LastTilesDrawn();
        };
        ExpectKeptWhileTheLayerMoves<Scene>(make, frame, c.kept);
    }
}

// A layer whose clear half ends near a tile's edge, moved there a quarter of a
// pixel at a time: whichever side is clear, along the rows or the columns, one
// pixel to a texel or magnified, a tile it is left out of is one where it
// samples only clear texels, so the pixels are those of the layer drawn
// triangle by triangle. Tiles well inside the clear half are kept.
TEST(RenderDeviceTiles, ALayerIsLeftOutOnlyWhereItIsClear) {
    struct Case {
        bool along_rows;   // the clear half left or right of the edge; else above or below it
        bool clear_first;  // the clear half comes first (left or above)
        float pixels_per_texel;
    };
    const Case cases[] = {{true, true, 1.0f},   {true, false, 1.0f},  {false, true, 1.0f},  {false, false, 1.0f},
                          {true, true, 2.5f},   {true, false, 2.5f},  {false, true, 2.5f},  {false, false, 2.5f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.along_rows ? "along the rows, " : "along the columns, ")
                                        << (c.clear_first ? "clear half first, " : "clear half last, ")
                                        << c.pixels_per_texel << " pixels a texel");
        // Along its axis the layer is 600 pixels (rows) or 400 (columns) long,
        // its halves meeting near the edge at x 384 or y 320; across, 300
        // pixels over 16 texels.
        const float length = c.along_rows ? 600.0f : 400.0f, edge = c.along_rows ? 384.0f : 320.0f;
        const uint32_t texels = static_cast<uint32_t>(length / c.pixels_per_texel);
        auto ref = Reference(), tiled = Offscreen(1);
        std::unique_ptr<Texture> layer_ref, layer_tiled;
        const uint32_t tex_w = c.along_rows ? texels : 16, tex_h = c.along_rows ? 16 : texels;
        ASSERT_EQ(ref->CreateTexture(tex_w, tex_h, 1, Format::A8R8G8B8, &layer_ref), kOk);
        ASSERT_EQ(tiled->CreateTexture(tex_w, tex_h, 1, Format::A8R8G8B8, &layer_tiled), kOk);
        for (Texture* layer : {layer_ref.get(), layer_tiled.get()}) {
            std::mt19937 rng(9);
            WriteTexels(*layer, tex_w, [&](uint32_t x, uint32_t y) {
                const bool first_half = (c.along_rows ? x : y) < texels / 2;
                return (first_half == c.clear_first ? 0u : 0xFF000000u) | (rng() & 0xFFFFFF);
            });
        }
        auto frame = [&](RenderDevice& dev, Texture* layer, float meet) {
            const float along = meet - length / 2, across = 100.0f;
            const float x = (c.along_rows ? along : across) - 0.5f, y = (c.along_rows ? across : along) - 0.5f;
            const float w = c.along_rows ? length : 300.0f, h = c.along_rows ? 300.0f : length;
            Vertex v[6] = {{x, y, 0, 0xFFFFFFFF, 0, 0},         {x + w, y, 0, 0xFFFFFFFF, 1, 0},
                           {x, y + h, 0, 0xFFFFFFFF, 0, 1},     {x + w, y + h, 0, 0xFFFFFFFF, 1, 1},
                           {x, y + h, 0, 0xFFFFFFFF, 0, 1},     {x + w, y, 0, 0xFFFFFFFF, 1, 0}};
            FilteredAndClamped(dev);
            dev.SetTextureStageState(0, TextureStageState::AlphaOp, kTopModulate);
            dev.SetTextureStageState(0, TextureStageState::AlphaArg2, kTaDiffuse);
            dev.SetRenderState(RenderState::AlphaBlendEnable, 1);
            dev.SetRenderState(RenderState::SrcBlend, kBlendSrcAlpha);
            dev.SetRenderState(RenderState::DestBlend, kBlendInvSrcAlpha);
            dev.BeginScene();
            dev.Clear(0xFF102030);
            dev.SetTexture(0, layer);
            EXPECT_EQ(dev.DrawTriangleListUP(2, v, sizeof(Vertex)), kOk);
            dev.EndScene();
            // The tiles under the layer.
            const int tw = RasterQueue::kTileWidth, th = RasterQueue::kTileHeight;
            return static_cast<unsigned>((static_cast<int>(x + w) / tw - static_cast<int>(x) / tw + 1) *
                                         (static_cast<int>(y + h) / th - static_cast<int>(y) / th + 1));
        };
        // Moving, the layer draws again every tile it is not left out of.
        bool left_out = false;
        const int reach = static_cast<int>(4 * (2 * c.pixels_per_texel + 1));
        for (int quarter = -reach; quarter <= reach; ++quarter) {
            SCOPED_TRACE(quarter);
            const float meet = edge + 0.25f * static_cast<float>(quarter);
            frame(*ref, layer_ref.get(), meet);
            const unsigned under_layer = frame(*tiled, layer_tiled.get(), meet);
            ASSERT_TRUE(SamePixels(Back(*ref), Back(*tiled), 800));
            if (quarter > -reach && tiled->LastTilesDrawn() < under_layer) left_out = true;
        }
        EXPECT_TRUE(left_out);
    }
}

TEST(RenderDeviceTiles, APanelThatHidesTilesKeepsThemWhileTheLayerBelowMoves) {
    struct Case {
        const char* what;
        uint32_t soft_texel_alpha;  // at the panel's middle; 0xFF: none
        uint32_t colour;
        bool blend;
        unsigned hidden;  // tiles kept while the layer below moves
    };
    // The panel covers tile columns 1-2 and rows 2-9 whole: 16 tiles; its
    // texel (31, 20) lies in tile column 1 and rows 3 and 4 (the texel beside
    // a tile's edge is sampled too).
    const Case cases[] = {{"opaque", 0xFF, 0xFFFFFFFF, true, 16},
                          {"one soft texel", 0xFE, 0xFFFFFFFF, true, 14},
                          {"translucent colour", 0xFF, 0xFEFFFFFF, true, 0},
                          {"soft texel, blending off", 0x80, 0xFFFFFFFF, false, 16}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        struct Scene {
            std::unique_ptr<RenderDevice> dev = Offscreen(1);
            std::unique_ptr<Texture> layer, panel;
        };
        auto make = [&](Scene& sc) {
            ASSERT_EQ(sc.dev->CreateTexture(64, 64, 1, Format::A8R8G8B8, &sc.layer), kOk);
            ASSERT_EQ(sc.dev->CreateTexture(64, 64, 1, Format::A8R8G8B8, &sc.panel), kOk);
            std::mt19937 rng(3);
            Fill(*sc.layer, rng);
            WriteTexels(*sc.panel, 64, [&](uint32_t x, uint32_t y) {
                const uint32_t alpha = (x == 31 && y == 20) ? c.soft_texel_alpha : 0xFF;
                return alpha << 24 | (x * 4) << 16 | (y * 4) << 8;
            });
        };
        auto frame = [&](Scene& sc, float layer_x) {
            RenderDevice& dev = *sc.dev;
            auto quad = [&](Texture* t, float x, float y, float w, float h, uint32_t colour) {
                x -= 0.5f;
                y -= 0.5f;
                Vertex v[6] = {{x, y, 0, colour, 0, 0},         {x + w, y, 0, colour, 1, 0},
                               {x, y + h, 0, colour, 0, 1},     {x + w, y + h, 0, colour, 1, 1},
                               {x, y + h, 0, colour, 0, 1},     {x + w, y, 0, colour, 1, 0}};
                dev.SetTexture(0, t);
                ASSERT_EQ(dev.DrawTriangleListUP(2, v, sizeof(Vertex)), kOk);
            };
            dev.SetTextureStageState(0, TextureStageState::AlphaOp, kTopModulate);
            dev.SetTextureStageState(0, TextureStageState::AlphaArg2, kTaDiffuse);
            FilteredAndClamped(dev);
            dev.BeginScene();
            dev.Clear(0xFF102030);
            dev.SetRenderState(RenderState::AlphaBlendEnable, 1);
            dev.SetRenderState(RenderState::SrcBlend, kBlendSrcAlpha);
            dev.SetRenderState(RenderState::DestBlend, kBlendInvSrcAlpha);
            quad(sc.layer.get(), layer_x, 0, 800, 600, 0xFFFFFFFF);
            dev.SetRenderState(RenderState::AlphaBlendEnable, c.blend ? 1 : 0);
            quad(sc.panel.get(), 128, 64, 256, 256, c.colour);
            dev.EndScene();
            EXPECT_EQ(dev.Present(), kOk);
            return dev.LastTilesDrawn();
        };
        ExpectKeptWhileTheLayerMoves<Scene>(make, frame, c.hidden);
    }
}
