#include "game/screen_fade.h"

#include <cstdlib>

#include "engine/engine_core_interface.h"
#include "engine/graphics_desc.h"
#include "graphics/object_2d.h"

namespace {

const char* const kOverlayTexture = "Textures\\Common\\Square.tga";
// Near black and transparent until a fade sets the alpha.
constexpr uint32_t kOverlayColor = 0x00010101;

}  // namespace

CScreenFade::CScreenFade() : _overlay(std::make_unique<C2DObject>()) {}

CScreenFade::~CScreenFade() = default;

bool CScreenFade::Prepare() {
    if (_loaded) return true;
    if (!_overlay || !g_EngineCore) return false;
    CGraphicsDesc desc;
    desc.texture = kOverlayTexture;
    desc.width = g_EngineCore->GetScreenWidth();
    desc.height = g_EngineCore->GetScreenHeight();
    desc.color = kOverlayColor;
    desc.tex_rect = CFloatRect(0, 0, 1, 1);
    _overlay->Create(0, 0, desc, true);
    _loaded = true;
    return true;
}

void CScreenFade::SetSpeed(int32_t speed) {
    Prepare();
    _speed = speed;
}

void CScreenFade::Begin(int32_t low, int32_t high, int32_t alpha, int32_t speed) {
    if (!Prepare()) return;
    _low = low;
    _high = high;
    _overlay->SetAlpha(alpha, kAllCorners);
    _speed = speed;
    _active = true;
}

void CScreenFade::Start(int32_t low, int32_t high) { Begin(low, high, low, std::abs(_speed)); }

void CScreenFade::StartReverse(int32_t low, int32_t high) { Begin(low, high, high, -std::abs(_speed)); }

void CScreenFade::SetAlpha(int32_t alpha) {
    if (Prepare()) _overlay->SetAlpha(alpha, kAllCorners);
}

int32_t CScreenFade::GetAlpha() const { return _loaded ? _overlay->GetAlpha(0) : 0; }

bool CScreenFade::Render() {
    if (!_active && !_hold) return true;
    if (!Prepare()) {
        _active = false;
        return true;
    }
    _overlay->Render();
    // The step runs whether or not a fade is active, so an alpha set by hand
    // under hold goes on moving while it stays in range.
    const int32_t next = _overlay->GetAlpha(0) + _speed;
    if (_low <= next && next <= _high) {
        _overlay->SetAlpha(next, kAllCorners);
        return false;
    }
    _active = false;
    return true;
}
