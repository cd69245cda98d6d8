#pragma once
// The sound keeper as the field's helpers reach it: null while there is no
// engine core, so the helpers can be built and stepped without one.
class ISoundKeeper;

namespace field {

ISoundKeeper* SoundKeeper();

}  // namespace field
