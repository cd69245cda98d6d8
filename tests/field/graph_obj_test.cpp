// Graph objects drawn through a renderer keeper: layers, offsets, alpha,
// attachment, the animation cache, and the effects they step.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

#include "field/alpha_effect.h"
#include "field/graph_obj.h"
#include "field/scale_effect.h"
#include "field_test_support.h"
#include "graphics/core_test_support.h"
#include "graphics/renderer_keeper.h"

namespace {

class GraphObjTest : public gfx_test::CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        red_ = TextureFile("red.tga", gfx_test::SolidTga(8, 8, 0xFFFF0000));
        blue_ = TextureFile("blue.tga", gfx_test::SolidTga(8, 8, 0xFF0000FF));
        keeper_ = std::make_unique<CRendererKeeper>();
    }
    void TearDown() override {
        keeper_.reset();
        globals_.reset();
        CoreTest::TearDown();
    }

    // Two layers: red at (0, 0) with alpha 0x80, blue at (4, -2) opaque.
    CGraphStateDesc TwoLayers() const {
        CGraphStateDesc desc;
        CLayerDesc red;
        red.graphics.texture = red_;
        red.graphics.color = 0x80FFFFFF;
        red.graphics.width = 64;  // a layer's own size does not size the sprite
        red.graphics.tex_rect = CFloatRect(0, 0, 8, 8);
        CLayerDesc blue;
        blue.graphics.texture = blue_;
        blue.graphics.tex_rect = CFloatRect(0, 0, 8, 8);
        blue.offset = CVector2(4, -2);
        desc.layers = {red, blue};
        return desc;
    }
    int Attached(CRendererKeeper& keeper, const std::string& texture) {
        const size_t before = keeper.GetCount();
        CTexturedRectsList* list = keeper.GetRenderer(texture);
        const int n = list->GetAttachedCount();
        if (keeper.GetCount() > before) keeper.ReleaseRenderer(list);
        return n;
    }

    std::unique_ptr<field_test::FieldGlobalsScope> globals_ = std::make_unique<field_test::FieldGlobalsScope>();
    std::string red_, blue_;
    std::unique_ptr<CRendererKeeper> keeper_;
};

TEST_F(GraphObjTest, LayersTakeTheObjectsSizeAndTheirOffsets) {
    CGraphOBJ obj(TwoLayers(), 36, 30, keeper_.get());
    ASSERT_EQ(obj.GetLayerCount(), 2u);
    obj.SetPosition(100, 50);
    float x = 0, y = 0;
    ASSERT_TRUE(obj.GetLeftTop(x, y, 0));
    EXPECT_EQ(CVector2(x, y), CVector2(100, 50));
    ASSERT_TRUE(obj.GetLeftTop(x, y, 1));
    EXPECT_EQ(CVector2(x, y), CVector2(104, 48));
    for (int layer : {0, 1}) {
        EXPECT_FLOAT_EQ(obj.GetWidth(layer), 36);
        EXPECT_FLOAT_EQ(obj.GetHeight(layer), 30);
    }
    obj.SetSize(20, 10);  // about each sprite's centre
    EXPECT_FLOAT_EQ(obj.GetLeft(1), 112);
    EXPECT_FLOAT_EQ(obj.GetTop(1), 58);
    EXPECT_FLOAT_EQ(obj.GetWidth(1), 20);

    // Past the end: zeros and false.
    EXPECT_EQ(obj.GetLeft(2), 0);
    EXPECT_EQ(obj.GetWidth(-1), 0);
    EXPECT_FALSE(obj.GetLeftTop(x, y, 2));
}

TEST_F(GraphObjTest, AlphaByLayer) {
    CGraphOBJ obj(TwoLayers(), 36, 36, keeper_.get());
    EXPECT_EQ(obj.GetAlpha(0), 0x80);
    EXPECT_EQ(obj.GetAlpha(1), 255);
    EXPECT_EQ(obj.GetAlpha(5), 0);
    obj.SetAlpha(200, 5);  // past the end: nothing
    EXPECT_EQ(obj.GetAlpha(0), 0x80);
    EXPECT_EQ(obj.GetAlpha(1), 255);
    obj.SetAlpha(200, 1);
    EXPECT_EQ(obj.GetAlpha(0), 0x80);
    EXPECT_EQ(obj.GetAlpha(1), 200);
    obj.SetAlpha(10, -1);
    EXPECT_EQ(obj.GetAlpha(0), 10);
    EXPECT_EQ(obj.GetAlpha(1), 10);
}

