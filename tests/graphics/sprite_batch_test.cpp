#include <gtest/gtest.h>

#include "core_test_support.h"
#include "graphics/object_2d.h"
#include "graphics/renderer_keeper.h"
#include "graphics/texture.h"
#include "graphics/texture_manager.h"
#include "graphics/textured_rects_list.h"

using namespace gfx_test;

namespace {

CGraphicsDesc Desc(const std::string& texture, int w, int h, const CFloatRect& tex_rect, uint32_t color = 0xFFFFFFFF) {
    CGraphicsDesc d;
    d.texture = texture;
    d.width = w;
    d.height = h;
    d.tex_rect = tex_rect;
    d.color = color;
    return d;
}

class SpriteBatchTest : public CoreTest {};

}  // namespace

TEST_F(SpriteBatchTest, OneCallPerBatchOwnedQuadsFirst) {
    // Left half red, right half blue.
    std::vector<uint32_t> px(4 * 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) px[static_cast<size_t>(y) * 4 + x] = x < 2 ? 0xFFFF0000 : 0xFF0000FF;
    const std::string tex = TextureFile("halves.tga", Tga(4, 2, px));
    CTexturedRectsList batch;
    batch.SetTextureByName(tex);
    // Three owned red quads; the first lies under the two attached blue sprites.
    batch.AddRect(CFloatRect(10, 10, 20, 20), CFloatRect(0, 0, 2, 2));
    batch.AddRect(CFloatRect(30, 10, 40, 20), CFloatRect(0, 0, 2, 2));
    batch.AddRect(CFloatRect(50, 10, 60, 20), CFloatRect(0, 0, 2, 2));
    C2DObject a, b;
    a.InitFromTexRect(10, 10, 5, 10, CFloatRect(2, 0, 4, 2));
    b.InitFromTexRect(15, 10, 5, 10, CFloatRect(2, 0, 4, 2));
    a.SetRenderer(&batch);
    b.SetRenderer(&batch);
    EXPECT_TRUE(a.IsRendererShared());

    BeginDraw();
    batch.Render();
    const auto pixels = ReadBack();
    EXPECT_EQ(core_->GetDrawCalls(), 1u);
    EXPECT_EQ(core_->GetQuads(), 5u);
    EXPECT_EQ(At(pixels, 12, 15), 0xFF0000FFu);  // attached sprites drawn over the owned quad
    EXPECT_EQ(At(pixels, 18, 15), 0xFF0000FFu);
    EXPECT_EQ(At(pixels, 35, 15), 0xFFFF0000u);
    EXPECT_EQ(batch.GetFillCount(), 1u);

    // Unchanged: drawn again without a refill. Moving a sprite refills.
    batch.Render();
    EXPECT_EQ(batch.GetFillCount(), 1u);
    b.SetPosition(70, 10);
    EXPECT_FALSE(batch.IsValid());
    batch.Render();
    EXPECT_EQ(batch.GetFillCount(), 2u);
    EXPECT_EQ(core_->GetDrawCalls(), 3u);
    a.ReleaseRenderer();
    b.ReleaseRenderer();
    EXPECT_EQ(batch.GetAttachedCount(), 0);
}

TEST_F(SpriteBatchTest, VertexBufferGrowsOnlyAndOutOfRangeIsNull) {
    const std::string tex = TextureFile("white.tga", SolidTga(2, 2, 0xFFFFFFFF));
    CTexturedRectsList batch;
    batch.SetTextureByName(tex);
    for (int i = 0; i < 10; ++i) batch.AddRect(CFloatRect(0, 0, 1, 1), CFloatRect(0, 0, 1, 1));
    batch.Render();
    EXPECT_EQ(batch.GetCapacity(), 10u);
    batch.AddRect(CFloatRect(0, 0, 1, 1), CFloatRect(0, 0, 1, 1));
    batch.Render();
    EXPECT_EQ(batch.GetCapacity(), 11u);
    batch.Clear(50);
    for (int i = 0; i < 5; ++i) batch.AddRect(CFloatRect(0, 0, 1, 1), CFloatRect(0, 0, 1, 1));
    batch.Render();
    EXPECT_EQ(batch.GetCapacity(), 11u);
    EXPECT_EQ(batch.GetRect(5), nullptr);
    EXPECT_NE(batch.GetRect(4), nullptr);
    EXPECT_NE(NewLog().find("num < _tex_rect.size()"), std::string::npos);
    // An empty batch draws nothing; a batch without texture attaches nothing.
    CTexturedRectsList empty;
    empty.Render();
    C2DObject sprite;
    sprite.InitFromTexRect(0, 0, 1, 1, CFloatRect(0, 0, 1, 1));
    empty.Add(&sprite);
    EXPECT_EQ(empty.GetAttachedCount(), 0);
}

