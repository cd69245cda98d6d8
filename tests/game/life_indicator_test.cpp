// The life indicator: the add-life animation plays three times over the
// normal picture, the danger picture stands in until its animation ends, a
// repeated PlayDanger restarts nothing, the empty picture stands in with no
// life left, and a missing child is an assertion.
#include <gtest/gtest.h>

#include <stdexcept>

#include "engine/data_test_support.h"
#include "game/life_indicator.h"
#include "gui/sample_queue.h"
#include "hud_test_support.h"

namespace {

class LifeIndicatorTest : public hud_test::HudTest {
protected:
    void SetUp() override {
        HudTest::SetUp();
        UseScratch();
        texture_ = SolidTexture("life.tga", 32, 16);
        // Two frames of two ticks each, played once: one play takes 4 drawn frames.
        data_test::WriteBytes("once.xml",
                              "<Animation speed='2' animate_once='1'><Frame tex_rect='0 0 16 16'/>"
                              "<Frame tex_rect='16 0 32 16'/></Animation>");
        data_test::WriteBytes("loop.xml",
                              "<Animation speed='2'><Frame tex_rect='0 0 16 16'/><Frame tex_rect='16 0 32 16'/></Animation>");
    }
    std::string Sprite(const std::string& name, const std::string& animation) {
        return "<" + name + " left='10' top='20'><graphics texture='" + texture_ +
               "' width='16' height='16'><animation file='" + animation + "'/></graphics></" + name + ">";
    }
    CXMLNode LifeNode() {
        return Node("<Life>" + Sprite("Normal", "loop.xml") + Sprite("AddLife", "once.xml") +
                        Sprite("Danger", "once.xml") + "</Life>",
                    "/Life");
    }
    // One frame of the panel: update, then draw (which steps the animations).
    void Step(CLifeIndicator& life) {
        Frame([&] {
            life.Update();
            life.Render();
        });
    }
    std::string texture_;
};

TEST_F(LifeIndicatorTest, AddLifePlaysThreeTimes) {
    CLifeIndicator life;
    life.Load(LifeNode());
    EXPECT_EQ(life.GetCurrent(), life.GetNormal());
    EXPECT_FLOAT_EQ(life.GetNormal()->GetLeft(), 10.0f);

    life.PlayAddLife();
    int plays = 1, frames = 0;
    while (life.IsAddLifePlaying()) {
        const bool was_running = life.GetAddLife()->IsAnimationRunning();
        Frame([&] {
            life.Update();
            if (!was_running && life.GetAddLife()->IsAnimationRunning()) ++plays;
            if (life.IsAddLifePlaying()) ++frames;
            life.Render();
        });
        ASSERT_LT(frames, 100);
    }
    EXPECT_EQ(plays, 3);
    EXPECT_EQ(frames, 12);
    EXPECT_EQ(life.GetCurrent(), life.GetNormal());

    // A second win during a play starts the count again.
    life.PlayAddLife();
    for (int i = 0; i < 6; ++i) Step(life);
    life.PlayAddLife();
    EXPECT_EQ(life.GetRepeatCount(), CLifeIndicator::kAddLifeRepeats);
}

TEST_F(LifeIndicatorTest, DangerRunsOnceToItsEndThenNormalReturns) {
    CLifeIndicator life;
    life.Load(LifeNode());
    life.PlayDanger();
    EXPECT_EQ(life.GetCurrent(), life.GetDanger());
    Step(life);
    Step(life);
    const int frame = life.GetDanger()->GetAnimation()->GetFrame();
    life.PlayDanger();  // already shown: nothing restarts
    EXPECT_EQ(life.GetDanger()->GetAnimation()->GetFrame(), frame);
    EXPECT_EQ(frame, 1);
    Step(life);
    Step(life);  // the play ends
    EXPECT_TRUE(life.IsDangerShown());
    Step(life);  // the next update sees it ended
    EXPECT_FALSE(life.IsDangerShown());
    EXPECT_EQ(life.GetCurrent(), life.GetNormal());
}

TEST_F(LifeIndicatorTest, PendingSampleQueuedWithTheNextDraw) {
    CLifeIndicator life;
    life.Load(LifeNode());
    g_SampleQueue.Clear();
    life.SetPendingSample("lives_up");
    Step(life);
    EXPECT_EQ(g_SampleQueue.GetAliases().count("lives_up"), 1u);
    g_SampleQueue.Clear();
    Step(life);
    EXPECT_TRUE(g_SampleQueue.IsEmpty());
}

TEST_F(LifeIndicatorTest, WithNoLifeLeftTheEmptyPictureStandsIn) {
    CLifeIndicator life;
    life.Load(Node("<Life>" + Sprite("Normal", "loop.xml") + Sprite("AddLife", "once.xml") +
                       Sprite("Danger", "once.xml") + Sprite("Empty", "loop.xml") + "</Life>",
                   "/Life"));
    ASSERT_NE(life.GetEmpty(), nullptr);
    EXPECT_EQ(life.GetShown(), life.GetNormal());
    life.PlayDanger();  // the last life is being lost
    life.SetNoLifeLeft(true);
    EXPECT_EQ(life.GetShown(), life.GetEmpty());
    EXPECT_FALSE(life.IsDangerShown());  // its play ends with the last life
    for (int i = 0; i < 6; ++i) Step(life);
    EXPECT_EQ(life.GetShown(), life.GetEmpty());
    life.SetNoLifeLeft(false);  // a new game
    EXPECT_EQ(life.GetShown(), life.GetNormal());

    // Without an empty picture in the data nothing stands for no life.
    CLifeIndicator plain;
    plain.Load(LifeNode());
    EXPECT_EQ(plain.GetEmpty(), nullptr);
    plain.SetNoLifeLeft(true);
    EXPECT_EQ(plain.GetShown(), nullptr);
    Step(plain);
}

TEST_F(LifeIndicatorTest, MissingChildIsAnAssertion) {
    CLifeIndicator life;
    EXPECT_THROW(life.Load(Node("<Life>" + Sprite("Normal", "loop.xml") + Sprite("Danger", "once.xml") + "</Life>",
                                "/Life")),
                 std::runtime_error);
    EXPECT_NE(NewLog().find("AddLifeNode.IsValid()"), std::string::npos);
}

}  // namespace
