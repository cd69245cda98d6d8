#pragma once
// A check box (type "CHECK_BOX"): the box picture of the check-box kind, the
// check mark over it when checked, and a caption label to the right, centred
// on the control's height. A left-button release over it toggles it.
#include <memory>
#include <string>

#include "engine/noncopyable.h"
#include "engine/vector2.h"
#include "graphics/object_2d.h"
#include "gui/base_control.h"

class CMenuCheckBox : public CBaseControl, NonCopyable {
public:
    static constexpr float kCaptionGap = 5.0f;

    explicit CMenuCheckBox(CEventHolder* owner);
    ~CMenuCheckBox() override;

    void Update() override;
    void Relayout() override;
    bool Load(const CXMLNode& node) override;
    void Draw(bool skip_update) override;

    void SetChecked(bool checked) { _checked = checked; }
    bool IsChecked() const { return _checked; }
    const std::string& GetCaption() const { return _caption; }
    const CVector2& GetCaptionPosition() const { return _caption_pos; }
    C2DObject* GetBox() const { return _box.get(); }
    C2DObject* GetCheck() const { return _check.get(); }

private:
    std::shared_ptr<C2DObject> _box;
    std::shared_ptr<C2DObject> _check;
    std::string _caption;
    bool _checked = false;
    CVector2 _caption_pos;
};
