#pragma once
// One label of the current language at the control's top-left corner (type
// "LABEL"), laid out again only when its caption or place changed; or, in
// owner-draw mode, printed by the owner.
#include <string>

#include "graphics/static_text.h"
#include "gui/base_control.h"

class CMenuLabel : public CBaseControl {
public:
    explicit CMenuLabel(CEventHolder* owner);
    ~CMenuLabel() override;

    void Update() override {}
    void Relayout() override;
    bool Load(const CXMLNode& node) override;
    void Draw(bool skip_update) override;

    void SetCaption(const std::string& alias);
    const std::string& GetCaption() const { return _caption; }
    void SetOwnerDraw(bool on) { _owner_draw = on; }
    bool IsOwnerDraw() const { return _owner_draw; }
    // For callers that set the arguments or style themselves: the label then
    // counts as laid out, so drawing does not lay it out over their settings.
    CStaticText& GetStaticText();
    bool IsLaidOut() const { return _laid_out; }

private:
    std::string _caption;
    CStaticText _text;
    bool _laid_out = true;
    bool _owner_draw = false;
};
