#pragma once
// A picture (type "IMAGE"), optionally turned about a point, drawn grey while
// the control is disabled, that reports enter, leave, press, release and click
// to its owner like a button.
#include <memory>

#include "engine/noncopyable.h"
#include "graphics/object_2d.h"
#include "gui/base_control.h"

class CMenuImage : public CBaseControl, NonCopyable {
public:
    explicit CMenuImage(CEventHolder* owner);
    ~CMenuImage() override;

    void Update() override;
    void Relayout() override;
    // Disabling makes the grey copy the first time.
    bool SetEnabled(bool enabled) override;
    bool Load(const CXMLNode& node) override;
    void Clear() override {}
    void Draw(bool skip_update) override;

    C2DObject* GetImage() const { return _image.get(); }
    C2DObject* GetDisabledImage() const { return _disabled_image.get(); }
    bool IsGreyed() const { return _greyed; }

private:
    void CreateImages(const CGraphicsDesc& desc, float rotate_x, float rotate_y, float angle);
    void MakeGrey();

    std::shared_ptr<C2DObject> _image;
    std::shared_ptr<C2DObject> _disabled_image;
    bool _greyed = false;
};
