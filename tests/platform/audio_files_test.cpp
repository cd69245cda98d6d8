// Damaged and unusual sound files, crafted from the data tree's Ogg files and
// small WAVs: what the loaders refuse and what they still play.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "audio_test_util.h"
#include "platform/audio_errors.h"
#include "platform/audio_ogg_stream_source.h"
#include "platform/audio_sample_data.h"

using namespace audio_test;
namespace audio_error = plat::audio_error;

namespace {

std::vector<uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string WriteAll(const std::string& name, const std::vector<uint8_t>& bytes) {
    const std::string path = WriteSineWav(name, 8000, 0.0);  // a file in the tests' folder
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

// The Ogg page checksum: CRC-32 with polynomial 0x04C11DB7, no reflection.
uint32_t OggCrc(const uint8_t* p, size_t n) {
    uint32_t crc = 0;
    for (size_t i = 0; i < n; ++i) {
        crc ^= static_cast<uint32_t>(p[i]) << 24;
        for (int b = 0; b < 8; ++b) crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
    }
    return crc;
}

size_t PageLength(const std::vector<uint8_t>& f, size_t page) {
    const size_t segments = f[page + 26];
    size_t length = 27 + segments;
    for (size_t s = 0; s < segments; ++s) length += f[page + 27 + s];
    return length;
}

void FixCrc(std::vector<uint8_t>& f, size_t page) {
    std::memset(&f[page + 22], 0, 4);
    const uint32_t crc = OggCrc(&f[page], PageLength(f, page));
    for (int i = 0; i < 4; ++i) f[page + 22 + i] = static_cast<uint8_t>(crc >> (8 * i));
}

std::vector<size_t> Pages(const std::vector<uint8_t>& f) {
    std::vector<size_t> pages;
    for (size_t p = 0; p + 27 <= f.size() && std::memcmp(&f[p], "OggS", 4) == 0; p += PageLength(f, p))
        pages.push_back(p);
    return pages;
}

// The rate field of the identification header on the first page.
void SetRate(std::vector<uint8_t>& f, uint32_t rate) {
    const size_t packet = 27 + f[26];
    for (int i = 0; i < 4; ++i) f[packet + 12 + i] = static_cast<uint8_t>(rate >> (8 * i));
    FixCrc(f, 0);
}

std::vector<uint8_t> Wav(uint32_t data_size, size_t data_bytes) {
    std::vector<uint8_t> v;
    auto put = [&v](uint32_t x, int n) {
        for (int i = 0; i < n; ++i) v.push_back(static_cast<uint8_t>(x >> (8 * i)));
    };
    auto tag = [&v](const char* t) { v.insert(v.end(), t, t + 4); };
    tag("RIFF"), put(36 + static_cast<uint32_t>(data_bytes), 4), tag("WAVE");
    tag("fmt "), put(16, 4), put(1, 2), put(1, 2), put(22050, 4), put(44100, 4), put(2, 2), put(16, 2);
    tag("data"), put(data_size, 4);
    v.resize(v.size() + data_bytes, 0x11);
    return v;
}

}  // namespace

TEST(AudioFiles, OggRatesAndLengthsTheMixerCannotPlayAreRefused) {
    const std::vector<uint8_t> good = ReadAll(DataFile("Sounds/congratulations.ogg"));
    ASSERT_FALSE(good.empty());
    int error = -1;
    ASSERT_NE(plat::AudioSampleData::Decode(good.data(), good.size(), &error), nullptr);

    for (uint32_t rate : {0x80000000u, 0xFFFFFFFFu, 1000000u}) {
        std::vector<uint8_t> bad = good;
        SetRate(bad, rate);
        EXPECT_EQ(plat::AudioSampleData::Decode(bad.data(), bad.size(), &error), nullptr) << rate;
        EXPECT_EQ(error, audio_error::kFormat) << rate;
        EXPECT_EQ(plat::AudioOggStreamSource::Open(WriteAll("rate.ogg", bad), false, &error), nullptr) << rate;
        EXPECT_EQ(error, audio_error::kFormat) << rate;
    }

    // A last page that claims 2^40 frames: refused, not reserved.
    std::vector<uint8_t> huge = good;
    const size_t last = Pages(huge).back();
    for (int i = 0; i < 8; ++i) huge[last + 6 + i] = static_cast<uint8_t>((uint64_t {1} << 40) >> (8 * i));
    FixCrc(huge, last);
    EXPECT_EQ(plat::AudioSampleData::Decode(huge.data(), huge.size(), &error), nullptr);
    EXPECT_EQ(error, audio_error::kFormat);
}

TEST(AudioFiles, WavWithoutSamplesIsEmptyAndDataBeyondTheFileIsRefused) {
    int error = -1;
    const std::vector<uint8_t> empty = Wav(0, 0);
    const auto data = plat::AudioSampleData::Decode(empty.data(), empty.size(), &error);
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->FrameCount(), 0u);
    EXPECT_EQ(data->Rate(), 22050);
    // An empty sample plays as silence that ends at once.
    plat::AudioMixer mixer(plat::AudioMixer::Mode::Manual);
    const auto channel = mixer.GetSampleChannel(mixer.LoadSample(WriteAll("empty.wav", empty), 2, &error), &error);
    ASSERT_NE(channel, 0u);
    EXPECT_EQ(mixer.Play(channel, true), audio_error::kOk);
    EXPECT_EQ(MixPeak(mixer, 512).left, 0.0f);

    const std::vector<uint8_t> long_data = Wav(100000, 64);
    EXPECT_EQ(plat::AudioSampleData::Decode(long_data.data(), long_data.size(), &error), nullptr);
    EXPECT_EQ(error, audio_error::kFileForm);
    const std::vector<uint8_t> fits = Wav(64, 64);
    ASSERT_NE(plat::AudioSampleData::Decode(fits.data(), fits.size(), &error), nullptr);
    EXPECT_EQ(plat::AudioSampleData::Decode(fits.data(), fits.size(), &error)->FrameCount(), 32u);
}

// A chained file whose second part has another rate: the stream plays the
// first part and stops there, saying why, instead of playing on wrongly.
TEST(AudioFiles, StreamStopsWhereThePartsChangeFormat) {
    const std::vector<uint8_t> first = ReadAll(DataFile("Sounds/congratulations.ogg"));
    std::vector<uint8_t> second = first;
    SetRate(second, 22050);
    for (size_t page : Pages(second)) {
        second[page + 14] ^= 0x5A;  // another serial number: a new logical stream
        FixCrc(second, page);
    }
    std::vector<uint8_t> chained = first;
    chained.insert(chained.end(), second.begin(), second.end());

    int error = -1;
    const auto alone = plat::AudioSampleData::Decode(first.data(), first.size(), &error);
    ASSERT_NE(alone, nullptr);
    auto stream = plat::AudioOggStreamSource::Open(WriteAll("chained.ogg", chained), false, &error);
    ASSERT_NE(stream, nullptr) << error;
    std::vector<float> buffer(4096 * 2);
    size_t frames = 0;
    for (int n; (n = stream->Read(buffer.data(), 4096)) > 0;) frames += static_cast<size_t>(n);
    EXPECT_EQ(frames, alone->FrameCount());
    EXPECT_FALSE(stream->Failure().empty());
    EXPECT_EQ(stream->Read(buffer.data(), 4096), 0);
    EXPECT_FALSE(stream->SeekSeconds(0.0)) << "a stopped stream stays stopped";
}
