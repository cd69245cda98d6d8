#pragma once
// The behaviour of a button: it watches the pointer, the Enter key and the
// first joystick button, tracks hover and press, raises enter, leave, down, up
// and click, and can show one of four state sprites (normal, hover, pressed,
// disabled) from one texture. Track-bar arrows and code-built buttons use it
// directly; CMenuButton adds the skinned look of the dialog files.
#include <cstdint>
#include <memory>
#include <string>

#include "engine/noncopyable.h"
#include "graphics/object_2d.h"
#include "gui/base_control.h"

class CTexturedRectsList;

class CBaseMenuButton : public CBaseControl, NonCopyable {
public:
    enum State : uint32_t { bsNormal = 0, bsHover = 1, bsPressed = 2, bsDisabled = 3 };
    enum PressSource : uint32_t { psMouse = 0, psEnterKey = 1, psJoystick = 2 };

    explicit CBaseMenuButton(CEventHolder* owner);
    ~CBaseMenuButton() override;

    void Update() override;
    void Relayout() override;
    // Shows the focus by moving the pointer to the button's centre.
    void SetFocus() override;
    bool CanFocus() const override { return true; }
    void Draw(bool skip_update) override;

    virtual void OnPress();
    virtual void OnRelease();
    virtual void Click();
    // The pointer strictly inside the rectangle (edges are outside).
    virtual bool IsMouseOver();
    // The point strictly inside the button (as IsMouseOver for the pointer).
    virtual bool IsOverPoint(int x, int y);
    // A button built in code: its rectangle and the texture rectangles of its
    // four state sprites.
    virtual void Setup(const CFloatRect& rect, const std::string& texture, const CFloatRect& normal,
                       const CFloatRect& hover, const CFloatRect& pressed, const CFloatRect& disabled);

    uint32_t GetShownState() const { return _shown_state; }
    uint32_t GetPressSource() const { return _press_source; }

protected:
    uint32_t _shown_state = bsNormal;
    C2DObject _state_sprites[4];
    C2DObject* _attached = nullptr;
    std::shared_ptr<CTexturedRectsList> _renderer;
    uint32_t _press_source = psMouse;
};
