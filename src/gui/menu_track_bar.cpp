#include "gui/menu_track_bar.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/game_math.h"
#include "engine/helpers.h"
#include "engine/logger.h"
#include "engine/mouse_controller_interface.h"
#include "engine/xml_node.h"
#include "engine/xml_node_list.h"
#include "graphics/font_keeper.h"
#include "graphics/textured_rects_list.h"
#include "gui/base_menu_button.h"
#include "gui/control_factory.h"
#include "gui/frame_skin.h"
#include "gui/gui_services.h"

namespace {

// A strip never has more back pieces than this, whatever the sizes in the files.
constexpr int kMaxBackPieces = 4096;

// Toward zero into an int; lengths of a control may be any float.
int Whole(float v) { return TruncClamped(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()); }

TrackBarKind::Arrow ReadArrow(const CXMLNode& node) {
    TrackBarKind::Arrow a;
    a.width = ReadSkinSize(node, "width");
    a.height = ReadSkinSize(node, "height");
    a.tex_normal = StrToRect(node.GetAttribute("tex_normal", ""));
    a.tex_hover = StrToRect(node.GetAttribute("tex_hover", ""));
    return a;
}

TrackBarKind ReadTrackBarKind(const CXMLNode& node) {
    TrackBarKind kind;
    kind.texture = node.GetAttribute("texture", "");
    kind.orientation = ParseOrientation(node.GetAttribute("orientation", "HORIZONTAL"));
    kind.left_arrow = ReadArrow(node.SelectSingleNode("LeftButton"));
    kind.right_arrow = ReadArrow(node.SelectSingleNode("RightButton"));
    const CXMLNode thumb = node.SelectSingleNode("Thumb");
    kind.has_thumb = thumb.IsValid();
    if (kind.has_thumb) {
        const TrackBarKind::Arrow t = ReadArrow(thumb);
        kind.thumb.width = t.width;
        kind.thumb.height = t.height;
        kind.thumb.tex_normal = t.tex_normal;
        kind.thumb.tex_hover = t.tex_hover;
        kind.thumb.mg_left = ReadSkinOffset(thumb, "mg_left");
        kind.thumb.mg_right = ReadSkinOffset(thumb, "mg_right");
    }
    const CXMLNode back = node.SelectSingleNode("Back");
    kind.has_back = back.IsValid();
    if (kind.has_back) {
        kind.back.tex_rect = StrToRect(back.GetAttribute("tex_rect", ""));
        kind.back.width = ReadSkinSize(back, "width");
        kind.back.height = ReadSkinSize(back, "height");
        kind.back.mg_left = ReadSkinOffset(back, "mg_left");
        kind.back.mg_right = ReadSkinOffset(back, "mg_right");
        kind.back.mg_top = ReadSkinOffset(back, "mg_top");
    }
    return kind;
}

}  // namespace

constinit CKindTable<TrackBarKind> CMenuTrackBar::_kinds_desc("Track bar", "//Controls/TrackBars/TrackBar",
                                                             ReadTrackBarKind);

CMenuTrackBar::CMenuTrackBar(CEventHolder* owner) : CBaseControl(owner) { _kinds_desc.LoadOnce(); }

CMenuTrackBar::~CMenuTrackBar() = default;

bool CMenuTrackBar::Load(const CXMLNode& node) {
    const size_t track_bar_kind = static_cast<size_t>(node.GetAttributeInt("kind", 0));
    // An empty kind (no kinds at all) draws nothing and has arrows of no size.
    _desc = ASSERT(track_bar_kind < _kinds_desc.size()) ? _kinds_desc[track_bar_kind] : _kinds_desc.FirstOrEmpty();

    CBaseControl::Load(node);

    const CXMLNode captions = node.SelectSingleNode("Captions");
    _desc.caption_offset = CVector2(static_cast<float>(captions.GetAttributeInt("dis_x", 0)),
                                    static_cast<float>(captions.GetAttributeInt("dis_y", 0)));
    _desc.captions.clear();
    if (captions.IsValid()) {
        const CXMLNodeList list = captions.SelectNodes("Caption");
        for (int i = 0; i < list.GetLength(); ++i) _desc.captions.push_back(list.GetItem(i).GetAttribute("text", ""));
    }

    Init();
    return true;
}

void CMenuTrackBar::SetupCodeTrackBar(const CFloatRect& rect, int track_bar_kind) {
    SetRect(rect);
    _desc = ASSERT((size_t)track_bar_kind < _kinds_desc.size()) ? _kinds_desc[static_cast<size_t>(track_bar_kind)]
                                                                 : _kinds_desc.FirstOrEmpty();
    // A scroll bar with nothing to scroll shows the start of its list.
    _empty_range_at_start = true;
    Init();
}

