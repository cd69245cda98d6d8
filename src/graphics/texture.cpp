#include "graphics/texture.h"

#include "engine/file_opener.h"
#include "engine/logger.h"
#include "graphics/texture_dds.h"
#include "platform/image_texture.h"

bool CTexture::LoadTextureFile(plat::RenderDevice* device, const char* file_name, uint32_t levels) {
    _device = device;
    _texture.reset();
    CLogger& log = CLogger::Instance();
    std::vector<uint8_t> bytes;
    if (!CFileOpener::Instance().ReadFile(file_name, bytes)) {
        log.Log(2, "Error: Failed to open texture file '%s'! The file is missing or empty.", file_name);
        return false;
    }
    if (!device) {
        log.Log(2, "Error: Loading texture %s! No graphics device. Error code: 0x%X", file_name,
                static_cast<unsigned>(plat::kErrInvalidCall));
        return false;
    }
    std::unique_ptr<plat::Texture> texture;
    uint32_t width = 0, height = 0;
    DDSImageInfo dds_info;
    if (LoadDDSTexture(*device, bytes, &dds_info, &texture)) {
        width = dds_info.width;
        height = dds_info.height;
    } else if (bytes.size() >= 4 && bytes[0] == 'D' && bytes[1] == 'D' && bytes[2] == 'S' && bytes[3] == ' ') {
        // The DDS reader has logged what it found wrong.
        log.Log(2, "Error: Loading texture %s! Damaged data: a DDS file that cannot be read.", file_name);
        return false;
    } else {
        plat::ImageInfo info;
        std::string reason;
        const plat::Result r = plat::CreateTextureFromFileInMemory(*device, bytes.data(), bytes.size(), levels,
                                                                   0xFF000000u, &info, &texture, &reason);
        if (plat::Failed(r) || !texture) {
            log.Log(2, "Error: Loading texture %s! %s. Error code: 0x%X", file_name,
                    reason.empty() ? "Unknown failure" : reason.c_str(), static_cast<unsigned>(r));
            return false;
        }
        width = info.width;
        height = info.height;
    }
    _texture = std::move(texture);
    _width = static_cast<float>(width);
    _height = static_cast<float>(height);
    return true;
}

bool CTexture::MakeGrayscale() {
    if (!_texture) return false;
    CLogger& log = CLogger::Instance();
    for (uint32_t level = 0; level < _texture->LevelCount(); ++level) {
        const plat::Format f = _texture->GetFormat();
        if (f != plat::Format::A8R8G8B8 && f != plat::Format::X8R8G8B8) {
            log.Log(2, "Error: Unable to make gray scale texture! Invalid texture format.");
            return false;
        }
        void* bits = nullptr;
        uint32_t pitch = 0;
        if (plat::Failed(_texture->LockRect(level, &bits, &pitch))) {
            log.Log(2, "Error: Failed to lock texture!");
            return false;
        }
        if (!bits) {
            _texture->UnlockRect(level);
            return false;
        }
        // Rows are walked by the locked pitch.
        const uint32_t w = _texture->Width(level), h = _texture->Height(level);
        for (uint32_t y = 0; y < h; ++y) {
            uint8_t* p = static_cast<uint8_t*>(bits) + static_cast<size_t>(y) * pitch;
            for (uint32_t x = 0; x < w; ++x, p += 4) {
                const uint8_t grey = static_cast<uint8_t>((p[0] + p[1]) >> 1);  // blue and green
                p[0] = p[1] = p[2] = grey;
            }
        }
        if (plat::Failed(_texture->UnlockRect(level))) log.Log(2, "Error: Failed to unlock texture!");
    }
    return true;
}

bool CTexture::CopyFrom(const CTexture& other) {
    plat::Texture* src = other._texture.get();
    if (!src || !other._device) return false;
    std::unique_ptr<plat::Texture> copy;
    if (plat::Failed(other._device->CreateTexture(src->Width(0), src->Height(0), src->LevelCount(), src->GetFormat(),
                                                  &copy)) ||
        !copy)
        return false;
    for (uint32_t level = 0; level < src->LevelCount() && level < copy->LevelCount(); ++level)
        if (plat::Failed(other._device->CopyLevel(*src, *copy, level))) return false;
    _device = other._device;
    _width = static_cast<float>(copy->Width(0));
    _height = static_cast<float>(copy->Height(0));
    _texture = std::move(copy);
    return true;
}
