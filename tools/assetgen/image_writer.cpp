#include "image_writer.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include <png.h>

namespace assetgen {

namespace {

void MakeParent(const std::string& path) {
    const std::filesystem::path p(path);
    if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    MakeParent(path);
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    if (!f) throw std::runtime_error("cannot write " + path);
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!f) throw std::runtime_error("cannot write " + path);
}

}  // namespace

std::string DataPath(const std::string& data_dir, const std::string& game_name) {
    std::string rel = game_name;
    for (char& c : rel)
        if (c == '\\') c = '/';
    return data_dir + "/" + rel;
}

void WritePngRgba(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba) {
    if (width <= 0 || height <= 0) throw std::runtime_error("empty image for " + path);
    if (rgba.size() < static_cast<size_t>(width) * height * 4) throw std::runtime_error("short pixels for " + path);
    MakeParent(path);
    png_image img;
    std::memset(&img, 0, sizeof img);
    img.version = PNG_IMAGE_VERSION;
    img.width = static_cast<png_uint_32>(width);
    img.height = static_cast<png_uint_32>(height);
    img.format = PNG_FORMAT_RGBA;
    if (!png_image_write_to_file(&img, path.c_str(), 0, rgba.data(), width * 4, nullptr))
        throw std::runtime_error("PNG writing failed for " + path + ": " + img.message);
}

void WritePng(const std::string& path, const Image& image) {
    WritePngRgba(path, image.Width(), image.Height(), image.ToRgba8());
}

void WriteTga(const std::string& path, const Image& image, bool rle) {
    const int w = image.Width(), h = image.Height();
    if (w <= 0 || h <= 0 || w > 0xFFFF || h > 0xFFFF) throw std::runtime_error("bad image size for " + path);
    const std::vector<uint8_t> rgba = image.ToRgba8();
    std::vector<uint8_t> out(18, 0);
    out[2] = rle ? 10 : 2;
    out[12] = static_cast<uint8_t>(w & 0xFF);
    out[13] = static_cast<uint8_t>(w >> 8);
    out[14] = static_cast<uint8_t>(h & 0xFF);
    out[15] = static_cast<uint8_t>(h >> 8);
    out[16] = 32;
    out[17] = 0x20 | 8;  // top-left origin, 8 alpha bits
    auto bgra = [&](size_t i) {
        return std::array<uint8_t, 4> {rgba[i * 4 + 2], rgba[i * 4 + 1], rgba[i * 4], rgba[i * 4 + 3]};
    };
    for (int y = 0; y < h; ++y) {
        const size_t row = static_cast<size_t>(y) * w;
        if (!rle) {
            for (int x = 0; x < w; ++x) {
                const auto p = bgra(row + x);
                out.insert(out.end(), p.begin(), p.end());
            }
            continue;
        }
        // Runs never cross a row end.
        int x = 0;
        while (x < w) {
            int run = 1;
            while (x + run < w && run < 128 && bgra(row + x + run) == bgra(row + x)) ++run;
            if (run > 1) {
                out.push_back(static_cast<uint8_t>(0x80 | (run - 1)));
                const auto p = bgra(row + x);
                out.insert(out.end(), p.begin(), p.end());
                x += run;
                continue;
            }
            int raw = 1;
            while (x + raw < w && raw < 128 && !(x + raw + 1 < w && bgra(row + x + raw) == bgra(row + x + raw + 1)))
                ++raw;
            out.push_back(static_cast<uint8_t>(raw - 1));
            for (int k = 0; k < raw; ++k) {
                const auto p = bgra(row + x + k);
                out.insert(out.end(), p.begin(), p.end());
            }
            x += raw;
        }
    }
    WriteBytes(path, out);
}

void WriteText(const std::string& path, const std::string& text) {
    WriteBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

}  // namespace assetgen
