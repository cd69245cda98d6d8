// A languages file, read by the font keeper, and a language selected from it.
#include "fuzz_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::TextInput("Settings/Languages.xml", data, size);
    CFontKeeper keeper;
    fuzz::Tolerating([&] { keeper.LoadLanguages(); });
    for (int i = 0; i < keeper.GetLanguageCount() && i < 8; ++i) keeper.GetLanguageName(i);
    fuzz::Tolerating([&] { keeper.GetLanguageIndex(9); });
    fuzz::Tolerating([&] { keeper.SelectLanguage(keeper.GetLanguageCount() > 1 ? 1 : 0); });
    return 0;
}
