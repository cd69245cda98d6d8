#pragma once
// The states of a ball on the field.
enum BallState : int {
    bsDEFAULT = 0,  // resting in its cell
    bsNEW = 1,      // just created by a row drop, waiting for the row's release
    bsMOVE = 2,     // falling or sliding to another cell
    bsDYING = 3,    // killed, fading out
    bsDEAD = 4,     // killed, fading out; removed once the fade has ended
    bsSWAP = 5,     // moving in the player's swap
};
