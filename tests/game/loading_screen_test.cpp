// The loading screen: whole frames of its own with the picture in the middle
// and the word for "Loading" with 0 to 3 dots below it.
#include <gtest/gtest.h>

#include "game/loading_screen.h"
#include "graphics/object_2d.h"
#include "dialog_test_support.h"

using namespace game_test;

namespace {

void Before() {}
void After() {}

using LoadingScreenTest = DialogTest;

TEST_F(LoadingScreenTest, DrawsPictureAndLoadingWithDotsInFramesOfItsOwn) {
    core().SetCallback(0, Before);
    core().SetCallback(1, After);
    {
        CLoadingScreen screen;
        // The device-reset callbacks are off while it loads.
        EXPECT_EQ(core().SetCallback(0, nullptr), nullptr);
        EXPECT_EQ(core().SetCallback(1, nullptr), nullptr);
        EXPECT_EQ(screen.GetPicture().GetLeft(), 336.0f);
        EXPECT_EQ(screen.GetPicture().GetTop(), 236.0f);

        std::vector<int> dots;
        for (int i = 0; i < 6; ++i) {
            dots.push_back(screen.GetDots());
            screen.Draw();
        }
        EXPECT_EQ(dots, (std::vector<int> {0, 1, 2, 3, 0, 1}));

        const auto px = Shown();
        Screenshot(px, "loading_screen");
        // Black around, the picture in the middle, the white word from (350, 400).
        EXPECT_EQ(At(px, 100, 100) & 0xFFFFFF, 0u);
        EXPECT_EQ(At(px, 330, 300) & 0xFFFFFF, 0u);
        EXPECT_GT(Count(px, 336, 236, 464, 364, [](uint32_t c) { return (c & 0xFFFFFF) != 0; }), 10000);
        EXPECT_GT(Count(px, 350, 400, 600, 432, IsWhite), 150);
        EXPECT_EQ(Count(px, 300, 400, 348, 432, IsWhite), 0);
    }
    Frame();
}

}  // namespace
