#pragma once
// Fades a graph object toward a target alpha in equal steps, one per tick
// (a dying ball). The first tick sets the starting alpha; the target itself
// is set only by Finish.
#include <cstdint>

#include "field/base_effect.h"

class CGraphOBJ;

class CAlphaEffect : public IBaseEffect {
public:
    // Starts from layer 0's alpha. A null object or an interval of 0 logs and
    // throws "Assertion failed".
    void Start(CGraphOBJ* in_OBJ, int alpha, uint32_t interval);
    void Finish() override;
    bool Update() override;

private:
    float _alpha = 0;
    float _target = 0;
    float _step = 0;
    CGraphOBJ* _OBJ = nullptr;
};
