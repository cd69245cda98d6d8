#include "gui/menu_progress_bar.h"

#include <algorithm>
#include <cmath>

#include "engine/game_math.h"
#include "engine/helpers.h"
#include "engine/logger.h"
#include "engine/xml_node.h"
#include "engine/xml_node_list.h"
#include "graphics/textured_rects_list.h"
#include "gui/control_factory.h"

namespace {

int IndicatorType(const std::string& text) {
    if (text == "LINEAR") return ProgressBarKind::itLinear;
    if (text == "DISCRETE_SINGLE") return ProgressBarKind::itDiscreteSingle;
    if (text == "DISCRETE_MULTIPLE") return ProgressBarKind::itDiscreteMultiple;
    CLogger::Instance().Log(3, "Warning: Unknown progressbar indicator type '%s'!", text.c_str());
    return ProgressBarKind::itLinear;
}

// Toward zero, as a cut to an int would, without the int's range: offsets from
// the kinds file may be any float.
float Trunc(float v) { return std::trunc(v); }

// A row of equal pictures never holds more than this many, whatever size the
// dialog file gives the bar.
constexpr int kMaxCells = 4096;

ProgressBarKind ReadProgressBarKind(const CXMLNode& node) {
    ProgressBarKind kind;
    kind.skin = LoadFrameSkin(node);
    kind.orientation = ParseOrientation(node.GetAttribute("orientation", "HORIZONTAL"));
    const CXMLNode indicator = node.SelectSingleNode("Indicator");
    ProgressBarKind::Indicator& ind = kind.indicator;
    ind.type = IndicatorType(indicator.GetAttribute("type", ""));
    const CXMLNodeList discretes = indicator.SelectNodes("Discrete");
    for (int d = 0; d < discretes.GetLength(); ++d) {
        const CXMLNode entry = discretes.GetItem(d);
        ProgressBarKind::Discrete discrete;
        discrete.offset = CVector2(entry.GetAttributeFloat("dis_x", 0), entry.GetAttributeFloat("dis_y", 0));
        discrete.graphics = ParseGraphics(entry);
        ind.discretes.push_back(discrete);
    }
    const CXMLNodeList colors = indicator.SelectNodes("ColorMap/Stage");
    for (int c = 0; c < colors.GetLength(); ++c) {
        const CXMLNode stage = colors.GetItem(c);
        ind.color_map[stage.GetAttributeInt("percentage", 0)] = StrToColor(stage.GetAttribute("color", ""));
    }
    const CXMLNode top_bar = indicator.SelectSingleNode("TopBar");
    ind.has_top_bar = top_bar.IsValid();
    if (ind.has_top_bar) {
        ind.top_bar = ParseGraphics(top_bar);
        ind.top_bar_offset = CVector2(top_bar.GetAttributeFloat("offset_x", 0), top_bar.GetAttributeFloat("offset_y", 0));
    }
    const CXMLNodeList sizes = indicator.SelectNodes("SizeMap/Stage");
    for (int s = 0; s < sizes.GetLength(); ++s) {
        const CXMLNode stage = sizes.GetItem(s);
        ind.size_map[stage.GetAttributeInt("percentage", 0)] =
            CVector2(stage.GetAttributeFloat("width", 0), stage.GetAttributeFloat("height", 0));
    }
    return kind;
}

}  // namespace

constinit CKindTable<ProgressBarKind> CMenuProgressBar::_kinds_desc("Progress bar", "//Controls/ProgressBars/ProgressBar",
                                                                   ReadProgressBarKind);

CMenuProgressBar::CMenuProgressBar(CEventHolder* owner) : CBaseControl(owner) { _kinds_desc.LoadOnce(); }

CMenuProgressBar::~CMenuProgressBar() {
    // The sprites leave their batches before the batches go.
    _sprites.clear();
}

void CMenuProgressBar::SelectKind(int kind) {
    // One bad kind index costs its bar the look, not its dialog the load.
    _desc = ASSERT((size_t)kind < _kinds_desc.size() && "Invalid progressbar kind!")
                ? _kinds_desc[static_cast<size_t>(kind)]
                : _kinds_desc.FirstOrEmpty();
}

