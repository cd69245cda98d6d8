#include "gui/menu_image.h"

#include "engine/mouse_controller_interface.h"
#include "engine/xml_node.h"
#include "gui/event_holder.h"
#include "gui/gui_services.h"

CMenuImage::CMenuImage(CEventHolder* owner) : CBaseControl(owner) {}

CMenuImage::~CMenuImage() = default;

bool CMenuImage::Load(const CXMLNode& node) {
    CBaseControl::Load(node);
    CGraphicsDesc desc = ParseGraphics(node);
    desc.width = static_cast<int>(_width);
    desc.height = static_cast<int>(_height);
    _greyed = false;
    _image.reset();
    _disabled_image.reset();
    if (!desc.texture.empty())
        CreateImages(desc, node.GetAttributeFloat("rotate_pt_x", 0), node.GetAttributeFloat("rotate_pt_y", 0),
                     node.GetAttributeFloat("angle", 0));
    // An image loaded disabled had no sprite to grey when the flag was applied.
    if (!_enabled) MakeGrey();
    return true;
}

void CMenuImage::CreateImages(const CGraphicsDesc& desc, float rotate_x, float rotate_y, float angle) {
    _image = std::make_shared<C2DObject>();
    _disabled_image = std::make_shared<C2DObject>();
    for (const auto& sprite : {_image, _disabled_image}) {
        sprite->Create(_left, _top, desc, true);
        sprite->SetRotationCenter(rotate_x, rotate_y);
        sprite->SetAngle(angle);
    }
}

void CMenuImage::MakeGrey() {
    if (_greyed || !_disabled_image) return;
    _disabled_image->MakeGrayscale();
    _greyed = true;
}

bool CMenuImage::SetEnabled(bool enabled) {
    if (!enabled) MakeGrey();
    return CBaseControl::SetEnabled(enabled);
}

void CMenuImage::Relayout() {
    for (const auto& sprite : {_image, _disabled_image})
        if (sprite) sprite->SetPosition(_left, _top);
}

void CMenuImage::Update() {
    if (!_enabled) return;
    IMouseController* mouse = gui::Mouse();
    if (!mouse) return;
    const auto down = [&] {
        if (_owner) _owner->OnMouseDown(this);
    };
    const auto click = [&] {
        if (_owner) {
            _owner->OnMouseUp(this);
            _owner->OnClick(this);
        }
    };
    if (ReplayLeftButton([&](int x, int y) { return IsPointInside(x, y); }, down, [] { return true; }, click)) return;
    TrackHover(IsPointInside(mouse->GetX(), mouse->GetY()));
    const bool held = gui::IsLeftButtonHeld(*mouse);
    TrackPress(held, down);
    TrackRelease(!held, click);
}

void CMenuImage::Draw(bool skip_update) {
    if (!_visible) return;
    if (!skip_update) Update();
    C2DObject* sprite = _enabled ? _image.get() : _disabled_image.get();
    if (sprite) sprite->Render();
}
