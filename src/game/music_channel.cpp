#include "game/music_channel.h"

#include <algorithm>

#include "engine/sound_keeper.h"
#include "game/game_services.h"

CMusicChannel g_MenuMusic;

ISoundKeeper* CMusicChannel::Keeper() const {
    return _keeper ? _keeper : game::SoundKeeper();
}

void CMusicChannel::Open() {
    if (_stream != 0) return;
    if (ISoundKeeper* keeper = Keeper()) _stream = keeper->PlayMusic(_track.alias, _track.track);
}

void CMusicChannel::Stop() {
    if (_stream == 0) return;
    if (ISoundKeeper* keeper = Keeper()) keeper->StopChannel(_stream);
    _stream = 0;
}

bool CMusicChannel::IsPlaying() {
    ISoundKeeper* keeper = Keeper();
    return keeper && _stream != 0 && keeper->IsChannelPlaying(_stream);
}

int CMusicChannel::GetVolume() {
    ISoundKeeper* keeper = Keeper();
    return keeper ? keeper->GetChannelVolume(_stream) : 0;
}

void CMusicChannel::FadeTo(int32_t target, float speed) {
    ISoundKeeper* keeper = Keeper();
    if (_stream == 0 || !keeper) return;
    if (speed == 0.0f) {
        keeper->SetChannelVolume(_stream, target);
        return;
    }
    const int32_t v = keeper->GetChannelVolume(_stream);
    _fader.SetSpeed(speed);
    const float lo = static_cast<float>(std::min(v, target));
    const float hi = static_cast<float>(std::max(v, target));
    if (target >= v)
        _fader.FadeUp(lo, hi);
    else
        _fader.FadeDown(lo, hi);
}

void CMusicChannel::Update() {
    ISoundKeeper* keeper = Keeper();
    if (_stream == 0 || !keeper) return;
    if (_fader.IsActive()) {
        _fader.Update();
        keeper->SetChannelVolume(_stream, static_cast<int>(_fader.GetValue()));
    } else if (keeper->GetChannelVolume(_stream) == 0) {
        // Faded out (on an earlier frame): the stream is closed.
        Stop();
    }
}
