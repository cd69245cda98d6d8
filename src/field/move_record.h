#pragma once
// A swap the player could make: the ball in `from` moves to `to`, its
// orthogonal neighbour.
struct MoveRecord {
    int from = -1;
    int to = -1;

    bool operator==(const MoveRecord&) const = default;
};
