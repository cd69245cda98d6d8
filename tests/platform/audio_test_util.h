#pragma once
// Fixtures of the audio tests: small WAV files written on the spot and a
// measure of what a mixer produces.
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "test_temp.h"

#include "platform/audio_mixer.h"

namespace audio_test {

// A mono 16-bit WAV of a sine tone.
inline std::string WriteSineWav(const std::string& name, int rate, double seconds, double hz = 440.0) {
    const std::filesystem::path dir = test_temp::ProcessDir() / "audio";
    std::filesystem::create_directories(dir);
    std::string path = (dir / name).string();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    auto put = [f](uint32_t v, int n) { for (int i = 0; i < n; ++i) std::fputc(static_cast<int>((v >> (8 * i)) & 0xFF), f); };
    uint32_t frames = static_cast<uint32_t>(rate * seconds);
    std::fwrite("RIFF", 1, 4, f); put(36 + frames * 2, 4);
    std::fwrite("WAVEfmt ", 1, 8, f); put(16, 4); put(1, 2); put(1, 2); put(static_cast<uint32_t>(rate), 4);
    put(static_cast<uint32_t>(rate * 2), 4); put(2, 2); put(16, 2);
    std::fwrite("data", 1, 4, f); put(frames * 2, 4);
    for (uint32_t i = 0; i < frames; ++i)
        put(static_cast<uint16_t>(static_cast<int16_t>(16000 * std::sin(6.283185307 * hz * i / rate))), 2);
    std::fclose(f);
    return path;
}

// Asks `done` every few milliseconds until it holds or `limit` has passed
// (the audio thread may be starved on a busy machine); its last answer.
inline bool PollFor(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(30)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) return done();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// Peak of the absolute sample values of `frames` mixed frames (left, right).
struct Peak {
    float left = 0, right = 0;
};
inline Peak MixPeak(plat::AudioMixer& mixer, int frames) {
    std::vector<float> buf(static_cast<size_t>(frames) * 2);
    mixer.Mix(buf.data(), frames);
    Peak p;
    for (int i = 0; i < frames; ++i) {
        p.left = std::max(p.left, std::fabs(buf[static_cast<size_t>(i) * 2]));
        p.right = std::max(p.right, std::fabs(buf[static_cast<size_t>(i) * 2 + 1]));
    }
    return p;
}

inline std::string DataFile(const std::string& relative) { return std::string(VOVARO_DATA_DIR) + "/" + relative; }

}  // namespace audio_test
