#include "graphics/texture_dds.h"

#include <algorithm>
#include <cstring>

#include "engine/logger.h"

namespace {

uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

int CountBits(uint32_t m) {
    int n = 0;
    for (; m; m &= m - 1) ++n;
    return n;
}

constexpr uint32_t FourCC(char a, char b, char c, char d) {
    return static_cast<uint32_t>(static_cast<uint8_t>(a)) | (static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8) |
           (static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16) |
           (static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24);
}

bool IsBlock(plat::Format f) {
    return f == plat::Format::DXT1 || f == plat::Format::DXT2 || f == plat::Format::DXT3 ||
           f == plat::Format::DXT4 || f == plat::Format::DXT5;
}

// How a level lies in the file: `rows` rows (of 4x4 blocks for block formats,
// a partial block counting whole) of `row_bytes` each, `stride` bytes apart.
struct LevelLayout {
    uint64_t rows = 0;
    uint64_t row_bytes = 0;
    uint64_t stride = 0;
    uint64_t Bytes() const { return rows ? stride * (rows - 1) + row_bytes : 0; }
};

LevelLayout Layout(plat::Format f, uint32_t w, uint32_t h, uint32_t stride_override) {
    LevelLayout l;
    if (IsBlock(f)) {
        const uint64_t block = f == plat::Format::DXT1 ? 8 : 16;
        l.rows = std::max<uint64_t>(1, (static_cast<uint64_t>(h) + 3) / 4);
        l.row_bytes = std::max<uint64_t>(1, (static_cast<uint64_t>(w) + 3) / 4) * block;
    } else {
        l.rows = h;
        l.row_bytes = static_cast<uint64_t>(w) * static_cast<uint64_t>(plat::BytesPerPixel(f));
    }
    l.stride = stride_override ? stride_override : l.row_bytes;
    l.row_bytes = std::min(l.row_bytes, l.stride);
    return l;
}

// Bytes of the top level in the file and, for rows laid at a pitch, the pitch
// (0 when the rows follow each other).
struct TopLevelSize {
    uint64_t bytes = 0;
    uint32_t pitch = 0;
};

// The header's pitch-or-linear-size, read as the writers of the files meet
// it: for a plain format, a row pitch when the pitch flag says so, and also
// without the flag when it is at least one row but less than the whole level;
// otherwise the size of the level, which for a block format is never less
// than its whole 4x4 blocks (a 2x2 DXT1 level is one 8-byte block, not 2
// bytes). Zero: the size by the format table.
TopLevelSize GetTopLevelSize(const DDSHeaderInfo& h, plat::Format format) {
    const uint32_t value = h.pitch_or_linear_size;
    if (value == 0) {
        if (h.flags & kDDSFlagMipmapCount) throw CDDSMipmapError();
        return {GetDDSDataSize(format, h.width, h.height), 0};
    }
    const LevelLayout packed = Layout(format, h.width, h.height, 0);
    if (IsBlock(format)) return {std::max<uint64_t>(value, packed.Bytes()), 0};
    const bool flagged = (h.flags & kDDSFlagPitch) != 0;
    if (flagged || (value >= packed.row_bytes && value < packed.Bytes()))
        return {static_cast<uint64_t>(value) * h.height, value};
    return {value, 0};
}

// Copies one level from the file into the texture, row by row at the locked
// pitch. Logs and returns false on a lock failure.
bool FillLevel(plat::Texture& tex, uint32_t level, const uint8_t* src, const LevelLayout& layout) {
    void* bits = nullptr;
    uint32_t pitch = 0;
    if (plat::Failed(tex.LockRect(level, &bits, &pitch)) || !bits) {
        CLogger::Instance().Log(2, "Error: Failed to lock texture!");
        return false;
    }
    const size_t copy = static_cast<size_t>(std::min<uint64_t>(layout.row_bytes, pitch));
    for (uint64_t r = 0; r < layout.rows; ++r)
        std::memcpy(static_cast<uint8_t*>(bits) + static_cast<size_t>(r) * pitch,
                    src + static_cast<size_t>(r * layout.stride), copy);
    if (plat::Failed(tex.UnlockRect(level))) {
        CLogger::Instance().Log(2, "Error: Failed to unlock texture!");
        return false;
    }
    return true;
}

}  // namespace

bool ReadDDSHeader(const uint8_t* data, size_t size, DDSHeaderInfo* h) {
    if (!data || size < kDDSHeaderSize) return false;
    h->flags = Le32(data + 8);
    h->height = Le32(data + 12);
    h->width = Le32(data + 16);
    h->pitch_or_linear_size = Le32(data + 20);
    h->mipmap_count = Le32(data + 28);
    h->pf_flags = Le32(data + 80);
    h->fourcc = Le32(data + 84);
    for (int i = 0; i < 4; ++i) h->masks[i] = Le32(data + 92 + 4 * i);
    return true;
}

