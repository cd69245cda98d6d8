#pragma once
// Shared by the drawing tests: small image and DDS files written into the
// scratch folder, and an offscreen render device.
#include <cstdint>
#include <string>
#include <vector>

#include "engine/data_test_support.h"
#include "platform/render_device.h"

namespace gfx_test {

inline void Put16(std::string& v, uint16_t x) {
    v.push_back(static_cast<char>(x & 0xFF));
    v.push_back(static_cast<char>(x >> 8));
}
inline void Put32(std::string& v, uint32_t x) {
    for (int i = 0; i < 4; ++i) v.push_back(static_cast<char>((x >> (8 * i)) & 0xFF));
}

// A 32-bit top-down TGA of ARGB pixels.
inline std::string Tga(uint16_t w, uint16_t h, const std::vector<uint32_t>& argb) {
    std::string v = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    Put16(v, w);
    Put16(v, h);
    v.push_back(32);
    v.push_back(0x28);
    for (uint32_t p : argb) Put32(v, p);  // little-endian ARGB is B, G, R, A
    return v;
}

// A solid-colour TGA.
inline std::string SolidTga(uint16_t w, uint16_t h, uint32_t argb) {
    return Tga(w, h, std::vector<uint32_t>(static_cast<size_t>(w) * h, argb));
}

struct DdsLayout {
    uint32_t flags = 0x1007;  // caps, height, width, pixel format
    uint32_t width = 4, height = 4;
    uint32_t pitch_or_linear = 0;
    uint32_t mipmaps = 0;
    uint32_t pf_flags = 0x41;  // RGB with alpha
    std::string fourcc;
    uint32_t masks[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};
};

// A DDS header followed by `payload`.
inline std::string Dds(const DdsLayout& s, const std::string& payload) {
    std::string v = "DDS ";
    Put32(v, 124);
    Put32(v, s.flags);
    Put32(v, s.height);
    Put32(v, s.width);
    Put32(v, s.pitch_or_linear);
    Put32(v, 0);
    Put32(v, s.mipmaps);
    v.append(44, '\0');
    Put32(v, 32);
    Put32(v, s.pf_flags);
    std::string cc = s.fourcc;
    cc.resize(4, '\0');
    v += cc;
    Put32(v, 32);
    for (uint32_t m : s.masks) Put32(v, m);
    v.append(20, '\0');
    return v + payload;
}

inline std::unique_ptr<plat::RenderDevice> OffscreenDevice() { return plat::RenderDevice::CreateOffscreen({}); }

}  // namespace gfx_test
