// The splash sequence on a fake clock, from splash files written per test:
// fade in by frames, hold for the time, fade out, the next splash; skipping;
// alphas kept within their range and 0..255; speeds of 0 or less reaching the
// end at once so every splash ends; no file, no splashes; the cursor hidden
// while the sequence lives.
#include "frontend/splash_screens.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "graphics/static_text.h"
#include "graphics/textured_rects_list.h"
#include "menu_test_support.h"
#include "test_temp.h"

using namespace menu_test;

namespace {

namespace fs = std::filesystem;

class SplashScreensTest : public MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        if (HasFatalFailure()) return;
        dir_ = std::make_unique<test_temp::TempDir>("splash");
        fs::create_directories(dir_->Path() / "Settings");
        fs::current_path(dir_->Path());
        gui_test::WriteWhitePng("Textures/white.png", 8, 8);
    }
    void TearDown() override {
        fs::current_path(VOVARO_DATA_DIR);
        dir_.reset();
        MenuTest::TearDown();
    }
    static void WriteSplashes(const std::string& splashes) {
        TempFolder::Write("Settings/SplashScreen.xml", "<SplashScreens>" + splashes + "</SplashScreens>");
    }
    // A splash element with the white picture and the given attributes.
    static std::string Splash(const std::string& attributes) {
        return "<Splash " + attributes +
               "><graphics texture='Textures\\white.png' width='100' height='80' tex_rect='0 0 8 8'/></Splash>";
    }
    // One frame of the sequence, as the menu draws it.
    static void Step(CSplashScreens& s) { Frame([&] { s.Update(); }, s.GetBackColor()); }
    static bool CursorVisible() { return core().GetMouse()->IsCursorVisible(); }

    uint32_t now = 5000;
    CSplashScreens::Clock clock = [this] { return now; };

private:
    std::unique_ptr<test_temp::TempDir> dir_;
};

TEST_F(SplashScreensTest, FadesInHoldsFadesOutThenTheNextSplashFollows) {
    WriteSplashes(Splash("bk_color='FF102030' min_alpha='0' max_alpha='255' fade_in_speed='5' fade_out_speed='15' "
                         "ttl='1000'") +
                  Splash("bk_color='FF405060' min_alpha='20' max_alpha='200' fade_in_speed='10' "
                         "fade_out_speed='10' ttl='0'"));
    CSplashScreens s(clock);
    ASSERT_TRUE(s.IsActive());
    ASSERT_EQ(s.GetDescriptions().size(), 2u);
    EXPECT_FALSE(CursorVisible());
    EXPECT_EQ(s.GetBackColor(), 0xFF102030u);
    EXPECT_EQ(s.GetAlpha(), 0);

    for (int i = 0; i < 51; ++i) Step(s);
    EXPECT_EQ(s.GetAlpha(), 255);
    EXPECT_FALSE(s.IsHolding());
    Step(s);  // the hold begins now
    EXPECT_TRUE(s.IsHolding());
    now += 999;
    Step(s);
    EXPECT_EQ(s.GetAlpha(), 255);
    now += 1;
    Step(s);
    EXPECT_EQ(s.GetAlpha(), 240);
    for (int i = 0; i < 16; ++i) Step(s);
    EXPECT_EQ(s.GetAlpha(), 0);
    EXPECT_EQ(s.GetCurrent(), 0u);
    Step(s);
    EXPECT_EQ(s.GetCurrent(), 1u);
    EXPECT_EQ(s.GetAlpha(), 20);  // from its own minimum
    EXPECT_EQ(s.GetBackColor(), 0xFF405060u);

    for (int i = 0; i < 18; ++i) Step(s);
    EXPECT_EQ(s.GetAlpha(), 200);
    Step(s);
    Step(s);  // ttl 0: fading out at once
    EXPECT_EQ(s.GetAlpha(), 190);
    for (int i = 0; i < 17; ++i) Step(s);
    EXPECT_EQ(s.GetAlpha(), 20);
    EXPECT_TRUE(s.IsActive());
    Step(s);
    EXPECT_FALSE(s.IsActive());
    EXPECT_EQ(s.GetBackColor(), 0xFF000000u);
    Step(s);  // nothing more happens
    EXPECT_FALSE(s.IsActive());

    s.Release();
    EXPECT_TRUE(CursorVisible());
}

TEST_F(SplashScreensTest, SkippingStartsTheNextSplashFromItsMinimum) {
    WriteSplashes(Splash("min_alpha='0' max_alpha='255' fade_in_speed='5' ttl='100'") +
                  Splash("min_alpha='40' max_alpha='255' fade_in_speed='5' ttl='100'"));
    CSplashScreens s(clock);
    for (int i = 0; i < 10; ++i) Step(s);
    EXPECT_EQ(s.GetAlpha(), 50);
    s.Next();
    EXPECT_EQ(s.GetCurrent(), 1u);
    EXPECT_FALSE(s.IsHolding());
    EXPECT_EQ(s.GetAlpha(), 40);
    Step(s);
    EXPECT_EQ(s.GetAlpha(), 45);
    s.Next();
    EXPECT_FALSE(s.IsActive());
}

