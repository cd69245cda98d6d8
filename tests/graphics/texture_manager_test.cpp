#include "graphics/texture_manager.h"

#include <gtest/gtest.h>

#include "graphics/texture_dds.h"
#include "graphics_test_support.h"

using namespace data_test;
using namespace gfx_test;

namespace {

class TextureStoreTest : public ScratchTest {
protected:
    void SetUp() override {
        ScratchTest::SetUp();
        device_ = OffscreenDevice();
    }
    void TearDown() override {
        store_.ReleaseAll();
        ScratchTest::TearDown();
    }
    CTexture* Get(const std::string& name) { return store_.GetTexture(device_.get(), name.c_str()); }

    std::unique_ptr<plat::RenderDevice> device_;
    CTextureManager store_;
};

uint32_t Pixel(const CTexture* t, uint32_t x, uint32_t y) {
    return t->GetTexture()->ToArgb()[static_cast<size_t>(y) * t->GetTexture()->Width() + x];
}

}  // namespace

TEST_F(TextureStoreTest, SharedByNormalisedNameAndCounted) {
    WriteBytes("Textures/Common/Square.tga", SolidTga(5, 3, 0xFF336699));
    CTexture* a = Get("Textures\\Common\\Square.tga");
    CTexture* b = Get("textures\\\\common\\square.tga");
    ASSERT_EQ(a, b);
    EXPECT_EQ(a->GetRefCount(), 2);
    EXPECT_EQ(store_.FindName(a), "textures\\common\\square.tga");
    EXPECT_FLOAT_EQ(a->GetWidth(), 5);
    EXPECT_FLOAT_EQ(a->GetHeight(), 3);
    EXPECT_EQ(Pixel(a, 4, 2), 0xFF336699u);
    store_.ReleaseTexture(a);
    EXPECT_EQ(store_.GetCount(), 1u);
    store_.ReleaseTexture(b);
    EXPECT_EQ(store_.GetCount(), 0u);
    // A pointer the store does not hold is ignored.
    CTexture stranger;
    store_.ReleaseTexture(&stranger);
}

TEST_F(TextureStoreTest, FailedLoadsStillGetAnEntry) {
    WriteBytes("Textures/junk.png", "not an image at all");
    CTexture* missing = Get("Textures\\Missing.tga");
    EXPECT_EQ(missing->GetTexture(), nullptr);
    EXPECT_FLOAT_EQ(missing->GetWidth(), 0);
    EXPECT_EQ(Get("textures\\missing.tga"), missing);
    EXPECT_EQ(missing->GetRefCount(), 2);
    CTexture* junk = Get("Textures\\junk.png");
    EXPECT_EQ(junk->GetTexture(), nullptr);
    // A TGA header of 4x4 true-colour pixels with the pixels cut off.
    WriteBytes("Textures/cut.tga", std::string("\0\0\x02\0\0\0\0\0\0\0\0\0\x04\0\x04\0\x20\x08", 18) + "abc");
    EXPECT_EQ(Get("Textures\\cut.tga")->GetTexture(), nullptr);
    const std::string log = NewLog();
    EXPECT_NE(log.find("Error: Loading texture Textures\\cut.tga! Damaged data: truncated TGA pixel data."),
              std::string::npos);
    EXPECT_NE(log.find("'Textures\\Missing.tga'! The file is missing or empty."), std::string::npos);
    EXPECT_NE(log.find("Error: Failed to open texture file 'Textures\\Missing.tga'!"), std::string::npos);
    EXPECT_NE(log.find("Error: Loading texture Textures\\junk.png! Unknown format. Error code: 0x88760B59"),
              std::string::npos);
    store_.ReleaseTexture(missing);
    store_.ReleaseTexture(missing);
    EXPECT_EQ(store_.GetCount(), 2u);
    // A copy of a failed entry is refused.
    EXPECT_EQ(store_.CloneTexture(junk), nullptr);
}

