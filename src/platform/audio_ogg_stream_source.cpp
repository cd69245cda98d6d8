#include "platform/audio_ogg_stream_source.h"

#include <vorbis/vorbisfile.h>

#include "platform/audio_errors.h"

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
    vorbis_info* info = ov_info(&file->vf, -1);
    if (!info || info->channels < 1 || info->rate <= 0) {
        *error = audio_error::kFormat;
        return nullptr;
    }
    *error = audio_error::kOk;
    return std::unique_ptr<AudioOggStreamSource>(new AudioOggStreamSource(std::move(file), loop));
}

AudioOggStreamSource::AudioOggStreamSource(std::unique_ptr<File> file, bool loop) : _file(std::move(file)), _loop(loop) {
    vorbis_info* info = ov_info(&_file->vf, -1);
    _rate = static_cast<int>(info->rate);
    _channels = info->channels;
}

AudioOggStreamSource::~AudioOggStreamSource() = default;

int AudioOggStreamSource::Read(float* stereo, int frames) {
    int written = 0;
    bool rewound_empty = false;
    while (written < frames) {
        float** pcm = nullptr;
        int section = 0;
        long n = ov_read_float(&_file->vf, &pcm, frames - written, &section);
        if (n == OV_HOLE) continue;
        if (n <= 0) {
            // The end (or a broken page): start over when looping, unless the file
            // gave nothing even from its start.
            if (!_loop || rewound_empty || ov_pcm_seek(&_file->vf, 0) != 0) break;
            rewound_empty = true;
            continue;
        }
        rewound_empty = false;
        for (long i = 0; i < n; ++i) {
            stereo[(written + i) * 2] = pcm[0][i];
            stereo[(written + i) * 2 + 1] = _channels > 1 ? pcm[1][i] : pcm[0][i];
        }
        written += static_cast<int>(n);
    }
    return written;
}

void AudioOggStreamSource::Rewind() { ov_pcm_seek(&_file->vf, 0); }

double AudioOggStreamSource::LengthSeconds() const { return ov_time_total(&_file->vf, -1); }

double AudioOggStreamSource::PositionSeconds() const { return ov_time_tell(&_file->vf); }

bool AudioOggStreamSource::SeekSeconds(double seconds) {
    if (seconds < 0 || seconds > LengthSeconds()) return false;
    return ov_time_seek(&_file->vf, seconds) == 0;
}

}  // namespace plat
