#include "game/milliseconds_to_string.h"

#include "engine/helpers.h"

std::string MillisecondsToString(uint32_t ms) {
    const unsigned hours = ms / 3600000u;
    const unsigned minutes = (ms % 3600000u) / 60000u;
    const unsigned seconds = (ms % 60000u) / 1000u;
    std::string text;
    if (hours != 0) {
        FormatString(text, "%u:%02u:%02u", hours, minutes, seconds);
    } else {
        FormatString(text, "%u:%02u", minutes, seconds);
    }
    return text;
}
