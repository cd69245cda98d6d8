#pragma once
// The field's flags, through which the field and its helpers hand steps to
// each other.
#include "field/flags.h"

class CFieldFlags : public CFlags {
public:
    enum Id : int {
        ffCompressDue = 0,  // the field changed: a compress-and-fall cycle is due (initially 1)
        ffSettled = 1,      // the balls have settled after a compress cycle
        ffSaluteDone = 2,   // the salute has finished; the field then resets its row queue
        ffSaluteCheck = 3,  // a salute check is due after a resolved swap
        ffHammerTaken = 4,  // the player holds the hammer
    };

    CFieldFlags() { CFieldFlags::Init(); }
    void Init() override;
};
