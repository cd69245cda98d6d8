#include "gui/menu_track_bar.h"

#include <algorithm>
#include <exception>

#include "engine/helpers.h"
#include "engine/joystick_controller_interface.h"
#include "engine/logger.h"
#include "engine/mouse_controller_interface.h"
#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "engine/xml_node_list.h"
#include "graphics/font_keeper.h"
#include "graphics/textured_rects_list.h"
#include "gui/base_menu_button.h"
#include "gui/control_factory.h"
#include "gui/control_kinds.h"
#include "gui/gui_services.h"

std::vector<TrackBarKind> CMenuTrackBar::_kinds_desc;
bool CMenuTrackBar::_kinds_loaded = false;

namespace {


TrackBarKind::Arrow ReadArrow(const CXMLNode& node) {
    TrackBarKind::Arrow a;
    a.width = node.GetAttributeInt("width", 0);
    a.height = node.GetAttributeInt("height", 0);
    a.tex_normal = StrToRect(node.GetAttribute("tex_normal", ""));
    a.tex_hover = StrToRect(node.GetAttribute("tex_hover", ""));
    return a;
}

}  // namespace

void CMenuTrackBar::LoadTrackBarKinds() {
    _kinds_loaded = true;
    _kinds_desc.clear();
    try {
        CXMLFile file(ControlsFilePath());
        const CXMLNodeList nodes = file.SelectNodes("//Controls/TrackBars/TrackBar");
        for (int i = 0; i < nodes.GetLength(); ++i) {
            const CXMLNode node = nodes.GetItem(i);
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
                kind.thumb.mg_left = thumb.GetAttributeInt("mg_left", 0);
                kind.thumb.mg_right = thumb.GetAttributeInt("mg_right", 0);
            }
            const CXMLNode back = node.SelectSingleNode("Back");
            kind.has_back = back.IsValid();
            if (kind.has_back) {
                kind.back.tex_rect = StrToRect(back.GetAttribute("tex_rect", ""));
                kind.back.width = back.GetAttributeInt("width", 0);
                kind.back.height = back.GetAttributeInt("height", 0);
                kind.back.mg_left = back.GetAttributeInt("mg_left", 0);
                kind.back.mg_right = back.GetAttributeInt("mg_right", 0);
                kind.back.mg_top = back.GetAttributeInt("mg_top", 0);
            }
            _kinds_desc.push_back(kind);
        }
    } catch (const std::exception& e) {
        CLogger::Instance().Log(2, "Error: Track bar kinds not loaded from '%s': %s", ControlsFilePath().c_str(),
                                e.what());
    }
}

CMenuTrackBar::CMenuTrackBar(CEventHolder* owner) : CBaseControl(owner) {
    if (!_kinds_loaded) LoadTrackBarKinds();
}

CMenuTrackBar::~CMenuTrackBar() = default;

bool CMenuTrackBar::Load(const CXMLNode& node) {
    const size_t track_bar_kind = static_cast<size_t>(node.GetAttributeInt("kind", 0));
    if (ASSERT(track_bar_kind < _kinds_desc.size())) {
        _desc = _kinds_desc[track_bar_kind];
    } else if (!_kinds_desc.empty()) {
        _desc = _kinds_desc.front();
    } else {
        // No kinds at all: an empty kind (nothing to draw, arrows of no size).
        CLogger::Instance().Log(2, "Error: No track bar kinds in '%s', an empty kind is used!",
                                ControlsFilePath().c_str());
        _desc = TrackBarKind {};
    }

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
    if (ASSERT((size_t)track_bar_kind < _kinds_desc.size()))
        _desc = _kinds_desc[static_cast<size_t>(track_bar_kind)];
    else
        _desc = _kinds_desc.empty() ? TrackBarKind {} : _kinds_desc.front();
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
            count = IsHorizontal()
                        ? static_cast<int>((_width - static_cast<float>(back.mg_right) - static_cast<float>(back.mg_left)) /
                                           static_cast<float>(back.width))
                        : static_cast<int>((_height - static_cast<float>(back.mg_left) - static_cast<float>(back.mg_right)) /
                                           static_cast<float>(back.height));
        }
        count = std::max(count, 1);
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
        else
            offset = static_cast<float>(static_cast<int>(track) / 2 - thumb.width / 2);
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
    const float arrow = static_cast<float>(_arrow_size);
    const float a = static_cast<float>(_desc.left_arrow.height);

    bool changed = false;
    const float pos = static_cast<float>(static_cast<int>(_thumb_pos));
    const CFloatRect thumb_rect = IsHorizontal() ? CFloatRect(pos, _top, pos + tw, _top + th)
                                                 : CFloatRect(_left, pos, _left + tw, pos + th);
    const bool lit = thumb_rect.Contains(fx, fy);
    if (lit != _thumb_lit) {
        _thumb_lit = lit;
        changed = true;
    }

    _over_track = IsHorizontal()
                      ? (_left + arrow < fx && fx < _left + _width - arrow && _top < fy && fy < _top + _height)
                      : (_left < fx && fx < _left + _width && _top + a < fy && fy < _top + _height - a);

    IJoystickController* joystick = gui::Joystick();
    const bool down = mouse->IsButtonDown(0) || (joystick && joystick->IsInputActive(kJoystickFirstButton));
    if (_over_track && _minimum < _maximum && down) {
        int p = 0, track = 0;
        if (IsHorizontal()) {
            p = static_cast<int>(fx - _left - arrow - tw / 2);
            track = static_cast<int>(_width - 2 * arrow - tw);
        } else {
            p = static_cast<int>(fy - _top - a - th / 2);
            track = static_cast<int>(_height - 2 * a - th);
        }
        // A strip with no room for the thumb to travel has no value to point at.
        if (track > 0) {
            const double range = static_cast<double>(_maximum) - static_cast<double>(_minimum);
            const double v = static_cast<double>(_minimum) + static_cast<double>(p) * range / static_cast<double>(track);
            const int value = static_cast<int>(std::clamp(v, static_cast<double>(_minimum), static_cast<double>(_maximum)));
            if (value != _value) {
                _value = value;
                if (_owner) _owner->OnValueChanged(this);
            }
            changed = true;
        }
    }
    if (changed) BuildTrack();
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

void CMenuTrackBar::SetPosition(int value) {
    _value = std::clamp(value, std::min(_minimum, _maximum), std::max(_minimum, _maximum));
    NotifyChanged();
}

void CMenuTrackBar::SetMax(int n) {
    _maximum = n;
    NotifyChanged();
}

void CMenuTrackBar::SetMin(int n) {
    _minimum = n;
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
