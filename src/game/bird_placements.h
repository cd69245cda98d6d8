#pragma once
// The decorative birds of a dialog node: its "Birds/Bird" children, each a
// "pos" (two numbers, the sprite's top-left) and a "state" of birds.xml.
#include <vector>

#include "field/bird.h"

class CXMLNode;

std::vector<BirdPlacement> ReadBirdPlacements(const CXMLNode& node);
