// The level tool: its reading of the design format, the checks that fail the
// build on a broken level, and the files it writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "test_temp.h"
#include "design_parser.h"
#include "game_data_index.h"
#include "level_checker.h"
#include "level_tool.h"
#include "level_writer.h"

using namespace leveltool;

namespace {

const std::string kDataDir = std::string(VOVARO_SOURCE_DIR) + "/data";

// A small playable episode; the cases below replace single lines of it.
const std::string kGoodEpisode = R"(episode 1
glove 0
background meadow
music episode1_calm 0 episode1_anxious 0
level 1
palette 1 2 3
bonus 12 900 100
fragment_range 0 3
map
  G G G G
  . 1 2 .
  . .L1 .aL2 .
end
)";

// An episode fills its artefact: the text's level, then nine copies of it.
std::string TenLevels(const std::string& text) {
    const size_t at = text.find("\nlevel ");
    const size_t line_end = text.find('\n', at + 1);
    std::string out = text;
    for (int n = 2; n <= 10; ++n) out += "level " + std::to_string(n) + text.substr(line_end);
    return out;
}

// One line of the good episode replaced, and the message that must follow.
struct EditCase {
    const char* from;
    const char* to;
    const char* message;
};

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

std::vector<std::string> ParseErrors(const std::string& text, EpisodeDesign* out = nullptr) {
    EpisodeDesign episode;
    std::vector<std::string> errors;
    CDesignParser().Parse(text, "test.txt", episode, errors);
    if (out) *out = episode;
    return errors;
}

class LevelCheckerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        std::vector<std::string> errors;
        ASSERT_TRUE(data.Load(kDataDir, errors)) << (errors.empty() ? "" : errors[0]);
    }
    std::vector<std::string> CheckErrors(const std::string& text) {
        EpisodeDesign episode;
        std::vector<std::string> errors = ParseErrors(TenLevels(text), &episode);
        EXPECT_TRUE(errors.empty()) << errors[0];
        CLevelChecker(data).CheckEpisode(episode, errors);
        return errors;
    }
    static CGameDataIndex data;
};
CGameDataIndex LevelCheckerTest::data;

}  // namespace

TEST(DesignParserTest, ReadsCellsLevelsAndKeys) {
    EpisodeDesign episode;
    ASSERT_TRUE(ParseErrors(Replace(kGoodEpisode, "G G G G", "G G300 - G"), &episode).empty());
    ASSERT_EQ(episode.levels.size(), 1u);
    const LevelDesign& level = episode.levels[0];
    EXPECT_EQ(level.palette, (std::vector<int> {1, 2, 3}));
    ASSERT_EQ(level.bonuses.size(), 1u);
    EXPECT_EQ(level.bonuses[0].range_time, 900);
    EXPECT_EQ(level.width, 4);
    EXPECT_EQ(level.height, 3);
    EXPECT_EQ(level.At(1, 0).generator_delay, 300);
    EXPECT_EQ(level.At(2, 0).kind, CellDesign::kNone);
    EXPECT_EQ(level.At(2, 1).layers, 2);
    EXPECT_EQ(level.At(1, 2).lock, 1);
    EXPECT_EQ(level.At(1, 2).ball, -1);
    EXPECT_EQ(level.At(2, 2).ball, 0);
    EXPECT_EQ(level.At(2, 2).lock, 2);
}

TEST(DesignParserTest, BrokenLinesAreReportedWithTheirLine) {
    const EditCase cases[] = {
        {"  . 1 2 .", "  . 1 2", "map row of 3 cells"},
        {"  . 1 2 .", "  . X 2 .", "map cell 'X'"},
        {"  . 1 2 .", "  . .L 2 .", "'L' takes one digit"},
        {"  . 1 2 .", "  . .L12 2 .", "'L' takes one digit"},
        {"  . 1 2 .", "  . .b? 2 .", "unexpected characters"},
        {"G G G G", "G Gx G G", "the delay is not a number"},
        {"palette 1 2 3", "palette 1 two 3", "'two' is not a number"},
        {"bonus 12 900 100", "bonus 12 900", "'bonus' takes 3 numbers"},
        {"fragment_range 0 3", "fragment_rang 0 3", "unknown level key"},
        {"glove 0", "glov 0", "unknown episode key"},
        {"music episode1_calm 0 episode1_anxious 0", "music episode1_calm 0", "music needs"},
        {"end\n", "", "the last map has no 'end'"},
    };
    for (const auto& c : cases) {
        const std::vector<std::string> errors = ParseErrors(Replace(kGoodEpisode, c.from, c.to));
        ASSERT_FALSE(errors.empty()) << c.to;
        EXPECT_NE(errors[0].find(c.message), std::string::npos) << errors[0];
        EXPECT_EQ(errors[0].rfind("test.txt:", 0), 0u) << errors[0];
    }
}

