#pragma once
// The program's own reader of DDS files in a few plain formats: DXT1, DXT3,
// DXT5 (by FourCC), A4R4G4B4 and A8R8G8B8 (by the bit counts of the masks).
// Other files are declined so that the image loader can try them.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

#include "platform/render_device.h"

// Raised for a file that gives a mipmap count but no top-level size.
class CDDSMipmapError : public std::runtime_error {
public:
    CDDSMipmapError() : std::runtime_error("MIPMAPs support for DDS it not implemented!") {}
};

struct DDSHeaderInfo {
    uint32_t flags = 0;
    uint32_t height = 0;
    uint32_t width = 0;
    uint32_t pitch_or_linear_size = 0;
    uint32_t mipmap_count = 0;
    uint32_t pf_flags = 0;
    uint32_t fourcc = 0;
    uint32_t masks[4] = {0, 0, 0, 0};  // red, green, blue, alpha
};

// The image-information record the reader fills.
struct DDSImageInfo {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t depth = 0;
    uint32_t mip_levels = 0;
    plat::Format format = plat::Format::Unknown;
};

constexpr uint32_t kDDSMagic = 0x20534444;  // "DDS "
constexpr size_t kDDSHeaderSize = 128;
constexpr uint32_t kDDSFlagPitch = 0x8;
constexpr uint32_t kDDSFlagMipmapCount = 0x20000;
constexpr uint32_t kDDSPixelFourCC = 0x4;

// Reads the header fields the reader uses; false when fewer than 128 bytes.
bool ReadDDSHeader(const uint8_t* data, size_t size, DDSHeaderInfo* header);
// The format of a header, Unknown when not accepted.
plat::Format GetDDSFormat(const DDSHeaderInfo& header);
// Bytes of a w x h level of the format by the format table, block formats in
// whole 4x4 blocks (0 for formats outside the table).
uint64_t GetDDSDataSize(plat::Format format, uint32_t width, uint32_t height);

// Reads a DDS file held in memory. True when it made the texture; false when it
// declined (not a DDS file, or a logged fault). Throws CDDSMipmapError for a
// mipmap count without a top-level size.
bool LoadDDSTexture(plat::RenderDevice& device, const std::vector<uint8_t>& data, DDSImageInfo* info,
                    std::unique_ptr<plat::Texture>* texture);
