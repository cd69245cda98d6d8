#include "graphics/base_bitmap_font.h"

#include <algorithm>

#include "engine/logger.h"

CBaseBitmapFont::~CBaseBitmapFont() { CBaseBitmapFont::Clear(); }

void CBaseBitmapFont::Clear() {
    _fonts.clear();
    _glyphs.clear();
}

FontResult CBaseBitmapFont::AddFont(const FontDesc& desc, uint32_t* index) {
    if (_fonts.size() >= static_cast<size_t>(MAX_FONTS_IN_CONTAINER)) return kFontFail;
    _fonts.push_back(std::make_unique<FontDesc>(desc));
    _glyphs.emplace_back();
    BuildGlyphTable(*_fonts.back(), _glyphs.back());
    if (index) *index = static_cast<uint32_t>(_fonts.size() - 1);
    return kFontOk;
}

void CBaseBitmapFont::BuildGlyphTable(const FontDesc& desc, FontGlyphTable& table) {
    table.fill(FontGlyph {});
    const uint32_t lines = std::min<uint32_t>(desc.line_count, MAX_LINES_IN_FONT);
    // Walking backwards lets the first occurrence of a letter win.
    for (uint32_t l = lines; l-- > 0;) {
        const FontLine& line = desc.lines[l];
        const uint32_t count = std::min<uint32_t>(line.letter_count, MAX_LETTERS_IN_LINE);
        for (uint32_t j = count; j-- > 0;) {
            FontGlyph& g = table[line.letters[j]];
            g.present = 1;
            g.left = static_cast<float>(line.positions[j]);
            g.right = static_cast<float>(line.positions[j + 1]);
            g.top = static_cast<float>(line.y_top);
            g.bottom = static_cast<float>(line.y_bottom);
        }
    }
}

FontResult CBaseBitmapFont::SetParams(int alignment, float height, float spacing) {
    _alignment = alignment;
    _height = height;
    _spacing = spacing;
    return kFontOk;
}

FontResult CBaseBitmapFont::SetActiveFont(int index) {
    if (index < 0 || index >= GetFontCount()) return kFontFail;
    _active_font = index;
    return kFontOk;
}

FontResult CBaseBitmapFont::GetActiveFont(int* index) const {
    if (!index) return kFontFail;
    *index = _active_font;
    return kFontOk;
}

FontResult CBaseBitmapFont::SetAlignment(int alignment) {
    if (alignment < 0 || alignment > 2) return kFontFail;
    _alignment = alignment;
    return kFontOk;
}

FontResult CBaseBitmapFont::SetHeight(float height) {
    _height = height;
    return kFontOk;
}

int CBaseBitmapFont::BuildString(float x, float y, std::string_view text) {
    if (_fonts.empty() || _active_font < 0 || _active_font >= GetFontCount()) return 0;
    const FontGlyphTable& table = _glyphs[_active_font];
    const size_t n = std::min(text.size(), static_cast<size_t>(MAX_QUADS_IN_STRING));
    float pen = x;
    int quads = 0;
    for (size_t i = 0; i < n; ++i) {
        const FontGlyph* g = &table[static_cast<uint8_t>(text[i])];
        if (!g->present) {
            g = &table[static_cast<uint8_t>('$')];
            if (!g->present) {
                pen += 10.0f;
                continue;
            }
        }
        _texture_rects[quads] = CFloatRect(g->left, g->top, g->right, g->bottom);
        float aspect = 0.0f;
        if (g->bottom == g->top) {
            // A broken font line; the glyph lays out with no width.
            CLogger::Instance().Log(2, "Error: %s. File=%s, Line=%d",
                                    "Invalid Zero Value (CBaseBitmapFont::BuildString)", __FILE__, __LINE__);
        } else {
            aspect = (g->right - g->left) / (g->bottom - g->top);
        }
        const float right = pen + aspect * _height;
        _screen_rects[quads] = CFloatRect(pen, y, right, y + _height);
        pen = right + _spacing;
        ++quads;
    }
    float dx = 0.0f, dy = 0.0f;
    if (_alignment == 1) {
        dx = -(pen - x);
    } else if (_alignment == 2) {
        dx = -(pen - x) / 2.0f;
        dy = -_height / 2.0f;
    }
    if (dx != 0.0f || dy != 0.0f)
        for (int i = 0; i < quads; ++i) {
            _screen_rects[i].left += dx;
            _screen_rects[i].right += dx;
            _screen_rects[i].top += dy;
            _screen_rects[i].bottom += dy;
        }
    return quads;
}

int CBaseBitmapFont::GetStringWidth(std::string_view text) {
    const int saved = _alignment;
    _alignment = 0;
    const int quads = BuildString(0.0f, 0.0f, text);
    _alignment = saved;
    if (quads == 0) return 0;
    return static_cast<int>(_screen_rects[quads - 1].right - _screen_rects[0].left);
}
