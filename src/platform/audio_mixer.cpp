#include "platform/audio_mixer.h"

#include <algorithm>
#include <cmath>

#include "platform/audio_module_source.h"
#include "platform/audio_ogg_stream_source.h"
#include "platform/audio_sample_data.h"
#include "platform/audio_sample_source.h"
#include "platform/audio_sdl_output.h"
#include "platform/audio_silent_output.h"

namespace plat {

namespace {

constexpr int kStageFrames = 2048;  // source frames staged per channel for resampling
constexpr int kBlockFrames = 256;   // slides and gains are updated once per block

int KindIndex(AudioMixer::Kind kind) { return static_cast<int>(kind); }

template <class T>
void SetOut(T* p, T v) {
    if (p) *p = v;
}

}  // namespace

AudioMixer::AudioMixer(Mode mode, int rate) : _rate(rate) {
    _fired.reserve(16);
    if (mode == Mode::Manual) return;
    auto render = [this](float* out, int frames) { Mix(out, frames); };
    _output = AudioSdlOutput::Open(rate, render);
    if (!_output) _output = std::make_unique<AudioSilentOutput>(rate, render);
}

AudioMixer::~AudioMixer() {
    // Stop the thread that mixes before anything it reads goes away.
    _output.reset();
}

bool AudioMixer::IsAudible() const { return _output && _output->IsAudible(); }

AudioMixer::Channel* AudioMixer::Find(Handle h) const {
    auto it = _channels.find(h);
    return it == _channels.end() ? nullptr : it->second.get();
}

AudioMixer::Handle AudioMixer::NewHandle() {
    Handle h = _next_handle++;
    if (_next_handle == 0) _next_handle = 1;
    return h;
}

double AudioMixer::GlobalGain(Kind kind) const { return _global_volume[KindIndex(kind)].load() / 100.0; }

void AudioMixer::Pause() {
    _paused = true;
    if (_output) _output->SetPaused(true);
}

void AudioMixer::Start() {
    _paused = false;
    if (_output) _output->SetPaused(false);
}

void AudioMixer::SetGlobalVolume(Kind kind, int volume) {
    _global_volume[KindIndex(kind)] = std::clamp(volume, 0, 100);
}

int AudioMixer::GetGlobalVolume(Kind kind) const { return _global_volume[KindIndex(kind)].load(); }

// ---------------------------------------------------------------- mixing

void AudioMixer::Step(int frames) {
    std::vector<float> scratch(static_cast<size_t>(std::min(frames, 4096)) * 2);
    while (frames > 0) {
        int n = std::min(frames, 4096);
        Mix(scratch.data(), n);
        frames -= n;
    }
}

void AudioMixer::Mix(float* out, int frames) {
    std::fill(out, out + static_cast<size_t>(frames) * 2, 0.0f);
    if (_paused || frames <= 0) return;
    std::vector<FiredSync> fired;
    {
        std::lock_guard<std::mutex> lock(_mutex);
        for (auto& [h, c] : _channels) c->level.store(0, std::memory_order_relaxed);
        for (int done = 0; done < frames; done += kBlockFrames) {
            int n = std::min(kBlockFrames, frames - done);
            for (auto& [h, c] : _channels) {
                if (c->state == State::Playing) MixChannel(h, *c, out + static_cast<size_t>(done) * 2, n);
                AdvanceSlide(h, *c, n);
            }
        }
        if (!_fired.empty()) fired.swap(_fired);
    }
    if (fired.empty()) return;
    // Notifications run without the lock, so they may call the mixer.
    for (const FiredSync& f : fired) f.proc(*this, f.channel, f.user);
    fired.clear();
    std::lock_guard<std::mutex> lock(_mutex);
    if (_fired.empty()) _fired.swap(fired);  // keep the capacity for the next ones
}

bool AudioMixer::Refill(Channel& c) {
    if (c.source_done) return false;
    // Keep the frame under the cursor and what follows it.
    int keep_from = std::min(static_cast<int>(c.cursor), c.staged_frames);
    int kept = c.staged_frames - keep_from;
    if (kept > 0 && keep_from > 0)
        std::copy(c.staged.begin() + keep_from * 2, c.staged.begin() + c.staged_frames * 2, c.staged.begin());
    c.cursor -= keep_from;
    c.staged_frames = kept;
    int got = c.source->Read(c.staged.data() + kept * 2, kStageFrames - kept);
    c.staged_frames += got;
    if (got == 0) {
        c.source_done = true;
        return false;
    }
    return true;
}

void AudioMixer::MixChannel(Handle, Channel& c, float* out, int frames) {
    // Gains at the start of the block and after its slide step, ramped across it.
    auto gains = [this](const Channel& ch, double volume, double pan, float* gl, float* gr) {
        double g = volume / 100.0 * GlobalGain(ch.kind);
        *gl = static_cast<float>(g * (pan > 0 ? 1.0 - pan / 100.0 : 1.0));
        *gr = static_cast<float>(g * (pan < 0 ? 1.0 + pan / 100.0 : 1.0));
    };
    float gl0, gr0, gl1, gr1;
    gains(c, c.volume, c.pan, &gl0, &gr0);
    double steps = static_cast<double>(std::min<int64_t>(frames, std::max<int64_t>(c.slide_total - c.slide_done, 0)));
    double end_volume = c.volume, end_pan = c.pan;
    if (c.slide_total > 0 && steps > 0) {
        double t = std::min(1.0, static_cast<double>(c.slide_done + frames) / c.slide_total);
        if (c.slide_volume.active) end_volume = c.slide_volume.from + (c.slide_volume.to - c.slide_volume.from) * t;
        if (c.slide_pan.active) end_pan = c.slide_pan.from + (c.slide_pan.to - c.slide_pan.from) * t;
    }
    gains(c, end_volume, end_pan, &gl1, &gr1);

    const double step = c.freq / _rate;
    float peak_l = 0, peak_r = 0;
    int i = 0;
    for (; i < frames; ++i) {
        int idx = static_cast<int>(c.cursor);
        if (idx + 1 >= c.staged_frames) {
            Refill(c);
            idx = static_cast<int>(c.cursor);
        }
        if (idx >= c.staged_frames) break;  // the source has ended
        float frac = static_cast<float>(c.cursor - idx);
        const float* a = &c.staged[static_cast<size_t>(idx) * 2];
        float l = a[0], r = a[1];
        if (idx + 1 < c.staged_frames && frac > 0) {
            l += (a[2] - a[0]) * frac;
            r += (a[3] - a[1]) * frac;
        }
        float t = static_cast<float>(i + 1) / static_cast<float>(frames);
        l *= gl0 + (gl1 - gl0) * t;
        r *= gr0 + (gr1 - gr0) * t;
        out[i * 2] += l;
        out[i * 2 + 1] += r;
        peak_l = std::max(peak_l, std::fabs(l));
        peak_r = std::max(peak_r, std::fabs(r));
        c.cursor += step;
    }
    if (i < frames) c.state = State::Stopped;  // played to its end
    auto to16 = [](float v) { return static_cast<uint32_t>(std::lround(std::min(v, 1.0f) * 32768.0f)); };
    uint32_t level = to16(peak_l) | (to16(peak_r) << 16);
    uint32_t old = c.level.load(std::memory_order_relaxed);
    uint32_t merged = std::max(old & 0xFFFF, level & 0xFFFF) | (std::max(old >> 16, level >> 16) << 16);
    c.level.store(merged, std::memory_order_relaxed);
}

void AudioMixer::AdvanceSlide(Handle h, Channel& c, int frames) {
    if (c.slide_total <= 0) return;
    c.slide_done += frames;
    double t = std::min(1.0, static_cast<double>(c.slide_done) / c.slide_total);
    auto apply = [t](const Slide& s, double* value) {
        if (s.active) *value = s.from + (s.to - s.from) * t;
    };
    apply(c.slide_volume, &c.volume);
    apply(c.slide_pan, &c.pan);
    apply(c.slide_freq, &c.freq);
    if (t < 1.0) return;
    c.slide_volume.active = c.slide_pan.active = c.slide_freq.active = false;
    c.slide_total = c.slide_done = 0;
    for (const Sync& s : c.syncs) _fired.push_back({s.proc, s.user, h});
    c.syncs.erase(std::remove_if(c.syncs.begin(), c.syncs.end(), [](const Sync& s) { return s.once; }),
                  c.syncs.end());
}

// ---------------------------------------------------------------- samples

AudioMixer::Handle AudioMixer::LoadSample(const std::string& path, int max_playbacks, int* error) {
    int ignored = 0;
    if (!error) error = &ignored;
    if (max_playbacks < 1) {
        *error = audio_error::kIllegalParam;
        return 0;
    }
    auto data = AudioSampleData::Load(path, error);
    if (!data) return 0;
    std::lock_guard<std::mutex> lock(_mutex);
    Handle h = NewHandle();
    SampleEntry& e = _samples[h];
    e.data = std::move(data);
    e.max_playbacks = max_playbacks;
    *error = audio_error::kOk;
    return h;
}

bool AudioMixer::FreeSample(Handle sample) {
    std::lock_guard<std::mutex> lock(_mutex);
    auto it = _samples.find(sample);
    if (it == _samples.end()) return false;
    for (Handle ch : it->second.channels) _channels.erase(ch);
    _samples.erase(it);
    return true;
}

AudioMixer::Handle AudioMixer::GetSampleChannel(Handle sample, int* error) {
    int ignored = 0;
    if (!error) error = &ignored;
    std::lock_guard<std::mutex> lock(_mutex);
    auto it = _samples.find(sample);
    if (it == _samples.end()) {
        *error = audio_error::kHandle;
        return 0;
    }
    SampleEntry& e = it->second;
    Handle chosen = 0;
    for (Handle h : e.channels) {
        if (Find(h)->state == State::Stopped) {
            chosen = h;
            break;
        }
    }
    if (!chosen && static_cast<int>(e.channels.size()) < e.max_playbacks) {
        auto c = std::make_unique<Channel>();
        c->kind = Kind::Sample;
        c->sample = sample;
        c->source = std::make_unique<AudioSampleSource>(e.data);
        c->staged.assign(static_cast<size_t>(kStageFrames) * 2, 0.0f);
        chosen = NewHandle();
        _channels[chosen] = std::move(c);
        e.channels.push_back(chosen);
    }
    if (!chosen) {
        // At the limit: the playback that has played longest (the earliest start on a tie).
        double best_pos = -1;
        uint64_t best_start = 0;
        for (Handle h : e.channels) {
            Channel* c = Find(h);
            double pos = SourcePosition(*c);
            if (pos > best_pos + 1e-9 || (std::fabs(pos - best_pos) <= 1e-9 && c->started < best_start)) {
                best_pos = pos;
                best_start = c->started;
                chosen = h;
            }
        }
    }
    Channel& c = *Find(chosen);
    c.state = State::Stopped;
    ResetSource(c);
    c.default_freq = e.data->Rate();
    c.freq = c.default_freq;
    c.volume = 100;
    c.pan = 0;
    c.slide_volume.active = c.slide_pan.active = c.slide_freq.active = false;
    c.slide_total = c.slide_done = 0;
    *error = audio_error::kOk;
    return chosen;
}

// ---------------------------------------------------------------- music and streams

AudioMixer::Handle AudioMixer::AddMusicChannel(std::unique_ptr<AudioSource> source, Kind kind,
                                               AudioModuleSource* module, AudioOggStreamSource* stream) {
    auto c = std::make_unique<Channel>();
    c->kind = kind;
    c->module = module;
    c->stream = stream;
    c->default_freq = source->Rate();
    c->freq = c->default_freq;
    c->source = std::move(source);
    c->staged.assign(static_cast<size_t>(kStageFrames) * 2, 0.0f);
    std::lock_guard<std::mutex> lock(_mutex);
    Handle h = NewHandle();
    _channels[h] = std::move(c);
    return h;
}

AudioMixer::Handle AudioMixer::LoadMusic(const std::string& path, int* error) {
    auto module = AudioModuleSource::Load(path, _rate, error);
    if (!module) return 0;
    AudioModuleSource* raw = module.get();
    return AddMusicChannel(std::move(module), Kind::Music, raw, nullptr);
}

AudioMixer::Handle AudioMixer::CreateFileStream(const std::string& path, bool loop, int* error) {
    auto stream = AudioOggStreamSource::Open(path, loop, error);
    if (!stream) return 0;
    AudioOggStreamSource* raw = stream.get();
    return AddMusicChannel(std::move(stream), Kind::Stream, nullptr, raw);
}

bool AudioMixer::FreeMusic(Handle music) {
    std::lock_guard<std::mutex> lock(_mutex);
    Channel* c = Find(music);
    if (!c || c->kind == Kind::Sample) return false;
    _channels.erase(music);
    return true;
}

// ---------------------------------------------------------------- channels

void AudioMixer::ResetSource(Channel& c) {
    c.source->Rewind();
    c.staged_frames = 0;
    c.cursor = 0;
    c.source_done = false;
}

double AudioMixer::SourcePosition(const Channel& c) const {
    double unread = (c.staged_frames - c.cursor) / c.source->Rate();
    return std::max(0.0, c.source->PositionSeconds() - std::max(unread, 0.0));
}

int AudioMixer::Play(Handle channel, bool restart) {
    std::lock_guard<std::mutex> lock(_mutex);
    Channel* c = Find(channel);
    if (!c) return audio_error::kHandle;
    // A channel that played to its end starts over.
    bool ended = c->source_done && static_cast<int>(c->cursor) >= c->staged_frames;
    if (restart || ended) ResetSource(*c);
    c->state = State::Playing;
    c->started = ++_start_counter;
    return audio_error::kOk;
}

int AudioMixer::Stop(Handle channel) {
    std::lock_guard<std::mutex> lock(_mutex);
    Channel* c = Find(channel);
    if (!c) return audio_error::kHandle;
    c->state = State::Stopped;
    c->level = 0;
    return audio_error::kOk;
}

int AudioMixer::PauseChannel(Handle channel) {
    std::lock_guard<std::mutex> lock(_mutex);
    Channel* c = Find(channel);
    if (!c) return audio_error::kHandle;
    if (c->state != State::Playing) return audio_error::kNotPlaying;
    c->state = State::Paused;
    c->level = 0;
    return audio_error::kOk;
}

int AudioMixer::GetState(Handle channel, State* state) const {
    std::lock_guard<std::mutex> lock(_mutex);
    Channel* c = Find(channel);
    if (!c) {
        SetOut(state, State::Stopped);
        return audio_error::kHandle;
    }
    SetOut(state, c->state);
    return audio_error::kOk;
}

int AudioMixer::GetKind(Handle channel, Kind* kind) const {
    std::lock_guard<std::mutex> lock(_mutex);
    Channel* c = Find(channel);
    if (!c) return audio_error::kHandle;
    SetOut(kind, c->kind);
    return audio_error::kOk;
}

namespace {
bool ValidFreq(int f) { return f == AudioMixer::kKeepFreq || f == 0 || (f >= AudioMixer::kMinFreq && f <= AudioMixer::kMaxFreq); }
bool ValidVolume(int v) { return v == AudioMixer::kKeepVolume || (v >= 0 && v <= 100); }
bool ValidPan(int p) { return p == AudioMixer::kKeepPan || (p >= -100 && p <= 100); }
}  // namespace

int AudioMixer::SetAttributes(Handle channel, int freq, int volume, int pan) {
    std::lock_guard<std::mutex> lock(_mutex);
    Channel* c = Find(channel);
    if (!c) return audio_error::kHandle;
    if (!ValidFreq(freq) || !ValidVolume(volume) || !ValidPan(pan)) return audio_error::kIllegalParam;
    // A set value ends a slide of that value.
    if (freq != kKeepFreq) {
        c->freq = freq == 0 ? c->default_freq : freq;
        c->slide_freq.active = false;
    }
    if (volume != kKeepVolume) {
        c->volume = volume;
        c->slide_volume.active = false;
    }
    if (pan != kKeepPan) {
        c->pan = pan;
        c->slide_pan.active = false;
    }
    if (!c->slide_freq.active && !c->slide_volume.active && !c->slide_pan.active) c->slide_total = c->slide_done = 0;
    return audio_error::kOk;
}

int AudioMixer::GetAttributes(Handle channel, int* freq, int* volume, int* pan) const {
    std::lock_guard<std::mutex> lock(_mutex);
    Channel* c = Find(channel);
    if (!c) return audio_error::kHandle;
    SetOut(freq, static_cast<int>(c->freq));
    SetOut(volume, static_cast<int>(std::lround(c->volume)));
    SetOut(pan, static_cast<int>(std::lround(c->pan)));
    return audio_error::kOk;
}

int AudioMixer::GetDefaultFrequency(Handle channel, int* freq) const {
    std::lock_guard<std::mutex> lock(_mutex);
    Channel* c = Find(channel);
    if (!c) return audio_error::kHandle;
    SetOut(freq, c->default_freq);
    return audio_error::kOk;
}

int AudioMixer::SlideAttributes(Handle channel, int freq, int volume, int pan, int time_ms) {
    std::lock_guard<std::mutex> lock(_mutex);
    Channel* c = Find(channel);
    if (!c) return audio_error::kHandle;
    if (!ValidFreq(freq) || !ValidVolume(volume) || !ValidPan(pan) || time_ms < 0) return audio_error::kIllegalParam;
    if (freq == kKeepFreq && volume == kKeepVolume && pan == kKeepPan) return audio_error::kIllegalParam;
    auto start = [](Slide& s, double from, double to) {
        s.active = true;
        s.from = from;
        s.to = to;
    };
    c->slide_freq.active = c->slide_volume.active = c->slide_pan.active = false;
    if (freq != kKeepFreq) start(c->slide_freq, c->freq, freq == 0 ? c->default_freq : freq);
    if (volume != kKeepVolume) start(c->slide_volume, c->volume, volume);
    if (pan != kKeepPan) start(c->slide_pan, c->pan, pan);
    c->slide_total = std::max<int64_t>(1, static_cast<int64_t>(time_ms) * _rate / 1000);
    c->slide_done = 0;
    return audio_error::kOk;
}

int AudioMixer::IsSliding(Handle channel, bool* sliding) const {
    std::lock_guard<std::mutex> lock(_mutex);
    Channel* c = Find(channel);
    if (!c) {
        SetOut(sliding, false);
        return audio_error::kHandle;
    }
    SetOut(sliding, c->slide_total > 0);
    return audio_error::kOk;
}

int AudioMixer::SetSlideSync(Handle channel, bool once, SyncProc proc, void* user) {
    if (!proc) return audio_error::kIllegalParam;
    std::lock_guard<std::mutex> lock(_mutex);
    Channel* c = Find(channel);
    if (!c) return audio_error::kHandle;
    c->syncs.push_back({proc, user, once});
    return audio_error::kOk;
}

int AudioMixer::RemoveSlideSync(Handle channel, SyncProc proc, void* user, bool* removed) {
    std::lock_guard<std::mutex> lock(_mutex);
    SetOut(removed, false);
    Channel* c = Find(channel);
    if (!c) return audio_error::kHandle;
    const auto matches = [proc, user](const Sync& s) { return s.proc == proc && s.user == user; };
    const auto first = std::remove_if(c->syncs.begin(), c->syncs.end(), matches);
    SetOut(removed, first != c->syncs.end());
    c->syncs.erase(first, c->syncs.end());
    return audio_error::kOk;
}

int AudioMixer::StopSlide(Handle channel) {
    std::lock_guard<std::mutex> lock(_mutex);
    Channel* c = Find(channel);
    if (!c) return audio_error::kHandle;
    c->slide_volume.active = c->slide_pan.active = c->slide_freq.active = false;
    c->slide_total = c->slide_done = 0;
    return audio_error::kOk;
}

int AudioMixer::GetLevel(Handle channel, uint32_t* level) const {
    std::lock_guard<std::mutex> lock(_mutex);
    Channel* c = Find(channel);
    if (!c) return audio_error::kHandle;
    SetOut(level, c->state == State::Playing ? c->level.load() : 0u);
    return audio_error::kOk;
}

int AudioMixer::GetLength(Handle channel, double* seconds) const {
    std::lock_guard<std::mutex> lock(_mutex);
    Channel* c = Find(channel);
    if (!c) return audio_error::kHandle;
    SetOut(seconds, c->source->LengthSeconds());
    return audio_error::kOk;
}

int AudioMixer::GetPosition(Handle channel, double* seconds) const {
    std::lock_guard<std::mutex> lock(_mutex);
    Channel* c = Find(channel);
    if (!c) return audio_error::kHandle;
    SetOut(seconds, SourcePosition(*c));
    return audio_error::kOk;
}

int AudioMixer::SetPosition(Handle channel, double seconds) {
    std::lock_guard<std::mutex> lock(_mutex);
    Channel* c = Find(channel);
    if (!c) return audio_error::kHandle;
    if (!c->source->SeekSeconds(seconds)) return audio_error::kPosition;
    c->staged_frames = 0;
    c->cursor = 0;
    c->source_done = false;
    return audio_error::kOk;
}

// ---------------------------------------------------------------- module music

int AudioMixer::SetMusicLoop(Handle music, bool loop) {
    std::lock_guard<std::mutex> lock(_mutex);
    Channel* c = Find(music);
    if (!c) return audio_error::kHandle;
    if (c->module) c->module->SetLoop(loop);
    else if (c->stream) c->stream->SetLoop(loop);
    else return audio_error::kNotAvailable;
    return audio_error::kOk;
}

int AudioMixer::SetMusicOrder(Handle music, int order, int row) {
    std::lock_guard<std::mutex> lock(_mutex);
    Channel* c = Find(music);
    if (!c) return audio_error::kHandle;
    if (!c->module) return audio_error::kNotAvailable;
    if (!c->module->SetOrderRow(order, row)) return audio_error::kPosition;
    c->staged_frames = 0;
    c->cursor = 0;
    c->source_done = false;
    return audio_error::kOk;
}

int AudioMixer::GetMusicOrder(Handle music, int* order, int* row) const {
    std::lock_guard<std::mutex> lock(_mutex);
    Channel* c = Find(music);
    if (!c) return audio_error::kHandle;
    if (!c->module) return audio_error::kNotAvailable;
    SetOut(order, c->module->CurrentOrder());
    SetOut(row, c->module->CurrentRow());
    return audio_error::kOk;
}

int AudioMixer::SetMusicChannelVolume(Handle music, int module_channel, int volume) {
    std::lock_guard<std::mutex> lock(_mutex);
    Channel* c = Find(music);
    if (!c) return audio_error::kHandle;
    if (!c->module) return audio_error::kNotAvailable;
    return c->module->SetChannelVolume(module_channel, volume) ? audio_error::kOk : audio_error::kIllegalParam;
}

int AudioMixer::GetMusicChannelVolume(Handle music, int module_channel, int* volume) const {
    std::lock_guard<std::mutex> lock(_mutex);
    Channel* c = Find(music);
    if (!c) return audio_error::kHandle;
    if (!c->module) return audio_error::kNotAvailable;
    return c->module->GetChannelVolume(module_channel, volume) ? audio_error::kOk : audio_error::kIllegalParam;
}

}  // namespace plat
