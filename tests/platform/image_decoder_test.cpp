#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

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

namespace {

// RGBA bytes written with libpng's simple API.
std::vector<uint8_t> EncodePng(uint32_t w, uint32_t h, const uint8_t* rgba) {
    png_image img;
    std::memset(&img, 0, sizeof img);
    img.version = PNG_IMAGE_VERSION;
    img.width = w;
    img.height = h;
    img.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    EXPECT_TRUE(png_image_write_to_memory(&img, nullptr, &size, 0, rgba, 0, nullptr));
    std::vector<uint8_t> bytes(size);
    EXPECT_TRUE(png_image_write_to_memory(&img, bytes.data(), &size, 0, rgba, 0, nullptr));
    bytes.resize(size);
    return bytes;
}

}  // namespace

TEST(ImageDecoder, PngThroughLibpng) {
    // RGBA bytes of the 2x2 picture.
    const uint8_t rgba[] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 128};
    const std::vector<uint8_t> bytes = EncodePng(2, 2, rgba);
    EXPECT_EQ(plat::DetectImageFormat(bytes.data(), bytes.size()), plat::ImageFileFormat::Png);
    const DecodedImage out = Decode(bytes);
    EXPECT_TRUE(out.has_alpha);
    EXPECT_EQ(out.argb, kExpected);
}

namespace {

// A JPEG of w x h pixels, every row the same `row` of RGB bytes unless
// `vary` mixes the row number in.
std::vector<uint8_t> EncodeJpeg(uint32_t w, uint32_t h, const std::vector<uint8_t>& row, int quality, bool vary) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* mem = nullptr;
    unsigned long mem_size = 0;
    jpeg_mem_dest(&cinfo, &mem, &mem_size);
    cinfo.image_width = w;
    cinfo.image_height = h;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> line(row);
    while (cinfo.next_scanline < cinfo.image_height) {
        if (vary)
            for (size_t i = 0; i < line.size(); ++i) line[i] = static_cast<uint8_t>(row[i] + cinfo.next_scanline * 11);
        JSAMPROW r = line.data();
        jpeg_write_scanlines(&cinfo, &r, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<uint8_t> bytes(mem, mem + mem_size);
    jpeg_destroy_compress(&cinfo);
    free(mem);
    return bytes;
}

}  // namespace

TEST(ImageDecoder, JpegThroughLibjpeg) {
    // A flat 16x8 colour survives JPEG within a few levels.
    std::vector<uint8_t> row(16 * 3);
    for (int x = 0; x < 16; ++x) {
        row[x * 3] = 200;
        row[x * 3 + 1] = 100;
        row[x * 3 + 2] = 50;
    }
    const std::vector<uint8_t> bytes = EncodeJpeg(16, 8, row, 95, false);

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

namespace {

// The PNG of a 1x1 opaque pixel whose header then claims `w` x `h`: the
// chunk's checksum is recomputed, so only the size gives it away.
std::vector<uint8_t> PngClaiming(uint32_t w, uint32_t h) {
    const uint8_t rgba[] = {1, 2, 3, 255};
    std::vector<uint8_t> bytes = EncodePng(1, 1, rgba);
    for (int i = 0; i < 4; ++i) {
        bytes[16 + i] = static_cast<uint8_t>(w >> (24 - 8 * i));
        bytes[20 + i] = static_cast<uint8_t>(h >> (24 - 8 * i));
    }
    const uint32_t crc = static_cast<uint32_t>(crc32(0, bytes.data() + 12, 17));  // "IHDR" and its 13 bytes
    for (int i = 0; i < 4; ++i) bytes[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
    return bytes;
}

std::vector<uint8_t> Jpeg16x16() {
    std::vector<uint8_t> row(16 * 3);
    for (size_t i = 0; i < row.size(); ++i) row[i] = static_cast<uint8_t>(i * 37);
    return EncodeJpeg(16, 16, row, 75, true);
}

}  // namespace

// Damaged headers are refused by what they claim, before pixels are
// allocated or decoded: sizes above the texture limit, sizes the file is too
// short to hold, and palettes larger than the depth allows.
TEST(ImageDecoder, DamagedHeadersAreRefusedFromTheHeader) {
    // 1 bit per pixel but 256 palette entries (all present in the file): the
    // palette of two entries must not be written past.
    std::vector<uint8_t> big_palette(256 * 4, 7);
    auto bmp_palette = Bmp(8, 1, 1, 0, big_palette, {0xAA, 0, 0, 0});

    auto tga_rle_huge = TgaHeader(10, 4096, 4096, 24, 0x20);
    for (uint8_t b : {0xFF, 1, 2, 3, 0xFF, 1, 2, 3}) tga_rle_huge.push_back(b);
    auto tga_too_wide = TgaHeader(2, 5000, 1, 24, 0x20);
    tga_too_wide.resize(tga_too_wide.size() + 5000 * 3, 0);

    std::vector<uint8_t> jpeg_cut = Jpeg16x16();
    jpeg_cut.resize(jpeg_cut.size() * 2 / 3);

    const struct {
        const char* name;
        std::vector<uint8_t> bytes;
        const char* reason;
    } cases[] = {
        {"bmp palette above depth", bmp_palette, "colour count"},
        {"tga runs too short", tga_rle_huge, "too short"},
        {"tga above the limit", tga_too_wide, "bad TGA size"},
        {"png above the limit", PngClaiming(5000, 16), "bad PNG size"},
        {"png rows too short", PngClaiming(4096, 4096), "too short"},
        {"jpeg cut short", jpeg_cut, "Premature end"},
    };
    for (const auto& c : cases) {
        DecodedImage img;
        std::string error;
        EXPECT_FALSE(plat::DecodeImage(c.bytes.data(), c.bytes.size(), &img, &error)) << c.name;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.name << ": " << error;
        EXPECT_TRUE(img.argb.empty()) << c.name;
    }
    // The limit is the caller's: a smaller one refuses what the default takes.
    const std::vector<uint8_t> jpeg = Jpeg16x16();
    DecodedImage img;
    EXPECT_TRUE(plat::DecodeImage(jpeg.data(), jpeg.size(), &img, nullptr));
    EXPECT_FALSE(plat::DecodeImage(jpeg.data(), jpeg.size(), &img, nullptr, 8));
}
