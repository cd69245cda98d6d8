// The motion helpers and the tool ring: a point mover at a negative speed,
// the endless rotator, the ring's growth timing (10 to 74 at speed 32 ends on
// update 46), rings that cannot grow, a disabled ring and a missing node.
#include <gtest/gtest.h>

#include <stdexcept>

#include "game/point_mover.h"
#include "game/rotator.h"
#include "game/tool_ring.h"
#include "hud_test_support.h"

namespace {

using hud_test::HudTest;

TEST(PointMoverTest, MovesAtTheSizeOfItsSpeedAndLandsOnTarget) {
    CPointMover mover;
    mover.Start(CVector2(0, 0), CVector2(10, 0), -4.0f);
    EXPECT_EQ(mover.Update(), CVector2(4, 0));
    EXPECT_EQ(mover.Update(), CVector2(8, 0));
    EXPECT_EQ(mover.Update(), CVector2(10, 0));  // 2 left, less than a step
    EXPECT_FALSE(mover.IsActive());
    EXPECT_EQ(mover.Update(), CVector2(10, 0));

    // Already on the target: stops even at speed 0.
    mover.Start(CVector2(3, 3), CVector2(3, 3), 0.0f);
    mover.Update();
    EXPECT_FALSE(mover.IsActive());
}

TEST(RotatorTest, EndlessTurnsTwiceTheStepAndWraps) {
    CRotator rotator;
    EXPECT_EQ(rotator.Update(), 0.0f);  // inactive
    rotator.Start(350.0f, -1.0f, 4.0f);
    EXPECT_EQ(rotator.Update(), 358.0f);
    EXPECT_EQ(rotator.Update(), 6.0f);
    rotator.Start(2.0f, -1.0f, -3.0f);
    EXPECT_EQ(rotator.Update(), 356.0f);
    // A limited turn stops on its last degree.
    rotator.Start(0.0f, 10.0f, 3.0f);
    rotator.Update();
    EXPECT_EQ(rotator.Update(), 10.0f);
    EXPECT_FALSE(rotator.IsActive());
}

class ToolRingTest : public HudTest {
protected:
    void SetUp() override {
        HudTest::SetUp();
        UseScratch();
        texture_ = SolidTexture("ring.tga", 16, 16);
    }
    CXMLNode RingNode(const std::string& attrs) {
        return Node("<Ring centre='100, 200' " + attrs + "><graphics texture='" + texture_ +
                        "' tex_rect='0 0 16 16'/></Ring>",
                    "/Ring");
    }
    std::string texture_;
};

TEST_F(ToolRingTest, GrowsFrom10To74AtSpeed32InFortySixUpdates) {
    CToolRing ring;
    ring.Load(RingNode("begin='10' end='74' speed='32' rotate_speed='3'"));
    ring.Start();
    ASSERT_TRUE(ring.IsRunning());
    EXPECT_FLOAT_EQ(ring.GetSprite()->GetWidth(), 10.0f);
    EXPECT_FLOAT_EQ(ring.GetSprite()->GetLeft(), 95.0f);
    for (int i = 1; i <= 45; ++i) {
        ring.Update();
        ASSERT_TRUE(ring.IsRunning()) << i;
        ASSERT_FALSE(ring.TakeFinished()) << i;
    }
    EXPECT_NEAR(ring.GetSprite()->GetWidth(), 74.0f - 0.51f / 1.41421f, 0.01f);
    EXPECT_FLOAT_EQ(ring.GetSprite()->GetAngle(), 270.0f);  // 45 x 6 degrees
    ring.Update();
    EXPECT_FALSE(ring.IsRunning());
    EXPECT_FLOAT_EQ(ring.GetSprite()->GetWidth(), 74.0f);
    // Centred on its centre throughout.
    EXPECT_FLOAT_EQ(ring.GetSprite()->GetLeft(), 63.0f);
    EXPECT_FLOAT_EQ(ring.GetSprite()->GetTop(), 163.0f);
    EXPECT_TRUE(ring.TakeFinished());
    EXPECT_FALSE(ring.TakeFinished());  // reported once
}

TEST_F(ToolRingTest, RingThatCannotGrowFinishesAtOnce) {
    for (const char* attrs : {"begin='10' end='74' speed='0'", "begin='40' end='40' speed='8'"}) {
        CToolRing ring;
        ring.Load(RingNode(attrs));
        ring.Start();
        EXPECT_FALSE(ring.IsRunning()) << attrs;
        EXPECT_TRUE(ring.TakeFinished()) << attrs;
        ring.Update();
        EXPECT_FALSE(ring.TakeFinished()) << attrs;
    }
    // Restarted with a real growth, it grows.
    CToolRing ring;
    ring.Load(RingNode("speed='0'"));
    ring.Restart(10, 30, 10);
    EXPECT_TRUE(ring.IsRunning());
}

TEST_F(ToolRingTest, DisabledRingIgnoresStart) {
    CToolRing ring;
    ring.Load(RingNode("begin='10' end='74' speed='32'"));
    ring.SetDisabled(true);
    ring.Start();
    EXPECT_FALSE(ring.IsRunning());
    EXPECT_FALSE(ring.TakeFinished());
    ring.SetDisabled(false);
    ring.Start();
    EXPECT_TRUE(ring.IsRunning());
}

TEST_F(ToolRingTest, MissingNodeThrows) {
    CToolRing ring;
    EXPECT_THROW(ring.Load(CXMLNode()), std::runtime_error);
    EXPECT_NE(NewLog().find("node.IsValid()"), std::string::npos);
    ring.Start();  // no sprite: nothing happens
    EXPECT_FALSE(ring.IsRunning());
}

}  // namespace
