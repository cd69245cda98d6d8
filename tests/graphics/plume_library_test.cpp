// The effect library: curves, the file written by our writer and read back,
// the slot orders of the file layout, and damaged files.
#include <cstring>
#include <stdexcept>

#include "graphics/particle_color_param.h"
#include "graphics/particle_param.h"
#include "plume_test_support.h"

using namespace plume_test;
using Plume::CParticleEmitter;
using Plume::CParticleType;

namespace {

TEST(PlumeCurves, ScalarCurveInterpolatesAndHoldsBothEnds) {
    const Plume::CParticleParam c({{0, 1}, {10, 3}});
    const struct {
        float t, expected;
    } cases[] = {{5, 2}, {-1, 1}, {0, 1}, {20, 3}, {10, 3}, {2.5f, 1.5f}};
    for (const auto& k : cases) EXPECT_FLOAT_EQ(c.GetValue(k.t), k.expected) << "t=" << k.t;
    const Plume::CParticleParam one({{4, 7}});
    EXPECT_FLOAT_EQ(one.GetValue(-100), 7);
    EXPECT_FLOAT_EQ(one.GetValue(100), 7);
    const Plume::CParticleParam three({{0, 0}, {1, 10}, {3, 0}});
    EXPECT_FLOAT_EQ(three.GetValue(2), 5);
}

TEST(PlumeCurves, ColourCurveRepeatsOverItsSpan) {
    const std::vector<Plume::ColorKey> keys = {{0, {0, 0, 0, 0}}, {10, {1, 0.5f, 0.2f, 1}}};
    const Plume::CParticleColorParam plain(keys, 0, 0), twice(keys, 2, 0);
    float a[4], b[4];
    plain.GetValue(5, a);
    twice.GetValue(7.5f, b);
    for (int i = 0; i < 4; ++i) EXPECT_FLOAT_EQ(a[i], b[i]) << i;
    EXPECT_FLOAT_EQ(a[0], 0.5f);
    plain.GetValue(12, a);  // held at the last key without repeat
    EXPECT_FLOAT_EQ(a[1], 0.5f);
    twice.GetValue(-1, b);  // before the first key: the first key
    EXPECT_FLOAT_EQ(b[3], 0.0f);
}

// A library file built byte by byte, as the layout describes it.
class Bytes {
public:
    Bytes& U32(uint32_t v) {
        for (int i = 0; i < 4; ++i) data.push_back(static_cast<uint8_t>(v >> (8 * i)));
        return *this;
    }
    Bytes& F32(float f) {
        uint32_t v;
        std::memcpy(&v, &f, 4);
        return U32(v);
    }
    Bytes& Str(const std::string& s) {
        data.push_back(static_cast<uint8_t>(s.size()));
        data.insert(data.end(), s.begin(), s.end());
        return *this;
    }
    Bytes& Curve(float value) { return U32(1).F32(0).F32(value); }
    std::vector<uint8_t> data;
};

// One texture (id 7, 2x1, 32-bit), one emitter whose curves hold their file
// position as value, one particle type using the texture.
Bytes HandBuiltLibrary(const std::string& name = "probe", uint32_t texture_id = 7) {
    Bytes b;
    b.U32(0).U32(0).U32(1);
    b.Str("tex").U32(7).U32(2).U32(1).U32(32);
    for (uint8_t px : {10, 20, 30, 40, 50, 60, 70, 80}) b.data.push_back(px);
    b.U32(1);
    for (int i = 0; i < 15; ++i) b.Curve(static_cast<float>(i));
    b.F32(3).F32(-4);
    b.U32(1);
    b.U32(1).U32(texture_id).Str("type");
    for (uint32_t i = 1; i <= 6; ++i) b.U32(i);
    b.U32(2).F32(0).F32(1).F32(0).F32(0).F32(1).F32(1).F32(0).F32(1).F32(0).F32(0.5f).U32(3).U32(9);
    for (int i = 0; i < 24; ++i) b.Curve(100.0f + static_cast<float>(i));
    b.F32(0.25f).U32(1);
    b.Str(name);
    b.F32(0.1f).F32(0.2f).F32(0.3f).F32(0.4f);
    for (uint32_t i = 11; i <= 15; ++i) b.U32(i);
    return b;
}

TEST(PlumeLibraryLayout, CurvesFillTheirSlotsInFileOrder) {
    const Bytes b = HandBuiltLibrary();
    Plume::CLibrary lib;
    std::string error;
    ASSERT_TRUE(lib.Read(b.data.data(), b.data.size(), &error)) << error;
    ASSERT_EQ(lib.EmitterCount(), 1u);
    const CParticleEmitter& e = lib.Emitter(0);
    const int emitter_slots[15] = {0, 8, 1, 3, 4, 2, 9, 11, 12, 5, 6, 13, 14, 7, 10};
    for (int pos = 0; pos < 15; ++pos)
        EXPECT_FLOAT_EQ(e.curves[emitter_slots[pos]].GetValue(0), static_cast<float>(pos)) << "file curve " << pos;
    EXPECT_FLOAT_EQ(e.force[0], 3);
    EXPECT_FLOAT_EQ(e.force[1], -4);
    EXPECT_EQ(e.Name(), "probe");
    EXPECT_FLOAT_EQ(e.color[2], 0.3f);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(e.ints[i], 11 + i);

    ASSERT_EQ(e.types.size(), 1u);
    const CParticleType& t = e.types[0];
    const int type_slots[24] = {0, 5, 3, 4, 1, 2, 7, 9, 10, 11, 14, 12, 16, 19, 17, 16, 18, 6, 21, 15, 8, 13, 20, 22};
    for (int pos = 0; pos < 24; ++pos) {
        if (pos == 12) continue;  // slot 16 comes again at position 15, which wins
        EXPECT_FLOAT_EQ(t.curves[type_slots[pos]].GetValue(0), 100.0f + pos) << "file curve " << pos;
    }
    EXPECT_FLOAT_EQ(t.curves[16].GetValue(0), 115.0f);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(t.ints[i], i + 1);
    EXPECT_EQ(t.color.Repeat(), 3);
    EXPECT_EQ(t.color.Extra(), 9);
    EXPECT_FLOAT_EQ(t.attach, 0.25f);
    EXPECT_EQ(t.draw_order, 1);
    ASSERT_NE(t.texture, nullptr);
    EXPECT_EQ(t.texture->id, 7u);
    // Stored rows run bottom up and 32-bit pixels are B, G, R, A.
    const std::vector<uint32_t> argb = t.texture->ToArgb();
    EXPECT_EQ(argb[0], 0x281E140Au);
    EXPECT_EQ(argb[1], 0x50463C32u);
}

TEST(PlumeLibraryLayout, DamagedFilesAreRefusedWithAReason) {
    const Bytes good = HandBuiltLibrary();
    // Every shortened copy is refused without reading past its end.
    for (size_t n = 0; n < good.data.size(); ++n) {
        Plume::CLibrary lib;
        std::string error;
        std::vector<uint8_t> cut(good.data.begin(), good.data.begin() + static_cast<long>(n));
        EXPECT_FALSE(lib.Read(cut.data(), cut.size(), &error)) << "length " << n;
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(lib.EmitterCount(), 0u);
    }

    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        const char* reason;
    };
    std::vector<Case> cases;
    cases.push_back({"long name", HandBuiltLibrary(std::string(128, 'n')).data, "name length above 127"});
    cases.push_back({"unknown texture", HandBuiltLibrary("probe", 99).data, "texture id 99"});
    Bytes no_keys;
    no_keys.U32(0).U32(0).U32(0).U32(1).U32(0);
    cases.push_back({"curve without keys", no_keys.data, "without keys"});
    Bytes bad_bits;
    bad_bits.U32(0).U32(0).U32(1).Str("t").U32(1).U32(1).U32(1).U32(12).U32(0);
    cases.push_back({"bits per pixel", bad_bits.data, "bits per pixel"});
    Bytes huge_keys;
    huge_keys.U32(0).U32(0).U32(0).U32(1).U32(0x40000000);
    cases.push_back({"huge key count", huge_keys.data, "past the end"});
    for (const Case& c : cases) {
        Plume::CLibrary lib;
        std::string error;
        EXPECT_FALSE(lib.Read(c.bytes.data(), c.bytes.size(), &error)) << c.what;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
    }

