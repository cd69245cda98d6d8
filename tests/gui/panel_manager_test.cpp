// The panel manager: showing and hiding panels with their slides and samples,
// the drawing order, which panel is active and hears keys, panels that give
// the activity back when they hide, transitions, mute and reset.
#include <gtest/gtest.h>

#include "engine/variables.h"
#include "gui/base_dialog.h"
#include "gui/panel_manager.h"
#include "gui2_test_support.h"

using namespace gui_test;

namespace {

// A dialog that writes down how it was drawn and which keys it heard.
class Panel : public CBaseDialog {
public:
    explicit Panel(std::string name) : name(std::move(name)) {}
    void Draw(bool skip_update) override { draws.push_back(skip_update ? 'd' : 'U'); }
    void OnKeyDown(int key) override { keys.push_back(key); }

    std::string name;
    std::string draws;  // 'U' drawn and updated, 'd' drawn only
    std::vector<int> keys;
};

class PanelManagerTest : public Gui2Test {
protected:
    void SetUp() override {
        Gui2Test::SetUp();
        vars.Register("m_panel_speed", 400.0f);  // a full-screen slide in two steps
        CPanelSlide::SetGameVariables(&vars);
        for (Panel* p : {&a, &b, &c}) {
            pm.AddPanel(p, 0);
            pm.SetPanelDirections(p, CVector2(1, 0), CVector2(-1, 0));
            pm.SetPanelSounds(p, "open_" + p->name, "close_" + p->name);
        }
    }
    void TearDown() override {
        CPanelSlide::SetGameVariables(nullptr);
        Gui2Test::TearDown();
    }
    void Render(int frames = 1) {
        for (int i = 0; i < frames; ++i) Frame([&] { pm.Render(); });
    }
    void ClearDraws() {
        for (Panel* p : {&a, &b, &c, &d}) p->draws.clear();
    }

