#include "gui/menu_button.h"


#include "engine/logger.h"
#include "engine/mouse_controller_interface.h"
#include "engine/xml_node.h"
#include "graphics/animation.h"
#include "graphics/color.h"
#include "graphics/font_keeper.h"
#include "graphics/polygon.h"
#include "graphics/textured_rects_list.h"
#include "gui/gui_services.h"

std::vector<uint32_t> BuildFadeTable(uint32_t a, uint32_t b, int steps) {
    std::vector<uint32_t> table;
    table.reserve(static_cast<size_t>(steps > 0 ? steps + 1 : 1));
    table.push_back(a);
    if (steps <= 0) return table;
    const CColor from(a);
    const CColor delta = (CColor(b) - from) / static_cast<float>(steps);
    for (int i = 1; i < steps; ++i) {
        // Each step from the start colour, so rounding does not pile up.
        CColor c = from + delta * static_cast<float>(i);
        c.Clamp();
        table.push_back(c.ToARGB());
    }
    // The fade ends exactly on the target colour.
    table.push_back(b);
    return table;
}

namespace {

ButtonKind ReadButtonKind(const CXMLNode& node) {
    ButtonKind kind;
    kind.skin = LoadFrameSkin(node);
    kind.hover_steps = node.GetAttributeInt("hover_ani_steps", 20);
    kind.hover_end_color = static_cast<uint32_t>(node.GetAttributeInt("hover_end_color", -1));
    return kind;
}

}  // namespace

constinit CKindTable<ButtonKind> CMenuButton::_kinds_desc("Button", "//Controls/Buttons/Button", ReadButtonKind);

void CMenuButton::LoadButtonKinds() {
    _kinds_desc.Load();
    ASSERT(!_kinds_desc.empty());
}

CMenuButton::CMenuButton(CEventHolder* owner) : CBaseMenuButton(owner) {
    if (!_kinds_desc.IsLoaded()) LoadButtonKinds();
    gui::LoadSample("btn_enter");
    _frame_renderer = std::make_shared<CTexturedRectsList>();
    _font_keeper = &CFontKeeper::Instance();
}

CMenuButton::~CMenuButton() = default;

std::shared_ptr<C2DObject> CMenuButton::MakeGlyph(const CGraphicsDesc& desc) const {
    auto glyph = std::make_shared<C2DObject>();
    glyph->Create(_left + _glyph_offset.x, _top + _glyph_offset.y, desc, true);
    return glyph;
}

bool CMenuButton::Load(const CXMLNode& node) {
    CBaseControl::Load(node);

    const int kind = node.GetAttributeInt("kind", 0);
    if (static_cast<unsigned>(kind) < _kinds_desc.size()) {
        _kind = _kinds_desc[static_cast<size_t>(kind)];
    } else {
        CLogger::Instance().Log(2, "Error: Invalid button kind: %d!", kind);
        // No kinds at all: an empty kind (no frame, the default fade).
        _kind = _kinds_desc.FirstOrEmpty();
    }

    const CXMLNode caption = node.SelectSingleNode("Caption");
    _has_caption = caption.IsValid();
    if (_has_caption) {
        SetCaption(caption.GetAttribute("label", ""));
        _caption_offset = CVector2(static_cast<float>(caption.GetAttributeInt("dis_x", static_cast<int>(_width / 2))),
                                   static_cast<float>(caption.GetAttributeInt("dis_y", static_cast<int>(_height / 2))));
    }

    const CXMLNode glyph = node.SelectSingleNode("Glyph");
    _has_glyph = glyph.IsValid();
    if (_has_glyph) {
        _glyph_offset = CVector2(static_cast<float>(glyph.GetAttributeInt("dis_x", 0)),
                                 static_cast<float>(glyph.GetAttributeInt("dis_y", 0)));
        _glyph_desc = ParseGraphics(glyph);
        _glyph_normal = MakeGlyph(_glyph_desc);
        const CXMLNode disabled = node.SelectSingleNode("GlyphDisabled");
        if (disabled.IsValid()) {
            _glyph_disabled = MakeGlyph(ParseGraphics(disabled));
        } else {
            _glyph_disabled = MakeGlyph(_glyph_desc);
            _glyph_disabled->MakeGrayscale();
        }
        const CXMLNode hover = node.SelectSingleNode("GlyphHover");
        _glyph_hover = hover.IsValid() ? MakeGlyph(ParseGraphics(hover)) : nullptr;
        const CXMLNode pressed = node.SelectSingleNode("GlyphPressed");
        _glyph_pressed = pressed.IsValid() ? MakeGlyph(ParseGraphics(pressed)) : nullptr;
        SetGlyph(_glyph_normal);
    }

    const CXMLNode sound = node.SelectSingleNode("Sound");
    if (sound.IsValid()) {
        _mouse_over_sample = sound.GetAttribute("mouse_over", "btn_enter");
        _press_sample = sound.GetAttribute("button_down", "");
        gui::LoadSample(_mouse_over_sample);
        gui::LoadSample(_press_sample);
    }

    BuildFrameQuads();
    BuildFadeTables();
    return true;
}

void CMenuButton::BuildFrameQuads() {
    _frame_renderer = std::make_shared<CTexturedRectsList>();
    if (!_kind.skin.texture.empty()) _frame_renderer->SetTextureByName(_kind.skin.texture);
    BuildFrame(*_frame_renderer, CFloatRect(_left, _top, _left + _width, _top + _height), _kind.skin);
}

