// One kind of sound file through the mixer, chosen when the harness is built
// (VOVARO_AUDIO_KIND 0 samples, 1 streams, 2 modules): loaded from a file as
// the game does, played, moved and played again.
#include "fuzz_support.h"
#include "platform/audio_mixer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Scratch();
    const std::string path = fuzz::WriteInput("sound.bin", data, size);
    plat::AudioMixer mixer(plat::AudioMixer::Mode::Manual, 44100);
    int error = 0;
    plat::AudioMixer::Handle channel = 0;
#if VOVARO_AUDIO_KIND == 0
    channel = mixer.GetSampleChannel(mixer.LoadSample(path, 2, &error), &error);
#elif VOVARO_AUDIO_KIND == 1
    channel = mixer.CreateFileStream(path, true, &error);
#else
    channel = mixer.LoadMusic(path, &error);
    if (channel) mixer.SetMusicOrder(channel, 1, 2);
#endif
    if (!channel) return 0;
    mixer.SetAttributes(channel, 22050, 80, -30);
    mixer.Play(channel, true);
    mixer.Step(8192);
    double length = 0;
    mixer.GetLength(channel, &length);
    mixer.SetPosition(channel, 0.05);
    mixer.Step(4096);
    mixer.Play(channel, true);
    mixer.Step(2048);
    return 0;
}
