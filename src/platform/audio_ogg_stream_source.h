#pragma once
// An Ogg Vorbis file decoded while it plays, optionally starting over at its end.
// A decode failure in the middle of the file (a damaged page, a link of another
// format, a fault inside the decoder) ends the stream for good: it is said once
// on standard error and kept in Failure(); the program goes on.
#include <memory>
#include <string>

#include "platform/audio_source.h"

namespace plat {

class AudioOggStreamSource : public AudioSource {
public:
    // Opens the file; null with *error set when it is no Ogg Vorbis file or
    // one the mixer cannot play (see AudioSampleData::PlayableFormat).
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

    // Why the stream stopped early; empty while it is sound.
    const std::string& Failure() const { return _failure; }

private:
    struct File;
    AudioOggStreamSource(std::unique_ptr<File> file, std::string path, bool loop);
    int Decode(float* stereo, int frames);
    void Fail(const std::string& why);

    std::unique_ptr<File> _file;
    std::string _path;
    std::string _failure;
    int _rate = 0;
    bool _loop;
};

}  // namespace plat
