#pragma once
// Samples and music addressed by alias names. The engine core owns the one
// sound keeper and pauses, resumes and frees all sound with the window's
// activation and at shutdown.
class ISoundKeeper {
public:
    virtual ~ISoundKeeper() = default;
    virtual void PauseAll() = 0;
    virtual void ResumeAll() = 0;
    virtual void FreeAll() = 0;
};
