// The per-frame sample queue: each alias once per frame, in byte order.
#include <gtest/gtest.h>

#include "game_test_support.h"
#include "gui/sample_queue.h"

using game_test::GameTest;

namespace {

class SampleQueueTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        g_SampleQueue.Clear();
    }
};

TEST_F(SampleQueueTest, EachAliasPlaysOncePerFrameInByteOrder) {
    for (int i = 0; i < 3; ++i) g_SampleQueue.Add("ball_select");
    g_SampleQueue.Add("b");
    g_SampleQueue.Add("");
    g_SampleQueue.Add("a");
    g_SampleQueue.PlayAll();
    EXPECT_EQ(sounds->played, (std::vector<std::string> {"a", "b", "ball_select"}));
    EXPECT_TRUE(g_SampleQueue.IsEmpty());
    g_SampleQueue.PlayAll();
    EXPECT_EQ(sounds->played.size(), 3u);
}

TEST_F(SampleQueueTest, ClearDropsTheQueuedAliasesUnplayed) {
    g_SampleQueue.Add("mismatch");
    g_SampleQueue.Clear();
    g_SampleQueue.PlayAll();
    EXPECT_TRUE(sounds->played.empty());
}

}  // namespace
