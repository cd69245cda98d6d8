// The player's settings file, read from the per-user folder.
#include "fuzz_support.h"
#include "profiles/game_settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Scratch();
    fuzz::LimitLog();
    std::ofstream(UserFolderPath("all") + CGameSettings::UserFileName(), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    CGameSettings settings;
    GameOptions options;
    fuzz::Tolerating([&] { settings.LoadSettings(options); });
    return 0;
}
