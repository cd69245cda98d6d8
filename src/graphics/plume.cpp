#include "graphics/plume.h"

#include <cmath>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "engine/engine_core_interface.h"
#include "engine/game_clock.h"
#include "engine/graphics_device.h"
#include "engine/logger.h"
#include "graphics/plume_library.h"
#include "platform/file_names.h"
#include "platform/render_device.h"
#include "platform/system.h"

namespace {

void EngineDrawQuads(plat::VertexBuffer* vb, uint32_t quads) {
    if (g_EngineCore) g_EngineCore->DrawQuads(vb, quads, sizeof(plat::Vertex));
}
void EngineSetupRenderStates() {
    if (g_EngineCore && g_EngineCore->GetGraphicsDevice()) g_EngineCore->GetGraphicsDevice()->SetupRenderStates();
}

uint8_t ToByte(float v) {
    const float scaled = v * 255.0f + 0.5f;
    if (!(scaled > 0.0f)) return 0;  // also catches NaN
    if (scaled >= 255.0f) return 255;
    return static_cast<uint8_t>(scaled);
}

}  // namespace

CPlume::CPlume() : CPlume(Clock()) {}

CPlume::CPlume(Clock clock) : _clock(clock ? std::move(clock) : Clock(GameTimeMs)) {
    _last_step = _clock();
}

CPlume::~CPlume() {
    _emitters.clear();
    if (_has_vertex_buffer && _library) _library->ReleaseVertexBuffer();
}

bool CPlume::TakeVertexBuffer() {
    _library = Plume::CLibrary::Instance();
    if (plat::RenderDevice* device = EngineDevice()) _library->SetDevice(device);
    if (!_has_vertex_buffer) _has_vertex_buffer = _library->AcquireVertexBuffer(_library->Device());
    return _has_vertex_buffer;
}

bool CPlume::Init() {
    const bool ok = TakeVertexBuffer();
    _time = 0.0f;
    _last_step = _clock();
    return ok;
}

bool CPlume::LoadLibrary(const std::string& file_name) {
    _library = Plume::CLibrary::Instance();
    if (plat::RenderDevice* device = EngineDevice()) _library->SetDevice(device);
    if (!_library->_holds_vertex_buffer) {
        if (!_library->AcquireVertexBuffer(_library->Device())) {
            CLogger::Instance().Log(2, "Error: Plume: cannot create the vertex buffer.");
            return false;
        }
        _library->_holds_vertex_buffer = true;
    }
    // The library is read straight from disk, never from the data package.
    const std::string path = plat::ResolveFileName(file_name);
    std::ifstream file(path.empty() ? plat::ToNativeSeparators(file_name) : path, std::ios::binary);
    if (!file) {
        CLogger::Instance().Log(2, "Error: Plume: cannot open the effect library '%s'.", file_name.c_str());
        return false;
    }
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::string error;
    if (!_library->Read(bytes.data(), bytes.size(), &error)) {
        CLogger::Instance().Log(2, "Error: Plume: damaged effect library '%s': %s.", file_name.c_str(), error.c_str());
        return false;
    }
    if (_library->Device() && !_library->CreateTextures(*_library->Device())) {
        CLogger::Instance().Log(2, "Error: Plume: cannot create the textures of '%s'.", file_name.c_str());
        return false;
    }
    _time = 0.0f;
    _last_step = _clock();
    _library->Noise().Fill();
    return true;
}

const Plume::CParticleEmitter* CPlume::FindSource(const std::string& name) {
    const Plume::CParticleEmitter* source = _library ? _library->Find(name) : nullptr;
    if (!source && !_library && Plume::CLibrary::Exists()) {
        _library = Plume::CLibrary::Instance();
        source = _library->Find(name);
    }
    return source;
}

bool CPlume::HasLibraryEmitter(const std::string& name) { return FindSource(name) != nullptr; }

uint32_t CPlume::StartEmitter(const std::string& name, int x, int y) {
    const Plume::CParticleEmitter* source = FindSource(name);
    if (!source) {
        CLogger::Instance().Log(2, "Plume: Not existing Emitter '%s'.", name.c_str());
        throw std::runtime_error("Plume: Invalid Emitter.");
    }
    if (_next_id == 0xFFFFFFFFu) throw std::runtime_error("Plume emitters list is full!");
    // The clock stands still while nothing runs: time spent idle before this
    // start must not count as the new emitter's first step, or an effect
    // started shortly after the player went idle would skip its opening.
    if (_emitters.empty()) _last_step = _clock();
    EmitterRecord record;
    record.x = static_cast<float>(x);
    record.y = static_cast<float>(y);
    record.last_alive = _time;
    record.start = _time;
    record.emitter = source->Start(record.x, record.y);
    const uint32_t id = _next_id++;
    _emitters.emplace(id, std::move(record));
    return id;
}