    Plume::CLibrary lib;
    std::string error;
    const Bytes ok127 = HandBuiltLibrary(std::string(127, 'n'));
    EXPECT_TRUE(lib.Read(ok127.data.data(), ok127.data.size(), &error)) << error;
}

const char* const kWriterLibrary = R"(
texture 3 Textures/Plume/dot.png
texture 5 Textures/Plume/star.png
emitter twin            # the first of two emitters with one name
    force 1 0
    speed 0 2 50 4
    spread 0 90d
    shape circle
    spacing even
    points 6
    reverse 1
    both 1
    color 0.5 0.25 1 0.75
    type sparks
        texture 5
        blend additive
        angle_mode fixed
        angle 45
        flip_v 1
        burst 1
        colors repeat 2 0 1 0 0 1 1 0 0 1 0
        life 0 30
        speed 0 7 10 9
        size_life 0 1 1 0.25
        visibility_life 0 0.5
        gravity_var 0 0.125
        attach 0.5
        newest_first 1
    end
    type plain
        texture none
    end
end
emitter twin
    force 2 0
end
emitter other
end
)";

TEST_F(PlumeTest, WriterOutputReadsBack) {
    const fs::path path = WriteLibrary(kWriterLibrary);
    std::string error;
    ASSERT_TRUE(ReadIntoProgramLibrary(path, &error)) << error;
    const Plume::CLibrary& lib = *Plume::CLibrary::Instance();
    EXPECT_EQ(lib.TextureCount(), 2u);
    EXPECT_EQ(lib.EmitterCount(), 3u);
    ASSERT_NE(lib.FindTexture(5), nullptr);
    EXPECT_EQ(lib.FindTexture(5)->width, 64u);

    const CParticleEmitter* twin = lib.Find("twin");
    ASSERT_NE(twin, nullptr);
    EXPECT_FLOAT_EQ(twin->force[0], 1) << "the first emitter of a name is used";
    EXPECT_FLOAT_EQ(twin->curves[CParticleEmitter::kSpeed].GetValue(25), 3);
    EXPECT_NEAR(twin->curves[CParticleEmitter::kSpread].GetValue(0), 1.5707963f, 1e-6);
    EXPECT_FLOAT_EQ(twin->curves[CParticleEmitter::kLife].GetValue(0), 1) << "unset multipliers are 1";
    EXPECT_FLOAT_EQ(twin->curves[CParticleEmitter::kColorWeight].GetValue(0), 0);
    EXPECT_EQ(twin->ints[CParticleEmitter::kShape], 2);
    EXPECT_EQ(twin->ints[CParticleEmitter::kEvenSpacing], 1);
    EXPECT_EQ(twin->PointCount(), 12) << "6 points each way";
    EXPECT_FLOAT_EQ(twin->color[3], 0.75f);

    ASSERT_EQ(twin->types.size(), 2u);
    const CParticleType& s = twin->types[0];
    EXPECT_EQ(s.texture.get(), lib.FindTexture(5));
    EXPECT_TRUE(s.IsAdditive());
    EXPECT_FALSE(s.NewestFirst()) << "additive types draw oldest first";
    EXPECT_EQ(s.ints[CParticleType::kAngleMode], 2);
    EXPECT_EQ(s.ints[CParticleType::kTypeAngle], 45);
    EXPECT_EQ(s.ints[CParticleType::kFlipV], 1);
    EXPECT_EQ(s.ints[CParticleType::kBurst], 1);
    EXPECT_EQ(s.color.Repeat(), 2);
    EXPECT_FLOAT_EQ(s.curves[CParticleType::kLife].GetValue(0), 30);
    EXPECT_FLOAT_EQ(s.curves[CParticleType::kSpeed].GetValue(5), 8);
    EXPECT_FLOAT_EQ(s.curves[CParticleType::kSizeLife].GetValue(0.5f), 0.625f);
    EXPECT_FLOAT_EQ(s.curves[CParticleType::kVisibilityLife].GetValue(0), 0.5f);
    EXPECT_FLOAT_EQ(s.curves[CParticleType::kGravityVar].GetValue(0), 0.125f);
    EXPECT_FLOAT_EQ(s.curves[CParticleType::kSize].GetValue(0), 0.5f) << "default size";
    EXPECT_FLOAT_EQ(s.attach, 0.5f);
    EXPECT_EQ(twin->types[1].texture, nullptr);
    EXPECT_EQ(lib.Find("other")->types.size(), 0u);
}

