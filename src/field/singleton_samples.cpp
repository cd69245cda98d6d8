#include "field/singleton_samples.h"

#include "engine/sound_keeper_interface.h"
#include "field/field_services.h"

CSingletonSamples g_SingletonSamples;

namespace {

constexpr int kChannelPlaying = 1;

uint32_t PlayOnKeeper(const std::string& alias) {
    ISoundKeeper* keeper = field::SoundKeeper();
    return keeper ? keeper->PlaySample(alias) : 0;
}

bool StillPlaying(uint32_t channel) {
    ISoundKeeper* keeper = field::SoundKeeper();
    return keeper && keeper->GetChannelState(channel) == kChannelPlaying;
}

}  // namespace

uint32_t CSingletonSamples::Play(const std::string& alias) {
    for (Entry& entry : _entries) {
        if (entry.alias != alias) continue;
        if (StillPlaying(entry.channel)) return entry.channel;
        entry.channel = PlayOnKeeper(alias);
        entry.state = 0;
        return entry.channel;
    }
    Entry entry;
    entry.alias = alias;
    entry.channel = PlayOnKeeper(alias);
    _entries.push_back(std::move(entry));
    return _entries.back().channel;
}
