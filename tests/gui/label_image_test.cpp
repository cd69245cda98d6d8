// Labels laid out once per change or drawn by their owner; images that grey
// when disabled (also when loaded disabled) and report presses like buttons.
#include <gtest/gtest.h>

#include "graphics/textured_rects_list.h"
#include "gui/control_factory.h"
#include "gui/menu_image.h"
#include "gui/menu_label.h"
#include "gui_test_support.h"

using namespace gui_test;

namespace {

using Events = std::vector<std::string>;

class LabelImageTest : public GuiTest {
protected:
    template <typename T>
    std::unique_ptr<T> Make(const std::string& xml) {
        auto control = CreateControl(&events, Node(xml, "/Control"));
        return std::unique_ptr<T>(static_cast<T*>(control.release()));
    }
    std::unique_ptr<CMenuImage> MakeImage(const std::string& extra = "") {
        return Make<CMenuImage>("<Control type='IMAGE' id='I' left='200' top='200' width='64' height='32' " + extra +
                                "><graphics texture='Textures\\GUI\\button.png' tex_rect='0 64 128 104'"
                                " width='5' height='5'/></Control>");
    }
    void Run(CBaseControl& c) { Frame([&] { c.Draw(false); }); }
};

TEST_F(LabelImageTest, LabelLaysOutOncePerChange) {
    auto label = Make<CMenuLabel>("<Control type='LABEL' id='L' left='20' top='30' caption='Title_Options'/>");
    EXPECT_FALSE(label->IsLaidOut());
    Run(*label);
    EXPECT_TRUE(label->IsLaidOut());
    EXPECT_EQ(label->GetStaticText().GetAlias(), "Title_Options");
    EXPECT_EQ(label->GetStaticText().GetPosition(), CVector2(20, 30));

    label->SetCaption("Title_Pause");
    EXPECT_FALSE(label->IsLaidOut());
    label->SetPosition(40, 50);
    Run(*label);
    EXPECT_EQ(label->GetStaticText().GetAlias(), "Title_Pause");
    EXPECT_EQ(label->GetStaticText().GetPosition(), CVector2(40, 50));

    // A caller that fetched the text keeps its own settings.
    label->SetCaption("Title_Help");
    CStaticText& text = label->GetStaticText();
    text.SetLabel("Stat_Score", CVector2(1, 2));
    Run(*label);
    EXPECT_EQ(text.GetAlias(), "Stat_Score");
}

TEST_F(LabelImageTest, OwnerDrawnLabel) {
    auto label = Make<CMenuLabel>("<Control type='LABEL' id='L' left='20.7' top='30' caption='Btn_Ok'/>");
    label->SetOwnerDraw(true);
    Run(*label);
    EXPECT_EQ(events.events, (Events {"draw 0 20,30 Btn_Ok L"}));
}

TEST_F(LabelImageTest, ImageGreysWhenDisabled) {
    auto image = MakeImage();
    ASSERT_NE(image->GetImage(), nullptr);
    EXPECT_EQ(image->GetImage()->GetWidth(), 64);  // the control's size, not the description's
    EXPECT_FALSE(image->IsGreyed());
    CTexture* colour = image->GetImage()->GetRenderer()->GetTexture();
    EXPECT_EQ(image->GetDisabledImage()->GetRenderer()->GetTexture(), colour);
    image->SetEnabled(false);
    EXPECT_TRUE(image->IsGreyed());
    CTexture* grey = image->GetDisabledImage()->GetRenderer()->GetTexture();
    EXPECT_NE(grey, colour);
    image->SetEnabled(true);
    image->SetEnabled(false);
    EXPECT_EQ(image->GetDisabledImage()->GetRenderer()->GetTexture(), grey);  // the grey copy is reused

    // Loaded disabled: greyed once its sprites exist.
    auto off = MakeImage("enabled='0' angle='30' rotate_pt_x='4'");
    EXPECT_TRUE(off->IsGreyed());
    EXPECT_NE(off->GetDisabledImage()->GetRenderer()->GetTexture(), off->GetImage()->GetRenderer()->GetTexture());
    EXPECT_FLOAT_EQ(off->GetImage()->GetAngle(), 30);

    auto bare = Make<CMenuImage>("<Control type='IMAGE' width='10' height='10' enabled='0'/>");
    EXPECT_EQ(bare->GetImage(), nullptr);
    Run(*bare);
}

TEST_F(LabelImageTest, ImageReportsPressesLikeAButton) {
    auto image = MakeImage();
    MoveTo(230, 215);
    Run(*image);
    Button(true);
    Run(*image);
    Button(false);
    Run(*image);
    EXPECT_EQ(events.events, (Events {"enter I", "down I", "up I", "click I"}));

    events.Clear();
    Button(true);
    Run(*image);
    MoveTo(10, 10);
    Run(*image);
    Button(false);
    Run(*image);
    EXPECT_EQ(events.events, (Events {"down I", "leave I"}));

    // Pressed outside and slid in: down at entry.
    events.Clear();
    Button(true);
    Run(*image);
    MoveTo(230, 215);
    Run(*image);
    EXPECT_EQ(events.events, (Events {"enter I", "down I"}));
    image->SetPosition(300, 300);
    EXPECT_EQ(image->GetImage()->GetLeft(), 300);
}

}  // namespace