void CPlume::SetEmittersPosition(float x, float y) {
    for (auto& [id, r] : _emitters) {
        r.x = x;
        r.y = y;
    }
}

void CPlume::SetEmitterPos(uint32_t id, float x, float y) {
    auto it = _emitters.find(id);
    if (it == _emitters.end()) return;
    it->second.x = x;
    it->second.y = y;
}

void CPlume::MoveEmitter(uint32_t id, float dx, float dy) {
    auto it = _emitters.find(id);
    if (it == _emitters.end()) return;
    it->second.x += dx;
    it->second.y += dy;
}

bool CPlume::GetEmitterPos(uint32_t id, float* x, float* y) const {
    auto it = _emitters.find(id);
    if (it == _emitters.end()) return false;
    if (x) *x = it->second.x;
    if (y) *y = it->second.y;
    return true;
}

bool CPlume::HasEmitter(uint32_t id) const { return _emitters.count(id) != 0; }

void CPlume::StopEmitter(uint32_t id) { _emitters.erase(id); }

const Plume::CParticleEmitter* CPlume::GetEmitter(uint32_t id) const {
    auto it = _emitters.find(id);
    return it == _emitters.end() ? nullptr : it->second.emitter.get();
}

void CPlume::Render() { Step(nullptr, 0, true); }

void CPlume::RenderEmitter(uint32_t id) { Step(&id, 1, false); }

void CPlume::RenderEmitters(const std::vector<uint32_t>& ids) { Step(ids.data(), ids.size(), false); }

void CPlume::ReleaseLibrary() { Plume::CLibrary::Release(); }

void CPlume::Step(const uint32_t* ids, size_t count, bool all) {
    if (_emitters.empty()) return;
    const uint32_t now = _clock();
    // The effects advance once per frame, however many calls draw them: a
    // further call in the same frame (no time has passed) only draws, since
    // each ageing adds gravity's pull again. Emitters started since the last
    // step take their first step then, one of no time, so that what they
    // emit at once shows in this frame.
    const bool advance = now != _last_step;
    float dt = static_cast<float>(now - _last_step) / 1000.0f;
    if (dt >= 0.2f) dt = 0.01f;  // a stall must not make the effects jump
    _time += dt;
    _last_step = now;
    _last_quads = 0;

    plat::RenderDevice* device = _library ? _library->Device() : nullptr;
    if (device) device->SetRenderState(plat::RenderState::ZEnable, 0);

    size_t live = 0;
    for (const auto& [id, r] : _emitters) live += r.emitter->ParticleCount();
    size_t budget = live < kMaxParticles ? kMaxParticles - live : 0;
    for (auto& [id, r] : _emitters) {
        r.emitter->x = r.x;
        r.emitter->y = r.y;
        if (!advance && r.stepped) continue;
        r.emitter->Update(_time - r.start, dt, &budget);
        r.stepped = true;
    }
    if (advance) {
        static const Plume::CNoise empty_noise;
        const Plume::CNoise& noise = _library ? _library->Noise() : empty_noise;
        for (auto& [id, r] : _emitters) r.emitter->Move(noise, dt);
    }

    auto draw = [this](EmitterRecord& r) {
        Draw(*r.emitter);
        if (r.emitter->ParticleCount() > 0) r.last_alive = _time;
    };
    if (all) {
        for (auto& [id, r] : _emitters) draw(r);
    } else {
        for (size_t i = 0; i < count; ++i) {
            auto it = _emitters.find(ids[i]);
            if (it != _emitters.end()) draw(it->second);
        }
    }

    for (auto it = _emitters.begin(); it != _emitters.end();) {
        if (_time - it->second.last_alive >= 0.2f)
            it = _emitters.erase(it);
        else
            ++it;
    }
    if (device) EngineSetupRenderStates();
}

