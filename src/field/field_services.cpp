#include "field/field_services.h"

#include "gui/gui_services.h"

namespace field {

ISoundKeeper* SoundKeeper() { return gui::SoundKeeper(); }

}  // namespace field
