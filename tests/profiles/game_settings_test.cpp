#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/logger.h"
#include "engine/xml_file.h"
#include "file_size_limit.h"
#include "profiles/game_settings.h"
#include "temp_folder.h"

namespace {

const char kDefaults[] =
    "<?xml version=\"1.0\"?>\n<Config><Options windowed=\"1\" use_dinput=\"1\" first_run=\"1\" player=\"2\" "
    "snd_vol=\"70\" mus_vol=\"40\" gamma=\"3\" difficulty=\"1\" controller=\"0\" show_hints=\"1\" "
    "show_debug_info=\"1\" run_menu=\"0\" keys=\"1\" language=\"0\" extra=\"kept\"/>"
    "<Other value=\"also kept\"/></Config>\n";

// `depth` elements nested in each other.
std::string Nested(int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i) text += "<a>";
    for (int i = 0; i < depth; ++i) text += "</a>";
    return text;
}

class GameSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.EnterData();
        TempFolder::Write(folder.Data() / "ConfigDef.xml", kDefaults);
    }
    TempFolder folder;
    CGameSettings settings;
};

TEST_F(GameSettingsTest, DefaultsLoadThenTheFirstSaveWritesTheUserFileKeepingUnsavedKeys) {
    GameOptions o;
    ASSERT_TRUE(settings.LoadSettings(o));
    EXPECT_TRUE(o.windowed);
    EXPECT_TRUE(o.use_dinput);
    EXPECT_EQ(o.player, 2);
    EXPECT_EQ(o.snd_vol, 70);
    EXPECT_EQ(o.mus_vol, 40);
    EXPECT_EQ(o.gamma, 3);
    EXPECT_EQ(o.difficulty, 1);
    EXPECT_TRUE(o.show_hints);
    EXPECT_TRUE(o.show_debug_info);
    EXPECT_FALSE(o.run_menu);
    EXPECT_TRUE(o.keys);

    // The cache answers until the next save.
    std::filesystem::remove(folder.Data() / "ConfigDef.xml");
    GameOptions cached;
    ASSERT_TRUE(settings.LoadSettings(cached));
    EXPECT_EQ(cached.snd_vol, 70);
    TempFolder::Write(folder.Data() / "ConfigDef.xml", kDefaults);

    o.player = 5;
    o.snd_vol = 11;
    o.windowed = false;
    o.first_run = false;
    o.language = 1;
    o.keys = false;          // never saved
    o.run_menu = true;       // never saved
    o.show_debug_info = false;
    o.use_dinput = false;
    ASSERT_TRUE(settings.SaveSettings(o));
    ASSERT_TRUE(std::filesystem::exists(folder.User() / "Config.xml"));
    EXPECT_FALSE(std::filesystem::exists(folder.User() / "Config.xml.tmp"));
    EXPECT_EQ(TempFolder::Read(folder.Data() / "ConfigDef.xml"), kDefaults);

    CXMLFile saved((folder.User() / "Config.xml").string());
    CXMLNode node = saved.SelectSingleNode("//Config/Options");
    EXPECT_EQ(node.GetAttribute("player", ""), "5");
    EXPECT_EQ(node.GetAttribute("windowed", ""), "0");
    EXPECT_EQ(node.GetAttribute("keys", ""), "1");
    EXPECT_EQ(node.GetAttribute("run_menu", ""), "0");
    EXPECT_EQ(node.GetAttribute("extra", ""), "kept");
    EXPECT_EQ(saved.SelectSingleNode("//Config/Other").GetAttribute("value", ""), "also kept");

    // The next load reads the user's file.
    GameOptions reread;
    ASSERT_TRUE(settings.LoadSettings(reread));
    EXPECT_EQ(reread.player, 5);
    EXPECT_EQ(reread.snd_vol, 11);
    EXPECT_FALSE(reread.windowed);
    EXPECT_FALSE(reread.first_run);
    EXPECT_EQ(reread.language, 1);
    EXPECT_TRUE(reread.keys);
    EXPECT_FALSE(reread.run_menu);
    EXPECT_TRUE(reread.show_debug_info);
}

TEST_F(GameSettingsTest, MissingAttributesTakeTheirDefaults) {
    TempFolder::Write(folder.User() / "Config.xml", "<Config><Options/></Config>");
    GameOptions o;
    o.snd_vol = 99;
    ASSERT_TRUE(settings.LoadSettings(o));
    EXPECT_EQ(o.snd_vol, 16);
    EXPECT_EQ(o.mus_vol, 16);
    EXPECT_TRUE(o.first_run);
    EXPECT_TRUE(o.run_menu);
    EXPECT_FALSE(o.windowed);
    EXPECT_FALSE(o.keys);
}

