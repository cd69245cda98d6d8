#pragma once
// All sound of the game goes through one sound keeper: samples (sound effects)
// and music are named by alias strings. The sample aliases come from
// Settings\Samples.xml; music is registered by the caller with a description.
// The keeper also offers per-channel controls (volume, pan, pitch, position,
// slides) on the channels it hands out.
//
// Samples off (a sample volume of 0) gates only the sample channels: music and
// stream channels can still be stopped, paused, queried and faded.
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/noncopyable.h"

namespace plat {
class AudioMixer;
}

// A music file and, for each of its tracks, the pattern order where it starts.
struct CMusicDesc {
    std::string file_name;
    std::vector<int> patterns;
};

class ISoundKeeper {
public:
    virtual ~ISoundKeeper() = default;

    virtual bool LoadSample(const std::string& Name) = 0;
    // Loads every sample of the table not loaded yet, so that playing one
    // later reads and decodes nothing in the middle of a frame (a game's level
    // start does this). Nothing while samples are off.
    virtual void LoadAllSamples() {}
    virtual bool FreeSample(const std::string& Name) = 0;
    // The playing channel, 0 when nothing plays.
    virtual uint32_t PlaySample(const std::string& Name) = 0;

    virtual bool LoadMusic(const std::string& alias, const CMusicDesc& desc) = 0;
    virtual bool FreeMusic(const std::string& alias) = 0;
    // The music's channel playing from the start of the track, or 0.
    virtual uint32_t PlayMusic(const std::string& alias, int track) = 0;
    // Stops at once (fade 0) or fades out over `fade` whole seconds and then stops.
    virtual bool StopMusic(const std::string& alias, int fade) = 0;
    virtual bool SetMusicChannelVolume(const std::string& alias, int channel, int volume) = 0;
    virtual int GetMusicChannelVolume(const std::string& alias, int channel) = 0;
    virtual int GetMusicTrackCount(const std::string& alias) = 0;

    // Music (and stream) volume and sample volume, 0 to 100.
    virtual bool SetVolumes(int music, int samples) = 0;
    virtual bool GetVolumes(int* music, int* samples) = 0;
    virtual bool ResumeAll() = 0;
    virtual bool PauseAll() = 0;
    virtual void FreeAll() = 0;

    virtual bool GetChannelLevel(uint32_t channel, int* left, int* right) = 0;
    virtual int GetChannelVolume(uint32_t channel) = 0;
    virtual bool SetChannelVolume(uint32_t channel, int volume) = 0;
    // 0 stopped, 1 playing, 3 paused.
    virtual int GetChannelState(uint32_t channel) = 0;
    virtual void SetChannelPan(uint32_t channel, int pan) = 0;
    virtual void SetChannelPitch(uint32_t channel, float factor) = 0;
    virtual void PauseChannel(uint32_t channel) = 0;
    // Plays on from where the channel stands.
    virtual void PlayChannel(uint32_t channel) = 0;
    virtual bool StopChannel(uint32_t channel) = 0;
    virtual bool IsChannelPlaying(uint32_t channel) = 0;
    virtual float GetChannelLength(uint32_t channel) = 0;
    virtual float GetChannelPosition(uint32_t channel) = 0;
    virtual void SetChannelPosition(uint32_t channel, float seconds) = 0;
    // Slides over `time` seconds: volume -1 and pan -101 keep those, a pitch
    // factor of exactly -1.0 keeps the frequency.
    virtual void SlideChannel(uint32_t channel, float time, int volume, int pan, float pitch) = 0;
    virtual bool IsChannelSliding(uint32_t channel) = 0;
};

class CSoundKeeper : public ISoundKeeper, NonCopyable {
public:
    struct SampleDesc {
        std::string file_name;
        int volume = 100;
        int freq = -1;  // -1 keeps the file's own rate
    };

    // Plays on the sound device (silently when none opens) and reads
    // Settings\Samples.xml; a missing or broken file is logged and leaves the
    // keeper without samples.
    CSoundKeeper();
    // The same on a given mixer (tests step a manual one by hand).
    explicit CSoundKeeper(std::unique_ptr<plat::AudioMixer> mixer);
    ~CSoundKeeper() override;

    bool LoadSample(const std::string& Name) override;
    void LoadAllSamples() override;
    bool FreeSample(const std::string& Name) override;
    uint32_t PlaySample(const std::string& Name) override;
    bool LoadMusic(const std::string& alias, const CMusicDesc& desc) override;
    bool FreeMusic(const std::string& alias) override;
    uint32_t PlayMusic(const std::string& alias, int track) override;
    bool StopMusic(const std::string& alias, int fade) override;
    bool SetMusicChannelVolume(const std::string& alias, int channel, int volume) override;
    int GetMusicChannelVolume(const std::string& alias, int channel) override;
    int GetMusicTrackCount(const std::string& alias) override;
    bool SetVolumes(int music, int samples) override;
    bool GetVolumes(int* music, int* samples) override;
    bool ResumeAll() override;
    bool PauseAll() override;
    void FreeAll() override;
    bool GetChannelLevel(uint32_t channel, int* left, int* right) override;
    int GetChannelVolume(uint32_t channel) override;
    bool SetChannelVolume(uint32_t channel, int volume) override;
    int GetChannelState(uint32_t channel) override;
    void SetChannelPan(uint32_t channel, int pan) override;
    void SetChannelPitch(uint32_t channel, float factor) override;
    void PauseChannel(uint32_t channel) override;
    void PlayChannel(uint32_t channel) override;
    bool StopChannel(uint32_t channel) override;
    bool IsChannelPlaying(uint32_t channel) override;
    float GetChannelLength(uint32_t channel) override;
    float GetChannelPosition(uint32_t channel) override;
    void SetChannelPosition(uint32_t channel, float seconds) override;
    void SlideChannel(uint32_t channel, float time, int volume, int pan, float pitch) override;
    bool IsChannelSliding(uint32_t channel) override;

    plat::AudioMixer& Mixer() { return *_mixer; }
    const std::map<std::string, SampleDesc>& SampleTable() const { return _sample_table; }

private:
    struct MusicEntry {
        CMusicDesc desc;
        uint32_t handle = 0;
    };

    void ReadSampleTable();
    // Frequency, volume and pan in one call (-1, -1, -101 keep); TRUE or FALSE.
    int ChannelSetAttributes(uint32_t channel, int freq, int volume, int pan);
    // A fade-out of StopMusic still running on the channel ends here, without
    // the stop it would bring, at the volume a finished fade restores.
    void CancelFade(uint32_t channel);
    // True for a sample channel while samples are off: such calls are skipped.
    bool SampleGated(uint32_t channel) const;
    // Runs on the audio thread when a music fade has ended.
    static void OnFadeEnd(plat::AudioMixer& mixer, uint32_t channel, void* restore_volume);

    // Shared with the audio thread; declared before the mixer so it outlives it.
    std::atomic<int> _restore_volume {100};
    std::unique_ptr<plat::AudioMixer> _mixer;
    std::map<std::string, SampleDesc> _sample_table;
    std::map<std::string, uint32_t> _loaded_samples;
    std::map<std::string, MusicEntry> _music_table;
    bool _samples_off = false;
};

// The engine core's factory of its sound keeper.
std::unique_ptr<ISoundKeeper> CreateSoundKeeper();
