#pragma once
// The description of one episode's artefact, read from an "Artefact" node of
// Settings\Artefact.xml: where the artefact panel stands and slides, its
// pictures (background, grey, coloured, icon, blink, glow), its fragment
// cells in filling order and the fragment ball that enters the field.
#include <string>
#include <vector>

#include "engine/graphics_desc.h"
#include "engine/vector2.h"

class CXMLNode;

// A picture of the artefact with its place relative to the artefact's `pos`.
struct ArtefactPicture {
    CGraphicsDesc graphics;
    CVector2 offset;
};

// A blink over the completed picture ("Blinking", "Glow").
struct ArtefactBlinkDesc {
    ArtefactPicture picture;
    int num_blink = 0;
    float speed = 0;
    std::string sound;
};

struct ArtefactCellDesc {
    CVector2 offset;        // from the artefact's `pos`
    std::string explosion;  // particle effect when a fragment lands; may be empty
    // The landed fragment's picture: the cell's own "graphics" when it has
    // one, else the artefact's "Fragment" picture.
    CGraphicsDesc graphics;
};

struct ArtefactDesc {
    CVector2 pos;
    int page = 0;
    std::string sound_show;
    std::string sound_hide;
    // The artefact panel's slider: shown at `slide_begin`, hidden at
    // `slide_end`, the drawing origin at `slide_offset`.
    CVector2 slide_begin;
    CVector2 slide_end;
    CVector2 slide_offset;
    float slide_speed = 0;
    ArtefactPicture background;
    ArtefactPicture base_grey;
    ArtefactPicture base_color;
    CVector2 expl_offset;          // the completion effect at pos + expl_offset
    std::string color_explosion;   // particle effect when the artefact completes
    std::string color_sound;
    CGraphicsDesc ico;
    CVector2 ico_pos;              // the trophy's place in the trophy room (absolute)
    ArtefactBlinkDesc blinking;
    ArtefactBlinkDesc glow;
    std::vector<ArtefactCellDesc> cells;
    CGraphicsDesc fragment;
    int fragment_graph_type = 0;   // the fragment ball's kind in the field
    std::string fragment_plume;    // particle effect that trails a flying fragment
};

// Reads one "Artefact" node; missing parts keep their defaults.
ArtefactDesc ParseArtefactDesc(const CXMLNode& node);