TEST_F(SpriteBatchTest, KeeperComparesNamesExactlyAndSharesTextures) {
    const std::string tex = TextureFile("Square.tga", SolidTga(2, 2, 0xFFFFFFFF));
    std::string lower = tex;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    CRendererKeeper keeper;
    CTexturedRectsList* first = keeper.GetRenderer(tex);
    EXPECT_EQ(keeper.GetRenderer(tex), first);
    CTexturedRectsList* second = keeper.GetRenderer(lower);
    EXPECT_NE(second, first);
    EXPECT_EQ(first->GetTexture(), second->GetTexture());
    EXPECT_EQ(first->GetTexture()->GetRefCount(), 2);
    EXPECT_EQ(keeper.GetCount(), 2u);
    EXPECT_TRUE(keeper.ReleaseRenderer(first));
    EXPECT_EQ(keeper.GetCount(), 2u);
    EXPECT_TRUE(keeper.ReleaseRenderer(first));
    EXPECT_EQ(keeper.GetCount(), 1u);
    CTexturedRectsList stranger;
    EXPECT_FALSE(keeper.ReleaseRenderer(&stranger));
    // Batches draw in the order they were first asked for.
    keeper.GetRenderer(tex)->AddRect(CFloatRect(0, 0, 1, 1), CFloatRect(0, 0, 1, 1));
    second->AddRect(CFloatRect(0, 0, 1, 1), CFloatRect(0, 0, 1, 1));
    keeper.RenderAll();
    EXPECT_EQ(core_->GetDrawCalls(), 2u);

    // A sprite whose shared batch goes first is left without one, not dangling.
    C2DObject sprite;
    sprite.InitFromTexRect(0, 0, 1, 1, CFloatRect(0, 0, 1, 1));
    sprite.SetRenderer(second);
    // One that left the batch before it went keeps pointing at it until then,
    // and never touches it after.
    C2DObject left;
    left.InitFromTexRect(0, 0, 1, 1, CFloatRect(0, 0, 1, 1));
    left.SetRenderer(second);
    left.DetachRenderer();
    EXPECT_TRUE(left.HasRenderer());
    keeper.ReleaseAll();
    EXPECT_EQ(keeper.GetCount(), 0u);
    EXPECT_FALSE(sprite.HasRenderer());
    sprite.SetPosition(3, 3);
    EXPECT_FALSE(left.HasRenderer());
    EXPECT_EQ(left.GetRenderer(), nullptr);
    left.SetPosition(3, 3);
    EXPECT_TRUE(left.CreateShadow());
    left.RemoveShadow();
    left.Render();
}

TEST_F(SpriteBatchTest, StaticBatchesDoNotStepAnimations) {
    const std::string tex = TextureFile("strip.tga", SolidTga(8, 2, 0xFFFFFFFF));
    CAnimation anim;
    anim.Reset(true, 1);
    anim.AddFrame(CFloatRect(0, 0, 2, 2), nullptr);
    anim.AddFrame(CFloatRect(2, 0, 4, 2), nullptr);
    C2DObject sprite;
    sprite.Init(0, 0, 2, 2, anim);
    ASSERT_TRUE(sprite.CreateRenderer(tex));
    sprite.GetRenderer()->SetAnimated(false);
    sprite.Render();
    sprite.Render();
    EXPECT_EQ(sprite.GetAnimation()->GetFrame(), 0);
    sprite.GetRenderer()->SetAnimated(true);
    sprite.Render();
    EXPECT_EQ(sprite.GetAnimation()->GetFrame(), 1);
    // A stopped sprite keeps its frame.
    sprite.StopAnimation();
    sprite.Render();
    EXPECT_EQ(sprite.GetAnimation()->GetFrame(), 1);
}