bool CMenuProgressBar::Load(const CXMLNode& node) {
    CBaseControl::Load(node);
    SelectKind(node.GetAttributeInt("kind", 0));
    _min_val = node.GetAttributeInt("min", _min_val);
    _max_val = node.GetAttributeInt("max", _max_val);
    _value = std::clamp(node.GetAttributeInt("pos", _min_val), std::min(_min_val, _max_val),
                        std::max(_min_val, _max_val));
    // The file's value is where the bar rests: a target left elsewhere would
    // run the bar away from it (or empty it) in its first drawn frames.
    _target = _value;
    _color = StrToColor(node.GetAttribute("color", "FFFFFFFF"));
    BuildBack();
    SetupTopBar();
    rebuild();
    return true;
}

void CMenuProgressBar::setKind(int kind, const CFloatRect& rect) {
    SelectKind(kind);
    SetRect(rect);
    SetupTopBar();
    BuildBack();
    rebuild();
}

void CMenuProgressBar::BuildBack() {
    _back = std::make_shared<CTexturedRectsList>();
    if (!_desc.skin.texture.empty()) _back->SetTextureByName(_desc.skin.texture);
    BuildFrame(*_back, CFloatRect(_left, _top, _left + _width, _top + _height), _desc.skin);
    _laid_left = _left;
    _laid_top = _top;
}

void CMenuProgressBar::SetupTopBar() {
    _top_bar = TopBar {};
    const ProgressBarKind::Indicator& ind = _desc.indicator;
    if (!ind.has_top_bar || ind.top_bar.texture.empty()) return;
    _top_bar.offset = ind.top_bar_offset;
    _top_bar.size_map = ind.size_map;
    _top_bar.sprite = std::make_shared<C2DObject>();
    _top_bar.sprite->Create(0, 0, ind.top_bar, true);
}

void CMenuProgressBar::Clear() {
    if (_back) _back->Clear(0);
    _sprites.clear();
}

// Both measure the value from the minimum, so a range that does not start at
// 0 fills from empty at its minimum to full at its maximum.
bool CMenuProgressBar::Percentage(int& p) const {
    if (_max_val == _min_val) return false;
    p = static_cast<int>((static_cast<double>(_value) - _min_val) / (static_cast<double>(_max_val) - _min_val) *
                         100.0);
    return true;
}

float CMenuProgressBar::FilledLength(float length) const {
    return Trunc(static_cast<float>((static_cast<double>(_value) - _min_val) * length /
                                    (static_cast<double>(_max_val) - _min_val)));
}

CTexturedRectsList* CMenuProgressBar::IndicatorRenderer(const std::string& texture) {
    for (auto& [name, list] : _indicator_renderers)
        if (name == texture) return list->GetTexture() ? list.get() : nullptr;
    auto list = std::make_unique<CTexturedRectsList>();
    if (!texture.empty()) list->SetTextureByName(texture);
    CTexturedRectsList* result = list->GetTexture() ? list.get() : nullptr;
    _indicator_renderers.emplace_back(texture, std::move(list));
    return result;
}

void CMenuProgressBar::AddIndicator(const CGraphicsDesc& graphics, float x, float y) {
    auto sprite = std::make_shared<C2DObject>();
    sprite->Create(x, y, graphics, false);
    sprite->SetColor(_color, kAllCorners);
    sprite->SetAlpha(static_cast<int>(_color >> 24), kAllCorners);
    if (CTexturedRectsList* list = IndicatorRenderer(graphics.texture)) sprite->SetRenderer(list);
    _sprites.push_back(std::move(sprite));
}