void CMenuTrackBar::Init() {
    _thumb_lit = false;
    _maximum = _desc.maximum;
    _minimum = _desc.minimum;
    _step = _desc.step;
    _value = _minimum;
    _arrow_size = _desc.left_arrow.width;

    _renderer = std::make_shared<CTexturedRectsList>();
    if (!_desc.texture.empty()) _renderer->SetTextureByName(_desc.texture);
    auto make_arrow = [&](const TrackBarKind::Arrow& a) {
        auto arrow = std::make_shared<CBaseMenuButton>(static_cast<CEventHolder*>(this));
        arrow->Setup(CFloatRect(0, 0, static_cast<float>(a.width), static_cast<float>(a.height)), _desc.texture,
                     a.tex_normal, a.tex_hover, a.tex_normal, a.tex_normal);
        return arrow;
    };
    _left_arrow = make_arrow(_desc.left_arrow);
    _right_arrow = make_arrow(_desc.right_arrow);
    Relayout();
}

void CMenuTrackBar::Relayout() {
    if (_left_arrow) _left_arrow->SetPosition(_left, _top);
    if (_right_arrow) {
        if (IsHorizontal())
            _right_arrow->SetPosition(_left + _width - static_cast<float>(_desc.right_arrow.width), _top);
        else
            _right_arrow->SetPosition(_left, _top + _height - static_cast<float>(_desc.right_arrow.height));
    }
    BuildTrack();
}

void CMenuTrackBar::BuildTrack() {
    if (!_renderer) return;
    _renderer->Clear(50);
    const float a = static_cast<float>(_desc.left_arrow.height);
    const float arrow = static_cast<float>(_arrow_size);

    if (_desc.has_back) {
        const TrackBarKind::Back& back = _desc.back;
        int count = 1;
        if (ASSERT(_desc.back.width && _desc.back.height)) {
            const float margins = static_cast<float>(back.mg_left + back.mg_right);
            count = IsHorizontal() ? Whole((_width - margins) / static_cast<float>(back.width))
                                   : Whole((_height - margins) / static_cast<float>(back.height));
        }
        count = std::clamp(count, 1, kMaxBackPieces);
        const float bw = static_cast<float>(back.width), bh = static_cast<float>(back.height);
        for (int i = 0; i < count; ++i) {
            const float fi = static_cast<float>(i);
            const float x = IsHorizontal() ? _left + fi * bw + static_cast<float>(back.mg_left)
                                           : _left + static_cast<float>(back.mg_top);
            const float y = IsHorizontal() ? _top + static_cast<float>(back.mg_top)
                                           : _top + fi * bh + static_cast<float>(back.mg_left);
            _renderer->AddRect(CFloatRect(x, y, x + bw, y + bh), back.tex_rect);
        }
    }

    if (_desc.has_thumb) {
        const TrackBarKind::Thumb& thumb = _desc.thumb;
        const float tw = static_cast<float>(thumb.width), th = static_cast<float>(thumb.height);
        float track = IsHorizontal() ? _width - 2 * arrow - tw : _height - 2 * a - th;
        track += static_cast<float>(thumb.mg_left - thumb.mg_right);
        float offset = 0;
        if (_maximum != _minimum)
            offset = static_cast<float>(_value - _minimum) * track / static_cast<float>(_maximum - _minimum);
        else if (!_empty_range_at_start)
            offset = static_cast<float>(Whole(track) / 2 - thumb.width / 2);
        _thumb_pos = (IsHorizontal() ? _left + arrow : _top + a) + offset + static_cast<float>(thumb.mg_right);
        const CFloatRect& tex = _thumb_lit ? thumb.tex_hover : thumb.tex_normal;
        if (IsHorizontal())
            _renderer->AddRect(CFloatRect(_thumb_pos, _top, _thumb_pos + tw, _top + th), tex);
        else
            _renderer->AddRect(CFloatRect(_left, _thumb_pos, _left + tw, _thumb_pos + th), tex);
    }
}