TEST_F(SpriteBatchTest, ShadowFollowsTheSpriteAndDrawsBeneathIt) {
    const std::string tex = TextureFile("ball.tga", SolidTga(32, 32, 0xFFFFFFFF));
    CRendererKeeper keeper;
    CTexturedRectsList* batch = keeper.GetRenderer(tex);
    C2DObject sprite;
    sprite.Create(0, 0, Desc(tex, 32, 32, CFloatRect(0, 0, 32, 32)), false);
    sprite.SetRenderer(batch);
    ASSERT_TRUE(sprite.CreateShadow());
    ASSERT_EQ(batch->GetAttachedCount(), 2);
    ITexturedRect* shadow = sprite.GetLinkedObject();
    EXPECT_EQ(batch->GetAttached(0), shadow);  // the child first
    EXPECT_EQ(batch->GetAttached(1), &sprite);
    EXPECT_EQ(shadow->GetColor(0), 0x64202020u);

    sprite.SetPosition(100, 50);
    EXPECT_FLOAT_EQ(shadow->GetLeft(), 107);
    EXPECT_FLOAT_EQ(shadow->GetTop(), 57);
    sprite.Move(10, -5);
    EXPECT_FLOAT_EQ(shadow->GetLeft(), 117);
    EXPECT_FLOAT_EQ(shadow->GetTop(), 52);
    sprite.SetAngle(30);
    EXPECT_FLOAT_EQ(shadow->GetAngle(), 30);
    sprite.SetAlpha(0, kAllCorners);
    EXPECT_EQ(sprite.GetAlpha(0), 0);
    EXPECT_EQ(shadow->GetAlpha(0), 100);

    // Resizing about the centre takes the shadow along.
    sprite.SetAngle(0);
    sprite.SetSize(64, 48);
    EXPECT_FLOAT_EQ(sprite.GetLeft(), 94);
    EXPECT_FLOAT_EQ(sprite.GetTop(), 37);
    EXPECT_FLOAT_EQ(shadow->GetWidth(), 64);
    EXPECT_FLOAT_EQ(shadow->GetLeft(), 101);

    // Removing the sprite from the batch removes its shadow too.
    sprite.DetachRenderer();
    EXPECT_EQ(batch->GetAttachedCount(), 0);
    sprite.SetRenderer(batch);
    sprite.RemoveShadow();
    EXPECT_EQ(batch->GetAttachedCount(), 1);
    EXPECT_FALSE(sprite.IsLinked());
    sprite.ReleaseRenderer();
}

TEST_F(SpriteBatchTest, CopiesGetTheirOwnBatchOnTheSameTexture) {
    const std::string tex = TextureFile("copy.tga", SolidTga(4, 4, 0xFFFFFFFF));
    auto original = std::make_unique<C2DObject>();
    original->Create(5, 5, Desc(tex, 4, 4, CFloatRect(0, 0, 4, 4)), true);
    original->CreateShadow();
    CTexture* texture = original->GetRenderer()->GetTexture();
    EXPECT_EQ(texture->GetRefCount(), 1);
    C2DObject copy(*original);
    EXPECT_NE(copy.GetRenderer(), original->GetRenderer());
    EXPECT_EQ(copy.GetRenderer()->GetTexture(), texture);
    EXPECT_EQ(texture->GetRefCount(), 2);
    EXPECT_TRUE(copy.IsLinked());
    EXPECT_NE(copy.GetLinkedObject(), original->GetLinkedObject());
    EXPECT_EQ(copy.GetRenderer()->GetAttachedCount(), 2);
    original.reset();
    EXPECT_EQ(texture->GetRefCount(), 1);
    copy.Render();
    EXPECT_EQ(core_->GetQuads(), 2u);
    // A shared renderer cannot be replaced by an own one.
    CTexturedRectsList shared;
    shared.SetTextureByName(tex);
    C2DObject member;
    member.InitFromTexRect(0, 0, 4, 4, CFloatRect(0, 0, 4, 4));
    member.SetRenderer(&shared);
    EXPECT_FALSE(member.SetRenderer(nullptr));
    EXPECT_THROW(member.CreateRenderer(tex), std::runtime_error);
    C2DObject shared_copy = member;
    EXPECT_EQ(shared_copy.GetRenderer(), &shared);
    EXPECT_EQ(shared.GetAttachedCount(), 2);
    member.ReleaseRenderer();
    shared_copy.ReleaseRenderer();

    // Assigning a sprite without batch leaves the target without one: it no
    // longer draws, marks or greys the shared batch it was in.
    C2DObject loose;
    loose.InitFromTexRect(0, 0, 4, 4, CFloatRect(0, 0, 4, 4));
    shared_copy.SetRenderer(&shared);
    shared.AddRect(CFloatRect(0, 0, 4, 4), CFloatRect(0, 0, 4, 4));
    shared.Render();
    ASSERT_TRUE(shared.IsValid());
    shared_copy = loose;
    EXPECT_FALSE(shared_copy.HasRenderer());
    EXPECT_EQ(shared.GetAttachedCount(), 0);
    shared.Render();
    shared_copy.SetPosition(9, 9);
    EXPECT_TRUE(shared.IsValid());
    EXPECT_FALSE(shared_copy.MakeGrayscale());
    EXPECT_EQ(shared.GetTexture()->GetRefCount(), 2);
}