TEST_F(LevelCheckerTest, TheGoodEpisodePasses) { EXPECT_TRUE(CheckErrors(kGoodEpisode).empty()); }

TEST_F(LevelCheckerTest, EveryBrokenReferenceFailsTheLevel) {
    const EditCase cases[] = {
        {"palette 1 2 3", "palette 1 2 77", "ball kind 77 is not in Settings\\Balls.xml"},
        {"palette 1 2 3", "palette 1 2 12", "is a bonus or a fragment"},
        {"palette 1 2 3", "palette 1 2 21", "is a bonus or a fragment"},
        {"palette 1 2 3", "palette 1 2", "at least three ball kinds"},
        {"palette 1 2 3", "palette 1 2 2", "twice in the palette"},
        {"bonus 12 900 100", "bonus 3 900 100", "not a bonus ball"},
        {"bonus 12 900 100", "bonus 12 900 900", "0 <= spread < time"},
        {"bonus 12 900 100", "bonus 12 900 100\nbonus 12 500 100", "a second timer"},
        {"  . .L1 .aL2 .", "  . .L1 .dL2 .", "beyond the palette"},
        {"  . .L1 .aL2 .", "  . .L5 .aL2 .", "lock strength"},
        {"  . 1 2 .", "  . 1 5 .", "more than 4 tile layers"},
        {"  . 1 2 .", "  - 1 2 .", "has no field cell below it"},
        {"G G G G", "- - - -", "no entry cell (G)"},
        {"  . 1 2 .", "  . . . .", "no puzzle tile"},
        {"G G G G", "G - - -", "no ball can reach the cell at (2, 1)"},
        {"  . .L1 .aL2 .", "  - .L1 .aL2 .\n  - . . .\n  - . . .\n  - . . .\n  - . . .", "would hold back every row"},
        {"fragment_range 0 3", "fragment_range 5 9", "no entry cell within fragment_range"},
        {"fragment_range 0 3", "fragment_range 3 0", "fragment_range needs"},
        {"background meadow", "background moon", "background set 'moon'"},
        {"music episode1_calm 0", "music nothing 0", "music 'nothing' is not in Settings\\Music.xml"},
        {"music episode1_calm 0", "music episode1_calm 3", "has no track 3"},
        {"glove 0", "glove 40", "no artefact 40"},
        {"level 1", "level 2", "numbered 1, 2, ..."},
    };
    for (const auto& c : cases) {
        const std::vector<std::string> errors = CheckErrors(Replace(kGoodEpisode, c.from, c.to));
        ASSERT_FALSE(errors.empty()) << c.to;
        bool found = false;
        for (const std::string& error : errors) found = found || error.find(c.message) != std::string::npos;
        EXPECT_TRUE(found) << c.to << " gave: " << errors[0];
    }
}

// Numbers the game would hold to its limits as it reads them (level_limits.h)
// fail the level at build time, through the same limits.
TEST_F(LevelCheckerTest, NumbersBeyondTheGamesLimitsFailTheLevel) {
    const EditCase cases[] = {
        {"bonus 12 900 100", "bonus 12 2000000000 1999999999", "bonus kind 12: its time is above 216000"},
        {"palette 1 2 3", "palette 1 2 3\nrows_fall_delay 2147483000", "rows_fall_delay must be 1 to 216000"},
        {"palette 1 2 3", "palette 1 2 3\nace_time 2147483", "ace_time must be 1 to 36000"},
        {"G G G G", "G G2147483000 G G", "the entry delay at (1, 0) must be 0 to 216000"},
        {"music episode1_calm 0 episode1_anxious 0", "music episode1_calm 0 episode1_anxious 0 nan",
         "the music's fade speed must be a number above 0"},
        {"music episode1_calm 0 episode1_anxious 0", "music episode1_calm 0 episode1_anxious 0 inf",
         "the music's fade speed must be a number above 0"},
    };
    for (const auto& c : cases) {
        const std::vector<std::string> errors = CheckErrors(Replace(kGoodEpisode, c.from, c.to));
        ASSERT_FALSE(errors.empty()) << c.to;
        bool found = false;
        for (const std::string& error : errors) found = found || error.find(c.message) != std::string::npos;
        EXPECT_TRUE(found) << c.to << " gave: " << errors[0];
    }
}

