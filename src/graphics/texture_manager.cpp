#include "graphics/texture_manager.h"

#include <cstdio>
#include <exception>

#include "engine/engine_core_interface.h"
#include "engine/file_opener.h"
#include "engine/logger.h"
#include "graphics/texture_dds.h"

namespace {
bool g_store_destroyed = false;
// Set by the program's store only, so that a test's own stores leave it alone.
class StoreLifetime {
public:
    ~StoreLifetime() { g_store_destroyed = true; }
};
}  // namespace

CTextureManager& CTextureManager::Instance() {
    static CTextureManager manager;
    static StoreLifetime lifetime;
    return manager;
}

bool CTextureManager::IsAlive() { return !g_store_destroyed; }

CTextureManager::~CTextureManager() { ReleaseAll(); }

CTextureManager::Map::iterator CTextureManager::Find(const CTexture* texture) {
    for (auto it = _textures.begin(); it != _textures.end(); ++it)
        if (it->second.get() == texture) return it;
    return _textures.end();
}

std::string CTextureManager::FindName(const CTexture* texture) const {
    for (const auto& [name, tex] : _textures)
        if (tex.get() == texture) return name;
    return {};
}

CTexture* CTextureManager::GetTexture(plat::RenderDevice* device, const char* file_name) {
    std::string key = file_name ? file_name : "";
    CFileOpener::NormalizeFileName(key);
    if (auto it = _textures.find(key); it != _textures.end()) {
        it->second->AddRef();
        return it->second.get();
    }
    auto texture = std::make_unique<CTexture>();
    try {
        texture->LoadTextureFile(device, file_name ? file_name : "", 1);
    } catch (const std::exception& e) {
        // A DDS file the reader cannot handle is a failed load like any other.
        CLogger::Instance().Log(2, "Error: Loading texture %s! %s", file_name ? file_name : "", e.what());
        texture->Release();
    }
    texture->AddRef();
    CTexture* result = texture.get();
    _textures.emplace(key, std::move(texture));
    return result;
}

void CTextureManager::ReleaseTexture(CTexture* texture) {
    auto it = Find(texture);
    if (it == _textures.end()) return;
    if (it->second->ReleaseRef() > 0) return;
    _textures.erase(it);
}

CTexture* CTextureManager::CloneTexture(CTexture* texture) {
    auto it = Find(texture);
    if (it == _textures.end() || !texture->GetTexture()) return nullptr;
    auto copy = std::make_unique<CTexture>();
    if (!copy->CopyFrom(*texture)) return nullptr;
    copy->AddRef();
    char name[32];
    std::snprintf(name, sizeof name, "__cloned_%ld", _clone_counter);
    ++_clone_counter;
    CTexture* result = copy.get();
    _textures[name] = std::move(copy);
    return result;
}

void CTextureManager::ReleaseAll() { _textures.clear(); }

CTextureHold::CTextureHold(const std::string& file_name) {
    plat::RenderDevice* device = EngineDevice();
    if (!device || file_name.empty()) return;
    _texture = CTextureManager::Instance().GetTexture(device, file_name.c_str());
}

CTextureHold& CTextureHold::operator=(CTextureHold&& other) noexcept {
    if (this != &other) {
        Release();
        _texture = other._texture;
        other._texture = nullptr;
    }
    return *this;
}

void CTextureHold::Release() {
    if (_texture && CTextureManager::IsAlive()) CTextureManager::Instance().ReleaseTexture(_texture);
    _texture = nullptr;
}
