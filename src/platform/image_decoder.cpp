#include "platform/image_decoder.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>
#include <jerror.h>
#include <png.h>

namespace plat {

namespace {

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

uint32_t Argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) { return (a << 24) | (r << 16) | (g << 8) | b; }

bool Fail(std::string* error, const char* text) {
    if (error) *error = text;
    return false;
}

// Checked from the header, before anything is allocated for the pixels.
bool SizeOk(uint32_t w, uint32_t h, uint32_t max_side) { return w > 0 && h > 0 && w <= max_side && h <= max_side; }

// Deflate cannot expand data by more than about 1032 to 1: a PNG whose rows
// need more bytes than that from its file is damaged.
constexpr uint64_t kMaxDeflateRatio = 1032;

// Expands an n-bit channel value to 8 bits.
uint32_t Expand(uint32_t v, int bits) {
    if (bits <= 0) return 0;
    if (bits >= 8) return v >> (bits - 8);
    const uint32_t max = (1u << bits) - 1;
    return (v * 255 + max / 2) / max;
}

int CountBits(uint32_t m) {
    int n = 0;
    for (; m; m &= m - 1) ++n;
    return n;
}
int LowestBit(uint32_t m) {
    if (!m) return 0;
    int s = 0;
    while (!(m & 1)) {
        m >>= 1;
        ++s;
    }
    return s;
}

uint32_t ExtractMasked(uint32_t px, uint32_t mask) {
    if (!mask) return 0;
    return Expand((px & mask) >> LowestBit(mask), CountBits(mask));
}

}  // namespace

// ---------------------------------------------------------------- detection

ImageFileFormat DetectImageFormat(const uint8_t* data, size_t size) {
    if (!data) return ImageFileFormat::Unknown;
    if (size >= 8 && png_sig_cmp(const_cast<png_bytep>(data), 0, 8) == 0) return ImageFileFormat::Png;
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) return ImageFileFormat::Jpeg;
    if (size >= 26 && data[0] == 'B' && data[1] == 'M') return ImageFileFormat::Bmp;
    if (size >= 18) {
        const uint8_t cmap = data[1], type = data[2], bpp = data[16];
        const bool type_ok = type == 1 || type == 2 || type == 3 || type == 9 || type == 10 || type == 11;
        const bool bpp_ok = bpp == 8 || bpp == 15 || bpp == 16 || bpp == 24 || bpp == 32;
        if (cmap <= 1 && type_ok && bpp_ok && Le16(data + 12) > 0 && Le16(data + 14) > 0) return ImageFileFormat::Tga;
    }
    return ImageFileFormat::Unknown;
}

bool DecodeImage(const uint8_t* data, size_t size, DecodedImage* out, std::string* error, uint32_t max_side) {
    if (!data || size == 0) return Fail(error, "empty file");
    switch (DetectImageFormat(data, size)) {
        case ImageFileFormat::Png: return DecodePng(data, size, out, error, max_side);
        case ImageFileFormat::Jpeg: return DecodeJpeg(data, size, out, error, max_side);
        case ImageFileFormat::Bmp: return DecodeBmp(data, size, out, error, max_side);
        case ImageFileFormat::Tga: return DecodeTga(data, size, out, error, max_side);
        case ImageFileFormat::Unknown: break;
    }
    return Fail(error, "unknown image format");
}

void ApplyColorKey(DecodedImage& image, uint32_t key) {
    if (key == 0) return;
    for (uint32_t& p : image.argb)
        if (p == key) p = 0;
}

// ---------------------------------------------------------------- PNG

namespace {

// Bytes of the filtered rows the header announces (IHDR is the first chunk,
// which libpng has checked by the time this is asked).
uint64_t PngRawBytes(const uint8_t* data, size_t size) {
    if (size < 26) return 0;
    const uint64_t w = (uint32_t(data[16]) << 24) | (uint32_t(data[17]) << 16) | (uint32_t(data[18]) << 8) | data[19];
    const uint64_t h = (uint32_t(data[20]) << 24) | (uint32_t(data[21]) << 16) | (uint32_t(data[22]) << 8) | data[23];
    const uint64_t depth = data[24];
    uint64_t channels = 1;
    switch (data[25]) {
        case 2: channels = 3; break;
        case 4: channels = 2; break;
        case 6: channels = 4; break;
        default: break;
    }
    return h * (1 + (w * channels * depth + 7) / 8);
}

}  // namespace

