#pragma once
// The particle-effect library: the textures and the named emitters read from
// the effect library file, the gradient-noise tables, and the one vertex
// buffer that every particle player shares.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "graphics/particle_emitter.h"
#include "graphics/plume_noise.h"

namespace plat {
class RenderDevice;
class Texture;
class VertexBuffer;
}  // namespace plat

class CPlume;

namespace Plume {

struct LibraryTexture {
    uint32_t id = 0;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t bits = 0;            // 8, 16, 24 or 32
    std::vector<uint8_t> pixels;  // rows as stored: bottom row first
    std::unique_ptr<plat::Texture> texture;

    LibraryTexture();
    ~LibraryTexture();
    // The pixels as 32-bit ARGB, top row first.
    std::vector<uint32_t> ToArgb() const;
};

class CLibrary {
public:
    // The vertex buffer holds 1000 quads of four 24-byte vertices.
    static constexpr size_t kVertexBufferBytes = 96000;
    static constexpr size_t kQuadsPerBuffer = kVertexBufferBytes / (4 * 24);

    CLibrary();
    ~CLibrary();
    CLibrary(const CLibrary&) = delete;
    CLibrary& operator=(const CLibrary&) = delete;

    // Reads a whole library file from memory. Every read is checked: a short
    // or damaged file, a name length above 127, a curve without keys or a
    // texture id the library lacks give false with the reason in `error`,
    // and the library is left empty.
    bool Read(const uint8_t* data, size_t size, std::string* error);
    // Creates the device textures of every library texture; false when one fails.
    bool CreateTextures(plat::RenderDevice& device);
    void ReleaseTextures();

    // The first emitter of that name in file order, or null.
    const CParticleEmitter* Find(const std::string& name) const;
    const LibraryTexture* FindTexture(uint32_t id) const;

    size_t EmitterCount() const { return _emitters.size(); }
    const CParticleEmitter& Emitter(size_t i) const { return *_emitters[i]; }
    size_t TextureCount() const { return _textures.size(); }
    const LibraryTexture& Texture(size_t i) const { return *_textures[i]; }

    CNoise& Noise() { return _noise; }
    const CNoise& Noise() const { return _noise; }

    // The shared vertex buffer: the first use creates it, the last release frees it.
    bool AcquireVertexBuffer(plat::RenderDevice* device);
    void ReleaseVertexBuffer();
    plat::VertexBuffer* VertexBuffer() const { return _vertex_buffer.get(); }
    int VertexBufferUses() const { return _vertex_buffer_uses; }

    plat::RenderDevice* Device() const { return _device; }
    void SetDevice(plat::RenderDevice* device) { _device = device; }

    // The program's one library, made on first use. Players keep a reference,
    // so a library released while a player still runs stays valid (without
    // textures) until that player goes.
    static std::shared_ptr<CLibrary> Instance();
    static bool Exists();
    // Releases the textures and the library's own use of the vertex buffer,
    // forgets the device and drops the program's library; with no library the
    // failed check is logged and "Assertion failed" thrown.
    static void Release();

private:
    std::vector<std::shared_ptr<LibraryTexture>> _textures;
    std::vector<std::unique_ptr<CParticleEmitter>> _emitters;
    CNoise _noise;
    plat::RenderDevice* _device = nullptr;
    std::unique_ptr<plat::VertexBuffer> _vertex_buffer;
    int _vertex_buffer_uses = 0;
    bool _holds_vertex_buffer = false;  // LoadLibrary's own use
    friend class ::CPlume;
};

}  // namespace Plume
