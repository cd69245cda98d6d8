// Every shipped level as the game reads it: the episode list, and each level
// file loaded into the field (tiles built) and through the game scene's
// readers of its music and background, without an error in the log; what
// the field holds matches the level's design.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "engine/xml_node_list.h"
#include "field/fake_game_scene_link.h"
#include "field/game_field.h"
#include "field/tiles_field.h"
#include "game/background_desc.h"
#include "game/level_music_desc.h"
#include "levels_test_support.h"

namespace {

class ShippedLevelsTest : public levels_test::LevelsTest {};

bool HasFault(const std::string& log) {
    for (const char* mark : {"Error", "Assert failed", "Verify failed", "Warning"})
        if (log.find(mark) != std::string::npos) return true;
    return false;
}

}  // namespace

TEST_F(ShippedLevelsTest, TheEpisodeListNamesFiveEpisodesOfTenLevels) {
    const CXMLFile list("Levels\\Episodes.xml");
    const CXMLNodeList nodes = list.SelectNodes("//Episodes/Episode");
    ASSERT_EQ(nodes.GetLength(), 5);
    for (int e = 0; e < nodes.GetLength(); ++e) {
        EXPECT_EQ(nodes.GetItem(e).GetAttributeInt("level_count", 0), 10);
        EXPECT_EQ(nodes.GetItem(e).GetAttributeInt("glove_base_id", -1), e);
    }
}

TEST_F(ShippedLevelsTest, EveryLevelLoadsWithoutAFault) {
    field_test::FakeGameSceneLink scene;
    for (const leveltool::EpisodeDesign& episode : episodes_)
        for (const leveltool::LevelDesign& design : episode.levels) {
            const std::string path = "Levels\\Episode_" + std::to_string(episode.number - 1) + "\\Level_" +
                                     std::to_string(design.number - 1) + ".xml";
            SCOPED_TRACE(path);
            const size_t mark = data_test::ReadLog().size();
            const CXMLFile file(path);
            LevelMusicDesc music;
            ParseLevelMusic(file.SelectSingleNode("//Level/Music"), music);
            EXPECT_NE(music.Normal.track, MusicTrackRef::kNoTrack);
            EXPECT_FALSE(music.Anxious.alias.empty());
            CBackgroundDesc background;
            PARSERS::ParseBackground(file.SelectSingleNode("//Level/Background"), background);
            EXPECT_GE(background.layers.size(), 4u);

            CGameField field;
            ASSERT_TRUE(field.LoadConfig(file.SelectSingleNode("//Level")));
            field.GetTilesField()->Build();
            int layers = 0, entries = 0;
            for (const leveltool::CellDesign& cell : design.cells) {
                layers += cell.layers;
                entries += cell.kind == leveltool::CellDesign::kGenerator;
            }
            EXPECT_EQ(field.GetTilesField()->GetTotalLayers(), layers);
            EXPECT_EQ(static_cast<int>(field.GetTilesField()->GetGenerators().size()), entries);
            EXPECT_EQ(field.GetBallsField()->GetPalette().size(), design.palette.size());
            EXPECT_EQ(field.GetBallsField()->GetBonusTypes().size(), design.bonuses.size());
            const std::string log = data_test::ReadLog().substr(mark);
            EXPECT_FALSE(HasFault(log)) << log;
        }
}