TEST_F(PlumeTest, UnknownEmitterNamesLogAndThrow) {
    ASSERT_TRUE(ReadIntoProgramLibrary(WriteLibrary(kWriterLibrary)));
    CPlume player;
    player.Init();
    try {
        player.StartEmitter("Twin", 0, 0);  // names compare exactly
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Plume: Invalid Emitter.");
    }
    EXPECT_NE(NewLog().find("Plume: Not existing Emitter 'Twin'."), std::string::npos);
    EXPECT_EQ(player.EmitterCount(), 0u);
    EXPECT_EQ(player.StartEmitter("twin", 0, 0), 0u);
    EXPECT_EQ(player.StartEmitter("twin", 0, 0), 1u) << "ids grow and are never reused";
}

TEST_F(PlumeTest, WriterRefusesBadDescriptions) {
    const char* const bad[] = {
        "emitter a\n",                                      // no end
        "emitter a\n  type\n    sped 0 1\n  end\nend\n",    // unknown curve
        "emitter a\n  type\n    texture 4\n  end\nend\n",   // undeclared texture
        "emitter a\n  speed 0 1 0.5\nend\n",                // odd pair
        "emitter a\n  speed 5 1 2 1\nend\n",                // falling times
    };
    for (const char* text : bad) {
        WriteFile(dir_ / "bad.txt", text);
        const std::string cmd = std::string("\"") + VOVARO_BINARY_DIR + "/tools/plumec/plumec\" bad.txt \"" +
                                VOVARO_DATA_DIR + "\" bad.plume > plumec.out 2>&1";
        EXPECT_NE(std::system(cmd.c_str()), 0) << text;
        EXPECT_FALSE(fs::exists(dir_ / "bad.plume")) << text;
    }
}

TEST_F(PlumeTest, ReleasingWithoutALibraryLogsAndThrows) {
    if (Plume::CLibrary::Exists()) CPlume::ReleaseLibrary();
    EXPECT_THROW(CPlume::ReleaseLibrary(), std::runtime_error);
    EXPECT_NE(NewLog().find("part_library != NULL"), std::string::npos);
}

}  // namespace
