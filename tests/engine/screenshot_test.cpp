#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "test_temp.h"
#include "engine/graphics_device.h"
#include "file_size_limit.h"

namespace fs = std::filesystem;
using plat::Format;

namespace {

std::vector<uint8_t> ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(Screenshot, NumberIsOneMoreThanTheHighestName) {
    const test_temp::TempDir temp("numbers");
    const fs::path& dir = temp.Path();
    EXPECT_EQ(CGraphicsDevice::NextScreenshotNumber(dir.string()), 0);
    std::ofstream(dir / "shot.tga").put('x');
    EXPECT_EQ(CGraphicsDevice::NextScreenshotNumber(dir.string()), 1) << "a name without digits counts as 0";
    std::ofstream(dir / "00000007.tga").put('x');
    std::ofstream(dir / "00000003.tga").put('x');
    std::ofstream(dir / "00000099.txt").put('x');
    EXPECT_EQ(CGraphicsDevice::NextScreenshotNumber(dir.string()), 8);
}

TEST(Screenshot, HeaderAndPixelsPerBackBufferFormat) {
    struct Case {
        Format format;
        uint8_t depth, descriptor;
        std::vector<uint8_t> first_pixel;  // of the bottom row
    };
    // The bottom-left pixel is pure red with half alpha.
    const Case cases[] = {
        {Format::A8R8G8B8, 32, 8, {0x00, 0x00, 0xFF, 0x80}},
        {Format::X8R8G8B8, 32, 0, {0x00, 0x00, 0xFF, 0x80}},
        {Format::R8G8B8, 24, 0, {0x00, 0x00, 0xFF}},
        // 5-6-5 is written as 5-5-5 (red in bits 10..14) and says no alpha.
        {Format::R5G6B5, 16, 0, {0x00, 0x7C}},
        {Format::X1R5G5B5, 16, 0, {0x00, 0x7C}},
        {Format::A1R5G5B5, 16, 1, {0x00, 0xFC}},
    };
    const test_temp::TempDir temp("formats");
    const fs::path& dir = temp.Path();
    std::vector<uint32_t> px = {0xFF00FF00, 0xFF0000FF, 0x80FF0000, 0xFFFFFFFF};  // 2x2, top row first
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.format));
        fs::path file = dir / "shot.tga";
        ASSERT_TRUE(CGraphicsDevice::WriteTga(file.string(), c.format, px, 2, 2));
        auto b = ReadAll(file);
        const size_t bpp = c.depth / 8;
        ASSERT_EQ(b.size(), 18 + 4 * bpp);
        EXPECT_EQ(b[2], 2);
        EXPECT_EQ(b[12] | b[13] << 8, 2);
        EXPECT_EQ(b[14] | b[15] << 8, 2);
        EXPECT_EQ(b[16], c.depth);
        EXPECT_EQ(b[17], c.descriptor);
        EXPECT_EQ(std::vector<uint8_t>(b.begin() + 18, b.begin() + 18 + bpp), c.first_pixel);
    }
    EXPECT_FALSE(CGraphicsDevice::WriteTga((dir / "x.tga").string(), Format::DXT1, px, 2, 2));
    fs::remove_all(dir);
}

// A screenshot that does not fit on the disk leaves no broken picture behind,
// which would take a number and look like a shot.
TEST(Screenshot, AFullDiskLeavesNoPartOfThePicture) {
    const test_temp::TempDir temp("full");
    const fs::path& dir = temp.Path();
    const std::vector<uint32_t> px(800 * 600, 0xFF336699);
    std::string error;
    {
        FileSizeLimit full_disk(4096);
        EXPECT_FALSE(
            CGraphicsDevice::WriteTga((dir / "00000000.tga").string(), Format::X8R8G8B8, px, 800, 600, &error));
    }
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(fs::is_empty(dir));
    EXPECT_EQ(CGraphicsDevice::NextScreenshotNumber(dir.string()), 0);
}

}  // namespace
