#pragma once
// The cursor keeper the engine core starts with: it tracks the hot spot and the
// visible flag but knows no cursor sprites, so it draws nothing.
#include "engine/cursor_keeper_interface.h"

class CHotSpotCursor : public ICursorKeeper {
public:
    int GetX() const override { return _x; }
    int GetY() const override { return _y; }
    void SetHotSpot(int x, int y) override {
        _x = x;
        _y = y;
    }
    void MoveBy(int dx, int dy) override {
        _x += dx;
        _y += dy;
    }
    bool SetCursor(const std::string& name) override;
    void Show(bool visible) override { _visible = visible; }
    bool IsVisible() const override { return _visible; }
    void Draw(bool) override {}

private:
    int _x = 0, _y = 0;
    bool _visible = true;
};
