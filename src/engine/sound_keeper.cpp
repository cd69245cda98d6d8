#include "engine/sound_keeper.h"

#include <exception>

#include "engine/logger.h"
#include "engine/xml_file.h"
#include "platform/audio_mixer.h"
#include "platform/file_names.h"

namespace {

using plat::AudioMixer;
namespace audio_error = plat::audio_error;

constexpr int kMaxSamplePlaybacks = 16;
constexpr const char* kSamplesFile = "Settings\\Samples.xml";
constexpr int TRUE = 1;
constexpr int FALSE = 0;

// Audio files are opened from disk by name, without the file opener.
std::string DiskPath(const std::string& name) {
    std::string resolved = plat::ResolveFileName(name);
    return resolved.empty() ? plat::ToNativeSeparators(name) : resolved;
}

}  // namespace

std::unique_ptr<ISoundKeeper> CreateSoundKeeper() { return std::make_unique<CSoundKeeper>(); }

CSoundKeeper::CSoundKeeper() : CSoundKeeper(std::make_unique<AudioMixer>(AudioMixer::Mode::Auto)) {}

CSoundKeeper::CSoundKeeper(std::unique_ptr<AudioMixer> mixer) : _mixer(std::move(mixer)) {
    _mixer->Start();
    try {
        ReadSampleTable();
    } catch (const std::exception&) {
        // The XML layer has logged why; the game goes on without sound effects.
        _sample_table.clear();
        CLogger::Instance().Log(2, "Error: no samples: '%s' could not be read!", kSamplesFile);
    }
    _samples_off = false;
}

CSoundKeeper::~CSoundKeeper() = default;

void CSoundKeeper::ReadSampleTable() {
    CXMLFile file(kSamplesFile);
    CXMLNodeList list = file.SelectNodes("//Samples/Sample");
    for (int i = 0; i < list.GetLength(); ++i) {
        CXMLNode node = list.GetItem(i);
        SampleDesc desc;
        std::string alias = node.GetAttribute("alias", "");
        desc.file_name = node.GetAttribute("file_name", "");
        desc.volume = node.GetAttributeInt("volume", 100);
        desc.freq = node.GetAttributeInt("freq", -1);
        ASSERT((desc.freq == -1 || (desc.freq >= 100 && desc.freq <= 100000)) &&
               "Sample frequency must be between 100 and 100000!");
        _sample_table.emplace(alias, desc);  // the first entry of an alias wins
    }
}

int CSoundKeeper::ChannelSetAttributes(uint32_t channel, int freq, int volume, int pan) {
    return _mixer->SetAttributes(channel, freq, volume, pan) == audio_error::kOk ? TRUE : FALSE;
}

bool CSoundKeeper::SampleGated(uint32_t channel) const {
    if (!_samples_off) return false;
    AudioMixer::Kind kind;
    return _mixer->GetKind(channel, &kind) == audio_error::kOk && kind == AudioMixer::Kind::Sample;
}

// ---------------------------------------------------------------- samples

bool CSoundKeeper::LoadSample(const std::string& Name) {
    if (Name.empty() || _loaded_samples.count(Name)) return false;
    auto table_it = _sample_table.find(Name);
    if (table_it == _sample_table.end()) {
        CLogger::Instance().Log(2, "Error: sample '%s' not found!", Name.c_str());
        return false;
    }
    int error = 0;
    uint32_t handle = _mixer->LoadSample(DiskPath(table_it->second.file_name), kMaxSamplePlaybacks, &error);
    if (!handle) {
        CLogger::Instance().Log(2, "Error: can't load sample! Alias: '%s', filename: '%s'. Error code: %X",
                                Name.c_str(), table_it->second.file_name.c_str(), static_cast<unsigned>(error));
        return false;
    }
    _loaded_samples[Name] = handle;
    return true;
}

void CSoundKeeper::LoadAllSamples() {
    if (_samples_off) return;
    for (const auto& [alias, desc] : _sample_table)
        if (!_loaded_samples.count(alias)) LoadSample(alias);
}

