#pragma once
// The base of the field's debug overlays: a tool is armed once it has been
// fed and draws only while armed.
#include "engine/noncopyable.h"

namespace DEBUG_GAME {

class ADebug : NonCopyable {
public:
    virtual ~ADebug() = default;
    virtual void Render() = 0;

    bool IsArmed() const { return _armed != 0; }

protected:
    void Arm() { _armed = 1; }

private:
    int _armed = 0;
};

}  // namespace DEBUG_GAME
