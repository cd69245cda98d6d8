#pragma once
// The audio back end: our own small mixer. It plays
//  - samples: decoded sound files, each with a limited number of playback
//    channels; at the limit the playback that has played longest is reused;
//  - module music through libopenmpt, positioned by pattern order, with a
//    volume per module channel;
//  - Ogg Vorbis file streams, optionally looping;
// with per-channel volume (0..100), pan (-100..100) and frequency (Hz), slides
// of these over time with a slide-end notification, global volumes per kind of
// channel, and pause/resume of all output.
//
// The mix goes to the SDL2 audio device; when none opens, a silent clock
// consumes it in real time, so every call still works. A mixer built "manual"
// has no output at all: tests step it by hand with Mix().
//
// Handles are non-zero; a music or stream handle is also its channel. All calls
// are safe from any thread. Sync procedures run on the thread that mixes (the
// audio thread), after the mixer's lock is released, so they may call back into
// the mixer.
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/audio_errors.h"

namespace plat {

class AudioOutput;
class AudioSampleData;
class AudioSource;
class AudioModuleSource;
class AudioOggStreamSource;

class AudioMixer {
public:
    using Handle = uint32_t;
    enum class Mode { Auto, Manual };
    enum class Kind { Sample, Music, Stream };
    enum class State { Stopped = 0, Playing = 1, Stalled = 2, Paused = 3 };
    // Runs on the audio thread when a slide of the channel's attributes ends.
    using SyncProc = void (*)(AudioMixer& mixer, Handle channel, void* user);

    static constexpr int kKeepFreq = -1;
    static constexpr int kKeepVolume = -1;
    static constexpr int kKeepPan = -101;
    static constexpr int kMinFreq = 100;
    static constexpr int kMaxFreq = 100000;

    explicit AudioMixer(Mode mode = Mode::Auto, int rate = 44100);
    ~AudioMixer();
    AudioMixer(const AudioMixer&) = delete;
    AudioMixer& operator=(const AudioMixer&) = delete;

    int Rate() const { return _rate; }
    // True when the mix reaches a sound device (false: silent clock or manual).
    bool IsAudible() const;

    // Renders `frames` stereo frames into `out` (interleaved floats). The output
    // calls it; tests call it to step the mixer.
    void Mix(float* out, int frames);
    // Mixes and discards `frames` frames.
    void Step(int frames);

    // Output as a whole: a paused output advances nothing and mixes silence.
    void Pause();
    void Start();
    bool IsPaused() const { return _paused.load(); }

    // Global volumes, 0..100, by kind of channel.
    void SetGlobalVolume(Kind kind, int volume);
    int GetGlobalVolume(Kind kind) const;

    // Samples. Returns the sample handle, 0 with *error on failure.
    Handle LoadSample(const std::string& path, int max_playbacks, int* error);
    bool FreeSample(Handle sample);
    // A playback channel of the sample: a free one, a new one below the limit,
    // else the one that has played longest. The channel is stopped at its start,
    // with the sample's defaults: its own frequency, full volume, centre pan.
    Handle GetSampleChannel(Handle sample, int* error);

    // Module music; 0 with *error when the file is no module.
    Handle LoadMusic(const std::string& path, int* error);
    // A file stream; 0 with *error when the file is no Ogg Vorbis file.
    Handle CreateFileStream(const std::string& path, bool loop, int* error);
    // Frees a music or stream.
    bool FreeMusic(Handle music);

