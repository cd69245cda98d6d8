// The control-kinds file, read by every control class that keeps kinds.
#include "fuzz_support.h"
#include "gui/control_kinds.h"
#include "gui/menu_button.h"
#include "gui/menu_progress_bar.h"
#include "gui/menu_track_bar.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Scratch();
    fuzz::LimitLog();
    fuzz::WriteInput("Settings/controls.xml", data, size);
    fuzz::Tolerating([] { LoadControlKinds(); });
    fuzz::Tolerating([] { CMenuButton::LoadButtonKinds(); });
    fuzz::Tolerating([] { CMenuTrackBar::LoadTrackBarKinds(); });
    fuzz::Tolerating([] { CMenuProgressBar::LoadProgressBarKinds(); });
    return 0;
}
