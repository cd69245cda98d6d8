#include "field/sound.h"

#include "engine/sound_keeper_interface.h"
#include "field/field_services.h"
#include "field/singleton_samples.h"

CSound::CSound() { _fader.SetSpeed(1.0f); }

void CSound::Enqueue(const SoundDesc& desc) { _queue.push_back(desc); }

bool CSound::IsPlaying() const {
    ISoundKeeper* keeper = field::SoundKeeper();
    return keeper && keeper->IsChannelPlaying(_channel);
}

void CSound::Update() {
    _delay.Decrement();
    if (_delay.IsZero()) TakeNextDescription();

    if (_command == kStopCommand) {
        StopCurrent();
        _command = kNoCommand;
    } else if (_command == kStartCommand) {
        StartCurrent();
        _command = kNoCommand;
        if (IsPlaying()) return;
    }

    PauseGate();
    // A pause that runs holds back replays and the ramp too.
    if (_channel == 0 || !_delay.IsZero()) return;

    if (Has(smBreak)) _channel = PlayAlias();
    if (Has(smLoop)) {
        if (!IsPlaying()) _channel = PlayAlias();
        return;
    }
    if (_fader.IsActive()) {
        _fader.Update();
        ApplyFaderVolume();
    }
    if (!IsPlaying()) StopCurrent();
}

void CSound::TakeNextDescription() {
    if (_queue.empty()) return;
    if (Has(smWaitEnd) && IsPlaying()) return;
    _desc = std::move(_queue.front());
    _queue.pop_front();
    _status = 0;
    _command = kStartCommand;
}

void CSound::StartCurrent() {
    _fader.SetSpeed(_desc.fader_speed);
    const float low = static_cast<float>(_desc.min_vol);
    const float high = static_cast<float>(_desc.max_vol);
    if (Has(smFadeIn)) {
        _fader.FadeDown(low, high);
    } else if (Has(smFadeOut)) {
        _fader.FadeUp(low, high);
    }
    // A channel still held is left to play out.
    _channel = PlayAlias();
    if (_channel != 0 && _fader.IsActive()) ApplyFaderVolume();
    PauseGate();
}

void CSound::StopCurrent() {
    // A shared sample plays on for the others; this sound only lets go of it.
    if (!Has(smSingleton) && _channel != 0) {
        if (ISoundKeeper* keeper = field::SoundKeeper()) keeper->StopChannel(_channel);
    }
    _channel = 0;
    PauseGate();
}

void CSound::PauseGate() {
    if ((_status & kPauseStarted) != 0 || !Has(smPause)) return;
    if (Has(smWaitEnd) && !IsPlaying()) return;
    // A negative delay from a data file counts as none rather than as years.
    _delay.Set(_desc.delay > 0 ? static_cast<uint32_t>(_desc.delay) : 0u);
    _status |= kPauseStarted;
}

uint32_t CSound::PlayAlias() const {
    if (Has(smSingleton)) return g_SingletonSamples.Play(_desc.alias);
    ISoundKeeper* keeper = field::SoundKeeper();
    return keeper ? keeper->PlaySample(_desc.alias) : 0;
}

void CSound::ApplyFaderVolume() {
    if (ISoundKeeper* keeper = field::SoundKeeper()) keeper->SetChannelVolume(_channel, static_cast<int>(_fader.GetValue()));
}
