#include "field/sound_desc.h"

#include <vector>

#include "engine/helpers.h"
#include "engine/logger.h"
#include "engine/xml_node.h"

namespace PARSERS {

namespace {

struct ModeName {
    const char* name;
    uint32_t flag;
};

constexpr const char* kNone = "None";
constexpr ModeName kModeNames[] = {
    {"FadeIn", smFadeIn}, {"FadeOut", smFadeOut},       {"Break", smBreak},     {"Loop", smLoop},
    {"Singleton", smSingleton}, {"WaitEnd", smWaitEnd}, {"Pause", smPause},
};

}  // namespace

uint32_t ParseSoundMode(std::string_view text) {
    std::vector<std::string> names;
    Tokenize(&names, text, " ,");
    uint32_t mode = smNone;
    for (const std::string& name : names) {
        if (name == kNone) return smNone;
        for (const ModeName& known : kModeNames) {
            if (name == known.name) mode |= known.flag;
        }
    }
    return mode;
}

SoundDesc ParseSound(const CXMLNode& node) {
    ASSERT_THROW_IF_FAILED(node.IsValid());
    CXMLNode SoundNode = node.SelectSingleNode("sound");
    if (!SoundNode.IsValid()) SoundNode = node;
    ASSERT_THROW_IF_FAILED(SoundNode.IsValid());

    SoundDesc desc;
    desc.alias = SoundNode.GetAttribute("alias", "");
    desc.mode = ParseSoundMode(SoundNode.GetAttribute("mode", kNone));
    desc.min_vol = static_cast<int32_t>(SoundNode.GetAttributeFloat("min_vol", 0.0f));
    desc.max_vol = static_cast<int32_t>(SoundNode.GetAttributeFloat("max_vol", 100.0f));
    desc.fader_speed = SoundNode.GetAttributeFloat("fader_speed", 1.0f);
    desc.delay = SoundNode.GetAttributeInt("delay", 0);
    return desc;
}

}  // namespace PARSERS
