// The fader: its ramps up and down, the step that passes a limit, and what
// stops or ignores a ramp.
#include <gtest/gtest.h>

#include <vector>

#include "field/fader.h"

namespace {

TEST(FaderTest, ANewFaderIsIdleAtZero) {
    CFader f;
    EXPECT_FALSE(f.IsActive());
    EXPECT_EQ(f.GetState(), 0u);
    EXPECT_EQ(f.GetValue(), 0.0f);
    EXPECT_EQ(f.GetSpeed(), 1.0f);
    EXPECT_TRUE(f.Update());
    EXPECT_EQ(f.GetValue(), 0.0f);
}

TEST(FaderTest, UpFromZeroToHundredEndsOnTheHundredAndFirstUpdate) {
    CFader f;
    f.FadeUp(0, 100);
    EXPECT_EQ(f.GetState(), CFader::kUp);
    EXPECT_EQ(f.GetValue(), 0.0f);
    for (int i = 1; i <= 100; ++i) {
        ASSERT_FALSE(f.Update()) << i;
        ASSERT_EQ(f.GetValue(), static_cast<float>(i));
    }
    EXPECT_TRUE(f.IsActive());
    EXPECT_TRUE(f.Update());
    EXPECT_EQ(f.GetValue(), 100.0f);
    EXPECT_FALSE(f.IsActive());
}

TEST(FaderTest, DownLandsOnTheLowLimitWhateverTheSpeed) {
    CFader f;
    f.SetSpeed(-7);  // the direction sets the sign
    f.FadeDown(0, 20);
    EXPECT_EQ(f.GetState(), CFader::kDown);
    std::vector<float> values;
    while (!f.Update()) values.push_back(f.GetValue());
    EXPECT_EQ(values, (std::vector<float> {13, 6}));
    EXPECT_EQ(f.GetValue(), 0.0f);
}

TEST(FaderTest, SetSpeedStopsARampWhereItStands) {
    CFader f;
    f.Start(0, 10, CFader::kUp);
    f.Update();
    f.Update();
    f.SetSpeed(3);
    EXPECT_FALSE(f.IsActive());
    EXPECT_TRUE(f.Update());
    EXPECT_EQ(f.GetValue(), 2.0f);
}

TEST(FaderTest, StartWithAnUnknownModeLeavesTheFaderAlone) {
    CFader f;
    f.FadeDown(10, 50);
    f.Update();
    for (uint32_t mode : {0u, 3u}) {
        f.Start(0, 255, mode);
        EXPECT_EQ(f.GetState(), CFader::kDown);
        EXPECT_EQ(f.GetValue(), 49.0f);
        EXPECT_EQ(f.GetMax(), 50.0f);
    }
    f.Start(0, 255, CFader::kDown);
    EXPECT_EQ(f.GetValue(), 255.0f);
}

TEST(FaderTest, SetValueIsClampedIntoTheLimits) {
    CFader f;
    f.FadeUp(10, 20);
    f.SetValue(25);
    EXPECT_EQ(f.GetValue(), 20.0f);
    f.SetValue(5);
    EXPECT_EQ(f.GetValue(), 10.0f);
    f.SetValue(12.5f);
    EXPECT_EQ(f.GetValue(), 12.5f);
}

}  // namespace
