// The episode selector on the shipped data (five episodes) with a real
// profile store: the three roads in, the way back, episode clicks, the
// game-complete phase and the hiscore rows.
#include "frontend/selector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "graphics/static_text.h"
#include "gui/base_control.h"
#include "scene_test_support.h"

using namespace scene_test;

namespace {

class SelectorTest : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        selector.Init();
    }
    // Entered from `from`, as the scene manager does it.
    void Enter(const std::string& from) {
        selector.SetActive(0);
        selector.SetRequest(AScene::kRequestNone);
        selector.SetPrevScene(from);
        selector.Reset();
        selector.SetActive(1);
    }
    bool Visible(const std::string& id) { return selector.GetSelectionPanel().FindControl(id)->IsVisible(); }
    std::vector<int> Arrows() {
        std::vector<int> shown;
        for (int i = 0; i < 5; ++i)
            if (Visible("ID_MIS_ARROW_" + std::to_string(i))) shown.push_back(i);
        return shown;
    }
    void Open(uint32_t player, int episodes) {
        for (int e = 0; e < episodes; ++e) store.UpdateEpisodeAvailability(player, e, 1);
    }
    void Click(const std::string& id) {
        CSelectionDialog& panel = selector.GetSelectionPanel();
        panel.OnClick(panel.FindControl(id));
    }

    CSelector selector {room, &store};
};

TEST_F(SelectorTest, ANewGameFromTheMenuSelectsTheNewestUnlockedEpisode) {
    const uint32_t ann = AddPlayer("ANN");
    Open(ann, 3);
    Enter("Menu");
    CSelectionDialog& panel = selector.GetSelectionPanel();
    EXPECT_EQ(panel.GetEpisodeCount(), 5u);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(Visible("ID_MIS_IMAGE_" + std::to_string(i)), i < 3) << i;
    EXPECT_EQ(panel.GetSelectedEpisode(), 2);
    EXPECT_EQ(Arrows(), std::vector<int>{2});
    EXPECT_TRUE(Visible("ID_BACK"));
    EXPECT_FALSE(Visible("ID_MENU"));

    // Esc goes back to the menu and writes no state.
    panel.OnKeyDown(plat::VK_ESCAPE);
    selector.Update();
    EXPECT_EQ(selector.GetRequest(), AScene::kRequestSwitch);
    EXPECT_EQ(selector.GetNextScene(), "Menu");
    EXPECT_EQ(store.GetPlayerState(ann), 0);
}

TEST_F(SelectorTest, ResumingThroughTheSelectorStartsTheEpisodeAfterTheSavedOne) {
    const uint32_t ann = AddPlayer("ANN");
    Open(ann, 3);
    Suspend(1, 9);
    g_GameStartRequest.mode = 2;
    g_GameStartRequest.start_flag = 1;
    Enter("Menu");
    EXPECT_EQ(g_GameStartRequest.episode, 2);
    EXPECT_EQ(selector.GetSelectionPanel().GetSelectedEpisode(), 2);

    Click("ID_MIS_IMAGE_2");
    selector.Update();
    EXPECT_EQ(selector.GetNextScene(), "Game");
    EXPECT_EQ(g_GameStartRequest.episode, 2);
    EXPECT_EQ(g_GameStartRequest.level, 0);
    EXPECT_EQ(g_GameStartRequest.mode, 2) << "the mode stays as the menu left it";
    EXPECT_EQ(g_GameStartRequest.start_flag, 1);
    EXPECT_NE(NewLog().find("User selected episode #2"), std::string::npos);
}

TEST_F(SelectorTest, AfterAnEpisodeTheWayBackMarksThePlayersStateOnce) {
    const uint32_t ann = AddPlayer("ANN");
    Open(ann, 4);
    g_GameStartRequest.episode = 3;
    Enter("Game");
    EXPECT_EQ(selector.GetSelectionPanel().GetSelectedEpisode(), 3);
    EXPECT_FALSE(Visible("ID_BACK"));
    EXPECT_TRUE(Visible("ID_MENU"));
    selector.GetSelectionPanel().OnKeyDown(plat::VK_ESCAPE);
    selector.Update();
    EXPECT_EQ(selector.GetRequest(), AScene::kRequestNone) << "Esc does nothing here";

    Click("ID_MENU");
    selector.Update();
    EXPECT_EQ(selector.GetNextScene(), "Menu");
    EXPECT_EQ(store.GetPlayerState(ann), 1);

    // A later visit from the menu carries no mark: leaving writes nothing,
    // even for another player.
    const uint32_t bo = AddPlayer("BO");
    Open(bo, 1);
    Enter("Menu");
    selector.GetSelectionPanel().OnKeyDown(plat::VK_ESCAPE);
    selector.Update();
    selector.Exit();
    EXPECT_EQ(store.GetPlayerState(bo), 0);
}

