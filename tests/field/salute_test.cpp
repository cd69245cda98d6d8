// The bottom-row salute: which cells it watches, when it fires, what a firing
// does, and the field flag it raises when its sprites have played out.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "birds_test_support.h"
#include "field/salute.h"
#include "field_test_support.h"
#include "gui/sample_queue.h"

namespace {


// A 4 x 3 field of 36-pixel cells at (100, 100); cell 9 lies at (136, 172).
class SaluteTest : public field_test::SmallFieldTest {
protected:
    void SetUp() override {
        SmallFieldTest::SetUp();
        SetUpField(4, 3);
        g_SampleQueue.Clear();
    }
    void TearDown() override {
        salute_.reset();
        g_SampleQueue.Clear();
        SmallFieldTest::TearDown();
    }

    std::string Layer() const {
        return "<Layer offset=\"-2 3\"><graphics texture=\"" + texture_ +
               "\" width=\"40\" height=\"40\" tex_rect=\"0 0 8 8\"><animation file=\"once.xml\"/></graphics></Layer>";
    }
    void Make(const std::string& attributes, const std::string& layers) {
        salute_ = std::make_unique<CSalute>(&field_, field_test::XmlNode("<Salute " + attributes + ">" + layers + "</Salute>"));
        salute_->Init();
    }
    std::vector<int> Watched() const {
        std::vector<int> cells;
        for (const auto& watched : salute_->GetWatchedCells()) cells.push_back(watched.cell);
        return cells;
    }
    size_t Sprites() const {
        size_t n = 0;
        for (const auto& watched : salute_->GetWatchedCells()) n += watched.sprites.size();
        return n;
    }
    // A ball arrives in the cell and is checked for, then leaves.
    bool FillAndEmpty(int cell) {
        field_.balls[cell] = 0;
        EXPECT_FALSE(salute_->Check());
        field_.balls.erase(cell);
        return salute_->Check();
    }

    std::unique_ptr<CSalute> salute_;
};

TEST_F(SaluteTest, WatchesTheActiveCellsOfTheLowestActiveRow) {
    struct Case {
        std::set<int> active;
        std::vector<int> watched;
    } cases[] = {
        {{}, {8, 9, 10, 11}},                          // every cell active
        {{0, 1, 2, 3, 4, 5, 6, 7, 9, 11}, {9, 11}},   // a bottom row only partly active
        {{0, 2, 5, 6}, {5, 6}},                        // the bottom row empty: the row above
        {{100}, {}},                                   // no active cell at all
    };
    for (const Case& c : cases) {
        field_.active = c.active;
        Make("", "");
        EXPECT_EQ(Watched(), c.watched) << testing::PrintToString(c.active);
    }
    // Without its file the salute is empty, and says why.
    CSalute missing(&field_);
    missing.Init();
    EXPECT_FALSE(missing.Check());
    EXPECT_NE(NewLog().find("common.xml"), std::string::npos);
}

TEST_F(SaluteTest, ACellThatFillsAndEmptiesTwiceFiresTwice) {
    field_test::ScopedExplosionRecorder explosions;
    Make(R"(expl_alias="salute_fx" offset_plume="4 -6" sound="salute" score="50" label_name="salute_label")", Layer());
    ASSERT_EQ(salute_->GetLayers().size(), 1u);
    EXPECT_FALSE(salute_->Check());  // empty since arming: nothing

    EXPECT_TRUE(FillAndEmpty(9));
    EXPECT_TRUE(salute_->IsRunning());
    ASSERT_EQ(explosions->explosions.size(), 1u);
    EXPECT_EQ(explosions->explosions[0].name, "salute_fx");
    EXPECT_FLOAT_EQ(explosions->explosions[0].x, 140);
    EXPECT_FLOAT_EQ(explosions->explosions[0].y, 166);
    ASSERT_EQ(salute_->GetWatchedCells()[1].sprites.size(), 1u);
    EXPECT_FLOAT_EQ(salute_->GetWatchedCells()[1].sprites[0]->GetLeft(), 134);
    EXPECT_FLOAT_EQ(salute_->GetWatchedCells()[1].sprites[0]->GetTop(), 175);
    EXPECT_EQ(g_SampleQueue.GetAliases().count("salute"), 1u);
    ASSERT_EQ(field_.scores.size(), 1u);
    EXPECT_FLOAT_EQ(field_.scores[0].x, 154);
    EXPECT_FLOAT_EQ(field_.scores[0].y, 190);
    EXPECT_EQ(field_.scores[0].points, 50);
    EXPECT_EQ(field_.scores[0].label, "salute_label");
    EXPECT_EQ(field_.scores[0].flag, 1);

    EXPECT_FALSE(salute_->Check());  // still empty: once per departure
    EXPECT_TRUE(FillAndEmpty(9));
    EXPECT_EQ(field_.scores.size(), 2u);
    EXPECT_EQ(explosions->explosions.size(), 2u);
    EXPECT_EQ(Sprites(), 2u);
}

TEST_F(SaluteTest, RaisesFieldFlagTwoOnceTheLastSpriteHasPlayedOut) {
    Make(R"(sound="salute" score="10")", Layer() + Layer());
    ASSERT_TRUE(FillAndEmpty(10));
    EXPECT_EQ(Sprites(), 2u);
    int frames = 0;
    while (salute_->IsRunning() && frames < 20) {
        EXPECT_EQ(field_.flags.Get(CFieldFlags::ffSaluteDone), 0);
        salute_->Render();
        ++frames;
    }
    // Four drawn frames play the sprites out; the next one finds none.
    EXPECT_EQ(frames, 5);
    EXPECT_EQ(Sprites(), 0u);
    EXPECT_EQ(field_.flags.Get(CFieldFlags::ffSaluteDone), 1);
}

TEST_F(SaluteTest, WithoutLayersAFiringStillPaysAndTheNextFrameRaisesTheFlag) {
    field_test::ScopedExplosionRecorder explosions;
    Make(R"(sound="salute" score="25" label_name="lbl")", "");
    ASSERT_TRUE(FillAndEmpty(8));
    EXPECT_TRUE(explosions->explosions.empty());  // no alias, no explosion
    EXPECT_EQ(g_SampleQueue.GetAliases().count("salute"), 1u);
    ASSERT_EQ(field_.scores.size(), 1u);
    EXPECT_EQ(field_.scores[0].points, 25);
    EXPECT_TRUE(salute_->IsRunning());

    salute_->Render();
    EXPECT_FALSE(salute_->IsRunning());
    EXPECT_EQ(field_.flags.Get(CFieldFlags::ffSaluteDone), 1);
    field_.flags.Set(CFieldFlags::ffSaluteDone, 0);
    salute_->Render();  // raised once
    EXPECT_EQ(field_.flags.Get(CFieldFlags::ffSaluteDone), 0);
}

}  // namespace
