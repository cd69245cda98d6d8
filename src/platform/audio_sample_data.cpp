#include "platform/audio_sample_data.h"

#include <SDL.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/audio_errors.h"

namespace plat {

namespace {

uint32_t Le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// True when the RIFF file has a "data" chunk that lies within the file.
bool WavDataFits(const uint8_t* data, size_t size) {
    if (size < 12 || std::memcmp(data + 8, "WAVE", 4) != 0) return false;
    size_t pos = 12;
    while (size - pos >= 8) {
        const size_t length = Le32(data + pos + 4);
        if (std::memcmp(data + pos, "data", 4) == 0) return length <= size - pos - 8;
        pos += 8 + length + (length & 1);  // chunks are padded to even sizes
        if (pos > size) break;
    }
    return false;
}

std::shared_ptr<const AudioSampleData> DecodeWav(const uint8_t* data, size_t size, int* error) {
    if (!WavDataFits(data, size)) {
        *error = audio_error::kFileForm;
        return nullptr;
    }
    SDL_RWops* rw = SDL_RWFromConstMem(data, static_cast<int>(size));
    if (!rw) {
        *error = audio_error::kMemory;
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
    if (!AudioSampleData::PlayableFormat(spec.freq, spec.channels) || spec.channels > 2) {
        *error = audio_error::kFormat;
        return nullptr;
    }
    // Whole frames only; a file without any is an empty sample.
    const Uint32 frame_bytes = static_cast<Uint32>(SDL_AUDIO_BITSIZE(spec.format) / 8 * spec.channels);
    if (frame_bytes == 0) {
        *error = audio_error::kFormat;
        return nullptr;
    }
    length -= length % frame_bytes;
    if (length == 0 || !wav) return std::make_shared<AudioSampleData>(std::vector<float>(), spec.freq);
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

// libvorbisfile reading from memory.
struct MemoryFile {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

size_t MemoryRead(void* out, size_t size, size_t count, void* source) {
    auto* f = static_cast<MemoryFile*>(source);
    if (size == 0) return 0;
    const size_t n = std::min(count, (f->size - f->pos) / size);
    std::memcpy(out, f->data + f->pos, n * size);
    f->pos += n * size;
    return n;
}

int MemorySeek(void* source, ogg_int64_t offset, int whence) {
    auto* f = static_cast<MemoryFile*>(source);
    const ogg_int64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? static_cast<ogg_int64_t>(f->pos)
                                                                          : static_cast<ogg_int64_t>(f->size);
    if (offset < -base || offset > static_cast<ogg_int64_t>(f->size) - base) return -1;
    f->pos = static_cast<size_t>(base + offset);
    return 0;
}

long MemoryTell(void* source) { return static_cast<long>(static_cast<MemoryFile*>(source)->pos); }

struct VorbisFile {
    OggVorbis_File vf {};
    bool open = false;
    ~VorbisFile() {
        if (open) ov_clear(&vf);
    }
};

// Decodes every frame; false with *error on a damaged or oversized file. The
// decoder may fault on some damaged files: the program turns faults into
// exceptions, which end the load like any decode error.
bool DecodeVorbis(OggVorbis_File* vf, int rate, std::vector<float>* frames, int* error) {
    const size_t max_frames = static_cast<size_t>(rate) * AudioSampleData::kMaxSeconds;
    const ogg_int64_t total = ov_pcm_total(vf, -1);
    if (total > 0 && static_cast<uint64_t>(total) > max_frames) {
        *error = audio_error::kFormat;
        return false;
    }
    if (total > 0) frames->reserve(static_cast<size_t>(total) * 2);
    try {
        for (;;) {
            float** pcm = nullptr;
            int section = 0;
            const long n = ov_read_float(vf, &pcm, 4096, &section);
            if (n == OV_HOLE) continue;  // a gap in the data: go on with what follows
            if (n < 0 || n > 4096) {
                *error = audio_error::kDecode;
                return false;
            }
            if (n == 0) return true;
            const vorbis_info* info = ov_info(vf, -1);
            if (!pcm || !info || info->rate != rate || !AudioSampleData::PlayableFormat(info->rate, info->channels)) {
                *error = audio_error::kFormat;  // a chained link of another format
                return false;
            }
            if (frames->size() / 2 + static_cast<size_t>(n) > max_frames) {
                *error = audio_error::kFormat;
                return false;
            }
            const int right = info->channels > 1 ? 1 : 0;
            for (long i = 0; i < n; ++i) {
                frames->push_back(pcm[0][i]);
                frames->push_back(pcm[right][i]);
            }
        }
    } catch (...) {
        *error = audio_error::kDecode;
        return false;
    }
}

std::shared_ptr<const AudioSampleData> DecodeOgg(const uint8_t* data, size_t size, int* error) {
    MemoryFile file {data, size, 0};
    const ov_callbacks callbacks = {MemoryRead, MemorySeek, nullptr, MemoryTell};
    VorbisFile vorbis;
    if (ov_open_callbacks(&file, &vorbis.vf, nullptr, 0, callbacks) != 0) {
        *error = audio_error::kFileForm;
        return nullptr;
    }
    vorbis.open = true;
    const vorbis_info* info = ov_info(&vorbis.vf, -1);
    if (!info || !AudioSampleData::PlayableFormat(info->rate, info->channels)) {
        *error = audio_error::kFormat;
        return nullptr;
    }
    const int rate = static_cast<int>(info->rate);
    std::vector<float> frames;
    if (!DecodeVorbis(&vorbis.vf, rate, &frames, error)) return nullptr;
    return std::make_shared<AudioSampleData>(std::move(frames), rate);
}

}  // namespace

bool AudioSampleData::PlayableFormat(long rate, int channels) {
    return rate >= 1 && rate <= kMaxRate && channels >= 1 && channels <= 255;
}

std::shared_ptr<const AudioSampleData> AudioSampleData::Decode(const uint8_t* data, size_t size, int* error) {
    int ignored = 0;
    if (!error) error = &ignored;
    *error = audio_error::kOk;
    if (!data || size < 4 || size > 0x7FFFFFFF) {
        *error = audio_error::kFileForm;
        return nullptr;
    }
    if (std::memcmp(data, "RIFF", 4) == 0) return DecodeWav(data, size, error);
    if (std::memcmp(data, "OggS", 4) == 0) return DecodeOgg(data, size, error);
    *error = audio_error::kFileForm;
    return nullptr;
}

std::shared_ptr<const AudioSampleData> AudioSampleData::Load(const std::string& path, int* error) {
    int ignored = 0;
    if (!error) error = &ignored;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        *error = audio_error::kFileOpen;
        return nullptr;
    }
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < 4) {
        *error = audio_error::kFileOpen;
        return nullptr;
    }
    return Decode(bytes.data(), bytes.size(), error);
}

}  // namespace plat
