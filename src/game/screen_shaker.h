#pragma once
// A short damped shake of the whole picture: for 50 frames the engine's draw
// offset jitters by up to 9 pixels and tilts by a decaying angle.
class CScreenShaker {
public:
    // A new shaker is active and starts shaking on its first Render.
    CScreenShaker() = default;

    // Stops without shaking (the draw offset is left as it is).
    void Reset();
    // Shakes one frame while active; true once the shake is over.
    bool Render();
    // One frame of the shake; true when it has ended and the draw offset is back at rest.
    bool Update();

    bool IsActive() const { return _active; }

private:
    float _t = 0.05f;
    bool _active = true;
};
