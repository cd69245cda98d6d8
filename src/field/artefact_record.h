#pragma once
// What one artefact holds during a game: the fragments placed in its cells,
// its coloured picture once completed, and the effects running on it.
#include <memory>
#include <vector>

#include "field/artefact_effect.h"

class C2DObject;
class CArtefactFader;

struct ArtefactRecord {
    // The landed fragments, in filling order; drawn through the artefact
    // keeper while the artefact is the active one.
    std::vector<std::shared_ptr<C2DObject>> cells;
    // The coloured picture: empty until the artefact is completed, released
    // when it has flown to the trophy room.
    std::shared_ptr<C2DObject> color;
    // The fade of the coloured picture (the colouring state); done when empty
    // or inactive.
    std::shared_ptr<CArtefactFader> color_effect;
    // Blink and glow over the completed picture.
    std::vector<std::shared_ptr<IArtefactEffect>> effects;
};
