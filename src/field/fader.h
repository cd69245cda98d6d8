#pragma once
// A value ramp between two limits at a fixed speed per update: sound and music
// volumes, sprite alphas.
#include <cstdint>

class CFader {
public:
    static constexpr uint32_t kIdle = 0;
    static constexpr uint32_t kDown = 1;
    static constexpr uint32_t kUp = 2;

    CFader() = default;

    // A new speed also stops a running ramp where it stands.
    void SetSpeed(float speed);
    float GetSpeed() const { return _speed; }
    // Mode kDown runs FadeDown, kUp runs FadeUp; any other mode does nothing.
    void Start(float min, float max, uint32_t mode);
    // From min up to max.
    void FadeUp(float min, float max);
    // From max down to min.
    void FadeDown(float min, float max);
    // One step; true once the ramp is over (at once when idle). The step that
    // would pass a limit lands on it and ends the ramp; landing exactly on the
    // limit does not, the next step does.
    bool Update();

    float GetValue() const { return _value; }
    // Clamped into the limits.
    void SetValue(float value);
    bool IsActive() const { return _state != kIdle; }
    uint32_t GetState() const { return _state; }
    float GetMin() const { return _min; }
    float GetMax() const { return _max; }

private:
    void SetLimits(float min, float max);

    float _min = 0;
    float _max = 0;
    float _value = 0;
    float _speed = 1.0f;
    uint32_t _state = kIdle;
};
