#pragma once
// The level music of the game scene: a calm ("Normal") and an anxious mood
// on two channels, cross-faded when the puzzle field switches the mood. The
// current channel is always the mood being faded in.
#include <cstdint>
#include <memory>

#include "game/level_music_desc.h"
#include "game/music_channel.h"

class ISoundKeeper;

class CMoodMusic {
public:
    // keeper: the sound keeper to use; null takes the engine core's.
    explicit CMoodMusic(ISoundKeeper* keeper = nullptr);

    // At each level start. With keep_if_same, music that already plays the
    // wanted calm track (or any music, for a level without its own) goes on.
    void SetTracks(const LevelMusicDesc& desc, bool keep_if_same);
    // The reference of the channel that plays (current first); false when none plays.
    bool GetPlayingTrack(MusicTrackRef& out);
    // Starts the current mood at full volume unless the music is kept.
    void Play();
    // Cross-fades to the other mood; nothing changes when its music cannot play.
    void SwitchMood();
    // Once a frame.
    void Update();
    void Stop();

    CMusicChannel& GetCurrent() { return *_current; }
    CMusicChannel& GetSecond() { return *_second; }
    float GetFadeSpeed() const { return _fade_speed; }
    bool IsKept() const { return _keep != 0; }

private:
    float _fade_speed = 1.0f;
    uint8_t _keep = 0;
    std::unique_ptr<CMusicChannel> _current;
    std::unique_ptr<CMusicChannel> _second;
};
