// The control factory, the attributes every control reads, and the kind
// tables: the shipped file, a broken one and an empty one.
#include <gtest/gtest.h>

#include "gui/control_factory.h"
#include "gui/menu_check_box.h"
#include "gui/menu_edit.h"
#include "gui/menu_image.h"
#include "gui/menu_label.h"
#include "gui/menu_panel.h"
#include "gui_test_support.h"

using namespace gui_test;

namespace {

class ControlFactoryTest : public GuiTest {
protected:
    std::unique_ptr<CBaseControl> Make(const std::string& attributes, const std::string& children = "") {
        return CreateControl(&events, Node("<Control " + attributes + ">" + children + "</Control>", "/Control"));
    }
};

TEST_F(ControlFactoryTest, TypeNamesAreExactAndCaseSensitive) {
    EXPECT_EQ(ControlTypeFromString("BUTTON"), ctButton);
    EXPECT_EQ(ControlTypeFromString("PANEL"), ctPanel);
    EXPECT_EQ(ControlTypeFromString("TRACKBAR"), ctTrackBar);
    EXPECT_EQ(ControlTypeFromString("LABEL"), ctLabel);
    EXPECT_EQ(ControlTypeFromString("IMAGE"), ctImage);
    EXPECT_EQ(ControlTypeFromString("LISTBOX"), ctListBox);
    EXPECT_EQ(ControlTypeFromString("EDIT"), ctEdit);
    EXPECT_EQ(ControlTypeFromString("CHECK_BOX"), ctCheckBox);
    EXPECT_EQ(ControlTypeFromString("PROGRESS_BAR"), ctProgressBar);
    EXPECT_EQ(ControlTypeFromString("PAGECONTROL"), ctPageControl);
    EXPECT_EQ(ControlTypeFromString("button"), ctUnknown);
    EXPECT_EQ(ControlTypeFromString(""), ctUnknown);

    EXPECT_EQ(Make("type='button' id='b'"), nullptr);
    EXPECT_NE(NewLog().find("Error: Unknown control 'button'!"), std::string::npos);
    const size_t mark = data_test::ReadLog().size();
    EXPECT_EQ(CreateControl(&events, CXMLNode()), nullptr);
    EXPECT_EQ(data_test::ReadLog().size(), mark);  // an invalid node is not logged
}

TEST_F(ControlFactoryTest, EachTypeMakesItsClassWithTheOwner) {
    auto button = Make("type='BUTTON' id='b'");
    EXPECT_NE(dynamic_cast<CMenuButton*>(button.get()), nullptr);
    EXPECT_EQ(button->GetOwner(), &events);
    EXPECT_NE(dynamic_cast<CMenuPanel*>(Make("type='PANEL'").get()), nullptr);
    EXPECT_NE(dynamic_cast<CMenuLabel*>(Make("type='LABEL'").get()), nullptr);
    EXPECT_NE(dynamic_cast<CMenuImage*>(Make("type='IMAGE'").get()), nullptr);
    EXPECT_NE(dynamic_cast<CMenuEdit*>(Make("type='EDIT'").get()), nullptr);
    EXPECT_NE(dynamic_cast<CMenuCheckBox*>(Make("type='CHECK_BOX'").get()), nullptr);
}

TEST_F(ControlFactoryTest, LoadReadsRectangleAndFlags) {
    auto plain = Make("type='LABEL' id='ID_X' left='12' top='34' width='56' height='78'");
    EXPECT_EQ(plain->GetId(), "ID_X");
    EXPECT_EQ(plain->GetX(), 12);
    EXPECT_EQ(plain->GetY(), 34);
    EXPECT_EQ(plain->GetWidth(), 56);
    EXPECT_EQ(plain->GetHeight(), 78);
    EXPECT_TRUE(plain->IsEnabled());
    EXPECT_TRUE(plain->IsVisible());

    auto off = Make("type='LABEL' enabled='0' visible='0'");
    EXPECT_FALSE(off->IsEnabled());
    EXPECT_FALSE(off->IsVisible());
    EXPECT_EQ(off->GetId(), "");
    EXPECT_EQ(off->GetWidth(), 0);

    // Code-made controls: SetRect turns both flags on.
    off->SetRect(CFloatRect(1, 2, 11, 22));
    EXPECT_TRUE(off->IsEnabled());
    EXPECT_TRUE(off->IsVisible());
    EXPECT_EQ(off->GetHeight(), 20);
    EXPECT_TRUE(off->SetVisible(false));
    EXPECT_TRUE(off->SetEnabled(false));
    EXPECT_FALSE(off->SetEnabled(true));
}

TEST_F(ControlFactoryTest, OrientationNames) {
    EXPECT_EQ(ParseOrientation("VERTICAL"), 0);
    EXPECT_EQ(ParseOrientation("HORIZONTAL"), 1);
    EXPECT_EQ(ParseOrientation("diagonal"), 1);
    EXPECT_NE(NewLog().find("Warning: unknown orientation 'diagonal'!"), std::string::npos);
}

TEST_F(ControlFactoryTest, ShippedKindsFitTheirControls) {
    ASSERT_GE(CMenuButton::GetKinds().size(), 2u);
    for (const ButtonKind& k : CMenuButton::GetKinds()) {
        EXPECT_EQ(k.skin.texture, "Textures\\GUI\\button.png");
        EXPECT_EQ(k.hover_end_color, 0xFFFFD850u);
        EXPECT_GT(k.skin.top_left.width, 0);
    }
    EXPECT_EQ(CMenuButton::GetKinds()[0].hover_steps, 20);
    EXPECT_FALSE(GetPanelKind().skin.texture.empty());
    EXPECT_EQ(GetPanelKind().activate_sample, "panel_activate");
    EXPECT_EQ(GetCheckBoxKind().box.width, 28);
    EXPECT_EQ(GetCheckBoxKind().check.tex_rect, CFloatRect(32, 0, 60, 28));
    EXPECT_TRUE(GetListBoxKind().has_scroll_bar);
    EXPECT_EQ(GetListBoxKind().scroll_bar_kind, 1);
    EXPECT_EQ(GetListBoxKind().scroll_bar_rect, CFloatRect(0, 0, 24, 240));
    EXPECT_TRUE(GetPageControlKind().has_page_buttons);
    EXPECT_EQ(GetPageControlKind().button_width, 140);
    EXPECT_EQ(GetPageControlKind().button_height, 32);
    // Every texture a kind names is in the data tree.
    for (const char* file : {"Textures/GUI/button.png", "Textures/GUI/panel.png", "Textures/GUI/checkbox.png",
                             "Textures/GUI/trackbar.png", "Textures/GUI/progressbar.png", "Textures/Common/square.tga"})
        EXPECT_TRUE(std::filesystem::exists(file)) << file;
}

TEST_F(ControlFactoryTest, BadButtonKindFallsBackToTheFirst) {
    auto button = Make("type='BUTTON' id='b' kind='7' width='100' height='40'");
    EXPECT_NE(NewLog().find("Error: Invalid button kind: 7!"), std::string::npos);
    auto* b = dynamic_cast<CMenuButton*>(button.get());
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->GetKind().hover_steps, CMenuButton::GetKinds()[0].hover_steps);
    Make("type='BUTTON' kind='-1'");
    EXPECT_NE(NewLog().find("Error: Invalid button kind: -1!"), std::string::npos);
}

