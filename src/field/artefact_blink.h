#pragma once
// A blink on an artefact picture, with a sample that sounds with its first
// drawn frame.
#include <string>

#include "field/artefact_effect.h"
#include "field/blinking.h"

class CArtefactBlink : public CBlinking, public IArtefactEffect {
public:
    CArtefactBlink(float x, float y, const CGraphicsDesc& desc, int32_t count, float speed, const std::string& sample);

    // Draws the blink, and on the first call queues the sample (even for a
    // blink that has nothing left to draw).
    void Render() override;
    void Update() override { CBlinking::Update(); }
    bool IsActive() override { return CBlinking::IsActive(); }

private:
    std::string _sample;
};