TEST_F(GameSettingsTest, MissingOptionsFailsAndMissingFilesThrow) {
    TempFolder::Write(folder.Data() / "ConfigDef.xml", "<Config/>");
    GameOptions o;
    EXPECT_FALSE(settings.LoadSettings(o));
    EXPECT_FALSE(settings.SaveSettings(o));
    EXPECT_FALSE(std::filesystem::exists(folder.User() / "Config.xml"));

    std::filesystem::remove(folder.User() / "Config.xml");
    std::filesystem::remove(folder.Data() / "ConfigDef.xml");
    EXPECT_THROW(settings.LoadSettings(o), std::exception);
}

// A player's file that does not parse, is empty or has no "Options" is kept
// aside and the defaults serve; the next save writes a sound file again.
// So are settings no sound file holds: far larger than the game writes, or
// nested far below "Options" (written back indented at every save, a deep
// nesting grows with the square of its depth).
TEST_F(GameSettingsTest, ADamagedUserFileIsKeptAsideAndTheDefaultsServe) {
    const std::string options = "<Options snd_vol=\"5\"/>";
    const std::pair<std::string, std::string> cases[] = {
        {"<Config><Options snd_vol=\"5\"", "does not parse"},
        {"", "is empty"},
        {"<Config/>", "has no \"Options\" element"},
        {"<Config><Other snd_vol=\"5\"/></Config>", "has no \"Options\" element"},
        {"<Config>" + options + Nested(8) + "</Config>", "nests elements deeper than any settings file"},
        {"<Config><Options snd_vol=\"5\" big=\"" + std::string(1024 * 1024, 'b') + "\"/></Config>",
         "is larger than any settings file"},
    };
    for (const auto& [damaged, reason] : cases) {
        SCOPED_TRACE("Config.xml: '" + damaged.substr(0, 80) + "'");
        CGameSettings fresh;
        TempFolder::Write(folder.User() / "Config.xml", damaged);
        GameOptions o;
        ASSERT_TRUE(fresh.LoadSettings(o));
        EXPECT_EQ(o.snd_vol, 70) << "from ConfigDef.xml";
        EXPECT_FALSE(std::filesystem::exists(folder.User() / "Config.xml"));
        EXPECT_TRUE(TempFolder::Read(folder.User() / "Config.xml.bad") == damaged) << "kept as it was";
        const std::string log = TempFolder::Read(folder.User() / "log.html");
        EXPECT_NE(log.find("Config.xml' " + CLogger::EscapeHtml(reason) + "; kept as '"), std::string::npos) << log;
        ASSERT_TRUE(fresh.SaveSettings(o));
        CXMLFile saved((folder.User() / "Config.xml").string());
        EXPECT_EQ(saved.SelectSingleNode("//Config/Options").GetAttribute("snd_vol", ""), "70");
    }
}

// A nesting as deep as the file's size allows is refused without a walk that
// goes down one call per level.
TEST_F(GameSettingsTest, AVeryDeepFileIsRefusedAtLoad) {
    TempFolder::Write(folder.User() / "Config.xml",
                      "<Config>" + Nested(140000) + "<Options snd_vol=\"5\"/></Config>");
    GameOptions o;
    ASSERT_TRUE(settings.LoadSettings(o));
    EXPECT_EQ(o.snd_vol, 70) << "from ConfigDef.xml";
    EXPECT_TRUE(std::filesystem::exists(folder.User() / "Config.xml.bad"));
}

// What a player adds stays, down to a few levels below Options' children.
TEST_F(GameSettingsTest, AdditionsOfSoundDepthAreKept) {
    TempFolder::Write(folder.User() / "Config.xml",
                      "<Config><Options snd_vol=\"5\"/>" + Nested(7) + "</Config>");
    GameOptions o;
    ASSERT_TRUE(settings.LoadSettings(o));
    EXPECT_EQ(o.snd_vol, 5);
    ASSERT_TRUE(settings.SaveSettings(o));
    CXMLFile saved((folder.User() / "Config.xml").string());
    EXPECT_TRUE(saved.SelectSingleNode("/Config/a/a/a/a/a/a/a").IsValid());
    EXPECT_FALSE(std::filesystem::exists(folder.User() / "Config.xml.bad"));
}

// A file that reads well but would come back larger than a settings file may
// be (every quote of a quoted attribute written back as a reference) is not
// written back: the saved fields alone are, and the next start reads them.
TEST_F(GameSettingsTest, ASaveNeverWritesWhatCouldNotBeReadBack) {
    const std::string quotes(300 * 1024, '"');
    TempFolder::Write(folder.User() / "Config.xml", "<Config><Options snd_vol='5' q='" + quotes + "'/></Config>");
    GameOptions o;
    ASSERT_TRUE(settings.LoadSettings(o));
    o.snd_vol = 9;
    ASSERT_TRUE(settings.SaveSettings(o));
    EXPECT_LT(std::filesystem::file_size(folder.User() / "Config.xml"), 1024u);
    const std::string log = TempFolder::Read(folder.User() / "log.html");
    EXPECT_NE(log.find("would grow too large to be read back"), std::string::npos);

    CGameSettings next_start;
    ASSERT_TRUE(next_start.LoadSettings(o));
    EXPECT_EQ(o.snd_vol, 9);
    EXPECT_FALSE(std::filesystem::exists(folder.User() / "Config.xml.bad"));
}

