// The render device's textures: every level in the pixel format it was made
// with, and level 0 decoded to 32-bit ARGB for drawing.
#include "platform/render_device.h"

#include <algorithm>
#include <cstring>

namespace plat {

// ---------------------------------------------------------------- formats

int BytesPerPixel(Format f) {
    switch (f) {
        case Format::R8G8B8: return 3;
        case Format::A8R8G8B8:
        case Format::X8R8G8B8: return 4;
        case Format::R5G6B5:
        case Format::X1R5G5B5:
        case Format::A1R5G5B5:
        case Format::A4R4G4B4: return 2;
        case Format::R3G3B2: return 1;
        default: return 0;
    }
}

bool IsBlockFormat(Format f) {
    return f == Format::DXT1 || f == Format::DXT2 || f == Format::DXT3 || f == Format::DXT4 || f == Format::DXT5;
}

namespace {

uint32_t Expand565(uint16_t c) {
    uint32_t r = (c >> 11) & 31, g = (c >> 5) & 63, b = c & 31;
    return ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
}

uint32_t Expand555(uint16_t c) {
    uint32_t r = (c >> 10) & 31, g = (c >> 5) & 31, b = c & 31;
    return ((r << 3 | r >> 2) << 16) | ((g << 3 | g >> 2) << 8) | (b << 3 | b >> 2);
}

uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

// The four colours of a DXT colour block (rgb only); `three` selects the
// three-colour mode with transparent black that DXT1 uses when c0 <= c1.
void BlockColors(const uint8_t* block, bool allow_three, uint32_t out[4], bool* transparent3) {
    uint16_t c0 = Read16(block), c1 = Read16(block + 2);
    uint32_t a = Expand565(c0), b = Expand565(c1);
    out[0] = a;
    out[1] = b;
    auto mix = [](uint32_t x, uint32_t y, int wx, int wy, int d) {
        uint32_t r = 0;
        for (int s = 0; s <= 16; s += 8) r |= (((((x >> s) & 0xFF) * wx + ((y >> s) & 0xFF) * wy) / d) & 0xFF) << s;
        return r;
    };
    *transparent3 = false;
    if (!allow_three || c0 > c1) {
        out[2] = mix(a, b, 2, 1, 3);
        out[3] = mix(a, b, 1, 2, 3);
    } else {
        out[2] = mix(a, b, 1, 1, 2);
        out[3] = 0;
        *transparent3 = true;
    }
}

void DecodeBlock(Format f, const uint8_t* block, uint32_t px[16]) {
    const uint8_t* color = block;
    uint8_t alpha[16];
    std::fill(alpha, alpha + 16, 255);
    if (f == Format::DXT2 || f == Format::DXT3) {
        for (int i = 0; i < 16; ++i) {
            uint32_t nib = (block[i / 2] >> ((i & 1) * 4)) & 0xF;
            alpha[i] = static_cast<uint8_t>(nib * 17);
        }
        color = block + 8;
    } else if (f == Format::DXT4 || f == Format::DXT5) {
        uint32_t a0 = block[0], a1 = block[1];
        uint32_t table[8] = {a0, a1};
        if (a0 > a1) {
            for (int i = 1; i < 7; ++i) table[i + 1] = ((7 - i) * a0 + i * a1) / 7;
        } else {
            for (int i = 1; i < 5; ++i) table[i + 1] = ((5 - i) * a0 + i * a1) / 5;
            table[6] = 0;
            table[7] = 255;
        }
        uint64_t bits = 0;
        for (int i = 0; i < 6; ++i) bits |= static_cast<uint64_t>(block[2 + i]) << (8 * i);
        for (int i = 0; i < 16; ++i) alpha[i] = static_cast<uint8_t>(table[(bits >> (3 * i)) & 7]);
        color = block + 8;
    }
    uint32_t colors[4];
    bool transparent3 = false;
    BlockColors(color, f == Format::DXT1, colors, &transparent3);
    uint32_t idx = static_cast<uint32_t>(color[4]) | color[5] << 8 | color[6] << 16 | static_cast<uint32_t>(color[7]) << 24;
    for (int i = 0; i < 16; ++i) {
        uint32_t k = (idx >> (2 * i)) & 3;
        uint32_t a = alpha[i];
        if (transparent3 && k == 3) a = 0;
        px[i] = (a << 24) | colors[k];
    }
}

}  // namespace

void DecodeToArgb(Format f, const uint8_t* src, uint32_t pitch, uint32_t width, uint32_t height, uint32_t* out) {
    if (IsBlockFormat(f)) {
        uint32_t block_bytes = f == Format::DXT1 ? 8 : 16;
        for (uint32_t by = 0; by < (height + 3) / 4; ++by)
            for (uint32_t bx = 0; bx < (width + 3) / 4; ++bx) {
                uint32_t px[16];
                DecodeBlock(f, src + by * pitch + bx * block_bytes, px);
                for (uint32_t j = 0; j < 4; ++j)
                    for (uint32_t i = 0; i < 4; ++i) {
                        uint32_t x = bx * 4 + i, y = by * 4 + j;
                        if (x < width && y < height) out[y * width + x] = px[j * 4 + i];
                    }
            }
        return;
    }
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* row = src + static_cast<size_t>(y) * pitch;
        uint32_t* dst = out + static_cast<size_t>(y) * width;
        for (uint32_t x = 0; x < width; ++x) {
            switch (f) {
                case Format::A8R8G8B8: {
                    uint32_t p;
                    std::memcpy(&p, row + 4 * x, 4);
                    dst[x] = p;
                    break;
                }
                case Format::X8R8G8B8: {
                    uint32_t p;
                    std::memcpy(&p, row + 4 * x, 4);
                    dst[x] = p | 0xFF000000u;
                    break;
                }
                case Format::R8G8B8:
                    dst[x] = 0xFF000000u | row[3 * x + 2] << 16 | row[3 * x + 1] << 8 | row[3 * x];
                    break;
                case Format::R5G6B5: dst[x] = 0xFF000000u | Expand565(Read16(row + 2 * x)); break;
                case Format::X1R5G5B5: dst[x] = 0xFF000000u | Expand555(Read16(row + 2 * x)); break;
                case Format::A1R5G5B5: {
                    uint16_t p = Read16(row + 2 * x);
                    dst[x] = ((p & 0x8000) ? 0xFF000000u : 0u) | Expand555(p);
                    break;
                }
                case Format::A4R4G4B4: {
                    uint16_t p = Read16(row + 2 * x);
                    dst[x] = ((p >> 12) & 0xF) * 0x11000000u | ((p >> 8) & 0xF) * 0x110000u | ((p >> 4) & 0xF) * 0x1100u |
                             (p & 0xF) * 0x11u;
                    break;
                }
                case Format::R3G3B2: {
                    uint8_t p = row[x];
                    dst[x] = 0xFF000000u | ((p >> 5) & 7) * 255 / 7 << 16 | ((p >> 2) & 7) * 255 / 7 << 8 | (p & 3) * 85;
                    break;
                }
                default: dst[x] = 0; break;
            }
        }
    }
}

