// The time text, the counting label value and the mouse-over test of sprites.
#include <gtest/gtest.h>

#include <stdexcept>

#include "engine/mouse_controller_interface.h"
#include "game/label_counter.h"
#include "game/milliseconds_to_string.h"
#include "game/mouse_over.h"
#include "game_test_support.h"
#include "graphics/animation.h"
#include "graphics/object_2d.h"
#include "graphics/polygon.h"

using game_test::GameTest;

namespace {

TEST(MillisecondsToStringTest, MinutesAndSecondsWithHoursFromOneHourOn) {
    const std::pair<uint32_t, const char*> cases[] = {
        {0, "0:00"},
        {999, "0:00"},
        {59999, "0:59"},
        {60000, "1:00"},
        {3599999, "59:59"},
        {3600000, "1:00:00"},
        {3725000, "1:02:05"},
        {0xFFFFFFFFu, "1193:02:47"},
    };
    for (const auto& [ms, text] : cases) EXPECT_EQ(MillisecondsToString(ms), text) << ms;
}

using LabelCounterTest = GameTest;

TEST_F(LabelCounterTest, CountsInFiftiethsWithATickPerStepAndLandsOnMax) {
    CLabelCounter c(0, 1000);
    EXPECT_EQ(sounds->loaded, (std::vector<std::string> {"int_label_counter"}));
    std::vector<int32_t> shown;
    while (!c.IsFinished()) shown.push_back(c.Update());
    ASSERT_EQ(shown.size(), 49u);
    EXPECT_EQ(shown.front(), 20);
    EXPECT_EQ(shown.back(), 980);
    EXPECT_EQ(sounds->played.size(), 49u);
    EXPECT_EQ(c.Update(), 1000);  // the last rest is one step: no tick
    EXPECT_EQ(sounds->played.size(), 49u);
    EXPECT_EQ(c.GetValue(), 1000);
}

TEST_F(LabelCounterTest, SmallRangesShowTruncatedValuesAndAnEmptyRangeIsDoneAtOnce) {
    CLabelCounter seven(0, 7);
    std::vector<int32_t> shown;
    for (int i = 0; i < 8; ++i) shown.push_back(seven.Update());
    EXPECT_EQ(shown, (std::vector<int32_t> {0, 0, 0, 0, 0, 0, 0, 1}));
    for (int i = 0; i < 60 && !seven.IsFinished(); ++i) seven.Update();
    EXPECT_EQ(seven.Update(), 7);

    sounds->Reset();
    CLabelCounter five(5, 5);
    EXPECT_TRUE(five.IsFinished());
    EXPECT_EQ(five.Update(), 5);
    EXPECT_TRUE(sounds->played.empty());
}

TEST_F(LabelCounterTest, MinAboveMaxIsLoggedAndStillEndsOnMax) {
    CLabelCounter c(100, 0);
    EXPECT_NE(NewLog().find("Assert failed: 'min_n <= max_n'"), std::string::npos) << NewLog();
    int updates = 0;
    while (!c.IsFinished() && updates < 100) {
        c.Update();
        ++updates;
    }
    EXPECT_EQ(updates, 49);
    EXPECT_EQ(c.Update(), 0);
}

class MouseOverTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        box.InitFromTexRect(100, 100, 50, 40, CFloatRect(0, 0, 50, 40));
        // A hit outline 10 pixels wider than the box all round.
        CPolygon outline({CVector2(-10, -10), CVector2(60, -10), CVector2(60, 50), CVector2(-10, 50)});
        CAnimation animation;
        animation.AddFrame(CFloatRect(0, 0, 50, 40), &outline);
        shaped.Init(100, 100, 50, 40, animation);
    }
    void TearDown() override {
        core().GetMouse()->SetPosition(0, 0, 0);
        GameTest::TearDown();
    }
    static bool Over(C2DObject* obj, int x, int y) {
        core().GetMouse()->SetPosition(x, y, 0);
        return IsMouseOverObject(obj);
    }

    C2DObject box, shaped;
};

TEST_F(MouseOverTest, TheBoxIsStrictAndTheOutlineCountsBeyondIt) {
    struct Case {
        int x, y;
        bool box, shaped;
    };
    const Case cases[] = {
        {125, 120, true, true},  {101, 101, true, true},   {100, 120, false, true}, {150, 120, false, true},
        {125, 100, false, true}, {125, 140, false, true},  {92, 95, false, true},   {85, 120, false, false},
        {125, 155, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Over(&box, c.x, c.y), c.box) << c.x << "," << c.y;
        EXPECT_EQ(Over(&shaped, c.x, c.y), c.shaped) << c.x << "," << c.y;
    }
}

TEST_F(MouseOverTest, ANullSpriteIsAFailedCheckThatThrows) {
    try {
        IsMouseOverObject(nullptr);
        FAIL() << "no exception";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Assertion failed");
    }
    EXPECT_NE(NewLog().find("Assert failed: 'obj != NULL'"), std::string::npos);
}

}  // namespace
