// Static texts: the chain of live texts, arguments, lazy layout, moving, and
// laying out again in the new language after a switch.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <vector>

#include "graphics/font_test_support.h"
#include "graphics/static_text.h"
#include "graphics/textured_rect_base.h"

namespace {

std::vector<CStaticText*> Chain() {
    std::vector<CStaticText*> out;
    for (CStaticText* t = CStaticText::First(); t; t = t->Next()) out.push_back(t);
    return out;
}

TEST(StaticTextChain, LinksNewestFirstAndUnlinksOnDestruction) {
    const auto before = Chain();
    auto a = std::make_unique<CStaticText>();
    auto b = std::make_unique<CStaticText>();
    auto c = std::make_unique<CStaticText>();
    auto chain = Chain();
    ASSERT_EQ(chain.size(), before.size() + 3);
    EXPECT_EQ(chain[0], c.get());
    EXPECT_EQ(chain[1], b.get());
    EXPECT_EQ(chain[2], a.get());
    b.reset();
    chain = Chain();
    ASSERT_EQ(chain.size(), before.size() + 2);
    EXPECT_EQ(chain[1], a.get());
    c.reset();  // the first one goes: its successor becomes the first
    EXPECT_EQ(CStaticText::First(), a.get());
    a.reset();
    EXPECT_EQ(Chain(), before);
}

// A chained class whose member looks at the chain while the object around it
// is being built and while it is being taken down.
struct ChainProbe;
struct ChainWitness {
    ChainProbe* seen_at_birth;
    ChainProbe** seen_at_death;
    explicit ChainWitness(ChainProbe** at_death);
    ~ChainWitness();
};
struct ChainProbe : siv::object_chain<ChainProbe> {
    explicit ChainProbe(ChainProbe** at_death, bool fail = false) : witness(at_death) {
        if (fail) throw std::runtime_error("not built");
        Link();
    }
    ~ChainProbe() { Unlink(); }
    ChainWitness witness;
};
ChainWitness::ChainWitness(ChainProbe** at_death) : seen_at_birth(ChainProbe::First()), seen_at_death(at_death) {}
ChainWitness::~ChainWitness() { *seen_at_death = ChainProbe::First(); }

TEST(ObjectChain, HoldsOnlyWholeObjects) {
    ChainProbe* first_at_death = nullptr;
    ChainProbe* second_at_death = nullptr;
    auto first = std::make_unique<ChainProbe>(&first_at_death);
    EXPECT_EQ(first->witness.seen_at_birth, nullptr) << "linked before it was built";
    EXPECT_EQ(ChainProbe::First(), first.get());
    {
        ChainProbe second(&second_at_death);
        EXPECT_EQ(second.witness.seen_at_birth, first.get());
        EXPECT_EQ(ChainProbe::First(), &second);
        EXPECT_EQ(second.Next(), first.get());
    }
    EXPECT_EQ(second_at_death, first.get()) << "still linked while its members went";
    // A probe whose construction fails never enters the chain.
    ChainProbe* failed_at_death = nullptr;
    EXPECT_THROW(ChainProbe(&failed_at_death, true), std::runtime_error);
    EXPECT_EQ(ChainProbe::First(), first.get());
    EXPECT_EQ(first->Next(), nullptr);
    first.reset();
    EXPECT_EQ(first_at_death, nullptr);
    EXPECT_EQ(ChainProbe::First(), nullptr);
}

TEST(StaticTextArgs, CopyTheTagAndItsValueOnly) {
    CStaticText text;
    PrintfArg s = PrintfArg::MakeString("x");
    text.SetArgs(&s, nullptr);
    EXPECT_TRUE(text.IsDirty());
    text.Layout();  // no label: nothing to lay out, clean
    EXPECT_FALSE(text.IsDirty());
    PrintfArg five(5);
    text.SetArgs(&five, nullptr);
    EXPECT_EQ(text.GetArgA().type, PrintfArg::kInt);
    EXPECT_EQ(text.GetArgA().int_value, 5);
    EXPECT_EQ(text.GetArgA().string_value, "x");  // kept, no longer used
    EXPECT_EQ(text.GetArgB().type, PrintfArg::kNone);
    text.Layout();
    text.SetArgs(nullptr, nullptr);
    EXPECT_FALSE(text.IsDirty());
    EXPECT_EQ(text.GetBatch().GetCount(), 0);
}

class StaticTextTest : public font_test::KeeperTest {
protected:
    void SetUp() override {
        KeeperTest::SetUp();
        WriteTestLanguages();
        CFontKeeper::Instance().SelectLanguage(0);
    }
};

TEST_F(StaticTextTest, LaysOutOnChangeAtTheStoredPosition) {
    CStaticText text;
    text.SetLabel("two", CVector2(10, 20));
    PrintfArg n(12);
    text.SetArgs(&n, nullptr);
    text.Layout();
    ASSERT_EQ(text.GetBatch().GetCount(), 4);  // "AB" and "12"
    EXPECT_FLOAT_EQ(text.GetRect(2)->GetTop(), 30.1f);
    EXPECT_EQ(text.GetRect(9), nullptr);

    text.Move(0, -10);
    EXPECT_FLOAT_EQ(text.GetRect(0)->GetTop(), 10.0f);
    text.SetAlpha(128);
    EXPECT_EQ(text.GetRect(1)->GetAlpha(0), 128);
    text.Layout();  // clean: nothing changes
    EXPECT_FLOAT_EQ(text.GetRect(0)->GetTop(), 10.0f);
    text.Invalidate();
    text.Layout();
    EXPECT_FLOAT_EQ(text.GetRect(0)->GetTop(), 20.0f);
    EXPECT_EQ(text.GetRect(1)->GetAlpha(0), 255);
}

TEST_F(StaticTextTest, OwnStyleOverridesTheLabel) {
    CStaticText text;
    text.SetLabel("shadowed", CVector2(0, 0));
    EXPECT_EQ(text.GetTextStyle().color, 0xFF00FF00u);
    TextStyle style = text.GetTextStyle();
    style.color = 0x40FF0000;
    style.height = 30.0f;
    text.SetTextStyle(style);
    text.Layout();
    ASSERT_EQ(text.GetBatch().GetCount(), 2);
    EXPECT_EQ(text.GetRect(1)->GetColor(2), 0x40FF0000u);
    EXPECT_FLOAT_EQ(text.GetRect(1)->GetHeight(), 30.0f);
    // The override is off again for everyone else.
    CTexturedRectsList other;
    CFontKeeper::Instance().LayoutLabelArgs(&other, 0, 0, "shadowed", PrintfArg(), PrintfArg());
    EXPECT_EQ(other.GetRect(1)->GetColor(0), 0xFF00FF00u);
}

TEST_F(StaticTextTest, FollowsALanguageSwitch) {
    CStaticText text;
    text.SetLabel("hello", CVector2(0, 0));
    text.Layout();
    EXPECT_EQ(text.GetBatch().GetCount(), 5);  // "Hello"
    CFontKeeper::Instance().SelectLanguage(1);
    text.Layout();
    EXPECT_EQ(text.GetBatch().GetCount(), 5);  // kept until invalidated
    CStaticText::InvalidateAll();
    text.Layout();
    EXPECT_EQ(text.GetBatch().GetCount(), 6);  // "Servus"
    CFontKeeper::Instance().SelectLanguage(0);
    CStaticText::InvalidateAll();
}

TEST_F(StaticTextTest, MissingLabelDrawsNothingAndIsNotRetried) {
    CStaticText text;
    text.SetLabel("absent", CVector2(0, 0));
    EXPECT_FLOAT_EQ(text.GetTextStyle().height, 12.0f);  // the default style
    text.Layout();
    EXPECT_FALSE(text.IsDirty());
    EXPECT_EQ(text.GetBatch().GetCount(), 0);
    EXPECT_NE(NewLog().find("Error: Label 'absent' not found!"), std::string::npos);
}

}  // namespace
