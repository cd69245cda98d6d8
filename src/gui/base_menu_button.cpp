#include "gui/base_menu_button.h"

#include "engine/mouse_controller_interface.h"
#include "graphics/textured_rects_list.h"
#include "gui/event_holder.h"
#include "gui/gui_services.h"

CBaseMenuButton::CBaseMenuButton(CEventHolder* owner) : CBaseControl(owner) {}

CBaseMenuButton::~CBaseMenuButton() {
    // The renderer holds the attached sprite: let it go first.
    if (_renderer && _attached) _renderer->Remove(_attached);
    _renderer.reset();
}

bool CBaseMenuButton::IsMouseOver() {
    IMouseController* mouse = gui::Mouse();
    return mouse && IsOverPoint(mouse->GetX(), mouse->GetY());
}

bool CBaseMenuButton::IsOverPoint(int x, int y) { return IsPointInside(x, y); }

void CBaseMenuButton::Update() {
    if (!_enabled || !_visible) return;
    const gui::PressInputs in = gui::ReadPressInputs();
    // The input that starts the press must end it: Enter wins over the mouse,
    // the mouse over the joystick.
    const bool clicked = ReplayLeftButton([&](int x, int y) { return IsOverPoint(x, y); },
        [&] {
            _press_source = in.enter ? psEnterKey : psMouse;
            OnPress();
        },
        [&] { return _press_source == psMouse; },
        [&] {
            OnRelease();
            Click();
        });
    if (clicked) return;
    TrackHover(IsMouseOver());
    TrackPress(in.Any(), [&] {
        _press_source = in.enter ? psEnterKey : (in.mouse ? psMouse : psJoystick);
        OnPress();
    });
    const bool still_down = (_press_source == psEnterKey && in.enter) || (_press_source == psMouse && in.mouse) ||
                            (_press_source == psJoystick && in.joystick);
    TrackRelease(!still_down, [&] {
        OnRelease();
        Click();
    });
}

void CBaseMenuButton::OnPress() {
    if (_owner) _owner->OnMouseDown(this);
}

void CBaseMenuButton::OnRelease() {
    if (_owner) _owner->OnMouseUp(this);
}

void CBaseMenuButton::Click() {
    if (_owner) _owner->OnClick(this);
}

void CBaseMenuButton::SetFocus() {
    if (IMouseController* mouse = gui::Mouse())
        mouse->SetPosition(static_cast<int>(_left + _width / 2), static_cast<int>(_top + _height / 2), 0);
}

void CBaseMenuButton::Draw(bool skip_update) {
    // A button that is only drawn lies under the dialog that has the
    // pointer: it shows no hover (and holds no press).
    if (!skip_update)
        Update();
    else
        TrackHover(false);
    if (_visible) {
        uint32_t state = bsNormal;
        if (!_enabled)
            state = bsDisabled;
        else if (_pressed)
            state = bsPressed;
        else if (_over)
            state = bsHover;
        if (state != _shown_state) {
            _shown_state = state;
            if (_renderer) {
                if (_attached) _renderer->Remove(_attached);
                _attached = &_state_sprites[state];
                _renderer->Add(_attached);
            }
        }
    }
    if (_renderer) _renderer->Render();
}

void CBaseMenuButton::Setup(const CFloatRect& rect, const std::string& texture, const CFloatRect& normal,
                            const CFloatRect& hover, const CFloatRect& pressed, const CFloatRect& disabled) {
    SetRect(rect);
    if (_renderer && _attached) _renderer->Remove(_attached);
    const CFloatRect* tex[4] = {&normal, &hover, &pressed, &disabled};
    for (int i = 0; i < 4; ++i) _state_sprites[i].InitFromTexRect(_left, _top, _width, _height, *tex[i]);
    _shown_state = bsNormal;
    _renderer = std::make_shared<CTexturedRectsList>();
    _renderer->SetTextureByName(texture);
    _attached = &_state_sprites[bsNormal];
    _renderer->Add(_attached);
}

void CBaseMenuButton::Relayout() {
    for (C2DObject& sprite : _state_sprites) sprite.SetPosition(_left, _top);
    if (_renderer) _renderer->Invalidate();
}
