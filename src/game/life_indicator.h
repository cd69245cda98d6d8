#pragma once
// The picture of the player's lives on the heads-up panel: a normal animated
// sprite, an add-life animation played three times over it when a life is
// won, and a danger animation that stands in for the normal sprite while the
// player is about to lose a life. With no life left the optional empty
// picture stands in for both (nothing, when the data has none).
#include <cstdint>
#include <memory>
#include <string>

#include "graphics/object_2d.h"

class CXMLNode;

class CLifeIndicator {
public:
    static constexpr int32_t kAddLifeRepeats = 3;

    // Reads the "Normal", "AddLife" and "Danger" children; a missing one is a
    // failed assertion (logged, then "Assertion failed" thrown). "Empty" may
    // be left out.
    void Load(const CXMLNode& node);
    void PlayAddLife();
    void PlayDanger();
    // Once a frame.
    void Update();
    // Queues a pending sample, draws the current sprite, then the overlay.
    void Render();
    // Whether the player has no life left: the game's lives, every frame. No
    // life left also ends a danger play, which is then no longer drawn.
    void SetNoLifeLeft(bool none);
    // Queued with the next Render.
    void SetPendingSample(const std::string& alias) { _pending_sample = alias; }

    bool IsDangerShown() const { return _danger_shown != 0; }
    bool IsAddLifePlaying() const { return _overlay != nullptr; }
    int32_t GetRepeatCount() const { return _repeat_count; }
    const C2DObject* GetCurrent() const { return _current; }
    // The picture Render draws beneath the overlay; null for none.
    const C2DObject* GetShown() const { return _no_life_left ? _empty.get() : _current; }
    C2DObject* GetNormal() const { return _normal.get(); }
    C2DObject* GetAddLife() const { return _add_life.get(); }
    C2DObject* GetDanger() const { return _danger.get(); }
    C2DObject* GetEmpty() const { return _empty.get(); }

private:
    static std::unique_ptr<C2DObject> LoadSprite(const CXMLNode& node, const char* child, const char* check);
    static void Restart(C2DObject& sprite);

    std::string _pending_sample;
    int32_t _repeat_count = 0;
    uint8_t _danger_shown = 0;
    uint8_t _no_life_left = 0;
    std::unique_ptr<C2DObject> _normal, _add_life, _danger, _empty;
    C2DObject* _current = nullptr;
    C2DObject* _overlay = nullptr;
};
