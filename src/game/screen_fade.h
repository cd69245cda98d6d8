#pragma once
// A full-screen dark overlay whose alpha runs between two values, one step per
// drawn frame: the fades between levels and screens.
#include <cstdint>
#include <memory>

class C2DObject;

class CScreenFade {
public:
    CScreenFade();
    ~CScreenFade();

    void SetSpeed(int32_t speed);
    // Darkens the screen: the alpha runs from low up to high.
    void Start(int32_t low, int32_t high);
    // Clears it again: the alpha runs from high down to low.
    void StartReverse(int32_t low, int32_t high);
    // Ends a running fade where it stands.
    void Stop() { _active = false; }
    // Sets the alpha at once, without a fade.
    void SetAlpha(int32_t alpha);
    // Keeps drawing the overlay when no fade runs.
    void SetHold(bool hold) { _hold = hold; }
    // Draws the overlay and steps it, after the scene; true when no fade runs.
    bool Render();

    bool IsActive() const { return _active; }
    int32_t GetAlpha() const;

private:
    // Sets up the overlay once; false when there is nothing to draw it on.
    bool Prepare();
    void Begin(int32_t low, int32_t high, int32_t alpha, int32_t speed);

    std::unique_ptr<C2DObject> _overlay;
    int32_t _speed = 1;
    bool _active = false;
    bool _loaded = false;
    int32_t _low = 0;
    int32_t _high = 0;
    bool _hold = false;
};
