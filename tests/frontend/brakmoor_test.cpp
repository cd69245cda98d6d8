// The application object's start: the scenes in their order, the first scene
// by the command line and the "run_menu" setting, the music list's patterns
// and a missing episode list.
#include "frontend/brakmoor.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <map>
#include <string>
#include <vector>

#include "engine/sound_keeper.h"
#include "field/field_globals.h"
#include "frontend/game_menu.h"
#include "game/c3d_game.h"
#include "scene_test_support.h"
#include "test_temp.h"

using namespace scene_test;

namespace {

// Remembers the music it is asked to register.
class MusicKeeper : public menu_test::MenuSoundKeeper {
public:
    std::map<std::string, CMusicDesc> music;
    bool LoadMusic(const std::string& alias, const CMusicDesc& desc) override {
        music[alias] = desc;
        return alias != "broken";
    }
};

class BrakmoorTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        ASSERT_TRUE(InitFieldGlobals());
        g_profiles.OpenProfiles();
    }
    void TearDown() override {
        g_Game.Reset();
        ShutdownFieldGlobals();
        CGameSettings::Instance().Invalidate();
        SceneTest::TearDown();
        scratch_.reset();
    }
    void WriteSettings(bool run_menu) {
        TempFolder::Write(ConfigPath(), std::string("<Config><Options windowed=\"1\" run_menu=\"") +
                                            (run_menu ? "1" : "0") + "\"/></Config>");
        CGameSettings::Instance().Invalidate();
    }
    // A data folder of the test's own with one file in it; it becomes current.
    std::filesystem::path ScratchData(const std::string& file, const std::string& text) {
        scratch_ = std::make_unique<test_temp::TempDir>("brakmoor");
        const std::filesystem::path& dir = scratch_->Path();
        std::filesystem::create_directories((dir / file).parent_path());
        TempFolder::Write(dir / file, text);
        std::filesystem::current_path(dir);
        return dir;
    }

    std::unique_ptr<test_temp::TempDir> scratch_;
};

TEST_F(BrakmoorTest, TheFirstSceneFollowsTheCommandLineAndTheRunMenuSetting) {
    ASSERT_TRUE(store.AddPlayer("ANN"));
    g_profiles.OpenProfiles();
    // The shipped list: five episodes of ten levels. A level it does not
    // hold opens the menu, or starts nothing when the menu is switched off.
    const struct {
        int32_t episode, level;
        bool run_menu;
        const char* first;
        bool refused;
    } cases[] = {
        {GameStartRequest::kNoEpisode, 0, true, "Menu", false},
        {GameStartRequest::kNoEpisode, 0, false, "Game", false},
        {2, 0, true, "Game", false},
        {4, 9, false, "Game", false},
        {0, 10, true, "Menu", false},
        {99, 99, true, "Menu", false},
        {0, 10, false, "Menu", true},
        {5, 0, false, "Menu", true},
        {-1, 0, false, "Menu", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.episode) + " " + std::to_string(c.level) +
                     (c.run_menu ? " run_menu on" : " run_menu off"));
        WriteSettings(c.run_menu);
        g_GameStartRequest = GameStartRequest();
        g_GameStartRequest.episode = c.episode;
        g_GameStartRequest.level = c.level;
        g_GameCompleted = 1;
        g_LastGameScore = 77;
        CBrakmoor app(c3DGame::Instance());
        testing::internal::CaptureStderr();
        app.Init();
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(app.GetFirstScene(), c.first);
        const bool missing = c.refused || (c.episode != GameStartRequest::kNoEpisode && c.first == std::string("Menu"));
        EXPECT_EQ(said.find("Error: there is no level") != std::string::npos, missing) << said;
        EXPECT_EQ(app.IsStartRefused(), c.refused);
        std::vector<std::string> names;
        for (const AScene* s : app.Scenes()) names.push_back(s->GetName());
        EXPECT_EQ(names, (std::vector<std::string> {"Menu", "Selector", "Game"}));
        for (const AScene* s : app.Scenes())
            EXPECT_EQ(s->IsActive(), !c.refused && s->GetName() == c.first) << s->GetName();
        if (c.refused) {
            EXPECT_FALSE(app.Update()) << "the run ends at once";
        }
        EXPECT_EQ(g_GameStartRequest.episode_count, 5);
        EXPECT_EQ(g_GameCompleted, 0);
        EXPECT_EQ(g_LastGameScore, 0);
        app.Exit();
        c3DGame::Instance().SetActive(0);  // the program's one game scene serves the next case
    }
}

