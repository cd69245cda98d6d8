// The options panel on the shipped dialog node with the real settings file:
// bars moved apply the volumes, gamma and language at once without saving;
// Esc keeps them unsaved and the next opening shows the saved values again;
// "ID_BACK" saves every control; missing optional controls save 0; settings
// that cannot be read leave the panel inert; the window box follows the mode.
#include "frontend/options_dialog.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "graphics/static_text.h"
#include "gui/menu_check_box.h"
#include "gui/menu_track_bar.h"
#include "menu_test_support.h"

using namespace menu_test;

namespace {

class OptionsDialogTest : public MenuTest {
protected:
    static CMenuTrackBar* Bar(const COptionsDialog& d, const std::string& id) { return Control<CMenuTrackBar>(d, id); }
    static GameOptions Saved() {
        CGameSettings::Instance().Invalidate();
        GameOptions o;
        EXPECT_TRUE(CGameSettings::Instance().LoadSettings(o));
        return o;
    }
    int Gamma() { return core().GetGraphicsDevice()->GetGammaLevel(); }
};

TEST_F(OptionsDialogTest, BarsApplyAtOnceEscKeepsThemUnsavedAndReopeningShowsTheSavedOnes) {
    COptionsDialog d;
    d.Load(DialogNode("OptionsDialog"));
    ASSERT_TRUE(d.IsLoaded());
    // The shipped defaults are in the controls and in effect.
    EXPECT_EQ(Bar(d, "ID_SOUND")->GetPosition(), 80);
    EXPECT_EQ(Bar(d, "ID_MUSIC")->GetPosition(), 60);
    EXPECT_EQ(Bar(d, "ID_GAMMA")->GetMax(), 10);
    EXPECT_EQ(Bar(d, "ID_DIFF")->GetPosition(), 1);
    EXPECT_EQ(Bar(d, "ID_DIFF")->GetMax(), 2);
    EXPECT_EQ(Bar(d, "ID_DIFF")->GetCurrentCaption(), "normal");
    EXPECT_EQ(Bar(d, "ID_CONTROLLER")->GetMax(), 2);
    EXPECT_EQ(Bar(d, "ID_LANG")->GetMax(), 1);
    EXPECT_EQ(Bar(d, "ID_LANG")->GetCurrentCaption(), "English");
    EXPECT_TRUE(Control<CMenuCheckBox>(d, "ID_WINDOWED")->IsChecked());
    EXPECT_EQ(sounds->LastVolumes(), std::pair(60, 80));

    d.Activate();
    Bar(d, "ID_SOUND")->SetPosition(30);
    EXPECT_EQ(sounds->LastVolumes(), std::pair(60, 30));  // music first
    Bar(d, "ID_MUSIC")->SetPosition(20);
    EXPECT_EQ(sounds->LastVolumes(), std::pair(20, 30));
    Bar(d, "ID_GAMMA")->SetPosition(14);  // kept within 0..10
    EXPECT_EQ(Gamma(), 10);
    Bar(d, "ID_GAMMA")->SetPosition(7);
    EXPECT_EQ(Gamma(), 7);
    // Moving the arrow of a bar is the same change.
    Bar(d, "ID_SOUND")->OnMouseDown(Bar(d, "ID_SOUND")->GetRightArrow());
    EXPECT_EQ(sounds->LastVolumes(), std::pair(20, 31));

    d.OnKeyDown(plat::VK_ESCAPE);
    EXPECT_EQ(d.GetResult(), COptionsDialog::kResultBack);
    EXPECT_FALSE(std::filesystem::exists(ConfigPath()));
    EXPECT_EQ(sounds->LastVolumes(), std::pair(20, 31));  // still in effect
    EXPECT_EQ(Gamma(), 7);

    d.Activate();
    EXPECT_EQ(d.GetResult(), 0);
    EXPECT_EQ(Bar(d, "ID_SOUND")->GetPosition(), 80);
    EXPECT_EQ(sounds->LastVolumes(), std::pair(60, 80));
    EXPECT_EQ(Gamma(), 0);
}

TEST_F(OptionsDialogTest, BackSavesEveryControlToConfigXml) {
    COptionsDialog d;
    d.Load(DialogNode("OptionsDialog"));
    d.Activate();
    Bar(d, "ID_SOUND")->SetPosition(45);
    Bar(d, "ID_MUSIC")->SetPosition(15);
    Bar(d, "ID_GAMMA")->SetPosition(3);
    Bar(d, "ID_DIFF")->SetPosition(2);
    Bar(d, "ID_CONTROLLER")->SetPosition(1);
    Click(d, "ID_BACK");
    EXPECT_EQ(d.GetResult(), COptionsDialog::kResultBack);
    ASSERT_TRUE(std::filesystem::exists(ConfigPath()));
    const GameOptions o = Saved();
    EXPECT_EQ(o.snd_vol, 45);
    EXPECT_EQ(o.mus_vol, 15);
    EXPECT_EQ(o.gamma, 3);
    EXPECT_EQ(o.difficulty, 2);
    EXPECT_EQ(o.controller, 1);
    EXPECT_EQ(o.language, 0);
    EXPECT_TRUE(o.windowed);
    EXPECT_TRUE(core().IsFullscreen() == false);
    const std::string text = TempFolder::Read(ConfigPath());
    EXPECT_NE(text.find("snd_vol=\"45\""), std::string::npos) << text;
    EXPECT_NE(text.find("mus_vol=\"15\""), std::string::npos) << text;

    // The next opening shows what was saved.
    COptionsDialog again;
    again.Load(DialogNode("OptionsDialog"));
    EXPECT_EQ(Bar(again, "ID_DIFF")->GetPosition(), 2);
    EXPECT_EQ(Bar(again, "ID_DIFF")->GetCurrentCaption(), "hard");
    EXPECT_EQ(sounds->LastVolumes(), std::pair(15, 45));
}

TEST_F(OptionsDialogTest, LanguageSwitchesLiveRelabelsTextsAndIsSavedByBack) {
    COptionsDialog d;
    d.Load(DialogNode("OptionsDialog"));
    d.Activate();
    CStaticText greeting;
    greeting.SetLabel("Btn_Back", CVector2(10, 10));
    greeting.Layout();
    ASSERT_FALSE(greeting.IsDirty());

    Bar(d, "ID_LANG")->SetPosition(1);
    EXPECT_EQ(CFontKeeper::Instance().GetSelectedLanguage(), 1);
    EXPECT_TRUE(greeting.IsDirty());  // every text lays itself out again
    EXPECT_EQ(Bar(d, "ID_LANG")->GetCurrentCaption(), "German");

    // Left with Esc the language stays, unsaved, and the bar goes on naming it.
    d.OnKeyDown(plat::VK_ESCAPE);
    EXPECT_FALSE(std::filesystem::exists(ConfigPath()));
    d.Activate();
    EXPECT_EQ(CFontKeeper::Instance().GetSelectedLanguage(), 1);
    EXPECT_EQ(Bar(d, "ID_LANG")->GetPosition(), 1);

    Click(d, "ID_BACK");
    EXPECT_EQ(Saved().language, 1);
    EXPECT_EQ(CFontKeeper::Instance().GetSelectedLanguage(), 1);

    Bar(d, "ID_LANG")->SetPosition(0);
    Click(d, "ID_BACK");
    EXPECT_EQ(Saved().language, 0);
    EXPECT_EQ(CFontKeeper::Instance().GetSelectedLanguage(), 0);
}

// Without "ID_DIFF", "ID_CONTROLLER" and "ID_LANG" those settings are saved
// as 0; without "ID_WINDOWED" the window mode stays as it was.
TEST_F(OptionsDialogTest, MissingOptionalControlsSaveZero) {
    GameOptions o = Saved();
    o.difficulty = 2;
    o.controller = 2;
    o.language = 1;
    ASSERT_TRUE(CGameSettings::Instance().SaveSettings(o));
    SelectLanguage(1);

    COptionsDialog d;
    d.Load(Node("<D><Control type='TRACKBAR' id='ID_SOUND' left='0' top='0' width='200' height='24'/>"
                "<Control type='TRACKBAR' id='ID_MUSIC' left='0' top='40' width='200' height='24'/>"
                "<Control type='TRACKBAR' id='ID_GAMMA' left='0' top='80' width='200' height='24'/>"
                "<Control type='BUTTON' id='ID_BACK' left='0' top='120' width='100' height='40'/></D>",
                "/D"));
    ASSERT_TRUE(d.IsLoaded());
    Click(d, "ID_BACK");
    o = Saved();
    EXPECT_EQ(o.difficulty, 0);
    EXPECT_EQ(o.controller, 0);
    EXPECT_EQ(o.language, 0);
    EXPECT_TRUE(o.windowed);
    EXPECT_EQ(CFontKeeper::Instance().GetSelectedLanguage(), 0);
    EXPECT_NE(NewLog().find("Error: control 'ID_WINDOWED' not found in dialog!"), std::string::npos);
    EXPECT_EQ(NewLog().find("'ID_LANG' not found"), std::string::npos);  // optional ones are skipped silently
}

TEST_F(OptionsDialogTest, UnreadableSettingsLeaveThePanelInert) {
    // No player's file, and defaults without "Options" (read from the current folder).
    const std::filesystem::path folder = ConfigPath().parent_path();
    std::filesystem::remove(ConfigPath());
    TempFolder::Write(folder / "ConfigDef.xml", "<?xml version=\"1.0\"?><Config/>");
    CGameSettings::Instance().Invalidate();
    const CXMLNode node = DialogNode("OptionsDialog");
    COptionsDialog d;
    std::filesystem::current_path(folder);
    d.Load(node);
    std::filesystem::current_path(VOVARO_DATA_DIR);
    EXPECT_FALSE(d.IsLoaded());
    EXPECT_TRUE(sounds->volume_sets.empty());
    Bar(d, "ID_SOUND")->SetPosition(5);
    EXPECT_TRUE(sounds->volume_sets.empty());
    Click(d, "ID_BACK");
    EXPECT_EQ(d.GetResult(), COptionsDialog::kResultBack);  // it can still be left
    EXPECT_FALSE(std::filesystem::exists(ConfigPath()));
    EXPECT_NE(NewLog().find("Error: unable to load game settings!"), std::string::npos);

    // Neither the player's file nor the defaults: logged, and the panel stays as it was.
    std::filesystem::remove(folder / "ConfigDef.xml");
    CGameSettings::Instance().Invalidate();
    std::filesystem::current_path(ConfigPath().parent_path());
    d.Activate();
    std::filesystem::current_path(VOVARO_DATA_DIR);
    EXPECT_FALSE(d.IsLoaded());
    EXPECT_NE(NewLog().find("Error: the options cannot read the settings (Error opening xml!)!"), std::string::npos)
        << NewLog();
}

// Alt+Enter toggles the mode at the end of a frame; the box shows each new
// mode from the next frame on, and otherwise keeps what the player ticked.
TEST_F(OptionsDialogTest, WindowBoxFollowsTheModeWhenItChangesElsewhere) {
    COptionsDialog d;
    d.Load(DialogNode("OptionsDialog"));
    d.Activate();
    CMenuCheckBox* box = Control<CMenuCheckBox>(d, "ID_WINDOWED");
    ASSERT_TRUE(box->IsChecked());
    box->SetChecked(false);  // the player's own tick stays while the mode does not change
    Frame([&] { d.Draw(false); });
    EXPECT_FALSE(box->IsChecked());

    const bool was_fullscreen = core().IsFullscreen();
    if (!core().ToggleFullscreen()) GTEST_SKIP() << "this display cannot switch modes";
    Frame([&] { d.Draw(false); });
    EXPECT_EQ(box->IsChecked(), !core().IsFullscreen());
    ASSERT_TRUE(core().ToggleFullscreen());
    Frame([&] { d.Draw(false); });
    EXPECT_EQ(core().IsFullscreen(), was_fullscreen);
    EXPECT_EQ(box->IsChecked(), !was_fullscreen);
}

}  // namespace
