#include "graphics/static_text.h"

#include <algorithm>

#include "graphics/font_keeper.h"
#include "graphics/textured_rects_list.h"

namespace {

// The tag and the value it names; the other values keep what they held.
void CopyArg(PrintfArg& to, const PrintfArg& from) {
    to.type = from.type;
    switch (from.type) {
        case PrintfArg::kInt: to.int_value = from.int_value; break;
        case PrintfArg::kFloat: to.float_value = from.float_value; break;
        case PrintfArg::kString: to.string_value = from.string_value; break;
        default: break;
    }
}

}  // namespace

// Linked once whole, unlinked before anything goes: a walk of the chain only
// ever meets complete texts.
CStaticText::CStaticText() : _batch(std::make_shared<CTexturedRectsList>()) { Link(); }

CStaticText::~CStaticText() { Unlink(); }

void CStaticText::SetLabel(const std::string& alias, const CVector2& position) {
    _alias = alias;
    _position = position;
    _style = CFontKeeper::Instance().GetLabel(alias).style;
    _dirty = 1;
}

void CStaticText::SetArgs(const PrintfArg* a, const PrintfArg* b) {
    if (a) {
        CopyArg(_arg_a, *a);
        _dirty = 1;
    }
    if (b) {
        CopyArg(_arg_b, *b);
        _dirty = 1;
    }
}

void CStaticText::SetTextStyle(const TextStyle& style) {
    _style = style;
    _dirty = 1;
}

void CStaticText::InvalidateAll() {
    for (CStaticText* text = First(); text; text = text->Next()) text->Invalidate();
}

void CStaticText::Layout() {
    if (!_dirty) return;
    _dirty = 0;
    if (_alias.empty()) return;  // no label yet: nothing to lay out
    CFontKeeper& keeper = CFontKeeper::Instance();
    keeper.EnableStyleOverride(true);
    keeper.SetLabelStyle(_style);
    keeper.LayoutLabelArgs(_batch.get(), _position.x, _position.y, _alias, _arg_a, _arg_b);
    keeper.EnableStyleOverride(false);
    // A failed layout is not retried until something changes.
}

void CStaticText::Render() {
    Layout();
    _batch->Render();
}

CFloatRect CStaticText::GetBounds() {
    Layout();
    const int count = _batch->GetCount();
    if (count == 0) return CFloatRect(_position.x, _position.y, _position.x, _position.y);
    CFloatRect bounds(1e30f, 1e30f, -1e30f, -1e30f);
    for (int i = 0; i < count; ++i) {
        const ATexturedRect* quad = _batch->GetRect(static_cast<size_t>(i));
        bounds.left = std::min(bounds.left, quad->GetLeft());
        bounds.top = std::min(bounds.top, quad->GetTop());
        bounds.right = std::max(bounds.right, quad->GetRight());
        bounds.bottom = std::max(bounds.bottom, quad->GetBottom());
    }
    return bounds;
}

ATexturedRect* CStaticText::GetRect(int index) const { return _batch->GetRect(index); }

void CStaticText::Move(float dx, float dy) {
    if (_batch->GetCount() > 0) _batch->MoveAll(dx, dy);
}

void CStaticText::SetAlpha(int alpha) { _batch->SetAlpha(alpha); }
