#pragma once
// One bird of a CBirds: where it belongs, its state, its sprite and sound,
// and the condition that ends its state.
#include <memory>

#include "field/bird_desc.h"

class C2DObject;
class CSound;

struct Bird {
    int cell = -1;  // -1: a bird placed at a screen point
    int state = 0;
    bool active = true;  // an inactive bird is not stepped
    std::shared_ptr<CSound> sound;
    std::shared_ptr<C2DObject> obj;
    BirdCondition condition;
};

// A bird of a dialog: its sprite's top-left on the screen and its state.
struct BirdPlacement {
    CVector2 pos;
    int state = 0;
};
