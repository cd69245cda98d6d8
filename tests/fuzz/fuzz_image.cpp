// One image reader, chosen when the harness is built (VOVARO_IMAGE_DECODER),
// under the texture size limit the game applies.
#include "fuzz_support.h"
#include "platform/image_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    plat::DecodedImage image;
    std::string error;
    if (plat::VOVARO_IMAGE_DECODER(data, size, &image, &error)) {
        // A decoded image is exactly its size.
        if (image.argb.size() != static_cast<size_t>(image.width) * image.height) std::abort();
        plat::ApplyColorKey(image, 0xFF000000u);
    }
    return 0;
}
