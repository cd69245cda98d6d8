#pragma once
// One state of a graph type: its sprite layers in drawing order (layer 0
// first), the explosion it names and the samples it names. A graph object
// keeps a copy of the state it was built from.
#include <string>
#include <vector>

#include "field/layer_desc.h"

struct CGraphStateDesc {
    std::string explosion;
    std::vector<CLayerDesc> layers;
    std::vector<std::string> sounds;
};
