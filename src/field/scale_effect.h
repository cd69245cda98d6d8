#pragma once
// Resizes a graph object toward a target size in equal steps, one per tick
// (a ball scaled out of the field).
#include <cstdint>

#include "field/base_effect.h"

class CGraphOBJ;

class CScaleEffect : public IBaseEffect {
public:
    // The steps are (target - layer 0's size) / interval. A null object or an
    // interval of 0 logs and throws "Assertion failed".
    void Start(CGraphOBJ* OBJ, float width, float height, uint32_t interval);
    void Finish() override;
    bool Update() override;

private:
    float _width_step = 0;
    float _height_step = 0;
    float _width = 0;
    float _height = 0;
    CGraphOBJ* _OBJ = nullptr;
};
