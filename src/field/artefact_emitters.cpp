#include "field/artefact_emitters.h"

#include <algorithm>
#include <exception>

#include "engine/logger.h"
#include "graphics/explosion.h"

uint32_t CArtefactEmitters::Start(const std::string& name, float x, float y) {
    if (name.empty()) return 0;
    try {
        return explosion::GetExplosionManager()->StartEmitter(name, x, y);
    } catch (const std::exception& e) {
        CLogger::Instance().Log(2, "Error: artefact effect '%s' not started: %s", name.c_str(), e.what());
        return 0;
    }
}

void CArtefactEmitters::Move(uint32_t id, float x, float y) {
    if (id != 0) explosion::GetExplosionManager()->SetEmitterPos(id, x, y);
}

void CArtefactEmitters::Stop(uint32_t id) {
    if (id != 0) explosion::GetExplosionManager()->StopEmitter(id);
}

void CArtefactEmitters::Add(const std::string& name, float x, float y) {
    if (const uint32_t id = Start(name, x, y); id != 0) _ids.push_back(id);
}

void CArtefactEmitters::Render() {
    if (!_ids.empty()) explosion::GetExplosionManager()->RenderEmitters(_ids);
}

void CArtefactEmitters::DropFinished() {
    if (_ids.empty()) return;
    explosion::IExplosionManager* manager = explosion::GetExplosionManager();
    std::erase_if(_ids, [manager](uint32_t id) { return !manager->HasEmitter(id); });
}

void CArtefactEmitters::Clear() {
    for (uint32_t id : _ids) Stop(id);
    _ids.clear();
}