// A save that does not fit on the disk keeps the player's file as it was,
// leaves no temporary file and is logged; the cache still answers.
TEST_F(GameSettingsTest, AFailedSaveKeepsTheOldFileAndLeavesNothingBeside) {
    // A file larger than the room left on the disk, which still takes the log's line.
    const std::string big(256 * 1024, 'b');
    TempFolder::Write(folder.User() / "Config.xml", "<Config><Options snd_vol=\"70\" big=\"" + big + "\"/></Config>");
    GameOptions o;
    ASSERT_TRUE(settings.LoadSettings(o));
    const std::string before = TempFolder::Read(folder.User() / "Config.xml");
    o.snd_vol = 3;
    {
        CLogger::Instance().Log(0, "the log is open");
        FileSizeLimit full_disk(std::filesystem::file_size(folder.User() / "log.html") + 4096);
        EXPECT_FALSE(settings.SaveSettings(o));
    }
    EXPECT_EQ(TempFolder::Read(folder.User() / "Config.xml"), before);
    EXPECT_FALSE(std::filesystem::exists(folder.User() / "Config.xml.tmp"));
    const std::string log = TempFolder::Read(folder.User() / "log.html");
    EXPECT_NE(log.find("Error: unable to save game settings! (write: File too large)"), std::string::npos) << log;
    GameOptions cached;
    ASSERT_TRUE(settings.LoadSettings(cached));
    EXPECT_EQ(cached.snd_vol, 70);
}

TEST_F(GameSettingsTest, GammaIsClampedToItsRange) {
    for (const auto& [text, gamma] : std::vector<std::pair<std::string, int>>{
             {"-4", 0}, {"7", 7}, {"11", 10}, {"2147483647", 10}, {"-2147483648", 0}}) {
        TempFolder::Write(folder.User() / "Config.xml", "<Config><Options gamma=\"" + text + "\"/></Config>");
        settings.Invalidate();
        GameOptions o;
        ASSERT_TRUE(settings.LoadSettings(o));
        EXPECT_EQ(o.gamma, gamma) << text;
    }
}

TEST(GameSettingsData, ShippedFilesHoldEveryKey) {
    TempFolder folder;
    for (const char* file : {"ConfigDef.xml", "Config.xml"}) {
        CXMLFile doc((std::filesystem::path(VOVARO_SOURCE_DIR) / "data" / file).string());
        CXMLNode node = doc.SelectSingleNode("//Config/Options");
        ASSERT_TRUE(node.IsValid()) << file;
        for (const char* key : {"windowed", "use_dinput", "first_run", "player", "snd_vol", "mus_vol", "gamma",
                                "difficulty", "controller", "show_hints", "show_debug_info", "run_menu", "keys",
                                "language"})
            EXPECT_NE(node.GetAttribute(key, "missing"), "missing") << file << ": " << key;
    }
}

}  // namespace

#include "profiles/settings_host.h"

namespace {

class FakeHost : public ISettingsHost {
public:
    bool IsFullscreen() const override { return fullscreen; }
    void SelectLanguage(int32_t index) override { selected = index; }
    int32_t FindLanguageById(int32_t id) const override { return id == 0x07 ? 2 : -1; }
    bool fullscreen = false;
    int32_t selected = -1;
};

TEST_F(GameSettingsTest, WindowModeAndLanguageHelpersStoreTheirSetting) {
    FakeHost host;
    SetSettingsHost(&host);
    CGameSettings& shared = CGameSettings::Instance();
    shared.Invalidate();

    host.fullscreen = true;
    OnWindowModeChanged();
    GameOptions o;
    ASSERT_TRUE(shared.LoadSettings(o));
    EXPECT_FALSE(o.windowed);

    SetLanguage(3);
    EXPECT_EQ(host.selected, 3);
    ASSERT_TRUE(shared.LoadSettings(o));
    EXPECT_EQ(o.language, 3);

    ::setenv("LC_ALL", "de_DE.UTF-8", 1);
    EXPECT_EQ(UserDefaultLanguageId(), 0x07);
    SelectDefaultLanguage();
    EXPECT_EQ(host.selected, 2);
    ::setenv("LC_ALL", "xx_YY", 1);
    SelectDefaultLanguage();  // no such language: the first one
    EXPECT_EQ(host.selected, 0);
    ::unsetenv("LC_ALL");

    SetSettingsHost(nullptr);
    shared.Invalidate();
}

}  // namespace
