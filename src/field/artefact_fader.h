#pragma once
// Fades a sprite that the artefact code owns and draws from transparent to
// opaque.
#include <memory>

#include "field/artefact_effect.h"
#include "field/fader.h"

class C2DObject;

class CArtefactFader : public CFader, public IArtefactEffect {
public:
    // The target turns transparent at once; a speed of 0, which would never
    // end the fade, shows it opaque at once instead.
    CArtefactFader(std::shared_ptr<C2DObject> target, float speed);

    // The target is drawn by its owner.
    void Render() override {}
    void Update() override;
    bool IsActive() override { return CFader::IsActive(); }

private:
    void ApplyAlpha();

    std::shared_ptr<C2DObject> _target;
};
