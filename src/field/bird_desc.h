#pragma once
// One state of a bird as birds.xml describes it: the sprite, the sounds and
// the explosion played on entry, the flight values and the condition that
// moves the bird on.
#include <string>
#include <vector>

#include "engine/graphics_desc.h"
#include "engine/vector2.h"
#include "field/sound_desc.h"

// What ends a state; each bird keeps a copy of its state's condition.
struct BirdCondition {
    // Kinds of "if".
    static constexpr int kReachCell = 1;      // the sprite has reached the bird's cell
    static constexpr int kLeaveScreen = 2;    // the sprite has left the screen
    static constexpr int kAnimationOver = 3;  // the sprite's animation has stopped
    // The "then" action.
    static constexpr int kEnterFromAbove = 1;

    int if_kind = 0;     // any other value is never met
    int then_action = 0;
    int next_state = 0;  // 0: no transition
    bool game_over = false;
    bool no_user_imput = false;
    bool wait = false;
    int flag = 0;        // kept with the condition; nothing acts on it
};

struct BirdDesc {
    int id = 0;
    CGraphicsDesc graphics;
    CVector2 dir;   // flight direction of kind 2 (only its direction counts)
    int speed = 0;  // pixels per tick of kinds 1 and 2
    std::vector<SoundDesc> sounds;
    std::string explosion;
    BirdCondition condition;
};
