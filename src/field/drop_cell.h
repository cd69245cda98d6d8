#pragma once
// A cell where a dropped row puts a new ball, as the birds hand it out.
struct DropCell {
    enum Kind : int { kOrdinary = 0, kSpecial = 1 };

    int cell = -1;
    int kind = kOrdinary;  // kSpecial: the special ball at every n-th generation

    bool operator==(const DropCell&) const = default;
};