bool CSoundKeeper::FreeSample(const std::string& Name) {
    auto it = _loaded_samples.find(Name);
    if (it == _loaded_samples.end()) return false;
    _mixer->FreeSample(it->second);
    _loaded_samples.erase(it);
    return true;
}

uint32_t CSoundKeeper::PlaySample(const std::string& Name) {
    if (_samples_off || Name.empty()) return 0;
    auto loaded = _loaded_samples.find(Name);
    if (loaded == _loaded_samples.end()) {
        ASSERT(LoadSample(Name));
        loaded = _loaded_samples.find(Name);
        if (loaded == _loaded_samples.end()) return 0;
    }
    auto table_it = _sample_table.find(Name);
    if (!ASSERT(table_it != _sample_table.end())) return 0;
    uint32_t channel = _mixer->GetSampleChannel(loaded->second, nullptr);
    if (!channel) return 0;
    ASSERT(ChannelSetAttributes(channel, table_it->second.freq, table_it->second.volume, -101) == TRUE);
    int error = _mixer->Play(channel, true);
    if (error != audio_error::kOk)
        CLogger::Instance().Log(3, "Warning: unable to play sample '%s'! Error code: %d", Name.c_str(), error);
    return channel;
}

// ---------------------------------------------------------------- music

bool CSoundKeeper::LoadMusic(const std::string& alias, const CMusicDesc& desc) {
    if (_music_table.count(alias)) return true;
    std::string path = DiskPath(desc.file_name);
    uint32_t handle = _mixer->LoadMusic(path, nullptr);
    // What is no module is played as a looping file stream.
    if (!handle) handle = _mixer->CreateFileStream(path, true, nullptr);
    if (!handle) return false;
    _music_table[alias] = MusicEntry {desc, handle};
    return true;
}

bool CSoundKeeper::FreeMusic(const std::string& alias) {
    auto it = _music_table.find(alias);
    if (it == _music_table.end()) return false;
    _mixer->FreeMusic(it->second.handle);
    _music_table.erase(it);
    return true;
}

uint32_t CSoundKeeper::PlayMusic(const std::string& alias, int track) {
    auto it = _music_table.find(alias);
    if (it == _music_table.end() || track < 0 || track >= GetMusicTrackCount(alias)) return 0;
    const uint32_t channel = it->second.handle;
    CancelFade(channel);
    // Looping, placed at the first row of the track's pattern order, then played
    // from there: a module starts at its track, a stream (or a module without
    // that order) at its beginning.
    _mixer->SetMusicLoop(channel, true);
    if (_mixer->SetMusicOrder(channel, it->second.desc.patterns[static_cast<size_t>(track)], 0) != audio_error::kOk)
        _mixer->SetPosition(channel, 0.0);
    int error = _mixer->Play(channel, false);
    if (error != audio_error::kOk) {
        CLogger::Instance().Log(2, "Error: Unable to play music '%s' track '%d'! Error code: %d", alias.c_str(), track,
                                error);
        return 0;
    }
    return channel;
}

void CSoundKeeper::CancelFade(uint32_t channel) {
    bool fading = false;
    _mixer->RemoveSlideSync(channel, &CSoundKeeper::OnFadeEnd, &_restore_volume, &fading);
    if (!fading) return;
    _mixer->StopSlide(channel);
    _mixer->SetAttributes(channel, AudioMixer::kKeepFreq, _restore_volume.load(), AudioMixer::kKeepPan);
}

void CSoundKeeper::OnFadeEnd(AudioMixer& mixer, uint32_t channel, void* restore_volume) {
    mixer.Stop(channel);
    int volume = static_cast<std::atomic<int>*>(restore_volume)->load();
    mixer.SetAttributes(channel, AudioMixer::kKeepFreq, volume, AudioMixer::kKeepPan);
}

