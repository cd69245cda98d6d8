#include "graphics/explosion.h"

#include <algorithm>
#include <exception>

#include "engine/logger.h"
#include "engine/random.h"
#include "engine/xml_file.h"
#include "graphics/object_2d.h"
#include "graphics/plume_library.h"
#include "graphics/renderer_keeper.h"

namespace {
// Largest side of a sprite explosion, in pixels.
constexpr int kMaxSpriteSide = 16384;
}  // namespace

namespace explosion {

namespace {
// Function-local, so that the manager goes before the engine core at exit.
std::unique_ptr<IExplosionManager>& Holder() {
    static std::unique_ptr<IExplosionManager> manager;
    return manager;
}
}  // namespace

IExplosionManager* GetExplosionManager() {
    std::unique_ptr<IExplosionManager>& manager = Holder();
    if (!manager) manager = std::make_unique<CExplosion>();
    return manager.get();
}

void ReleaseExplosionManager() { Holder().reset(); }

void SetExplosionManager(std::unique_ptr<IExplosionManager> manager) { Holder() = std::move(manager); }

}  // namespace explosion

CExplosion::CExplosion(const std::string& file_name, CPlume::Clock clock)
    : _plume(std::make_shared<CPlume>(std::move(clock))), _keeper(std::make_unique<CRendererKeeper>()) {
    _plume->Init();
    Load(file_name);
}

CExplosion::~CExplosion() {
    _sprites.clear();
    _keeper.reset();
    _plume.reset();
}

void CExplosion::Load(const std::string& file_name) {
    _descriptions.clear();
    std::unique_ptr<CXMLFile> xml;
    try {
        xml = std::make_unique<CXMLFile>(file_name);
    } catch (const std::exception& e) {
        CLogger::Instance().Log(2, "Error: Explosions: cannot read '%s' (%s); no explosion is described.",
                                file_name.c_str(), e.what());
        return;
    }
    const std::shared_ptr<Plume::CLibrary> library =
        Plume::CLibrary::Exists() ? Plume::CLibrary::Instance() : nullptr;
    const CXMLNodeList nodes = xml->SelectNodes("//Explosions/Explosion");
    for (int i = 0; i < nodes.GetLength(); ++i) {
        const CXMLNode node = nodes.GetItem(i);
        Description d;
        d.alias = node.GetAttribute("alias", "");
        d.graphics = ParseGraphics(node);
        d.is_plume = node.GetAttributeBool("is_plume", false);
        d.original = node.GetAttributeBool("original", false);
        if (!d.is_plume) {
            try {
                d.animation.LoadAnimation(d.graphics.animation_file);
            } catch (const std::exception& e) {
                CLogger::Instance().Log(2, "Error: Explosion '%s': cannot read animation '%s' (%s).", d.alias.c_str(),
                                        d.graphics.animation_file.c_str(), e.what());
            }
            d.animation.SetAnimateOnce(true);
            if (d.animation.GetFrameCount() == 0) {
                // A sprite must never get an animation without frames.
                CLogger::Instance().Log(2, "Error: Explosion '%s': animation '%s' has no frames; it is left out.",
                                        d.alias.c_str(), d.graphics.animation_file.c_str());
                continue;
            }
            _keeper->GetRenderer(d.graphics.texture);
        } else if (library && library->EmitterCount() > 0 && !library->Find(d.alias)) {
            // Shown at start-up rather than when the effect is first played.
            CLogger::Instance().Log(2, "Error: Explosion '%s': the effect library has no emitter of that name.",
                                    d.alias.c_str());
        }
        _descriptions.emplace(d.alias, std::move(d));  // the first of two descriptions stays
    }
}

const CExplosion::Description* CExplosion::FindDescription(const std::string& alias) const {
    auto it = _descriptions.find(alias);
    return it == _descriptions.end() ? nullptr : &it->second;
}

void CExplosion::Clear() { _sprites.clear(); }

