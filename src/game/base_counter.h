#pragma once
// The lines of the statistics dialog that count up or print one after another
// (the namespace ComplexCounter): each is made visible, started, updated and
// drawn once a frame, and says when it has finished. A line may carry a
// control whose visibility follows its own.
#include <cstdint>

#include "engine/noncopyable.h"

class CBaseControl;

namespace ComplexCounter {

class CBaseCounter : NonCopyable {
public:
    explicit CBaseCounter(CBaseControl* control) : _control(control) {}
    virtual ~CBaseCounter() = default;

    // The frame's step (when started) and drawing (when visible).
    virtual void Update() = 0;
    virtual bool IsFinished() const { return true; }
    virtual bool IsVisible() const { return _visible != 0; }
    virtual void SetVisible(bool visible);
    virtual bool IsStarted() const { return _started != 0; }
    // Starting also shows the line.
    virtual void Start(bool start);

protected:
    uint8_t _visible = 0;
    uint8_t _started = 0;
    CBaseControl* _control = nullptr;
};

}  // namespace ComplexCounter
