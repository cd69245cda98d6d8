#pragma once
// The languages, the fonts and the labels of the current language, and the
// program's one bitmap font. Every text of the game is printed from a label
// alias: the label's text is a printf format (formatted with up to two
// arguments, split into lines at "|"), its look comes with it.
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/formatter.h"
#include "engine/noncopyable.h"
#include "graphics/base_bitmap_font.h"
#include "graphics/label_desc.h"

class CBitmapFont;
class CTexturedRectsList;

struct LanguageDesc {
    std::string fonts_file;
    std::string labels_file;
    std::string name;
    int primary_id = 0;
};

class CFontKeeper : NonCopyable {
public:
    static CFontKeeper& Instance();

    CFontKeeper();
    ~CFontKeeper();

    // Loads the language's fonts and labels (reading the languages file first
    // when no language is known). An index out of range logs and takes
    // language 0; with no language at all nothing is loaded. A missing or
    // broken file throws from the XML layer.
    void SelectLanguage(int index);
    // The selected language, -1 before any.
    int GetSelectedLanguage() const { return _selected; }
    int GetLanguageCount();
    std::string GetLanguageName(int index);
    // The first language with that primary id, or -1.
    int GetLanguageIndex(int primary_id);

    // A copy of the label; an unknown alias logs and gives the default label.
    LabelDesc GetLabel(std::string_view alias) const;
    bool HasLabel(std::string_view alias) const { return _labels.count(alias) != 0; }

    // Callers switch the override on, set the style, print, and switch it off.
    void EnableStyleOverride(bool on) { _override = on ? 1 : 0; }
    void SetLabelStyle(const TextStyle& style);
    // Replaces only the override colour's red, green and blue; the override alpha stays.
    void SetStyleColor(uint32_t color) { _override_color = static_cast<int>(color); }

    // Lays the label out into the font's own batch and draws it at once.
    template <typename... Args>
    bool PrintLabel(float x, float y, std::string_view alias, const Args&... args) {
        static_assert(sizeof...(Args) <= 2, "a label takes at most two arguments");
        PrintfArg a[2];
        int i = 0;
        ((a[i++] = format_detail::ToPrintfArg(args)), ...);
        return PrintLabelArgs(x, y, alias, a[0], a[1]);
    }
    bool PrintLabelArgs(float x, float y, std::string_view alias, const PrintfArg& a, const PrintfArg& b);
    // The same layout into a caller's batch (a static text's own); false when
    // the label is missing or laying it out failed.
    bool LayoutLabelArgs(CTexturedRectsList* target, float x, float y, std::string_view alias,
                         const PrintfArg& a, const PrintfArg& b);
    // Draws the font's own batch.
    void RenderText();

    // The loaders, by path below the data tree ("Settings\Fonts_English.xml").
    void LoadLanguages();
    void LoadFonts(const std::string& path);
    void LoadLabels(const std::string& path);

    CBitmapFont* GetFont() const { return _font.get(); }
    const std::vector<FontDesc>& GetFontDescs() const { return _font_descs; }
    // The cached number of lines of a label, 0 while not known.
    int GetLabelLineCount(std::string_view alias) const;

private:
    struct LabelEntry {
        LabelDesc desc;
        int line_count = 0;
        bool misfit_logged = false;  // the text was found not to fit its arguments
    };
    void FormatLabel(LabelEntry& entry, const PrintfArg& a, const PrintfArg& b);

    bool LayoutLabel(CTexturedRectsList* target, float x, float y, std::string_view alias, const PrintfArg& a,
                     const PrintfArg& b);

    std::vector<LanguageDesc> _languages;
    std::map<std::string, LabelEntry, std::less<>> _labels;
    std::vector<FontDesc> _font_descs;
    std::unique_ptr<CBitmapFont> _font;
    int _override_alpha = -999;
    int _override_color = -999;
    uint32_t _depth = 0;
    float _override_height = -999.0f;
    uint8_t _override = 0;
    std::vector<std::string> _lines;  // the lines of the label last split
    std::string _formatted;           // work buffer of the last formatted text
    int _selected = -1;
};
