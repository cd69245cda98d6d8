// Font pages: every printable character of the Windows-1252 code page rasterised
// with FreeType from the DejaVu faces, anti-aliased, white (the game tints glyphs
// with the label colour), optionally ringed by a dark outline that the tint keeps
// dark. Each font becomes one RGBA PNG page of letter lines plus its entry in the
// fonts files ("Settings/Fonts_<language>.xml"), which give every line's rows and
// every letter's left column; a letter's right edge is the next letter's left.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "generator_registry.h"
#include "image_writer.h"

namespace {

const char* const kDejaVuDir = "/usr/share/fonts/truetype/dejavu/";

// The fonts, in fonts-file order: a font's index in the file is its font id in
// the labels files, so new fonts go at the end.
struct FontSpec {
    const char* name;      // page file name (without extension)
    const char* face;      // DejaVu face file
    int pixel_size;        // FreeType pixel size (em height)
    int outline;           // outline radius in pixels, 0 for none
    int page_width;        // texture page width
    float x_scale;         // horizontal scale of the outlines (a narrow cut below 1)
};

// Only the faces of fonts-dejavu-core are used (Sans, Sans Bold, Mono, Serif):
// the narrow score face is Sans Bold squeezed by FreeType.
const FontSpec kFonts[] = {
    {"Body", "DejaVuSans.ttf", 20, 0, 512, 1.0f},             // 0: dialog text, lists, hints
    {"Heading", "DejaVuSans-Bold.ttf", 34, 2, 1024, 1.0f},    // 1: dialog titles, banners
    {"Score", "DejaVuSans-Bold.ttf", 28, 2, 512, 0.86f},      // 2: score, lives, popups
    {"Small", "DejaVuSans.ttf", 14, 0, 256, 1.0f},            // 3: small print, debug
    {"Button", "DejaVuSans-Bold.ttf", 22, 1, 512, 1.0f},      // 4: buttons, captions
};

// Grey level of the outline ring.
constexpr float kRingGrey = 12.0f;

const char* const kLanguages[] = {"English", "German"};

// Unicode code points of the Windows-1252 bytes 0x80..0x9F; 0 marks the five
// bytes the code page leaves undefined.
const uint32_t kCp1252High[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178,
};

uint32_t Cp1252ToUnicode(int code) {
    if (code < 0x20 || code == 0x7F) return 0;
    if (code >= 0x80 && code < 0xA0) return kCp1252High[code - 0x80];
    return static_cast<uint32_t>(code);
}

struct RgbaImage {
    int width = 0, height = 0;
    std::vector<uint8_t> pixels;  // RGBA, row by row from the top
    RgbaImage(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h * 4, 0) {}
};

// One rasterised glyph cell: coverage of the letter and of its outline, both
// cell-sized, plus the cell's size.
struct GlyphCell {
    int code = 0;
    int width = 0, height = 0;
    std::vector<uint8_t> glyph, ring;
};

struct FtLibrary {
    FT_Library lib = nullptr;
    FtLibrary() {
        if (FT_Init_FreeType(&lib)) throw std::runtime_error("FreeType does not start");
    }
    ~FtLibrary() { FT_Done_FreeType(lib); }
};

struct FtFace {
    FT_Face face = nullptr;
    FtFace(FT_Library lib, const std::string& path) {
        if (FT_New_Face(lib, path.c_str(), 0, &face))
            throw std::runtime_error("cannot open font face " + path);
    }
    ~FtFace() { FT_Done_Face(face); }
};

// Grows the letter's coverage by `radius` pixels with a soft edge.
std::vector<uint8_t> Dilate(const std::vector<uint8_t>& src, int w, int h, int radius) {
    std::vector<uint8_t> out(src.size(), 0);
    if (radius <= 0) return out;
    struct Tap { int dx, dy; float weight; };
    std::vector<Tap> taps;
    for (int dy = -radius - 1; dy <= radius + 1; ++dy)
        for (int dx = -radius - 1; dx <= radius + 1; ++dx) {
            float d = std::sqrt(static_cast<float>(dx * dx + dy * dy));
            float wgt = std::clamp(radius + 0.5f - d, 0.0f, 1.0f);
            if (wgt > 0) taps.push_back({dx, dy, wgt});
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float best = 0;
            for (const Tap& t : taps) {
                int sx = x + t.dx, sy = y + t.dy;
                if (sx < 0 || sy < 0 || sx >= w || sy >= h) continue;
                best = std::max(best, src[static_cast<size_t>(sy) * w + sx] * t.weight);
            }
            out[static_cast<size_t>(y) * w + x] = static_cast<uint8_t>(std::lround(best));
        }
    return out;
}

// Packed layout of one font: lines of cells left to right.
struct PackedLine {
    int y_top = 0, y_bottom = 0, x_right = 0;
    std::vector<int> codes, pos_x;
};

void GenerateFont(FT_Library lib, const FontSpec& spec, const std::string& data_dir,
                  std::ostringstream& xml) {
    FtFace face(lib, std::string(kDejaVuDir) + spec.face);
    if (FT_Set_Pixel_Sizes(face.face, 0, spec.pixel_size))
        throw std::runtime_error(std::string("cannot size face ") + spec.face);
    // The transform narrows outlines and advances alike; the size metrics stay.
    FT_Matrix squeeze {static_cast<FT_Fixed>(std::lround(spec.x_scale * 0x10000)), 0, 0, 0x10000};
    FT_Set_Transform(face.face, &squeeze, nullptr);
    const int ascender = static_cast<int>(face.face->size->metrics.ascender >> 6);
    const int descender = static_cast<int>(-(face.face->size->metrics.descender >> 6));
    // One transparent column/row around the outline keeps linear filtering from
    // pulling in a neighbour's pixels.
    const int pad = spec.outline + 1;
    const int cell_h = ascender + descender + 2 * pad;
    const int baseline = pad + ascender;

    std::vector<GlyphCell> cells;
    for (int code = 0; code < 256; ++code) {
        uint32_t cp = Cp1252ToUnicode(code);
        if (!cp) continue;
        if (code == 0xA0) cp = 0x20;  // no-break space draws as a space
        FT_UInt index = FT_Get_Char_Index(face.face, cp);
        if (!index) continue;  // the font keeper draws "$" for what the face lacks
        if (FT_Load_Glyph(face.face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_NORMAL)) continue;
        FT_GlyphSlot slot = face.face->glyph;
        const FT_Bitmap& bm = slot->bitmap;
        const int advance = static_cast<int>((slot->advance.x + 32) >> 6);
        const int left = std::min(0, slot->bitmap_left);
        const int right = std::max(advance, slot->bitmap_left + static_cast<int>(bm.width));
        GlyphCell cell;
        cell.code = code;
        cell.width = right - left + 2 * pad;
        cell.height = cell_h;
        cell.glyph.assign(static_cast<size_t>(cell.width) * cell.height, 0);
        const int ox = pad + slot->bitmap_left - left;
        const int oy = baseline - slot->bitmap_top;
        for (unsigned r = 0; r < bm.rows; ++r)
            for (unsigned c = 0; c < bm.width; ++c) {
                int x = ox + static_cast<int>(c), y = oy + static_cast<int>(r);
                if (x < 0 || y < 0 || x >= cell.width || y >= cell.height) continue;
                cell.glyph[static_cast<size_t>(y) * cell.width + x] = bm.buffer[r * bm.pitch + c];
            }
        cell.ring = Dilate(cell.glyph, cell.width, cell.height, spec.outline);
        cells.push_back(std::move(cell));
    }

    // Lines as wide as the page; one empty row between lines.
    std::vector<PackedLine> lines;
    int y = 0;
    for (const GlyphCell& cell : cells) {
        if (lines.empty() || lines.back().x_right + cell.width > spec.page_width ||
            lines.back().codes.size() >= 254) {
            if (!lines.empty()) y = lines.back().y_bottom + 1;
            lines.push_back({y, y + cell_h, 0, {}, {}});
        }
        PackedLine& line = lines.back();
        line.codes.push_back(cell.code);
        line.pos_x.push_back(line.x_right);
        line.x_right += cell.width;
    }
    if (lines.size() > 32) throw std::runtime_error(std::string("font ") + spec.name + " needs more than 32 lines");
    int page_h = 1;
    while (page_h < lines.back().y_bottom) page_h *= 2;

    RgbaImage page(spec.page_width, page_h);
    size_t ci = 0;
    for (const PackedLine& line : lines)
        for (size_t j = 0; j < line.codes.size(); ++j, ++ci) {
            const GlyphCell& cell = cells[ci];
            for (int cy = 0; cy < cell.height; ++cy)
                for (int cx = 0; cx < cell.width; ++cx) {
                    const size_t s = static_cast<size_t>(cy) * cell.width + cx;
                    // White letter over a black ring: alpha-composited once here so
                    // the page holds straight (not premultiplied) colour.
                    const float ga = cell.glyph[s] / 255.0f, ra = cell.ring[s] / 255.0f;
                    const float a = ga + ra * (1.0f - ga);
                    // Empty pixels take the colour of the nearest ink, so that
                    // filtering does not darken the edges of plain letters.
                    const float lum = a > 0 ? ga / a : (spec.outline ? 0.0f : 1.0f);
                    uint8_t* p = &page.pixels[(static_cast<size_t>(line.y_top + cy) * page.width +
                                               line.pos_x[j] + cx) * 4];
                    // The ring is near black, not black: textures are loaded
                    // with opaque black as the transparent colour key.
                    p[0] = p[1] = p[2] = static_cast<uint8_t>(std::lround(kRingGrey + lum * (255 - kRingGrey)));
                    p[3] = static_cast<uint8_t>(std::lround(a * 255));
                }
        }
    std::filesystem::create_directories(data_dir + "/Textures/Fonts");
    assetgen::WritePngRgba(data_dir + "/Textures/Fonts/" + spec.name + ".png", page.width, page.height, page.pixels);

    xml << "  <!-- " << spec.name << ": " << spec.face << ", " << spec.pixel_size << " px"
        << (spec.outline ? ", outlined" : "") << " -->\n";
    xml << "  <Font texture=\"Textures\\Fonts\\" << spec.name << ".png\">\n";
    for (const PackedLine& line : lines) {
        xml << "    <Line y_top=\"" << line.y_top << "\" y_bottom=\"" << line.y_bottom << "\" x_right=\""
            << line.x_right << "\">\n";
        for (size_t j = 0; j < line.codes.size(); ++j)
            xml << "      <Letter ascii=\"" << line.codes[j] << "\" pos_x=\"" << line.pos_x[j] << "\"/>\n";
        xml << "    </Line>\n";
    }
    xml << "  </Font>\n";
}

void GenerateFonts(const std::string& data_dir) {
    FtLibrary ft;
    std::ostringstream xml;
    xml << "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n"
        << "<!-- Generated by assetgen: font pages of the Windows-1252 code page. -->\n"
        << "<Fonts>\n";
    for (const FontSpec& spec : kFonts) GenerateFont(ft.lib, spec, data_dir, xml);
    xml << "</Fonts>\n";
    std::filesystem::create_directories(data_dir + "/Settings");
    for (const char* language : kLanguages) {
        const std::string path = data_dir + "/Settings/Fonts_" + language + ".xml";
        std::ofstream out(path, std::ios::binary);
        out << xml.str();
        if (!out) throw std::runtime_error("cannot write " + path);
    }
}

}  // namespace

ASSET_GENERATOR("fonts", GenerateFonts);
