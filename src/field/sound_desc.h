#pragma once
// One scripted sound of an animated object, as the data files describe it:
//   <sound alias="bird_flap" mode="FadeIn, Pause" min_vol="20" max_vol="80"
//          fader_speed="10" delay="30"/>
#include <cstdint>
#include <string>
#include <string_view>

class CXMLNode;

// The mode flags of a sound description, as written in the "mode" attribute.
enum ESoundMode : uint32_t {
    smNone = 0,
    smFadeIn = 1,     // the volume ramp runs from max_vol down to min_vol
    smFadeOut = 2,    // from min_vol up to max_vol (FadeIn wins when both are set)
    smBreak = 4,      // replayed every update while it holds a channel
    smLoop = 8,       // replayed whenever the channel has stopped
    smSingleton = 16, // one playing instance per alias shared by everyone
    smWaitEnd = 32,   // the next description waits for the channel to end
    smPause = 64,     // the next description waits `delay` updates
};

struct SoundDesc {
    uint32_t mode = smNone;
    std::string alias;
    int32_t min_vol = 0;
    int32_t max_vol = 100;
    float fader_speed = 1.0f;
    int32_t delay = 0;
};

namespace PARSERS {

// The description in the node's child "sound", or in the node itself when it
// has none. An invalid node is a failed check and throws "Assertion failed".
SoundDesc ParseSound(const CXMLNode& node);

// The flags of the names in the text (split at blanks and commas, compared
// exactly); "None" clears what was read and ends the list; unknown names are
// skipped.
uint32_t ParseSoundMode(std::string_view text);

}  // namespace PARSERS
