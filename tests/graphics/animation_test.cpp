#include "graphics/animation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "engine/data_test_support.h"

using namespace data_test;

namespace {

class AnimationTest : public ScratchTest {
protected:
    // Writes an animation file of `frames` frame elements (each given as its
    // extra attributes) and loads it.
    bool Load(CAnimation& anim, const std::string& root_attrs, const std::vector<std::string>& frames) {
        std::string xml = "<Animation " + root_attrs + ">";
        for (size_t i = 0; i < frames.size(); ++i)
            xml += "<Frame tex_rect=\"" + std::to_string(i * 10) + " 0 " + std::to_string(i * 10 + 10) + " 10\" " +
                   frames[i] + "/>";
        xml += "</Animation>";
        WriteBytes("anim.xml", xml);
        return anim.LoadAnimation("anim.xml");
    }
    // The frames shown over `ticks` updates, starting with the current one.
    static std::vector<int> Run(CAnimation& anim, int ticks) {
        std::vector<int> seen = {anim.GetFrame()};
        for (int i = 0; i < ticks; ++i) {
            anim.Update();
            seen.push_back(anim.GetFrame());
        }
        return seen;
    }
};

}  // namespace

TEST_F(AnimationTest, DefaultDelayLoopsAndAnimateOnceStops) {
    CAnimation anim;
    ASSERT_TRUE(Load(anim, "start_frame=\"0\"", {"", "", ""}));
    EXPECT_TRUE(anim.IsRunning());
    EXPECT_EQ(anim.GetDefaultDelay(), 3);
    EXPECT_EQ(Run(anim, 9), (std::vector<int> {0, 0, 0, 1, 1, 1, 2, 2, 2, 0}));

    ASSERT_TRUE(Load(anim, "start_frame=\"0\" animate_once=\"1\" speed=\"1\"", {"", "", ""}));
    EXPECT_EQ(Run(anim, 4), (std::vector<int> {0, 1, 2, 2, 2}));
    EXPECT_FALSE(anim.IsRunning());
}

TEST_F(AnimationTest, ReversePlaysThereAndBack) {
    CAnimation anim;
    ASSERT_TRUE(Load(anim, "reverse=\"1\" speed=\"1\" start_frame=\"0\"", {"", "", "", ""}));
    ASSERT_EQ(anim.GetFrameCount(), 6);
    // Frames 4 and 5 are copies of frames 2 and 1.
    EXPECT_FLOAT_EQ(anim.GetFrameData(4).tex_rect.left, 20);
    EXPECT_FLOAT_EQ(anim.GetFrameData(5).tex_rect.left, 10);
    EXPECT_EQ(Run(anim, 7), (std::vector<int> {0, 1, 2, 3, 4, 5, 0, 1}));
}

TEST_F(AnimationTest, PerFrameDelayAndNextFrame) {
    CAnimation anim;
    // Frame 1 jumps back to 0 early; frame 2 is never reached. Delays of 0 and
    // 1 both change on every tick.
    ASSERT_TRUE(Load(anim, "start_frame=\"0\"", {"delay=\"2\"", "delay=\"0\" next_frame=\"0\"", ""}));
    EXPECT_EQ(Run(anim, 6), (std::vector<int> {0, 0, 1, 0, 0, 1, 0}));
    // A successor beyond the last frame wraps to 0.
    ASSERT_TRUE(Load(anim, "start_frame=\"1\"", {"delay=\"1\"", "delay=\"1\" next_frame=\"9\""}));
    EXPECT_EQ(Run(anim, 2), (std::vector<int> {1, 0, 1}));
    // Stopping keeps the frame and the tick.
    anim.SetRunning(false);
    EXPECT_FALSE(anim.Update());
    EXPECT_EQ(anim.GetFrame(), 1);
}

TEST_F(AnimationTest, StartFrame) {
    CAnimation anim;
    // A single frame is still and starts on frame 0; animate_once is not read.
    ASSERT_TRUE(Load(anim, "animate_once=\"1\"", {""}));
    EXPECT_FALSE(anim.IsRunning());
    EXPECT_FALSE(anim.IsAnimateOnce());
    EXPECT_EQ(anim.GetFrame(), 0);

    // No start frame, or one past the end: a random frame other than the last.
    for (const std::string attrs : {"", "start_frame=\"7\""}) {
        std::set<int> starts;
        for (int i = 0; i < 60; ++i) {
            ASSERT_TRUE(Load(anim, attrs, {"", "", "", "", ""}));
            starts.insert(anim.GetFrame());
        }
        EXPECT_EQ(starts, (std::set<int> {0, 1, 2, 3})) << attrs;
    }
    ASSERT_TRUE(Load(anim, "start_frame=\"-2\"", {"", "", ""}));
    EXPECT_EQ(anim.GetFrame(), 0);
    ASSERT_TRUE(Load(anim, "start_frame=\"2\"", {"", "", ""}));
    EXPECT_EQ(anim.GetFrame(), 2);
}