TEST_F(ControlFactoryTest, EmptyKindTablesLogAndUseEmptyKinds) {
    UseScratch();
    data_test::WriteBytes("Settings/controls.xml", "<Controls><Panels/></Controls>");
    CMenuButton::LoadButtonKinds();
    LoadControlKinds();
    EXPECT_TRUE(CMenuButton::GetKinds().empty());
    EXPECT_NE(NewLog().find("Assert failed: '!_kinds_desc.empty()'"), std::string::npos);

    auto button = Make("type='BUTTON' id='b' width='100' height='40'", "<Caption label='Btn_Ok'/>");
    auto* b = dynamic_cast<CMenuButton*>(button.get());
    ASSERT_NE(b, nullptr);
    EXPECT_NE(NewLog().find("an empty kind is used"), std::string::npos);
    EXPECT_EQ(b->GetKind().hover_steps, 20);
    EXPECT_EQ(b->GetFrameRenderer()->GetCount(), 0);
    EXPECT_EQ(b->GetCaptionFadeTable().size(), 21u);
    Frame([&] { button->Draw(false); });  // draws its caption, nothing else

    auto panel = Make("type='PANEL' width='100' height='100' expand_by_y='1'");
    Frame([&] { panel->Draw(false); });
    EXPECT_EQ(static_cast<CMenuPanel*>(panel.get())->GetRenderer()->GetCount(), 0);
    EXPECT_EQ(GetCheckBoxKind().box.texture, "");

    // No file at all: each reader logs, nothing throws.
    std::filesystem::remove("Settings/controls.xml");
    LoadControlKinds();
    CMenuButton::LoadButtonKinds();
    EXPECT_NE(NewLog().find("Panel kinds not loaded"), std::string::npos);
    EXPECT_NE(NewLog().find("Button kinds not loaded"), std::string::npos);
}

}  // namespace
