#include "game/indicator_state.h"

#include <cmath>

#include "engine/logger.h"
#include "engine/xml_node.h"
#include "graphics/font_keeper.h"
#include "graphics/object_2d.h"
#include "gui/menu_progress_bar.h"

namespace {

constexpr uint8_t kUnknownId = 1, kMaxMissing = 2, kMinMissing = 4, kNotInt = 8;

float IntAttr(const CXMLNode& node, const char* name) { return static_cast<float>(node.GetAttributeInt(name, 0)); }

PrintfArg ToArg(const GameStateValue& value) {
    if (const int32_t* i = std::get_if<int32_t>(&value)) return PrintfArg(*i);
    if (const float* f = std::get_if<float>(&value)) return PrintfArg::MakeFloat(*f);
    return PrintfArg::MakeString(std::get<std::string>(value));
}

bool IsZero(const GameStateValue& value) {
    if (const int32_t* i = std::get_if<int32_t>(&value)) return *i == 0;
    if (const float* f = std::get_if<float>(&value)) return *f == 0.0f;
    return false;
}

}  // namespace

IndicatorState::IndicatorState(const std::string& src_id, const CXMLNode& node) : _src_id(src_id) {
    _desc.pos_x = IntAttr(node, "pos_x");
    _desc.pos_y = IntAttr(node, "pos_y");
    _desc.render_when_zero = node.GetAttributeBool("render_when_zero", true);

    if (const CXMLNode text = node.SelectSingleNode("Text"); text.IsValid()) {
        _desc.text.use_me = true;
        _desc.text.dis_x = IntAttr(text, "dis_x");
        _desc.text.dis_y = IntAttr(text, "dis_y");
        _desc.text.label = text.GetAttribute("label", "");
    }
    if (const CXMLNode bar = node.SelectSingleNode("ProgressBar"); bar.IsValid()) {
        _desc.progress_bar.use_me = true;
        _desc.progress_bar.dis_x = IntAttr(bar, "dis_x");
        _desc.progress_bar.dis_y = IntAttr(bar, "dis_y");
        _desc.progress_bar.kind = bar.GetAttributeInt("kind", 0);
        _desc.progress_bar.width = bar.GetAttributeInt("width", 0);
        _desc.progress_bar.height = bar.GetAttributeInt("height", 0);
    }
    if (const CXMLNode icon = node.SelectSingleNode("MainIcon"); icon.IsValid()) {
        _desc.main_icon.use_me = true;
        _desc.main_icon.dis_x = IntAttr(icon, "dis_x");
        _desc.main_icon.dis_y = IntAttr(icon, "dis_y");
        _desc.main_icon.graphics = ParseGraphics(icon);
    }

    if (_desc.progress_bar.use_me) {
        const float x = std::trunc(_desc.pos_x) + _desc.progress_bar.dis_x;
        const float y = std::trunc(_desc.pos_y) + _desc.progress_bar.dis_y;
        _progress_bar = std::make_unique<CMenuProgressBar>(nullptr);
        _progress_bar->setKind(_desc.progress_bar.kind,
                               CFloatRect(x, y, x + static_cast<float>(_desc.progress_bar.width),
                                          y + static_cast<float>(_desc.progress_bar.height)));
    }
    if (_desc.main_icon.use_me) {
        _icon = std::make_unique<C2DObject>();
        _icon->Create(std::trunc(_desc.pos_x + _desc.main_icon.dis_x), std::trunc(_desc.pos_y + _desc.main_icon.dis_y),
                      _desc.main_icon.graphics, true);
    }
}

IndicatorState::~IndicatorState() = default;

bool IndicatorState::FirstReport(uint8_t bit) {
    if (_reported & bit) return false;
    _reported |= bit;
    return true;
}

void IndicatorState::ReadValue(const IGameStateSource* source) {
    if (IsKnownGameState(_src_id) || FirstReport(kUnknownId))
        _value = GetGameStateValue(source, _src_id);
    else
        _value = int32_t {0};
}

void IndicatorState::Render(const IGameStateSource* source) {
    _drawn = false;
    ReadValue(source);
    if (IsZero(_value) && !_desc.render_when_zero) return;
    _drawn = true;

    if (_progress_bar) {
        UpdateProgressBar();
        _progress_bar->Draw(false);
    }
    if (_desc.text.use_me)
        CFontKeeper::Instance().PrintLabelArgs(std::trunc(_desc.pos_x + _desc.text.dis_x),
                                               std::trunc(_desc.pos_y + _desc.text.dis_y), _desc.text.label,
                                               ToArg(_value), PrintfArg());
    if (_icon) _icon->Render();
}

void IndicatorState::UpdateProgressBar() {
    const int32_t* value = std::get_if<int32_t>(&_value);
    if (!value) {
        if (FirstReport(kNotInt))
            CLogger::Instance().Log(2, "Error: Can't get current value for progressbar! src_id='%s'!", _src_id.c_str());
        return;
    }
    // Bounds are asked for (and an id without them reported) once.
    const bool bounded = HasGameStateBounds(_src_id);
    auto apply = [&](uint8_t report, GameStateValue (*get)(const std::string&), void (CMenuProgressBar::*set)(int32_t),
                     const char* which) {
        if (!bounded && !FirstReport(report)) return;
        const GameStateValue bound = get(_src_id);
        if (const int32_t* b = std::get_if<int32_t>(&bound))
            (_progress_bar.get()->*set)(*b);
        else
            CLogger::Instance().Log(2, "Error: Can't get %s value for src_id='%s'!", which, _src_id.c_str());
    };
    apply(kMaxMissing, GetGameStateMaxValue, &CMenuProgressBar::setMax, "max");
    apply(kMinMissing, GetGameStateMinValue, &CMenuProgressBar::setMin, "min");
    _progress_bar->setValue(*value);
}
