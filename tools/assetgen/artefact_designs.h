#pragma once
// The five episode artefacts as coloured drawings on a 144x192 canvas that the
// artefact data cuts into a grid of 48x48 cells, 3 columns by 4 rows. Every
// artefact has the same ten-cell layout: its crest (loop, neck, handle, plume
// or spire) fills the top middle cell, its body the three rows below; the top
// left and top right cells stay empty. Each drawing keeps a few pixels clear
// of the canvas edge for its outline and shadow.
#include <cstdint>
#include <vector>

#include "draw.h"

namespace assetgen::artefact {

constexpr int kWidth = 144;
constexpr int kHeight = 192;
constexpr int kCell = 48;
constexpr int kColumns = kWidth / kCell;
constexpr int kRows = kHeight / kCell;

struct Design {
    const char* name;      // folder under Textures\Artefacts\ .
    Image (*draw)();       // the coloured picture, kWidth x kHeight
    uint32_t glow;         // colour of the halo (0xRRGGBB)
    Vec2 fragment_centre;  // the part of the picture that the fragment ball shows
    float fragment_span;   // its size in picture pixels
};

// In episode order: amulet, vase, mask, lantern, crown.
const std::vector<Design>& Designs();

}  // namespace assetgen::artefact
