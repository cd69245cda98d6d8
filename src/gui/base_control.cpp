#include "gui/base_control.h"

#include <algorithm>

#include "engine/xml_node.h"
#include "gui/event_holder.h"

namespace {

// Far outside the 800x600 screen, near enough that every sum and product of
// a control's layout stays well inside an int.
constexpr int kMaxControlPixels = 16384;

float ReadPixels(const CXMLNode& node, const char* name) {
    return static_cast<float>(std::clamp(node.GetAttributeInt(name, 0), -kMaxControlPixels, kMaxControlPixels));
}

}  // namespace

ControlRect ReadControlRect(const CXMLNode& node) {
    ControlRect r;
    r.id = node.GetAttribute("id", "");
    r.height = ReadPixels(node, "height");
    r.width = ReadPixels(node, "width");
    r.left = ReadPixels(node, "left");
    r.top = ReadPixels(node, "top");
    return r;
}

CBaseControl::CBaseControl(CEventHolder* owner) : _owner(owner) {}

CBaseControl::~CBaseControl() = default;

void CBaseControl::OnMouseEnter() {
    if (_owner) _owner->OnMouseEnter(this);
}

void CBaseControl::OnMouseLeave() {
    if (_owner) _owner->OnMouseLeave(this);
}

void CBaseControl::TrackHover(bool inside) {
    if (inside == _over) return;
    if (inside) {
        OnMouseEnter();
    } else {
        OnMouseLeave();
        _pressed = false;
    }
    _over = inside;
}

void CBaseControl::SetPosition(float x, float y) {
    _left = x;
    _top = y;
    Relayout();
}

bool CBaseControl::SetEnabled(bool enabled) {
    const bool previous = _enabled;
    _enabled = enabled;
    return previous;
}

bool CBaseControl::SetVisible(bool visible) {
    const bool previous = _visible;
    _visible = visible;
    return previous;
}

bool CBaseControl::Load(const CXMLNode& node) {
    const ControlRect r = ReadControlRect(node);
    _id = r.id;
    _left = r.left;
    _top = r.top;
    _width = r.width;
    _height = r.height;
    SetEnabled(true);
    _visible = true;
    SetEnabled(node.GetAttributeBool("enabled", true));
    SetVisible(node.GetAttributeBool("visible", true));
    return true;
}

void CBaseControl::SetRect(const CFloatRect& rect) {
    _enabled = true;
    _visible = true;
    _left = rect.left;
    _top = rect.top;
    _width = rect.right - rect.left;
    _height = rect.bottom - rect.top;
}

void CBaseControl::SetLeft(float left) {
    _left = left;
    Relayout();
}

void CBaseControl::SetTop(float top) {
    _top = top;
    Relayout();
}

void CBaseControl::SetWidth(float width) {
    _width = width;
    Relayout();
}

void CBaseControl::SetHeight(float height) {
    _height = height;
    Relayout();
}

bool CBaseControl::IsPointInside(int x, int y) const {
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    return _left < fx && fx < _left + _width && _top < fy && fy < _top + _height;
}
