#pragma once
// A cell at which the next row drops a ball, as the birds hand it to the
// balls field's generation.
struct DropCell {
    static constexpr int kOrdinary = 0;
    static constexpr int kSpecial = 1;  // the special ball type at every "step_generate_special"-th row

    int cell = -1;
    int kind = kOrdinary;

    bool operator==(const DropCell&) const = default;
};