// A level named on the command line before any player exists: the menu asks
// for the first player's name, then starts that level.
TEST_F(BrakmoorTest, TheCommandLinesLevelWaitsForTheFirstPlayersName) {
    ASSERT_EQ(g_profiles.GetPlayerCount(), 0u);
    WriteSettings(true);
    g_GameStartRequest = GameStartRequest();
    g_GameStartRequest.episode = 2;
    g_GameStartRequest.level = 3;
    CBrakmoor app(c3DGame::Instance());
    app.Init();
    EXPECT_EQ(app.GetFirstScene(), "Menu");
    CGameMenu* menu = app.GetMenu();
    ASSERT_TRUE(menu->IsGameStartHeld());
    EXPECT_EQ(menu->GetState(), CGameMenu::MenuState::Profiles);
    EXPECT_NE(NewLog().find("No player yet"), std::string::npos);

    ASSERT_TRUE(g_profiles.AddPlayer("ANN"));
    g_profiles.SetActivePlayer(0);
    menu->GetFirstPlayerPanel().SetResult(CAddUserDialog::kResultAdded);
    menu->Update();
    EXPECT_FALSE(menu->IsGameStartHeld());
    EXPECT_EQ(menu->GetNextScene(), "Game");
    EXPECT_EQ(g_GameStartRequest.episode, 2);
    EXPECT_EQ(g_GameStartRequest.level, 3);
    EXPECT_EQ(g_GameStartRequest.mode, 0);
    app.Exit();
}

TEST_F(BrakmoorTest, MusicPatternsAreReadAsNumbersInOrder) {
    auto keeper = std::make_unique<MusicKeeper>();
    MusicKeeper* music = keeper.get();
    core().SetSoundKeeper(std::move(keeper));
    ScratchData("Settings/Music.xml",
                "<Music><File name=\"Music\\a.xm\" patterns=\"0, 4 8\" alias=\"menu\"/>"
                "<File name=\"Music\\b.xm\" alias=\"plain\"/>"
                "<File name=\"Music\\c.xm\" patterns=\"3\" alias=\"broken\"/></Music>");
    LoadMusic();
    ASSERT_EQ(music->music.size(), 3u);
    EXPECT_EQ(music->music["menu"].file_name, "Music\\a.xm");
    EXPECT_EQ(music->music["menu"].patterns, (std::vector<int> {0, 4, 8}));
    EXPECT_EQ(music->music["plain"].patterns, (std::vector<int> {0}));
    EXPECT_NE(NewLog().find("Error: Failed to load music 'broken'!"), std::string::npos);
    EXPECT_EQ(NewLog().find("Error: Failed to load music 'menu'!"), std::string::npos);
}

// Without its music list the game starts all the same, silent, and says why.
TEST_F(BrakmoorTest, AMissingMusicListIsLoggedAndTheGameGoesOnSilent) {
    auto keeper = std::make_unique<MusicKeeper>();
    MusicKeeper* music = keeper.get();
    core().SetSoundKeeper(std::move(keeper));
    ScratchData("Settings/Other.xml", "<Other/>");
    EXPECT_NO_THROW(LoadMusic());
    EXPECT_TRUE(music->music.empty());
    EXPECT_NE(NewLog().find("Error: the music list 'Settings\\Music.xml' cannot be read; the game plays without music."),
              std::string::npos)
        << NewLog();
}

TEST_F(BrakmoorTest, WithoutEpisodesTheCountStaysAndTheErrorIsLogged) {
    g_GameStartRequest.episode_count = 3;
    CBrakmoor app(c3DGame::Instance());
    ScratchData("Levels/Episodes.xml", "<Episodes/>");
    app.LoadEpisodes();
    EXPECT_NE(NewLog().find("Error: No episodes!. File=Dudidir2"), std::string::npos) << NewLog();
    EXPECT_EQ(g_GameStartRequest.episode_count, 0) << "an empty list counts none";
}

}  // namespace
