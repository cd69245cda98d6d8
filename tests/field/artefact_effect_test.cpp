// The artefact effects through the interface their keeper uses: a blink that
// runs count times up and down with its sample on the first frame, and a fade
// of a sprite the caller owns.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/data_test_support.h"
#include "field/artefact_blink.h"
#include "field/artefact_fader.h"
#include "graphics/object_2d.h"
#include "gui/sample_queue.h"

namespace {

class ArtefactEffectTest : public data_test::ScratchTest {
protected:
    void SetUp() override {
        ScratchTest::SetUp();
        g_SampleQueue.Clear();
        desc.width = 32;
        desc.height = 32;
        desc.tex_rect = CFloatRect(0, 0, 32, 32);
    }
    void TearDown() override {
        g_SampleQueue.Clear();
        ScratchTest::TearDown();
    }
    // Steps the effect as its keeper does until it ends; the alphas of the sprite.
    static std::vector<int> Run(IArtefactEffect& effect, const C2DObject& sprite) {
        std::vector<int> alphas;
        while (effect.IsActive() && alphas.size() < 1000) {
            effect.Render();
            effect.Update();
            alphas.push_back(sprite.GetAlpha(0));
        }
        return alphas;
    }

    // A sprite of the caller's, opaque until an effect takes it over.
    std::shared_ptr<C2DObject> Sprite() const {
        auto sprite = std::make_shared<C2DObject>();
        sprite->Create(0, 0, desc, false);
        return sprite;
    }

    CGraphicsDesc desc;
};

TEST_F(ArtefactEffectTest, ABlinkRunsUpAndDownCountTimesAndEndsTransparent) {
    CArtefactBlink blink(10, 20, desc, 2, 51, "arte_blink");
    EXPECT_EQ(blink.GetSprite()->GetAlpha(0), 0);
    EXPECT_EQ(blink.GetSprite()->GetLeft(), 10.0f);
    const std::vector<int> alphas = Run(blink, *blink.GetSprite());
    const std::vector<int> up = {51, 102, 153, 204, 255}, down = {204, 153, 102, 51, 0};
    std::vector<int> expected;
    for (int i = 0; i < 2; ++i) {
        expected.insert(expected.end(), up.begin(), up.end());
        expected.insert(expected.end(), down.begin(), down.end());
    }
    EXPECT_EQ(alphas, expected);
    EXPECT_EQ(blink.GetDone(), 4);
    blink.Update();  // over: nothing moves
    EXPECT_EQ(blink.GetSprite()->GetAlpha(0), 0);
    // The sample was queued with the first frame, once.
    EXPECT_EQ(g_SampleQueue.GetAliases(), (std::set<std::string> {"arte_blink"}));
}

TEST_F(ArtefactEffectTest, ASpeedThatDoesNotDivideTheRangeStillTurnsOnTheLimits) {
    CArtefactBlink blink(0, 0, desc, 1, 100, "");
    EXPECT_EQ(Run(blink, *blink.GetSprite()), (std::vector<int> {100, 200, 255, 155, 55, 0}));
    EXPECT_TRUE(g_SampleQueue.IsEmpty());
}

TEST_F(ArtefactEffectTest, ABlinkOfNoTimesIsOverAtOnceButStillSoundsOnItsFirstRender) {
    CArtefactBlink blink(0, 0, desc, 0, 51, "arte_show");
    EXPECT_FALSE(blink.IsActive());
    blink.Update();
    EXPECT_EQ(blink.GetAlpha(), 0.0f);
    blink.Render();
    EXPECT_EQ(g_SampleQueue.GetAliases(), (std::set<std::string> {"arte_show"}));
    g_SampleQueue.Clear();
    blink.Render();
    EXPECT_TRUE(g_SampleQueue.IsEmpty());
}

TEST_F(ArtefactEffectTest, AFaderTurnsItsTargetFromTransparentToOpaque) {
    auto sprite = Sprite();
    CArtefactFader fader(sprite, 100);
    EXPECT_EQ(sprite->GetAlpha(0), 0);
    EXPECT_EQ(Run(fader, *sprite), (std::vector<int> {100, 200, 255}));
    EXPECT_EQ(sprite->GetAlpha(3), 255);

    auto fast = Sprite();
    CArtefactFader one(fast, 255);
    one.Update();
    EXPECT_EQ(fast->GetAlpha(0), 255);
    EXPECT_TRUE(one.IsActive());
    one.Update();
    EXPECT_FALSE(one.IsActive());
}

TEST_F(ArtefactEffectTest, AFaderOfSpeedZeroShowsItsTargetAtOnceAndANullTargetIsHarmless) {
    auto sprite = Sprite();
    CArtefactFader still(sprite, 0);
    EXPECT_FALSE(still.IsActive());
    EXPECT_EQ(sprite->GetAlpha(0), 255);
    EXPECT_NE(NewLog().find("Error: artefact fade with speed 0"), std::string::npos);

    CArtefactFader none(nullptr, 50);
    int updates = 0;
    while (none.IsActive() && updates < 100) {
        none.Update();
        ++updates;
    }
    EXPECT_EQ(updates, 6);  // 50, 100, ..., 250, then 255 and over
    EXPECT_EQ(none.GetValue(), 255.0f);
}

}  // namespace
