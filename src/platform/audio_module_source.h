#pragma once
// Module music (MOD, XM, S3M, IT ...) rendered by libopenmpt at the mixer's rate,
// positioned by pattern order, with a volume per module channel.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio_source.h"

struct openmpt_module_ext;
struct openmpt_module;

namespace plat {

class AudioModuleSource : public AudioSource {
public:
    // Loads a module file; null with *error set when the file is no module.
    static std::unique_ptr<AudioModuleSource> Load(const std::string& path, int rate, int* error);
    // The same for a whole file held in memory.
    static std::unique_ptr<AudioModuleSource> LoadFromMemory(const void* data, size_t size, int rate, int* error);
    ~AudioModuleSource() override;
    AudioModuleSource(const AudioModuleSource&) = delete;
    AudioModuleSource& operator=(const AudioModuleSource&) = delete;

    int Rate() const override { return _rate; }
    int Read(float* stereo, int frames) override;
    void Rewind() override;
    double LengthSeconds() const override;
    double PositionSeconds() const override;
    bool SeekSeconds(double seconds) override;

    // Endless play (true) or one pass through the song (false).
    void SetLoop(bool loop);
    // Jumps to a row of a pattern order; false when the order or row does not exist.
    bool SetOrderRow(int order, int row);
    int CurrentOrder() const;
    int CurrentRow() const;
    int ChannelCount() const;
    // Volume of one module channel, 0 to 100; false for a channel out of range.
    bool SetChannelVolume(int channel, int volume);
    bool GetChannelVolume(int channel, int* volume) const;

private:
    AudioModuleSource(openmpt_module_ext* ext, int rate);

    openmpt_module_ext* _ext;
    openmpt_module* _mod;
    int _rate;
    struct Interactive;
    std::unique_ptr<Interactive> _interactive;
    std::vector<int> _channel_volumes;  // as last set, 0..100 (the library keeps a coarser value)
};

}  // namespace plat
