#include "graphics/cursor_keeper.h"

#include <gtest/gtest.h>

#include "core_test_support.h"

using namespace gfx_test;

namespace {

class CursorKeeperTest : public CoreTest {
protected:
    void WriteMouseXml(const std::string& cursors) {
        data_test::WriteBytes("Settings/Mouse.xml", "<Mouse>" + cursors + "</Mouse>");
    }
    std::string Cursor(const std::string& attrs, const std::string& texture) {
        return "<Cursor " + attrs + "><graphics texture=\"" + texture +
               "\" width=\"8\" height=\"8\" tex_rect=\"0 0 8 8\"/></Cursor>";
    }
};

}  // namespace

TEST_F(CursorKeeperTest, MissingOrEmptyFileThrows) {
    EXPECT_THROW(CCursorKeeper keeper("Settings\\Mouse.xml"), std::exception);
    WriteMouseXml("");
    EXPECT_THROW(CCursorKeeper keeper("Settings\\Mouse.xml"), std::runtime_error);
    EXPECT_NE(NewLog().find("!_cursor_list.empty()"), std::string::npos);
}

TEST_F(CursorKeeperTest, CursorsByNameKeepTheHotSpot) {
    const std::string arrow = TextureFile("arrow.tga", SolidTga(8, 8, 0xFFFFFFFF));
    const std::string other = TextureFile("other.tga", SolidTga(8, 8, 0xFF00FF00));
    WriteMouseXml(Cursor("name=\"default\" offset_x=\"-1\" offset_y=\"-2\"", arrow) +
                  Cursor("offset_x=\"-4\" offset_y=\"-4\"", other));
    {
        CCursorKeeper keeper("settings\\mouse.xml");
        EXPECT_EQ(keeper.GetCursorCount(), 2u);
        EXPECT_EQ(keeper.GetCursorName(), "default");
        keeper.SetHotSpot(100, 50);
        EXPECT_FLOAT_EQ(keeper.GetSprite().GetLeft(), 99);
        EXPECT_FLOAT_EQ(keeper.GetSprite().GetTop(), 48);
        EXPECT_EQ(keeper.GetX(), 100);
        EXPECT_EQ(keeper.GetY(), 50);
        // The unnamed cursor is "cursor_1"; the hot spot stays where it was.
        ASSERT_TRUE(keeper.SetCursor("cursor_1"));
        EXPECT_EQ(keeper.GetX(), 100);
        EXPECT_FLOAT_EQ(keeper.GetSprite().GetLeft(), 96);
        keeper.MoveBy(5, -5);
        EXPECT_EQ(keeper.GetX(), 105);
        EXPECT_EQ(keeper.GetY(), 45);
        EXPECT_FALSE(keeper.SetCursor("hammer"));
        EXPECT_EQ(keeper.GetCursorName(), "cursor_1");
        EXPECT_NE(NewLog().find("Warning: cursor 'hammer' not found!"), std::string::npos);
    }
}

TEST_F(CursorKeeperTest, DrawnWhenVisibleAndInside) {
    const std::string arrow = TextureFile("arrow.tga", SolidTga(8, 8, 0xFFFFFFFF));
    WriteMouseXml(Cursor("name=\"default\"", arrow));
    CCursorKeeper keeper("Settings\\Mouse.xml");
    keeper.SetHotSpot(300, 200);
    BeginDraw(0xFF000000);
    keeper.Draw(false);
    auto px = ReadBack();
    EXPECT_EQ(At(px, 303, 203), 0xFFFFFFFFu);
    EXPECT_EQ(core_->GetDrawCalls(), 1u);

    keeper.Show(false);
    keeper.Draw(false);
    EXPECT_EQ(core_->GetDrawCalls(), 1u);
    keeper.Show(true);
    // Beyond the window frame at the top-left: drawn only in full screen.
    keeper.SetHotSpot(-3, -3);
    keeper.Draw(false);
    EXPECT_EQ(core_->GetDrawCalls(), 2u);
    keeper.SetHotSpot(-4, 0);
    EXPECT_FALSE(keeper.IsInside(false));
    keeper.Draw(false);
    EXPECT_EQ(core_->GetDrawCalls(), 2u);
    keeper.Draw(true);
    EXPECT_EQ(core_->GetDrawCalls(), 3u);
}

