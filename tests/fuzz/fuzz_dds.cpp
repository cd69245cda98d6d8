// The texture store's own DDS reader, into an off-screen device.
#include "fuzz_support.h"
#include "graphics/texture_dds.h"
#include "platform/render_device.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Scratch();
    fuzz::LimitLog();
    static const std::unique_ptr<plat::RenderDevice> device = plat::RenderDevice::CreateOffscreen({}, 1);
    const std::vector<uint8_t> bytes(data, data + size);
    DDSImageInfo info;
    std::unique_ptr<plat::Texture> texture;
    fuzz::Tolerating([&] { LoadDDSTexture(*device, bytes, &info, &texture); });
    return 0;
}
