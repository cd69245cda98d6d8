#pragma once
// Typed lookups of a dialog's controls: the dialogs of the game scene take
// their buttons, labels, page controls and track bars by id and by class.
#include <string>

#include "gui/base_dialog.h"

// The control with that id as a T; null when it is missing (logged by the
// dialog) or of another class.
template <typename T>
T* FindControlAs(const CBaseDialog& dialog, const std::string& id) {
    return dynamic_cast<T*>(dialog.FindControl(id));
}

// The same for a control that may be absent: nothing is logged when it is.
template <typename T>
T* FindOptionalControlAs(const CBaseDialog& dialog, const std::string& id) {
    return dialog.HasControl(id) ? dynamic_cast<T*>(dialog.FindControl(id)) : nullptr;
}
