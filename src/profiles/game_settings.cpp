#include "profiles/game_settings.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "engine/file_opener.h"
#include "engine/logger.h"
#include "engine/user_folder.h"
#include "engine/xml_file.h"
#include "profiles/settings_host.h"

namespace {

ISettingsHost* g_settings_host = nullptr;

constexpr int kMaxGamma = 10;
const char kOptionsPath[] = "//Config/Options";

// The game writes settings of under a kilobyte, "Options" as the root's child
// with attributes only. A player's file far beyond that (a hand-made one, a
// damaged disk) is no settings file: written back indented at every save, an
// element nesting grows with the square of its depth. These bounds leave
// room for hand-made additions and refuse such files before the first save.
constexpr uintmax_t kMaxSettingsBytes = 1024 * 1024;
// Elements at a depth (the root at 1) beyond this: a few levels below Options' children.
const char kTooDeepPath[] = "/*/*/*/*/*/*/*/*/*";

// A player's file that does not parse, is empty, has no "Options" or is out of
// the bounds above would stop (or swamp) every start: it is kept as "Config.xml.bad" (replacing an older one) for
// whoever wants to look at it.
void MoveDamagedSettingsAside(const std::string& user_file, const char* reason) {
    const std::string aside = user_file + ".bad";
    std::error_code ec;
    std::filesystem::rename(user_file, aside, ec);
    if (ec) {
        CLogger::Instance().Log(2, "Error: '%s' %s and cannot be moved aside (%s); settings read from '%s'.",
                                user_file.c_str(), reason, ec.message().c_str(), CGameSettings::DefaultFileName());
    } else {
        CLogger::Instance().Log(2, "Error: '%s' %s; kept as '%s', settings read from '%s'.", user_file.c_str(), reason,
                                aside.c_str(), CGameSettings::DefaultFileName());
    }
}

// The player's file parsed, or null when it is damaged (then kept aside).
std::unique_ptr<CXMLFile> LoadUserDocument(const std::string& user_file) {
    std::error_code ec;
    const uintmax_t size = std::filesystem::file_size(user_file, ec);
    if (!ec && size == 0) {
        MoveDamagedSettingsAside(user_file, "is empty");
        return nullptr;
    }
    if (!ec && size > kMaxSettingsBytes) {
        MoveDamagedSettingsAside(user_file, "is larger than any settings file");
        return nullptr;
    }
    try {
        auto doc = std::make_unique<CXMLFile>(user_file);
        if (doc->SelectSingleNode(kTooDeepPath).IsValid()) {
            MoveDamagedSettingsAside(user_file, "nests elements deeper than any settings file");
        } else if (!doc->SelectSingleNode(kOptionsPath).IsValid()) {
            MoveDamagedSettingsAside(user_file, "has no \"Options\" element");
        } else {
            return doc;
        }
    } catch (const CXMLParseError&) {
        MoveDamagedSettingsAside(user_file, "does not parse");
    }
    return nullptr;
}

// The player's file when it exists, parses and holds the settings, else the
// program's defaults. The player's file is named by its full path so that a
// data package never stands in for it.
std::unique_ptr<CXMLFile> LoadSettingsDocument() {
    const std::string folder = UserFolderPath("all");
    const std::string user_file = folder + CGameSettings::UserFileName();
    // Without a user folder the name alone would find a file of the data tree.
    if (!folder.empty() && CFileOpener::FileExists(user_file)) {
        if (std::unique_ptr<CXMLFile> doc = LoadUserDocument(user_file)) return doc;
    }
    return std::make_unique<CXMLFile>(CGameSettings::DefaultFileName());
}

void WriteSavedFields(CXMLNode& node, const GameOptions& o) {
    node.SetAttributeInt("player", o.player);
    node.SetAttributeInt("snd_vol", o.snd_vol);
    node.SetAttributeInt("mus_vol", o.mus_vol);
    node.SetAttributeInt("gamma", o.gamma);
    node.SetAttributeInt("controller", o.controller);
    node.SetAttributeInt("difficulty", o.difficulty);
    node.SetAttributeBool("show_hints", o.show_hints);
    node.SetAttributeBool("first_run", o.first_run);
    node.SetAttributeInt("language", o.language);
    node.SetAttributeBool("windowed", o.windowed);
}

// A document holding the saved fields and nothing else.
std::unique_ptr<CXMLFile> SavedFieldsOnly(const GameOptions& o) {
    auto doc = std::make_unique<CXMLFile>();
    doc->CreateRoot("Config");
    CXMLNode options = doc->CreateNode("Options");
    doc->SelectSingleNode("/Config").AppendChild(options);
    WriteSavedFields(options, o);
    return doc;
}

}  // namespace

void SetSettingsHost(ISettingsHost* host) { g_settings_host = host; }
ISettingsHost* GetSettingsHost() { return g_settings_host; }

CGameSettings& CGameSettings::Instance() {
    static CGameSettings settings;
    return settings;
}

