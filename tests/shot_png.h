#pragma once
// Saves a read-back frame (little-endian ARGB words) as a PNG for a person to
// look at; rendered tests call it with a folder of their own under the temp folder.
#include <png.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace test_shots {

inline bool SaveFramePng(const std::vector<uint32_t>& px, uint32_t width, uint32_t height,
                         const std::filesystem::path& path) {
    std::filesystem::create_directories(path.parent_path());
    png_image image {};
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = PNG_FORMAT_BGRA;
    return png_image_write_to_file(&image, path.string().c_str(), 0, px.data(), 0, nullptr) != 0;
}

}  // namespace test_shots
