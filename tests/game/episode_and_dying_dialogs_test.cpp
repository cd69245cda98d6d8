// The episode-start, episode-complete and life-lost dialogs over the shipped
// data: their samples, the episode's page and number, the pulsing line, the
// birds landing one after another and the lives banner after them.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/xml_file.h"
#include "field/birds.h"
#include "game/dying_dialog.h"
#include "game/episode_dialog.h"
#include "game/remains_lives_message.h"
#include "gui/menu_page_control.h"
#include "dialog_test_support.h"

using namespace game_test;

namespace {

class EpisodeAndDyingDialogsTest : public DialogTest {
protected:
    static int Plays(const std::vector<std::string>& played, const std::string& alias) {
        return static_cast<int>(std::count(played.begin(), played.end(), alias));
    }
    // The birds that have been sent down (state 7 or later in their show).
    static int Landed(const CDyingDialog& d) {
        int n = 0;
        for (const Bird& bird : d.GetBirds()->GetBirds()) n += bird.state != 1;
        return n;
    }
};

TEST_F(EpisodeAndDyingDialogsTest, LifeLostBirdsLandDelayFramesApartThenTheBannerShows) {
    CDyingDialog d;
    ASSERT_TRUE(d.Load(DialogNode("DyingDialog")));
    ASSERT_EQ(d.GetBirdDelay(), 20u);
    EXPECT_FALSE(d.FindControl("ID_LIVES_NUM")->IsVisible());
    d.Show(5000, 2);
    ASSERT_NE(d.GetBirds(), nullptr);
    ASSERT_EQ(d.GetBirds()->GetBirds().size(), 3u);

    std::vector<int> landed_in, banner_in;
    for (int frame = 1; frame <= 45; ++frame) {
        // Frames drawn without updates in between do not advance the show.
        Frame([&] { d.Draw(true); });
        const uint32_t before = d.GetBirdIndex();
        Frame([&] { d.Draw(false); });
        if (d.GetBirdIndex() != before) {
            landed_in.push_back(frame);
            EXPECT_EQ(d.GetBirds()->GetBirds()[before].state, CDyingDialog::kLanding);
        }
        if (d.GetBanner() && banner_in.empty()) banner_in.push_back(frame);
    }
    EXPECT_EQ(landed_in, (std::vector<int> {1, 21, 41}));
    EXPECT_EQ(banner_in, (std::vector<int> {42}));
    EXPECT_EQ(Landed(d), 3);
    const CRemainsLivesMessage& banner = *d.GetBanner();
    EXPECT_EQ(banner.GetAlias(), "LivesLeft");
    EXPECT_EQ(banner.GetLives(), 2);
    EXPECT_EQ(banner.GetPosition().x, 530.0f);
    EXPECT_EQ(banner.GetPosition().y, 322.0f);

    // Shown again with one life: fresh birds, no banner until they have landed.
    d.Show(5000, 1);
    EXPECT_EQ(d.GetBanner(), nullptr);
    EXPECT_EQ(d.GetBirdIndex(), 0u);
    EXPECT_EQ(Landed(d), 0);
    for (int frame = 0; frame < 42; ++frame) Frame([&] { d.Draw(false); });
    ASSERT_NE(d.GetBanner(), nullptr);
    EXPECT_EQ(d.GetBanner()->GetAlias(), "LastLive");

    d.OnClick(d.FindControl("ID_OK"));
    EXPECT_EQ(d.GetResult(), CDyingDialog::kContinue);
    d.Clear();
    EXPECT_EQ(d.GetBirds(), nullptr);
    EXPECT_EQ(d.GetBanner(), nullptr);
}

TEST_F(EpisodeAndDyingDialogsTest, LifeLostWithoutBirdsShowsTheBannerAtOnce) {
    CXMLFile doc;
    doc.Parse("<DyingDialog><Message delay='5' speed='2'/></DyingDialog>");
    CDyingDialog d;
    ASSERT_TRUE(d.Load(doc.SelectSingleNode("/DyingDialog")));
    EXPECT_NE(NewLog().find("Error: control 'ID_LIVES_NUM' not found in dialog!"), std::string::npos);
    d.Show(0, 3);
    EXPECT_EQ(d.GetBirds(), nullptr);
    Frame([&] { d.Draw(false); });
    ASSERT_NE(d.GetBanner(), nullptr);
    EXPECT_EQ(d.GetBanner()->GetLives(), 3);
}

TEST_F(EpisodeAndDyingDialogsTest, EpisodeCompletePlaysItsSamplesAndTurnsToTheEpisodesPage) {
    CEpisodeDialog d;
    ASSERT_TRUE(d.Load(DialogNode("EpisodeCompleteDialog")));
    auto* missions = dynamic_cast<CMenuPageControl*>(d.FindControl("ID_MISSIONS"));
    ASSERT_NE(missions, nullptr);
    EXPECT_EQ(missions->GetPageAt(0).button, nullptr);

    d.Show(2, "episode_complete");
    EXPECT_EQ(missions->GetPage(), 2u);
    EXPECT_EQ(Plays(sounds->played, "episode_complete"), 0);  // at the first frame
    for (int i = 0; i < 3; ++i) Frame([&] { d.Draw(false); });
    EXPECT_EQ(Plays(sounds->played, "episode_complete"), 1);

    // The congratulation line pulses with the episode's number where its label stood.
    EXPECT_FALSE(d.FindControl("ID_CONGRATULATIONS")->IsVisible());
    EXPECT_GT(d.GetCongratulation().GetSize(), d.GetCongratulation().GetBase());
    EXPECT_EQ(d.GetCongratulation().GetCount(), CPulsingLabel::kEndless);
    ASSERT_NE(d.GetBirds(), nullptr);
    EXPECT_EQ(d.GetBirds()->GetBirds().size(), d.GetPlacements().size());

    // An episode past the pages keeps the page it has.
    d.Show(missions->GetPageCount(), "");
    EXPECT_EQ(missions->GetPage(), 2u);
    d.OnClick(d.FindControl("ID_OK"));
    EXPECT_EQ(d.GetResult(), CEpisodeDialog::kContinue);
    d.Clear();
    EXPECT_EQ(d.GetBirds(), nullptr);
}

TEST_F(EpisodeAndDyingDialogsTest, EpisodeStartPlaysItsActivateSampleAndPrintsTheEpisodeNumber) {
    CEpisodeDialog d;
    ASSERT_TRUE(d.Load(DialogNode("StartEpisodeDialog")));
    d.Show(0, "");
    EXPECT_EQ(Plays(sounds->played, "episode_start"), 1);
    Frame([&] { d.Draw(false); });
    Frame([&] { d.Draw(false); });
    EXPECT_EQ(Plays(sounds->played, "episode_start"), 1);
    // "Episode 1" in the gold of the stage label, about the label's point.
    const auto px = Shown();
    const CBaseControl* stage = d.FindControl("ID_STAGE");
    const int x = static_cast<int>(stage->GetX()), y = static_cast<int>(stage->GetY());
    EXPECT_GT(Count(px, x - 60, y - 20, x + 60, y + 20, IsGold), 150);
}

}  // namespace
