#pragma once
// Saves a read-back frame (little-endian ARGB words) as a PNG for a person to
// look at; rendered tests call it with a folder of their own from ShotsDir.
#include <png.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "test_temp.h"

namespace test_shots {

// The folder `name` for a test's pictures: under $VOVARO_SHOTS_DIR when it is
// set (they stay for a look by eye), else in the process's temporary folder,
// gone with it.
inline std::filesystem::path ShotsDir(const std::string& name) {
    const char* env = std::getenv("VOVARO_SHOTS_DIR");
    return (env && *env ? std::filesystem::path(env) : test_temp::ProcessDir() / "shots") / name;
}

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
