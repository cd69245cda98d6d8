#pragma once
// The order in which an effect library file stores the curves of an emitter
// and of a particle type: entry i is the curve slot that the i-th curve of
// the record fills. Shared by the library reader and the tool that writes
// libraries, so the two cannot disagree.
namespace Plume {

constexpr int kEmitterFileSlots[15] = {0, 8, 1, 3, 4, 2, 9, 11, 12, 5, 6, 13, 14, 7, 10};
// Slot 16 comes twice: the second curve replaces the first.
constexpr int kTypeFileSlots[24] = {0, 5, 3, 4, 1, 2, 7, 9, 10, 11, 14, 12, 16, 19, 17, 16, 18, 6, 21, 15, 8, 13, 20, 22};

}  // namespace Plume
