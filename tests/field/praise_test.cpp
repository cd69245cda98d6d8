// The score popups: the paths of the four kinds, the fade of the moving
// ones, their life span and clearing, on the shipped labels.
#include <gtest/gtest.h>

#include <numeric>
#include <set>
#include <string>

#include "balls_test_support.h"
#include "engine/random.h"
#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "engine/xml_node_list.h"
#include "field/praise.h"
#include "graphics/font_keeper.h"
#include "gui/gui_test_support.h"
#include "graphics/static_text.h"
#include "graphics/texture_manager.h"
#include "graphics/textured_rect_interface.h"
#include "graphics/textured_rects_list.h"

namespace {

class PraiseTest : public field_test::ShippedDataTest {
protected:
    void SetUp() override {
        ShippedDataTest::SetUp();
        CFontKeeper::Instance().SelectLanguage(0);
        // The language's font pages stay loaded for the rest of the run.
        textures_before_ = CTextureManager::Instance().GetCount();
        fx::srand(7);
    }
    void TearDown() override {
        praise_.Clear();
        ShippedDataTest::TearDown();
    }
    CPraise praise_;
};

TEST_F(PraiseTest, ZeroPointsShowNothing) {
    praise_.Add(CVector2(100, 100), 0, "Score_small", CPraise::pkRise);
    praise_.ShowScore(100, 100, 0, "Score_small", 0);
    EXPECT_TRUE(praise_.GetEntries().empty());
}

TEST_F(PraiseTest, RiseAtSpeedTwoCovers348PixelsIn174Frames) {
    std::vector<CVector2> path;
    CPraise::BuildPath(CPraise::pkRise, CVector2(100, 400), 30, 2.0f, path);
    ASSERT_EQ(path.size(), 175u);
    for (const CVector2& step : path) {
        EXPECT_FLOAT_EQ(step.x, 0);
        EXPECT_FLOAT_EQ(step.y, -2.0f);
    }
    CPraise::BuildPath(CPraise::pkStay, CVector2(100, 400), 30, 2.0f, path);
    EXPECT_EQ(path.size(), 175u);
    // At 1.7 a frame: 350 / 1.7 = 205.9, so 206 frames.
    CPraise::BuildPath(CPraise::pkRise, CVector2(100, 400), 30, 1.7f, path);
    EXPECT_EQ(path.size(), 206u);
}

TEST_F(PraiseTest, RisingEntryMovesFadesAndLeavesAfterItsPath) {
    praise_.Add(CVector2(300, 400), 30, "Score_small", CPraise::pkRise);
    ASSERT_EQ(praise_.GetEntries().size(), 1u);
    const CPraise::Entry& entry = praise_.GetEntries().front();
    const size_t length = entry.path.size();
    EXPECT_EQ(entry.remaining, static_cast<int>(length) - 1);
    const float speed = -entry.path[0].y;
    EXPECT_GE(speed, 1.6f - 1e-4f);
    EXPECT_LE(speed, 2.4f + 1e-4f);
    CStaticText& text = *entry.text;
    text.Layout();
    ASSERT_GT(text.GetBatch().GetCount(), 0);
    const float top = text.GetRect(0)->GetTop();

    // Drawn for length - 1 frames; the last element is never applied.
    for (size_t frame = 0; frame + 2 < length; ++frame) praise_.Update();
    ASSERT_EQ(praise_.GetEntries().size(), 1u);
    EXPECT_NEAR(text.GetRect(0)->GetTop(), top - speed * static_cast<float>(length - 2), 0.05f);
    praise_.Update();
    EXPECT_TRUE(praise_.GetEntries().empty());
}

TEST_F(PraiseTest, FadeTakesFourAlphaAFrameOverTheLastThird) {
    praise_.Add(CVector2(300, 400), 30, "Score_small", CPraise::pkRise);
    const CPraise::Entry& entry = praise_.GetEntries().front();
    const size_t length = entry.path.size();
    CStaticText& text = *entry.text;
    text.Layout();
    const int start_alpha = text.GetRect(0)->GetAlpha(0);
    int fades = 0;
    for (size_t pos = 0; pos + 2 < length; ++pos) {
        if (static_cast<float>(length - pos) < 0.33f * static_cast<float>(length)) ++fades;
        praise_.Update();
    }
    EXPECT_EQ(text.GetRect(0)->GetAlpha(0), std::max(start_alpha - 4 * fades, 0));
}

TEST_F(PraiseTest, ZoomGrowsFromNothingHoldsAndShrinks) {
    std::vector<CVector2> path;
    CPraise::BuildPath(CPraise::pkZoom, CVector2(0, 0), 30, 2.0f, path);
    // n = 175, a third 58.33: 30 frames to grow, 70 to hold, 30 to shrink.
    ASSERT_EQ(path.size(), 130u);
    EXPECT_FLOAT_EQ(path[0].y, 0);
    EXPECT_FLOAT_EQ(path[1].y, 1);  // trunc(30 / 29.17)
    EXPECT_FLOAT_EQ(path[29].y, 29);
    EXPECT_FLOAT_EQ(path[30].y, 30);
    EXPECT_FLOAT_EQ(path[99].y, 30);
    EXPECT_FLOAT_EQ(path[100].y, 30);
    EXPECT_FLOAT_EQ(path[128].y, 1);
    EXPECT_FLOAT_EQ(path[129].y, 0);

    praise_.Add(CVector2(300, 300), 250, "Match5_bonus", CPraise::pkZoom);
    const CPraise::Entry& entry = praise_.GetEntries().front();
    EXPECT_FLOAT_EQ(entry.text->GetTextStyle().height, 0);
    praise_.Update();
    EXPECT_FLOAT_EQ(entry.text->GetTextStyle().height, 0);
    praise_.Update();
    EXPECT_GT(entry.text->GetTextStyle().height, 0);
}

TEST_F(PraiseTest, ArcsLeaveUpAndLeftAtDrawnAngles) {
    std::vector<CVector2> first, second;
    fx::srand(1);
    CPraise::BuildPath(CPraise::pkArc, CVector2(400, 300), 30, 2.0f, first);
    CPraise::BuildPath(CPraise::pkArc, CVector2(400, 300), 30, 2.0f, second);
    // 140 time units in steps of 0.5; the first move is from the start itself.
    ASSERT_EQ(first.size(), 280u);
    EXPECT_FLOAT_EQ(first[0].x, 0);
    EXPECT_FLOAT_EQ(first[0].y, 0);
    EXPECT_LT(first[1].x, 0);
    EXPECT_LT(first[1].y, 0);
    EXPECT_NE(first[1].x, second[1].x);
    // The moves add up to the thrown path: up first, then falling back down.
    const CVector2 end = std::accumulate(first.begin(), first.end(), CVector2(0, 0),
                                         [](CVector2 a, const CVector2& b) { return CVector2(a.x + b.x, a.y + b.y); });
    EXPECT_LT(end.x, 0);
    EXPECT_GT(end.y, 0);
}

TEST_F(PraiseTest, ClearRemovesAtOnceAndUnknownKindsThrow) {
    praise_.Add(CVector2(100, 100), 30, "Score_small", CPraise::pkArc);
    praise_.Add(CVector2(100, 100), 30, "Score_small", CPraise::pkStay);
    EXPECT_EQ(praise_.GetEntries().size(), 2u);
    praise_.Clear();
    EXPECT_TRUE(praise_.GetEntries().empty());
    EXPECT_ANY_THROW(praise_.Add(CVector2(100, 100), 30, "Score_small", 4));
    EXPECT_TRUE(praise_.GetEntries().empty());
}

TEST_F(PraiseTest, APopupIsDrawnAtItsPointAndRises) {
    // Lit pixels of the frame in rows [top, bottom) around x 300.
    const auto lit_rows = [](int top, int bottom) {
        uint32_t width = 0;
        const std::vector<uint32_t> pixels = gui_test::CoreDriver::ReadFrame(&width);
        int lit = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = 240; x < 360; ++x)
                if ((pixels[static_cast<size_t>(y) * width + static_cast<size_t>(x)] & 0x00FFFFFF) != 0) ++lit;
        return lit;
    };
    praise_.Add(CVector2(300, 400), 250, "Score_small", CPraise::pkRise);
    gui_test::CoreDriver::Frame([this] { praise_.Render(); });
    EXPECT_GT(lit_rows(370, 440), 0);
    EXPECT_EQ(lit_rows(200, 300), 0);
    for (int frame = 0; frame < 80; ++frame) gui_test::CoreDriver::Frame([this] { praise_.Render(); });
    // 80 frames at 1.6 to 2.4 pixels: 128 to 192 pixels higher.
    EXPECT_GT(lit_rows(170, 300), 0);
    EXPECT_EQ(lit_rows(370, 440), 0);
}

