#pragma once
// A small table of integer flags addressed by id, each with the value it is
// reset to. The field and the game scene coordinate their steps through
// their own tables (CFieldFlags, CGameFlags).
#include <vector>

struct FlagEntry {
    int id;
    int value;
    int initial;
};

class CFlags {
public:
    virtual ~CFlags() = default;

    // Adds the class's flags; the derived constructors call it.
    virtual void Init() = 0;

    // Appends (id, value, value) unless the id is present (which stays as it is).
    bool Add(int id, int value);
    bool Contains(int id) const { return Find(id) != nullptr; }
    // False, and nothing added, for an absent id.
    bool Set(int id, int value);
    // -1 for an absent id.
    int Get(int id) const;
    void Reset(int id);
    void ResetAll();

private:
    const FlagEntry* Find(int id) const;
    FlagEntry* Find(int id);

    std::vector<FlagEntry> _flags;
};
