#include "game/level_music_desc.h"

#include "engine/logger.h"
#include "engine/xml_node.h"
#include "field/level_limits.h"

namespace {

void ReadTrack(const CXMLNode& node, MusicTrackRef& ref) {
    if (!node.IsValid()) return;
    ref.alias = node.GetAttribute("alias", "");
    ref.track = node.GetAttributeInt("track", 0);
}

}  // namespace

bool ParseLevelMusic(const CXMLNode& node, LevelMusicDesc& desc) {
    if (!node.IsValid()) {
        desc.Normal.track = MusicTrackRef::kNoTrack;
        desc.Anxious.track = MusicTrackRef::kNoTrack;
        return true;
    }
    desc.fade_speed = node.GetAttributeFloat("fade_speed", 1.0f);
    // A fade moves by its speed every frame until it passes its end: one
    // that is not finite would never get there.
    if (!level_limits::IsFiniteSpeed(desc.fade_speed)) {
        CLogger::Instance().Log(2, "Error: the level's music fade_speed %g is not finite; 1 is used.",
                                static_cast<double>(desc.fade_speed));
        desc.fade_speed = 1.0f;
    }
    ReadTrack(node.SelectSingleNode("Normal"), desc.Normal);
    ReadTrack(node.SelectSingleNode("Anxious"), desc.Anxious);
    return true;
}
