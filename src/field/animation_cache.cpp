#include "field/animation_cache.h"

#include <exception>

#include "engine/logger.h"

CFieldGlobal<CAnimationCache> g_AnimationCache("g_AnimationCache");

const CAnimation* CAnimationCache::GetAnimation(const std::string& file_name) {
    auto it = _animations.find(file_name);
    if (it != _animations.end()) return &it->second;
    if (_failed.count(file_name)) return nullptr;
    CAnimation animation;
    bool loaded = false;
    try {
        loaded = animation.LoadAnimation(file_name) && animation.GetFrameCount() > 0;
    } catch (const std::exception& e) {
        CLogger::Instance().Log(2, "Error: Animation file '%s' failed: %s", file_name.c_str(), e.what());
    }
    if (!loaded) {
        _failed.insert(file_name);
        return nullptr;
    }
    return &_animations.emplace(file_name, std::move(animation)).first->second;
}

void CAnimationCache::Clear() {
    _animations.clear();
    _failed.clear();
}