TEST_F(SelectorTest, PlayingOnAfterAnEpisodeClearsTheMark) {
    const uint32_t ann = AddPlayer("ANN");
    Open(ann, 2);
    g_GameStartRequest.episode = 1;
    Enter("Game");
    EXPECT_TRUE(selector.WillMarkStateOnLeave());
    Click("ID_OK");
    selector.Update();
    EXPECT_EQ(selector.GetNextScene(), "Game");
    EXPECT_FALSE(selector.WillMarkStateOnLeave());
    selector.Exit();
    EXPECT_EQ(store.GetPlayerState(ann), 0);
}

TEST_F(SelectorTest, OnlyAPlayerWhoHasWonMayChooseAnotherEpisode) {
    const uint32_t ann = AddPlayer("ANN");
    Open(ann, 5);
    Enter("Menu");
    ASSERT_EQ(selector.GetSelectionPanel().GetSelectedEpisode(), 4);
    Click("ID_MIS_IMAGE_1");
    EXPECT_EQ(selector.GetSelectionPanel().GetSelectedEpisode(), 4);
    EXPECT_EQ(selector.GetSelectionPanel().GetResult(), 0);
    EXPECT_EQ(room.shown, -1);

    ASSERT_TRUE(store.SetGameWon(ann, true));
    Click("ID_MIS_IMAGE_1");
    EXPECT_EQ(selector.GetSelectionPanel().GetSelectedEpisode(), 1);
    EXPECT_EQ(Arrows(), std::vector<int>{1});
    EXPECT_EQ(room.shown, 1);
    EXPECT_EQ(selector.GetSelectionPanel().GetResult(), 0);
    Click("ID_MIS_IMAGE_1");
    EXPECT_EQ(selector.GetSelectionPanel().GetResult(), CSelectionDialog::kResultPlay);
}

// Tables damaged under the running game: the selector logs each failing call
// of the store, resumes nothing, shows no hiscores and keeps the first episode
// open.
TEST_F(SelectorTest, AStoreThatFailsAfterTheStartIsLoggedAndTheFirstEpisodeStaysOpen) {
    const uint32_t ann = AddPlayer("ANN");
    Open(ann, 3);
    Suspend(1, 9);
    store.Database().execute("drop table hiscoresData");
    store.Database().execute("drop table episodeData");
    store.Database().execute("alter table playerData rename column suspended to suspendedGone");
    store.Database().execute("alter table playerData rename column game_won to wonGone");
    g_GameStartRequest.mode = 2;
    g_GameStartRequest.start_flag = 1;
    EXPECT_NO_THROW(Enter("Menu"));
    EXPECT_EQ(g_GameStartRequest.episode, GameStartRequest::kNoEpisode);
    EXPECT_EQ(selector.GetSelectionPanel().GetSelectedEpisode(), 0);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(Visible("ID_MIS_IMAGE_" + std::to_string(i)), i == 0) << i;
    EXPECT_NO_THROW(Click("ID_MIS_IMAGE_1"));
    EXPECT_EQ(selector.GetSelectionPanel().GetSelectedEpisode(), 0);
    const std::string log = NewLog();
    for (const char* place : {"(CSelector::TakeResumedEpisode)", "(CSelectionDialog::Refresh)",
                              "(CSelectionDialog::IsEpisodeAvailable)", "(CSelectionDialog::OnClick)"})
        EXPECT_NE(log.find(place), std::string::npos) << place;
}

TEST_F(SelectorTest, TheGameCompletePanelWaitsForTheTrophyRoomAndLeadsToTheMenu) {
    const uint32_t ann = AddPlayer("ANN");
    Open(ann, 5);
    g_GameStartRequest.episode = 4;
    g_GameCompleted = 1;
    room.idle = false;
    Enter("Game");
    EXPECT_EQ(g_GameCompleted, 0);
    EXPECT_TRUE(selector.IsGameCompletePending());
    selector.Update();
    EXPECT_FALSE(selector.IsModal());
    EXPECT_FALSE(selector.GetPanelManager().IsShown(&selector.GetGameCompletePanel()));

    room.idle = true;
    selector.Update();
    EXPECT_TRUE(selector.IsModal());
    EXPECT_TRUE(selector.GetPanelManager().IsShown(&selector.GetGameCompletePanel()));
    EXPECT_NE(std::find(sounds->played.begin(), sounds->played.end(), "congratulations"), sounds->played.end());
    EXPECT_EQ(selector.GetGameCompletePanel().GetPage(), 0);

    // While it is up, the episode buttons' answers wait.
    Click("ID_OK");
    selector.Update();
    EXPECT_EQ(selector.GetRequest(), AScene::kRequestNone);

    CGameCompleteDialog& done = selector.GetGameCompletePanel();
    done.OnClick(done.FindControl("ID_EXIT"));
    selector.Update();
    EXPECT_EQ(selector.GetRequest(), AScene::kRequestSwitch);
    EXPECT_EQ(selector.GetNextScene(), "Menu");
    selector.Exit();
    EXPECT_EQ(store.GetPlayerState(ann), 0) << "a won game does not stand at a next episode";
}