TEST_F(AnimationTest, PolygonsAndBadFrames) {
    CAnimation anim;
    WriteBytes("poly.xml",
               "<Animation><Frame tex_rect=\"0,0, 32,32\" poly=\"3 0 0, 32 0, 0 32\"/>"
               "<Frame tex_rect=\"32 0 64 32\" poly=\"3 0 0 32 0\"/></Animation>");
    ASSERT_TRUE(anim.LoadAnimation("poly.xml"));
    // The second polygon lacks a pair: it is dropped and the flag follows the last frame.
    EXPECT_EQ(anim.GetFrameData(0).polygon.GetVertexCount(), 3);
    EXPECT_EQ(anim.GetFrameData(1).polygon.GetVertexCount(), 0);
    EXPECT_FALSE(anim.HasPolygons());

    WriteBytes("bad.xml", "<Animation><Frame tex_rect=\"0 0 8 8\"/><Frame tex_rect=\"0 0 8\"/></Animation>");
    EXPECT_FALSE(anim.LoadAnimation("bad.xml"));
    EXPECT_EQ(anim.GetFrameCount(), 1);  // the frames read before stay
    EXPECT_NE(NewLog().find("Error: Animation from file bad.xml. Invalid tex_rect!"), std::string::npos);

    // A file without frames is refused and leaves the animation alone.
    WriteBytes("none.xml", "<Animation speed=\"5\"/>");
    EXPECT_FALSE(anim.LoadAnimation("none.xml"));
    EXPECT_EQ(anim.GetFrameCount(), 1);
    EXPECT_NE(NewLog().find("none.xml"), std::string::npos);

    EXPECT_THROW(anim.LoadAnimation("missing.xml"), std::exception);
}

TEST_F(AnimationTest, OutlandishNumbersAreRefusedOrClamped) {
    CAnimation anim;
    // Counts whose pairs would run past the text (2 x count overflows an int),
    // then coordinates beyond any texture and ones that are not numbers.
    WriteBytes("wild.xml",
               "<Animation><Frame tex_rect=\"0 0 8 8\" poly=\"2147483647 0 0 1 1\"/>"
               "<Frame tex_rect=\"0 0 8 8\" poly=\"1073741824 0 0\"/>"
               "<Frame tex_rect=\"-1e300 nan 1e39 inf\" poly=\"3 0 0 1e300 0 nan 1e300\"/></Animation>");
    ASSERT_TRUE(anim.LoadAnimation("wild.xml"));
    EXPECT_EQ(anim.GetFrameData(0).polygon.GetVertexCount(), 0);
    EXPECT_EQ(anim.GetFrameData(1).polygon.GetVertexCount(), 0);
    EXPECT_EQ(anim.GetFrameData(2).tex_rect, CFloatRect(-65536, 0, 65536, 65536));
    const auto& points = anim.GetFrameData(2).polygon.GetLocalVertices();
    ASSERT_EQ(points.size(), 4u);  // closed: the first point again
    EXPECT_EQ(points[1], CVector2(65536, 0));
    EXPECT_EQ(points[2], CVector2(0, 65536));

    // Fitting to a rectangle wider than an int scales by a finite, positive factor.
    anim.SetFrame(2);
    anim.FitPolygons(CFloatRect(0, 0, 1e20f, 1e20f));
    for (const CVector2& v : anim.GetFrameData(2).polygon.GetLocalVertices()) {
        EXPECT_TRUE(std::isfinite(v.x) && std::isfinite(v.y));
        EXPECT_GE(v.x, 0);
        EXPECT_GE(v.y, 0);
    }
}

TEST(Animation, ResetAndAddFrame) {
    CAnimation anim;
    EXPECT_FALSE(anim.IsRunning());
    anim.Reset(true, 4);
    anim.AddFrame(CFloatRect(0, 0, 8, 8), nullptr);
    const CPolygon triangle({CVector2(0, 0), CVector2(8, 0), CVector2(0, 8)});
    anim.AddFrame(CFloatRect(8, 0, 16, 8), &triangle);
    EXPECT_TRUE(anim.HasPolygons());
    EXPECT_EQ(anim.GetFrameData(0).next_frame, 1);
    EXPECT_EQ(anim.GetFrameData(1).next_frame, 2);
    EXPECT_EQ(anim.GetFrameData(1).delay, 4);
    anim.SetFrame(5);  // out of range: ignored
    EXPECT_EQ(anim.GetFrame(), 0);
    anim.SetFrame(1);
    EXPECT_FLOAT_EQ(anim.GetCurrentTexRect().left, 8);
    // No frames: a zero rectangle and no polygon, never a read past the end.
    CAnimation empty;
    EXPECT_EQ(empty.GetCurrentTexRect(), CFloatRect());
    EXPECT_EQ(empty.GetCurrentPolygon(), nullptr);
    empty.SetRunning(true);
    EXPECT_FALSE(empty.Update());
}
