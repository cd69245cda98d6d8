// The heads-up panel over a shipped level background, drawn through the real
// render device and read back: the panel's rim and wells, the score, level
// and lives, the charge bars, then a charged tool's button and icon; and each
// background set's sky, hills and drifting objects. The frames are saved to
// the pictures' folder "hud" (in the test's temporary folder, or under
// VOVARO_SHOTS_DIR to keep them to be looked at).
#include <gtest/gtest.h>

#include <string>

#include "engine/xml_file.h"
#include "game/background.h"
#include "graphics/explosion.h"
#include "game/game_panels.h"
#include "game/game_state_source.h"
#include "gui/base_control.h"
#include "hud_test_support.h"

namespace {

struct Game : IGameStateSource {
    int32_t GetScore() const override { return 12450; }
    int32_t GetLives() const override { return lives; }
    int32_t GetLevelIndex() const override { return 4; }
    int32_t GetEpisodeIndex() const override { return 1; }
    std::string GetEpisodeName() const override { return ""; }
    bool IsLivesBlink() const override { return true; }
    int32_t lives = 3;
};

int R(uint32_t c) { return static_cast<int>((c >> 16) & 0xFF); }
int G(uint32_t c) { return static_cast<int>((c >> 8) & 0xFF); }
int B(uint32_t c) { return static_cast<int>(c & 0xFF); }
bool IsGold(uint32_t c) { return R(c) > 150 && R(c) > B(c) + 60 && G(c) > B(c); }
bool IsBright(uint32_t c) { return R(c) > 200 && G(c) > 180; }
bool IsRed(uint32_t c) { return R(c) > 150 && R(c) > G(c) + 80 && R(c) > B(c) + 60; }
bool IsWhite(uint32_t c) { return R(c) > 220 && G(c) > 220 && B(c) > 220; }
bool IsSky(uint32_t c) { return B(c) > 150 && B(c) > R(c) + 30; }
bool IsGreen(uint32_t c) { return G(c) > R(c) + 20 && G(c) > B(c); }

class HudRenderTest : public hud_test::HudTest {
protected:
    CBackgroundDesc Set(const std::string& name) {
        CXMLFile file("Settings\\Backgrounds.xml");
        CBackgroundDesc desc;
        PARSERS::ParseBackground(file.SelectSingleNode("//Backgrounds/Background[@set='" + name + "']"), desc);
        return desc;
    }
    int Count(const std::vector<uint32_t>& px, int l, int t, int r, int b, bool (*pred)(uint32_t)) const {
        int n = 0;
        for (int y = t; y < b; ++y)
            for (int x = l; x < r; ++x) n += pred(At(px, x, y));
        return n;
    }
    // Inside the control's rectangle.
    int CountIn(const std::vector<uint32_t>& px, const CBaseControl* c, bool (*pred)(uint32_t)) const {
        return Count(px, static_cast<int>(c->GetX()), static_cast<int>(c->GetY()),
                     static_cast<int>(c->GetX() + c->GetWidth()), static_cast<int>(c->GetY() + c->GetHeight()), pred);
    }
};

TEST_F(HudRenderTest, PanelOverTheMeadow) {
    Game game;
    CBackground background;
    ASSERT_TRUE(background.Load(Set("meadow"), 0));
    EXPECT_EQ(background.GetLowLayers().size(), 5u);
    CGamePanels panels;
    ASSERT_TRUE(panels.LoadFromDialogs());
    panels.SetStateSource(&game);
    panels.ResetToolProgress(kToolHammer);
    panels.AddToolProgress({kToolFeather, 40});
    panels.AddToolProgress({kToolEgg, 85});

    uint32_t frame = 0;
    auto draw = [&] {
        Frame([&] {
            background.RenderLow(1, frame);
            panels.Render();
            background.RenderHigh(1, frame);
        });
        ++frame;
    };
    for (int i = 0; i < 5; ++i) draw();
    auto px = FramePixels();
    SavePng(px, "hud_meadow.png");

    // The panel's gold rim, left and right, and the background beside it.
    EXPECT_TRUE(IsGold(At(px, 4, 300))) << std::hex << At(px, 4, 300);
    EXPECT_TRUE(IsGold(At(px, 255, 300))) << std::hex << At(px, 255, 300);
    EXPECT_TRUE(IsSky(At(px, 700, 20))) << std::hex << At(px, 700, 20);
    EXPECT_GT(Count(px, 600, 560, 800, 600, IsGreen), 2000);
    // The score in its well, the level and episode lines, the lives number and heart.
    EXPECT_GT(Count(px, 120, 30, 230, 76, IsBright), 150);
    EXPECT_GT(Count(px, 40, 92, 220, 160, IsBright), 200);
    EXPECT_GT(Count(px, 150, 200, 200, 250, IsBright), 40);
    EXPECT_GT(Count(px, 38, 184, 110, 256, IsRed), 400);
    // Charge bars: the egg's (85 %) fill reaches further than the feather's (40 %).
    const CBaseControl* egg_bar = panels.FindControl("ID_EGG_PROGRESS");
    const CBaseControl* feather_bar = panels.FindControl("ID_FEATHER_PROGRESS");
    // The fill is light (blue, then gold when nearly full) against the bar's dark glass.
    auto lit = [&](const CBaseControl* bar) {
        int n = 0;
        const int y = static_cast<int>(bar->GetY()) + 10;
        for (int x = static_cast<int>(bar->GetX()) + 6; x < bar->GetX() + bar->GetWidth() - 6; ++x)
            n += R(At(px, x, y)) + G(At(px, x, y)) + B(At(px, x, y)) > 330;
        return n;
    };
    EXPECT_GT(lit(egg_bar), 95);
    EXPECT_LT(lit(feather_bar), 60);
    EXPECT_GT(lit(feather_bar), 40);
    // No tool is ready: no caption where the hammer's name goes.
    EXPECT_EQ(Count(px, 120, 292, 236, 306, IsWhite), 0);
    // The menu button's caption.
    EXPECT_GT(CountIn(px, panels.FindControl("ID_MENU"), IsBright), 60);

    // The hammer is switched on: its ring grows, then its button and icon show.
    panels.EnableTool(kToolHammer, true);
    for (int i = 0; i < 20; ++i) draw();
    px = FramePixels();
    SavePng(px, "hud_ring.png");
    EXPECT_GT(Count(px, 0, 260, 110, 380, IsGold), 200);
    for (int i = 0; i < 60; ++i) draw();
    ASSERT_TRUE(panels.IsToolAvailable(kToolHammer));
    px = FramePixels();
    SavePng(px, "hud_hammer_ready.png");
    const CBaseControl* icon = panels.FindControl("ID_HAMMER_IMAGE");
    EXPECT_GT(CountIn(px, icon, [](uint32_t c) { return R(c) > 150 && G(c) > 150 && B(c) > 160; }), 60);  // steel
    EXPECT_GT(Count(px, 100, 300, 236, 340, IsWhite), 60);  // "Hammer"

    // The ready hammer blinks a while after its ring: a warm glow over its icon.
    auto light = [&](const std::vector<uint32_t>& p) {
        long sum = 0;
        for (int y = 284; y < 356; ++y)
            for (int x = 16; x < 88; ++x) sum += R(At(p, x, y)) + G(At(p, x, y));
        return sum / (72 * 72);
    };
    const long light_before = light(px);
    panels.EnableToolBlinks(true);
    int waited = 0;
    while (!panels.GetBlink(kToolHammer)) {
        Frame([&] { panels.Render(); });
        ASSERT_LT(++waited, 500);
    }
    for (int i = 0; i < 15; ++i) draw();  // 15 updates of 17 up to full glow
    px = FramePixels();
    SavePng(px, "hud_blink.png");
    EXPECT_GT(light(px), light_before + 60);

    // A life won: a golden burst over the heart.
    const int gold_before = Count(px, 38, 184, 110, 256, IsGold);
    panels.LifeIndicator().PlayAddLife();
    for (int i = 0; i < 4; ++i) draw();
    px = FramePixels();
    SavePng(px, "hud_add_life.png");
    EXPECT_GT(Count(px, 38, 184, 110, 256, IsGold), gold_before + 200);

    // Danger: the heart in red alarm light, brighter red all around it.
    const int red_before = Count(px, 24, 176, 124, 266, IsRed);
    panels.LifeIndicator().PlayDanger();
    for (int i = 0; i < 9; ++i) draw();
    px = FramePixels();
    SavePng(px, "hud_danger.png");
    EXPECT_GT(Count(px, 24, 176, 124, 266, IsRed), red_before + 300);
}

TEST_F(HudRenderTest, EachBackgroundSetDraws) {
    // The effect library, as the game loads it at start-up, for the emitters of the sets.
    ASSERT_TRUE(static_cast<CExplosion*>(explosion::GetExplosionManager())->Player().LoadLibrary(
        "Textures\\Plume\\Effects.plume"));
    for (const char* name : {"meadow", "orchard", "marsh", "forest", "winter"}) {
        CBackground background;
        ASSERT_TRUE(background.Load(Set(name), 0)) << name;
        for (uint32_t frame = 0; frame < 3; ++frame)
            Frame([&] {
                background.RenderLow(1, frame);
                background.RenderHigh(1, frame);
            });
        const auto px = FramePixels();
        SavePng(px, std::string("background_") + name + ".png");
        // Sky at the top, hills filling the bottom: no black left anywhere on the sides.
        int black = 0;
        for (int y = 0; y < 600; y += 20)
            for (int x : {0, 400, 799}) black += (At(px, x, y) & 0xFFFFFF) == 0;
        EXPECT_EQ(black, 0) << name;
        EXPECT_NE(At(px, 400, 20), At(px, 400, 590)) << name;
    }
    explosion::ReleaseExplosionManager();
}

TEST_F(HudRenderTest, WithNoLifeLeftTheHeartIsEmpty) {
    Game game;
    CGamePanels panels;
    ASSERT_TRUE(panels.LoadFromDialogs());
    panels.SetStateSource(&game);
    const auto red_in_heart = [&] {
        Frame([&] { panels.Render(); });
        const auto px = FramePixels();
        return Count(px, 38, 184, 110, 256, IsRed);
    };
    EXPECT_GT(red_in_heart(), 400);
    game.lives = 0;
    EXPECT_LT(red_in_heart(), 20);
    SavePng(FramePixels(), "hud_no_life.png");
    game.lives = 1;
    EXPECT_GT(red_in_heart(), 400);
}

}  // namespace
