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

// How a level lies in the file: `rows` rows (of 4x4 blocks for block formats)
// of `row_bytes` each, `stride` bytes apart.
struct LevelLayout {
    uint32_t rows = 0;
    uint32_t row_bytes = 0;
    uint32_t stride = 0;
    size_t Bytes() const { return rows ? static_cast<size_t>(stride) * (rows - 1) + row_bytes : 0; }
};

LevelLayout Layout(plat::Format f, uint32_t w, uint32_t h, uint32_t stride_override) {
    LevelLayout l;
    if (IsBlock(f)) {
        const uint32_t block = f == plat::Format::DXT1 ? 8 : 16;
        l.rows = std::max(1u, (h + 3) / 4);
        l.row_bytes = std::max(1u, (w + 3) / 4) * block;
    } else {
        l.rows = h;
        l.row_bytes = w * static_cast<uint32_t>(plat::BytesPerPixel(f));
    }
    l.stride = stride_override ? stride_override : l.row_bytes;
    l.row_bytes = std::min(l.row_bytes, l.stride);
    return l;
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
    const uint32_t copy = std::min(layout.row_bytes, pitch);
    for (uint32_t r = 0; r < layout.rows; ++r)
        std::memcpy(static_cast<uint8_t*>(bits) + static_cast<size_t>(r) * pitch, src + static_cast<size_t>(r) * layout.stride,
                    copy);
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

uint32_t GetDDSDataSize(plat::Format f, uint32_t w, uint32_t h) {
    switch (f) {
        case plat::Format::DXT1: return w * h / 2;
        case plat::Format::DXT2:
        case plat::Format::DXT3:
        case plat::Format::DXT4:
        case plat::Format::DXT5: return w * h;
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

    // Top-level size: the header's value, which for an uncompressed file that
    // declares a row pitch is the pitch of one row; else the format table.
    const bool has_pitch = !IsBlock(format) && (h.flags & kDDSFlagPitch) && h.pitch_or_linear_size != 0;
    uint64_t size = h.pitch_or_linear_size;
    if (has_pitch) {
        size = static_cast<uint64_t>(h.pitch_or_linear_size) * h.height;
    } else if (size == 0) {
        size = GetDDSDataSize(format, h.width, h.height);
        if (h.flags & kDDSFlagMipmapCount) throw CDDSMipmapError();
    }
    const LevelLayout top = Layout(format, h.width, h.height, has_pitch ? h.pitch_or_linear_size : 0);
    if (h.width == 0 || h.height == 0 || data.size() < kDDSHeaderSize + size || top.Bytes() > size) {
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
        if (offset + layout.Bytes() > data.size() || (w == 1 && hh == 1 && l + 1 < levels)) {
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
