#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>
#include <png.h>

#include "platform/image_decoder.h"

using plat::DecodedImage;

namespace {

void Put16(std::vector<uint8_t>& v, uint16_t x) {
    v.push_back(static_cast<uint8_t>(x));
    v.push_back(static_cast<uint8_t>(x >> 8));
}
void Put32(std::vector<uint8_t>& v, uint32_t x) {
    for (int i = 0; i < 4; ++i) v.push_back(static_cast<uint8_t>(x >> (8 * i)));
}

std::vector<uint8_t> TgaHeader(uint8_t type, uint16_t w, uint16_t h, uint8_t bpp, uint8_t desc) {
    std::vector<uint8_t> v = {0, 0, type, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    Put16(v, w);
    Put16(v, h);
    v.push_back(bpp);
    v.push_back(desc);
    return v;
}

DecodedImage Decode(const std::vector<uint8_t>& bytes) {
    DecodedImage img;
    std::string error;
    EXPECT_TRUE(plat::DecodeImage(bytes.data(), bytes.size(), &img, &error)) << error;
    return img;
}

bool Fails(const std::vector<uint8_t>& bytes) {
    DecodedImage img;
    std::string error;
    const bool ok = plat::DecodeImage(bytes.data(), bytes.size(), &img, &error);
    return !ok && !error.empty();
}

// The 2x2 picture every format below encodes: red, green on the top row,
// blue, half-transparent white below.
const std::vector<uint32_t> kExpected = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0x80FFFFFF};

}  // namespace

TEST(ImageDecoder, TgaUncompressedBothRowOrders) {
    // Bottom-up (the default): the bottom row is stored first, BGRA.
    auto bottom = TgaHeader(2, 2, 2, 32, 8);
    for (uint8_t b : {255, 0, 0, 255, 255, 255, 255, 128, 0, 0, 255, 255, 0, 255, 0, 255}) bottom.push_back(b);
    EXPECT_EQ(Decode(bottom).argb, kExpected);

    auto top = TgaHeader(2, 2, 2, 32, 0x28);
    for (uint8_t b : {0, 0, 255, 255, 0, 255, 0, 255, 255, 0, 0, 255, 255, 255, 255, 128}) top.push_back(b);
    const DecodedImage img = Decode(top);
    EXPECT_EQ(img.width, 2u);
    EXPECT_EQ(img.height, 2u);
    EXPECT_TRUE(img.has_alpha);
    EXPECT_EQ(img.argb, kExpected);
}

TEST(ImageDecoder, TgaRunLengthAnd24Bit) {
    // 3x2, 24 bits, top-down: a run of three grey pixels, then raw R, G, B.
    auto v = TgaHeader(10, 3, 2, 24, 0x20);
    for (uint8_t b : {0x82, 50, 60, 70, 0x02, 0, 0, 255, 0, 255, 0, 255, 0, 0}) v.push_back(b);
    const DecodedImage img = Decode(v);
    EXPECT_FALSE(img.has_alpha);
    EXPECT_EQ(img.argb, (std::vector<uint32_t> {0xFF463C32, 0xFF463C32, 0xFF463C32, 0xFFFF0000, 0xFF00FF00,
                                                 0xFF0000FF}));
    // The same runs bottom-up swap the rows.
    v[17] = 0;
    EXPECT_EQ(Decode(v).argb, (std::vector<uint32_t> {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFF463C32, 0xFF463C32,
                                                       0xFF463C32}));
}

TEST(ImageDecoder, BrokenFilesFailCleanly) {
    auto run_past_end = TgaHeader(10, 2, 1, 24, 0x20);
    for (uint8_t b : {0x85, 1, 2, 3}) run_past_end.push_back(b);  // six pixels into an image of two
    auto truncated = TgaHeader(2, 4, 4, 32, 0x28);
    truncated.resize(truncated.size() + 20);
    auto cut_run = TgaHeader(10, 2, 1, 24, 0x20);
    cut_run.push_back(0x01);
    cut_run.push_back(7);
    std::vector<uint8_t> bmp_cut = {'B', 'M'};
    bmp_cut.resize(30, 0);
    const std::vector<uint8_t> png_cut = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13};
    const std::vector<uint8_t> jpeg_cut = {0xFF, 0xD8, 0xFF, 0xE0, 0, 16};
    const std::vector<uint8_t> text = {'h', 'e', 'l', 'l', 'o'};
    for (const std::vector<uint8_t>* bytes : std::initializer_list<const std::vector<uint8_t>*> {&run_past_end, &truncated, &cut_run, &bmp_cut, &png_cut, &jpeg_cut, &text})
        EXPECT_TRUE(Fails(*bytes));
    DecodedImage img;
    EXPECT_FALSE(plat::DecodeImage(nullptr, 0, &img, nullptr));
}

