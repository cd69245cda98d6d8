#include "gui/base_dialog.h"

#include <algorithm>
#include <cstdlib>

#include "engine/logger.h"
#include "engine/xml_node.h"
#include "engine/xml_node_list.h"
#include "gui/base_control.h"
#include "gui/control_factory.h"

CBaseDialog::CBaseDialog() = default;

CBaseDialog::~CBaseDialog() { CBaseDialog::Clear(); }

void CBaseDialog::LoadWithHandler(const CXMLNode& node, CEventHolder* handler) {
    _handler = handler;
    CBaseDialog::Load(node);
}

bool CBaseDialog::Load(const CXMLNode& node) {
    _focus = -1;
    if (!node.IsValid()) return false;
    CreateControls(node);
    return true;
}

bool CBaseDialog::CreateControls(const CXMLNode& node) {
    if (!node.IsValid()) return false;
    CEventHolder* owner = _handler ? _handler : this;
    const CXMLNodeList list = node.SelectNodes("Control");
    const int n = list.GetLength();
    _controls.reserve(_controls.size() + static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        std::unique_ptr<CBaseControl> control = CreateControl(owner, list.GetItem(i));
        if (control) _controls.push_back(std::shared_ptr<CBaseControl>(std::move(control)));
    }
    return true;
}

void CBaseDialog::Clear() { _controls.clear(); }

void CBaseDialog::Activate() {
    _result = 0;
    _focus = -1;
}

void CBaseDialog::OnKeyDown(int key) {
    switch (key) {
        case 37:  // left
        case 38:  // up
            MoveFocus(-1);
            break;
        case 39:  // right
        case 40:  // down
            MoveFocus(+1);
            break;
        default:
            break;
    }
}

void CBaseDialog::Draw(bool skip_update) {
    for (size_t i = 0; i < _controls.size(); ++i) {
        // Held while it draws: a handler may remove or clear controls from
        // inside the control's own update.
        const std::shared_ptr<CBaseControl> control = _controls[i];
        control->Draw(skip_update);
    }
}

bool CBaseDialog::MoveFocus(int dir) {
    ASSERT(abs(dir) == 1);
    const int count = static_cast<int>(_controls.size());
    if (count == 0) return false;
    int i = _focus;
    int tries = 0;
    for (;;) {
        i += dir;
        if (i < 0) i = count - 1;
        if (i >= count) i = 0;
        CBaseControl* c = _controls[static_cast<size_t>(i)].get();
        if (c->IsEnabled() && c->IsVisible() && c->CanFocus()) {
            c->SetFocus();
            _focus = i;
            return true;
        }
        if (++tries >= count) return false;
        if (i == _focus) return false;
    }
}

CBaseControl* CBaseDialog::FindControl(const std::string& name) const {
    for (const auto& c : _controls)
        if (c->GetId() == name) return c.get();
    CLogger::Instance().Log(2, "Error: control '%s' not found in dialog!", name.c_str());
    return nullptr;
}

bool CBaseDialog::HasControl(const std::string& name) const {
    return std::any_of(_controls.begin(), _controls.end(), [&](const auto& c) { return c->GetId() == name; });
}

bool CBaseDialog::RemoveControl(const std::string& name) {
    auto it = std::find_if(_controls.begin(), _controls.end(), [&](const auto& c) { return c->GetId() == name; });
    if (it == _controls.end()) return false;
    const int index = static_cast<int>(it - _controls.begin());
    _controls.erase(it);
    // The focus keeps pointing at the same control (or at none when it went).
    if (_focus == index)
        _focus = -1;
    else if (_focus > index)
        --_focus;
    return true;
}

void CBaseDialog::Move(float dx, float dy) {
    for (const auto& c : _controls) c->SetPosition(c->GetX() + dx, c->GetY() + dy);
}

bool CBaseDialog::GetBounds(CFloatRect& bounds) const {
    bounds = CFloatRect();
    if (_controls.empty()) return false;
    const CBaseControl& first = *_controls.front();
    bounds = CFloatRect(first.GetX(), first.GetY(), first.GetX() + first.GetWidth(), first.GetY() + first.GetHeight());
    for (const auto& c : _controls) {
        bounds.left = std::min(bounds.left, c->GetX());
        bounds.top = std::min(bounds.top, c->GetY());
        bounds.right = std::max(bounds.right, c->GetX() + c->GetWidth());
        bounds.bottom = std::max(bounds.bottom, c->GetY() + c->GetHeight());
    }
    return true;
}
