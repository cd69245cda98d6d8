#pragma once
// A container of bitmap fonts and the layout of a string into quads. Each font is
// one texture whose letters stand in horizontal lines; a string is laid out into
// two parallel rectangle buffers (where each quad goes on the screen, and which
// part of the font texture it shows). Results are HRESULT-like: 0 success,
// 0x80004005 failure.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/float_rect.h"

constexpr int MAX_FONTS_IN_CONTAINER = 256;
constexpr int MAX_LINES_IN_FONT = 32;
constexpr int MAX_LETTERS_IN_LINE = 254;
constexpr int MAX_QUADS_IN_STRING = 512;

using FontResult = int32_t;
constexpr FontResult kFontOk = 0;
constexpr FontResult kFontFail = static_cast<FontResult>(0x80004005);

// One line of letters in a font texture.
struct FontLine {
    uint32_t y_top = 0;
    uint32_t y_bottom = 0;
    uint32_t letter_count = 0;
    std::array<uint8_t, 256> letters {};
    // Left column of each letter; the entry after the last letter is the line's right edge.
    std::array<uint32_t, 256> positions {};
};

// One font as read from a fonts file.
struct FontDesc {
    uint32_t line_count = 0;
    std::string texture;
    std::array<FontLine, MAX_LINES_IN_FONT> lines {};
};

struct FontGlyph {
    uint8_t present = 0;
    float left = 0, top = 0, right = 0, bottom = 0;  // texture pixels
};
using FontGlyphTable = std::array<FontGlyph, 256>;

class CBaseBitmapFont {
public:
    CBaseBitmapFont() = default;
    virtual ~CBaseBitmapFont();
    CBaseBitmapFont(const CBaseBitmapFont&) = delete;
    CBaseBitmapFont& operator=(const CBaseBitmapFont&) = delete;

    virtual void Clear();
    // Copies the description into a new slot; its index goes to `index` when given.
    virtual FontResult AddFont(const FontDesc& desc, uint32_t* index = nullptr);
    virtual FontResult SetParams(int alignment, float height, float spacing);
    virtual FontResult SetActiveFont(int index);
    virtual FontResult GetActiveFont(int* index) const;
    virtual FontResult SetAlignment(int alignment);
    virtual FontResult SetHeight(float height);
    // Width from the left edge of the first quad to the right edge of the last,
    // without the spacing after it; 0 when nothing is laid out.
    virtual int GetStringWidth(std::string_view text);

    // Lays the text out into the rectangle buffers; returns the number of quads.
    int BuildString(float x, float y, std::string_view text);

    int GetFontCount() const { return static_cast<int>(_fonts.size()); }
    const FontDesc& GetFontDesc(int index) const { return *_fonts[index]; }
    const FontGlyph& GetGlyph(int font, uint8_t code) const { return _glyphs[font][code]; }
    int GetAlignment() const { return _alignment; }
    float GetHeight() const { return _height; }
    float GetSpacing() const { return _spacing; }
    const CFloatRect& ScreenRect(int i) const { return _screen_rects[i]; }
    const CFloatRect& TextureRect(int i) const { return _texture_rects[i]; }

protected:
    std::vector<std::unique_ptr<FontDesc>> _fonts;
    std::vector<FontGlyphTable> _glyphs;  // one table per font, in slot order
    int _active_font = 0;
    int _alignment = 0;  // 0 left, 1 right, 2 centred
    float _height = 30.0f;
    float _spacing = 5.0f;
    std::array<CFloatRect, MAX_QUADS_IN_STRING> _screen_rects {};
    std::array<CFloatRect, MAX_QUADS_IN_STRING> _texture_rects {};
    uint8_t _shadow = 0;

private:
    static void BuildGlyphTable(const FontDesc& desc, FontGlyphTable& table);
};
