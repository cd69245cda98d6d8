#pragma once
// The level's progress toward its goal (the puzzle layers cleared against
// the level's total) and the puzzle progress bar that shows it; once the goal
// is reached the bar blinks a few times, with a sound each time it comes back.
//
// The bar is described by "//Common/VovaroProgressBar" of kFileName:
//   <VovaroProgressBar type="3" rect="300 10 760 34" filling_speed="1">
//     <Blink count="3" delay="12" sound="progress_done"/>
//   </VovaroProgressBar>
// "type" is the bar's kind in the controls' progress-bar table.
#include <memory>
#include <string>

#include "field/blinker.h"

class CMenuProgressBar;

class CFieldState {
public:
    static constexpr const char* kFileName = "Settings\\Bases\\Common.xml";

    CFieldState();
    ~CFieldState();
    CFieldState(const CFieldState&) = delete;
    CFieldState& operator=(const CFieldState&) = delete;

    // A new level: nothing cleared, no target, the bar empty and shown. The
    // bar is made from its description at the first reset; a missing file or
    // description is logged and the level runs without a bar.
    void Reset();
    // The amount that completes the goal; the bar's maximum.
    void SetTarget(int n);
    // Cleared amount added (the bar runs toward it when it fills smoothly).
    void Add(int n);
    // The cleared amount set at once (a restored game).
    void SetValue(int n);
    bool IsComplete() const { return _value >= _target; }
    // The completion blink will not run (a restored game that had reached
    // its goal).
    void SkipBlink() { _blink_started = true; }
    void Update();
    void Render();

    int GetTarget() const { return _target; }
    int GetValue() const { return _value; }
    bool IsVisible() const { return _visible; }
    bool IsBlinking() const { return _blinker.IsActive(); }
    CMenuProgressBar* GetBar() const { return _bar.get(); }

private:
    void LoadBar();

    int _target = 0;
    int _value = 0;
    bool _blink_started = false;
    int _blink_count = 1;
    int _blink_delay = 30;
    std::string _blink_sound;
    CBlinker _blinker;
    bool _visible = true;
    bool _bar_read = false;
    std::shared_ptr<CMenuProgressBar> _bar;
};
