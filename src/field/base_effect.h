#pragma once
// A visual effect on one graph object: it changes the object a little on
// every tick for a fixed number of ticks. The object holds it and steps it
// (CGraphOBJ::UpdateEffect) until Update answers false.
#include <cstdint>

#include "field/countdown.h"

class IBaseEffect {
public:
    virtual ~IBaseEffect() { OnStop(); }

    virtual void OnStop() {}
    // Sets the end value at once.
    virtual void Finish() = 0;
    // One step; false once the effect has run out.
    virtual bool Update() = 0;

protected:
    void Start(uint32_t interval) { _countdown.Set(interval); }
    // False when the countdown is zero, else counts one tick down.
    bool Step() {
        if (_countdown.IsZero()) return false;
        _countdown.Decrement();
        return true;
    }

private:
    CCountdown _countdown;
};
