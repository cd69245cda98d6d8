#pragma once
// The sway of the selected ball: every four ticks the ball turns to the next
// angle of a small back-and-forth table, until it is no longer an idle ball
// without a lock or another cell is selected.
class IBonusDataSource;

class CSelectedBall {
public:
    // A valid cell starts the sway there; an invalid one (-1) resets.
    void Set(IBonusDataSource* source, int cell);
    void Update();
    void Reset();

    bool IsActive() const { return _active; }
    int GetCell() const { return _cell; }

private:
    static constexpr int kTicksPerPhase = 4;

    IBonusDataSource* _source = nullptr;
    int _cell = -1;
    bool _active = false;
    int _countdown = 0;
    int _phase = 0;
};
