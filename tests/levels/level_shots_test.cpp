// The first level of every episode drawn as the player sees it once the
// start rows have landed: the episode's background under the field, the
// tiles with their plates, the balls and the birds. The frames go to the
// pictures' folder "levels" (in the test's temporary folder, or under
// VOVARO_SHOTS_DIR to keep them for a look by eye); the test checks that the field
// stands inside the play area right of the panel and is filled with balls.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "field/balls_field.h"
#include "field/fake_game_scene_link.h"
#include "field/game_field.h"
#include "field/level_cfg.h"
#include "game/background.h"
#include "game/background_desc.h"
#include "field/glove.h"
#include "headless_player.h"
#include "levels_test_support.h"
#include "shot_png.h"

namespace {

constexpr int kPanelRight = 260;

class LevelShotsTest : public levels_test::LevelsTest {};

}  // namespace

TEST_F(LevelShotsTest, TheFirstLevelOfEveryEpisode) {
    field_test::FakeGameSceneLink scene;
    for (int episode = 0; episode < 5; ++episode) {
        SCOPED_TRACE(episode);
        scene.episode = episode;
        scene.level = 0;
        CGameField field;
        CHeadlessPlayer player(field, scene);
        CBackground background;
        const std::string path = "Levels\\Episode_" + std::to_string(episode) + "\\Level_0.xml";
        ASSERT_TRUE(player.Start(path));
        {
            const CXMLFile file(path);
            CBackgroundDesc desc;
            PARSERS::ParseBackground(file.SelectSingleNode("//Level/Background"), desc);
            background.Load(desc, 0);
        }
        for (int tick = 0; tick < 900; ++tick) {
            if (field.NeedShowBeginEpisode()) field.SetShowBeginEpisode(false);
            player.Tick();
        }
        BeginDraw();
        background.RenderLow(1, 900);
        field.Render();
        CGlove::Instance().Render();
        background.RenderHigh(1, 900);
        const std::vector<uint32_t> px = ReadBack();
        test_shots::SaveFramePng(px, 800, 600,
                                 test_shots::ShotsDir("levels") /
                                     ("episode_" + std::to_string(episode + 1) + "_level_1.png"));
        // The field lies right of the panel and on the screen.
        float left = 0, top = 0, right = 0, bottom = 0;
        g_LevelCFG->CellToScr(0, left, top);
        g_LevelCFG->CellToScr(g_LevelCFG->GetCellCount() - 1, right, bottom);
        EXPECT_GT(left, kPanelRight);
        EXPECT_GE(top, 0);
        EXPECT_LE(right + 36, 800);
        EXPECT_LE(bottom + 36, 600);
        // The start rows have landed: a good part of the playing cells hold a ball.
        int cells = 0, balls = 0;
        for (int cell = 0; cell < g_LevelCFG->GetCellCount(); ++cell) {
            if (!field.IsVovaroCell(cell)) continue;
            ++cells;
            balls += !field.GetBallsField()->IsCellEmpty(cell);
        }
        EXPECT_GT(balls * 3, cells);
        field.ClearLevel();
        background.Clear();
    }
}
