#pragma once
// The frame list of an animated sprite: texture rectangles on one texture,
// each shown for a number of ticks, with an optional collision polygon and a
// successor per frame. A still picture is an animation of one frame.
#include <string>
#include <vector>

#include "engine/float_rect.h"
#include "graphics/polygon.h"
#include "platform/render_device.h"

struct SAnimationFrame {
    CFloatRect tex_rect;
    CPolygon polygon;
    int next_frame = 0;
    int delay = 0;
};

class CAnimation {
public:
    CAnimation() { Reset(false, 0); }

    void Reset(bool running, int default_delay);
    // Appends a frame; `polygon` may be null (the last frame added decides
    // whether the animation has polygons).
    void AddFrame(const CFloatRect& tex_rect, const CPolygon* polygon);
    // Fills the animation from an animation file; false (logged) on a bad
    // frame or a file without frames. Throws when the file cannot be read.
    bool LoadAnimation(const std::string& file_name);
    // One tick; true when the frame changed.
    bool Update();

    void SetRunning(bool running) { _running = running; }
    bool IsRunning() const { return _running; }
    void SetAnimateOnce(bool once) { _animate_once = once; }
    bool IsAnimateOnce() const { return _animate_once; }
    void SetFrame(int index);
    int GetFrame() const { return _current; }
    int GetFrameCount() const { return _frame_count; }
    int GetDefaultDelay() const { return _default_delay; }
    const SAnimationFrame& GetFrameData(int index) const { return _frames[static_cast<size_t>(index)]; }

    // The current frame's texture rectangle (a zero one when there is no frame).
    const CFloatRect& GetCurrentTexRect() const;
    // The current frame's polygon, null when there is no frame.
    CPolygon* GetCurrentPolygon();
    const CPolygon* GetCurrentPolygon() const;
    bool HasPolygons() const { return _polygons; }
    void SetPolygons(bool on) { _polygons = on; }

    // Polygon helpers; each does nothing when the frames have no polygons.
    void FitPolygons(const CFloatRect& rect);
    void ScalePolygons(const plat::Matrix& scaling);
    void SetPolygonsRotationCenter(float x, float y);
    void TransformCurrentPolygon(const plat::Matrix& rotation, const plat::Matrix& scaling,
                                 const plat::Matrix& translation);

private:
    bool _polygons = false;
    bool _running = false;
    bool _animate_once = false;
    int _default_delay = 0;
    float _speed = 1.0f;
    int _tick = 0;
    int _frame_count = 0;
    int _current = 0;
    std::vector<SAnimationFrame> _frames;
};
