// A fonts file, read by the font keeper, then fixed labels printed with it.
#include "fuzz_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::TextInput("Settings/Fonts_Fuzz.xml", data, size);
    CFontKeeper keeper;
    fuzz::Tolerating([&] { keeper.LoadLabels("Settings\\Labels.xml"); });
    fuzz::Tolerating([&] { keeper.LoadFonts("Settings\\Fonts_Fuzz.xml"); });
    if (keeper.GetFont()) fuzz::LayOutLabels(keeper, "Settings\\Labels.xml");
    return 0;
}