void CPlume::Draw(const Plume::CParticleEmitter& e) {
    plat::RenderDevice* device = _library ? _library->Device() : nullptr;
    plat::VertexBuffer* vb = _library ? _library->VertexBuffer() : nullptr;
    if (!device || !vb) return;
    using plat::RenderState;
    using plat::TextureStageState;
    constexpr size_t kMaxQuads = Plume::CLibrary::kQuadsPerBuffer;

    for (const Plume::CParticleType& type : e.types) {
        const std::vector<Plume::Particle>& particles = type.Particles();
        if (particles.empty()) continue;
        const Plume::LibraryTexture* tex = type.texture.get();
        device->SetTexture(0, tex ? tex->texture.get() : nullptr);
        device->SetRenderState(RenderState::Lighting, 0);
        device->SetRenderState(RenderState::CullMode, plat::kCullNone);
        device->SetRenderState(RenderState::AlphaBlendEnable, 1);
        device->SetRenderState(RenderState::SrcBlend, plat::kBlendSrcAlpha);
        device->SetRenderState(RenderState::DestBlend, type.IsAdditive() ? plat::kBlendOne : plat::kBlendInvSrcAlpha);
        device->SetTextureStageState(0, TextureStageState::ColorOp, plat::kTopModulate);
        device->SetTextureStageState(0, TextureStageState::ColorArg1, plat::kTaTexture);
        device->SetTextureStageState(0, TextureStageState::ColorArg2, plat::kTaDiffuse);
        device->SetTextureStageState(0, TextureStageState::AlphaOp, plat::kTopModulate);
        device->SetTextureStageState(0, TextureStageState::AlphaArg1, plat::kTaTexture);
        device->SetTextureStageState(0, TextureStageState::AlphaArg2, plat::kTaDiffuse);

        const float tw = tex ? static_cast<float>(tex->width) : 64.0f;
        const float th = tex ? static_cast<float>(tex->height) : 64.0f;
        const float u0 = type.ints[Plume::CParticleType::kFlipU] ? 1.0f : 0.0f, u1 = 1.0f - u0;
        const float v0 = type.ints[Plume::CParticleType::kFlipV] ? 1.0f : 0.0f, v1 = 1.0f - v0;
        const float attach = type.attach;

        void* locked = nullptr;
        if (plat::Failed(vb->Lock(0, 0, &locked)) || !locked) continue;
        plat::Vertex* out = static_cast<plat::Vertex*>(locked);
        size_t quads = 0;

        auto emit = [&](const Plume::Particle& p) {
            if (!(p.visibility > 0.01f)) return;
            const float cx = p.x + (e.x + p.off_x - p.x) * attach;
            const float cy = p.y + (e.y + p.off_y - p.y) * attach;
            const float c = std::cos(p.angle), s = std::sin(p.angle);
            const float ax = tw * p.size * c, ay = tw * p.size * s;
            const float bx = -th * p.size * s, by = th * p.size * c;
            float col[4];
            const float w = p.color_weight;
            for (int k = 0; k < 4; ++k)
                col[k] = w == 0.0f ? p.color[k] : (1.0f - w) * p.color[k] + w * e.color[k];
            col[3] *= p.visibility;
            const uint8_t alpha = ToByte(col[3]);
            if (alpha == 0) return;  // blends to nothing in either mode
            const uint32_t argb = uint32_t(alpha) << 24 | uint32_t(ToByte(col[0])) << 16 |
                                  uint32_t(ToByte(col[1])) << 8 | uint32_t(ToByte(col[2]));
            plat::Vertex* q = out + quads * 4;
            q[0] = {cx - ax - bx, cy - ay - by, 0.0f, argb, u0, v0};
            q[1] = {cx + ax - bx, cy + ay - by, 0.0f, argb, u1, v0};
            q[2] = {cx - ax + bx, cy - ay + by, 0.0f, argb, u0, v1};
            q[3] = {cx + ax + bx, cy + ay + by, 0.0f, argb, u1, v1};
            if (++quads == kMaxQuads) {
                vb->Unlock();
                EngineDrawQuads(vb, static_cast<uint32_t>(quads));
                _last_quads += quads;
                quads = 0;
                locked = nullptr;
                vb->Lock(0, 0, &locked);
                out = static_cast<plat::Vertex*>(locked);
            }
        };
        if (type.NewestFirst())
            for (auto it = particles.rbegin(); it != particles.rend() && out; ++it) emit(*it);
        else
            for (auto it = particles.begin(); it != particles.end() && out; ++it) emit(*it);
        vb->Unlock();
        if (quads > 0) {
            EngineDrawQuads(vb, static_cast<uint32_t>(quads));
            _last_quads += quads;
        }
        device->SetTexture(0, nullptr);
        device->SetRenderState(RenderState::AlphaBlendEnable, 0);
    }
}