// Whatever the file says, alphas stay within the splash's own range and
// 0..255, and the splash ends: a speed of 0 or less, or one past the range,
// reaches the end of its fade in one frame.
TEST_F(SplashScreensTest, AlphasAreClampedAndEverySplashEnds) {
    struct Case {
        const char* attributes;
        int min_alpha, max_alpha;
        int frames_to_full;  // updates until the alpha reaches max_alpha
    };
    const Case cases[] = {
        {"min_alpha='-20' max_alpha='300' fade_in_speed='50' fade_out_speed='50' ttl='10'", 0, 255, 6},
        {"min_alpha='200' max_alpha='100' fade_in_speed='5' fade_out_speed='5' ttl='10'", 200, 200, 0},
        {"min_alpha='0' max_alpha='255' fade_in_speed='0' fade_out_speed='0' ttl='10'", 0, 255, 1},
        {"min_alpha='10' max_alpha='250' fade_in_speed='-5' fade_out_speed='-5' ttl='10'", 10, 250, 1},
        {"min_alpha='0' max_alpha='255' fade_in_speed='100000' fade_out_speed='2147483647' ttl='-50'", 0, 255, 1},
        {"", 0, 0, 0},  // every attribute missing: nothing to fade, the splash ends
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attributes);
        WriteSplashes(Splash(c.attributes));
        CSplashScreens s(clock);
        ASSERT_EQ(s.GetDescriptions().size(), 1u);
        const SplashDesc& d = s.GetDescriptions()[0];
        EXPECT_EQ(d.min_alpha, c.min_alpha);
        EXPECT_EQ(d.max_alpha, c.max_alpha);
        EXPECT_EQ(s.GetAlpha(), c.min_alpha);
        for (int i = 0; i < c.frames_to_full; ++i) Step(s);
        EXPECT_EQ(s.GetAlpha(), c.max_alpha);
        int frames = 0;
        while (s.IsActive() && frames < 600) {
            now += 16;
            Step(s);
            ++frames;
            ASSERT_GE(s.GetAlpha(), c.min_alpha);
            ASSERT_LE(s.GetAlpha(), c.max_alpha);
        }
        EXPECT_FALSE(s.IsActive()) << "still running after " << frames << " frames";
    }
}

TEST_F(SplashScreensTest, ATextPrintsItsLabelAndFadesWithThePicture) {
    WriteSplashes("<Splash min_alpha='0' max_alpha='255' fade_in_speed='51' fade_out_speed='51' ttl='0'>"
                  "<graphics texture='Textures\\white.png' width='100' height='80' tex_rect='0 0 8 8'/>"
                  "<Text label='Splash_Subtitle' x='400' y='420'/></Splash>" +
                  Splash("max_alpha='255'"));
    CSplashScreens s(clock);
    ASSERT_EQ(s.GetDescriptions()[0].text_label, "Splash_Subtitle");
    EXPECT_EQ(s.GetText(1), nullptr);
    const CStaticText* text = s.GetText(0);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetPosition().x, 400.0f);
    EXPECT_EQ(text->GetPosition().y, 420.0f);
    const int label_alpha = static_cast<int>(text->GetTextStyle().color >> 24);
    const auto text_alpha = [&] { return text->GetRect(0) ? text->GetRect(0)->GetAlpha(0) : -1; };

    Step(s);  // alpha 51: a fifth of the label's own
    ASSERT_GT(text->GetBatch().GetCount(), 0);
    EXPECT_EQ(text_alpha(), label_alpha * 51 / 255);
    for (int i = 0; i < 4; ++i) Step(s);
    EXPECT_EQ(text_alpha(), label_alpha);
    Step(s);  // holds
    Step(s);  // fades out
    EXPECT_EQ(s.GetAlpha(), 204);
    EXPECT_EQ(text_alpha(), label_alpha * 204 / 255);
}

TEST_F(SplashScreensTest, NoFileOrNoSplashesMeansNoSequence) {
    {
        CSplashScreens s(clock);  // no file at all
        EXPECT_FALSE(s.IsActive());
        EXPECT_EQ(s.GetBackColor(), 0xFF000000u);
        Step(s);
        EXPECT_EQ(s.GetAlpha(), -1);
    }
    EXPECT_TRUE(CursorVisible());
    EXPECT_NE(NewLog().find("Error: no splash screens, 'Settings\\SplashScreen.xml' cannot be read"),
              std::string::npos)
        << NewLog();

    WriteSplashes("");
    CSplashScreens empty(clock);
    EXPECT_FALSE(empty.IsActive());
    EXPECT_NE(NewLog().find("has no splash screens"), std::string::npos);
}

}  // namespace
