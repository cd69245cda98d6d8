#pragma once
// A dialog: the controls built from the "Control" children of one XML node, in
// document order. It hears its controls' events itself (dialog classes
// override the handlers) unless it was loaded with a separate handler, draws
// the controls, lets them poll their input, and moves a keyboard focus over
// them with the arrow keys.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "engine/float_rect.h"
#include "engine/noncopyable.h"
#include "gui/event_holder.h"

class CBaseControl;
class CXMLNode;

class CBaseDialog : public CEventHolder, NonCopyable {
public:
    CBaseDialog();
    ~CBaseDialog() override;

    // Stores the handler, then runs this class's own Load.
    virtual void LoadWithHandler(const CXMLNode& node, CEventHolder* handler);
    // Appends the node's controls; false only for an invalid node.
    virtual bool Load(const CXMLNode& node);
    // Destroys every control.
    virtual void Clear();
    // Shown again: result 0, no focus.
    virtual void Activate();
    // Arrow keys move the focus (left and up back, right and down forward).
    virtual void OnKeyDown(int key);
    // Draws the controls in list order; unless skip_update each polls its input first.
    virtual void Draw(bool skip_update);

    bool CreateControls(const CXMLNode& node);
    // dir +1 or -1: one lap at most, wrapping at both ends.
    bool MoveFocus(int dir);
    bool FocusNext() { return MoveFocus(+1); }
    bool FocusPrev() { return MoveFocus(-1); }

    // The first control with that id; a missing one is logged and gives null.
    CBaseControl* FindControl(const std::string& name) const;
    bool HasControl(const std::string& name) const;
    bool RemoveControl(const std::string& name);
    void Move(float dx, float dy);
    // The smallest rectangle around every control; false and zero without controls.
    bool GetBounds(CFloatRect& bounds) const;

    void SetResult(int result) { _result = result; }
    int GetResult() const { return _result; }
    int GetFocus() const { return _focus; }
    size_t GetControlCount() const { return _controls.size(); }
    CBaseControl* GetControl(size_t index) const { return _controls[index].get(); }
    CEventHolder* GetHandler() const { return _handler; }

protected:
    std::vector<std::shared_ptr<CBaseControl>> _controls;
    CEventHolder* _handler = nullptr;
    int _focus = -1;
    int _result = 0;
};
