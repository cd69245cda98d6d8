#include "gui/dialog_slider2.h"

#include "engine/engine_core_interface.h"

namespace {

// The screen size from the engine core; the logical 800x600 without one.
void ScreenSize(int& w, int& h) {
    w = g_EngineCore ? g_EngineCore->GetScreenWidth() : 800;
    h = g_EngineCore ? g_EngineCore->GetScreenHeight() : 600;
}

CVector2 RestingOffset() {
    int w = 0, h = 0;
    ScreenSize(w, h);
    return CVector2(static_cast<float>(-(w / 2)), static_cast<float>(-(h / 2)));
}

}  // namespace

CDialogSlider2::CDialogSlider2() { SetOrigin(CVector2(0, 0)); }

void CDialogSlider2::SetOrigin(const CVector2& p) { _origin = p + RestingOffset(); }

void CDialogSlider2::Start(const CVector2& from, const CVector2& to, float speed) {
    _from = from;
    _to = to;
    _speed = speed;
    _current = from;
    _state = ssToTo;
}

void CDialogSlider2::SetState(int32_t state) {
    switch (state) {
        case ssIdle:
            if (_state == ssToFrom) _current = _from;
            if (_state == ssToTo) _current = _to;
            break;
        case ssToFrom:
            _current = _to;
            break;
        case ssToTo:
            _current = _from;
            break;
        default:
            break;
    }
    _state = state;
}

void CDialogSlider2::Step() {
    if (_state != ssToFrom && _state != ssToTo) return;
    const CVector2 target = _state == ssToFrom ? _from : _to;
    const CVector2 d = target - _current;
    const float distance = d.Length();
    if (distance <= _speed) {
        SetState(ssIdle);
        return;
    }
    _current += d * (_speed / distance);
}

void CDialogSlider2::BeginDraw() {
    if (g_EngineCore) g_EngineCore->SetWorldTransform(0, _origin.x + _current.x, _origin.y + _current.y);
    Step();
}

void CDialogSlider2::EndDraw() {
    const CVector2 rest = RestingOffset();
    if (g_EngineCore) g_EngineCore->SetWorldTransform(0, rest.x, rest.y);
}
