#pragma once
// Shared by the tests of the game scene: a data tree of the shipped settings
// with the small episodes of tests/game/levels in place of the shipped
// levels, a per-user folder with an opened profile store, the game's
// configuration, and a scene over a recording stand-in field.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include <unistd.h>

#include "dialog_test_support.h"
#include "engine/user_folder.h"
#include "engine/base_app.h"
#include "engine/game_clock.h"
#include "fake_scene_field.h"
#include "test_temp.h"
#include "field/game_cfg.h"
#include "field/level_cfg.h"
#include "game/c3d_game.h"
#include "game/game_results.h"
#include "graphics/explosion.h"
#include "profiles/app_params.h"
#include "profiles/game_start_request.h"
#include "profiles/user_profiles.h"

namespace game_test {

class GameSceneTest : public DialogTest {
protected:
    static std::filesystem::path Root() {
        return test_temp::ProcessDir() / "scene";
    }
    static std::filesystem::path Data() { return Root() / "data"; }

    void SetUp() override {
        DialogTest::SetUp();
        if (HasFatalFailure()) return;
        static const bool tree = MakeTree();
        ASSERT_TRUE(tree);
        PrepareUserFolderAt((Root() / "user").string());
        // The log read from here on is this folder's, whatever an earlier test left in another.
        log_mark_ = data_test::ReadLog().size();
        std::filesystem::current_path(Data());
        static const bool opened = [] {
            g_profiles.OpenProfiles();
            if (g_profiles.GetPlayerCount() == 0) g_profiles.AddPlayer("Ann");
            if (g_profiles.GetPlayerCount() == 1) g_profiles.AddPlayer("Bo");
            return g_profiles.GetPlayerCount() >= 2;
        }();
        ASSERT_TRUE(opened);
        g_profiles.SetActivePlayer(0);
        g_profiles.ErasePlayerSuspendedGame(0);
        g_profiles.ErasePlayerSuspendedGame(1);
        g_GameCFG.Reset(std::make_unique<CGameCfg>());
        g_GameCFG->LoadGameConfig();
        g_LevelCFG.Reset(std::make_unique<CLevelCfg>(*g_GameCFG));
        g_GameStartRequest = GameStartRequest {};
        g_AppParams.keys = 0;
        g_AppParams.third_number = 0;
        g_GameCompleted = 0;
        g_LastGameScore = 0;
        NewScene();
    }
    void TearDown() override {
        game.reset();
        // The program-wide hints keep what they loaded for later games.
        explosion::ReleaseExplosionManager();
        Frame();
        textures_before_ = CTextureManager::Instance().GetCount();
        g_LevelCFG.Reset();
        g_GameCFG.Reset();
        std::filesystem::current_path(VOVARO_DATA_DIR);
        DialogTest::TearDown();
    }

    // A fresh scene over a fresh stand-in field, initialised.
    void NewScene() {
        game.reset();
        auto fake = std::make_unique<FakeSceneField>();
        field = fake.get();
        game = std::make_unique<c3DGame>(std::move(fake));
        game->Init();
    }
    // The scene becomes the running one as the menu or the command line starts it.
    void Start(int episode, int level, int mode = 0) {
        g_GameStartRequest.episode = episode;
        g_GameStartRequest.level = level;
        g_GameStartRequest.mode = mode;
        g_GameStartRequest.start_flag = 1;
        game->SetActive(1);
        game->Reset();
        game->PendingHints().clear();
    }
    // One frame of the running program: update, then drawing.
    void Step() {
        GameClock().Advance(g_FramePeriod);  // as the main loop hands the scene
        game->Update();
        Frame([&] { game->Render(); });
    }
    // Frames until `done` holds (true) or `limit` frames have passed (false).
    bool StepUntil(const std::function<bool()>& done, int limit = 300) {
        for (int i = 0; i < limit; ++i) {
            if (done()) return true;
            Step();
        }
        return done();
    }
    // A level configuration with this ace time in seconds.
    static void SetAceTime(int seconds) {
        CXMLFile xml;
        xml.Parse("<Level><Config ace_time=\"" + std::to_string(seconds) + "\"/></Level>");
        g_LevelCFG->LoadLevelFieldConfig(xml.SelectSingleNode("//Level"));
    }
    static void SetScoreForLife(int score) {
        CXMLFile xml;
        xml.Parse("<GameCFG score_for_life=\"" + std::to_string(score) + "\"/>");
        g_GameCFG->LoadGameConfig(xml);
    }

    std::unique_ptr<c3DGame> game;
    FakeSceneField* field = nullptr;

private:
    // The shipped settings and art by link, the test levels as "Levels".
    static bool MakeTree() {
        namespace fs = std::filesystem;
        fs::remove_all(Root());
        fs::create_directories(Data());
        fs::create_directories(Root() / "user");
        for (const auto& entry : fs::directory_iterator(VOVARO_DATA_DIR)) {
            if (entry.path().filename() == "Levels") continue;
            fs::create_symlink(entry.path(), Data() / entry.path().filename());
        }
        fs::copy(fs::path(VOVARO_SOURCE_DIR) / "tests" / "game" / "levels", Data() / "Levels",
                 fs::copy_options::recursive);
        // Gone with the process's folder (the links only, never what they point at).
        return true;
    }
};

}  // namespace game_test