namespace {

std::vector<uint8_t> Bmp(int32_t w, int32_t h, uint16_t bpp, uint32_t compression,
                         const std::vector<uint8_t>& extra, const std::vector<uint8_t>& pixels,
                         uint32_t header_size = 40) {
    std::vector<uint8_t> v = {'B', 'M'};
    const uint32_t offset = 14 + header_size + static_cast<uint32_t>(extra.size());
    Put32(v, offset + static_cast<uint32_t>(pixels.size()));
    Put32(v, 0);
    Put32(v, offset);
    Put32(v, header_size);
    Put32(v, static_cast<uint32_t>(w));
    Put32(v, static_cast<uint32_t>(h));
    Put16(v, 1);
    Put16(v, bpp);
    Put32(v, compression);
    for (int i = 0; i < 3; ++i) Put32(v, 0);
    Put32(v, bpp <= 8 ? static_cast<uint32_t>(extra.size() / 4) : 0);  // palette entries used
    Put32(v, 0);
    // Bit-field masks of a larger header come right after the 40 bytes.
    v.insert(v.end(), extra.begin(), extra.end());
    while (v.size() < offset) v.push_back(0);
    v.insert(v.end(), pixels.begin(), pixels.end());
    return v;
}

}  // namespace

TEST(ImageDecoder, BmpDepthsAndRowOrder) {
    // 24 bits, bottom-up, rows padded to 4 bytes (2 pixels = 6 bytes + 2).
    const std::vector<uint8_t> px24 = {255, 0, 0, 255, 255, 255, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0};
    const DecodedImage a = Decode(Bmp(2, 2, 24, 0, {}, px24));
    EXPECT_EQ(a.argb, (std::vector<uint32_t> {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF}));

    // 8-bit palette, top-down (negative height), rows padded.
    std::vector<uint8_t> palette = {0, 0, 255, 0, 0, 255, 0, 0};
    const DecodedImage b = Decode(Bmp(3, -1, 8, 0, palette, {1, 0, 1, 0}));
    EXPECT_EQ(b.argb, (std::vector<uint32_t> {0xFF00FF00, 0xFFFF0000, 0xFF00FF00}));

    // 32 bits with bit fields including alpha (a V4-sized header).
    std::vector<uint8_t> masks;
    Put32(masks, 0x00FF0000);
    Put32(masks, 0x0000FF00);
    Put32(masks, 0x000000FF);
    Put32(masks, 0xFF000000);
    std::vector<uint8_t> px32;
    Put32(px32, 0x80112233);
    const DecodedImage c = Decode(Bmp(1, 1, 32, 3, masks, px32, 108));
    EXPECT_TRUE(c.has_alpha);
    EXPECT_EQ(c.argb, std::vector<uint32_t> {0x80112233});

    // A plain 32-bit file has no alpha: every pixel is opaque.
    EXPECT_EQ(Decode(Bmp(1, 1, 32, 0, {}, px32)).argb, std::vector<uint32_t> {0xFF112233});
}

TEST(ImageDecoder, PngThroughLibpng) {
    // RGBA bytes of the 2x2 picture, written with libpng's simple API.
    const uint8_t rgba[] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 128};
    png_image img;
    std::memset(&img, 0, sizeof img);
    img.version = PNG_IMAGE_VERSION;
    img.width = 2;
    img.height = 2;
    img.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    ASSERT_TRUE(png_image_write_to_memory(&img, nullptr, &size, 0, rgba, 0, nullptr));
    std::vector<uint8_t> bytes(size);
    ASSERT_TRUE(png_image_write_to_memory(&img, bytes.data(), &size, 0, rgba, 0, nullptr));
    bytes.resize(size);
    EXPECT_EQ(plat::DetectImageFormat(bytes.data(), bytes.size()), plat::ImageFileFormat::Png);
    const DecodedImage out = Decode(bytes);
    EXPECT_TRUE(out.has_alpha);
    EXPECT_EQ(out.argb, kExpected);
}

TEST(ImageDecoder, JpegThroughLibjpeg) {
    // A flat 16x8 colour survives JPEG within a few levels.
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* mem = nullptr;
    unsigned long mem_size = 0;
    jpeg_mem_dest(&cinfo, &mem, &mem_size);
    cinfo.image_width = 16;
    cinfo.image_height = 8;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(16 * 3);
    for (int x = 0; x < 16; ++x) {
        row[x * 3] = 200;
        row[x * 3 + 1] = 100;
        row[x * 3 + 2] = 50;
    }
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&cinfo, &r, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<uint8_t> bytes(mem, mem + mem_size);
    jpeg_destroy_compress(&cinfo);
    free(mem);

    const DecodedImage img = Decode(bytes);
    ASSERT_EQ(img.width, 16u);
    ASSERT_EQ(img.height, 8u);
    EXPECT_FALSE(img.has_alpha);
    const uint32_t p = img.argb[5 * 16 + 7];
    EXPECT_EQ(p >> 24, 0xFFu);
    EXPECT_NEAR(static_cast<int>((p >> 16) & 0xFF), 200, 3);
    EXPECT_NEAR(static_cast<int>((p >> 8) & 0xFF), 100, 3);
    EXPECT_NEAR(static_cast<int>(p & 0xFF), 50, 3);
}

TEST(ImageDecoder, ColorKeyMakesOpaqueBlackTransparent) {
    DecodedImage img;
    img.width = 4;
    img.height = 1;
    img.argb = {0xFF000000, 0x80000000, 0xFF010000, 0xFF000000};
    plat::ApplyColorKey(img, 0xFF000000);
    EXPECT_EQ(img.argb, (std::vector<uint32_t> {0, 0x80000000, 0xFF010000, 0}));
    plat::ApplyColorKey(img, 0);  // no key: nothing changes
    EXPECT_EQ(img.argb[1], 0x80000000u);
}