plat::Format GetDDSFormat(const DDSHeaderInfo& h) {
    if (h.pf_flags & kDDSPixelFourCC) {
        if (h.fourcc == FourCC('D', 'X', 'T', '1')) return plat::Format::DXT1;
        if (h.fourcc == FourCC('D', 'X', 'T', '3')) return plat::Format::DXT3;
        if (h.fourcc == FourCC('D', 'X', 'T', '5')) return plat::Format::DXT5;
        return plat::Format::Unknown;
    }
    const int r = CountBits(h.masks[0]), g = CountBits(h.masks[1]), b = CountBits(h.masks[2]),
              a = CountBits(h.masks[3]);
    if (r == 4 && g == 4 && b == 4 && a == 4) return plat::Format::A4R4G4B4;
    if (r == 8 && g == 8 && b == 8 && a == 8) return plat::Format::A8R8G8B8;
    return plat::Format::Unknown;
}

uint64_t GetDDSDataSize(plat::Format f, uint32_t width, uint32_t height) {
    const uint64_t w = width, h = height;
    // Block formats are stored in whole 4x4 blocks.
    const uint64_t blocks = ((w + 3) / 4) * ((h + 3) / 4);
    switch (f) {
        case plat::Format::DXT1: return blocks * 8;
        case plat::Format::DXT2:
        case plat::Format::DXT3:
        case plat::Format::DXT4:
        case plat::Format::DXT5: return blocks * 16;
        case plat::Format::A8R8G8B8:
        case plat::Format::X8R8G8B8: return w * h * 4;
        case plat::Format::R8G8B8: return w * h * 3;
        case plat::Format::R5G6B5:
        case plat::Format::X1R5G5B5:
        case plat::Format::A1R5G5B5:
        case plat::Format::A4R4G4B4: return w * h * 2;
        case plat::Format::R3G3B2: return w * h;
        default: return 0;
    }
}

bool LoadDDSTexture(plat::RenderDevice& device, const std::vector<uint8_t>& data, DDSImageInfo* info,
                    std::unique_ptr<plat::Texture>* texture) {
    CLogger& log = CLogger::Instance();
    if (data.size() < 4 || Le32(data.data()) != kDDSMagic) return false;
    if (data.size() <= kDDSHeaderSize) {
        log.Log(2, "Error: corrupted dds file!");
        return false;
    }
    DDSHeaderInfo h;
    ReadDDSHeader(data.data(), data.size(), &h);
    const plat::Format format = GetDDSFormat(h);
    if (format == plat::Format::Unknown) {
        log.Log(2, "Error: Unknown dds format!");
        return false;
    }

    const TopLevelSize top_size = GetTopLevelSize(h, format);
    const uint64_t size = top_size.bytes;
    const LevelLayout top = Layout(format, h.width, h.height, top_size.pitch);
    if (h.width == 0 || h.height == 0 || data.size() - kDDSHeaderSize < size || top.Bytes() > size) {
        log.Log(2, "Error: corrupted dds file!");
        return false;
    }

    // Further levels follow the top one, each packed; a file that does not
    // hold them all is given a texture of one level.
    uint32_t levels = (h.flags & kDDSFlagMipmapCount) ? std::max(1u, h.mipmap_count) : 1;
    std::vector<std::pair<size_t, LevelLayout>> chain = {{kDDSHeaderSize, top}};
    size_t offset = kDDSHeaderSize + static_cast<size_t>(size);
    for (uint32_t l = 1; l < levels; ++l) {
        const uint32_t w = std::max(1u, h.width >> l), hh = std::max(1u, h.height >> l);
        const LevelLayout layout = Layout(format, w, hh, 0);
        if (layout.Bytes() > data.size() - offset || (w == 1 && hh == 1 && l + 1 < levels)) {
            chain.resize(1);
            break;
        }
        chain.push_back({offset, layout});
        offset += layout.Bytes();
    }
    levels = static_cast<uint32_t>(chain.size());

    std::unique_ptr<plat::Texture> tex;
    if (plat::Failed(device.CreateTexture(h.width, h.height, levels, format, &tex)) || !tex) {
        log.Log(2, "Error: Unable to create texture!");
        return false;
    }
    for (uint32_t l = 0; l < levels && l < tex->LevelCount(); ++l)
        if (!FillLevel(*tex, l, data.data() + chain[l].first, chain[l].second)) return false;

    if (info) {
        info->width = h.width;
        info->height = h.height;
        info->depth = 1;
        info->mip_levels = h.mipmap_count;
        info->format = format;
    }
    *texture = std::move(tex);
    return true;
}
