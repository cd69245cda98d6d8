#include "graphics/cursor_keeper.h"

#include <cstdio>
#include <exception>

#include "engine/engine_core.h"
#include "engine/logger.h"
#include "engine/xml_file.h"

CCursorKeeper& CCursorKeeper::Instance() {
    static CCursorKeeper keeper(kFileName);
    return keeper;
}

bool CCursorKeeper::Install() {
    try {
        // The core hands the new keeper the hot spot and visibility it had.
        CEngineCore::Instance().SetCursorKeeper(&Instance());
        return true;
    } catch (const std::exception& e) {
        CLogger::Instance().Log(2, "Error: Unable to load the mouse cursors! %s", e.what());
        return false;
    }
}

CCursorKeeper::CCursorKeeper(const std::string& file_name) {
    CXMLFile file(file_name);
    const CXMLNodeList nodes = file.SelectNodes("//Mouse/Cursor");
    for (int i = 0; i < nodes.GetLength(); ++i) {
        const CXMLNode node = nodes.GetItem(i);
        CursorDesc cursor;
        char fallback[32];
        std::snprintf(fallback, sizeof fallback, "cursor_%d", i);
        cursor.name = node.GetAttribute("name", fallback);
        cursor.offset_x = node.GetAttributeInt("offset_x", 0);
        cursor.offset_y = node.GetAttributeInt("offset_y", 0);
        cursor.desc = ParseGraphics(node);
        _cursor_list.push_back(std::move(cursor));
    }
    ASSERT_THROW_IF_FAILED(!_cursor_list.empty());
    SetCursor("default");
}

bool CCursorKeeper::SetCursor(const std::string& name) {
    for (const CursorDesc& cursor : _cursor_list) {
        if (cursor.name != name) continue;
        const int x = GetX(), y = GetY();
        _current = cursor.name;
        _offset_x = cursor.offset_x;
        _offset_y = cursor.offset_y;
        _sprite.Create(static_cast<float>(x + _offset_x), static_cast<float>(y + _offset_y), cursor.desc, true);
        return true;
    }
    CLogger::Instance().Log(3, "Warning: cursor '%s' not found!", name.c_str());
    return false;
}

int CCursorKeeper::GetX() const { return static_cast<int>(_sprite.GetLeft()) - _offset_x; }
int CCursorKeeper::GetY() const { return static_cast<int>(_sprite.GetTop()) - _offset_y; }

void CCursorKeeper::SetHotSpot(int x, int y) {
    _sprite.SetPosition(static_cast<float>(x + _offset_x), static_cast<float>(y + _offset_y));
}

void CCursorKeeper::MoveBy(int dx, int dy) { _sprite.Move(static_cast<float>(dx), static_cast<float>(dy)); }

bool CCursorKeeper::IsInside(bool fullscreen) const {
    if (fullscreen) return true;
    return _sprite.GetTop() >= -kFixedFrameHeight && _sprite.GetLeft() >= -kFixedFrameWidth;
}

void CCursorKeeper::Draw(bool fullscreen) {
    if (_visible && IsInside(fullscreen)) _sprite.Render();
}
