// The check box: a left-button release over it toggles it before the click
// event; Enter or the joystick only start a press; its pictures and caption place.
#include <gtest/gtest.h>

#include "gui/control_factory.h"
#include "gui/menu_check_box.h"
#include "gui_test_support.h"

using namespace gui_test;

namespace {

using Events = std::vector<std::string>;

// Notes the box's state at each event.
class StateLog : public EventLog {
public:
    void OnClick(CBaseControl* c) override {
        EventLog::OnClick(c);
        events.push_back(static_cast<CMenuCheckBox*>(c)->IsChecked() ? "checked" : "unchecked");
    }
};

class CheckBoxTest : public GuiTest {
protected:
    std::unique_ptr<CMenuCheckBox> MakeBox(CEventHolder* owner) {
        auto control = CreateControl(owner, Node("<Control type='CHECK_BOX' id='C' left='100' top='300' width='200'"
                                                 " height='40' caption='Opt_Fullscreen'/>", "/Control"));
        return std::unique_ptr<CMenuCheckBox>(static_cast<CMenuCheckBox*>(control.release()));
    }
    void Run(CMenuCheckBox& c) { Frame([&] { c.Draw(false); }); }
    StateLog log;
};

TEST_F(CheckBoxTest, ClickTogglesBeforeTheClickEvent) {
    auto c = MakeBox(&log);
    EXPECT_FALSE(c->IsChecked());
    MoveTo(150, 320);
    Run(*c);
    Button(true);
    Run(*c);
    Button(false);
    Run(*c);
    EXPECT_TRUE(c->IsChecked());
    EXPECT_EQ(log.events, (Events {"enter C", "down C", "up C", "click C", "checked"}));

    // Released outside: no toggle, no click.
    log.Clear();
    Button(true);
    Run(*c);
    MoveTo(50, 50);
    Run(*c);
    Button(false);
    Run(*c);
    EXPECT_TRUE(c->IsChecked());
    EXPECT_EQ(log.events, (Events {"down C", "leave C"}));
}

TEST_F(CheckBoxTest, EnterPressesButOnlyAMouseReleaseToggles) {
    auto c = MakeBox(&log);
    MoveTo(150, 320);
    Run(*c);
    log.Clear();
    Key(plat::VK_RETURN, true);
    Run(*c);
    EXPECT_TRUE(c->IsPressed());
    Key(plat::VK_RETURN, false);
    Run(*c);
    Run(*c);
    EXPECT_FALSE(c->IsChecked());
    Button(true);
    Run(*c);
    Button(false);
    Run(*c);
    EXPECT_TRUE(c->IsChecked());
    EXPECT_EQ(log.events, (Events {"down C", "up C", "click C", "checked"}));
}

TEST_F(CheckBoxTest, PicturesAndCaptionPlace) {
    auto c = MakeBox(&log);
    ASSERT_NE(c->GetBox(), nullptr);
    EXPECT_EQ(c->GetBox()->GetLeft(), 100);
    EXPECT_EQ(c->GetBox()->GetWidth(), 28);
    EXPECT_EQ(c->GetCheck()->GetTop(), 300);
    const float label_height = CFontKeeper::Instance().GetLabel("Opt_Fullscreen").style.height;
    EXPECT_EQ(c->GetCaptionPosition(), CVector2(133, 320 - label_height / 2));
    c->SetPosition(110, 290);
    EXPECT_EQ(c->GetBox()->GetLeft(), 110);
    EXPECT_EQ(c->GetCheck()->GetTop(), 290);
    EXPECT_EQ(c->GetCaptionPosition(), CVector2(143, 310 - label_height / 2));
    c->SetChecked(true);
    EXPECT_TRUE(c->IsChecked());
}

}  // namespace
