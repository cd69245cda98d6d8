#pragma once
// The game scene's flags.
#include "field/flags.h"

class CGameFlags : public CFlags {
public:
    enum Id : int {
        gfBeginEpisode = 0,  // the episode-start message: 2 ask, 3 shown, 4 closed (initially 2)
    };

    CGameFlags() { CGameFlags::Init(); }
    void Init() override;
};
