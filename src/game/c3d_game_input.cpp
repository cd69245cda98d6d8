// Keys and the mouse: Esc and F1 drive the state machine, other keys go to
// the dialog on screen, and with the "keys" setting on the debug keys act on
// the field and the game.
#include "engine/engine_core_interface.h"
#include "engine/mouse_controller_interface.h"
#include "engine/keyboard_controller_interface.h"
#include "game/c3d_game.h"
#include "game/scene_field.h"
#include "game/tool_panel.h"
#include "platform/virtual_keys.h"
#include "profiles/app_params.h"

namespace {

constexpr int kKeyF8 = plat::VK_F1 + 7;
constexpr int kKeyF9 = plat::VK_F1 + 8;
// The debug tools' charge: more than any bar holds.
constexpr int kDebugToolAmount = 1000;

}  // namespace

void c3DGame::OnKeyDown(uint16_t key) {
    if (key == plat::VK_ESCAPE) {
        if (_state == gsDefault) {
            SetState(gsPause);
            return;
        }
        if (_state == gsGameOver) {
            _pending_request = prGameOver;
            return;
        }
    }
    if (key == plat::VK_F1 && _state == gsDefault) {
        SetState(gsHelp);
        return;
    }
    _panel_manager.OnKeyDown(key);
    if (g_AppParams.keys) OnDebugKey(key);
}

void c3DGame::OnDebugKey(uint16_t key) {
    switch (key) {
        case '1': _field->DebugPlaceBonus(2); break;
        case '2': _field->DebugPlaceBonus(3); break;
        case '3': _field->DebugPlaceBonus(1); break;
        case '5': _field->DebugPlaceBonus(5); break;
        case 'E': _field->DebugGiveTool(kToolEgg, kDebugToolAmount); break;
        case 'Q': _field->DebugGiveTool(kToolHammer, kDebugToolAmount); break;
        case 'W': _field->DebugGiveTool(kToolFeather, kDebugToolAmount); break;
        case 'I': AddLife(); break;
        case 'K': _field->DebugPlaceBird(); break;
        case 'M': _field->DebugStartMixer(); break;
        case kKeyF8:
            // The level counts as won and the same level follows.
            if (_state != gsNextLevel) {
                --_game_var.level;
                SetState(gsNextLevel);
            }
            break;
        case kKeyF9: SetState(gsNextLevel); break;
        default: break;
    }
}

void c3DGame::ProcessFieldInput() {
    // A press that began outside normal play belongs to a dialog (the click
    // that closed it): the field sees the mouse again once it is released.
    IMouseController* mouse = g_EngineCore ? g_EngineCore->GetMouse() : nullptr;
    const bool down = mouse && mouse->IsAnyButtonDown();
    if (!down)
        _dialog_press = false;
    else if (_state != gsDefault)
        _dialog_press = true;
    if (_state == gsGameOver || _state == gsLifeLost || _state == gsPause || _state == gsGameWon) return;
    if (!_dialog_press) _field->OnBallMove();
    if (!g_AppParams.keys || !g_EngineCore) return;
    if (IKeyboardController* keyboard = g_EngineCore->GetKeyboard())
        if (keyboard->IsKeyPressed(plat::VK_SPACE)) _field->DebugDropRow();
}
