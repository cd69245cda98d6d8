#pragma once
// One music stream of the sound keeper with a volume fader: opened on its
// track, faded in volume units (0..100) per update, closed once faded to 0.
#include <cstdint>

#include "field/fader.h"
#include "game/level_music_desc.h"

class ISoundKeeper;

class CMusicChannel {
public:
    // keeper: the sound keeper to use; null takes the engine core's.
    explicit CMusicChannel(ISoundKeeper* keeper = nullptr) : _keeper(keeper) {}

    void SetTrack(const MusicTrackRef& track) { _track = track; }
    const MusicTrackRef& GetTrack() const { return _track; }
    // Starts the track unless a stream is open already (stream 0 when the keeper refuses).
    void Open();
    void Stop();
    bool IsPlaying();
    int GetVolume();
    // Speed 0 sets the volume at once; otherwise a ramp from the present volume.
    void FadeTo(int32_t target, float speed);
    bool IsFading() const { return _fader.IsActive(); }
    // One frame: steps a running fade; closes a stream that rests at volume 0.
    void Update();

    uint32_t GetStream() const { return _stream; }

private:
    ISoundKeeper* Keeper() const;

    uint32_t _stream = 0;
    MusicTrackRef _track;
    CFader _fader;
    ISoundKeeper* _keeper;
};

// The music of the menu and the episode selector.
extern CMusicChannel g_MenuMusic;
