#include "graphics/font_keeper.h"

#include "engine/helpers.h"
#include "engine/logger.h"
#include "engine/xml_file.h"
#include "engine/xml_node_list.h"
#include "graphics/bitmap_font.h"
#include "graphics/textured_rects_list.h"

namespace {

const char* const kSettingsFolder = "Settings\\";
const char* const kLanguagesFile = "Languages.xml";
constexpr size_t kMaxLabelText = 512;   // longer label texts are cut
constexpr size_t kFormatBuffer = 512;   // a formatted label holds at most 511 characters

}  // namespace

CFontKeeper& CFontKeeper::Instance() {
    static CFontKeeper keeper;
    return keeper;
}

CFontKeeper::CFontKeeper() = default;
CFontKeeper::~CFontKeeper() = default;

void CFontKeeper::LoadLanguages() {
    CXMLFile file(std::string(kSettingsFolder) + kLanguagesFile);
    CXMLNodeList nodes = file.SelectNodes("//Languages/Language");
    std::vector<LanguageDesc> languages;
    for (int i = 0; i < nodes.GetLength(); ++i) {
        CXMLNode node = nodes.GetItem(i);
        LanguageDesc lang;
        lang.fonts_file = node.GetAttribute("fonts_file", "");
        lang.labels_file = node.GetAttribute("labels_file", "");
        lang.name = node.GetAttribute("name", "");
        lang.primary_id = node.GetAttributeInt("primary_id", 0);
        languages.push_back(std::move(lang));
    }
    _languages = std::move(languages);
}

void CFontKeeper::SelectLanguage(int index) {
    if (_languages.empty()) LoadLanguages();
    if (_languages.empty()) {
        // Nothing to fall back to: the fonts and labels stay as they were.
        CLogger::Instance().Log(2, "Error: No language in '%s%s'!", kSettingsFolder, kLanguagesFile);
        _selected = -1;
        return;
    }
    if (index < 0 || index >= GetLanguageCount()) {
        CLogger::Instance().Log(2, "Error: Incorrect language #%d selected!", index);
        index = 0;
    }
    const LanguageDesc& lang = _languages[index];
    LoadFonts(kSettingsFolder + lang.fonts_file);
    LoadLabels(kSettingsFolder + lang.labels_file);
    _selected = index;
}

int CFontKeeper::GetLanguageCount() { return static_cast<int>(_languages.size()); }

std::string CFontKeeper::GetLanguageName(int lang_index) {
    if (!ASSERT(lang_index < GetLanguageCount()) || lang_index < 0) return std::string();
    return _languages[lang_index].name;
}

int CFontKeeper::GetLanguageIndex(int primary_id) {
    if (_languages.empty()) LoadLanguages();
    for (size_t i = 0; i < _languages.size(); ++i)
        if (_languages[i].primary_id == primary_id) return static_cast<int>(i);
    return -1;
}

void CFontKeeper::LoadFonts(const std::string& path) {
    CXMLFile file(path);
    CXMLNodeList fonts = file.SelectNodes("//Fonts/Font");
    _font_descs.clear();
    _font_descs.reserve(fonts.GetLength());
    for (int f = 0; f < fonts.GetLength(); ++f) {
        CXMLNode font_node = fonts.GetItem(f);
        FontDesc& desc = _font_descs.emplace_back();
        desc.texture = font_node.GetAttribute("texture", "");
        CXMLNodeList lines = font_node.SelectNodes("Line");
        int line_count = lines.GetLength();
        if (line_count > MAX_LINES_IN_FONT) {
            CLogger::Instance().Log(2, "Error: Too much lines in font %d! Cropping...", f);
            line_count = MAX_LINES_IN_FONT;
        }
        for (int l = 0; l < line_count; ++l) {
            CXMLNode line_node = lines.GetItem(l);
            FontLine& line = desc.lines[l];
            line.y_top = static_cast<uint32_t>(line_node.GetAttributeInt("y_top", 0));
            line.y_bottom = static_cast<uint32_t>(line_node.GetAttributeInt("y_bottom", 0));
            CXMLNodeList letters = line_node.SelectNodes("Letter");
            int letter_count = letters.GetLength();
            if (letter_count > MAX_LETTERS_IN_LINE) {
                CLogger::Instance().Log(2, "Error: Too much letters in line %d of font! Cropping...", l);
                letter_count = MAX_LETTERS_IN_LINE;
            }
            for (int j = 0; j < letter_count; ++j) {
                CXMLNode letter = letters.GetItem(j);
                const int ascii = letter.GetAttributeInt("ascii", -999);
                if (ascii == -999) {
                    const std::string ch = letter.GetAttribute("char", " ");
                    line.letters[j] = static_cast<uint8_t>(ch.empty() ? '\0' : ch[0]);
                } else {
                    line.letters[j] = static_cast<uint8_t>(ascii & 0xFF);
                }
                line.positions[j] = static_cast<uint32_t>(letter.GetAttributeInt("pos_x", 0));
            }
            line.letter_count = static_cast<uint32_t>(letter_count);
            line.positions[letter_count] = static_cast<uint32_t>(line_node.GetAttributeInt("x_right", 0));
        }
        desc.line_count = static_cast<uint32_t>(line_count);
    }
    // The new font replaces the old one with all its batches.
    auto font = std::make_unique<CBitmapFont>();
    font->ResetStyle();
    for (const FontDesc& desc : _font_descs) font->AddFont(desc);
    _font = std::move(font);
}

