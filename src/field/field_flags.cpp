#include "field/field_flags.h"

void CFieldFlags::Init() {
    Add(ffCompressDue, 1);
    Add(ffSettled, 0);
    Add(ffSaluteDone, 0);
    Add(ffSaluteCheck, 0);
    Add(ffHammerTaken, 0);
}
