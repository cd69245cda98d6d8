#pragma once
// The event sink of GUI controls. A control calls its owner's handler directly
// while it updates; there is no queue and no event code. Every handler is empty
// here: dialogs and controls that contain controls override what they need.
#include <cstdint>
#include <string>

class CBaseControl;
class CStaticText;

class CEventHolder {
public:
    virtual ~CEventHolder() = default;

    virtual void OnMouseEnter(CBaseControl* /*control*/) {}
    virtual void OnMouseLeave(CBaseControl* /*control*/) {}
    virtual void OnClick(CBaseControl* /*control*/) {}
    virtual void OnMouseDown(CBaseControl* /*control*/) {}
    virtual void OnMouseUp(CBaseControl* /*control*/) {}
    virtual void OnValueChanged(CBaseControl* /*control*/) {}
    // The owner may change the key through the pointer; the edit box goes on with it.
    virtual void OnEditKey(CBaseControl* /*control*/, uint32_t* /*key*/) {}
    virtual void OnEditChar(CBaseControl* /*control*/, char /*ch*/) {}
    virtual void OnSelChange(CBaseControl* /*control*/, int32_t /*index*/) {}
    // A label without caption (row 0, its caption and its text object) or a
    // list-box row in owner-draw mode (the row's item, no text object).
    virtual void OnCustomDraw(CBaseControl* /*control*/, int /*row*/, int /*x*/, int /*y*/,
                              const std::string& /*text*/, CStaticText* /*text_object*/) {}
    virtual void OnItemClick(CBaseControl* /*control*/, int32_t /*index*/) {}
};