TEST_F(SelectorTest, TheHiscoreRowsFollowTheColumnTemplates) {
    const uint32_t ann = AddPlayer("ANN");
    Open(ann, 1);
    const uint32_t bo = AddPlayer("BO");
    const uint32_t cy = AddPlayer("CY");
    // Above the seeded scores of the new database.
    store.AddHiscore(ann, 50500);
    store.AddHiscore(bo, 90000);
    store.AddHiscore(cy, 51200);
    store.AddHiscore(ann, 40);
    Enter("Menu");
    CSelectionDialog& panel = selector.GetSelectionPanel();
    for (const char* id : {"ID_NUM", "ID_PLAYER", "ID_SCORE"}) EXPECT_FALSE(Visible(id)) << id;
    const std::vector<ScoreRecord>& top = panel.GetTopScores();
    ASSERT_EQ(top.size(), 3u);
    EXPECT_EQ(top[0].score, 90000);
    EXPECT_EQ(top[0].name, "BO");
    const auto& texts = panel.GetHiscoreTexts();
    ASSERT_EQ(texts.size(), 9u);
    ASSERT_GT(panel.GetRowHeight(), 0);
    const char* columns[] = {"ID_NUM", "ID_PLAYER", "ID_SCORE"};
    const char* labels[] = {"PlayerNumber", "PlayerName", "PlayerScore"};
    for (size_t r = 0; r < 3; ++r)
        for (size_t c = 0; c < 3; ++c) {
            const CStaticText& t = *texts[r * 3 + c];
            EXPECT_EQ(t.GetAlias(), labels[c]);
            EXPECT_EQ(t.GetPosition().x, panel.FindControl(columns[c])->GetX());
            EXPECT_EQ(t.GetPosition().y, static_cast<float>(panel.GetFirstRowY() + panel.GetRowHeight() * static_cast<int>(r)));
        }
    EXPECT_EQ(texts[0]->GetArgA().GetInt(), 1);
    EXPECT_EQ(texts[1]->GetArgA().GetString(), top[0].name);
    EXPECT_EQ(texts[2]->GetArgA().GetInt(), 90000);
    EXPECT_EQ(texts[3]->GetArgA().GetInt(), 2);
    EXPECT_EQ(texts[8]->GetArgA().GetInt(), 50500);
    EXPECT_FALSE(Visible("ID_NO_SCORES"));

    // The rows are drawn with the panel.
    Frame([&] { selector.Render(); });
    for (const auto& t : texts) EXPECT_FALSE(t->IsDirty());
    EXPECT_GT(room.renders, 0);
}

TEST_F(SelectorTest, ALongNameIsCutSoAGapRemainsBeforeItsScore) {
    // {name, score}: a short name, the names that ran into seven digits, the
    // widest name the edit box takes, and the largest score there is.
    const std::vector<std::pair<std::string, int32_t>> rows = {
        {"Mo-Ann O'K", 1016380}, {"WWWWWWWWWWWW", 9999999}, {"BO", 2147483647}};
    for (const auto& [name, score] : rows) store.AddHiscore(AddPlayer(name), score);
    Enter("Menu");
    CSelectionDialog& panel = selector.GetSelectionPanel();
    const auto& texts = panel.GetHiscoreTexts();
    ASSERT_EQ(texts.size(), 9u);
    const CBaseControl& frame = *panel.FindControl("ID_SCORES_PANEL");
    const float margin = panel.FindControl("ID_NUM")->GetX() - frame.GetX();
    for (size_t r = 0; r < 3; ++r) {
        CStaticText& name = *texts[r * 3 + 1];
        CStaticText& score = *texts[r * 3 + 2];
        const std::string shown = name.GetArgA().GetString();
        SCOPED_TRACE(shown);
        EXPECT_LE(name.GetBounds().right + CSelectionDialog::kNameScoreGap, score.GetBounds().left);
        EXPECT_LE(score.GetBounds().right, frame.GetX() + frame.GetWidth() - margin);
        const std::string& full = panel.GetTopScores()[r].name;
        if (shown != full) {
            ASSERT_FALSE(shown.empty());
            EXPECT_EQ(shown.back(), '\x85');
            EXPECT_EQ(full.rfind(shown.substr(0, shown.size() - 1), 0), 0u);
        }
    }
    // A name that fits is shown whole, at its column.
    EXPECT_EQ(panel.GetTopScores()[0].name, "BO");
    EXPECT_EQ(texts[1]->GetArgA().GetString(), "BO");
    EXPECT_NE(texts[4]->GetArgA().GetString(), "WWWWWWWWWWWW");  // cut to fit (checked above)
}

}  // namespace