// Each refused value is named by the line it stands on (the good episode's
// lines: glove 2, background 3, music 4, level 5, palette 6, bonus 7,
// fragment_range 8, map 9, its rows 10 to 12).
TEST_F(LevelCheckerTest, EachRefusedValueNamesItsOwnLine) {
    struct LineCase {
        const char* from;
        const char* to;
        const char* message;
        int line;
    };
    const LineCase cases[] = {
        {"glove 0", "glove 40", "no artefact 40", 2},
        {"background meadow", "background moon", "background set 'moon'", 3},
        {"music episode1_calm 0 episode1_anxious 0", "music episode1_calm 0 episode1_anxious 0 nan",
         "the music's fade speed", 4},
        {"palette 1 2 3", "palette 1 2 77", "ball kind 77", 6},
        {"bonus 12 900 100", "bonus 12 900 900", "0 <= spread < time", 7},
        {"bonus 12 900 100", "bonus 12 900 100\nbonus 12 500 100", "a second timer", 8},
        {"palette 1 2 3", "palette 1 2 3\nrows_fall_delay 2147483000", "rows_fall_delay must be", 7},
        {"palette 1 2 3", "palette 1 2 3\nace_time 0", "ace_time must be", 7},
        {"palette 1 2 3", "palette 1 2 3\n\nrows_at_start 9", "rows_at_start out of the field", 8},
        {"palette 1 2 3", "palette 1 2 3\nbonus_probability 5 1", "bonus_probability needs", 7},
        {"palette 1 2 3", "palette 1 2 3\nmusic episode1_calm 0 episode1_anxious 0 nan", "the music's fade speed", 7},
        {"palette 1 2 3", "palette 1 2 3\nbackground moon", "background set 'moon'", 7},
        {"fragment_range 0 3", "fragment_range 3 0", "fragment_range needs", 8},
        {"G G G G", "G G2147483000 G G", "the entry delay at (1, 0)", 10},
        {"  . 1 2 .", "  . 1 5 .", "more than 4 tile layers at (2, 1)", 11},
        {"  . .L1 .aL2 .", "  . .L5 .aL2 .", "lock strength at (1, 2)", 12},
        {"G G G G", "G - - -", "no ball can reach the cell at (2, 1)", 11},
        {"  . .L1 .aL2 .", "  - .L1 .aL2 .\n  - . . .\n  - . . .\n  - . . .\n  - . . .", "would hold back every row",
         10},
        {"  . 1 2 .", "  . . . .", "no puzzle tile", 9},
    };
    for (const auto& c : cases) {
        const std::vector<std::string> errors = CheckErrors(Replace(kGoodEpisode, c.from, c.to));
        const auto found = std::find_if(errors.begin(), errors.end(),
                                        [&](const std::string& e) { return e.find(c.message) != std::string::npos; });
        ASSERT_NE(found, errors.end()) << c.to;
        EXPECT_EQ(found->rfind("test.txt:" + std::to_string(c.line) + ": ", 0), 0u) << *found;
    }
}

TEST_F(LevelCheckerTest, AnEpisodeHasOneLevelForEachFragmentOfItsArtefact) {
    EpisodeDesign episode;
    std::vector<std::string> errors = ParseErrors(kGoodEpisode, &episode);
    CLevelChecker(data).CheckEpisode(episode, errors);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("the artefact has 10 fragment cells for 1 levels"), std::string::npos) << errors[0];
}

TEST_F(LevelCheckerTest, EveryShippedLevelPasses) {
    std::vector<EpisodeDesign> episodes;
    std::vector<std::string> errors;
    EXPECT_TRUE(CLevelTool::Check(kDataDir, episodes, errors)) << (errors.empty() ? "" : errors[0]);
    EXPECT_FALSE(episodes.empty());
}

