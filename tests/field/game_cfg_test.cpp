// The game configuration: its keys and defaults, loading over them, the
// cached sizes, and the shipped GameCFG.xml against the other data files.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <typeinfo>

#include "engine/data_test_support.h"
#include "field/game_cfg.h"
#include "field/graph_obj_manager.h"
#include "field_test_support.h"

namespace {

using data_test::ScratchTest;

struct Key {
    const char* name;
    const std::type_info& type;
    const char* value;  // the default as text
};

// Every key with its type and default.
const Key kKeys[] = {
    {"cell_w", typeid(float), "36"},
    {"cell_h", typeid(float), "36"},
    {"ball_w", typeid(float), "36"},
    {"ball_h", typeid(float), "36"},
    {"enable_empty_swap", typeid(bool), "0"},
    {"score_for_life", typeid(int), "50000"},
    {"start_lives", typeid(int), "3"},
    {"ball_explosion", typeid(std::string), ""},
    {"vovaro_explosion", typeid(std::string), ""},
    {"hammer_explosion", typeid(std::string), ""},
    {"m_panel_speed", typeid(float), "16"},
    {"special_graph_type", typeid(int), "0"},
    {"first_episode_for_hammer", typeid(int), "0"},
    {"first_episode_for_egg", typeid(int), "0"},
    {"first_episode_for_feather", typeid(int), "0"},
    {"hammer_mismatch_immortal", typeid(std::string), ""},
    {"delay_fall", typeid(int), "0"},
    {"ball_speed", typeid(float), "1"},
    {"hint_delay", typeid(int), "5000"},
};

std::string ValueText(const CGameCfg& cfg, const Key& key) {
    if (key.type == typeid(float)) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", static_cast<double>(cfg.GetFloat(key.name)));
        return text;
    }
    if (key.type == typeid(bool)) return cfg.GetBool(key.name) ? "1" : "0";
    if (key.type == typeid(int)) return std::to_string(cfg.GetInt(key.name));
    return cfg.GetString(key.name);
}

class GameCfgTest : public ScratchTest {};

TEST_F(GameCfgTest, AFileWithOneKeyLeavesTheOthersAtTheirDefaults) {
    data_test::WriteBytes("Settings/GameCFG.xml",
                          R"(<GameCFG score_for_life="25000" not_a_key="7"/>)");
    CGameCfg cfg;
    // Registered but not loaded: the registry answers, the cache is still empty.
    EXPECT_FLOAT_EQ(cfg.GetFloat("cell_w"), 36.0f);
    EXPECT_EQ(cfg.GetCellWidth(), 0.0f);

    cfg.LoadGameConfig();
    for (const Key& key : kKeys) {
        SCOPED_TRACE(key.name);
        ASSERT_TRUE(cfg.IsRegistered(key.name));
        EXPECT_EQ(cfg.FindVariable(key.name).type(), key.type);
        if (std::string(key.name) != "score_for_life") {
            EXPECT_EQ(ValueText(cfg, key), key.value);
        }
    }
    EXPECT_EQ(cfg.GetInt("score_for_life"), 25000);
    EXPECT_FALSE(cfg.IsRegistered("not_a_key"));
    EXPECT_FLOAT_EQ(cfg.GetCellWidth(), 36.0f);
    EXPECT_FLOAT_EQ(cfg.GetBallHeight(), 36.0f);
    EXPECT_EQ(NewLog().find("not_a_key"), std::string::npos);
}

TEST_F(GameCfgTest, CachedSizesFollowEachLoadAndMatchLengthIsFixed) {
    CGameCfg cfg;
    cfg.LoadGameConfig(*field_test::ParseXml(R"(<GameCFG cell_w="40" cell_h="38" ball_w="30" ball_h="28"/>)"));
    EXPECT_FLOAT_EQ(cfg.GetCellWidth(), 40.0f);
    EXPECT_FLOAT_EQ(cfg.GetCellHeight(), 38.0f);
    EXPECT_FLOAT_EQ(cfg.GetBallWidth(), 30.0f);
    EXPECT_FLOAT_EQ(cfg.GetBallHeight(), 28.0f);
    EXPECT_FLOAT_EQ(cfg.GetMatchLength(), 3.0f);

    // A second load applies over the first: what it does not name stays.
    cfg.LoadGameConfig(*field_test::ParseXml(R"(<Root><GameCFG ball_w="32"/></Root>)"));
    EXPECT_FLOAT_EQ(cfg.GetCellWidth(), 40.0f);
    EXPECT_FLOAT_EQ(cfg.GetBallWidth(), 32.0f);
}