TEST(DdsFormat, TableOfFormatsAndSizes) {
    DDSHeaderInfo h;
    h.masks[0] = 0xF00, h.masks[1] = 0xF0, h.masks[2] = 0xF, h.masks[3] = 0xF000;
    EXPECT_EQ(GetDDSFormat(h), plat::Format::A4R4G4B4);
    // Positions do not matter, only the counts.
    h.masks[0] = 0xFF, h.masks[1] = 0xFF00, h.masks[2] = 0xFF0000, h.masks[3] = 0xFF000000;
    EXPECT_EQ(GetDDSFormat(h), plat::Format::A8R8G8B8);
    h.masks[0] = 0xF800, h.masks[1] = 0x7E0, h.masks[2] = 0x1F, h.masks[3] = 0;
    EXPECT_EQ(GetDDSFormat(h), plat::Format::Unknown);
    h.pf_flags = kDDSPixelFourCC;
    h.fourcc = 0x35545844;  // DXT5
    EXPECT_EQ(GetDDSFormat(h), plat::Format::DXT5);
    h.fourcc = 0x32545844;  // DXT2 is not read
    EXPECT_EQ(GetDDSFormat(h), plat::Format::Unknown);

    const struct {
        plat::Format format;
        uint32_t size;
    } sizes[] = {{plat::Format::DXT1, 2048}, {plat::Format::DXT3, 4096},     {plat::Format::A8R8G8B8, 16384},
                 {plat::Format::R8G8B8, 12288}, {plat::Format::R5G6B5, 8192}, {plat::Format::R3G3B2, 4096},
                 {plat::Format::Unknown, 0}};
    for (const auto& s : sizes) EXPECT_EQ(GetDDSDataSize(s.format, 64, 64), s.size) << static_cast<int>(s.format);
}

TEST_F(TextureStoreTest, DdsReaderAcceptsAndDeclines) {
    // A4R4G4B4 2x2: red opaque, green, blue, white half alpha (4-bit values).
    DdsLayout argb4;
    argb4.width = argb4.height = 2;
    argb4.masks[0] = 0xF00, argb4.masks[1] = 0xF0, argb4.masks[2] = 0xF, argb4.masks[3] = 0xF000;
    std::string px;
    Put16(px, 0xFF00);
    Put16(px, 0xF0F0);
    Put16(px, 0xF00F);
    Put16(px, 0x8FFF);
    WriteBytes("a4.dds", Dds(argb4, px));
    CTexture* t = Get("a4.dds");
    ASSERT_NE(t->GetTexture(), nullptr);
    EXPECT_EQ(t->GetTexture()->GetFormat(), plat::Format::A4R4G4B4);
    EXPECT_EQ(Pixel(t, 0, 0), 0xFFFF0000u);
    EXPECT_EQ(Pixel(t, 1, 1), 0x88FFFFFFu);

    // 5-6-5 masks: the reader declines and the image loader cannot read it either.
    DdsLayout rgb565 = argb4;
    rgb565.masks[0] = 0xF800, rgb565.masks[1] = 0x7E0, rgb565.masks[2] = 0x1F, rgb565.masks[3] = 0;
    WriteBytes("565.dds", Dds(rgb565, px));
    EXPECT_EQ(Get("565.dds")->GetTexture(), nullptr);

    // Exactly the header: corrupted.
    WriteBytes("empty.dds", Dds(argb4, ""));
    EXPECT_EQ(Get("empty.dds")->GetTexture(), nullptr);

    // DXT1 64x64 with linear size 0 needs 128 + 2048 bytes.
    DdsLayout dxt1;
    dxt1.width = dxt1.height = 64;
    dxt1.pf_flags = kDDSPixelFourCC;
    dxt1.fourcc = "DXT1";
    WriteBytes("short.dds", Dds(dxt1, std::string(2047, '\x55')));
    WriteBytes("full.dds", Dds(dxt1, std::string(2048, '\x55')));
    EXPECT_EQ(Get("short.dds")->GetTexture(), nullptr);
    CTexture* full = Get("full.dds");
    ASSERT_NE(full->GetTexture(), nullptr);
    EXPECT_FLOAT_EQ(full->GetWidth(), 64);

    const std::string log = NewLog();
    EXPECT_NE(log.find("Error: Unknown dds format!"), std::string::npos);
    EXPECT_NE(log.find("Error: corrupted dds file!"), std::string::npos);
}

TEST_F(TextureStoreTest, DdsMipmapsWithoutSizeAreAFailedLoad) {
    DdsLayout layout;
    layout.flags |= kDDSFlagMipmapCount;
    layout.mipmaps = 3;
    const std::string bytes = Dds(layout, std::string(4 * 4 * 4 + 2 * 2 * 4 + 4, '\x7F'));
    // The reader itself raises the error ...
    auto device = OffscreenDevice();
    std::unique_ptr<plat::Texture> tex;
    EXPECT_THROW(LoadDDSTexture(*device, std::vector<uint8_t>(bytes.begin(), bytes.end()), nullptr, &tex),
                 CDDSMipmapError);
    // ... which the store catches, logs and treats as a failed load.
    WriteBytes("mips.dds", bytes);
    CTexture* t = Get("mips.dds");
    EXPECT_EQ(t->GetTexture(), nullptr);
    EXPECT_EQ(t->GetRefCount(), 1);
    EXPECT_NE(NewLog().find("MIPMAPs support for DDS it not implemented!"), std::string::npos);
}

