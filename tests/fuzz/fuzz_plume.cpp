// The particle-effect library and its playback: every emitter of a library
// that loads is started and played for a second of effect clock, drawn into
// an off-screen device's vertex buffer.
#include "fuzz_support.h"
#include "graphics/plume.h"
#include "graphics/plume_library.h"
#include "platform/render_device.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Scratch();
    fuzz::LimitLog();
    static const std::unique_ptr<plat::RenderDevice> device = plat::RenderDevice::CreateOffscreen({}, 1);
    static uint32_t now = 0;
    fuzz::WriteInput("fuzz.plume", data, size);
    Plume::CLibrary::Instance()->SetDevice(device.get());
    {
        CPlume player([] { return now; });
        if (player.LoadLibrary("fuzz.plume")) {
            const std::shared_ptr<Plume::CLibrary> library = Plume::CLibrary::Instance();
            for (size_t i = 0; i < library->EmitterCount() && i < 8; ++i)
                player.StartEmitter(library->Emitter(i).Name(), 320, 240);
            for (int frame = 0; frame < 60 && player.EmitterCount() > 0; ++frame) {
                now += 16;
                player.Render();
            }
        }
        CPlume::ReleaseLibrary();
    }
    return 0;
}
