#pragma once
// Parameters fixed at start-up: the horizontal bounds of the game-screen panel,
// the "keys" setting and the third number of the command line.
#include <cstdint>

struct CAppParams {
    int32_t left_bound = 0;
    int32_t right_bound = 800;
    int32_t centre = 530;            // left_bound + (right_bound - left_bound) / 2 once the bounds are read
    uint8_t keys = 0;                // copy of the "keys" setting: debug keys and command-line start
    uint8_t display_flag = 1;        // read by the display-mode selection
    uint8_t polygon_flag = 0;        // sprite lists also draw their objects' polygons
    int32_t third_number = 0;        // third number of the command line

    // Sets both bounds and the centre between them.
    void SetBounds(int32_t left, int32_t right) {
        left_bound = left;
        right_bound = right;
        centre = left + (right - left) / 2;
    }
};

extern CAppParams g_AppParams;
