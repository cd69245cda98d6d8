#include "field/alpha_effect.h"

#include "engine/logger.h"
#include "field/graph_obj.h"

void CAlphaEffect::Start(CGraphOBJ* in_OBJ, int alpha, uint32_t interval) {
    ASSERT_THROW_IF_FAILED(in_OBJ != NULL);
    ASSERT_THROW_IF_FAILED(interval != 0);
    _OBJ = in_OBJ;
    _target = static_cast<float>(alpha);
    _alpha = static_cast<float>(in_OBJ->GetAlpha(0));
    _step = (_target - _alpha) / static_cast<float>(interval);
    IBaseEffect::Start(interval);
}

bool CAlphaEffect::Update() {
    ASSERT_THROW_IF_FAILED(_OBJ != NULL);
    const bool stepped = Step();
    if (stepped) {
        _OBJ->SetAlpha(static_cast<int>(_alpha), -1);
        _alpha += _step;
    }
    return stepped;
}

void CAlphaEffect::Finish() {
    ASSERT_THROW_IF_FAILED(_OBJ != NULL);
    _OBJ->SetAlpha(static_cast<int>(_target), -1);
}
