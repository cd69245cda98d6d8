#include "gui/menu_check_box.h"

#include "engine/mouse_controller_interface.h"
#include "engine/xml_node.h"
#include "graphics/font_keeper.h"
#include "gui/control_kinds.h"
#include "gui/event_holder.h"
#include "gui/gui_services.h"

CMenuCheckBox::CMenuCheckBox(CEventHolder* owner) : CBaseControl(owner) {}

CMenuCheckBox::~CMenuCheckBox() = default;

bool CMenuCheckBox::Load(const CXMLNode& node) {
    CBaseControl::Load(node);
    _caption = node.GetAttribute("caption", "");
    _checked = false;
    const CheckBoxKind& kind = GetCheckBoxKind();
    _box = std::make_shared<C2DObject>();
    _check = std::make_shared<C2DObject>();
    _box->Create(_left, _top, kind.box, !kind.box.texture.empty());
    _check->Create(_left, _top, kind.check, !kind.check.texture.empty());
    const float label_height = _caption.empty() ? 0.0f : CFontKeeper::Instance().GetLabel(_caption).style.height;
    _caption_pos = CVector2(_left + static_cast<float>(kind.box.width) + kCaptionGap,
                            _top + _height / 2 - label_height / 2);
    return true;
}

void CMenuCheckBox::Relayout() {
    if (!_box) return;
    const float dx = _left - _box->GetLeft(), dy = _top - _box->GetTop();
    _box->Move(dx, dy);
    _check->Move(dx, dy);
    _caption_pos += CVector2(dx, dy);
}

void CMenuCheckBox::Update() {
    if (!_enabled || !_visible) return;
    IMouseController* mouse = gui::Mouse();
    if (!mouse) return;
    const auto down = [&] {
        if (_owner) _owner->OnMouseDown(this);
    };
    const auto click = [&] {
        if (_owner) _owner->OnMouseUp(this);
        _checked = !_checked;
        if (_owner) _owner->OnClick(this);
    };
    // Only a release of the left button ends a press, whatever started it.
    if (ReplayLeftButton([&](int x, int y) { return IsPointInside(x, y); }, down, [] { return true; }, click)) return;
    TrackHover(IsPointInside(mouse->GetX(), mouse->GetY()));
    TrackPress(gui::ReadPressInputs().Any(), down);
}

void CMenuCheckBox::Draw(bool skip_update) {
    if (!skip_update) Update();
    if (!_visible) return;
    if (_box) _box->Render();
    if (_checked && _check) _check->Render();
    if (!_caption.empty()) CFontKeeper::Instance().PrintLabel(_caption_pos.x, _caption_pos.y, _caption);
}
