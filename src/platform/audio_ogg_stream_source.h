#pragma once
// An Ogg Vorbis file decoded while it plays, optionally starting over at its end.
#include <memory>
#include <string>

#include "platform/audio_source.h"

namespace plat {

class AudioOggStreamSource : public AudioSource {
public:
    // Opens the file; null with *error set when it is no Ogg Vorbis file.
    static std::unique_ptr<AudioOggStreamSource> Open(const std::string& path, bool loop, int* error);
    ~AudioOggStreamSource() override;
    AudioOggStreamSource(const AudioOggStreamSource&) = delete;
    AudioOggStreamSource& operator=(const AudioOggStreamSource&) = delete;

    int Rate() const override { return _rate; }
    int Read(float* stereo, int frames) override;
    void Rewind() override;
    double LengthSeconds() const override;
    double PositionSeconds() const override;
    bool SeekSeconds(double seconds) override;
    void SetLoop(bool loop) { _loop = loop; }

private:
    struct File;
    AudioOggStreamSource(std::unique_ptr<File> file, bool loop);

    std::unique_ptr<File> _file;
    int _rate = 0;
    int _channels = 0;
    bool _loop;
};

}  // namespace plat
