#pragma once
// One ball on its way from one cell to another (a fall or a slide).
struct BallMove {
    int from = -1;
    int to = -1;

    bool operator==(const BallMove&) const = default;
};
