#pragma once
// Texture creation from an image file held in memory: our stand-in for the
// D3DX call the texture store makes for every file that is not one of its own
// DDS files. The texture takes the image's own size (no rounding to powers of
// two) and the format A8R8G8B8; pixels equal to the colour key become
// transparent black.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/image_decoder.h"
#include "platform/render_device.h"

namespace plat {

// The "take it from the file" value of sizes and level counts.
constexpr uint32_t kDefaultValue = 0xFFFFFFFFu;
// Returned when the bytes are no image we can read.
constexpr Result kErrInvalidData = static_cast<Result>(0x88760B59);

// What was read from the file (the D3DX image-information record).
struct ImageInfo {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t depth = 0;
    uint32_t mip_levels = 0;
    Format format = Format::Unknown;
    ImageFileFormat file_format = ImageFileFormat::Unknown;
};

// Decodes `data` and creates a texture of the file's size with `mip_levels`
// levels (0 or kDefaultValue: the whole chain down to 1x1), each level a box
// reduction of the one above. `color_key` 0 disables keying. Images larger
// than the device's texture limit are refused from their header. On failure
// `reason` (when given) says why in words: "Unknown format", "Damaged data:
// <what>" or what the device refused.
Result CreateTextureFromFileInMemory(RenderDevice& device, const void* data, size_t size, uint32_t mip_levels,
                                     uint32_t color_key, ImageInfo* info, std::unique_ptr<Texture>* out,
                                     std::string* reason = nullptr);

// Writes ARGB pixels into a locked A8R8G8B8 (or X8R8G8B8) level, row by row
// at the level's pitch.
Result FillLevel(Texture& texture, uint32_t level, const uint32_t* argb, uint32_t width, uint32_t height);

// Halves an ARGB image (each side at least 1) by averaging 2x2 blocks.
void HalveImage(const std::vector<uint32_t>& src, uint32_t w, uint32_t h, std::vector<uint32_t>* dst,
                uint32_t* dw, uint32_t* dh);

}  // namespace plat