void CFontKeeper::LoadLabels(const std::string& path) {
    CXMLFile file(path);
    CXMLNodeList nodes = file.SelectNodes("//labels/label");
    _labels.clear();
    std::vector<int> offset;
    for (int i = 0; i < nodes.GetLength(); ++i) {
        CXMLNode node = nodes.GetItem(i);
        LabelEntry entry;
        LabelDesc& d = entry.desc;
        d.alias = node.GetAttribute("alias", "");
        d.font_id = node.GetAttributeInt("font_id", 0);
        d.style.height = node.GetAttributeFloat("height", 0.0f);
        d.style.color = StrToColor(node.GetAttribute("color", "FFFFFFFF"));
        d.style.spacing = node.GetAttributeInt("spacing", 0);
        const std::string align = node.GetAttribute("align", "");
        d.alignment = align == "RIGHT" ? 1 : align == "CENTER" ? 2 : 0;
        d.text = node.GetValue();
        if (d.text.size() >= kMaxLabelText) {
            CLogger::Instance().Log(3, "Warning: Label '%s' is too long! Truncating to %u symbols...",
                                    d.alias.c_str(), static_cast<unsigned>(kMaxLabelText));
            d.text.resize(kMaxLabelText);
        }
        d.style.shadow = node.GetAttributeBool("shadow", false) ? 1 : 0;
        d.style.shadow_color = StrToColor(node.GetAttribute("shadow_color", "645B5B5B"));
        TokenizeInts(&offset, node.GetAttribute("shadow_offset", "1 1"), " ,");
        d.style.shadow_offset = offset.size() >= 2
                                    ? CVector2(static_cast<float>(offset[0]), static_cast<float>(offset[1]))
                                    : CVector2(1.0f, 1.0f);
        // The first label of an alias stays.
        _labels.emplace(d.alias, std::move(entry));
    }
}

void CFontKeeper::FormatLabel(LabelEntry& entry, const PrintfArg& a, const PrintfArg& b) {
    // Only arguments that the text's conversions take are passed; a text that
    // does not fit them is shown as written (said once per label, not per frame).
    FormatArgType types[2];
    size_t count = 0;
    for (const PrintfArg* arg : {&a, &b}) {
        if (arg->type == PrintfArg::kInt) types[count++] = FormatArgType::Int;
        else if (arg->type == PrintfArg::kFloat) types[count++] = FormatArgType::Float;
        else if (arg->type == PrintfArg::kString) types[count++] = FormatArgType::Text;
    }
    const std::string& text = entry.desc.text;
    if (!FormatMatchesArgs(text, std::span<const FormatArgType>(types, count))) {
        if (!entry.misfit_logged) {
            CLogger::Instance().Log(2, "Warning: Label '%s' does not fit its arguments, shown as written.",
                                    entry.desc.alias.c_str());
            entry.misfit_logged = true;
        }
        _formatted.assign(text, 0, kFormatBuffer - 1);
        return;
    }
    char buffer[kFormatBuffer];
    ParametricSnprintf(buffer, sizeof(buffer), text.c_str(), a, b);
    _formatted.assign(buffer);
}

