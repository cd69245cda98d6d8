#pragma once
// Moves a point from one position to another by a fixed distance per step and
// shifts the engine's drawing origin to that point while something is drawn:
// a panel that slides in or out, or any sprite drawn between BeginDraw and
// EndDraw.
#include <cstdint>

#include "engine/vector2.h"

class CDialogSlider2 {
public:
    enum State : int32_t { ssIdle = 0, ssToFrom = 1, ssToTo = 2 };

    CDialogSlider2();

    // The drawing origin: p moved by minus half the screen, which is the
    // engine's resting draw offset.
    void SetOrigin(const CVector2& p);
    // current := from and a run toward `to` begins.
    void Start(const CVector2& from, const CVector2& to, float speed);
    // 0 puts the point on the end of the run under way; 1 starts a run back
    // from `to` toward `from`; 2 a run from `from` toward `to`.
    void SetState(int32_t state);
    int32_t GetState() const { return _state; }
    // Sets the translation for what is drawn next, then steps, so each frame
    // draws at the point the previous frame reached.
    void BeginDraw();
    // Back to the resting draw offset, whatever was set before.
    void EndDraw();
    // One step of `speed` toward the target; the last step lands on it.
    void Step();

    const CVector2& GetOrigin() const { return _origin; }
    const CVector2& GetFrom() const { return _from; }
    const CVector2& GetTo() const { return _to; }
    const CVector2& GetCurrent() const { return _current; }
    float GetSpeed() const { return _speed; }

private:
    CVector2 _origin;
    CVector2 _from;
    CVector2 _to;
    CVector2 _current;
    float _speed = 1.0f;
    int32_t _state = ssIdle;
};
