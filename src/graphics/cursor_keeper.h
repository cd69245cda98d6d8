#pragma once
// The game's own mouse cursors, read from Settings\Mouse.xml: each has a name,
// the offset of its sprite's corner from the hot spot, and a graphics
// description. One sprite shows the current cursor; the engine core moves it
// with the mouse and draws it at the end of every frame.
#include <string>
#include <vector>

#include "engine/cursor_keeper_interface.h"
#include "engine/graphics_desc.h"
#include "engine/noncopyable.h"
#include "graphics/object_2d.h"

class CCursorKeeper : public ICursorKeeper, NonCopyable {
public:
    static constexpr const char* kFileName = "Settings\\Mouse.xml";
    // The window's fixed-frame size: a cursor further off the client area's
    // top-left than this is not drawn in windowed mode.
    static constexpr int kFixedFrameWidth = 3;
    static constexpr int kFixedFrameHeight = 3;

    // The program's keeper, built (and Mouse.xml read) on first use.
    static CCursorKeeper& Instance();
    // Builds the program's keeper and registers it with the engine core (after
    // CEngineCore::Init: the cursor textures need the device). False (logged)
    // when Mouse.xml cannot be used; the core then keeps its plain keeper.
    static bool Install();

    // Reads the cursors of an XML file and selects "default". Throws when the
    // file cannot be read or holds no cursor.
    explicit CCursorKeeper(const std::string& file_name);
    ~CCursorKeeper() override = default;

    int GetX() const override;
    int GetY() const override;
    void SetHotSpot(int x, int y) override;
    void MoveBy(int dx, int dy) override;
    // Makes the named cursor current, its hot spot where the old one's was.
    // False (logged) for a name no cursor bears.
    bool SetCursor(const std::string& name) override;
    void Show(bool visible) override { _visible = visible; }
    bool IsVisible() const override { return _visible; }
    // Draws the sprite when visible and inside.
    void Draw(bool fullscreen) override;

    const std::string& GetCursorName() const { return _current; }
    size_t GetCursorCount() const { return _cursor_list.size(); }
    // Within the client area, allowing the window frame's width.
    bool IsInside(bool fullscreen) const;
    C2DObject& GetSprite() { return _sprite; }

private:
    struct CursorDesc {
        std::string name;
        int offset_x = 0;
        int offset_y = 0;
        CGraphicsDesc desc;
    };

    std::vector<CursorDesc> _cursor_list;
    std::string _current;
    int _offset_x = 0;
    int _offset_y = 0;
    C2DObject _sprite;
    bool _visible = true;
};
