// A labels file, read by the font keeper and every label laid out.
#include "fuzz_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::TextInput("Settings/Labels_Fuzz.xml", data, size);
    static CFontKeeper keeper;
    static const bool fonts = [] {
        keeper.LoadFonts("Settings\\Fonts.xml");
        return true;
    }();
    (void)fonts;
    fuzz::Tolerating([] { keeper.LoadLabels("Settings\\Labels_Fuzz.xml"); });
    fuzz::LayOutLabels(keeper, "Settings\\Labels_Fuzz.xml");
    return 0;
}
