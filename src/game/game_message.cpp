#include "game/game_message.h"

#include "engine/engine_core_interface.h"
#include "field/countdown.h"
#include "graphics/font_keeper.h"
#include "profiles/app_params.h"

namespace {

constexpr int32_t kFadeStep = 10;
constexpr int32_t kFadeSteps = 26;  // 0, 10, ..., 250 in, 255, 245, ..., 5 out
constexpr int32_t kOpaque = 255;

uint32_t WithAlpha(uint32_t color, int32_t alpha) {
    return (color & 0x00FFFFFFu) | (static_cast<uint32_t>(alpha & 0xFF) << 24);
}

}  // namespace

float CGameMessage::CentreX() { return static_cast<float>(g_AppParams.centre); }

float CGameMessage::CentreY() {
    return static_cast<float>((g_EngineCore ? g_EngineCore->GetScreenHeight() : 600) / 2);
}

void CGameMessage::Init() {
    _shown = 0;
    _duration = 80;
    _speed = 3.0f;
}

void CGameMessage::Hide() { _shown = 0; }

void CGameMessage::SetDuration(uint32_t frames) { _duration = frames; }

bool CGameMessage::IsShown() const { return _shown != 0; }

void CGameMessage::Show(const std::string& alias, uint32_t flags) {
    _label_alias = alias;
    _alpha_track.clear();
    _alpha_track.reserve(2 * kFadeSteps + _duration);
    for (int32_t i = 0; i < kFadeSteps; ++i) _alpha_track.push_back(i * kFadeStep);
    _alpha_track.insert(_alpha_track.end(), _duration, kOpaque);
    for (int32_t i = 0; i < kFadeSteps; ++i) _alpha_track.push_back(kOpaque - i * kFadeStep);

    _shown = 1;
    _alpha_index = 0;
    _current_height = 1.0f;
    _hold_counter = _duration;
    _flags = flags;

    _style = CFontKeeper::Instance().GetLabel(alias);
    _target_height = _style.style.height;
    if (_flags & kFade) _style.style.color = WithAlpha(_style.style.color, _alpha_track.front());
    if (!(_flags & kZoom)) _current_height = _style.style.height;
    _style.style.height = _current_height;
}

bool CGameMessage::Update() {
    if (!_shown) return true;
    bool done = true;
    if (_flags & kFade) done = StepAlpha();
    if (_flags & kZoom) done = StepZoom() && done;
    if (done) _shown = 0;
    return done;
}

bool CGameMessage::StepAlpha() {
    if (_alpha_index + 1 >= _alpha_track.size()) return true;
    ++_alpha_index;
    _style.style.color = WithAlpha(_style.style.color, _alpha_track[_alpha_index]);
    return false;
}

bool CGameMessage::StepZoom() {
    if (_current_height >= _target_height) {
        if (_hold_counter == 0) return true;
        --_hold_counter;
        return false;
    }
    _current_height += _speed;
    ClampFloat(_current_height, 0.0f, _target_height);
    _style.style.height = _current_height;
    return false;
}

bool CGameMessage::Render() {
    if (!_shown && !(_flags & kDrawHidden)) return true;
    CFontKeeper& fonts = CFontKeeper::Instance();
    fonts.EnableStyleOverride(true);
    fonts.SetLabelStyle(_style.style);
    Draw();
    fonts.EnableStyleOverride(false);
    return Update();
}

void CGameMessage::Draw() { CFontKeeper::Instance().PrintLabel(CentreX(), CentreY(), _label_alias); }