bool CGameSettings::LoadSettings(GameOptions& out) {
    if (!_needs_load) {
        out = _options;
        return true;
    }
    std::unique_ptr<CXMLFile> doc = LoadSettingsDocument();
    CXMLNode node = doc->SelectSingleNode(kOptionsPath);
    if (!node.IsValid()) {
        CLogger::Instance().Log(2, "Error: unable to load game settings!");
        return false;
    }
    GameOptions o;
    o.windowed = node.GetAttributeBool("windowed", false);
    o.use_dinput = node.GetAttributeBool("use_dinput", false);
    o.first_run = node.GetAttributeBool("first_run", true);
    o.player = node.GetAttributeInt("player", 0);
    o.snd_vol = node.GetAttributeInt("snd_vol", 16);
    o.mus_vol = node.GetAttributeInt("mus_vol", 16);
    o.gamma = std::clamp(node.GetAttributeInt("gamma", 0), 0, kMaxGamma);
    o.difficulty = node.GetAttributeInt("difficulty", 0);
    o.controller = node.GetAttributeInt("controller", 0);
    o.show_hints = node.GetAttributeBool("show_hints", false);
    o.show_debug_info = node.GetAttributeBool("show_debug_info", false);
    o.run_menu = node.GetAttributeBool("run_menu", true);
    o.keys = node.GetAttributeBool("keys", false);
    o.language = node.GetAttributeInt("language", 0);
    _options = o;
    _needs_load = 0;
    out = o;
    return true;
}

bool CGameSettings::SaveSettings(const GameOptions& o) {
    std::unique_ptr<CXMLFile> doc = LoadSettingsDocument();
    CXMLNode node = doc->SelectSingleNode(kOptionsPath);
    bool ok = node.IsValid();
    if (ok) {
        WriteSavedFields(node, o);
        // What the file holds beside the saved fields stays, unless written
        // back it would no longer pass for a settings file (characters that
        // come back as references, indentation).
        if (doc->GetSavedText().size() > kMaxSettingsBytes) {
            CLogger::Instance().Log(2, "Error: the settings would grow too large to be read back; "
                                       "only the game's own are saved.");
            doc = SavedFieldsOnly(o);
        }
        // Saved aside and renamed over the old file, so a run that ends in
        // the middle of a save, or a full disk, never leaves a broken "Config.xml".
        const std::string folder = UserFolderPath("all");
        std::string error = "no user folder";
        ok = !folder.empty() && doc->Save(folder + UserFileName(), &error);
        if (!ok) CLogger::Instance().Log(2, "Error: unable to save game settings! (%s)", error.c_str());
    } else {
        CLogger::Instance().Log(2, "Error: unable to save game settings!");
    }
    if (!ok) return false;
    _needs_load = 1;
    return true;
}

void OnWindowModeChanged() {
    ISettingsHost* host = GetSettingsHost();
    if (!host) {
        CLogger::Instance().Log(2, "Error: no display to ask for the window mode!");
        return;
    }
    GameOptions o;
    if (!CGameSettings::Instance().LoadSettings(o)) return;
    o.windowed = !host->IsFullscreen();
    CGameSettings::Instance().SaveSettings(o);
}

void SetLanguage(int32_t index) {
    if (ISettingsHost* host = GetSettingsHost())
        host->SelectLanguage(index);
    else
        CLogger::Instance().Log(2, "Error: no font keeper to select language %d!", index);
    GameOptions o;
    if (!CGameSettings::Instance().LoadSettings(o)) return;
    o.language = index;
    CGameSettings::Instance().SaveSettings(o);
}

void SelectDefaultLanguage() {
    int32_t index = 0;
    if (ISettingsHost* host = GetSettingsHost()) {
        index = host->FindLanguageById(UserDefaultLanguageId() & 0x3FF);
        if (index < 0) index = 0;
    }
    SetLanguage(index);
}

int32_t UserDefaultLanguageId() {
    // The locale's language code, as the C library's environment gives it.
    const char* locale = nullptr;
    for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* v = std::getenv(var);
        if (v && *v) {
            locale = v;
            break;
        }
    }
    std::string code;
    for (const char* p = locale ? locale : ""; *p && std::isalpha(static_cast<unsigned char>(*p)); ++p)
        code += static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));

    struct Language {
        const char* code;
        int32_t id;
    };
    static const Language kLanguages[] = {
        {"zh", 0x04}, {"cs", 0x05}, {"da", 0x06}, {"de", 0x07}, {"el", 0x08}, {"en", 0x09}, {"es", 0x0a},
        {"fi", 0x0b}, {"fr", 0x0c}, {"hu", 0x0e}, {"it", 0x10}, {"ja", 0x11}, {"ko", 0x12}, {"nl", 0x13},
        {"nb", 0x14}, {"no", 0x14}, {"pl", 0x15}, {"pt", 0x16}, {"ro", 0x18}, {"ru", 0x19}, {"sv", 0x1d},
        {"tr", 0x1f}, {"uk", 0x22}};
    for (const Language& l : kLanguages)
        if (code == l.code) return l.id;
    return 0x09;
}
