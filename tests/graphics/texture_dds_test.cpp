// The DDS reader's size check: block formats count whole 4x4 blocks, and a row
// pitch is read as one also when the writer left out the pitch flag.
#include "graphics/texture_dds.h"

#include <gtest/gtest.h>

#include "graphics_test_support.h"

using namespace data_test;
using namespace gfx_test;

namespace {

class DdsReaderTest : public ScratchTest {
protected:
    // The reader's texture, null when it declined.
    std::unique_ptr<plat::Texture> Read(const DdsLayout& layout, const std::string& payload) {
        const std::string bytes = Dds(layout, payload);
        std::unique_ptr<plat::Texture> tex;
        DDSImageInfo info;
        if (!LoadDDSTexture(*device_, std::vector<uint8_t>(bytes.begin(), bytes.end()), &info, &tex)) return nullptr;
        EXPECT_EQ(info.width, layout.width);
        EXPECT_EQ(info.height, layout.height);
        return tex;
    }
    static DdsLayout Block(const char* fourcc, uint32_t w, uint32_t h, uint32_t linear_size) {
        return {.width = w, .height = h, .pitch_or_linear = linear_size, .pf_flags = kDDSPixelFourCC, .fourcc = fourcc};
    }

    std::unique_ptr<plat::RenderDevice> device_ = OffscreenDevice();
};

TEST(DdsSizes, BlockFormatsCountWholeBlocks) {
    const struct {
        plat::Format format;
        uint32_t w, h;
        uint64_t size;
    } cases[] = {
        {plat::Format::DXT1, 2, 2, 8},   {plat::Format::DXT1, 1, 1, 8},   {plat::Format::DXT1, 6, 6, 32},
        {plat::Format::DXT5, 6, 6, 64},  {plat::Format::DXT3, 4, 1, 16},  {plat::Format::DXT1, 64, 64, 2048},
        {plat::Format::A8R8G8B8, 3, 3, 36},
        // No wrap at 32 bits.
        {plat::Format::A8R8G8B8, 65536, 65536, 1ull << 34},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetDDSDataSize(c.format, c.w, c.h), c.size) << static_cast<int>(c.format) << " " << c.w << "x" << c.h;
}

TEST_F(DdsReaderTest, SmallCompressedLevelsTakeWholeBlocks) {
    struct Case {
        const char* fourcc;
        uint32_t w, h, linear_size;
        size_t payload;
        bool loads;
    };
    const Case cases[] = {
        {"DXT1", 2, 2, 0, 8, true},    // size from the table: one block
        {"DXT1", 2, 2, 2, 8, true},    // a writer's w x h / 2: rounded up to the block
        {"DXT1", 2, 2, 0, 7, false},   // less than the block
        {"DXT5", 6, 6, 36, 64, true},  // four blocks of 16
        {"DXT5", 6, 6, 0, 63, false},
        {"DXT3", 4, 4, 0, 16, true},
    };
    for (const Case& c : cases) {
        auto tex = Read(Block(c.fourcc, c.w, c.h, c.linear_size), std::string(c.payload, '\x55'));
        EXPECT_EQ(tex != nullptr, c.loads) << c.fourcc << " " << c.w << "x" << c.h << " " << c.payload;
        if (tex) {
            EXPECT_EQ(tex->Width(), c.w);
        }
    }
    EXPECT_NE(NewLog().find("Error: corrupted dds file!"), std::string::npos);
}

TEST_F(DdsReaderTest, ARowPitchWithoutItsFlagIsStillAPitch) {
    // 2x2 A8R8G8B8, no pitch flag: rows 8 bytes apart (packed), then 12 (padded).
    DdsLayout layout;
    layout.width = layout.height = 2;
    layout.pitch_or_linear = 8;
    std::string packed;
    for (uint32_t p : {0xFF112233u, 0xFF445566u, 0xFF778899u, 0xFFAABBCCu}) Put32(packed, p);
    auto tex = Read(layout, packed);
    ASSERT_NE(tex, nullptr);
    EXPECT_EQ(tex->ToArgb(), (std::vector<uint32_t> {0xFF112233, 0xFF445566, 0xFF778899, 0xFFAABBCC}));

    layout.pitch_or_linear = 12;
    std::string padded = packed.substr(0, 8) + "\xEF\xBE\xAD\xDE" + packed.substr(8) + "\xEF\xBE\xAD\xDE";
    tex = Read(layout, padded);
    ASSERT_NE(tex, nullptr);
    EXPECT_EQ(tex->ToArgb(), (std::vector<uint32_t> {0xFF112233, 0xFF445566, 0xFF778899, 0xFFAABBCC}));
    // One byte short of pitch x height.
    EXPECT_EQ(Read(layout, padded.substr(0, 23)), nullptr);

    // Less than one row is neither a pitch nor the level's size.
    layout.pitch_or_linear = 4;
    EXPECT_EQ(Read(layout, packed), nullptr);
    // The whole level's size stays a size.
    layout.pitch_or_linear = 16;
    tex = Read(layout, packed);
    ASSERT_NE(tex, nullptr);
    EXPECT_EQ(tex->ToArgb()[3], 0xFFAABBCCu);
}

}  // namespace
