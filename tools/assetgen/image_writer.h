#pragma once
// Writers of generated images: PNG through libpng and TGA (32-bit, top-left
// origin, plain or run-length). Parent folders are created; failures throw
// std::runtime_error naming the file.
#include <cstdint>
#include <string>
#include <vector>

#include "image.h"

namespace assetgen {

void WritePng(const std::string& path, const Image& image);
// 8-bit RGBA bytes, rows from the top, written as they are.
void WritePngRgba(const std::string& path, int width, int height, const std::vector<uint8_t>& rgba);
void WriteTga(const std::string& path, const Image& image, bool rle = false);

// `data_dir` joined with a game file name written with backslashes
// ("Textures\Cursors\default.png" -> data_dir/Textures/Cursors/default.png).
std::string DataPath(const std::string& data_dir, const std::string& game_name);

// Writes a text file (the XML that goes with generated art).
void WriteText(const std::string& path, const std::string& text);

}  // namespace assetgen
