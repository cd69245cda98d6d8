#pragma once
// One loaded texture of the texture store, with the number of its holders.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/noncopyable.h"
#include "platform/render_device.h"

class CTexture : NonCopyable {
public:
    CTexture() = default;
    ~CTexture() = default;

    // Reads the file through the file opener and makes the texture: DDS files
    // by the own reader, everything else by the image loader (colour key
    // opaque black). False with a logged line on failure; the texture stays
    // null. Lets CDDSMipmapError through.
    bool LoadTextureFile(plat::RenderDevice* device, const char* file_name, uint32_t levels);
    // Turns every level grey ((blue + green) / 2 into each colour channel).
    bool MakeGrayscale();
    // Makes this object hold a copy of every level of `other`.
    bool CopyFrom(const CTexture& other);
    // Releases the texture (the object keeps its size).
    void Release() { _texture.reset(); }

    plat::Texture* GetTexture() const { return _texture.get(); }
    float GetWidth() const { return _width; }
    float GetHeight() const { return _height; }
    int GetRefCount() const { return _ref_count; }
    int AddRef() { return ++_ref_count; }
    int ReleaseRef() { return --_ref_count; }

private:
    plat::RenderDevice* _device = nullptr;
    std::unique_ptr<plat::Texture> _texture;
    float _width = 0;
    float _height = 0;
    int _ref_count = 0;
};
