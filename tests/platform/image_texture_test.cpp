#include <gtest/gtest.h>

#include "platform/image_texture.h"

namespace {

// A 3x2 top-down 32-bit TGA: opaque black, red, half-transparent black on
// the top row; blue, green, white below.
std::vector<uint8_t> SmallTga() {
    std::vector<uint8_t> v = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0, 2, 0, 32, 0x28};
    const uint8_t px[] = {0, 0, 0, 255, 0, 0, 255, 255, 0, 0, 0, 128,
                          255, 0, 0, 255, 0, 255, 0, 255, 255, 255, 255, 255};
    v.insert(v.end(), std::begin(px), std::end(px));
    return v;
}

}  // namespace

TEST(ImageTexture, OwnSizeColourKeyAndLevels) {
    auto device = plat::RenderDevice::CreateOffscreen({});
    const auto bytes = SmallTga();
    std::unique_ptr<plat::Texture> tex;
    plat::ImageInfo info;
    ASSERT_EQ(plat::CreateTextureFromFileInMemory(*device, bytes.data(), bytes.size(), 1, 0xFF000000u, &info, &tex),
              plat::kOk);
    // Not rounded to a power of two.
    EXPECT_EQ(info.width, 3u);
    EXPECT_EQ(info.height, 2u);
    EXPECT_EQ(info.file_format, plat::ImageFileFormat::Tga);
    EXPECT_EQ(tex->LevelCount(), 1u);
    EXPECT_EQ(tex->GetFormat(), plat::Format::A8R8G8B8);
    // Opaque black is keyed out; translucent black is not.
    EXPECT_EQ(tex->ToArgb(), (std::vector<uint32_t> {0x00000000, 0xFFFF0000, 0x80000000, 0xFF0000FF, 0xFF00FF00,
                                                      0xFFFFFFFF}));

    // The whole chain: 3x2, 1x1; the smallest level averages the top two columns.
    ASSERT_EQ(plat::CreateTextureFromFileInMemory(*device, bytes.data(), bytes.size(), plat::kDefaultValue, 0, &info,
                                                  &tex),
              plat::kOk);
    EXPECT_EQ(tex->LevelCount(), 2u);
    EXPECT_EQ(info.mip_levels, 2u);
    void* bits = nullptr;
    uint32_t pitch = 0;
    ASSERT_EQ(tex->LockRect(1, &bits, &pitch), plat::kOk);
    // Average of black, red, blue, green (all opaque, no key): (64, 64, 64, 255).
    EXPECT_EQ(*static_cast<uint32_t*>(bits), 0xFF404040u);
    tex->UnlockRect(1);
}

TEST(ImageTexture, BadBytesAreInvalidData) {
    auto device = plat::RenderDevice::CreateOffscreen({});
    const uint8_t junk[] = {1, 2, 3, 4, 5};
    std::unique_ptr<plat::Texture> tex;
    EXPECT_EQ(plat::CreateTextureFromFileInMemory(*device, junk, sizeof junk, 1, 0, nullptr, &tex),
              plat::kErrInvalidData);
    EXPECT_EQ(tex, nullptr);
}
