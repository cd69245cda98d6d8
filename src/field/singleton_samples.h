#pragma once
// Samples that everyone shares: one playing instance per alias, started anew
// only once the last one has stopped.
#include <cstdint>
#include <string>
#include <vector>

class CSingletonSamples {
public:
    struct Entry {
        uint32_t channel = 0;
        std::string alias;
        uint32_t state = 0;  // 0: played
    };

    // The channel of the alias while it still plays; otherwise plays it anew
    // and answers the new channel (0 when the play failed).
    uint32_t Play(const std::string& alias);

    const std::vector<Entry>& GetEntries() const { return _entries; }

private:
    // Entries are never removed; there is one per alias the game ever shared,
    // a handful, so a linear search is the cheapest.
    std::vector<Entry> _entries;
};

extern CSingletonSamples g_SingletonSamples;
