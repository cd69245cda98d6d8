// The particle player drawing through the real engine core and render device
// (headless), read back from the frame.
#include <algorithm>

#include "core_test_support.h"
#include "engine/xml_file.h"
#include "plume_test_support.h"

using namespace plume_test;

namespace {

// Colour components outside 0..1 must be clamped before packing: red 2 and
// green -1 come out as full red and no green.
const char* const kLibrary = R"(
texture 1 Textures/Plume/dot.png
emitter add_red
    type blob
        texture 1
        blend additive
        burst 1
        life 0 500
        size 0 0.5
        colors 0 2 -1 0 1
    end
end
emitter alpha_green
    type blob
        texture 1
        blend alpha
        burst 1
        life 0 500
        size 0 0.5
        colors 0 0 1 0 1
        newest_first 1
    end
end
emitter many
    shape circle
    spacing even
    points 600
    reverse 1
    both 1
    shape_size 0 100
    type dots
        burst 1
        life 0 500
        size 0 0.05
        colors 0 1 1 1 1
    end
end
)";

class PlumeDrawTest : public gfx_test::CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        WriteFile(dir_ / "effects.txt", kLibrary);
        const std::string cmd = std::string("\"") + VOVARO_BINARY_DIR + "/tools/plumec/plumec\" effects.txt \"" +
                                VOVARO_DATA_DIR + "\" Effects.plume > plumec.out 2>&1";
        ASSERT_EQ(std::system(cmd.c_str()), 0);
    }
    void TearDown() override {
        if (Plume::CLibrary::Exists()) CPlume::ReleaseLibrary();
        CoreTest::TearDown();
    }
    static uint32_t Red(uint32_t c) { return (c >> 16) & 0xFF; }
    static uint32_t Green(uint32_t c) { return (c >> 8) & 0xFF; }
    static uint32_t Blue(uint32_t c) { return c & 0xFF; }
    ManualClock clock_;
};

TEST_F(PlumeDrawTest, AdditiveAndAlphaBlendedParticlesReachTheFrame) {
    CPlume p(clock_.Get());
    ASSERT_TRUE(p.LoadLibrary("Effects.plume"));
    p.StartEmitter("add_red", 200, 300);
    p.StartEmitter("alpha_green", 600, 300);
    BeginDraw(0xFF202020);
    clock_.Advance(16);
    p.Render();
    const std::vector<uint32_t> px = ReadBack();
    EXPECT_EQ(p.LastQuadCount(), 2u);

    const uint32_t red = At(px, 200, 300);
    EXPECT_EQ(Red(red), 255u) << std::hex << red << ": red 2.0 is clamped, not wrapped";
    EXPECT_EQ(Green(red), 0x20u) << std::hex << red << ": green -1 adds nothing to the grey background";
    const uint32_t green = At(px, 600, 300);
    EXPECT_GT(Green(green), 0xF0u) << std::hex << green;
    EXPECT_LT(Red(green), 0x10u) << std::hex << green << ": alpha blending covers the background";
    // The soft dot fades out towards its rim (64 px across at size 0.5).
    const uint32_t rim = At(px, 600 + 28, 300);
    EXPECT_GT(Green(rim), 0x20u);
    EXPECT_LT(Green(rim), Green(green));
    EXPECT_EQ(At(px, 400, 300), 0xFF202020u) << "between the two nothing is drawn";
    EXPECT_EQ(At(px, 600 + 40, 300), 0xFF202020u) << "outside the quad";
}

TEST_F(PlumeDrawTest, RenderEmitterDrawsOnlyThatEmitter) {
    CPlume p(clock_.Get());
    ASSERT_TRUE(p.LoadLibrary("Effects.plume"));
    const uint32_t left = p.StartEmitter("add_red", 200, 300);
    p.StartEmitter("add_red", 600, 300);
    BeginDraw();
    clock_.Advance(16);
    p.RenderEmitter(left);
    const std::vector<uint32_t> px = ReadBack();
    EXPECT_EQ(Red(At(px, 200, 300)), 255u);
    EXPECT_EQ(At(px, 600, 300), 0xFF000000u);
    EXPECT_EQ(p.LastQuadCount(), 1u);
}

TEST_F(PlumeDrawTest, LargeEmittersDrawInBatchesOfAThousandQuads) {
    CPlume p(clock_.Get());
    ASSERT_TRUE(p.LoadLibrary("Effects.plume"));
    const uint32_t id = p.StartEmitter("many", 400, 300);
    BeginDraw();
    core_->ResetFrameStats();
    clock_.Advance(16);
    p.Render();
    const std::vector<uint32_t> px = ReadBack();
    EXPECT_EQ(p.GetEmitter(id)->ParticleCount(), 1200u);
    EXPECT_EQ(core_->GetQuads(), 1200u);
    EXPECT_EQ(core_->GetDrawCalls(), 2u);
    EXPECT_GT(Red(At(px, 500, 300)), 0x80u) << "a particle on the circle";
    EXPECT_EQ(At(px, 400, 300), 0xFF000000u) << "none in the middle";
}

