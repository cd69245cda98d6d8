// The pause, leave-game, help, credits and game-over dialogs, loaded from the
// shipped dialogs file: their answers through the result word, the pause
// dialog's volumes, the help pages' arrows and the game-over delay.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/user_folder.h"
#include "engine/xml_file.h"
#include "game/help_dialog.h"
#include "game/leave_game_dialog.h"
#include "game/pause_dialog.h"
#include "game/time_out_dialog.h"
#include "gui/menu_page_control.h"
#include "gui/menu_track_bar.h"
#include "platform/virtual_keys.h"
#include "profiles/game_settings.h"
#include "dialog_test_support.h"

using namespace game_test;

namespace {

class InGameDialogsTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        RemoveUserSettings();
    }
    void TearDown() override {
        RemoveUserSettings();
        DialogTest::TearDown();
    }
    // Back to the shipped defaults (snd_vol 80, mus_vol 60).
    static void RemoveUserSettings() {
        std::filesystem::remove(UserFolderPath("all") + CGameSettings::UserFileName());
        CGameSettings::Instance().Invalidate();
    }
    static void Click(CBaseDialog& dialog, const std::string& id) { dialog.OnClick(dialog.FindControl(id)); }
};

TEST_F(InGameDialogsTest, LeaveGameAnswersLeaveOrStay) {
    CLeaveGameDialog d;
    ASSERT_TRUE(d.Load(DialogNode("LeaveGameDialog")));
    Click(d, "ID_LEAVE");
    EXPECT_EQ(d.GetResult(), 1);
    d.Activate();
    Click(d, "ID_FRAME");  // not an answer
    EXPECT_EQ(d.GetResult(), 0);
    Click(d, "ID_CONCEL");
    EXPECT_EQ(d.GetResult(), 3);
    d.Activate();
    d.OnKeyDown(plat::VK_ESCAPE);
    EXPECT_EQ(d.GetResult(), 3);
}

TEST_F(InGameDialogsTest, PauseMovesTheVolumesAtOnceAndSavesThemWithEachAnswer) {
    CPauseDialog d;
    ASSERT_TRUE(d.Load(DialogNode("PauseDialog")));
    auto* sound = dynamic_cast<CMenuTrackBar*>(d.FindControl("ID_SOUND"));
    auto* music = dynamic_cast<CMenuTrackBar*>(d.FindControl("ID_MUSIC"));
    ASSERT_TRUE(sound && music);
    // Filled from the settings; the keeper hears them once, music first.
    EXPECT_EQ(sound->GetPosition(), 80);
    EXPECT_EQ(music->GetPosition(), 60);
    EXPECT_EQ(sounds->volume_sets, (std::vector<std::pair<int, int>> {{60, 80}}));

    // A move reaches the sound keeper at once but is not saved.
    sound->SetPosition(30);
    EXPECT_EQ(sounds->volume_sets.back(), std::make_pair(60, 30));
    d.Activate();
    EXPECT_EQ(sound->GetPosition(), 80);
    EXPECT_EQ(sounds->volume_sets.back(), std::make_pair(60, 80));

    // Esc resumes and saves.
    music->SetPosition(25);
    d.OnKeyDown(plat::VK_ESCAPE);
    EXPECT_EQ(d.GetResult(), CPauseDialog::kResume);
    CXMLFile saved(UserFolderPath("all") + CGameSettings::UserFileName());
    EXPECT_EQ(saved.SelectSingleNode("//Config/Options").GetAttributeInt("mus_vol", -1), 25);
    EXPECT_EQ(saved.SelectSingleNode("//Config/Options").GetAttributeInt("snd_vol", -1), 80);

    // The other answers; the menu is 5, not the leave question's 1.
    const std::pair<const char*, int> answers[] = {{"ID_MENU", 5}, {"ID_HELP", 4}, {"ID_GAME", 2}};
    for (const auto& [id, result] : answers) {
        d.Activate();
        sound->SetPosition(10 + result);
        Click(d, id);
        EXPECT_EQ(d.GetResult(), result) << id;
        GameOptions options;
        ASSERT_TRUE(CGameSettings::Instance().LoadSettings(options));
        EXPECT_EQ(options.snd_vol, 10 + result) << id;
    }
}

TEST_F(InGameDialogsTest, PauseWithoutTrackBarsAnswersAndLogs) {
    CPauseDialog d;
    ASSERT_TRUE(d.Load(DialogNode("LeaveGameDialog")));  // no track bars at all
    EXPECT_NE(NewLog().find("Error: control 'ID_SOUND' not found in dialog!"), std::string::npos);
    d.OnKeyDown(plat::VK_ESCAPE);
    EXPECT_EQ(d.GetResult(), CPauseDialog::kResume);
    GameOptions options;
    ASSERT_TRUE(CGameSettings::Instance().LoadSettings(options));
    EXPECT_EQ(options.snd_vol, 0);  // what the missing bar reads
}