void CMenuProgressBar::rebuild() {
    ProgressBarKind::Indicator& ind = _desc.indicator;
    int p = 0;
    if (!ind.color_map.empty() && ASSERT(getMax() != getMin()) && Percentage(p)) {
        auto it = ind.color_map.lower_bound(p);
        if (it != ind.color_map.end()) _color = it->second;
    }

    _sprites.clear();
    const bool horizontal = _desc.orientation != 0;
    const int64_t range = static_cast<int64_t>(_max_val) - _min_val;
    const FrameSkin& skin = _desc.skin;
    switch (ind.type) {
        case ProgressBarKind::itDiscreteMultiple: {
            const int64_t count = static_cast<int64_t>(ind.discretes.size());
            if (count == 0 || range <= 0) break;
            const int64_t filled = std::max<int64_t>(0, static_cast<int64_t>(_value) - _min_val);
            const int64_t u = range / count;
            // A range shorter than the pictures shares them out in proportion;
            // never more pictures than there are.
            int64_t n = u > 0 ? filled / u : filled * count / range;
            n = std::min(n, count);
            for (int64_t i = 0; i < n; ++i) {
                const ProgressBarKind::Discrete& d = ind.discretes[static_cast<size_t>(i)];
                AddIndicator(d.graphics, Trunc(_left + d.offset.x), Trunc(_top + d.offset.y));
            }
            break;
        }
        case ProgressBarKind::itDiscreteSingle: {
            if (!ASSERT(!_desc.indicator.discretes.empty())) break;
            const ProgressBarKind::Discrete& d = ind.discretes.front();
            const float w = static_cast<float>(d.graphics.width), h = static_cast<float>(d.graphics.height);
            const float s = horizontal ? w : h;
            if (range <= 0 || s <= 0) break;
            const float available =
                horizontal ? _width - static_cast<float>(skin.top_left.width) - d.offset.x -
                                 static_cast<float>(skin.top_right.width)
                           : _height - static_cast<float>(skin.top_left.height) - d.offset.y -
                                 static_cast<float>(skin.bottom_left.height);
            const double filled = static_cast<double>(_value) - _min_val;
            const int n = TruncClamped(filled * (available / static_cast<double>(range)) / s, 0, kMaxCells);
            for (int i = 0; i < n; ++i) {
                const float fi = static_cast<float>(i);
                if (horizontal)
                    AddIndicator(d.graphics,
                                 Trunc(_left + static_cast<float>(skin.top_left.width) + d.offset.x + fi * w),
                                 Trunc(_top + d.offset.y));
                else
                    AddIndicator(d.graphics, Trunc(_left + d.offset.x),
                                 Trunc(_top + _height - static_cast<float>(skin.bottom_left.height) -
                                       (fi + 1) * h + d.offset.y));
            }
            break;
        }
        case ProgressBarKind::itLinear:
        default: {
            if (!ASSERT(!_desc.indicator.discretes.empty())) break;
            // An empty range draws an empty bar.
            if (range <= 0) break;
            const ProgressBarKind::Discrete& d = ind.discretes.front();
            CGraphicsDesc g = d.graphics;
            const CFloatRect full = g.tex_rect;
            const float rw = full.Width(), rh = full.Height();
            if (horizontal) {
                const float cut = std::clamp(FilledLength(rw), 0.0f, rw);
                if (cut == 0) break;
                g.tex_rect.right = full.left + cut;
                if (rw > 0) g.width = static_cast<int>(static_cast<float>(d.graphics.width) * cut / rw);
                AddIndicator(g, Trunc(_left + d.offset.x), Trunc(_top + d.offset.y));
            } else {
                const float cut = std::clamp(FilledLength(rh), 0.0f, rh);
                if (cut == 0) break;
                g.tex_rect.top = full.bottom - cut;
                if (rh > 0) g.height = static_cast<int>(static_cast<float>(d.graphics.height) * cut / rh);
                AddIndicator(g, Trunc(_left + d.offset.x), Trunc(_top + rh - cut + d.offset.y));
            }
            break;
        }
    }

    _top_bar.min = _min_val;
    _top_bar.max = _max_val;
    _top_bar.value = _value;
    if (_value == _max_val || _value == _min_val) {
        _top_bar.shown = false;
    } else {
        _top_bar.shown = true;
        if (_top_bar.sprite) {
            C2DObject& sprite = *_top_bar.sprite;
            const CVector2 centre = getIndicatorPoint() + _top_bar.offset;
            const float x = centre.x - sprite.GetWidth() / 2, y = centre.y - sprite.GetHeight() / 2;
            if (x != sprite.GetLeft() || y != sprite.GetTop()) sprite.SetPosition(x, y);
        }
    }
    if (!_top_bar.size_map.empty() && _top_bar.sprite && ASSERT(_max_val != _min_val) && Percentage(p)) {
        auto it = _top_bar.size_map.lower_bound(p);
        if (it != _top_bar.size_map.end()) _top_bar.sprite->SetSize(it->second.x, it->second.y);
    }
}

