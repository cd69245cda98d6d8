// The pulsing label's size: up to base + range, back exactly to the base,
// counted pulses, and nothing to animate without an alias.
#include <gtest/gtest.h>

#include "game/pulsing_label.h"

namespace {

PulsingLabelItem Item(float size) {
    PulsingLabelItem item;
    item.alias = "Congratulations";
    item.x = 400;
    item.y = 300;
    item.style.style.height = size;
    item.argument = 3;
    return item;
}

TEST(PulsingLabelTest, RisesToTopAndReturnsExactlyToBase) {
    CPulsingLabel label;
    label.Start(Item(30.0f), 2, 0.08f, CPulsingLabel::kEndless);
    int rise = 0;
    float last = 30.0f;
    while (label.GetSize() < 32.0f) {
        ASSERT_TRUE(label.Update());
        ASSERT_GT(label.GetSize(), last);
        last = label.GetSize();
        ASSERT_LE(++rise, 26);
    }
    EXPECT_GE(rise, 25);
    EXPECT_EQ(label.GetSize(), 32.0f);
    int fall = 0;
    while (label.GetSize() > 30.0f) {
        ASSERT_TRUE(label.Update());
        ASSERT_LE(++fall, 26);
    }
    EXPECT_EQ(label.GetSize(), 30.0f);  // exactly the base, no drift
    // Endless: it rises again.
    EXPECT_TRUE(label.Update());
    EXPECT_GT(label.GetSize(), 30.0f);
    EXPECT_EQ(label.GetCount(), CPulsingLabel::kEndless);
}

TEST(PulsingLabelTest, OnePulseThenStoppedAtBase) {
    CPulsingLabel label;
    // Negative range and speed count by their size.
    label.Start(Item(20.0f), -1, -0.5f, 1);
    int updates = 0;
    while (label.Update()) ASSERT_LE(++updates, 10);
    EXPECT_EQ(updates, 4);  // 20.5, 21 (top), 20.5, 20 (base, count 0)
    EXPECT_EQ(label.GetSize(), 20.0f);
    EXPECT_EQ(label.GetCount(), 0);
}

TEST(PulsingLabelTest, NothingToAnimateWithoutAlias) {
    CPulsingLabel fresh;
    EXPECT_FALSE(fresh.Update());
    fresh.Render();  // draws nothing, needs no font

    PulsingLabelItem item = Item(20.0f);
    item.alias.clear();
    fresh.Start(item, 2, 0.08f, CPulsingLabel::kEndless);
    EXPECT_FALSE(fresh.Update());
    EXPECT_EQ(fresh.GetSize(), 20.0f);
}

}  // namespace