bool DecodePng(const uint8_t* data, size_t size, DecodedImage* out, std::string* error, uint32_t max_side) {
    png_image img;
    std::memset(&img, 0, sizeof img);
    img.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&img, data, size)) return Fail(error, img.message);
    if (!SizeOk(img.width, img.height, max_side)) {
        png_image_free(&img);
        return Fail(error, "bad PNG size");
    }
    if (PngRawBytes(data, size) > static_cast<uint64_t>(size) * kMaxDeflateRatio) {
        png_image_free(&img);
        return Fail(error, "PNG data too short for its size");
    }
    const bool alpha = (img.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    // BGRA bytes read as a little-endian 32-bit word are 0xAARRGGBB.
    img.format = PNG_FORMAT_BGRA;
    std::vector<uint32_t> pixels(static_cast<size_t>(img.width) * img.height);
    if (!png_image_finish_read(&img, nullptr, pixels.data(), static_cast<png_int_32>(img.width * 4), nullptr)) {
        std::string msg = img.message;
        png_image_free(&img);
        if (error) *error = msg;
        return false;
    }
    out->width = img.width;
    out->height = img.height;
    out->argb = std::move(pixels);
    out->has_alpha = alpha;
    return true;
}

// ---------------------------------------------------------------- JPEG

namespace {

struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<JpegError*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void JpegSilent(j_common_ptr) {}

// Warnings are ignored, except the end of the data before the image is
// complete: the decoder would invent the rest of a damaged file as grey.
void JpegWarning(j_common_ptr cinfo, int level) {
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) JpegErrorExit(cinfo);
}