TEST_F(SpriteBatchTest, BrokenAnimationFallsBackToTheTexRect) {
    const std::string tex = TextureFile("anim.tga", SolidTga(8, 8, 0xFFFFFFFF));
    data_test::WriteBytes("empty_anim.xml", "<Animation/>");
    // Fails on its second frame: the first one read is not used either.
    data_test::WriteBytes("half_anim.xml",
                          "<Animation><Frame tex_rect=\"0 0 4 4\"/><Frame tex_rect=\"4 4\"/></Animation>");
    for (const std::string file : {"missing_anim.xml", "empty_anim.xml", "half_anim.xml"}) {
        CGraphicsDesc desc = Desc(tex, 8, 8, CFloatRect(2, 2, 6, 6));
        desc.animation_file = file;
        C2DObject sprite;
        sprite.Create(0, 0, desc, true);
        ASSERT_EQ(sprite.GetAnimation()->GetFrameCount(), 1) << file;
        EXPECT_EQ(sprite.GetAnimation()->GetCurrentTexRect(), CFloatRect(2, 2, 6, 6));
        EXPECT_NE(NewLog().find(file), std::string::npos);
        sprite.Render();
    }
}

TEST_F(SpriteBatchTest, GreyBatchKeepsTheOriginalForOthers) {
    const std::string tex = TextureFile("colour.tga", SolidTga(2, 2, 0xFFC8150A));
    C2DObject grey, plain;
    grey.Create(0, 0, Desc(tex, 10, 10, CFloatRect(0, 0, 2, 2)), true);
    plain.Create(20, 0, Desc(tex, 10, 10, CFloatRect(0, 0, 2, 2)), true);
    ASSERT_TRUE(grey.MakeGrayscale());
    EXPECT_NE(grey.GetRenderer()->GetTexture(), plain.GetRenderer()->GetTexture());
    EXPECT_EQ(plain.GetRenderer()->GetTexture()->GetRefCount(), 1);
    BeginDraw();
    grey.Render();
    plain.Render();
    const auto pixels = ReadBack();
    EXPECT_EQ(At(pixels, 5, 5), 0xFF0F0F0Fu);
    EXPECT_EQ(At(pixels, 25, 5), 0xFFC8150Au);
    // A sprite in a shared batch is not turned grey on its own.
    CTexturedRectsList shared;
    shared.SetTextureByName(tex);
    C2DObject member;
    member.InitFromTexRect(0, 0, 2, 2, CFloatRect(0, 0, 2, 2));
    member.SetRenderer(&shared);
    EXPECT_FALSE(member.MakeGrayscale());
    member.ReleaseRenderer();
}

// A held picture stays in the store while its sprites come and go: the next
// sprite gets the same texture instead of the file read and decoded again.
TEST_F(SpriteBatchTest, AHeldTextureOutlivesItsSpritesAndGoesWithTheHold) {
    const std::string tex = TextureFile("Flame.tga", SolidTga(4, 4, 0xFFFF8000));
    CTextureManager& store = CTextureManager::Instance();
    const size_t before = store.GetCount();
    {
        CTextureHold hold(tex);
        ASSERT_NE(hold.Get(), nullptr);
        EXPECT_EQ(store.GetCount(), before + 1);
        for (int round = 0; round < 2; ++round) {
            C2DObject sprite;
            sprite.Create(0, 0, Desc(tex, 4, 4, CFloatRect(0, 0, 4, 4)), true);
            ASSERT_TRUE(sprite.HasRenderer());
            EXPECT_EQ(sprite.GetRenderer()->GetTexture(), hold.Get()) << "round " << round;
        }
        EXPECT_EQ(store.GetCount(), before + 1) << "the sprites gave theirs back, the hold keeps it";
        CTextureHold moved = std::move(hold);
        EXPECT_EQ(hold.Get(), nullptr);
        EXPECT_EQ(moved.Get()->GetRefCount(), 1);
        CTextureHold none("");
        EXPECT_EQ(none.Get(), nullptr);
    }
    EXPECT_EQ(store.GetCount(), before) << "gone with the last hold";
}
