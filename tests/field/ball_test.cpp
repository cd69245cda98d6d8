// One ball: its motion step, its existence time, its substrate (sprite or
// particle effect) and the substrate table behind it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "balls_test_support.h"
#include "field/ball_tables.h"
#include "graphics/plume.h"
#include "graphics/plume_library.h"

namespace {

using field_test::BallsFieldTest;
using field_test::TestLevelXml;

class BallTest : public BallsFieldTest {
protected:
    void TearDown() override {
        // The balls' effects go before the library they play from.
        balls_.reset();
        globals_.reset();
        if (Plume::CLibrary::Exists()) CPlume::ReleaseLibrary();
        BallsFieldTest::TearDown();
    }
};

TEST_F(BallTest, PhysicsStepClampsTheSpeed) {
    CBallPhysics physics;
    physics.SetSpeedBounds(1.0f, 18.0f);
    physics.SetSpeed(20.0f);
    EXPECT_TRUE(physics.Step());
    EXPECT_FLOAT_EQ(physics.GetSpeed(), 18.0f);
    physics.SetAcceleration(-2.0f);
    EXPECT_FALSE(physics.Step());
    EXPECT_FLOAT_EQ(physics.GetSpeed(), 16.0f);
    physics.SetSpeed(1.5f);
    EXPECT_TRUE(physics.Step());
    EXPECT_FLOAT_EQ(physics.GetSpeed(), 1.0f);
}

TEST_F(BallTest, SubstratesFollowTheBallAndTakeItsColour) {
    LoadLevel(TestLevelXml());
    EXPECT_EQ(g_BallSubstrates->size(), 2u);
    CBall& special = Put(Cell(1, 1), 9);  // substrate 1, tinted
    const C2DObject* sprite = special.GetSubstrateSprite();
    ASSERT_NE(sprite, nullptr);
    EXPECT_FLOAT_EQ(sprite->GetLeft(), 36 + 18 - 20);  // a 40 px sprite centred on the ball
    EXPECT_FLOAT_EQ(sprite->GetTop(), 36 + 18 - 20);
    EXPECT_EQ(sprite->GetColor(0), 0xFF8090A0u);
    special.SetPos(100, 50);
    EXPECT_FLOAT_EQ(special.GetSubstrateSprite()->GetLeft(), 100 + 18 - 20);

    CBall& bonus = Put(Cell(2, 2), 11);  // every bonus ball: substrate 0, not tinted
    ASSERT_NE(bonus.GetSubstrateSprite(), nullptr);
    EXPECT_FLOAT_EQ(bonus.GetSubstrateSprite()->GetWidth(), 48);
    EXPECT_EQ(bonus.GetSubstrateSprite()->GetColor(0), 0xFFFFFFFFu);
    EXPECT_EQ(Put(Cell(0, 0), 1).GetSubstrateSprite(), nullptr);

    // Turning into an ordinary ball drops the substrate.
    balls_->ChangeBallGraph(Cell(2, 2), 1);
    EXPECT_EQ(Ball(Cell(2, 2)).GetSubstrateSprite(), nullptr);
    EXPECT_EQ(Ball(Cell(2, 2)).GetPrevDesc().graph_type, 11);
}

// The table is read again at every level preparation without growing.
TEST_F(BallTest, TheSubstrateTableIsReadAfreshForEveryLevel) {
    for (int level = 0; level < 3; ++level) LoadLevel(TestLevelXml());
    EXPECT_EQ(g_BallSubstrates->size(), 2u);

    // Without a substrate 0 a bonus ball logs the failed check and has none.
    data_test::WriteBytes("Settings/Bonus.xml", "<Bonuses><Substrates/></Bonuses>");
    LoadLevel(TestLevelXml());
    EXPECT_TRUE(g_BallSubstrates->empty());
    EXPECT_EQ(Put(Cell(0, 0), 11).GetSubstrateSprite(), nullptr);
    EXPECT_NE(NewLog().find("Assert failed: 'false'"), std::string::npos);

    // A missing file is reported and leaves the table empty.
    std::filesystem::remove("Settings/Bonus.xml");
    LoadLevel(TestLevelXml());
    EXPECT_TRUE(g_BallSubstrates->empty());
    EXPECT_NE(NewLog().find("Error: The ball substrates could not be read from 'Settings\\Bonus.xml'"),
              std::string::npos);
}

TEST_F(BallTest, AParticleSubstrateShowsFromAlpha128) {
    CPlume loader;
    ASSERT_TRUE(loader.LoadLibrary(std::string(VOVARO_DATA_DIR) + "/Textures/Plume/Effects.plume"));
    data_test::WriteBytes("Settings/Bonus.xml", R"(<Bonuses><Substrates>
        <Substrate id="0" plume="substrate_mixer"/>
        <Substrate id="1" plume="no_such_effect"/>
      </Substrates></Bonuses>)");
    LoadLevel(TestLevelXml());
    CBall& bonus = Put(Cell(1, 1), 12);
    EXPECT_TRUE(bonus.HasSubstrateEffect());
    EXPECT_EQ(bonus.GetSubstrateSprite(), nullptr);
    bonus.SetAlpha(127);
    EXPECT_FALSE(bonus.IsSubstrateEffectVisible());
    bonus.SetAlpha(128);
    EXPECT_TRUE(bonus.IsSubstrateEffectVisible());

    // An effect the library does not know leaves the ball without a substrate.
    CBall& special = Put(Cell(2, 2), 9);
    EXPECT_FALSE(special.HasSubstrateEffect());
    EXPECT_NE(NewLog().find("Error: Substrate 1:"), std::string::npos);
}

TEST_F(BallTest, ExistenceTimeStandsStillWhileTheGameIsPaused) {
    LoadLevel(TestLevelXml());
    CBall& ball = Put(Cell(0, 0), 1);
    ball.Update();
    ball.Update();
    EXPECT_EQ(ball.GetExistenceTime(), 2u);
    ball.Update(false);
    EXPECT_EQ(ball.GetExistenceTime(), 2u);

    // A released drawable is a failed check on every use.
    ball.ReleaseGraph();
    EXPECT_THROW(ball.SetPos(1, 1), std::exception);
    EXPECT_THROW(ball.Update(), std::exception);
    EXPECT_FALSE(ball.IsBusy());
    EXPECT_NE(NewLog().find("Assert failed: '_graph_obj.get() != NULL'"), std::string::npos);
}

}  // namespace