TEST_F(LevelCheckerTest, TheLevelFileHoldsWhatTheGameReads) {
    EpisodeDesign episode;
    ASSERT_TRUE(ParseErrors(Replace(kGoodEpisode, "G G G G", "G G300 G G"), &episode).empty());
    pugi::xml_document doc;
    CLevelWriter(data).BuildLevel(episode, episode.levels[0], doc);
    const pugi::xml_node config = doc.child("Level").child("Config");
    EXPECT_TRUE(config.child("State"));
    EXPECT_STREQ(doc.child("Level").child("Music").child("Normal").attribute("alias").value(), "episode1_calm");
    EXPECT_TRUE(doc.child("Level").child("Background").child("Layer"));
    // The palette kinds are copied whole, the bonus with its timer.
    EXPECT_TRUE(config.child("Balls").child("Ball").child("Match"));
    EXPECT_EQ(config.child("Balls").child("Bonus").attribute("bonus_type").as_int(), 2);
    EXPECT_EQ(config.child("Balls").child("Bonus").attribute("range_time").as_int(), 900);
    const pugi::xml_node field = config.child("Field");
    EXPECT_EQ(field.attribute("field_width").as_int(), 4);
    const pugi::xml_node entry = field.find_child_by_attribute("Cell", "type", "GENERATOR").next_sibling();
    EXPECT_EQ(entry.attribute("delay").as_int(), 300);
    EXPECT_EQ(entry.attribute("active").as_int(1), 0);
    // Two layers: the base tile, then the plates from the bottom up.
    pugi::xml_node layered;
    for (pugi::xml_node cell : field.children("Cell"))
        if (cell.attribute("x").as_int() == 2 && cell.attribute("y").as_int() == 1) layered = cell;
    std::vector<int> tiles;
    for (pugi::xml_node group : layered.children("Group")) tiles.push_back(group.attribute("tile").as_int());
    EXPECT_EQ(tiles.size(), 3u);
    EXPECT_EQ(tiles[1], 2);
    EXPECT_EQ(tiles[2], 3);
    // Start balls: the designer's kind and locks.
    int locked = 0;
    for (pugi::xml_node cell : doc.child("Level").child("Balls").children("Cell")) {
        locked += cell.attribute("lock").as_int() > 0;
        if (cell.attribute("x").as_int() == 2) {
            EXPECT_EQ(cell.child("Ball").attribute("graph_type").as_int(), 1);
        }
    }
    EXPECT_EQ(locked, 2);
}

TEST(LevelWriterTest, LockedBallsWithoutAKindMakeNoLine) {
    EpisodeDesign episode;
    ASSERT_TRUE(ParseErrors(Replace(kGoodEpisode, "  . .L1 .aL2 .", "  .L1 .L1 .L1 .L1\n  .L1 .L1 .L1 .L1"),
                            &episode)
                    .empty());
    const LevelDesign& level = episode.levels[0];
    const std::vector<int> kinds = CLevelWriter::StartBallKinds(level);
    for (int y = 0; y < level.height; ++y)
        for (int x = 0; x < level.width; ++x) {
            const auto at = [&](int cx, int cy) { return kinds[static_cast<size_t>(cy * level.width + cx)]; };
            const int k = at(x, y);
            if (k < 0) continue;
            if (x + 2 < level.width) {
                EXPECT_FALSE(k == at(x + 1, y) && k == at(x + 2, y)) << x << "," << y;
            }
            if (y + 2 < level.height) {
                EXPECT_FALSE(k == at(x, y + 1) && k == at(x, y + 2)) << x << "," << y;
            }
        }
}