// Kept free of objects with destructors: longjmp leaves it. With `size_only`
// only the header is read.
bool JpegRead(const uint8_t* data, size_t size, uint8_t* rgb, size_t capacity, uint32_t* w, uint32_t* h,
              JpegError* err, bool size_only) {
    jpeg_decompress_struct cinfo;
    cinfo.err = jpeg_std_error(&err->mgr);
    err->mgr.error_exit = JpegErrorExit;
    err->mgr.output_message = JpegSilent;
    err->mgr.emit_message = JpegWarning;
    if (setjmp(err->jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    if (size_only) {
        *w = cinfo.image_width;
        *h = cinfo.image_height;
        jpeg_destroy_decompress(&cinfo);
        return true;
    }
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    if (cinfo.output_width != *w || cinfo.output_height != *h || static_cast<size_t>(*w) * *h * 3 > capacity ||
        cinfo.output_components != 3) {
        jpeg_abort_decompress(&cinfo);
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = rgb + static_cast<size_t>(cinfo.output_scanline) * *w * 3;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

}  // namespace

bool DecodeJpeg(const uint8_t* data, size_t size, DecodedImage* out, std::string* error, uint32_t max_side) {
    JpegError err {};
    uint32_t w = 0, h = 0;
    if (!JpegRead(data, size, nullptr, 0, &w, &h, &err, true)) return Fail(error, err.message);
    if (!SizeOk(w, h, max_side)) return Fail(error, "bad JPEG size");
    std::vector<uint8_t> rgb(static_cast<size_t>(w) * h * 3);
    if (!JpegRead(data, size, rgb.data(), rgb.size(), &w, &h, &err, false))
        return Fail(error, err.message[0] ? err.message : "JPEG decoding failed");
    out->width = w;
    out->height = h;
    out->argb.resize(static_cast<size_t>(w) * h);
    for (size_t i = 0; i < out->argb.size(); ++i)
        out->argb[i] = Argb(255, rgb[i * 3], rgb[i * 3 + 1], rgb[i * 3 + 2]);
    out->has_alpha = false;
    return true;
}

// ---------------------------------------------------------------- TGA

bool DecodeTga(const uint8_t* data, size_t size, DecodedImage* out, std::string* error, uint32_t max_side) {
    if (size < 18) return Fail(error, "truncated TGA header");
    const uint8_t id_len = data[0], cmap_type = data[1], type = data[2];
    const uint16_t cmap_first = Le16(data + 3), cmap_len = Le16(data + 5);
    const uint8_t cmap_bits = data[7];
    const uint32_t w = Le16(data + 12), h = Le16(data + 14);
    const uint8_t bpp = data[16], desc = data[17];
    const int alpha_bits = desc & 0x0F;
    const bool top_down = (desc & 0x20) != 0, right_to_left = (desc & 0x10) != 0;
    const bool rle = type >= 9;
    const uint8_t base = rle ? type - 8 : type;
    if (base < 1 || base > 3 || type > 11 || (type > 3 && type < 9)) return Fail(error, "unsupported TGA type");
    if (!SizeOk(w, h, max_side)) return Fail(error, "bad TGA size");
    if (base == 1 && (cmap_type != 1 || bpp != 8)) return Fail(error, "unsupported colour-mapped TGA");
    if (base == 2 && bpp != 15 && bpp != 16 && bpp != 24 && bpp != 32) return Fail(error, "unsupported TGA depth");
    if (base == 3 && bpp != 8) return Fail(error, "unsupported grey TGA depth");

    size_t pos = 18 + static_cast<size_t>(id_len);
    // Colour map, converted to ARGB.
    std::vector<uint32_t> palette;
    if (cmap_type == 1) {
        const size_t entry = (cmap_bits + 7) / 8;
        if (entry < 2 || entry > 4) return Fail(error, "unsupported TGA colour map");
        if (pos + entry * cmap_len > size) return Fail(error, "truncated TGA colour map");
        palette.assign(static_cast<size_t>(cmap_first) + cmap_len, 0xFF000000u);
        for (size_t i = 0; i < cmap_len; ++i, pos += entry) {
            const uint8_t* p = data + pos;
            uint32_t c;
            if (entry == 2) {
                const uint16_t v = Le16(p);
                c = Argb(255, Expand((v >> 10) & 31, 5), Expand((v >> 5) & 31, 5), Expand(v & 31, 5));
            } else {
                c = Argb(entry == 4 ? p[3] : 255, p[2], p[1], p[0]);
            }
            palette[cmap_first + i] = c;
        }
    }

    const size_t bytes = (bpp + 7) / 8;
    auto to_argb = [&](const uint8_t* p) -> uint32_t {
        switch (base) {
            case 1: return p[0] < palette.size() ? palette[p[0]] : 0xFF000000u;
            case 3: return Argb(255, p[0], p[0], p[0]);
            default: break;
        }
        if (bytes == 2) {
            const uint16_t v = Le16(p);
            const uint32_t a = (bpp == 16 && alpha_bits > 0) ? ((v & 0x8000) ? 255 : 0) : 255;
            return Argb(a, Expand((v >> 10) & 31, 5), Expand((v >> 5) & 31, 5), Expand(v & 31, 5));
        }
        if (bytes == 3) return Argb(255, p[2], p[1], p[0]);
        return Argb(alpha_bits > 0 ? p[3] : 255, p[2], p[1], p[0]);
    };

    // The pixels must be able to come from the bytes left: one run packet of
    // at least 1 + `bytes` bytes gives at most 128 pixels.
    const size_t count = static_cast<size_t>(w) * h;
    const size_t left = pos < size ? size - pos : 0;
    if (!rle && count * bytes > left) return Fail(error, "truncated TGA pixel data");
    if (rle && count > (left + bytes) / (1 + bytes) * 128) return Fail(error, "TGA run data too short for its size");
    std::vector<uint32_t> pixels(count);
    if (!rle) {
        for (size_t i = 0; i < count; ++i, pos += bytes) pixels[i] = to_argb(data + pos);
    } else {
        size_t i = 0;
        while (i < count) {
            if (pos >= size) return Fail(error, "truncated TGA run");
            const uint8_t head = data[pos++];
            const size_t n = (head & 0x7F) + 1u;
            if (i + n > count) return Fail(error, "TGA run beyond the image");
            if (head & 0x80) {
                if (pos + bytes > size) return Fail(error, "truncated TGA run");
                const uint32_t c = to_argb(data + pos);
                pos += bytes;
                for (size_t k = 0; k < n; ++k) pixels[i++] = c;
            } else {
                if (pos + n * bytes > size) return Fail(error, "truncated TGA run");
                for (size_t k = 0; k < n; ++k, pos += bytes) pixels[i++] = to_argb(data + pos);
            }
        }
    }

    // Files store rows from the bottom unless the descriptor says otherwise.
    out->width = w;
    out->height = h;
    out->argb.resize(count);
    for (uint32_t y = 0; y < h; ++y) {
        const uint32_t src_y = top_down ? y : h - 1 - y;
        for (uint32_t x = 0; x < w; ++x) {
            const uint32_t src_x = right_to_left ? w - 1 - x : x;
            out->argb[static_cast<size_t>(y) * w + x] = pixels[static_cast<size_t>(src_y) * w + src_x];
        }
    }
    out->has_alpha = (bpp == 32 && alpha_bits > 0) || (bpp == 16 && alpha_bits > 0) ||
                     (base == 1 && cmap_bits == 32);
    return true;
}

// ---------------------------------------------------------------- BMP

bool DecodeBmp(const uint8_t* data, size_t size, DecodedImage* out, std::string* error, uint32_t max_side) {
    if (size < 26 || data[0] != 'B' || data[1] != 'M') return Fail(error, "not a BMP file");
    const uint32_t offset = Le32(data + 10);
    const uint32_t hdr = Le32(data + 14);
    if (hdr != 12 && hdr < 40) return Fail(error, "unsupported BMP header");
    if (14 + static_cast<size_t>(hdr) > size) return Fail(error, "truncated BMP header");
    int32_t width, height;
    uint16_t bpp;
    uint32_t compression = 0, colors_used = 0;
    if (hdr == 12) {
        width = Le16(data + 18);
        height = static_cast<int16_t>(Le16(data + 20));
        bpp = Le16(data + 24);
    } else {
        width = static_cast<int32_t>(Le32(data + 18));
        height = static_cast<int32_t>(Le32(data + 22));
        bpp = Le16(data + 28);
        compression = Le32(data + 30);
        colors_used = Le32(data + 46);
    }
    const bool top_down = height < 0;
    const int64_t abs_h = top_down ? -static_cast<int64_t>(height) : height;
    if (width <= 0 || abs_h <= 0 || !SizeOk(static_cast<uint32_t>(width), static_cast<uint32_t>(abs_h), max_side))
        return Fail(error, "bad BMP size");
    const uint32_t w = static_cast<uint32_t>(width), h = static_cast<uint32_t>(abs_h);
    if (compression != 0 && compression != 3) return Fail(error, "compressed BMP not supported");
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        return Fail(error, "unsupported BMP depth");

    // Channel masks: the defaults of plain files, or the bit fields.
    uint32_t rm = 0, gm = 0, bm = 0, am = 0;
    if (bpp == 16) { rm = 0x7C00; gm = 0x03E0; bm = 0x001F; }
    if (bpp == 32) { rm = 0x00FF0000; gm = 0x0000FF00; bm = 0x000000FF; }
    if (compression == 3) {
        if (bpp != 16 && bpp != 32) return Fail(error, "bit fields need 16 or 32 bits");
        const size_t mpos = 14 + 40;
        if (mpos + 12 > size) return Fail(error, "truncated BMP masks");
        rm = Le32(data + mpos);
        gm = Le32(data + mpos + 4);
        bm = Le32(data + mpos + 8);
        if (hdr >= 56 && mpos + 16 <= size) am = Le32(data + mpos + 12);
    }

    std::vector<uint32_t> palette;
    if (bpp <= 8) {
        const size_t entry = hdr == 12 ? 3 : 4;
        // The palette has 2^bpp entries; a file that claims more is damaged.
        const size_t n = colors_used ? colors_used : (1u << bpp);
        if (n > (1u << bpp)) return Fail(error, "BMP colour count above its depth");
        const size_t ppos = 14 + static_cast<size_t>(hdr);
        if (ppos + n * entry > size) return Fail(error, "truncated BMP palette");
        palette.assign(1u << bpp, 0xFF000000u);
        for (size_t i = 0; i < n; ++i) {
            const uint8_t* p = data + ppos + i * entry;
            palette[i] = Argb(255, p[2], p[1], p[0]);
        }
    }

    const size_t stride = ((static_cast<size_t>(w) * bpp + 31) / 32) * 4;
    if (offset > size || stride * h > size - offset) return Fail(error, "truncated BMP pixel data");
    out->width = w;
    out->height = h;
    out->argb.resize(static_cast<size_t>(w) * h);
    for (uint32_t y = 0; y < h; ++y) {
        const uint8_t* row = data + offset + stride * (top_down ? y : h - 1 - y);
        uint32_t* dst = out->argb.data() + static_cast<size_t>(y) * w;
        for (uint32_t x = 0; x < w; ++x) {
            switch (bpp) {
                case 1: dst[x] = palette[(row[x >> 3] >> (7 - (x & 7))) & 1]; break;
                case 4: dst[x] = palette[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15]; break;
                case 8: dst[x] = palette[row[x]]; break;
                case 24: dst[x] = Argb(255, row[x * 3 + 2], row[x * 3 + 1], row[x * 3]); break;
                default: {
                    const uint32_t px = bpp == 16 ? Le16(row + x * 2) : Le32(row + x * 4);
                    const uint32_t a = am ? ExtractMasked(px, am) : 255;
                    dst[x] = Argb(a, ExtractMasked(px, rm), ExtractMasked(px, gm), ExtractMasked(px, bm));
                }
            }
        }
    }
    out->has_alpha = am != 0;
    return true;
}

}  // namespace plat