void CMenuTrackBar::Update() {
    if (!_enabled || !_desc.has_thumb) return;
    IMouseController* mouse = gui::Mouse();
    if (!mouse) return;
    const int mx = mouse->GetX(), my = mouse->GetY();
    const float fx = static_cast<float>(mx), fy = static_cast<float>(my);
    const float tw = static_cast<float>(_desc.thumb.width), th = static_cast<float>(_desc.thumb.height);

    bool changed = false;
    const float pos = std::trunc(_thumb_pos);
    const CFloatRect thumb_rect = IsHorizontal() ? CFloatRect(pos, _top, pos + tw, _top + th)
                                                 : CFloatRect(_left, pos, _left + tw, pos + th);
    const bool lit = thumb_rect.Contains(fx, fy);
    if (lit != _thumb_lit) {
        _thumb_lit = lit;
        changed = true;
    }

    _over_track = IsOverTrack(fx, fy);

    // A press on the strip points the thumb there, also one released within
    // the same frame; a held press drags it along.
    for (const MouseButtonEvent& e : gui::LeftButtonEvents())
        if (e.down && IsOverTrack(static_cast<float>(e.x), static_cast<float>(e.y)))
            changed = PointThumbAt(static_cast<float>(e.x), static_cast<float>(e.y)) || changed;
    const gui::PressInputs in = gui::ReadPressInputs();
    if (_over_track && (in.mouse || in.joystick)) changed = PointThumbAt(fx, fy) || changed;
    if (changed) BuildTrack();
}

bool CMenuTrackBar::IsOverTrack(float fx, float fy) const {
    const float arrow = static_cast<float>(_arrow_size);
    const float a = static_cast<float>(_desc.left_arrow.height);
    return IsHorizontal() ? (_left + arrow < fx && fx < _left + _width - arrow && _top < fy && fy < _top + _height)
                          : (_left < fx && fx < _left + _width && _top + a < fy && fy < _top + _height - a);
}

bool CMenuTrackBar::PointThumbAt(float fx, float fy) {
    if (!(_minimum < _maximum)) return false;
    const float tw = static_cast<float>(_desc.thumb.width), th = static_cast<float>(_desc.thumb.height);
    const float arrow = static_cast<float>(_arrow_size);
    const float a = static_cast<float>(_desc.left_arrow.height);
    int p = 0, track = 0;
    if (IsHorizontal()) {
        p = Whole(fx - _left - arrow - tw / 2);
        track = Whole(_width - 2 * arrow - tw);
    } else {
        p = Whole(fy - _top - a - th / 2);
        track = Whole(_height - 2 * a - th);
    }
    // A strip with no room for the thumb to travel has no value to point at.
    if (track <= 0) return false;
    const double range = static_cast<double>(_maximum) - static_cast<double>(_minimum);
    const double v = static_cast<double>(_minimum) + static_cast<double>(p) * range / static_cast<double>(track);
    const int value = static_cast<int>(std::clamp(v, static_cast<double>(_minimum), static_cast<double>(_maximum)));
    if (value != _value) {
        _value = value;
        if (_owner) _owner->OnValueChanged(this);
    }
    return true;
}

void CMenuTrackBar::OnMouseDown(CBaseControl* control) {
    if (!_enabled) return;
    if (control == _left_arrow.get() && _minimum <= _value - _step) _value -= _step;
    if (control == _right_arrow.get() && _value + _step <= _maximum) _value += _step;
    NotifyChanged();
}

void CMenuTrackBar::NotifyChanged() {
    if (_owner) _owner->OnValueChanged(this);
    BuildTrack();
}

int CMenuTrackBar::ClampToRange(int value) const {
    return std::clamp(value, std::min(_minimum, _maximum), std::max(_minimum, _maximum));
}

void CMenuTrackBar::SetPosition(int value) {
    _value = ClampToRange(value);
    NotifyChanged();
}

// A range that shrinks past the value takes the value with it, so the thumb
// stays on the strip and the value names a caption of the range.
void CMenuTrackBar::SetMax(int n) {
    _maximum = n;
    _value = ClampToRange(_value);
    NotifyChanged();
}

void CMenuTrackBar::SetMin(int n) {
    _minimum = n;
    _value = ClampToRange(_value);
    NotifyChanged();
}

void CMenuTrackBar::SetStep(int n) {
    _step = n;
    NotifyChanged();
}

void CMenuTrackBar::AddCaption(const std::string& label_alias) { _desc.captions.push_back(label_alias); }

const std::string& CMenuTrackBar::GetCurrentCaption() const {
    static const std::string kNone;
    const unsigned index = static_cast<unsigned>(_value - _minimum);
    return index < _desc.captions.size() ? _desc.captions[index] : kNone;
}

void CMenuTrackBar::Draw(bool skip_update) {
    if (!_visible) return;
    if (!skip_update) Update();
    if (_renderer) _renderer->Render();
    // The arrows poll their input whenever the track bar is drawn.
    if (_left_arrow) _left_arrow->Draw(false);
    if (_right_arrow) _right_arrow->Draw(false);
    const std::string& caption = GetCurrentCaption();
    if (!caption.empty())
        CFontKeeper::Instance().PrintLabel(_left + _desc.caption_offset.x, _top + _desc.caption_offset.y, caption);
}
