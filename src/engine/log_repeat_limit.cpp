#include "engine/log_repeat_limit.h"

#include "engine/logger.h"

namespace {

thread_local CLogRepeatLimit* t_current = nullptr;

}  // namespace

CLogRepeatLimit::CLogRepeatLimit() : _outer(t_current) { t_current = this; }

CLogRepeatLimit::~CLogRepeatLimit() {
    t_current = _outer;
    try {
        for (const Repeat& repeat : _repeats)
            if (repeat.seen > kShown)
                CLogger::Instance().Log(repeat.level, "%s (and %d more like it, not written one by one)",
                                        repeat.first.c_str(), repeat.seen - kShown);
    } catch (...) {
        // The summary is lost, not the reader's work.
    }
}

CLogRepeatLimit* CLogRepeatLimit::Current() { return t_current; }

bool CLogRepeatLimit::Admit(int level, const char* format, const std::string& message) {
    // A reader logs only a few different messages: a short list serves.
    for (Repeat& repeat : _repeats)
        if (repeat.format == format) return ++repeat.seen <= kShown;
    _repeats.push_back({format, level, 1, message});
    return true;
}