// The game refuses a field larger than its screen and moves one that stands
// off it; the tool refuses both at build time. Cells of 70 pixels make the
// ten columns fit (700) but, centred where the tool puts them, run off the
// right edge; cells of 90 make them wider than the screen.
TEST(LevelCheckerScreenTest, AFieldTheGameWouldRefuseOrMoveFailsTheLevel) {
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("leveltool_screen_" + std::to_string(::getpid()));
    std::string wide = Replace(kGoodEpisode, "G G G G", "G G G G G G G G G G");
    wide = Replace(wide, "  . 1 2 .", "  . 1 2 . . . . . . .");
    wide = Replace(wide, "  . .L1 .aL2 .", "  . .L1 .aL2 . . . . . . .");
    EpisodeDesign episode;
    ASSERT_TRUE(ParseErrors(TenLevels(wide), &episode).empty());
    std::ifstream cfg_in(fs::path(kDataDir) / "Settings" / "GameCFG.xml");
    const std::string cfg((std::istreambuf_iterator<char>(cfg_in)), std::istreambuf_iterator<char>());
    const struct {
        const char* cell;
        const char* message;
    } cases[] = {
        {"36", nullptr},
        {"70", "the field placed at (140, 177) runs off the screen (800 x 600)"},
        {"90", "the field of 10 x 3 cells of 90 x 90 pixels is larger than the screen (800 x 600)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cell);
        fs::remove_all(root);
        fs::create_directories(root / "Settings");
        for (const auto& entry : fs::directory_iterator(fs::path(kDataDir) / "Settings"))
            if (entry.path().filename() != "GameCFG.xml")
                fs::create_symlink(entry.path(), root / "Settings" / entry.path().filename());
        const std::string size = std::string("\"") + c.cell + ".0\"";
        std::ofstream(root / "Settings" / "GameCFG.xml")
            << Replace(Replace(cfg, "cell_w=\"36.0\"", "cell_w=" + size), "cell_h=\"36.0\"", "cell_h=" + size);
        CGameDataIndex data;
        std::vector<std::string> errors;
        ASSERT_TRUE(data.Load(root.string(), errors)) << (errors.empty() ? "" : errors[0]);
        CLevelChecker(data).CheckEpisode(episode, errors);
        if (!c.message) {
            EXPECT_TRUE(errors.empty()) << errors[0];
            continue;
        }
        ASSERT_FALSE(errors.empty());
        EXPECT_NE(errors[0].find(c.message), std::string::npos) << errors[0];
    }
    fs::remove_all(root);
}

// A background set with more layers or tiles than the game keeps, or a layer
// whose speed is not finite, fails the levels that use it.
TEST(LevelCheckerBackgroundTest, ABackgroundTheGameWouldCutFailsTheLevel) {
    namespace fs = std::filesystem;
    const test_temp::TempDir temp("leveltool_background");
    const fs::path& root = temp.Path();
    fs::create_directories(root / "Settings");
    for (const auto& entry : fs::directory_iterator(fs::path(kDataDir) / "Settings"))
        if (entry.path().filename() != "Backgrounds.xml")
            fs::create_symlink(entry.path(), root / "Settings" / entry.path().filename());
    std::string crowd = "<Background set='crowd'><Layer speed='1'>";
    for (int i = 0; i < 300; ++i) crowd += "<Tile group_id='0' id='0'/>";
    crowd += "</Layer></Background>";
    std::ofstream(root / "Settings" / "Backgrounds.xml")
        << "<Backgrounds>" << crowd << "<Background set='broken'><Layer speed='nan'/></Background></Backgrounds>";
    CGameDataIndex data;
    std::vector<std::string> errors;
    ASSERT_TRUE(data.Load(root.string(), errors)) << (errors.empty() ? "" : errors[0]);
    const std::pair<const char*, const char*> cases[] = {
        {"crowd", "background set 'crowd' has 1 layers and 300 tiles; the game keeps 32 and 256"},
        {"broken", "background set 'broken' has a layer whose speed is not finite"},
    };
    for (const auto& [set, message] : cases) {
        SCOPED_TRACE(set);
        EpisodeDesign episode;
        ASSERT_TRUE(ParseErrors(TenLevels(Replace(kGoodEpisode, "background meadow", std::string("background ") + set)),
                                &episode)
                        .empty());
        errors.clear();
        CLevelChecker(data).CheckEpisode(episode, errors);
        bool found = false;
        for (const std::string& error : errors) found = found || error.find(message) != std::string::npos;
        EXPECT_TRUE(found) << (errors.empty() ? "no error" : errors[0]);
    }
}

TEST(LevelToolTest, ABrokenLevelStopsTheRunBeforeAnyFileIsWritten) {
    namespace fs = std::filesystem;
    const test_temp::TempDir temp("leveltool");
    const fs::path& root = temp.Path();
    fs::create_directories(root / "LevelDesigns");
    fs::create_directory_symlink(fs::path(kDataDir) / "Settings", root / "Settings");
    std::ofstream(root / "LevelDesigns" / "episode_1.txt") << Replace(kGoodEpisode, "palette 1 2 3", "palette 1 2 77");
    std::vector<std::string> errors;
    EXPECT_FALSE(CLevelTool::Run(root.string(), root.string(), errors));
    EXPECT_FALSE(errors.empty());
    EXPECT_FALSE(fs::exists(root / "Levels"));

    std::ofstream(root / "LevelDesigns" / "episode_1.txt") << TenLevels(kGoodEpisode);
    errors.clear();
    EXPECT_TRUE(CLevelTool::Run(root.string(), root.string(), errors)) << (errors.empty() ? "" : errors[0]);
    EXPECT_TRUE(fs::exists(root / "Levels" / "Episodes.xml"));
    EXPECT_TRUE(fs::exists(root / "Levels" / "Episode_0" / "Level_0.xml"));
}
