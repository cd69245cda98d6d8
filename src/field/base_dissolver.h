#pragma once
// A one-value fade between 0 and 255, one step per update, every value
// handed to the owner (OnValue). The balls, tiles and birds each hold one to
// fade the whole board out and back in.
class CBaseDissolver {
public:
    virtual ~CBaseDissolver() = default;

    // From `from` toward `to` by `speed` per update: hands out `from` at once.
    // A speed of 0 or less cannot reach a different target: the run then
    // ends at once with the target handed out.
    void Start(int from, int to, int speed);
    // Adds one step; the value snaps to the target once it is within a step.
    void Update();
    // Hands out the target and ends the run (also when none runs).
    void Finish();
    bool IsActive() const { return _active; }

    // 255 -> 0 and 0 -> 255 over about `frames` updates: the step is 255 / frames
    // but at least 1, so a run always ends; frames of 0 or less end at once.
    void DissolveOut(int frames) { Start(255, 0, SpeedFor(frames)); }
    void DissolveIn(int frames) { Start(0, 255, SpeedFor(frames)); }

    int GetCurrent() const { return _current; }
    int GetTarget() const { return _target; }

protected:
    virtual void OnValue(int value) = 0;

private:
    static int SpeedFor(int frames);

    bool _active = false;
    int _current = 0;
    int _target = 0;
    int _step = 0;
};
