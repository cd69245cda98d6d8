#include "field/field_state.h"

#include <exception>

#include "engine/helpers.h"
#include "engine/logger.h"
#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "gui/gui_services.h"
#include "gui/menu_progress_bar.h"

CFieldState::CFieldState() = default;
CFieldState::~CFieldState() = default;

void CFieldState::Reset() {
    _target = 0;
    _value = 0;
    if (!_bar_read) LoadBar();
    if (_bar) _bar->setValueNow(0);
    _blink_started = false;
    // A blink still running from the last level ends with it.
    _blinker = CBlinker {};
    _visible = true;
}

void CFieldState::LoadBar() {
    _bar_read = true;
    try {
        CXMLFile file(kFileName);
        const CXMLNode node = file.SelectSingleNode("//Common/VovaroProgressBar");
        if (!node.IsValid()) {
            CLogger::Instance().Log(2, "Error: No VovaroProgressBar in '%s', the level's progress is not shown",
                                    kFileName);
            return;
        }
        const CXMLNode blink = node.SelectSingleNode("Blink");
        _blink_count = blink.GetAttributeInt("count", 0);
        _blink_delay = blink.GetAttributeInt("delay", 0);
        _blink_sound = blink.GetAttribute("sound", "");
        auto bar = std::make_shared<CMenuProgressBar>(nullptr);
        bar->setKind(node.GetAttributeInt("type", 0), StrToRect(node.GetAttribute("rect", "")));
        bar->setSmooth(node.GetAttributeInt("filling_speed", 0));
        _bar = std::move(bar);
    } catch (const std::exception& e) {
        CLogger::Instance().Log(2, "Error: The level's progress bar could not be made: %s", e.what());
    }
}

void CFieldState::SetTarget(int n) {
    _target = n;
    if (_bar) _bar->setMax(n);
}

void CFieldState::Add(int n) {
    _value += n;
    if (_bar) _bar->setValue(_value);
}

void CFieldState::SetValue(int n) {
    _value = n;
    if (_bar) _bar->setValueNow(n);
}

void CFieldState::Update() {
    if (!_blink_started && IsComplete()) {
        _blinker.Start(_blink_count, _blink_delay);
        _blink_started = true;
    }
    if (!_blinker.Step()) return;
    _visible = !_visible;
    if (_visible) gui::PlaySample(_blink_sound);
}

void CFieldState::Render() {
    if (_bar && _visible) _bar->Draw(false);
}