    // Channel operations; each returns an audio error code (kOk on success).
    int Play(Handle channel, bool restart);
    int Stop(Handle channel);
    int PauseChannel(Handle channel);
    int GetState(Handle channel, State* state) const;
    int GetKind(Handle channel, Kind* kind) const;
    // freq in Hz (kKeepFreq keeps), volume 0..100 (kKeepVolume keeps), pan -100..100 (kKeepPan keeps).
    int SetAttributes(Handle channel, int freq, int volume, int pan);
    int GetAttributes(Handle channel, int* freq, int* volume, int* pan) const;
    int GetDefaultFrequency(Handle channel, int* freq) const;
    // Slides the given attributes (keep values leave one alone) over `time_ms`.
    int SlideAttributes(Handle channel, int freq, int volume, int pan, int time_ms);
    int IsSliding(Handle channel, bool* sliding) const;
    // Registers a slide-end notification; `once` removes it after its first call.
    int SetSlideSync(Handle channel, bool once, SyncProc proc, void* user);
    // Removes the channel's notifications registered with `proc` and `user`;
    // *removed (may be null) tells whether there was one.
    int RemoveSlideSync(Handle channel, SyncProc proc, void* user, bool* removed);
    // Ends a running slide where it stands, without notifying its end.
    int StopSlide(Handle channel);
    // Peak output level of the last mixed block: left in the low 16 bits,
    // right in the high 16 bits, each 0..32768.
    int GetLevel(Handle channel, uint32_t* level) const;
    int GetLength(Handle channel, double* seconds) const;
    int GetPosition(Handle channel, double* seconds) const;
    int SetPosition(Handle channel, double seconds);

    // Module music only (kNotAvailable for other channels).
    int SetMusicLoop(Handle music, bool loop);
    int SetMusicOrder(Handle music, int order, int row);
    int GetMusicOrder(Handle music, int* order, int* row) const;
    int SetMusicChannelVolume(Handle music, int module_channel, int volume);
    int GetMusicChannelVolume(Handle music, int module_channel, int* volume) const;

private:
    struct Slide {
        bool active = false;
        double from = 0, to = 0;
    };
    struct Sync {
        SyncProc proc;
        void* user;
        bool once;
    };
    struct Channel {
        Kind kind = Kind::Sample;
        Handle sample = 0;                    // owning sample of a sample channel
        std::unique_ptr<AudioSource> source;
        AudioModuleSource* module = nullptr;  // the source, when it is a module
        AudioOggStreamSource* stream = nullptr;
        State state = State::Stopped;
        double volume = 100, pan = 0, freq = 44100;
        int default_freq = 44100;
        Slide slide_volume, slide_pan, slide_freq;
        int64_t slide_total = 0, slide_done = 0;  // frames of the running slide
        std::vector<Sync> syncs;
        // Staging of source frames for resampling.
        std::vector<float> staged;
        int staged_frames = 0;
        double cursor = 0;   // fractional frame within `staged`
        bool source_done = false;
        uint64_t started = 0;  // sequence number of the last start
        std::atomic<uint32_t> level {0};
    };
    struct SampleEntry {
        std::shared_ptr<const AudioSampleData> data;
        int max_playbacks = 1;
        std::vector<Handle> channels;
    };
    struct FiredSync {
        SyncProc proc;
        void* user;
        Handle channel;
    };

    Channel* Find(Handle h) const;
    Handle NewHandle();
    Handle AddMusicChannel(std::unique_ptr<AudioSource> source, Kind kind, AudioModuleSource* module,
                           AudioOggStreamSource* stream);
    void ResetSource(Channel& c);
    double SourcePosition(const Channel& c) const;
    // Mixes one channel into `out` for `frames` frames.
    void MixChannel(Handle h, Channel& c, float* out, int frames);
    bool Refill(Channel& c);
    void AdvanceSlide(Handle h, Channel& c, int frames);
    double GlobalGain(Kind kind) const;

    const int _rate;
    mutable std::mutex _mutex;
    std::unordered_map<Handle, std::unique_ptr<Channel>> _channels;
    std::unordered_map<Handle, SampleEntry> _samples;
    Handle _next_handle = 1;
    uint64_t _start_counter = 0;
    std::atomic<bool> _paused {false};
    std::atomic<int> _global_volume[3] {100, 100, 100};
    std::vector<FiredSync> _fired;
    std::unique_ptr<AudioOutput> _output;  // last: it calls Mix until destroyed
};

}  // namespace plat
