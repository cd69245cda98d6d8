#include "game/screen_shaker.h"

#include <cmath>

#include "engine/engine_core_interface.h"
#include "engine/logger.h"
#include "engine/random.h"

namespace {

// The normal draw offset: minus half of the 800 x 600 screen.
constexpr float kRestX = -400.0f;
constexpr float kRestY = -300.0f;
constexpr float kEndT = 50.0f;

void SetWorldTransform(float angle, float x, float y) {
    if (g_EngineCore) g_EngineCore->SetWorldTransform(angle, x, y);
}

}  // namespace

void CScreenShaker::Reset() {
    _t = 0;
    _active = false;
}

bool CScreenShaker::Render() {
    if (!_active) return true;
    return Update();
}

bool CScreenShaker::Update() {
    float angle = 1.0f;  // the limit of sin(t) / t at 0
    if (_t == 0) {
        CLogger::Instance().Log(2, "Error: %s. File=%s, Line=%d", "Invalid Zero Value (CScreenShaker::Update)", __FILE__,
                                __LINE__);
    } else {
        angle = std::sin(_t) / _t;
    }
    const float x = -395.0f - static_cast<float>(fx::rand() % 10);
    const float y = -295.0f - static_cast<float>(fx::rand() % 10);
    SetWorldTransform(angle, x, y);
    _t += 1.0f;
    if (_t <= kEndT) return false;
    SetWorldTransform(0, kRestX, kRestY);
    _active = false;
    return true;
}
