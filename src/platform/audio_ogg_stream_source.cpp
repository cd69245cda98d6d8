#include "platform/audio_ogg_stream_source.h"

#include <vorbis/vorbisfile.h>

#include <cstdio>
#include <exception>

#include "platform/audio_errors.h"
#include "platform/audio_sample_data.h"

namespace plat {

struct AudioOggStreamSource::File {
    OggVorbis_File vf {};
    ~File() { ov_clear(&vf); }
};

std::unique_ptr<AudioOggStreamSource> AudioOggStreamSource::Open(const std::string& path, bool loop, int* error) {
    int ignored = 0;
    if (!error) error = &ignored;
    auto file = std::make_unique<File>();
    int r = ov_fopen(path.c_str(), &file->vf);
    if (r != 0) {
        // A failed open leaves the structure cleared, so clearing it again is harmless.
        *error = r == OV_ENOTVORBIS || r == OV_EBADHEADER ? audio_error::kFileForm : audio_error::kFileOpen;
        return nullptr;
    }
    const vorbis_info* info = ov_info(&file->vf, -1);
    if (!info || !AudioSampleData::PlayableFormat(info->rate, info->channels)) {
        *error = audio_error::kFormat;
        return nullptr;
    }
    *error = audio_error::kOk;
    return std::unique_ptr<AudioOggStreamSource>(new AudioOggStreamSource(std::move(file), path, loop));
}

AudioOggStreamSource::AudioOggStreamSource(std::unique_ptr<File> file, std::string path, bool loop)
    : _file(std::move(file)), _path(std::move(path)), _loop(loop) {
    _rate = static_cast<int>(ov_info(&_file->vf, -1)->rate);
}

AudioOggStreamSource::~AudioOggStreamSource() = default;

void AudioOggStreamSource::Fail(const std::string& why) {
    if (!_failure.empty()) return;
    _failure = why;
    // Runs on the audio thread, where the game's log cannot be written.
    std::fprintf(stderr, "Warning: Ogg stream '%s' stopped: %s\n", _path.c_str(), why.c_str());
}

int AudioOggStreamSource::Read(float* stereo, int frames) {
    if (!_failure.empty() || frames <= 0) return 0;
    try {
        return Decode(stereo, frames);
    } catch (const std::exception& e) {
        Fail(std::string("fault in the decoder: ") + e.what());
    } catch (...) {
        Fail("fault in the decoder");
    }
    return 0;
}

int AudioOggStreamSource::Decode(float* stereo, int frames) {
    int written = 0;
    bool rewound_empty = false;
    while (written < frames) {
        float** pcm = nullptr;
        int section = 0;
        const long n = ov_read_float(&_file->vf, &pcm, frames - written, &section);
        if (n == OV_HOLE) continue;
        if (n < 0) {
            Fail("damaged data");
            break;
        }
        if (n == 0) {
            // The end: start over when looping, unless the file gave nothing
            // even from its start.
            if (!_loop || rewound_empty || ov_pcm_seek(&_file->vf, 0) != 0) break;
            rewound_empty = true;
            continue;
        }
        // What the decoder hands over is checked before it is played.
        const vorbis_info* info = ov_info(&_file->vf, -1);
        if (!pcm || n > frames - written || !info || info->rate != _rate ||
            !AudioSampleData::PlayableFormat(info->rate, info->channels)) {
            Fail("a part of the file in another format");
            break;
        }
        rewound_empty = false;
        const int right = info->channels > 1 ? 1 : 0;
        for (long i = 0; i < n; ++i) {
            stereo[(written + i) * 2] = pcm[0][i];
            stereo[(written + i) * 2 + 1] = pcm[right][i];
        }
        written += static_cast<int>(n);
    }
    return written;
}

void AudioOggStreamSource::Rewind() { SeekSeconds(0.0); }

double AudioOggStreamSource::LengthSeconds() const { return ov_time_total(&_file->vf, -1); }

double AudioOggStreamSource::PositionSeconds() const { return _failure.empty() ? ov_time_tell(&_file->vf) : 0.0; }

bool AudioOggStreamSource::SeekSeconds(double seconds) {
    if (!_failure.empty() || seconds < 0 || seconds > LengthSeconds()) return false;
    try {
        return (seconds == 0.0 ? ov_pcm_seek(&_file->vf, 0) : ov_time_seek(&_file->vf, seconds)) == 0;
    } catch (...) {
        Fail("fault in the decoder while seeking");
    }
    return false;
}

}  // namespace plat