// ---------------------------------------------------------------- textures

Texture::Texture(uint32_t width, uint32_t height, uint32_t levels, Format format)
    : _format(format), _width(std::max(1u, width)), _height(std::max(1u, height)) {
    uint32_t full = 1;
    for (uint32_t w = _width, h = _height; w > 1 || h > 1; w = std::max(1u, w / 2), h = std::max(1u, h / 2)) ++full;
    uint32_t n = levels == 0 ? full : std::min(levels, full);
    _levels.resize(n);
    _locked.assign(n, false);
    for (uint32_t l = 0; l < n; ++l) _levels[l].assign((LevelSize(l) + 3) / 4, 0);
    Refresh();
}

Texture::~Texture() {
    if (_reader) _reader->ReleaseTexels(*this);
}

uint32_t Texture::Width(uint32_t level) const { return std::max(1u, _width >> std::min(level, 31u)); }
uint32_t Texture::Height(uint32_t level) const { return std::max(1u, _height >> std::min(level, 31u)); }

uint32_t Texture::Pitch(uint32_t level) const {
    if (IsBlockFormat(_format)) return ((Width(level) + 3) / 4) * (_format == Format::DXT1 ? 8 : 16);
    return Width(level) * static_cast<uint32_t>(BytesPerPixel(_format));
}

size_t Texture::LevelSize(uint32_t level) const {
    size_t rows = IsBlockFormat(_format) ? (Height(level) + 3) / 4 : Height(level);
    return rows * Pitch(level);
}

Result Texture::LockRect(uint32_t level, void** bits, uint32_t* pitch) {
    if (level >= _levels.size() || _locked[level] || !bits) return kErrInvalidCall;
    // Level 0 may be what the device samples: a draw recorded with it is
    // finished before the texels change.
    if (level == 0 && _reader) _reader->ReleaseTexels(*this);
    _locked[level] = true;
    *bits = _levels[level].data();
    if (pitch) *pitch = Pitch(level);
    return kOk;
}

Result Texture::UnlockRect(uint32_t level) {
    if (level >= _levels.size() || !_locked[level]) return kErrInvalidCall;
    _locked[level] = false;
    if (level == 0) {
        if (_reader) _reader->ReleaseTexels(*this);
        Refresh();
    }
    return kOk;
}

void Texture::Refresh() {
    // 32-bit ARGB with alpha is sampled where it is stored; other formats
    // are decoded to a copy.
    if (_format == Format::A8R8G8B8) {
        std::vector<uint32_t>().swap(_argb);
        return;
    }
    _argb.resize(static_cast<size_t>(_width) * _height);
    DecodeToArgb(_format, reinterpret_cast<const uint8_t*>(_levels[0].data()), Pitch(0), _width, _height, _argb.data());
}

const uint32_t* Texture::Texels() const { return _argb.empty() ? _levels[0].data() : _argb.data(); }

std::vector<uint32_t> Texture::ToArgb() const {
    const uint32_t* texels = Texels();
    return std::vector<uint32_t>(texels, texels + static_cast<size_t>(_width) * _height);
}

}  // namespace plat
