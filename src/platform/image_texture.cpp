#include "platform/image_texture.h"

#include <algorithm>
#include <cstring>

namespace plat {

void HalveImage(const std::vector<uint32_t>& src, uint32_t w, uint32_t h, std::vector<uint32_t>* dst, uint32_t* dw,
                uint32_t* dh) {
    const uint32_t nw = w > 1 ? w / 2 : 1, nh = h > 1 ? h / 2 : 1;
    dst->assign(static_cast<size_t>(nw) * nh, 0);
    for (uint32_t y = 0; y < nh; ++y) {
        for (uint32_t x = 0; x < nw; ++x) {
            uint32_t sum[4] = {0, 0, 0, 0};
            uint32_t n = 0;
            for (uint32_t sy = y * 2; sy < y * 2 + 2 && sy < h; ++sy) {
                for (uint32_t sx = x * 2; sx < x * 2 + 2 && sx < w; ++sx) {
                    const uint32_t p = src[static_cast<size_t>(sy) * w + sx];
                    for (int c = 0; c < 4; ++c) sum[c] += (p >> (c * 8)) & 0xFF;
                    ++n;
                }
            }
            uint32_t out = 0;
            for (int c = 0; c < 4; ++c) out |= ((sum[c] + n / 2) / n) << (c * 8);
            (*dst)[static_cast<size_t>(y) * nw + x] = out;
        }
    }
    *dw = nw;
    *dh = nh;
}

Result FillLevel(Texture& texture, uint32_t level, const uint32_t* argb, uint32_t width, uint32_t height) {
    void* bits = nullptr;
    uint32_t pitch = 0;
    const Result r = texture.LockRect(level, &bits, &pitch);
    if (Failed(r)) return r;
    if (!bits) {
        texture.UnlockRect(level);
        return kErrFail;
    }
    for (uint32_t y = 0; y < height; ++y)
        std::memcpy(static_cast<uint8_t*>(bits) + static_cast<size_t>(y) * pitch, argb + static_cast<size_t>(y) * width,
                    static_cast<size_t>(width) * 4);
    return texture.UnlockRect(level);
}

Result CreateTextureFromFileInMemory(RenderDevice& device, const void* data, size_t size, uint32_t mip_levels,
                                     uint32_t color_key, ImageInfo* info, std::unique_ptr<Texture>* out,
                                     std::string* reason) {
    if (!out) return kErrInvalidCall;
    out->reset();
    DecodedImage image;
    std::string error;
    const auto* bytes = static_cast<const uint8_t*>(data);
    const uint32_t max_side = std::min(device.MaxTextureWidth(), device.MaxTextureHeight());
    if (!DecodeImage(bytes, size, &image, &error, max_side)) {
        if (reason) {
            *reason = DetectImageFormat(bytes, size) == ImageFileFormat::Unknown ? "Unknown format"
                                                                                 : "Damaged data: " + error;
        }
        return kErrInvalidData;
    }
    ApplyColorKey(image, color_key);

    uint32_t levels = 1;
    if (mip_levels == 0 || mip_levels == kDefaultValue) {
        for (uint32_t s = std::max(image.width, image.height); s > 1; s /= 2) ++levels;
    } else {
        levels = mip_levels;
    }
    std::unique_ptr<Texture> texture;
    const Result r = device.CreateTexture(image.width, image.height, levels, Format::A8R8G8B8, &texture);
    if (Failed(r)) {
        if (reason) *reason = "The device refused the texture";
        return r;
    }
    levels = texture->LevelCount();

    std::vector<uint32_t> pixels = std::move(image.argb), next;
    uint32_t w = image.width, h = image.height;
    for (uint32_t level = 0; level < levels; ++level) {
        if (level > 0) {
            uint32_t nw, nh;
            HalveImage(pixels, w, h, &next, &nw, &nh);
            pixels.swap(next);
            w = nw;
            h = nh;
        }
        const Result fr = FillLevel(*texture, level, pixels.data(), w, h);
        if (Failed(fr)) {
            if (reason) *reason = "The texture could not be filled";
            return fr;
        }
    }
    if (info) {
        info->width = image.width;
        info->height = image.height;
        info->depth = 1;
        info->mip_levels = levels;
        info->format = Format::A8R8G8B8;
        info->file_format = DetectImageFormat(bytes, size);
    }
    *out = std::move(texture);
    return kOk;
}

}  // namespace plat
