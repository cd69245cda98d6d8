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

// The largest side decoded by default: the texture size limit of the render
// device. A header that names a larger image is refused before anything is
// allocated for it.
constexpr uint32_t kMaxImageSide = 4096;

// Guesses the format from the leading bytes (TGA has no signature: it is the
// fallback when its header is plausible).
ImageFileFormat DetectImageFormat(const uint8_t* data, size_t size);

// Decodes a whole file. False with a short reason in `error` on any fault;
// never reads beyond `size`. Images wider or taller than `max_side` are
// refused from their header, and so is a header whose size cannot come from
// as few bytes as the file holds.
bool DecodeImage(const uint8_t* data, size_t size, DecodedImage* out, std::string* error,
                 uint32_t max_side = kMaxImageSide);

bool DecodePng(const uint8_t* data, size_t size, DecodedImage* out, std::string* error,
               uint32_t max_side = kMaxImageSide);
bool DecodeJpeg(const uint8_t* data, size_t size, DecodedImage* out, std::string* error,
                uint32_t max_side = kMaxImageSide);
bool DecodeTga(const uint8_t* data, size_t size, DecodedImage* out, std::string* error,
               uint32_t max_side = kMaxImageSide);
bool DecodeBmp(const uint8_t* data, size_t size, DecodedImage* out, std::string* error,
               uint32_t max_side = kMaxImageSide);

// Replaces every pixel equal to `key` by transparent black (0). A key of 0
// means no colour key.
void ApplyColorKey(DecodedImage& image, uint32_t key);

}  // namespace plat
