// The shipped ball data holds together: every ball type has its picture in
// the balls base, the bonus kinds 1 to 6, the special ball and the fragments
// exist, every tool has balls that charge it, the substrates (sprites and
// particle effects) and the lock pictures of three strengths or more are
// there, and the start-up builds the ball tables empty.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "balls_test_support.h"
#include "field/ball_tables.h"
#include "field/balls_field.h"
#include "field/field_flags.h"
#include "field/field_globals.h"
#include "field/game_cfg.h"
#include "field/graph_obj_manager.h"
#include "platform/file_names.h"

namespace {

namespace fs = std::filesystem;

class BallsDataTest : public field_test::ShippedDataTest {
protected:
    static bool Exists(const std::string& game_name) { return !plat::ResolveFileName(game_name).empty(); }
};

TEST_F(BallsDataTest, StartUpBuildsTheBallTablesEmpty) {
    ASSERT_TRUE(g_BallSubstrates && g_BallLockGraphics && g_BallLockKeeper);
    EXPECT_TRUE(g_BallSubstrates->empty());
    EXPECT_TRUE(g_BallLockGraphics->empty());
    EXPECT_EQ(g_BallLockKeeper->GetCount(), 0u);
    EXPECT_STREQ(kBonusFileName, "bonus.xml");
    ShutdownFieldGlobals();
    EXPECT_FALSE(g_BallSubstrates || g_BallLockGraphics || g_BallLockKeeper);
}

TEST_F(BallsDataTest, EveryBallTypeIsDrawnAndTheKindsTheGameNeedsExist) {
    CFieldFlags flags;
    CBallsField balls(&flags);
    std::set<int> bonus_types, tools;
    int fragments = 0, ordinary = 0;
    const int special = g_GameCFG->GetInt("special_graph_type");
    bool has_special = false;
    // A level palette naming every type: each one must be drawable.
    std::string level = "<Level><Config field_width=\"1\" field_height=\"1\"><Balls>";
    for (int type = 1; type < 100; ++type) {
        const BallDesc* desc = balls.FindDesc(type);
        if (!desc) continue;
        SCOPED_TRACE(type);
        const CGraphStateDesc* state = g_BallsGraphBase->FindStateDesc(type, 0);
        ASSERT_NE(state, nullptr);
        ASSERT_FALSE(state->layers.empty());
        EXPECT_TRUE(Exists(state->layers[0].graphics.texture)) << state->layers[0].graphics.texture;
        if (desc->bonus_type) bonus_types.insert(desc->bonus_type);
        if (desc->life == -1) {
            ++fragments;
            EXPECT_EQ(desc->bonus_type, 0);
        }
        if (!desc->bonus_type && desc->life != -1 && type != special) ++ordinary;
        if (desc->credit_type) tools.insert(desc->credit_type);
        has_special = has_special || type == special;
        level += "<Ball graph_type=\"" + std::to_string(type) + "\"/>";
    }
    EXPECT_EQ(bonus_types, (std::set<int> {1, 2, 3, 4, 5, 6}));
    EXPECT_GE(fragments, 1);
    EXPECT_GE(ordinary, 8);
    EXPECT_TRUE(has_special);
    EXPECT_EQ(tools, (std::set<int> {1, 2, 3}));
    balls.LoadConfig(field_test::XmlNode(level + "</Balls></Config></Level>"));
    EXPECT_EQ(NewLog().find("Not existing graphic type"), std::string::npos);
}

TEST_F(BallsDataTest, SubstratesAndLocksAreThere) {
    LoadBallSubstrates();
    ASSERT_NE(FindBallSubstrate(0), nullptr);
    CPlume player;
    ASSERT_TRUE(player.LoadLibrary("Textures\\Plume\\Effects.plume"));
    int sprites = 0, effects = 0;
    for (const SubstrateDesc& desc : *g_BallSubstrates) {
        SCOPED_TRACE(desc.id);
        if (desc.plume.empty()) {
            ++sprites;
            EXPECT_TRUE(Exists(desc.graphics.texture)) << desc.graphics.texture;
            EXPECT_GT(desc.graphics.width, 34);  // larger than the ball, so it shows around it
        } else {
            ++effects;
            EXPECT_NO_THROW(player.StartEmitter(desc.plume, 0, 0)) << desc.plume;
        }
    }
    EXPECT_GE(sprites, 1);
    EXPECT_GE(effects, 1);

    LoadBallLockSolidity();
    EXPECT_GE(g_BallLockGraphics->size(), 3u);
    for (const CGraphicsDesc& lock : *g_BallLockGraphics) {
        EXPECT_TRUE(Exists(lock.texture)) << lock.texture;
        EXPECT_EQ(lock.width, static_cast<int>(g_GameCFG->GetBallWidth()));
    }
}

}  // namespace
