#include "platform/audio_sample_data.h"

#include <SDL.h>
#include <vorbis/vorbisfile.h>

#include <cstdio>
#include <cstring>

#include "platform/audio_errors.h"

namespace plat {

namespace {

// Reads the first four bytes to tell WAV from Ogg; false when the file cannot be read.
bool ReadMagic(const std::string& path, char magic[4]) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    size_t n = std::fread(magic, 1, 4, f);
    std::fclose(f);
    return n == 4;
}

std::shared_ptr<const AudioSampleData> LoadWav(const std::string& path, int* error) {
    SDL_RWops* rw = SDL_RWFromFile(path.c_str(), "rb");
    if (!rw) {
        *error = audio_error::kFileOpen;
        return nullptr;
    }
    SDL_AudioSpec spec {};
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV_RW(rw, 1, &spec, &buffer, &length)) {
        *error = audio_error::kFileForm;
        return nullptr;
    }
    std::unique_ptr<Uint8, void (*)(Uint8*)> wav(buffer, [](Uint8* p) { SDL_FreeWAV(p); });
    if (spec.channels < 1 || spec.channels > 2 || spec.freq <= 0) {
        *error = audio_error::kFormat;
        return nullptr;
    }
    SDL_AudioCVT cvt;
    if (SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, AUDIO_F32SYS, 2, spec.freq) < 0) {
        *error = audio_error::kFormat;
        return nullptr;
    }
    std::vector<Uint8> work(static_cast<size_t>(length) * static_cast<size_t>(cvt.len_mult));
    std::memcpy(work.data(), wav.get(), length);
    cvt.buf = work.data();
    cvt.len = static_cast<int>(length);
    if (cvt.needed && SDL_ConvertAudio(&cvt) < 0) {
        *error = audio_error::kFormat;
        return nullptr;
    }
    size_t bytes = cvt.needed ? static_cast<size_t>(cvt.len_cvt) : length;
    std::vector<float> frames(bytes / sizeof(float) / 2 * 2);
    std::memcpy(frames.data(), work.data(), frames.size() * sizeof(float));
    return std::make_shared<AudioSampleData>(std::move(frames), spec.freq);
}

std::shared_ptr<const AudioSampleData> LoadOgg(const std::string& path, int* error) {
    OggVorbis_File vf;
    if (ov_fopen(path.c_str(), &vf) != 0) {
        *error = audio_error::kFileForm;
        return nullptr;
    }
    vorbis_info* info = ov_info(&vf, -1);
    if (!info || info->channels < 1 || info->rate <= 0) {
        ov_clear(&vf);
        *error = audio_error::kFormat;
        return nullptr;
    }
    const int channels = info->channels;
    const int rate = static_cast<int>(info->rate);
    std::vector<float> frames;
    ogg_int64_t total = ov_pcm_total(&vf, -1);
    if (total > 0) frames.reserve(static_cast<size_t>(total) * 2);
    int section = 0;
    for (;;) {
        float** pcm = nullptr;
        long n = ov_read_float(&vf, &pcm, 4096, &section);
        if (n == OV_HOLE) continue;  // a gap in the data: go on with what follows
        if (n < 0) {
            ov_clear(&vf);
            *error = audio_error::kDecode;
            return nullptr;
        }
        if (n == 0) break;
        for (long i = 0; i < n; ++i) {
            frames.push_back(pcm[0][i]);
            frames.push_back(channels > 1 ? pcm[1][i] : pcm[0][i]);
        }
    }
    ov_clear(&vf);
    return std::make_shared<AudioSampleData>(std::move(frames), rate);
}

}  // namespace

std::shared_ptr<const AudioSampleData> AudioSampleData::Load(const std::string& path, int* error) {
    int ignored = 0;
    if (!error) error = &ignored;
    *error = audio_error::kOk;
    char magic[4];
    if (!ReadMagic(path, magic)) {
        *error = audio_error::kFileOpen;
        return nullptr;
    }
    if (std::memcmp(magic, "RIFF", 4) == 0) return LoadWav(path, error);
    if (std::memcmp(magic, "OggS", 4) == 0) return LoadOgg(path, error);
    *error = audio_error::kFileForm;
    return nullptr;
}

}  // namespace plat
