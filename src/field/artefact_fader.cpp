#include "field/artefact_fader.h"

#include "engine/logger.h"
#include "graphics/object_2d.h"

CArtefactFader::CArtefactFader(std::shared_ptr<C2DObject> target, float speed) : _target(std::move(target)) {
    SetSpeed(speed);
    Start(0.0f, 255.0f, kUp);
    if (speed == 0.0f) {
        CLogger::Instance().Log(2, "Error: artefact fade with speed 0 would never end; the sprite is shown at once.");
        SetValue(255.0f);
        SetSpeed(0.0f);
    }
    ApplyAlpha();
}

void CArtefactFader::Update() {
    if (!CFader::IsActive()) return;
    CFader::Update();
    ApplyAlpha();
}

void CArtefactFader::ApplyAlpha() {
    if (_target) _target->SetAlpha(static_cast<int>(GetValue()), kAllCorners);
}
