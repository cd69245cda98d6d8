#include "field/scale_effect.h"

#include "engine/logger.h"
#include "field/graph_obj.h"

void CScaleEffect::Start(CGraphOBJ* OBJ, float width, float height, uint32_t interval) {
    ASSERT_THROW_IF_FAILED(OBJ != NULL);
    ASSERT_THROW_IF_FAILED(interval != 0);
    _OBJ = OBJ;
    _width = width;
    _height = height;
    _width_step = (width - OBJ->GetWidth(0)) / static_cast<float>(interval);
    _height_step = (height - OBJ->GetHeight(0)) / static_cast<float>(interval);
    IBaseEffect::Start(interval);
}

bool CScaleEffect::Update() {
    ASSERT_THROW_IF_FAILED(_OBJ != NULL);
    const bool stepped = Step();
    if (stepped) _OBJ->Inflate(_width_step, _height_step);
    return stepped;
}

void CScaleEffect::Finish() {
    ASSERT_THROW_IF_FAILED(_OBJ != NULL);
    _OBJ->SetSize(_width, _height);
}