struct ArrowStates {
    uint32_t page;
    bool backward, forward;
};

ArrowStates Arrows(const CHelpDialog& d) {
    return {d.GetPageControl()->GetPage(), d.FindControl("ID_BACKWARD")->IsEnabled(),
            d.FindControl("ID_FORWARD")->IsEnabled()};
}

TEST_F(InGameDialogsTest, HelpPagesStopAtBothEndsAndTheArrowsFollowThePage) {
    CHelpDialog d;
    ASSERT_TRUE(d.Load(DialogNode("HelpDialog")));
    ASSERT_NE(d.GetPageControl(), nullptr);
    const uint32_t last = d.GetPageControl()->GetPageCount() - 1;
    ASSERT_GE(last, 2u);
    d.Activate();
    auto expect = [&](uint32_t page) {
        const ArrowStates s = Arrows(d);
        EXPECT_EQ(s.page, page);
        EXPECT_EQ(s.backward, page > 0) << "page " << page;
        EXPECT_EQ(s.forward, page < last) << "page " << page;
    };
    expect(0);
    Click(d, "ID_BACKWARD");  // nothing before the first page
    expect(0);
    for (uint32_t page = 1; page <= last; ++page) {
        Click(d, "ID_FORWARD");
        expect(page);
    }
    Click(d, "ID_FORWARD");  // nothing after the last
    expect(last);
    Click(d, "ID_BACKWARD");
    expect(last - 1);

    // Showing it again starts at the first page with fresh arrows; the result stays.
    d.SetResult(7);
    d.Activate();
    expect(0);
    EXPECT_EQ(d.GetResult(), 7);

    // A page button turns the page itself: the next drawn frame fixes the arrows.
    d.GetPageControl()->OnClick(d.GetPageControl()->GetPageAt(last).button.get());
    Frame([&] { d.Draw(true); });
    expect(last);

    Click(d, "ID_BACK");
    EXPECT_EQ(d.GetResult(), CHelpDialog::kBack);
    Click(d, "ID_CREDITS");
    EXPECT_EQ(d.GetResult(), CHelpDialog::kCredits);
}

TEST_F(InGameDialogsTest, CreditsPageThroughTheirPagesAndGoBack) {
    CHelpDialog d;
    ASSERT_TRUE(d.Load(DialogNode("CreditsDialog")));
    ASSERT_EQ(d.GetPageControl()->GetPageCount(), 2u);
    d.Activate();
    EXPECT_FALSE(d.FindControl("ID_BACKWARD")->IsEnabled());
    Click(d, "ID_FORWARD");
    EXPECT_EQ(d.GetPageControl()->GetPage(), 1u);
    EXPECT_FALSE(d.FindControl("ID_FORWARD")->IsEnabled());
    Click(d, "ID_BACK");
    EXPECT_EQ(d.GetResult(), CHelpDialog::kBack);
}

TEST_F(InGameDialogsTest, HelpWithoutPagesOnlyAnswers) {
    CHelpDialog d;
    ASSERT_TRUE(d.Load(DialogNode("LeaveGameDialog")));
    EXPECT_EQ(d.GetPageControl(), nullptr);
    d.Activate();
    d.OnClick(d.FindControl("ID_LEAVE"));
    EXPECT_EQ(d.GetResult(), 0);
}

TEST_F(InGameDialogsTest, GameOverAnswersAfterItsDelayOrAtOnceWithAButtonHeld) {
    uint32_t now = 1000;
    CTimeOutDialog d;
    ASSERT_TRUE(d.Load(DialogNode("GameOverDialog")));
    d.SetTickSource([&] { return now; });
    d.Show(7000);
    const auto draw = [&] { d.Draw(false); };
    Frame(draw);
    EXPECT_EQ(d.GetResult(), 0);
    now = 8000;  // exactly the delay: not yet
    Frame(draw);
    EXPECT_EQ(d.GetResult(), 0);
    now = 8001;
    Frame(draw);
    EXPECT_EQ(d.GetResult(), CTimeOutDialog::kDone);

    // The tick count wrapping meanwhile does not end the wait early.
    now = 0xFFFFFF00u;
    d.Show(7000);
    now += 0x200;
    Frame(draw);
    EXPECT_EQ(d.GetResult(), 0);

    // A held button answers at once, but not in frames drawn without updates.
    Button(true);
    Frame([&] { d.Draw(true); });
    EXPECT_EQ(d.GetResult(), 0);
    Frame(draw);
    EXPECT_EQ(d.GetResult(), CTimeOutDialog::kDone);
    Button(false);
}

}  // namespace