    CVariables vars;
    CPanelManager pm;
    Panel a {"a"}, b {"b"}, c {"c"}, d {"d"};
};

TEST_F(PanelManagerTest, AShownPanelSlidesInThenUpdatesAsTheActiveOne) {
    pm.ShowPanel(&a, true);
    EXPECT_TRUE(pm.IsActivePanel(&a));
    EXPECT_TRUE(pm.IsShown(&a));
    EXPECT_FALSE(pm.IsReady(&a));
    EXPECT_TRUE(sounds->played.empty());
    Render();
    EXPECT_EQ(sounds->played, (std::vector<std::string> {"open_a"}));
    // Two sliding frames (drawn only), then settled and updated.
    Render(2);
    EXPECT_EQ(a.draws, "ddU");
    EXPECT_TRUE(pm.IsReady(&a));
    EXPECT_EQ(b.draws, "");

    // Shown again: no new slide, no sound.
    pm.ShowPanel(&a, true);
    Render();
    EXPECT_EQ(a.draws, "ddUU");
    EXPECT_EQ(sounds->played.size(), 1u);
}

TEST_F(PanelManagerTest, OnlyTheActiveSettledPanelUpdatesAndHearsKeys) {
    pm.ShowPanel(&a, true);
    pm.ShowPanel(&b, true);
    pm.OnKeyDown(13);  // b still sliding
    Render(3);
    ClearDraws();
    pm.OnKeyDown(27);
    Render();
    EXPECT_EQ(b.keys, (std::vector<int> {27}));
    EXPECT_TRUE(a.keys.empty());
    EXPECT_EQ(a.draws, "d");
    EXPECT_EQ(b.draws, "U");
    // The last shown is drawn last (on top).
    EXPECT_EQ(pm.GetPanelOrder(), (std::vector<CBaseDialog*> {&c, &a, &b}));
    // Showing an already visible panel does not bring it to the top.
    pm.ShowPanel(&a, true);
    EXPECT_EQ(pm.GetPanelOrder().back(), &b);
}

TEST_F(PanelManagerTest, HidingTheActivePanelWithoutPreviousLeavesNoneActive) {
    pm.ShowPanel(&a, true);
    Render(3);
    pm.ShowPanel(&a, false);
    EXPECT_EQ(pm.GetActivePanel(), nullptr);
    EXPECT_TRUE(pm.IsShown(&a));  // still sliding out
    pm.OnKeyDown(13);
    Render(3);
    EXPECT_FALSE(pm.IsShown(&a));
    EXPECT_FALSE(pm.IsAnyPanelShown());
    EXPECT_TRUE(a.keys.empty());
    EXPECT_EQ(sounds->played, (std::vector<std::string> {"open_a", "close_a"}));
    ClearDraws();
    Render();
    EXPECT_EQ(a.draws, "");
}

TEST_F(PanelManagerTest, ARestoringPanelGivesTheActivityBack) {
    pm.AddPanel(&d, 1);
    pm.SetPanelSounds(&d, "open_d", "close_d");
    pm.ShowPanel(&a, true);
    pm.ShowPanel(&d, true);
    EXPECT_EQ(pm.GetPreviousPanel(&d), &a);
    Render(3);
    pm.ShowPanel(&d, false);
    EXPECT_TRUE(pm.IsActivePanel(&a));
    EXPECT_EQ(pm.GetPreviousPanel(&d), nullptr);

    // A hidden meanwhile: it slides back in with its sound.
    pm.ShowPanel(&d, true);
    Render(3);
    pm.ShowPanel(&a, false);
    EXPECT_TRUE(pm.IsActivePanel(&d));
    Render(3);
    sounds->played.clear();
    pm.ShowPanel(&d, false);
    EXPECT_TRUE(pm.IsActivePanel(&a));
    EXPECT_TRUE(pm.IsShown(&a));
    Render();
    EXPECT_EQ(sounds->played, (std::vector<std::string> {"close_d", "open_a"}));
}

TEST_F(PanelManagerTest, ThePanelJustOpenedOnTopStaysActiveWhenTheOneBeneathHides) {
    // menu -> a (restoring, menu hides) -> b (restoring, a hides), then back.
    Panel menu("menu");
    pm.AddPanel(&menu, 0);
    pm.AddPanel(&d, 1);  // stands for "a" of the chain
    Panel e("e");
    pm.AddPanel(&e, 1);
    pm.SetPanelDirections(&e, CVector2(1, 0), CVector2(-1, 0));
    ASSERT_TRUE(pm.AddTransition(&menu, &d, 1, 1, CVector2(-1, 0)));
    ASSERT_TRUE(pm.AddTransition(&d, &e, 2, 1, CVector2(-1, 0)));

    pm.ShowPanel(&menu, true);
    Render(3);
    ASSERT_TRUE(pm.FireActiveTransition(1));
    EXPECT_TRUE(pm.IsActivePanel(&d));
    Render(3);
    ASSERT_TRUE(pm.FireActiveTransition(2));
    // The target on top keeps the activity; the menu stays hidden.
    EXPECT_TRUE(pm.IsActivePanel(&e));
    EXPECT_FALSE(pm.IsShown(&menu));
    Render(3);
    EXPECT_FALSE(pm.IsShown(&menu));
    EXPECT_FALSE(pm.IsShown(&d));
    pm.OnKeyDown(32);
    EXPECT_EQ(e.keys, (std::vector<int> {32}));

    // Back: e hides, d returns; d hides, the menu returns.
    pm.ShowPanel(&e, false);
    EXPECT_TRUE(pm.IsActivePanel(&d));
    EXPECT_TRUE(pm.IsShown(&d));
    Render(3);
    pm.ShowPanel(&d, false);
    EXPECT_TRUE(pm.IsActivePanel(&menu));
    EXPECT_TRUE(pm.IsShown(&menu));
}

// A panel opened over another (the menu's question over its offer, the leave
// question over the pause) hides the lower one whole, through a chain of
// such panels, until the upper one starts to leave.
TEST_F(PanelManagerTest, APanelOpenedOverAnotherHidesItUntilItLeaves) {
    Panel e("e");
    for (Panel* p : {&d, &e}) {
        pm.AddPanel(p, 1);
        pm.SetPanelDirections(p, CVector2(1, 0), CVector2(-1, 0));
    }
    ASSERT_TRUE(pm.AddTransition(&a, &d, 1, 0, CVector2()));
    pm.ShowPanel(&a, true);
    Render(3);
    ClearDraws();
    ASSERT_TRUE(pm.FireTransition(&a, 1));
    Render(3);
    EXPECT_EQ(a.draws, "");
    EXPECT_EQ(d.draws, "ddU");
    pm.ShowPanel(&e, true);
    Render(3);
    EXPECT_EQ(a.draws + d.draws, "ddU");
    EXPECT_EQ(e.draws, "ddU");

    // e leaves: d is drawn under it at once, a stays hidden under d.
    ClearDraws();
    e.draws.clear();
    pm.ShowPanel(&e, false);
    Render(3);
    EXPECT_EQ(e.draws, "dd");
    EXPECT_EQ(d.draws, "UUU");
    EXPECT_EQ(a.draws, "");
    ClearDraws();
    pm.ShowPanel(&d, false);
    Render(3);
    EXPECT_EQ(a.draws, "UUU");

    // A source that slides out under its target is drawn until it has gone.
    ASSERT_TRUE(pm.AddTransition(&a, &d, 1, 1, CVector2(-1, 0)));
    ClearDraws();
    ASSERT_TRUE(pm.FireTransition(&a, 1));
    Render(3);
    EXPECT_EQ(a.draws, "dd");
    EXPECT_EQ(d.draws, "ddU");
    // d still remembers a, but a shown again comes on top of d and is drawn.
    pm.ShowPanel(&a, true);
    Render(3);
    ClearDraws();
    Render();
    EXPECT_EQ(d.draws + a.draws, "dU");
}

TEST_F(PanelManagerTest, TransitionsShowTheTargetAndMayHideTheSource) {
    EXPECT_FALSE(pm.AddTransition(&a, &d, 1, 0, CVector2()));  // d is not registered
    EXPECT_TRUE(pm.AddTransition(&a, &b, 1, 0, CVector2()));
    EXPECT_TRUE(pm.AddTransition(&a, &c, 1, 1, CVector2(0, 1)));  // replaces
    EXPECT_FALSE(pm.FireTransition(&a, 7));
    EXPECT_FALSE(pm.FireTransition(&d, 1));
    pm.ShowPanel(&a, true);
    Render(3);
    EXPECT_TRUE(pm.FireTransition(&a, 1));
    EXPECT_FALSE(pm.IsShown(&b));
    EXPECT_TRUE(pm.IsActivePanel(&c));
    // a leaves downward, in the transition's direction.
    ASSERT_NE(pm.GetSlide(&a), nullptr);
    EXPECT_EQ(pm.GetSlide(&a)->GetSliderOut().GetTo(), CVector2(0, 600));
    EXPECT_TRUE(pm.RemoveTransition(&a, 1));
    EXPECT_FALSE(pm.RemoveTransition(&a, 1));
    EXPECT_FALSE(pm.FireTransition(&a, 1));
}

TEST_F(PanelManagerTest, SamplesAreQueuedOncePerAliasAndSilencedByMute) {
    pm.SetPanelSounds(&b, "open_a", "close_b");
    pm.ShowPanel(&a, true);
    pm.ShowPanel(&b, true);  // the same alias as a's: plays once
    pm.ShowPanel(&c, true);
    pm.ShowPanel(&c, false);
    Render();
    EXPECT_EQ(sounds->played, (std::vector<std::string> {"close_c", "open_a", "open_c"}));
    sounds->played.clear();
    pm.SetMute(1);
    pm.ShowPanel(&a, false);
    pm.ShowPanel(&c, true);
    Render(3);
    EXPECT_TRUE(sounds->played.empty());
    pm.Reset();
    EXPECT_FALSE(pm.IsMuted());
    EXPECT_FALSE(pm.IsAnyPanelShown());
    EXPECT_EQ(pm.GetActivePanel(), nullptr);
    ClearDraws();
    Render();
    EXPECT_EQ(a.draws + b.draws + c.draws, "");
}

TEST_F(PanelManagerTest, ResetStopsEverythingSilently) {
    pm.ShowPanel(&a, true);
    pm.ShowPanel(&b, true);
    pm.Reset();
    Render();
    EXPECT_TRUE(sounds->played.empty());
    EXPECT_FALSE(pm.IsShown(&a));
    pm.ShowPanel(&a, true);
    Render(3);
    EXPECT_TRUE(pm.IsReady(&a));
}

TEST_F(PanelManagerTest, StillDirectionsAndUnusableSpeedsSettleInOneStep) {
    pm.SetPanelDirections(&a, CVector2(0, 0), CVector2(0, 0));
    pm.ShowPanel(&a, true);
    Render();
    EXPECT_TRUE(pm.IsReady(&a));
    pm.ShowPanel(&a, false);
    Render();
    EXPECT_FALSE(pm.IsShown(&a));

    vars.Set("m_panel_speed", 0.0f);
    pm.ShowPanel(&b, true);
    Render();
    EXPECT_TRUE(pm.IsReady(&b));
    EXPECT_NE(NewLog().find("m_panel_speed"), std::string::npos);
    // Without the game's variables at all, the same.
    CPanelSlide::SetGameVariables(nullptr);
    pm.ShowPanel(&b, false);
    Render();
    EXPECT_FALSE(pm.IsShown(&b));
}

TEST_F(PanelManagerTest, UnregisteredDialogsAreIgnored) {
    pm.AddPanel(nullptr, 0);
    pm.AddPanel(&a, 1);  // already there: the first registration stays
    EXPECT_FALSE(pm.SetPanelDirections(&d, CVector2(), CVector2()));
    EXPECT_FALSE(pm.SetPanelSounds(&d, "x", "y"));
    pm.ShowPanel(&d, true);
    pm.SetActivePanel(&d);
    EXPECT_EQ(pm.GetActivePanel(), nullptr);
    EXPECT_FALSE(pm.IsShown(&d));
    EXPECT_FALSE(pm.IsReady(&d));
    pm.SetActivePanel(&b);
    EXPECT_TRUE(pm.IsActivePanel(&b));
    pm.RemovePanel(&b);
    EXPECT_EQ(pm.GetPanelOrder(), (std::vector<CBaseDialog*> {&a, &c}));
    pm.ShowPanel(&a, true);
    pm.ShowPanel(&c, true);
    pm.ShowPanel(&c, false);
    EXPECT_EQ(pm.GetActivePanel(), nullptr);  // a was not restoring
}

}  // namespace