// Each layer is drawn where it lies by its texture's batch; a hidden object
// is not drawn.
TEST_F(GraphObjTest, DrawnThroughTheKeepersBatchesUntilHidden) {
    CGraphStateDesc desc = TwoLayers();
    desc.layers[0].graphics.color = 0xFFFFFFFF;
    CGraphOBJ obj(desc, 20, 20, keeper_.get());
    obj.SetPosition(100, 100);

    BeginDraw();
    keeper_->RenderAll();
    std::vector<uint32_t> px = ReadBack();
    EXPECT_EQ(At(px, 101, 110) & 0xFFFFFF, 0xFF0000u);  // red only: left of the blue layer
    EXPECT_EQ(At(px, 110, 110) & 0xFFFFFF, 0x0000FFu);  // blue, drawn after red
    EXPECT_EQ(At(px, 130, 110) & 0xFFFFFF, 0u);

    obj.SetVisible(false);
    BeginDraw();
    keeper_->RenderAll();
    px = ReadBack();
    EXPECT_EQ(At(px, 110, 110) & 0xFFFFFF, 0u);
}

TEST_F(GraphObjTest, AttachingNeverTwiceAndMovingToAnotherKeeper) {
    CGraphOBJ obj(TwoLayers(), 36, 36, keeper_.get());
    EXPECT_EQ(Attached(*keeper_, red_), 1);
    obj.SetVisible(false);
    EXPECT_EQ(Attached(*keeper_, red_), 0);
    obj.SetVisible(true);
    obj.SetVisible(true);
    EXPECT_EQ(Attached(*keeper_, red_), 1);
    EXPECT_EQ(Attached(*keeper_, blue_), 1);

    CRendererKeeper flight;
    obj.MoveToKeeper(&flight);
    EXPECT_EQ(Attached(*keeper_, red_), 0);
    EXPECT_EQ(Attached(flight, red_), 1);
    EXPECT_EQ(Attached(flight, blue_), 1);
    obj.MoveToKeeper(nullptr);
    EXPECT_EQ(Attached(flight, red_), 0);
    obj.SetVisible(true);  // back to its own keeper
    EXPECT_EQ(Attached(*keeper_, red_), 1);
}

TEST_F(GraphObjTest, AStateWithoutLayersHasNoSpritesAndNoKeeperIsAFailedCheck) {
    CGraphOBJ obj(CGraphStateDesc {}, 36, 36, keeper_.get());
    EXPECT_EQ(obj.GetLayerCount(), 0u);
    obj.SetPosition(5, 5);
    obj.SetAlpha(9, -1);
    obj.SetAngle(30);
    obj.Inflate(2, 2);
    obj.SetVisible(false);
    obj.SetVisible(true);
    float x = 0, y = 0;
    EXPECT_FALSE(obj.GetLeftTop(x, y, 0));
    EXPECT_EQ(obj.GetAlpha(0), 0);
    EXPECT_EQ(obj.GetWidth(0), 0);

    EXPECT_THROW(CGraphOBJ(TwoLayers(), 36, 36, nullptr), std::exception);
    EXPECT_NE(NewLog().find("Assert failed: '_ren_keeper'"), std::string::npos);
}

// An animation file is read once for all objects; one that cannot be read
// leaves the layer its still picture and is reported once.
TEST_F(GraphObjTest, AnimationsComeFromTheCache) {
    data_test::WriteBytes("Textures/spin.xml",
                          R"(<Animation speed="2"><Frame tex_rect="0 0 4 4"/><Frame tex_rect="4 0 8 4"/><Frame tex_rect="0 4 4 8"/></Animation>)");
    CGraphStateDesc desc = TwoLayers();
    desc.layers[0].graphics.animation_file = "Textures\\spin.xml";
    desc.layers[1].graphics.animation_file = "Textures\\missing.xml";
    CGraphOBJ a(desc, 36, 36, keeper_.get());
    CGraphOBJ b(desc, 36, 36, keeper_.get());
    EXPECT_EQ(g_AnimationCache->GetCount(), 1u);
    EXPECT_EQ(a.GetSprite(0)->GetAnimation()->GetFrameCount(), 3);
    EXPECT_EQ(b.GetSprite(0)->GetAnimation()->GetFrameCount(), 3);
    EXPECT_EQ(b.GetSprite(1)->GetAnimation()->GetFrameCount(), 1);
    const std::string log = NewLog();
    const std::string line = "Error: Animation file 'Textures\\missing.xml' failed";
    const size_t first = log.find(line);
    ASSERT_NE(first, std::string::npos) << log;
    EXPECT_EQ(log.find(line, first + 1), std::string::npos) << log;

    a.SetAnimationRunning(false);
    EXPECT_FALSE(a.GetSprite(0)->IsAnimationRunning());
    a.SetAnimationRunning(true);
    EXPECT_TRUE(a.GetSprite(0)->IsAnimationRunning());
}