// The data tree's own Mouse.xml and the generated cursor pictures.
TEST_F(CursorKeeperTest, GameCursorsLoadAndDrawAtTheHotSpot) {
    std::filesystem::current_path(VOVARO_DATA_DIR);
    {
        CCursorKeeper keeper(CCursorKeeper::kFileName);
        EXPECT_EQ(keeper.GetCursorName(), "default");
        for (const char* name : {"hammer", "default"}) {
            ASSERT_TRUE(keeper.SetCursor(name));
            CTexture* texture = keeper.GetSprite().GetRenderer()->GetTexture();
            ASSERT_NE(texture->GetTexture(), nullptr) << name;
            EXPECT_FLOAT_EQ(texture->GetWidth(), 32);
        }
        keeper.SetHotSpot(400, 300);
        BeginDraw(0xFF204060);
        keeper.Draw(false);
        const auto px = ReadBack();
        // The arrow's tip is at the hot spot; the pixel left of it and the
        // ones above are the background.
        EXPECT_NE(At(px, 400, 300), 0xFF204060u);
        EXPECT_NE(At(px, 401, 310), 0xFF204060u);
        EXPECT_EQ(At(px, 398, 300), 0xFF204060u);
        EXPECT_EQ(At(px, 400, 297), 0xFF204060u);
    }
    EXPECT_EQ(NewLog().find("Error"), std::string::npos);
}

// Registered with the engine core, the keeper follows the mouse from frame to
// frame and is drawn over the finished scene.
TEST_F(CursorKeeperTest, FollowsTheMouseThroughTheEngineCore) {
    const std::string arrow = TextureFile("arrow.tga", SolidTga(4, 4, 0xFFFFFFFF));
    WriteMouseXml(Cursor("name=\"default\" offset_x=\"-1\" offset_y=\"-1\"", arrow));
    CCursorKeeper keeper("Settings\\Mouse.xml");
    core_->SetCursorKeeper(&keeper);
    plat::Window* window = core_->GetHWND();
    ASSERT_NE(window, nullptr);
    IMouseController* mouse = core_->GetMouse();

    window->InjectMouseMove(200, 150);
    ASSERT_TRUE(core_->BeginFrame());
    core_->Clear(0xFF000000);
    core_->EndFrame();
    const int x0 = mouse->GetX(), y0 = mouse->GetY();
    EXPECT_EQ(keeper.GetX(), x0);

    window->InjectMouseMove(230, 170);
    ASSERT_TRUE(core_->BeginFrame());
    core_->Clear(0xFF000000);
    core_->EndFrame();
    EXPECT_EQ(mouse->GetX(), x0 + 30);
    EXPECT_EQ(mouse->GetY(), y0 + 20);
    EXPECT_EQ(keeper.GetX(), x0 + 30);
    std::vector<uint32_t> px;
    uint32_t w = 0, h = 0;
    ASSERT_EQ(device_->ReadPresentedFrame(&px, &w, &h), plat::kOk);
    // The 8x8 sprite's corner is one pixel up and left of the hot spot.
    const auto at = [&](int x, int y) { return px[static_cast<size_t>(y) * w + static_cast<size_t>(x)]; };
    EXPECT_EQ(at(x0 + 30 - 1, y0 + 20 - 1), 0xFFFFFFFFu);
    EXPECT_EQ(at(x0 + 30 + 6, y0 + 20 + 6), 0xFFFFFFFFu);
    EXPECT_EQ(at(x0 + 30 - 2, y0 + 20), 0xFF000000u);
    EXPECT_EQ(at(x0 + 30 + 7, y0 + 20), 0xFF000000u);

    // Hidden: not drawn.
    mouse->ShowCursor(false);
    EXPECT_FALSE(keeper.IsVisible());
    ASSERT_TRUE(core_->BeginFrame());
    core_->Clear(0xFF000000);
    core_->EndFrame();
    ASSERT_EQ(device_->ReadPresentedFrame(&px, &w, &h), plat::kOk);
    EXPECT_EQ(at(x0 + 30, y0 + 20), 0xFF000000u);
    mouse->ShowCursor(true);
    core_->SetCursorKeeper(nullptr);
}
