#include "gui/menu_label.h"

#include "engine/xml_node.h"
#include "gui/event_holder.h"

CMenuLabel::CMenuLabel(CEventHolder* owner) : CBaseControl(owner) {}

CMenuLabel::~CMenuLabel() = default;

bool CMenuLabel::Load(const CXMLNode& node) {
    CBaseControl::Load(node);
    SetCaption(node.GetAttribute("caption", ""));
    return true;
}

void CMenuLabel::SetCaption(const std::string& alias) {
    _caption = alias;
    _laid_out = false;
}

CStaticText& CMenuLabel::GetStaticText() {
    _laid_out = true;
    return _text;
}

void CMenuLabel::Relayout() {
    CBaseControl::Relayout();
    _laid_out = false;
}

void CMenuLabel::Draw(bool /*skip_update*/) {
    if (!_visible) return;
    if (!_laid_out && !_owner_draw) {
        // A label without caption has nothing to lay out (its owner may fill the text).
        if (!_caption.empty()) _text.SetLabel(_caption, CVector2(_left, _top));
        _laid_out = true;
    }
    if (_owner_draw) {
        if (_owner)
            _owner->OnCustomDraw(this, 0, static_cast<int>(_left), static_cast<int>(_top), _caption, &_text);
        return;
    }
    if (!_text.GetAlias().empty()) _text.Render();
}
