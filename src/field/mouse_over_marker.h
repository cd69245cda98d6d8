#pragma once
// The hover frame on the ball under the mouse: a 36-pixel frame sprite put
// on one cell of the field, drawn while shown.
#include "graphics/object_2d.h"

class CMouseOverMarker {
public:
    static constexpr const char* kTexture = "Textures\\Common\\mouse_over.tga";
    static constexpr float kSize = 36.0f;

    // Makes the sprite, off screen at (-36, -36); done when a level's
    // configuration is loaded.
    void Create();
    // Puts the frame on the cell's top-left corner when the cell is not the
    // marked one; an invalid cell logs the failed conversion and leaves the
    // sprite where it was.
    void SetCell(int cell);
    void Show() { _visible = true; }
    void Hide() { _visible = false; }
    // Draws the sprite while shown.
    void Draw();

    bool IsVisible() const { return _visible; }
    int GetCell() const { return _cell; }
    const C2DObject& GetSprite() const { return _sprite; }

private:
    C2DObject _sprite;
    int _cell = -1;
    bool _visible = false;
};