TEST_F(PlumeDrawTest, RenderStatesAreRestoredAfterDrawing) {
    CPlume p(clock_.Get());
    ASSERT_TRUE(p.LoadLibrary("Effects.plume"));
    p.StartEmitter("add_red", 200, 300);
    BeginDraw();
    clock_.Advance(16);
    p.Render();
    ReadBack();
    EXPECT_EQ(device_->GetTexture(0), nullptr);
    // The engine's own states are set up again: alpha blending as sprites use it.
    EXPECT_EQ(device_->GetRenderState(plat::RenderState::AlphaBlendEnable), 1u);
    EXPECT_EQ(device_->GetRenderState(plat::RenderState::DestBlend), plat::kBlendInvSrcAlpha);
    EXPECT_EQ(device_->GetRenderState(plat::RenderState::ZEnable), 0u);
}

TEST_F(PlumeDrawTest, RunningEmittersOutliveAReloadAndTheRelease) {
    CPlume p(clock_.Get());
    ASSERT_TRUE(p.LoadLibrary("Effects.plume"));
    const uint32_t id = p.StartEmitter("add_red", 200, 300);
    clock_.Advance(16);
    p.Render();
    // A second load replaces the library's textures and emitters; the running
    // copy keeps what it took from the first.
    ASSERT_TRUE(p.LoadLibrary("Effects.plume"));
    BeginDraw();
    clock_.Advance(16);
    p.Render();
    EXPECT_EQ(Red(At(ReadBack(), 200, 300)), 255u);
    CPlume::ReleaseLibrary();
    clock_.Advance(16);
    p.Render();  // nothing left to draw with, but still stepped
    EXPECT_TRUE(p.HasEmitter(id));
    EXPECT_EQ(p.LastQuadCount(), 0u);
}

TEST_F(PlumeDrawTest, LoadLibraryReportsMissingAndDamagedFiles) {
    CPlume p(clock_.Get());
    EXPECT_FALSE(p.LoadLibrary("Textures\\Plume\\None.plume"));
    EXPECT_NE(NewLog().find("cannot open the effect library 'Textures\\Plume\\None.plume'"), std::string::npos);
    std::vector<uint8_t> bytes = ReadFile("Effects.plume");
    bytes.resize(bytes.size() / 2);
    WriteFile("Half.plume", std::string(bytes.begin(), bytes.end()));
    EXPECT_FALSE(p.LoadLibrary("Half.plume"));
    EXPECT_NE(NewLog().find("damaged effect library 'Half.plume': file too short"), std::string::npos);
    EXPECT_EQ(Plume::CLibrary::Instance()->EmitterCount(), 0u);
    // The same player loads a sound library afterwards, by a Windows-style
    // name in any letter case.
    fs::create_directories("Textures/Plume");
    fs::copy_file("Effects.plume", "Textures/Plume/Effects.plume");
    EXPECT_TRUE(p.LoadLibrary("textures\\plume\\effects.PLUME"));
    EXPECT_EQ(Plume::CLibrary::Instance()->EmitterCount(), 3u);
}

// The game's own library: every effect that Explosions.xml plays exists, and
// the one-shot ones end by themselves.
TEST_F(PlumeDrawTest, GameLibraryHoldsEveryDescribedEffect) {
    CPlume p(clock_.Get());
    ASSERT_TRUE(p.LoadLibrary(std::string(VOVARO_DATA_DIR) + "/Textures/Plume/Effects.plume"));
    const auto library = Plume::CLibrary::Instance();
    EXPECT_GE(library->EmitterCount(), 20u);
    CXMLFile xml(std::string(VOVARO_DATA_DIR) + "/Settings/Explosions.xml");
    const CXMLNodeList nodes = xml.SelectNodes("//Explosions/Explosion[@is_plume='1']");
    ASSERT_GT(nodes.GetLength(), 10);
    for (int i = 0; i < nodes.GetLength(); ++i) {
        const std::string alias = nodes.GetItem(i).GetAttribute("alias", "");
        ASSERT_NE(library->Find(alias), nullptr) << alias;
        const uint32_t id = p.StartEmitter(alias, 400, 300);
        size_t most = 0;
        int frames = 0;
        BeginDraw();
        for (; frames < 60 * 6 && p.HasEmitter(id); ++frames) {
            clock_.Advance(16);
            p.Render();
            most = std::max(most, p.GetEmitter(id) ? p.GetEmitter(id)->ParticleCount() : 0);
        }
        ReadBack();
        EXPECT_FALSE(p.HasEmitter(id)) << alias << " still runs after 6 s";
        EXPECT_GT(most, 0u) << alias;
        EXPECT_LT(most, 500u) << alias;
    }
}

}  // namespace

namespace {

// Every effect of the game's library, one-shot or running, shows particles
// within its first 0.2 s: an emitter without particles for that long would be
// dropped before anyone saw it.
TEST_F(PlumeDrawTest, EveryGameEffectShowsParticlesAtOnce) {
    CPlume p(clock_.Get());
    ASSERT_TRUE(p.LoadLibrary(std::string(VOVARO_DATA_DIR) + "/Textures/Plume/Effects.plume"));
    const auto library = Plume::CLibrary::Instance();
    for (size_t i = 0; i < library->EmitterCount(); ++i) {
        const std::string name = library->Emitter(i).Name();
        const uint32_t id = p.StartEmitter(name, 400, 300);
        size_t quads = 0;
        BeginDraw();
        for (int frame = 0; frame < 12 && p.HasEmitter(id); ++frame) {
            clock_.Advance(16);
            p.Render();
            quads += p.LastQuadCount();
        }
        ReadBack();
        EXPECT_GT(quads, 0u) << name;
        EXPECT_TRUE(p.HasEmitter(id)) << name;
        p.StopEmitter(id);
    }
}

}  // namespace