TEST_F(GameCfgTest, WithoutItsElementTheCheckIsLoggedAndTheValuesStay) {
    CGameCfg cfg;
    cfg.LoadGameConfig(*field_test::ParseXml(R"(<Config score_for_life="1"/>)"));
    EXPECT_NE(NewLog().find("Assert failed: 'config_node.IsValid()'"), std::string::npos);
    EXPECT_EQ(cfg.GetInt("score_for_life"), 50000);
    EXPECT_FLOAT_EQ(cfg.GetCellHeight(), 36.0f);  // refreshed from the registry all the same
}

TEST_F(GameCfgTest, MissingFileAndUnknownOrMistypedReadsThrow) {
    CGameCfg cfg;
    EXPECT_THROW(cfg.LoadGameConfig(), std::runtime_error);
    EXPECT_NE(NewLog().find("Failed to open XML file 'Settings\\GameCFG.xml'"), std::string::npos);

    g_GameCFG.Reset(std::make_unique<CGameCfg>());
    int value = 7;
    GetGameCfgInt("first_episode_for_egg", value);
    EXPECT_EQ(value, 0);
    value = 7;
    EXPECT_THROW(GetGameCfgInt("no_such_key", value), std::runtime_error);
    EXPECT_EQ(value, 7);
    EXPECT_NE(NewLog().find("Variable no_such_key not registered!"), std::string::npos);
    EXPECT_THROW(GetGameCfgInt("ball_speed", value), std::bad_any_cast);
    g_GameCFG.Reset();

    // An empty global is reported by name rather than dereferenced.
    EXPECT_THROW(g_GameCFG->GetCellWidth(), std::logic_error);
    EXPECT_NE(NewLog().find("g_GameCFG used before the field's start-up!"), std::string::npos);
}

// The shipped file gives every key explicitly, and the names it gives exist
// where they are looked up.
TEST(GameCfgData, TheShippedFileNamesEveryKeyAndOnlyThingsThatExist) {
    data_test::PrepareLogOnce();
    const std::string data = VOVARO_DATA_DIR;
    CXMLFile file(data + "/Settings/GameCFG.xml");
    const CXMLNode node = file.SelectSingleNode("//GameCFG");
    ASSERT_TRUE(node.IsValid());
    for (const Key& key : kKeys) EXPECT_NE(node.GetAttribute(key.name, "<none>"), "<none>") << key.name;

    CGameCfg cfg;
    cfg.LoadGameConfig(file);
    CXMLFile explosions(data + "/Settings/Explosions.xml");
    for (const char* key : {"ball_explosion", "vovaro_explosion", "hammer_explosion"}) {
        const std::string alias = cfg.GetString(key);
        EXPECT_TRUE(explosions.SelectSingleNode("//Explosion[@alias='" + alias + "']").IsValid()) << key << " " << alias;
    }
    CXMLFile samples(data + "/Settings/Samples.xml");
    const std::string immortal = cfg.GetString("hammer_mismatch_immortal");
    EXPECT_TRUE(samples.SelectSingleNode("//Sample[@alias='" + immortal + "']").IsValid()) << immortal;

    CGraphObjManager balls;
    balls.Load(data + "/Settings/Bases/Balls.XML");
    EXPECT_TRUE(balls.HasGraphType(cfg.GetInt("special_graph_type")));
    const float speed = cfg.GetFloat("ball_speed");
    EXPECT_TRUE(speed >= 1.0f && speed <= 18.0f) << speed;
    EXPECT_LE(cfg.GetBallWidth(), cfg.GetCellWidth());
    EXPECT_LE(cfg.GetBallHeight(), cfg.GetCellHeight());
}

}  // namespace