TEST_F(TextureStoreTest, DdsLevelsAreAllFilledOrOne) {
    // 4x4 A8R8G8B8 with three levels, the linear size given: every level comes
    // from the file when it holds them all.
    DdsLayout layout;
    layout.flags |= kDDSFlagMipmapCount | 0x80000;
    layout.mipmaps = 3;
    layout.pitch_or_linear = 64;
    std::string payload;
    for (int i = 0; i < 16; ++i) Put32(payload, 0xFF0000FF);
    for (int i = 0; i < 4; ++i) Put32(payload, 0xFF00FF00);
    Put32(payload, 0xFFFF0000);
    WriteBytes("chain.dds", Dds(layout, payload));
    CTexture* t = Get("chain.dds");
    ASSERT_NE(t->GetTexture(), nullptr);
    plat::Texture* tex = t->GetTexture();
    ASSERT_EQ(tex->LevelCount(), 3u);
    void* bits = nullptr;
    uint32_t pitch = 0;
    ASSERT_EQ(tex->LockRect(2, &bits, &pitch), plat::kOk);
    EXPECT_EQ(*static_cast<uint32_t*>(bits), 0xFFFF0000u);
    tex->UnlockRect(2);

    // Only the top level in the file: a texture of one level.
    WriteBytes("top.dds", Dds(layout, payload.substr(0, 64)));
    CTexture* top = Get("top.dds");
    ASSERT_NE(top->GetTexture(), nullptr);
    EXPECT_EQ(top->GetTexture()->LevelCount(), 1u);
}

TEST_F(TextureStoreTest, DdsRowPitchTakesPitchTimesHeight) {
    // 2x2 A8R8G8B8 whose rows are 12 bytes apart (4 bytes of padding each).
    DdsLayout layout;
    layout.width = layout.height = 2;
    layout.flags |= kDDSFlagPitch;
    layout.pitch_or_linear = 12;
    std::string payload;
    Put32(payload, 0xFF112233);
    Put32(payload, 0xFF445566);
    Put32(payload, 0xDEADBEEF);
    Put32(payload, 0xFF778899);
    Put32(payload, 0xFFAABBCC);
    Put32(payload, 0xDEADBEEF);
    WriteBytes("pitch.dds", Dds(layout, payload));
    CTexture* t = Get("pitch.dds");
    ASSERT_NE(t->GetTexture(), nullptr);
    EXPECT_EQ(t->GetTexture()->ToArgb(), (std::vector<uint32_t> {0xFF112233, 0xFF445566, 0xFF778899, 0xFFAABBCC}));
    // One byte short of pitch x height: corrupted.
    WriteBytes("pitch_short.dds", Dds(layout, payload.substr(0, 23)));
    EXPECT_EQ(Get("pitch_short.dds")->GetTexture(), nullptr);
}

TEST_F(TextureStoreTest, GreyCopiesAreNamedInOrderAndLeaveTheOriginal) {
    // Blue 10, green 21, red 200, alpha 128 becomes 15, 15, 15, 128.
    WriteBytes("colour.tga", Tga(2, 1, {0x80C8150A, 0xFF00FF00}));
    CTexture* original = Get("colour.tga");
    CTexture* grey = store_.CloneTexture(original);
    ASSERT_NE(grey, nullptr);
    EXPECT_EQ(store_.FindName(grey), "__cloned_0");
    EXPECT_EQ(grey->GetRefCount(), 1);
    EXPECT_TRUE(grey->MakeGrayscale());
    EXPECT_EQ(Pixel(grey, 0, 0), 0x800F0F0Fu);
    EXPECT_EQ(Pixel(grey, 1, 0), 0xFF7F7F7Fu);
    EXPECT_EQ(Pixel(original, 0, 0), 0x80C8150Au);
    EXPECT_EQ(store_.FindName(store_.CloneTexture(original)), "__cloned_1");
    CTexture stranger;
    EXPECT_EQ(store_.CloneTexture(&stranger), nullptr);

    // Only 32-bit textures turn grey.
    DdsLayout argb4;
    argb4.width = argb4.height = 1;
    argb4.masks[0] = 0xF00, argb4.masks[1] = 0xF0, argb4.masks[2] = 0xF, argb4.masks[3] = 0xF000;
    WriteBytes("a4.dds", Dds(argb4, std::string("\x12\xF4", 2)));
    EXPECT_FALSE(Get("a4.dds")->MakeGrayscale());
    EXPECT_NE(NewLog().find("Error: Unable to make gray scale texture! Invalid texture format."), std::string::npos);
}
