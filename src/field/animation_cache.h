#pragma once
// The sprite animations of the graph objects by file name: a file is read
// once per run, every later request copies the cached frames. A file that
// cannot be read is logged once and remembered as failed.
#include <map>
#include <set>
#include <string>

#include "field/field_global.h"
#include "graphics/animation.h"

class CAnimationCache {
public:
    // The animation of `file_name`, or null when it cannot be loaded.
    const CAnimation* GetAnimation(const std::string& file_name);
    size_t GetCount() const { return _animations.size(); }
    void Clear();

private:
    std::map<std::string, CAnimation, std::less<>> _animations;
    std::set<std::string, std::less<>> _failed;
};

extern CFieldGlobal<CAnimationCache> g_AnimationCache;
