#pragma once
// Whether the mouse is over a sprite: strictly inside its box, or else inside
// its frame's hit polygon when it has one.
class C2DObject;

// A null sprite is a failed check and throws "Assertion failed"; without a
// mouse the answer is false.
bool IsMouseOverObject(C2DObject* obj);
