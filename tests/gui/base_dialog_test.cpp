// Dialogs built from XML: focus walking over buttons with the arrow keys,
// bounds, finding and removing controls, a separate handler, and drawing with
// and without input.
#include <gtest/gtest.h>

#include "gui/base_dialog.h"
#include "gui_test_support.h"

using namespace gui_test;

namespace {

using Events = std::vector<std::string>;

// Records its own controls' clicks.
class TestDialog : public CBaseDialog {
public:
    Events clicks;
    void OnClick(CBaseControl* c) override { clicks.push_back(c->GetId()); }
};

std::string ButtonXml(const std::string& id, int left, const std::string& extra = "") {
    return "<Control type='BUTTON' id='" + id + "' left='" + std::to_string(left) +
           "' top='200' width='80' height='40' " + extra + "/>";
}

class DialogTest : public GuiTest {
protected:
    void LoadDialog(CBaseDialog& d, const std::string& controls) {
        ASSERT_TRUE(d.Load(Node("<Dialog>" + controls + "</Dialog>", "/Dialog")));
    }
};

TEST_F(DialogTest, ArrowsWalkTheFocusOverButtonsAndWrap) {
    TestDialog d;
    LoadDialog(d, "<Control type='PANEL' left='0' top='0' width='400' height='300'/>" + ButtonXml("B0", 10) +
                      "<Control type='LABEL' id='L'/>" + ButtonXml("B1", 110) + ButtonXml("B2", 210));
    ASSERT_EQ(d.GetControlCount(), 5u);
    EXPECT_EQ(d.GetFocus(), -1);
    d.OnKeyDown(plat::VK_RIGHT);
    EXPECT_EQ(d.GetFocus(), 1);
    // The pointer sits on the focused button's centre.
    EXPECT_EQ(core().GetMouse()->GetX(), 50);
    EXPECT_EQ(core().GetMouse()->GetY(), 220);
    d.OnKeyDown(plat::VK_LEFT);
    EXPECT_EQ(d.GetFocus(), 4);  // wrapped past the panel to the last button
    d.OnKeyDown(plat::VK_DOWN);
    EXPECT_EQ(d.GetFocus(), 1);
    d.OnKeyDown(plat::VK_DOWN);
    EXPECT_EQ(d.GetFocus(), 3);  // the label is skipped
    d.OnKeyDown(plat::VK_UP);
    EXPECT_EQ(d.GetFocus(), 1);
    d.OnKeyDown('X');
    EXPECT_EQ(d.GetFocus(), 1);

    // From no focus backward starts at the last control.
    d.Activate();
    EXPECT_EQ(d.GetFocus(), -1);
    EXPECT_TRUE(d.FocusPrev());
    EXPECT_EQ(d.GetFocus(), 4);
}

TEST_F(DialogTest, DisabledHiddenAndUnfocusableControlsAreSkipped) {
    CBaseDialog d;
    LoadDialog(d, ButtonXml("B0", 10) + ButtonXml("B1", 110, "enabled='0'") + ButtonXml("B2", 210));
    EXPECT_TRUE(d.FocusNext());
    EXPECT_EQ(d.GetFocus(), 0);
    d.OnKeyDown(plat::VK_DOWN);
    EXPECT_EQ(d.GetFocus(), 2);
    d.FindControl("B0")->SetVisible(false);
    d.FindControl("B2")->SetEnabled(false);
    EXPECT_FALSE(d.FocusNext());
    EXPECT_EQ(d.GetFocus(), 2);  // nothing qualifies: the focus stays

    CBaseDialog labels;
    LoadDialog(labels, "<Control type='LABEL'/><Control type='LABEL'/>");
    labels.OnKeyDown(plat::VK_RIGHT);
    labels.OnKeyDown(plat::VK_LEFT);
    EXPECT_EQ(labels.GetFocus(), -1);

    CBaseDialog empty;
    LoadDialog(empty, "");
    EXPECT_FALSE(empty.FocusNext());
    EXPECT_EQ(empty.GetFocus(), -1);

    // A bad direction is logged and the walk goes on.
    d.FindControl("B2")->SetEnabled(true);
    EXPECT_TRUE(d.MoveFocus(2));
    EXPECT_EQ(d.GetFocus(), 2);
    EXPECT_NE(NewLog().find("Assert failed: 'abs(dir) == 1'"), std::string::npos);
}

TEST_F(DialogTest, BoundsFindRemoveAndMove) {
    CBaseDialog d;
    CFloatRect bounds(1, 2, 3, 4);
    LoadDialog(d, "");
    EXPECT_FALSE(d.GetBounds(bounds));
    EXPECT_EQ(bounds, CFloatRect());

    LoadDialog(d, "<Control type='LABEL' id='A' left='10' top='10' width='100' height='20'/>"
                  "<Control type='bogus' id='X'/>"
                  "<Control type='LABEL' id='B' left='50' top='40' width='30' height='30'/>");
    ASSERT_EQ(d.GetControlCount(), 2u);  // the unknown type made no control
    EXPECT_TRUE(d.GetBounds(bounds));
    EXPECT_EQ(bounds, CFloatRect(10, 10, 110, 70));

    EXPECT_TRUE(d.HasControl("B"));
    EXPECT_FALSE(d.HasControl("Z"));
    EXPECT_EQ(NewLog().find("not found in dialog"), std::string::npos);
    EXPECT_EQ(d.FindControl("Z"), nullptr);
    EXPECT_NE(NewLog().find("Error: control 'Z' not found in dialog!"), std::string::npos);

    d.Move(5, -5);
    EXPECT_EQ(d.FindControl("B")->GetX(), 55);
    EXPECT_EQ(d.FindControl("A")->GetY(), 5);

    EXPECT_TRUE(d.RemoveControl("A"));
    EXPECT_FALSE(d.RemoveControl("A"));
    EXPECT_TRUE(d.GetBounds(bounds));
    EXPECT_EQ(bounds, CFloatRect(55, 35, 85, 65));

    EXPECT_FALSE(d.Load(CXMLNode()));
    d.Clear();
    EXPECT_EQ(d.GetControlCount(), 0u);
}

TEST_F(DialogTest, HandlerHearsTheEventsAndDrawOnlyIgnoresInput) {
    TestDialog own;
    LoadDialog(own, ButtonXml("OK", 10));
    TestDialog handled;
    handled.LoadWithHandler(Node("<Dialog>" + ButtonXml("H", 300) + "</Dialog>", "/Dialog"), &events);
    EXPECT_EQ(handled.GetHandler(), &events);
    EXPECT_EQ(handled.GetControl(0)->GetOwner(), &events);

    // Drawn only: a click on the button goes unheard.
    MoveTo(40, 220);
    for (bool down : {true, false}) {
        Button(down);
        Frame([&] { own.Draw(true); });
    }
    EXPECT_TRUE(own.clicks.empty());
    for (bool down : {true, false}) {
        Button(down);
        Frame([&] { own.Draw(false); });
    }
    EXPECT_EQ(own.clicks, (Events {"OK"}));

    MoveTo(340, 220);
    for (bool down : {true, false}) {
        Button(down);
        Frame([&] { handled.Draw(false); });
    }
    EXPECT_TRUE(handled.clicks.empty());
    EXPECT_EQ(events.events, (Events {"enter H", "down H", "up H", "click H"}));

    own.SetResult(7);
    EXPECT_EQ(own.GetResult(), 7);
    own.Activate();
    EXPECT_EQ(own.GetResult(), 0);
}

TEST_F(DialogTest, EnterOnTheFocusedButtonClicksIt) {
    TestDialog d;
    LoadDialog(d, ButtonXml("B0", 10) + ButtonXml("B1", 110));
    Frame([&] { d.Draw(false); });
    d.OnKeyDown(plat::VK_RIGHT);
    d.OnKeyDown(plat::VK_RIGHT);
    Frame([&] { d.Draw(false); });
    Key(plat::VK_RETURN, true);
    Frame([&] { d.Draw(false); });
    Key(plat::VK_RETURN, false);
    Frame([&] { d.Draw(false); });
    EXPECT_EQ(d.clicks, (Events {"B1"}));
}

}  // namespace

namespace {

// Clears itself from inside a button's click.
class SelfClearingDialog : public CBaseDialog {
public:
    void OnClick(CBaseControl*) override { Clear(); }
};

TEST_F(DialogTest, HandlerMayClearTheDialogFromInsideAClick) {
    SelfClearingDialog d;
    LoadDialog(d, ButtonXml("B0", 10) + ButtonXml("B1", 110));
    MoveTo(40, 220);
    for (bool down : {true, false}) {
        Button(down);
        Frame([&] { d.Draw(false); });
    }
    EXPECT_EQ(d.GetControlCount(), 0u);
    Frame([&] { d.Draw(false); });
}

}  // namespace
