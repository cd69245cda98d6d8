#pragma once
// Sample aliases collected during a frame and played together once: an alias
// queued several times before the next PlayAll sounds once.
#include <set>
#include <string>

class CSampleQueue {
public:
    // An empty alias is ignored.
    void Add(const std::string& alias);
    // Plays every queued alias once through the sound keeper (in byte order
    // of the aliases), then empties the queue.
    void PlayAll();
    void Clear() { _aliases.clear(); }

    bool IsEmpty() const { return _aliases.empty(); }
    const std::set<std::string>& GetAliases() const { return _aliases; }

private:
    std::set<std::string> _aliases;
};

// The program's one queue of game sounds: the field, the bonuses, the
// artefacts and the game scene add to it; the field plays it first thing in
// its update, the menu and the selector in their Render.
extern CSampleQueue g_SampleQueue;
