#include "game/mood_music.h"

#include <utility>

CMoodMusic::CMoodMusic(ISoundKeeper* keeper)
    : _current(std::make_unique<CMusicChannel>(keeper)), _second(std::make_unique<CMusicChannel>(keeper)) {}

void CMoodMusic::SetTracks(const LevelMusicDesc& desc, bool keep_if_same) {
    _keep = 0;
    if (desc.Normal.track == MusicTrackRef::kNoTrack && desc.Anxious.track == MusicTrackRef::kNoTrack) {
        _keep = keep_if_same ? 1 : 0;
        return;
    }
    if (keep_if_same) {
        MusicTrackRef playing;
        if (GetPlayingTrack(playing) && playing == desc.Normal) _keep = 1;
    }
    _current->SetTrack(desc.Normal);
    _second->SetTrack(desc.Anxious);
    _fade_speed = desc.fade_speed;
}

bool CMoodMusic::GetPlayingTrack(MusicTrackRef& out) {
    out.track = MusicTrackRef::kNoTrack;
    for (CMusicChannel* channel : {_current.get(), _second.get()}) {
        if (channel->IsPlaying()) {
            out = channel->GetTrack();
            return true;
        }
    }
    return false;
}

void CMoodMusic::Play() {
    if (_keep && (_current->IsPlaying() || _second->IsPlaying())) return;
    _current->Stop();
    _second->Stop();
    _current->Open();
    _current->FadeTo(100, 0.0f);
}

void CMoodMusic::SwitchMood() {
    _second->Open();
    _second->FadeTo(0, 0.0f);
    if (!_second->IsPlaying()) return;
    _current->FadeTo(0, _fade_speed);
    _second->FadeTo(100, _fade_speed);
    std::swap(_current, _second);
}

void CMoodMusic::Update() {
    _current->Update();
    _second->Update();
}

void CMoodMusic::Stop() {
    _current->Stop();
    _second->Stop();
}
