#pragma once
// One trophy of the trophy room: the artefact of an episode as the player
// has collected it.
#include <memory>

#include "field/artefact_effect.h"

class C2DObject;

struct Trophy {
    int id = 0;    // the artefact's base id, unique in the room
    int page = 0;  // the page of the room's page control that describes it
    bool collected = false;  // the player's (saved)
    bool visible = false;    // drawn
    // Its picture, made when the trophy is first drawn, and its effect.
    std::shared_ptr<C2DObject> object;
    std::shared_ptr<IArtefactEffect> effect;
};
