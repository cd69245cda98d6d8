// Cost of mixing one 1024-frame block (23 ms of audio) with module music and a
// crowd of sample playbacks, as the audio thread does it.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/audio_mixer.h"

namespace {

void BM_MixMusicAndSamples(benchmark::State& state) {
    plat::AudioMixer mixer(plat::AudioMixer::Mode::Manual);
    const std::string data = std::string(VOVARO_BENCH_DATA_DIR);
    plat::AudioMixer::Handle music = mixer.LoadMusic(data + "/Music/game.xm", nullptr);
    mixer.SetMusicLoop(music, true);
    mixer.Play(music, true);
    plat::AudioMixer::Handle sample = mixer.LoadSample(data + "/Sounds/arte_color.wav", 16, nullptr);
    for (int i = 0; i < state.range(0); ++i) {
        plat::AudioMixer::Handle ch = mixer.GetSampleChannel(sample, nullptr);
        mixer.SetAttributes(ch, 30000 + i * 1000, 50, (i % 3 - 1) * 50);
        mixer.Play(ch, true);
    }
    std::vector<float> out(2048);
    for (auto _ : state) {
        mixer.Mix(out.data(), 1024);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_MixMusicAndSamples)->Arg(0)->Arg(16);

}  // namespace
