#pragma once
// The scripted sound of one animated object: a queue of sound descriptions
// played one after another, with volume ramps, looping, replays, a delay
// between descriptions and samples shared with every other object. Play and
// Stop are requests that the next Update carries out; the owner calls Update
// once per tick.
#include <cstdint>
#include <deque>

#include "field/countdown.h"
#include "field/fader.h"
#include "field/sound_desc.h"

class CSound {
public:
    static constexpr uint32_t kNoCommand = 0;
    static constexpr uint32_t kStopCommand = 1;
    static constexpr uint32_t kStartCommand = 2;

    CSound();

    // Appends a copy; queued descriptions survive a Stop.
    void Enqueue(const SoundDesc& desc);
    void Play() { _command = kStartCommand; }
    void Stop() { _command = kStopCommand; }
    void Update();
    bool IsPlaying() const;

    void SetMode(uint32_t mode) { _desc.mode = mode; }
    uint32_t GetMode() const { return _desc.mode; }
    void SetMinVol(int32_t volume) { _desc.min_vol = volume; }
    int32_t GetMinVol() const { return _desc.min_vol; }
    void SetMaxVol(int32_t volume) { _desc.max_vol = volume; }
    int32_t GetMaxVol() const { return _desc.max_vol; }
    const std::string& GetAlias() const { return _desc.alias; }

    uint32_t GetChannel() const { return _channel; }
    uint32_t GetCommand() const { return _command; }
    size_t GetQueueSize() const { return _queue.size(); }

private:
    // Set once the pause of the current description has been started.
    static constexpr uint32_t kPauseStarted = 64;

    bool Has(uint32_t flag) const { return (_desc.mode & flag) != 0; }
    void TakeNextDescription();
    void StartCurrent();
    void StopCurrent();
    void PauseGate();
    // Through the shared samples when Singleton, else straight from the keeper.
    uint32_t PlayAlias() const;
    void ApplyFaderVolume();

    uint32_t _command = kNoCommand;
    uint32_t _channel = 0;
    CFader _fader;
    SoundDesc _desc;
    std::deque<SoundDesc> _queue;
    CCountdown _delay;
    uint32_t _status = 0;
};