CVector2 CMenuProgressBar::getIndicatorPoint() const {
    float x = 0, y = 0, w = 0, h = 0;
    if (!_sprites.empty()) {
        const C2DObject& last = *_sprites.back();
        x = Trunc(last.GetLeft());
        y = Trunc(last.GetTop());
        w = last.GetWidth();
        h = last.GetHeight();
    } else {
        ASSERT_THROW_IF_FAILED(!_desc.indicator.discretes.empty());
        const ProgressBarKind::Discrete& d = _desc.indicator.discretes.front();
        x = Trunc(_left + d.offset.x);
        y = Trunc(_top + d.offset.y);
        w = static_cast<float>(d.graphics.width);
        h = static_cast<float>(d.graphics.height);
    }
    if (_desc.orientation != 0) return CVector2(x + w, y + h / 2);
    return CVector2(Trunc(x + w / 2), y);
}

void CMenuProgressBar::setValue(int32_t v) {
    v = std::clamp(v, std::min(_min_val, _max_val), std::max(_min_val, _max_val));
    if (v == _value) return;
    _target = v;
    if (_speed == 0) _value = v;
    rebuild();
}

void CMenuProgressBar::setValueNow(int32_t v) {
    v = std::clamp(v, std::min(_min_val, _max_val), std::max(_min_val, _max_val));
    _value = _target = v;
    rebuild();
}

void CMenuProgressBar::setMin(int32_t v) {
    if (v == _min_val) return;
    _min_val = v;
    const int32_t lo = std::min(_min_val, _max_val), hi = std::max(_min_val, _max_val);
    _value = std::clamp(_value, lo, hi);
    _target = std::clamp(_target, lo, hi);
    rebuild();
}

void CMenuProgressBar::setMax(int32_t v) {
    if (v == _max_val) return;
    _max_val = v;
    const int32_t lo = std::min(_min_val, _max_val), hi = std::max(_min_val, _max_val);
    _value = std::clamp(_value, lo, hi);
    _target = std::clamp(_target, lo, hi);
    // Clamping may already have put the value on the minimum, which setValue
    // then leaves alone: the bar is rebuilt for the new range either way.
    rebuild();
    setValue(_min_val);
}

void CMenuProgressBar::setColor(uint32_t argb) {
    _color = argb;
    rebuild();
}

void CMenuProgressBar::Relayout() {
    // Everything keeps its place relative to the control, offsets included.
    const float dx = _left - _laid_left, dy = _top - _laid_top;
    _laid_left = _left;
    _laid_top = _top;
    if (dx == 0 && dy == 0) return;
    if (_back) _back->MoveAll(dx, dy);
    for (const auto& sprite : _sprites) sprite->Move(dx, dy);
    if (_top_bar.sprite) _top_bar.sprite->Move(dx, dy);
}

void CMenuProgressBar::Draw(bool /*skip_update*/) {
    if (!_visible) return;
    if (_back) _back->Render();
    for (auto& [name, list] : _indicator_renderers)
        if (list->GetAttachedCount() > 0) list->Render();
    if (_top_bar.shown && _top_bar.sprite) _top_bar.sprite->Render();

    // The shown value runs toward the target in every drawn frame.
    if (_value != _target) {
        const int64_t diff = static_cast<int64_t>(_target) - _value;
        if (std::llabs(diff) >= _speed && _speed > 0)
            _value += (diff > 0 ? 1 : -1) * _speed;
        else
            _value = _target;
        rebuild();
    }
}
