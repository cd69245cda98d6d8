#include "game/level_music_desc.h"

#include "engine/xml_node.h"

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
    ReadTrack(node.SelectSingleNode("Normal"), desc.Normal);
    ReadTrack(node.SelectSingleNode("Anxious"), desc.Anxious);
    return true;
}
