// An animation file, read and played through its frames.
#include "fuzz_support.h"
#include "graphics/animation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Scratch();
    fuzz::LimitLog();
    fuzz::WriteInput("anim_fuzz.xml", data, size);
    CAnimation animation;
    fuzz::Tolerating([&] { animation.LoadAnimation("anim_fuzz.xml"); });
    for (int i = 0; i < 8 && animation.GetFrameCount() > 0; ++i) {
        animation.Update();
        animation.GetCurrentTexRect();
        animation.GetCurrentPolygon();
    }
    return 0;
}