bool CSoundKeeper::StopMusic(const std::string& alias, int fade) {
    auto it = _music_table.find(alias);
    if (it == _music_table.end()) return false;
    const uint32_t channel = it->second.handle;
    int error = audio_error::kOk;
    if (fade <= 0) {
        error = _mixer->Stop(channel);
    } else {
        error = _mixer->SetSlideSync(channel, true, &CSoundKeeper::OnFadeEnd, &_restore_volume);
        _restore_volume = 100;
        SlideChannel(channel, static_cast<float>(fade), 0, -101, -1.0f);
    }
    if (error != audio_error::kOk) {
        CLogger::Instance().Log(2, "Error: Unable to stop music '%s'! Error code: %d", alias.c_str(), error);
        return false;
    }
    return true;
}

bool CSoundKeeper::SetMusicChannelVolume(const std::string& alias, int channel, int volume) {
    auto it = _music_table.find(alias);
    if (it == _music_table.end()) return false;
    int error = _mixer->SetMusicChannelVolume(it->second.handle, channel, volume);
    if (error != audio_error::kOk) {
        CLogger::Instance().Log(3, "Warning: unable to set music '%s' channel %d volume! Error code: %d", alias.c_str(),
                                channel, error);
        return false;
    }
    return true;
}

int CSoundKeeper::GetMusicChannelVolume(const std::string& alias, int channel) {
    auto it = _music_table.find(alias);
    if (it == _music_table.end()) return 0;
    int volume = 0;
    int error = _mixer->GetMusicChannelVolume(it->second.handle, channel, &volume);
    if (error != audio_error::kOk) {
        CLogger::Instance().Log(3, "Warning: unable to get music '%s' channel %d volume! Error code: %d", alias.c_str(),
                                channel, error);
        return -1;
    }
    return volume;
}

int CSoundKeeper::GetMusicTrackCount(const std::string& alias) {
    auto it = _music_table.find(alias);
    return it == _music_table.end() ? 0 : static_cast<int>(it->second.desc.patterns.size());
}

// ---------------------------------------------------------------- output

bool CSoundKeeper::SetVolumes(int music, int samples) {
    _mixer->SetGlobalVolume(AudioMixer::Kind::Music, music);
    _mixer->SetGlobalVolume(AudioMixer::Kind::Stream, music);
    _mixer->SetGlobalVolume(AudioMixer::Kind::Sample, samples);
    _samples_off = _mixer->GetGlobalVolume(AudioMixer::Kind::Sample) == 0;
    return true;
}

// What the mixer plays at (from the start, before any SetVolumes, and with a
// value out of 0..100 as the mixer took it).
bool CSoundKeeper::GetVolumes(int* music, int* samples) {
    if (music) *music = _mixer->GetGlobalVolume(AudioMixer::Kind::Music);
    if (samples) *samples = _mixer->GetGlobalVolume(AudioMixer::Kind::Sample);
    return true;
}

bool CSoundKeeper::ResumeAll() {
    _mixer->Start();
    return true;
}

bool CSoundKeeper::PauseAll() {
    _mixer->Pause();
    return true;
}

void CSoundKeeper::FreeAll() {
    for (auto& [alias, handle] : _loaded_samples) _mixer->FreeSample(handle);
    _loaded_samples.clear();
    for (auto& [alias, entry] : _music_table) _mixer->FreeMusic(entry.handle);
    _music_table.clear();
}

// ---------------------------------------------------------------- channels

bool CSoundKeeper::GetChannelLevel(uint32_t channel, int* left, int* right) {
    uint32_t level = 0;
    int error = _mixer->GetLevel(channel, &level);
    if (error != audio_error::kOk) {
        CLogger::Instance().Log(3, "Warning: unable to get channel '%d' level! Error code: %d", static_cast<int>(channel),
                                error);
        return false;
    }
    if (left) *left = static_cast<int>(level & 0xFFFF);
    if (right) *right = static_cast<int>(level >> 16);
    return true;
}

int CSoundKeeper::GetChannelVolume(uint32_t channel) {
    int volume = 0;
    int error = _mixer->GetAttributes(channel, nullptr, &volume, nullptr);
    if (error != audio_error::kOk) {
        CLogger::Instance().Log(3, "Warning: unable to get channel '%d' volume! Error code: %d", static_cast<int>(channel),
                                error);
        return 0;
    }
    return volume;
}

