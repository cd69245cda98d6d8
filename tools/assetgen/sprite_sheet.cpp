#include "sprite_sheet.h"

#include <algorithm>
#include <stdexcept>

#include "image_writer.h"

namespace assetgen {

SpriteSheet::SpriteSheet(int frame_w, int frame_h, int columns, int gutter)
    : _frame_w(frame_w), _frame_h(frame_h), _columns(std::max(1, columns)), _gutter(std::max(0, gutter)) {
    if (frame_w <= 0 || frame_h <= 0) throw std::runtime_error("sprite sheet frames need a size");
}

int SpriteSheet::Add(const Image& frame) {
    _frames.push_back(frame.Crop(0, 0, _frame_w, _frame_h));
    return Count() - 1;
}

Image SpriteSheet::Compose() const {
    const int n = std::max(1, Count());
    const int cols = std::min(_columns, n), rows = (n + _columns - 1) / _columns;
    Image sheet(cols * (_frame_w + _gutter), rows * (_frame_h + _gutter));
    for (int i = 0; i < Count(); ++i) {
        const int x = (i % _columns) * (_frame_w + _gutter), y = (i / _columns) * (_frame_h + _gutter);
        for (int j = 0; j < _frame_h; ++j)
            for (int k = 0; k < _frame_w; ++k) sheet.At(x + k, y + j) = _frames[static_cast<size_t>(i)].At(k, j);
    }
    return sheet;
}

std::string SpriteSheet::TexRect(int index) const {
    const int x = (index % _columns) * (_frame_w + _gutter), y = (index / _columns) * (_frame_h + _gutter);
    return std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(x + _frame_w) + " " +
           std::to_string(y + _frame_h);
}

std::string SpriteSheet::AnimationXml(const AnimationOptions& o) const {
    std::string xml = "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n<Animation speed=\"" +
                      std::to_string(o.speed) + "\"";
    if (o.reverse) xml += " reverse=\"1\"";
    if (o.animate_once) xml += " animate_once=\"1\"";
    if (o.start_frame != -999) xml += " start_frame=\"" + std::to_string(o.start_frame) + "\"";
    xml += ">\n";
    for (int i = 0; i < Count(); ++i) {
        xml += "  <Frame tex_rect=\"" + TexRect(i) + "\"";
        if (static_cast<size_t>(i) < o.delays.size()) xml += " delay=\"" + std::to_string(o.delays[static_cast<size_t>(i)]) + "\"";
        xml += "/>\n";
    }
    return xml + "</Animation>\n";
}

void SpriteSheet::Write(const std::string& data_dir, const std::string& texture_name,
                        const std::string& animation_name, const AnimationOptions& options) const {
    if (Count() == 0) throw std::runtime_error("empty sprite sheet for " + animation_name);
    WritePng(DataPath(data_dir, texture_name), Compose());
    WriteText(DataPath(data_dir, animation_name), AnimationXml(options));
}

}  // namespace assetgen
