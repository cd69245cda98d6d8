#pragma once
// What the heads-up panel shows of the running game. The game scene answers
// these; the panel's indicators read them every frame.
#include <cstdint>
#include <string>

class IGameStateSource {
public:
    virtual ~IGameStateSource() = default;

    virtual int32_t GetScore() const = 0;
    virtual int32_t GetLives() const = 0;
    // 0-based indexes.
    virtual int32_t GetLevelIndex() const = 0;
    virtual int32_t GetEpisodeIndex() const = 0;
    virtual std::string GetEpisodeName() const = 0;
    // The highlight flag: set in normal play; after a bonus life it blinks
    // (see LivesBlinkAt), and the lives and score indicators follow it.
    virtual bool IsLivesBlink() const = 0;
};

// The highlight flag in the frame `frame` when a bonus life blinks until
// `bonus_life_end`: set while the frames left modulo 50 exceed 25, and
// always set outside the blink (and on frame 0).
inline bool LivesBlinkAt(uint32_t bonus_life_end, uint32_t frame) {
    if (bonus_life_end > frame && frame != 0) return ((bonus_life_end - frame) % 50u) > 25u;
    return true;
}