// With an area set (the screen beside a 200-pixel panel, below a bar whose
// foot is at 36), no popup's text leaves it on any frame: a rise from the
// field's upper rows stops under the bar, an arc stops at the panel, and a
// popup that would start over a panel starts beside it.
TEST_F(PraiseTest, PopupsStayInTheirArea) {
    const CFloatRect area(200, 36, 800, 600);
    praise_.SetArea(area);
    const struct {
        CVector2 at;
        const char* label;
        int kind;
    } cases[] = {
        {CVector2(400, 150), "Match4_bonus", CPraise::pkRise}, {CVector2(250, 300), "Score_small", CPraise::pkArc},
        {CVector2(100, 20), "Score_combo", CPraise::pkStay},   {CVector2(790, 120), "Match4_bonus", CPraise::pkZoom},
        {CVector2(400, 590), "Score_small", CPraise::pkArc},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.label) + " kind " + std::to_string(c.kind));
        praise_.Clear();
        praise_.Add(c.at, 100, c.label, c.kind);
        ASSERT_EQ(praise_.GetEntries().size(), 1u);
        CStaticText& text = *praise_.GetEntries().front().text;
        bool reached_edge = false;
        for (int frame = 0; !praise_.GetEntries().empty(); ++frame) {
            text.Layout();
            for (int i = 0; i < text.GetBatch().GetCount(); ++i) {
                const ITexturedRect& quad = *text.GetRect(i);
                ASSERT_GE(quad.GetLeft(), area.left - 0.01f) << frame;
                ASSERT_GE(quad.GetTop(), area.top - 0.01f) << frame;
                ASSERT_LE(quad.GetRight(), area.right + 0.01f) << frame;
                ASSERT_LE(quad.GetBottom(), area.bottom + 0.01f) << frame;
                reached_edge = reached_edge || quad.GetTop() < area.top + 0.5f;
            }
            praise_.Update();
        }
        if (c.kind == CPraise::pkRise) {
            EXPECT_TRUE(reached_edge) << "the rise goes on up to the bar's foot";
        }
    }
}

TEST_F(PraiseTest, EveryPopupLabelIsInEveryLanguage) {
    // The field's own popups, then every "label_name" the data gives a popup.
    std::set<std::string> aliases = {"Score_small", "Score_combo", "Match4_bonus", "Match5_bonus",
                                     "Score_bonus", "bird_bonus"};
    for (const char* file : {"Settings\\Bonus.xml", "Settings\\Bases\\Common.xml"}) {
        const CXMLFile document(file);
        const CXMLNodeList named = document.SelectNodes("//*[@label_name]");
        for (int i = 0; i < named.GetLength(); ++i) aliases.insert(named[i].GetAttribute("label_name", ""));
    }
    const CXMLFile languages("Settings\\Languages.xml");
    const CXMLNodeList list = languages.SelectNodes("//Language");
    ASSERT_GE(list.GetLength(), 2);
    for (int i = 0; i < list.GetLength(); ++i) {
        const std::string labels_file = "Settings\\" + list[i].GetAttribute("labels_file", "");
        const CXMLFile labels(labels_file);
        for (const std::string& alias : aliases)
            EXPECT_TRUE(labels.SelectSingleNode("//label[@alias='" + alias + "']").IsValid())
                << alias << " missing in " << labels_file;
    }
}

}  // namespace
