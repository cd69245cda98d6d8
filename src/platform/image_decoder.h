#pragma once
// Decoding of texture files in memory into 32-bit ARGB pixels: PNG (libpng),
// JPEG (libjpeg-turbo), and TGA (uncompressed and run-length, either row order)
// and BMP by our own readers. DDS is not handled here: the texture store reads it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace plat {

enum class ImageFileFormat { Unknown, Png, Jpeg, Tga, Bmp };

struct DecodedImage {
    uint32_t width = 0;
    uint32_t height = 0;
    // width x height pixels, rows from the top, 0xAARRGGBB.
    std::vector<uint32_t> argb;
    // True when the file carried an alpha channel of its own.
    bool has_alpha = false;
};

// Guesses the format from the leading bytes (TGA has no signature: it is the
// fallback when its header is plausible).
ImageFileFormat DetectImageFormat(const uint8_t* data, size_t size);

// Decodes a whole file. False with a short reason in `error` on any fault;
// never reads beyond `size`.
bool DecodeImage(const uint8_t* data, size_t size, DecodedImage* out, std::string* error);

bool DecodePng(const uint8_t* data, size_t size, DecodedImage* out, std::string* error);
bool DecodeJpeg(const uint8_t* data, size_t size, DecodedImage* out, std::string* error);
bool DecodeTga(const uint8_t* data, size_t size, DecodedImage* out, std::string* error);
bool DecodeBmp(const uint8_t* data, size_t size, DecodedImage* out, std::string* error);

// Replaces every pixel equal to `key` by transparent black (0). A key of 0
// means no colour key.
void ApplyColorKey(DecodedImage& image, uint32_t key);

}  // namespace plat
