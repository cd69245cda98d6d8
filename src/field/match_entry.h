#pragma once
// One line of alike balls, or one combo, found by the match search: its cells
// in the order in which the search walked them.
#include <vector>

struct MatchEntry {
    std::vector<int> index;
};