void CExplosion::StartExplosion(const std::string& alias, float x, float y) {
    if (alias.empty()) return;
    const Description* d = FindDescription(alias);
    if (!d) {
        CLogger::Instance().Log(2, "Explosion alias not found: '%s'", alias.c_str());
        return;
    }
    if (d->is_plume) {
        // Without an effect library (it failed to load) the effect is skipped.
        const bool library = Plume::CLibrary::Exists() && Plume::CLibrary::Instance()->EmitterCount() > 0;
        if (!library) {
            CLogger::Instance().Log(2, "Error: Explosion '%s' skipped: no effect library is loaded.", alias.c_str());
            return;
        }
        _emitter_ids.push_back(_plume->StartEmitter(alias, static_cast<int>(x), static_cast<int>(y)));
        return;
    }
    CTexturedRectsList* renderer = _keeper->GetRenderer(d->graphics.texture);
    if (!renderer) {
        CLogger::Instance().Log(2, "Cant get renderer for texture '%s'!", d->graphics.texture.c_str());
        return;
    }
    // Sizes from the file are bounded, so that the scaling below stays within int.
    int w = std::clamp(d->graphics.width, 0, kMaxSpriteSide);
    int h = std::clamp(d->graphics.height, 0, kMaxSpriteSide);
    if (!d->original) {
        // One side is scaled to 81..120 %, the other keeps its size.
        const int r = fx::rand() % 10;
        if (r < 5)
            w = static_cast<int>(static_cast<float>(w) * static_cast<float>(120 - fx::rand() % 40) / 100.0f);
        else
            h = static_cast<int>(static_cast<float>(h) * static_cast<float>(120 - fx::rand() % 40) / 100.0f);
    }
    auto sprite = std::make_unique<C2DObject>();
    sprite->Init(x - static_cast<float>(w / 2), y - static_cast<float>(h / 2), static_cast<float>(w),
                 static_cast<float>(h), d->animation);
    sprite->SetRenderer(renderer);
    if (!d->original) sprite->SetAngle(static_cast<float>(fx::rand() % 360));
    _sprites.push_back(std::move(sprite));
}

void CExplosion::Update() {
    if (!_emitter_ids.empty()) _plume->RenderEmitters(_emitter_ids);
    _keeper->RenderAll();
    for (auto it = _sprites.begin(); it != _sprites.end();) {
        const CAnimation* anim = (*it)->GetAnimation();
        if (!anim || anim->GetFrame() >= anim->GetFrameCount() - 1)
            it = _sprites.erase(it);
        else
            ++it;
    }
    std::erase_if(_emitter_ids, [this](uint32_t id) { return !_plume->HasEmitter(id); });
}

uint32_t CExplosion::StartEmitter(const std::string& name, float x, float y) {
    // An emitter the library lacks (or a library that failed to load) starts
    // nothing; callers ask for the same name again and again, so it is said once.
    if (!_plume->HasLibraryEmitter(name)) {
        if (_missing_emitters.insert(name).second)
            CLogger::Instance().Log(2, "Error: Effect '%s' not started: the effect library has no emitter of that name.",
                                    name.c_str());
        return explosion::kNoEmitter;
    }
    return _plume->StartEmitter(name, static_cast<int>(x), static_cast<int>(y));
}

void CExplosion::SetEmitterPos(uint32_t id, float x, float y) { _plume->SetEmitterPos(id, x, y); }
void CExplosion::MoveEmitter(uint32_t id, float dx, float dy) { _plume->MoveEmitter(id, dx, dy); }
bool CExplosion::GetEmitterPos(uint32_t id, float* x, float* y) { return _plume->GetEmitterPos(id, x, y); }
bool CExplosion::HasEmitter(uint32_t id) { return _plume->HasEmitter(id); }
void CExplosion::StopEmitter(uint32_t id) { _plume->StopEmitter(id); }
void CExplosion::RenderEmitters(const std::vector<uint32_t>& ids) { _plume->RenderEmitters(ids); }
void CExplosion::RenderEmitter(uint32_t id) { _plume->RenderEmitter(id); }
