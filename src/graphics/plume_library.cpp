#include "graphics/plume_library.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/logger.h"
#include "graphics/plume_slots.h"
#include "platform/render_device.h"

namespace Plume {

namespace {

// Largest texture side accepted; anything larger is taken for damage.
constexpr uint32_t kMaxTextureSide = 4096;
// Bound of the emitter's rate multiplier.
constexpr float kMaxRateScale = 100.0f;

class Reader {
public:
    Reader(const uint8_t* data, size_t size) : _data(data), _size(size) {}

    bool U32(uint32_t* v, const char* what) {
        if (!Need(4, what)) return false;
        *v = uint32_t(_data[_pos]) | uint32_t(_data[_pos + 1]) << 8 | uint32_t(_data[_pos + 2]) << 16 |
             uint32_t(_data[_pos + 3]) << 24;
        _pos += 4;
        return true;
    }
    bool I32(int32_t* v, const char* what) {
        uint32_t u;
        if (!U32(&u, what)) return false;
        *v = static_cast<int32_t>(u);
        return true;
    }
    bool F32(float* v, const char* what) {
        uint32_t u;
        if (!U32(&u, what)) return false;
        std::memcpy(v, &u, 4);
        return true;
    }
    bool Bytes(std::vector<uint8_t>* out, size_t n, const char* what) {
        if (!Need(n, what)) return false;
        out->assign(_data + _pos, _data + _pos + n);
        _pos += n;
        return true;
    }
    // One signed length byte and that many characters.
    bool ShortString(std::string* out, const char* what) {
        if (!Need(1, what)) return false;
        const int8_t len = static_cast<int8_t>(_data[_pos]);
        if (len < 0) return Fail(what, "name length above 127");
        ++_pos;
        if (!Need(static_cast<size_t>(len), what)) return false;
        out->assign(reinterpret_cast<const char*>(_data + _pos), static_cast<size_t>(len));
        _pos += static_cast<size_t>(len);
        return true;
    }
    bool Curve(CParticleParam* out, const char* what) {
        uint32_t count;
        if (!U32(&count, what)) return false;
        if (count == 0) return Fail(what, "curve without keys");
        if (count > Remaining() / 8) return Fail(what, "curve runs past the end of the file");
        std::vector<ParamKey> keys(count);
        for (auto& k : keys)
            if (!F32(&k.time, what) || !F32(&k.value, what)) return false;
        *out = CParticleParam(std::move(keys));
        return true;
    }
    bool ColorCurve(CParticleColorParam* out, const char* what) {
        uint32_t count;
        if (!U32(&count, what)) return false;
        if (count == 0) return Fail(what, "colour curve without keys");
        if (count > Remaining() / 20) return Fail(what, "colour curve runs past the end of the file");
        std::vector<ColorKey> keys(count);
        for (auto& k : keys) {
            if (!F32(&k.time, what)) return false;
            for (float& c : k.c)
                if (!F32(&c, what)) return false;
        }
        int32_t repeat, extra;
        if (!I32(&repeat, what) || !I32(&extra, what)) return false;
        *out = CParticleColorParam(std::move(keys), repeat, extra);
        return true;
    }
    bool Fail(const char* what, const char* why) {
        if (_error.empty()) _error = std::string(why) + " in " + what + " at byte " + std::to_string(_pos);
        return false;
    }
    size_t Remaining() const { return _size - _pos; }
    const std::string& Error() const { return _error; }

private:
    bool Need(size_t n, const char* what) {
        if (n > Remaining()) return Fail(what, "file too short");
        return true;
    }
    const uint8_t* _data;
    size_t _size;
    size_t _pos = 0;
    std::string _error;
};

// A curve whose values are held within [-limit, limit] (NaN becomes 0).
CParticleParam Clamped(const CParticleParam& curve, float limit) {
    std::vector<ParamKey> keys = curve.Keys();
    for (ParamKey& k : keys) k.value = std::isnan(k.value) ? 0.0f : std::clamp(k.value, -limit, limit);
    return CParticleParam(std::move(keys));
}

// Emission values that would make one frame emit millions of particles are
// brought down to what the game can draw: the rates of the particle types,
// the emitter's rate multiplier and the number of points; what a wild rate
// variation adds is bounded per update and per player.
void ClampEmission(CParticleEmitter& e) {
    e.curves[CParticleEmitter::kRate] = Clamped(e.curves[CParticleEmitter::kRate], kMaxRateScale);
    for (CParticleType& t : e.types) {
        t.curves[CParticleType::kRate] = Clamped(t.curves[CParticleType::kRate], CParticleType::kMaxRate);
    }
    int32_t& points = e.ints[CParticleEmitter::kPoints];
    points = std::clamp(points, 0, CParticleEmitter::kMaxPoints);
}

}  // namespace

LibraryTexture::LibraryTexture() = default;
LibraryTexture::~LibraryTexture() = default;

std::vector<uint32_t> LibraryTexture::ToArgb() const {
    std::vector<uint32_t> out(size_t(width) * height);
    const size_t bpp = bits / 8;
    for (uint32_t row = 0; row < height; ++row) {
        const uint8_t* src = pixels.data() + size_t(row) * width * bpp;
        uint32_t* dst = out.data() + size_t(height - 1 - row) * width;  // stored bottom row first
        for (uint32_t x = 0; x < width; ++x, src += bpp) {
            uint32_t a = 255, r, g, b;
            switch (bits) {
            case 8: r = g = b = src[0]; break;
            case 16: r = g = b = src[0]; a = src[1]; break;
            case 24: b = src[0]; g = src[1]; r = src[2]; break;
            default: b = src[0]; g = src[1]; r = src[2]; a = src[3]; break;
            }
            dst[x] = a << 24 | r << 16 | g << 8 | b;
        }
    }
    return out;
}

CLibrary::CLibrary() = default;
CLibrary::~CLibrary() = default;

bool CLibrary::Read(const uint8_t* data, size_t size, std::string* error) {
    _textures.clear();
    _emitters.clear();
    Reader in(data, size);
    std::vector<std::shared_ptr<LibraryTexture>> textures;
    std::vector<std::unique_ptr<CParticleEmitter>> emitters;
    auto fail = [&]() {
        if (error) *error = in.Error();
        return false;
    };

    uint32_t unused;
    if (!in.U32(&unused, "header") || !in.U32(&unused, "header")) return fail();

    uint32_t texture_count;
    if (!in.U32(&texture_count, "texture count")) return fail();
    for (uint32_t i = 0; i < texture_count; ++i) {
        auto t = std::make_shared<LibraryTexture>();
        std::string name;
        if (!in.ShortString(&name, "texture name") || !in.U32(&t->id, "texture") || !in.U32(&t->width, "texture") ||
            !in.U32(&t->height, "texture") || !in.U32(&t->bits, "texture"))
            return fail();
        if (t->bits != 8 && t->bits != 16 && t->bits != 24 && t->bits != 32) {
            in.Fail("texture", "bits per pixel not 8, 16, 24 or 32");
            return fail();
        }
        if (t->width == 0 || t->height == 0 || t->width > kMaxTextureSide || t->height > kMaxTextureSide) {
            in.Fail("texture", "bad texture size");
            return fail();
        }
        if (!in.Bytes(&t->pixels, size_t(t->width) * t->height * (t->bits / 8), "texture pixels")) return fail();
        textures.push_back(std::move(t));
    }

    auto find_texture = [&textures](uint32_t id) -> std::shared_ptr<const LibraryTexture> {
        for (const auto& t : textures)
            if (t->id == id) return t;
        return nullptr;
    };

    uint32_t emitter_count;
    if (!in.U32(&emitter_count, "emitter count")) return fail();
    for (uint32_t e = 0; e < emitter_count; ++e) {
        auto em = std::make_unique<CParticleEmitter>();
        for (int slot : kEmitterFileSlots)
            if (!in.Curve(&em->curves[slot], "emitter curve")) return fail();
        if (!in.F32(&em->force[0], "emitter force") || !in.F32(&em->force[1], "emitter force")) return fail();
        uint32_t type_count;
        if (!in.U32(&type_count, "particle type count")) return fail();
        for (uint32_t k = 0; k < type_count; ++k) {
            CParticleType type;
            uint32_t has_texture;
            if (!in.U32(&has_texture, "particle type")) return fail();
            if (has_texture != 0) {
                uint32_t id;
                if (!in.U32(&id, "particle type")) return fail();
                type.texture = find_texture(id);
                if (!type.texture) {
                    in.Fail("particle type", ("texture id " + std::to_string(id) + " not in the library").c_str());
                    return fail();
                }
            }
            std::string name;
            if (!in.ShortString(&name, "particle type name")) return fail();
            for (int32_t& v : type.ints)
                if (!in.I32(&v, "particle type")) return fail();
            if (!in.ColorCurve(&type.color, "particle colour")) return fail();
            for (int slot : kTypeFileSlots)
                if (!in.Curve(&type.curves[slot], "particle curve")) return fail();
            if (!in.F32(&type.attach, "particle type") || !in.I32(&type.draw_order, "particle type")) return fail();
            em->types.push_back(std::move(type));
        }
        std::string name;
        if (!in.ShortString(&name, "emitter name")) return fail();
        em->SetName(std::move(name));
        for (float& c : em->color)
            if (!in.F32(&c, "emitter colour")) return fail();
        for (int32_t& v : em->ints)
            if (!in.I32(&v, "emitter shape")) return fail();
        ClampEmission(*em);
        emitters.push_back(std::move(em));
    }
    _textures = std::move(textures);
    _emitters = std::move(emitters);
    return true;
}

bool CLibrary::CreateTextures(plat::RenderDevice& device) {
    for (auto& t : _textures) {
        std::unique_ptr<plat::Texture> tex;
        if (plat::Failed(device.CreateTexture(t->width, t->height, 1, plat::Format::A8R8G8B8, &tex)) || !tex)
            return false;
        void* bits = nullptr;
        uint32_t pitch = 0;
        if (plat::Failed(tex->LockRect(0, &bits, &pitch))) return false;
        const std::vector<uint32_t> argb = t->ToArgb();
        for (uint32_t row = 0; row < t->height; ++row)
            std::memcpy(static_cast<uint8_t*>(bits) + size_t(row) * pitch, argb.data() + size_t(row) * t->width,
                        size_t(t->width) * 4);
        tex->UnlockRect(0);
        t->texture = std::move(tex);
    }
    return true;
}

void CLibrary::ReleaseTextures() {
    for (auto& t : _textures) t->texture.reset();
}

const CParticleEmitter* CLibrary::Find(const std::string& name) const {
    for (const auto& e : _emitters)
        if (e->Name() == name) return e.get();
    return nullptr;
}

const LibraryTexture* CLibrary::FindTexture(uint32_t id) const {
    for (const auto& t : _textures)
        if (t->id == id) return t.get();
    return nullptr;
}

bool CLibrary::AcquireVertexBuffer(plat::RenderDevice* device) {
    if (!_vertex_buffer) {
        if (!device) return false;
        std::unique_ptr<plat::VertexBuffer> vb;
        if (plat::Failed(device->CreateVertexBuffer(kVertexBufferBytes, &vb)) || !vb) return false;
        _vertex_buffer = std::move(vb);
    }
    ++_vertex_buffer_uses;
    return true;
}

void CLibrary::ReleaseVertexBuffer() {
    if (_vertex_buffer_uses > 0 && --_vertex_buffer_uses == 0) _vertex_buffer.reset();
}

namespace {
std::shared_ptr<CLibrary>& Holder() {
    static std::shared_ptr<CLibrary> part_library;
    return part_library;
}
}  // namespace

std::shared_ptr<CLibrary> CLibrary::Instance() {
    std::shared_ptr<CLibrary>& part_library = Holder();
    if (!part_library) part_library = std::make_shared<CLibrary>();
    return part_library;
}

bool CLibrary::Exists() { return Holder() != nullptr; }

void CLibrary::Release() {
    std::shared_ptr<CLibrary>& part_library = Holder();
    ASSERT_THROW_IF_FAILED(part_library != NULL);
    part_library->ReleaseTextures();
    if (part_library->_holds_vertex_buffer) {
        part_library->_holds_vertex_buffer = false;
        part_library->ReleaseVertexBuffer();
    }
    part_library->_device = nullptr;
    part_library.reset();
}

}  // namespace Plume
