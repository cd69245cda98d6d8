#pragma once
// The game's own mouse cursor: where its hot spot is, which cursor is shown and
// drawing it. The engine core starts with a keeper that only tracks the hot
// spot; the drawing keeper (sprites from Settings\Mouse.xml) registers itself
// with CEngineCore::SetCursorKeeper.
#include <string>

class ICursorKeeper {
public:
    virtual ~ICursorKeeper() = default;
    virtual int GetX() const = 0;  // the hot spot
    virtual int GetY() const = 0;
    virtual void SetHotSpot(int x, int y) = 0;
    virtual void MoveBy(int dx, int dy) = 0;
    // Makes the named cursor current; false (and a warning) when there is none of that name.
    virtual bool SetCursor(const std::string& name) = 0;
    virtual void Show(bool visible) = 0;
    virtual bool IsVisible() const = 0;
    // Draws the cursor when visible and inside the screen (called at the end of
    // every frame, inside the scene, after the cursor was moved).
    virtual void Draw(bool fullscreen) = 0;
};
