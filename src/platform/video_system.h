#pragma once
// The display side of the platform (SDL's video), started for as long as the
// object lives, and what it tells of the display adapter.
#include <cstdint>
#include <string>

namespace plat {

struct AdapterInfo {
    std::string description;  // the display's name, else the video driver's
    std::string driver;       // the video driver ("none" when there is none)
    uint32_t version = 0;     // the version of the video library
    uint32_t max_texture_width = 0, max_texture_height = 0;
};

class VideoSystem {
public:
    VideoSystem() = default;
    ~VideoSystem();
    VideoSystem(const VideoSystem&) = delete;
    VideoSystem& operator=(const VideoSystem&) = delete;

    // Starts the video; true when it runs (also when it ran already). A
    // driver that shows nothing (SDL falls back to one when no display
    // answers) is refused unless SDL_VIDEODRIVER asked for a driver; then
    // Refusal() says why.
    bool Start();
    bool IsStarted() const { return _started; }
    const std::string& Refusal() const { return _refusal; }
    AdapterInfo Adapter() const;

    // Whether a video driver shows nothing to a player (offscreen, dummy, ...).
    static bool ShowsNothing(const std::string& driver);

private:
    bool _started = false;
    std::string _refusal;
};

}  // namespace plat
