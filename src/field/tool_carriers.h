#pragma once
// The carriers that fly a killed ball's tool credit to the tool's charge bar,
// as the field sends them.
#include "engine/vector2.h"

class IToolCarriers {
public:
    // A carrier of the tool (1 hammer, 2 feather, 3 egg) from `from` to `to`.
    virtual void Send(int tool, int amount, const CVector2& from, const CVector2& to) = 0;
    // Nothing is in flight.
    virtual bool IsIdle() const = 0;
    virtual void Update() = 0;
    virtual void Render() = 0;
    // A new level: nothing in flight.
    virtual void Reset() = 0;
    // The level's teardown: the carriers' particle emitters stop.
    virtual void StopEmitters() = 0;

protected:
    ~IToolCarriers() = default;
};