bool CSoundKeeper::SetChannelVolume(uint32_t channel, int volume) {
    int error = _mixer->SetAttributes(channel, AudioMixer::kKeepFreq, volume, AudioMixer::kKeepPan);
    if (error != audio_error::kOk) {
        CLogger::Instance().Log(3, "Warning: unable to set channel '%d' volume! Error code: %d", static_cast<int>(channel),
                                error);
        return false;
    }
    return true;
}

int CSoundKeeper::GetChannelState(uint32_t channel) {
    if (SampleGated(channel)) return 0;
    AudioMixer::State state = AudioMixer::State::Stopped;
    if (_mixer->GetState(channel, &state) != audio_error::kOk) return 0;
    switch (state) {
        case AudioMixer::State::Playing: return 1;
        case AudioMixer::State::Paused: return 3;
        default: return 0;  // stopped; a stalled channel reads as stopped too
    }
}

void CSoundKeeper::SetChannelPan(uint32_t channel, int pan) {
    if (SampleGated(channel)) return;
    int error = _mixer->SetAttributes(channel, AudioMixer::kKeepFreq, AudioMixer::kKeepVolume, pan);
    if (error != audio_error::kOk)
        CLogger::Instance().Log(3, "Warning: unable to set channel '%d' panning! Error code: %d",
                                static_cast<int>(channel), error);
}

void CSoundKeeper::SetChannelPitch(uint32_t channel, float factor) {
    if (SampleGated(channel)) return;
    int default_freq = 0;
    int error = _mixer->GetDefaultFrequency(channel, &default_freq);
    if (error == audio_error::kOk) {
        int freq = static_cast<int>(static_cast<float>(default_freq) * factor);
        error = _mixer->SetAttributes(channel, freq, AudioMixer::kKeepVolume, AudioMixer::kKeepPan);
    }
    if (error != audio_error::kOk)
        CLogger::Instance().Log(3, "Warning: unable to set channel '%d' pitch! Error code: %d", static_cast<int>(channel),
                                error);
}

void CSoundKeeper::PauseChannel(uint32_t channel) {
    if (SampleGated(channel)) return;
    _mixer->PauseChannel(channel);
}

void CSoundKeeper::PlayChannel(uint32_t channel) {
    if (SampleGated(channel)) return;
    _mixer->Play(channel, false);
}

bool CSoundKeeper::StopChannel(uint32_t channel) {
    if (SampleGated(channel)) return true;
    return _mixer->Stop(channel) == audio_error::kOk;
}

bool CSoundKeeper::IsChannelPlaying(uint32_t channel) {
    if (SampleGated(channel)) return false;
    AudioMixer::State state = AudioMixer::State::Stopped;
    return _mixer->GetState(channel, &state) == audio_error::kOk && state == AudioMixer::State::Playing;
}

float CSoundKeeper::GetChannelLength(uint32_t channel) {
    double seconds = 0;
    _mixer->GetLength(channel, &seconds);
    return static_cast<float>(seconds);
}

float CSoundKeeper::GetChannelPosition(uint32_t channel) {
    double seconds = 0;
    _mixer->GetPosition(channel, &seconds);
    return static_cast<float>(seconds);
}

void CSoundKeeper::SetChannelPosition(uint32_t channel, float seconds) { _mixer->SetPosition(channel, seconds); }

void CSoundKeeper::SlideChannel(uint32_t channel, float time, int volume, int pan, float pitch) {
    int freq = AudioMixer::kKeepFreq;
    if (pitch != -1.0f) {
        int default_freq = 0;
        if (_mixer->GetDefaultFrequency(channel, &default_freq) != audio_error::kOk) return;
        freq = static_cast<int>(static_cast<float>(default_freq) * pitch);
    }
    _mixer->SlideAttributes(channel, freq, volume, pan, static_cast<int>(time * 1000.0f));
}

bool CSoundKeeper::IsChannelSliding(uint32_t channel) {
    bool sliding = false;
    _mixer->IsSliding(channel, &sliding);
    return sliding;
}
