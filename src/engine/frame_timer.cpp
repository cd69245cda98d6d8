#include "engine/frame_timer.h"

#include <cstdlib>
#include <ctime>

CFrameTimer& CFrameTimer::Instance() {
    static CFrameTimer timer(std::getenv("VOVARO_FRAME_TIMES"));
    return timer;
}

CFrameTimer::CFrameTimer(const char* path) {
    if (!path || !*path) return;
    _file.reset(std::fopen(path, "w"));
    if (!_file) return;
    // Line by line, so that a run that is killed keeps every frame.
    std::setvbuf(_file.get(), nullptr, _IOLBF, 1 << 12);
    std::fputs("frame wall_ms game_ms update_us render_us raster_us show_us total_us cpu_us draw_calls quads\n", _file.get());
}

long long CFrameTimer::ThreadCpuMicroseconds() {
    timespec ts {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<long long>(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

void CFrameTimer::Finish(uint32_t game_ms, unsigned draw_calls, unsigned quads) {
    if (!_file) return;
    const Clock::time_point now = Clock::now();
    const long long cpu = ThreadCpuMicroseconds() - _cpu_start;
    auto us = [](Clock::time_point a, Clock::time_point b) {
        return static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(b - a).count());
    };
    // Wall time, to line frames up with what was done to the game meanwhile.
    const long long wall = std::chrono::duration_cast<std::chrono::milliseconds>(
                               std::chrono::system_clock::now().time_since_epoch())
                               .count();
    std::fprintf(_file.get(), "%llu %lld %u %lld %lld %lld %lld %lld %lld %u %u\n", static_cast<unsigned long long>(_frame++),
                 wall, game_ms, us(_marks[kUpdate], _marks[kRender]), us(_marks[kRender], _marks[kRaster]),
                 us(_marks[kRaster], _marks[kShow]), us(_marks[kShow], now), us(_marks[kUpdate], now), cpu, draw_calls, quads);
}
