#include "graphics/textured_rects_list.h"

#include <cstring>
#include <exception>

#include "engine/engine_core_interface.h"
#include "engine/graphics_device.h"
#include "engine/logger.h"
#include "graphics/texture.h"
#include "graphics/texture_manager.h"

namespace {

constexpr size_t kQuadBytes = 4 * sizeof(plat::Vertex);

}  // namespace

CTexturedRectsList::~CTexturedRectsList() {
    // Sprites still attached (their owner let the keeper go first) forget us.
    const std::vector<ATexturedRect*> attached = std::move(_attached);
    for (ATexturedRect* object : attached) object->OnRendererDestroyed(this);
    Release();
}

bool CTexturedRectsList::Init(plat::RenderDevice* device, CTexture* texture) {
    _device = device;
    _texture = texture;
    _tex_rect.reserve(50);
    _attached.reserve(50);
    return true;
}

void CTexturedRectsList::SetTexture(CTexture* texture) { Init(EngineDevice(), texture); }

bool CTexturedRectsList::SetTextureByName(const std::string& file_name) {
    if (_texture) CTextureManager::Instance().ReleaseTexture(_texture);
    _texture = nullptr;
    plat::RenderDevice* device = EngineDevice();
    CTexture* texture = CTextureManager::Instance().GetTexture(device, file_name.c_str());
    return Init(device, texture);
}

int CTexturedRectsList::AddRect(const CFloatRect& rect, const CFloatRect& tex_rect) {
    auto quad = std::make_unique<ATexturedRect>();
    quad->SetRects(rect, tex_rect);
    if (_texture) quad->SetTextureSize(_texture->GetWidth(), _texture->GetHeight());
    _tex_rect.push_back(std::move(quad));
    _vertices_valid = false;
    return static_cast<int>(_tex_rect.size()) - 1;
}

ATexturedRect* CTexturedRectsList::GetRect(size_t num) {
    if (!ASSERT(num < _tex_rect.size())) return nullptr;
    return _tex_rect[num].get();
}

void CTexturedRectsList::MoveAll(float dx, float dy) {
    for (auto& q : _tex_rect) q->Move(dx, dy);
    _vertices_valid = false;
}

void CTexturedRectsList::SetColor(uint32_t color) {
    for (auto& q : _tex_rect) q->SetColor(color, kAllCorners);
    for (ATexturedRect* o : _attached) o->SetColor(color, kAllCorners);
    _vertices_valid = false;
}

void CTexturedRectsList::SetAlpha(int alpha) {
    for (auto& q : _tex_rect) q->SetAlpha(alpha, kAllCorners);
    for (ATexturedRect* o : _attached) o->SetAlpha(alpha, kAllCorners);
    _vertices_valid = false;
}

void CTexturedRectsList::Add(ATexturedRect* p_obj) {
    if (!ASSERT(p_obj != NULL) || !ASSERT(_texture != NULL)) return;
    const float w = _texture->GetWidth(), h = _texture->GetHeight();
    if (p_obj->IsLinked()) {
        if (auto* child = dynamic_cast<ATexturedRect*>(p_obj->GetLinkedObject())) {
            _attached.push_back(child);
            child->SetTextureSize(w, h);
        }
    }
    _attached.push_back(p_obj);
    p_obj->SetTextureSize(w, h);
    _vertices_valid = false;
}

bool CTexturedRectsList::Remove(ATexturedRect* object) {
    if (!object) return false;
    if (object->IsLinked()) {
        ITexturedRect* child = object->GetLinkedObject();
        std::erase_if(_attached, [&](ATexturedRect* o) { return o == child; });
    }
    for (auto it = _attached.begin(); it != _attached.end(); ++it) {
        if (*it == object) {
            _attached.erase(it);
            break;
        }
    }
    _vertices_valid = false;
    return true;
}

void CTexturedRectsList::Clear(size_t reserve) {
    _tex_rect.clear();
    _attached.clear();
    _tex_rect.reserve(reserve);
    _attached.reserve(reserve);
    _vertices_valid = false;
}

bool CTexturedRectsList::MakeGrayscale() {
    CTextureManager& store = CTextureManager::Instance();
    CTexture* previous = _texture;
    try {
        CTexture* copy = store.CloneTexture(_texture);
        if (!copy) return false;
        _texture = copy;
        copy->MakeGrayscale();
        store.ReleaseTexture(previous);
        _vertices_valid = false;
        return true;
    } catch (const std::exception&) {
        _texture = previous;
        CLogger::Instance().Log(3, "Warning: Unable to make texture grayscale!");
        return false;
    }
}

void CTexturedRectsList::Render() {
    const size_t n = _tex_rect.size() + _attached.size();
    if (n == 0) return;
    if (!_static) {
        for (auto& q : _tex_rect)
            if (q->UpdateAnimation()) _vertices_valid = false;
        for (ATexturedRect* o : _attached)
            if (o->UpdateAnimation()) _vertices_valid = false;
    }
    plat::RenderDevice* device = _device ? _device : EngineDevice();
    if (!device) return;
    if (!_vertices_valid || !_vertex_buffer) {
        if (n > _capacity || !_vertex_buffer) {
            _vertex_buffer.reset();
            if (plat::Failed(device->CreateVertexBuffer(n * kQuadBytes, &_vertex_buffer)) || !_vertex_buffer) {
                _capacity = 0;
                return;
            }
            _capacity = static_cast<uint32_t>(n);
        }
        void* data = nullptr;
        if (plat::Failed(_vertex_buffer->Lock(0, 0, &data)) || !data) return;
        auto* out = static_cast<uint8_t*>(data);
        for (auto& q : _tex_rect) {
            std::memcpy(out, q->GetVertices(), kQuadBytes);
            out += kQuadBytes;
        }
        for (ATexturedRect* o : _attached) {
            std::memcpy(out, o->GetVertices(), kQuadBytes);
            out += kQuadBytes;
        }
        _vertex_buffer->Unlock();
        _vertices_valid = true;
        ++_fill_count;
    }
    device->SetTexture(0, _texture ? _texture->GetTexture() : nullptr);
    if (g_EngineCore) g_EngineCore->DrawQuads(_vertex_buffer.get(), static_cast<uint32_t>(n), sizeof(plat::Vertex));
}

void CTexturedRectsList::Release() {
    if (_texture && CTextureManager::IsAlive()) CTextureManager::Instance().ReleaseTexture(_texture);
    _texture = nullptr;
    _vertex_buffer.reset();
    _capacity = 0;
    _tex_rect.clear();
}
