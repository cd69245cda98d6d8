#pragma once
// Which music a level plays in its calm ("Normal") and anxious moods, and how
// fast the two cross-fade.
#include <cstdint>
#include <string>

class CXMLNode;

struct MusicTrackRef {
    static constexpr int32_t kNoTrack = -999;

    std::string alias;  // a music alias of the sound keeper; empty: none
    int32_t track = kNoTrack;

    bool operator==(const MusicTrackRef&) const = default;
};

struct LevelMusicDesc {
    MusicTrackRef Normal;
    MusicTrackRef Anxious;
    float fade_speed = 1.0f;  // volume units per update
};

// Reads a level's music node. An invalid node means the level has no music of
// its own (both tracks kNoTrack); a missing mood child leaves that reference
// as it was. A fade speed that is not finite is logged and 1 is used. Always
// true.
bool ParseLevelMusic(const CXMLNode& node, LevelMusicDesc& desc);
