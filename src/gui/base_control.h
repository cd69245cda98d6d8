#pragma once
// The base of every GUI control: an id, a rectangle on the 800x600 screen,
// enabled and visible flags and an owner that hears its events. Controls poll
// their own input inside Draw (unless the caller only wants drawing).
#include <string>

#include "engine/float_rect.h"
#include "gui/gui_services.h"

class CEventHolder;
class CXMLNode;

// The kinds of control a dialog file names in its "type" attribute.
enum ControlType : int {
    ctUnknown = -1,
    ctButton = 0,
    ctPanel = 1,
    ctTrackBar = 2,
    ctLabel = 3,
    ctImage = 4,
    ctListBox = 5,
    ctEdit = 6,
    ctCheckBox = 7,
    ctProgressBar = 8,
    ctPageControl = 9,
};

struct ControlRect {
    std::string id;
    float left = 0, top = 0, width = 0, height = 0;
};

// "id", "left", "top", "width", "height" of a control node (integers, 0 by
// default, kept within 16384 pixels of the screen's origin).
ControlRect ReadControlRect(const CXMLNode& node);

class CBaseControl {
public:
    explicit CBaseControl(CEventHolder* owner);

    virtual void Update() = 0;
    // Re-places the control's sprites after its position changed.
    virtual void Relayout() {}
    virtual void OnMouseEnter();
    virtual void OnMouseLeave();
    virtual ~CBaseControl();
    virtual void SetPosition(float x, float y);
    // Returns the previous value.
    virtual bool SetEnabled(bool enabled);
    virtual bool Load(const CXMLNode& node);
    virtual void Clear() {}
    virtual void SetFocus() {}
    virtual bool CanFocus() const { return false; }
    // Draws the control; unless skip_update, it first polls its input.
    virtual void Draw(bool skip_update) = 0;

    float GetX() const { return _left; }
    float GetY() const { return _top; }
    float GetWidth() const { return _width; }
    float GetHeight() const { return _height; }
    const std::string& GetId() const { return _id; }
    bool IsEnabled() const { return _enabled; }
    bool IsVisible() const { return _visible; }
    // Returns the previous value.
    bool SetVisible(bool visible);
    // For controls built in code: enabled, visible and placed on the rectangle.
    void SetRect(const CFloatRect& rect);
    void SetLeft(float left);
    void SetTop(float top);
    void SetWidth(float width);
    void SetHeight(float height);
    CEventHolder* GetOwner() const { return _owner; }
    // The pointer is on the control; a press began on it and has not ended.
    bool IsOver() const { return _over; }
    bool IsPressed() const { return _pressed; }

protected:
    // The pointer strictly inside the control's rectangle.
    bool IsPointInside(int x, int y) const;

    // The hover and press tracking of buttons, images and check boxes, once a
    // frame in this order. Each event is raised before its flag changes.
    // Entering raises OnMouseEnter; leaving raises OnMouseLeave and drops a press.
    void TrackHover(bool inside);
    // Over the control with a press input down: the first such frame calls
    // `on_down`; the control is pressed from then on.
    template <typename OnDown>
    void TrackPress(bool down, OnDown&& on_down) {
        if (!_over || !down) return;
        if (!_pressed) on_down();
        _pressed = true;
    }
    // Over the control, pressed, and the press's input released: `on_up` is
    // called and the press ends (true).
    template <typename OnUp>
    bool TrackRelease(bool released, OnUp&& on_up) {
        if (!_over || !_pressed || !released) return false;
        on_up();
        _pressed = false;
        return true;
    }
    // Replays the left button's records of this poll in order, each putting
    // the hover where it happened: a press over the control starts a press
    // (`on_down`); a release ends a press that `owns_release` says is the
    // mouse's (`on_up`). So a click whose pointer move, press and release all
    // fall in one frame is a click. True once a press ended: the caller reads
    // no more input this frame, since the click's owner may change everything.
    template <typename Inside, typename OnDown, typename OwnsRelease, typename OnUp>
    bool ReplayLeftButton(Inside&& inside, OnDown&& on_down, OwnsRelease&& owns_release, OnUp&& on_up) {
        for (const MouseButtonEvent& e : gui::LeftButtonEvents()) {
            TrackHover(inside(e.x, e.y));
            if (e.down)
                TrackPress(true, on_down);
            else if (owns_release() && TrackRelease(true, on_up))
                return true;
        }
        return false;
    }

    CEventHolder* _owner;
    bool _enabled = false;
    bool _visible = false;
    std::string _id;
    float _left = 0, _top = 0, _width = 0, _height = 0;
    bool _over = false;
    bool _pressed = false;
};
