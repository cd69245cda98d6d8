#include "game/life_indicator.h"

#include <stdexcept>

#include "engine/graphics_desc.h"
#include "engine/logger.h"
#include "engine/xml_node.h"
#include "gui/sample_queue.h"

std::unique_ptr<C2DObject> CLifeIndicator::LoadSprite(const CXMLNode& node, const char* child, const char* check) {
    const CXMLNode sprite_node = node.SelectSingleNode(child);
    if (!sprite_node.IsValid()) {
        CLogger::Instance().Log(3, "Assert failed: '%s', File=%s, Line=%d", check, __FILE__, __LINE__);
        throw std::runtime_error("Assertion failed");
    }
    const CGraphicsDesc graphics = ParseGraphics(sprite_node);
    auto sprite = std::make_unique<C2DObject>();
    sprite->Create(sprite_node.GetAttributeFloat("left", 0.0f), sprite_node.GetAttributeFloat("top", 0.0f), graphics,
                   true);
    return sprite;
}

void CLifeIndicator::Load(const CXMLNode& node) {
    _normal = LoadSprite(node, "Normal", "NormalNode.IsValid()");
    _add_life = LoadSprite(node, "AddLife", "AddLifeNode.IsValid()");
    _danger = LoadSprite(node, "Danger", "DangerNode.IsValid()");
    _empty = node.SelectSingleNode("Empty").IsValid() ? LoadSprite(node, "Empty", "EmptyNode.IsValid()") : nullptr;
    _danger_shown = 0;
    _current = _normal.get();
    _overlay = nullptr;
}

void CLifeIndicator::Restart(C2DObject& sprite) {
    sprite.GetAnimation()->SetFrame(0);
    sprite.StartAnimation();
}

void CLifeIndicator::PlayAddLife() {
    if (!_add_life) return;
    _overlay = _add_life.get();
    _overlay->GetAnimation()->SetFrame(0);
    _overlay->GetAnimation()->SetAnimateOnce(true);
    Restart(*_overlay);
    _repeat_count = kAddLifeRepeats;
}

void CLifeIndicator::PlayDanger() {
    if (_danger_shown || !_danger) return;
    _current = _danger.get();
    _current->GetAnimation()->SetFrame(0);
    _current->GetAnimation()->SetRunning(true);
    _danger_shown = 1;
}

void CLifeIndicator::SetNoLifeLeft(bool none) {
    _no_life_left = none ? 1 : 0;
    if (none && _danger_shown) {
        _current = _normal.get();
        _danger_shown = 0;
    }
}

void CLifeIndicator::Update() {
    if (_overlay && !_overlay->IsAnimationRunning()) {
        if (--_repeat_count > 0)
            Restart(*_overlay);
        else
            _overlay = nullptr;
    }
    if (_danger_shown && !_danger->IsAnimationRunning()) {
        _current = _normal.get();
        _danger_shown = 0;
    }
}

void CLifeIndicator::Render() {
    if (!_pending_sample.empty()) {
        g_SampleQueue.Add(_pending_sample);
        _pending_sample.clear();
    }
    if (C2DObject* shown = _no_life_left ? _empty.get() : _current) shown->Render();
    if (_overlay) _overlay->Render();
}
