#pragma once
// The warning while the field fills up: at danger levels 0 to 3 (0 the
// fullest) the "warning" sample plays and the game scene shows its danger
// signal, again after a period that grows with the level.
class CDangerWarning {
public:
    // Every tick with the field's danger level; levels outside 0 to 3 start
    // nothing (a running period still ends).
    void Update(int level);
    // Clears the active flag only.
    void Reset() { _active = false; }

    bool IsActive() const { return _active; }

private:
    void Warn();

    bool _active = false;
    int _countdown = 0;
};