LabelDesc CFontKeeper::GetLabel(std::string_view alias) const {
    auto it = _labels.find(alias);
    if (it == _labels.end()) {
        CLogger::Instance().Log(2, "Error: Label '%s' not found!", std::string(alias).c_str());
        return LabelDesc();
    }
    return it->second.desc;
}

int CFontKeeper::GetLabelLineCount(std::string_view alias) const {
    auto it = _labels.find(alias);
    return it == _labels.end() ? 0 : it->second.line_count;
}

void CFontKeeper::SetLabelStyle(const TextStyle& style) {
    _override_color = static_cast<int>(style.color);
    _override_alpha = static_cast<int>(style.color >> 24);
    _override_height = style.height;
}

bool CFontKeeper::LayoutLabel(CTexturedRectsList* target, float x, float y, std::string_view alias,
                              const PrintfArg& a, const PrintfArg& b) {
    auto it = _labels.find(alias);
    if (it == _labels.end()) {
        CLogger::Instance().Log(2, "Error: Label '%s' not found!", std::string(alias).c_str());
        return false;
    }
    ASSERT_THROW_IF_FAILED(_font.get() != NULL);
    LabelEntry& entry = it->second;
    const LabelDesc& label = entry.desc;

    const float height = (_override && _override_height != -999.0f) ? _override_height : label.style.height;
    const uint32_t color =
        (_override && _override_color != -999) ? static_cast<uint32_t>(_override_color) : label.style.color;
    // An unknown font id leaves the font that was active.
    _font->SetActiveFont(label.font_id);
    _font->SetParams(label.alignment, height, static_cast<float>(label.style.spacing));
    _font->SetColor(color);
    _font->SetZ(_depth);
    _font->SetShadow(label.style.shadow != 0);
    _font->SetShadowColor(label.style.shadow_color);
    _font->SetShadowOffset(label.style.shadow_offset);
    _font->SetAlpha((_override && _override_alpha != -999) ? static_cast<uint32_t>(_override_alpha)
                                                            : label.style.color >> 24);

    FormatLabel(entry, a, b);

    if (entry.line_count != 1) {
        size_t count = 0, start = 0;
        while (start <= _formatted.size()) {
            size_t bar = _formatted.find('|', start);
            if (bar == std::string::npos) bar = _formatted.size();
            if (bar > start) {
                if (count == _lines.size()) _lines.emplace_back();
                _lines[count++].assign(_formatted, start, bar - start);
            }
            start = bar + 1;
        }
        _lines.resize(count);
        entry.line_count = static_cast<int>(count);
    }

    _font->BeginText(target, _formatted.size());
    for (int i = 0; i < entry.line_count; ++i) {
        // A label of one line prints its whole formatted text, bars that an
        // argument brought in and what follows them included.
        const std::string_view line = entry.line_count >= 2 ? std::string_view(_lines[i]) : _formatted;
        _font->AddText(target, x, y + static_cast<float>(i) * (height * 0.01f + height), line);
    }
    return true;
}

bool CFontKeeper::LayoutLabelArgs(CTexturedRectsList* target, float x, float y, std::string_view alias,
                                  const PrintfArg& a, const PrintfArg& b) {
    try {
        return LayoutLabel(target, x, y, alias, a, b);
    } catch (...) {
        CLogger::Instance().Log(2, "Error: Unable to print label '%s'", std::string(alias).c_str());
    }
    return false;
}

bool CFontKeeper::PrintLabelArgs(float x, float y, std::string_view alias, const PrintfArg& a, const PrintfArg& b) {
    try {
        if (!LayoutLabel(nullptr, x, y, alias, a, b)) return false;
        RenderText();
        return true;
    } catch (...) {
        CLogger::Instance().Log(2, "Error: Unable to print label '%s'", std::string(alias).c_str());
    }
    return false;
}

void CFontKeeper::RenderText() {
    ASSERT_THROW_IF_FAILED(_font.get() != NULL);
    _font->RenderText();
}
