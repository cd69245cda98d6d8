#pragma once
// The pictures of the field's configuration: what its balls, tiles, bonuses
// and markers may show. Sprites of several of them are made and dropped again
// and again during play (a bonus ball, its substrate, burner flames, lightning
// bolts, the available-move marker), and the texture store lets a picture go
// with its last sprite; holding them all from the level's start means showing
// one never reads and decodes its file in the middle of play.
#include <string>
#include <vector>

#include "graphics/texture_manager.h"

// The texture files the "graphics" elements of the field's configuration
// files name, each once, in file order. A file that cannot be read adds none.
std::vector<std::string> FieldTextureNames();

// A hold on every texture FieldTextureNames lists (none without a device).
std::vector<CTextureHold> HoldFieldTextures();
