// A panel slides in and out through the engine core and the real render
// device, headless: frames read back in the middle of each slide and after it
// show the panel where its slider put it.
#include <gtest/gtest.h>

#include "engine/variables.h"
#include "gui/base_dialog.h"
#include "gui/panel_manager.h"
#include "gui2_test_support.h"

using namespace gui_test;

namespace {

constexpr uint32_t kBackground = 0xFF000000;
constexpr uint32_t kRed = 0xFFFF0000;

// A red block 200x100 at (300, 200), drawn from the shipped white square.
const char* kDialog = R"(<Dialog>
  <Control type="IMAGE" id="BLOCK" left="300" top="200" width="200" height="100">
    <graphics texture="Textures\Common\square.tga" tex_rect="0 0 8 8" color="FFFF0000"/>
  </Control>
</Dialog>)";

class PanelSlideRenderTest : public Gui2Test {
protected:
    void SetUp() override {
        Gui2Test::SetUp();
        vars.Register("m_panel_speed", 200.0f);
        CPanelSlide::SetGameVariables(&vars);
        ASSERT_TRUE(dialog.Load(Node(kDialog, "//Dialog")));
        ASSERT_EQ(dialog.GetControlCount(), 1u);
        pm.AddPanel(&dialog, 0);
        // In from the left, out to the right.
        pm.SetPanelDirections(&dialog, CVector2(1, 0), CVector2(1, 0));
    }
    void TearDown() override {
        CPanelSlide::SetGameVariables(nullptr);
        Gui2Test::TearDown();
    }
    // One frame of the manager, read back.
    std::vector<uint32_t> RenderFrame() {
        core().BeginFrame();
        core().Clear(kBackground);
        pm.Render();
        core().EndFrame();
        return ReadBack();
    }
    // The left and right edges of the red block on row 250 (-1 when absent).
    std::pair<int, int> BlockSpan(const std::vector<uint32_t>& px) {
        int first = -1, last = -1;
        for (int x = 0; x < 800; ++x) {
            if (At(px, x, 250) == kRed) {
                if (first < 0) first = x;
                last = x;
            }
        }
        return {first, last};
    }

    CVariables vars;
    CBaseDialog dialog;
    CPanelManager pm;
};

TEST_F(PanelSlideRenderTest, APanelSlidesInAndOutFrameByFrame) {
    pm.ShowPanel(&dialog, true);
    // Each frame draws at the point the previous one reached: -800, -600,
    // -400, -200, then at rest.
    std::vector<std::pair<int, int>> spans;
    std::vector<uint32_t> middle;
    for (int frame = 0; frame < 5; ++frame) {
        const auto px = RenderFrame();
        spans.push_back(BlockSpan(px));
        if (frame == 2) middle = px;
    }
    EXPECT_EQ(spans[0], std::make_pair(-1, -1));
    EXPECT_EQ(spans[1], std::make_pair(-1, -1));
    // In the middle: the block at 300 - 400 = -100, so 0 to 99 on screen.
    EXPECT_EQ(spans[2], std::make_pair(0, 99));
    EXPECT_EQ(At(middle, 150, 250), kBackground);
    EXPECT_EQ(spans[3], std::make_pair(100, 299));
    EXPECT_TRUE(pm.IsReady(&dialog));
    // At the end: at rest, exactly the control's rectangle.
    EXPECT_EQ(spans[4], std::make_pair(300, 499));
    const auto rest = RenderFrame();
    EXPECT_EQ(At(rest, 300, 200), kRed);
    EXPECT_EQ(At(rest, 499, 299), kRed);
    EXPECT_EQ(At(rest, 299, 250), kBackground);
    EXPECT_EQ(At(rest, 400, 300), kBackground);

    // Out to the right: drawn at 0, 200, 400, 600 and then gone.
    pm.ShowPanel(&dialog, false);
    spans.clear();
    for (int frame = 0; frame < 5; ++frame) spans.push_back(BlockSpan(RenderFrame()));
    EXPECT_EQ(spans[0], std::make_pair(300, 499));
    EXPECT_EQ(spans[1], std::make_pair(500, 699));
    EXPECT_EQ(spans[2], std::make_pair(700, 799));
    EXPECT_EQ(spans[3], std::make_pair(-1, -1));
    EXPECT_EQ(spans[4], std::make_pair(-1, -1));
    EXPECT_FALSE(pm.IsShown(&dialog));

    // The resting offset is back: a dialog drawn outside the manager lands on its place.
    core().BeginFrame();
    core().Clear(kBackground);
    dialog.Draw(true);
    core().EndFrame();
    EXPECT_EQ(BlockSpan(ReadBack()), std::make_pair(300, 499));
}

}  // namespace