// An alpha effect from 100 to 200 over 4 ticks sets 100, 125, 150, 175; the
// object then drops it; Finish sets 200.
TEST_F(GraphObjTest, AlphaEffectStepsAndFinishes) {
    CGraphStateDesc desc = TwoLayers();
    desc.layers[0].graphics.color = 0x64FFFFFF;  // alpha 100
    CGraphOBJ obj(desc, 36, 36, keeper_.get());
    auto effect = std::make_shared<CAlphaEffect>();
    effect->Start(&obj, 200, 4);
    obj.SetEffect(effect);
    std::vector<int> seen;
    while (obj.HasEffect()) {
        obj.UpdateEffect();
        if (obj.HasEffect()) seen.push_back(obj.GetAlpha(1));  // every layer takes the value
    }
    EXPECT_EQ(seen, (std::vector<int> {100, 125, 150, 175}));
    EXPECT_EQ(obj.GetAlpha(0), 175);
    effect->Finish();
    EXPECT_EQ(obj.GetAlpha(0), 200);
    EXPECT_EQ(obj.GetAlpha(1), 200);

    // Interval 1: one update sets the starting alpha, the next ends it.
    CAlphaEffect once;
    once.Start(&obj, 0, 1);
    EXPECT_TRUE(once.Update());
    EXPECT_EQ(obj.GetAlpha(0), 200);
    EXPECT_FALSE(once.Update());
}

TEST_F(GraphObjTest, ScaleEffectStepsAndFinishes) {
    CGraphOBJ obj(TwoLayers(), 40, 40, keeper_.get());
    obj.SetPosition(100, 100);
    CScaleEffect effect;
    effect.Start(&obj, 20, 30, 4);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(effect.Update());
    EXPECT_FALSE(effect.Update());
    EXPECT_FLOAT_EQ(obj.GetWidth(0), 20);
    EXPECT_FLOAT_EQ(obj.GetHeight(1), 30);
    EXPECT_FLOAT_EQ(obj.GetLeft(0), 110);  // about the centre

    // Interval 1: the whole difference at once.
    effect.Start(&obj, 36, 36, 1);
    EXPECT_TRUE(effect.Update());
    EXPECT_FLOAT_EQ(obj.GetWidth(0), 36);
    EXPECT_FALSE(effect.Update());
    obj.SetSize(50, 50);
    effect.Finish();
    EXPECT_FLOAT_EQ(obj.GetHeight(0), 36);

    // Without layers the steps come from widths of 0 and nothing changes.
    CGraphOBJ empty(CGraphStateDesc {}, 40, 40, keeper_.get());
    effect.Start(&empty, 10, 10, 2);
    EXPECT_TRUE(effect.Update());
    EXPECT_EQ(empty.GetWidth(0), 0);
}

TEST_F(GraphObjTest, EffectsNeedAnObjectAndAnInterval) {
    CGraphOBJ obj(TwoLayers(), 40, 40, keeper_.get());
    CScaleEffect scale;
    CAlphaEffect alpha;
    EXPECT_THROW(scale.Update(), std::exception);
    EXPECT_THROW(alpha.Finish(), std::exception);
    EXPECT_THROW(scale.Start(nullptr, 1, 1, 3), std::exception);
    EXPECT_THROW(alpha.Start(nullptr, 1, 3), std::exception);
    EXPECT_THROW(scale.Start(&obj, 1, 1, 0), std::exception);
    EXPECT_THROW(alpha.Start(&obj, 1, 0), std::exception);
    const std::string log = NewLog();
    for (const char* check : {"'_OBJ != NULL'", "'OBJ != NULL'", "'in_OBJ != NULL'", "'interval != 0'"})
        EXPECT_NE(log.find(std::string("Assert failed: ") + check), std::string::npos) << check;
}

}  // namespace
