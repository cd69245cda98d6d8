#pragma once
// Frames of equal size packed into one texture in rows, with the animation
// file that plays them (the "//Animation/Frame" format the game reads).
#include <string>
#include <vector>

#include "image.h"

namespace assetgen {

struct AnimationOptions {
    int speed = 3;              // default ticks per frame
    bool reverse = false;       // ping-pong
    bool animate_once = false;  // stop on the last frame
    int start_frame = -999;     // -999: not written (a random start)
    std::vector<int> delays;    // per-frame delays (empty: all take speed)
};

class SpriteSheet {
public:
    // Frames of frame_w x frame_h, `columns` to a row, `gutter` transparent
    // pixels between them (so that filtering never picks up a neighbour).
    SpriteSheet(int frame_w, int frame_h, int columns, int gutter = 2);

    // Appends a frame (cropped or padded to the frame size); returns its index.
    int Add(const Image& frame);
    int Count() const { return static_cast<int>(_frames.size()); }

    // The texture: the frames in rows; its size is a whole number of cells.
    Image Compose() const;
    // Left, top, right, bottom of a frame on the texture, "l t r b".
    std::string TexRect(int index) const;
    std::string AnimationXml(const AnimationOptions& options) const;

    // Writes the texture (PNG) and the animation file under the data folder;
    // names are the game's (backslashes).
    void Write(const std::string& data_dir, const std::string& texture_name, const std::string& animation_name,
               const AnimationOptions& options) const;

private:
    int _frame_w, _frame_h, _columns, _gutter;
    std::vector<Image> _frames;
};

}  // namespace assetgen
