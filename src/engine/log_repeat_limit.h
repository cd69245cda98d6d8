#pragma once
// A reader that logs once per element of a file keeps one of these for its
// loop, so that one damaged file cannot flood the log: while it lives, a
// message logged again and again from one place (the same format) is written
// its first kShown times only; when it goes, one line per such message says
// how many more there were. Limits nest (the innermost one counts) and belong
// to the thread that made them.
#include <string>
#include <vector>

#include "engine/noncopyable.h"

class CLogRepeatLimit : NonCopyable {
public:
    static constexpr int kShown = 3;

    CLogRepeatLimit();
    ~CLogRepeatLimit();

    // The innermost limit of this thread, or null.
    static CLogRepeatLimit* Current();
    // True when `message`, made from `format`, is to be written; false when
    // it is only counted.
    bool Admit(int level, const char* format, const std::string& message);

private:
    struct Repeat {
        const char* format;
        int level;
        int seen;
        std::string first;
    };

    CLogRepeatLimit* _outer;
    std::vector<Repeat> _repeats;
};
