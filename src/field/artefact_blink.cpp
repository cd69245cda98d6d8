#include "field/artefact_blink.h"

#include "gui/sample_queue.h"

CArtefactBlink::CArtefactBlink(float x, float y, const CGraphicsDesc& desc, int32_t count, float speed,
                               const std::string& sample)
    : CBlinking(x, y, desc, count, speed), _sample(sample) {}

void CArtefactBlink::Render() {
    CBlinking::Render();
    if (_sample.empty()) return;
    g_SampleQueue.Add(_sample);
    _sample.clear();
}
