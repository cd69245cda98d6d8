#pragma once
// Per-frame timings of the main loop's work, for measuring by hand: with
// VOVARO_FRAME_TIMES naming a file, every frame adds one line to it with the
// wall time (ms since the epoch), the game time, the microseconds spent in the
// update, the drawing (recording the draw calls), the rasterising (the cursor
// and the end of the scene) and the showing (Present), their sum, the main
// thread's processor time in the frame (what a busy machine's other work does
// not lengthen), then the draw calls and quads. Without the variable nothing
// is timed or written.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>

class CFrameTimer {
public:
    enum Phase { kUpdate, kRender, kRaster, kShow, kPhases };

    // The main loop's timer, on the file VOVARO_FRAME_TIMES names.
    static CFrameTimer& Instance();
    // Writes to `path` (null or empty: the timer stays off).
    explicit CFrameTimer(const char* path);

    bool Enabled() const { return _file != nullptr; }
    // The phase that starts now (the one before it ends).
    void Start(Phase phase) {
        if (!_file) return;
        _marks[phase] = Clock::now();
        if (phase == kUpdate) _cpu_start = ThreadCpuMicroseconds();
    }
    // Closes the frame: writes its line.
    void Finish(uint32_t game_ms, unsigned draw_calls, unsigned quads);

private:
    using Clock = std::chrono::steady_clock;
    static long long ThreadCpuMicroseconds();
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::unique_ptr<std::FILE, Closer> _file;
    Clock::time_point _marks[kPhases] {};
    long long _cpu_start = 0;
    uint64_t _frame = 0;
};