void CMenuButton::BuildFadeTables() {
    _caption_fade.clear();
    _glyph_fade.clear();
    if (_has_caption) _caption_fade = BuildFadeTable(_caption_label.style.color, _kind.hover_end_color, _kind.hover_steps);
    if (_has_glyph) _glyph_fade = BuildFadeTable(_glyph_desc.color, 0xFFFFFFFF, _kind.hover_steps);
    _caption_fade_index = 0;
    _glyph_fade_index = 0;
}

void CMenuButton::SetCaption(const std::string& alias) {
    if (alias == _caption_alias) return;
    if (!alias.empty()) _has_caption = true;
    _caption_alias = alias;
    _caption_label = alias.empty() ? LabelDesc {} : _font_keeper->GetLabel(alias);
    _caption_fade_index = 0;
    _caption_built = false;
}

void CMenuButton::SetGlyph(const std::shared_ptr<C2DObject>& glyph) {
    if (!glyph) return;
    const uint32_t color = _glyph ? _glyph->GetColor(0) : 0xFFFFFFFF;
    glyph->SetColor(color, kAllCorners);
    glyph->SetAlpha(static_cast<int>(color >> 24), kAllCorners);
    _glyph = glyph;
}

void CMenuButton::SetupCodeButton(float x, float y, float width, float height, const std::string& label_alias) {
    _font_keeper = &CFontKeeper::Instance();
    _kind = _kinds_desc.FirstOrEmpty();
    _has_glyph = false;
    SetRect(CFloatRect(x, y, x + width, y + height));
    BuildFrameQuads();
    SetCaption(label_alias);
    _has_caption = !_caption_alias.empty();
    BuildFadeTables();
}

bool CMenuButton::IsOverPoint(int x, int y) {
    if (!CBaseMenuButton::IsOverPoint(x, y)) return false;
    if (!_has_glyph) return true;
    if (!ASSERT(_glyph.get() != NULL)) return true;
    const CAnimation* animation = _glyph->GetAnimation();
    if (!animation || !animation->HasPolygons()) return true;
    CPolygon* poly = _glyph->GetPolygon();
    if (!ASSERT(poly != NULL)) return true;
    return poly->IsPointInside(static_cast<float>(x), static_cast<float>(y));
}

void CMenuButton::OnMouseEnter() {
    gui::PlaySample(_mouse_over_sample);
    CBaseMenuButton::OnMouseEnter();
    SetGlyph(_glyph_hover);
}

void CMenuButton::OnMouseLeave() {
    CBaseMenuButton::OnMouseLeave();
    SetGlyph(_glyph_normal);
}

void CMenuButton::OnPress() {
    gui::PlaySample(_press_sample);
    CBaseMenuButton::OnPress();
    SetGlyph(_glyph_pressed);
}

void CMenuButton::OnRelease() {
    CBaseMenuButton::OnRelease();
    SetGlyph(IsMouseOver() ? _glyph_hover : _glyph_normal);
}

void CMenuButton::Draw(bool skip_update) {
    CBaseMenuButton::Draw(skip_update);
    if (!_visible) return;

    if (_frame_renderer) _frame_renderer->Render();

    // One fade step per drawn frame, up while the pointer rests on the button.
    bool glyph_changed = false;
    if (_over) {
        if (!_caption_fade.empty() && _caption_fade_index + 1 < _caption_fade.size()) {
            ++_caption_fade_index;
            _caption_built = false;
        }
        if (!_glyph_fade.empty() && _glyph_fade_index + 1 < _glyph_fade.size()) {
            ++_glyph_fade_index;
            glyph_changed = true;
        }
    } else {
        if (_caption_fade_index > 0) {
            --_caption_fade_index;
            _caption_built = false;
        }
        if (_glyph_fade_index > 0) {
            --_glyph_fade_index;
            glyph_changed = true;
        }
    }

    if (_has_glyph) {
        if (!_enabled) {
            if (ASSERT(_glyph_disabled != NULL)) _glyph_disabled->Render();
        } else if (ASSERT(_glyph != NULL)) {
            if (glyph_changed && _glyph_fade_index < _glyph_fade.size()) {
                const uint32_t color = _glyph_fade[_glyph_fade_index];
                _glyph->SetColor(color, kAllCorners);
                _glyph->SetAlpha(static_cast<int>(color >> 24), kAllCorners);
            }
            _glyph->Render();
        }
    }

    if (_has_caption && !_caption_alias.empty()) {
        if (!_caption_built) {
            uint32_t color = 0x808080;
            if (_enabled && _caption_fade_index < _caption_fade.size()) color = _caption_fade[_caption_fade_index];
            _caption_text.SetLabel(_caption_alias,
                                   CVector2(_left + _caption_offset.x, _top + _caption_offset.y));
            TextStyle style = _caption_text.GetTextStyle();
            style.color = (style.color & 0xFF000000u) | (color & 0x00FFFFFFu);
            _caption_text.SetTextStyle(style);
            _caption_built = true;
        }
        _caption_text.Render();
    }
}

void CMenuButton::SetPosition(float x, float y) {
    const float dx = x - _left, dy = y - _top;
    if (_frame_renderer) _frame_renderer->MoveAll(dx, dy);
    for (const auto& glyph : {_glyph_normal, _glyph_hover, _glyph_pressed, _glyph_disabled})
        if (glyph) glyph->Move(dx, dy);
    CBaseMenuButton::SetPosition(x, y);
}

bool CMenuButton::SetEnabled(bool enabled) {
    const bool previous = CBaseMenuButton::SetEnabled(enabled);
    if (previous != enabled) _caption_built = false;
    return previous;
}

void CMenuButton::Relayout() {
    CBaseMenuButton::Relayout();
    // The caption takes the new place when it is next built.
    _caption_built = false;
}
