#include "gui/panel_slide.h"

#include <exception>
#include <limits>

#include "engine/engine_core_interface.h"
#include "engine/logger.h"
#include "engine/variables.h"
#include "gui/base_dialog.h"

namespace {

const CVariables* g_slide_variables = nullptr;

int Sign(int v) { return (v > 0) - (v < 0); }

}  // namespace

void CPanelSlide::SetGameVariables(const CVariables* variables) { g_slide_variables = variables; }

float CPanelSlide::ReadSpeed() {
    float speed = 0;
    if (g_slide_variables) {
        try {
            speed = g_slide_variables->GetFloat("m_panel_speed");
            if (!(speed > 0))
                CLogger::Instance().Log(2, "Warning: m_panel_speed %f is not positive, panels move at once!",
                                        static_cast<double>(speed));
        } catch (const std::exception& e) {
            CLogger::Instance().Log(2, "Error: game variable 'm_panel_speed' not read: %s", e.what());
            speed = 0;
        }
    }
    // A speed of 0 or less would never finish a slide: the panel then reaches
    // its end in the first step.
    if (!(speed > 0)) speed = std::numeric_limits<float>::max();
    return speed;
}

void CPanelSlide::Start(CBaseDialog* dialog_in, CBaseDialog* dialog_out, int dx, int dy) {
    const float speed = ReadSpeed();
    const float sx = static_cast<float>(Sign(dx)), sy = static_cast<float>(Sign(dy));
    const float w = static_cast<float>(g_EngineCore ? g_EngineCore->GetScreenWidth() : 800);
    const float h = static_cast<float>(g_EngineCore ? g_EngineCore->GetScreenHeight() : 600);
    _dialog_in = dialog_in;
    _dialog_out = dialog_out;
    if (dialog_in) {
        _slider_in.SetOrigin(CVector2(0, 0));
        _slider_in.Start(CVector2(-sx * w, -sy * h), CVector2(0, 0), speed);
    }
    if (dialog_out) {
        _slider_out.SetOrigin(CVector2(0, 0));
        _slider_out.Start(CVector2(0, 0), CVector2(sx * w, sy * h), speed);
    }
    _moving = true;
}

void CPanelSlide::Update() {
    if (!_moving) return;
    _slider_in.BeginDraw();
    if (_dialog_in) _dialog_in->Draw(true);
    _slider_in.EndDraw();
    _slider_out.BeginDraw();
    if (_dialog_out) _dialog_out->Draw(true);
    _slider_out.EndDraw();
    if (_slider_in.GetState() == CDialogSlider2::ssIdle && _slider_out.GetState() == CDialogSlider2::ssIdle)
        _moving = false;
}
