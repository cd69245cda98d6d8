// The game scene's score, lives and time bonus, its episodes and levels, and
// the suspended game stored in the real profile store and resumed.
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "field/level_limits.h"
#include "game/game_state_desc.h"
#include "platform/virtual_keys.h"
#include "profiles/database.h"
#include "game_scene_test_support.h"

namespace game_test {
namespace {

using GameSceneResultsTest = GameSceneTest;

std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
// The names of the files changed in the user folder while `action` runs, in
// the order of the folder's change notes.
std::vector<std::string> FolderChanges(const std::function<void()>& action) {
    std::vector<std::string> changed;
    const int notes = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    EXPECT_GE(notes, 0);
    if (notes < 0) return changed;
    EXPECT_GE(::inotify_add_watch(notes, UserFolderPath("all").c_str(), IN_MODIFY | IN_MOVED_TO), 0);
    action();
    alignas(inotify_event) char buffer[16384];
    for (ssize_t n; (n = ::read(notes, buffer, sizeof buffer)) > 0;)
        for (char* p = buffer; p < buffer + n;) {
            const auto* note = reinterpret_cast<const inotify_event*>(p);
            if (note->len) changed.emplace_back(note->name);
            p += sizeof(inotify_event) + note->len;
        }
    ::close(notes);
    return changed;
}
// Each store of the game ends with its copy "serial.xml" moved into place.
long Stores(const std::vector<std::string>& changed) { return std::count(changed.begin(), changed.end(), "serial.xml"); }

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }
// The text of a saved game, without the closing zero byte the XML layer adds.
std::string Text(const std::vector<uint8_t>& data) {
    std::string text(data.begin(), data.end());
    while (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

TEST_F(GameSceneResultsTest, ScoreGrantsALifeAtEveryMultipleAndNeverFallsBelowZero) {
    SetScoreForLife(10000);
    const struct {
        int32_t score, points, want_score, lives_gained, bonus_samples;
    } cases[] = {
        {9990, 20, 10010, 1, 1},     {9990, 20010, 30000, 3, 1}, {9990, 5, 9995, 0, 0},
        {100, -500, 0, 0, 0},        {0, 10000, 10000, 1, 1},    {25000, -20000, 5000, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.score << " + " << c.points);
        sounds->Reset();
        game->SetScore(c.score);
        game->SetLives(3);
        game->AddScore(c.points);
        EXPECT_EQ(game->GetScore(), c.want_score);
        EXPECT_EQ(game->GetLives(), 3 + c.lives_gained);
        EXPECT_EQ(std::count(sounds->played.begin(), sounds->played.end(), "bonus_life"), c.bonus_samples);
    }
    // A gain after the floor counts lives from 0.
    game->SetScore(0);
    game->SetLives(1);
    game->AddScore(-50);
    game->AddScore(10000);
    EXPECT_EQ(game->GetLives(), 2);
}

TEST_F(GameSceneResultsTest, ABonusLifeBlinksTheLivesFor150Frames) {
    SetScoreForLife(10000);
    Start(0, 0);
    ASSERT_EQ(game->GetFrameCounter(), 0u);
    game->AddScore(10000);
    std::vector<bool> blink;
    for (int i = 0; i < 160; ++i) {
        Frame([&] { game->Render(); });
        blink.push_back(game->IsLivesBlink());
    }
    EXPECT_TRUE(blink[0]);    // frame 0 always shows
    EXPECT_TRUE(blink[20]);   // 130 frames left: 130 % 50 = 30
    EXPECT_FALSE(blink[40]);  // 110 % 50 = 10
    EXPECT_TRUE(blink[155]);  // over
}

TEST_F(GameSceneResultsTest, NoBonusLivesWithoutAPositiveScoreForLife) {
    for (int step : {0, -100}) {
        SetScoreForLife(step);
        game->SetScore(5);
        game->SetLives(3);
        game->AddScore(100000);
        EXPECT_EQ(game->GetScore(), 100005);
        EXPECT_EQ(game->GetLives(), 3);
    }
}

TEST_F(GameSceneResultsTest, LosingLivesStopsAtZeroAndSoundsWhileOneIsLost) {
    game->SetLives(1);
    sounds->Reset();
    EXPECT_EQ(game->LoseLife(), 0);
    EXPECT_EQ(std::count(sounds->played.begin(), sounds->played.end(), "lives_down"), 1);
    sounds->Reset();
    EXPECT_EQ(game->LoseLife(), 0);
    EXPECT_TRUE(sounds->played.empty());
    EXPECT_EQ(game->AddLife(), 1);
    EXPECT_EQ(sounds->played.back(), "lives_up");
}

TEST_F(GameSceneResultsTest, TheTimeBonusRewardsAWinUnderTheAceTime) {
    SetScoreForLife(100000000);
    SetAceTime(120);
    const struct {
        int32_t episode, time_ms, want_bonus;
    } cases[] = {
        {0, 100000, 20200}, {9, 100000, 2200}, {10, 100000, 3800}, {0, 120000, 0}, {0, 119999, 200}, {0, 150000, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "episode " << c.episode << " time " << c.time_ms);
        game->SetScore(1000);
        field->statistics.time = c.time_ms;
        field->statistics.score = 777;
        g_GameStartRequest.episode = c.episode;
        g_GameStartRequest.level = 3;
        // A continuing game at a level beyond the episode: the numbers are set, no level starts.
        game->Reset();
        LevelStatistics statistics;
        game->ComputeLevelStatistics(statistics);
        EXPECT_EQ(statistics.time_bonus, c.want_bonus);
        EXPECT_EQ(statistics.ace_time, 120000);
        EXPECT_EQ(statistics.time, c.time_ms);
        EXPECT_EQ(statistics.score, 777);
        EXPECT_EQ(game->GetScore(), 1000 + c.want_bonus);
    }
}

TEST_F(GameSceneResultsTest, EpisodesAndLevelRecordsComeFromTheLevelsFiles) {
    EXPECT_EQ(game->GetEpisodeCount(), 2u);
    EpisodeDesc episode;
    ASSERT_TRUE(game->LoadEpisode(0, episode));
    ASSERT_EQ(episode.LevelsCount, 2u);
    ASSERT_EQ(episode.Levels.size(), 2u);
    EXPECT_EQ(episode.Levels[1].path, "Levels\\Episode_0\\Level_1.xml");
    EXPECT_EQ(episode.Levels[0].music.Normal.alias, "meadow");
    EXPECT_EQ(episode.Levels[0].music.Anxious.track, 2);
    EXPECT_EQ(episode.Levels[1].music.Normal.track, MusicTrackRef::kNoTrack);
    // A level without music plays the nearest earlier level's when resumed.
    game->ResolveLevelMusic(episode, 1);
    EXPECT_EQ(episode.Levels[1].music.Normal.alias, "meadow");
    EXPECT_FLOAT_EQ(episode.Levels[1].music.fade_speed, 2.0f);
    EpisodeDesc none;
    EXPECT_FALSE(game->LoadEpisode(2, none));
    EXPECT_TRUE(none.Levels.empty());
}

TEST_F(GameSceneResultsTest, AGameStartsAtTheRequestedLevelOrAtTheFirst) {
    Start(GameStartRequest::kNoEpisode, 5);
    EXPECT_EQ(game->GetEpisodeNumber(), 0);
    EXPECT_EQ(game->GetLevelNumber(), 0);
    EXPECT_EQ(field->loaded.back(), "Levels\\Episode_0\\Level_0.xml");
    EXPECT_EQ(g_GameStartRequest.start_flag, 0);
    Start(0, 1);
    EXPECT_EQ(field->loaded.back(), "Levels\\Episode_0\\Level_1.xml");
    EXPECT_TRUE(game->IsLastLevel());
    EXPECT_EQ(game->LevelStartMessage().GetNumber(), 2);
    EXPECT_EQ(game->LevelStartMessage().GetSecondAlias(), "mission_0");
    // The frame counter starts at the command line's third number.
    g_AppParams.third_number = 500;
    Start(1, 0);
    EXPECT_EQ(game->GetFrameCounter(), 500u);
    EXPECT_EQ(game->LevelStartMessage().GetSecondAlias(), "mission_1");
    g_AppParams.third_number = 0;
}

// ---- the suspended game

class SuspendedGameTest : public GameSceneTest {
protected:
    std::vector<uint8_t> Stored(uint32_t player = 0) {
        std::vector<uint8_t> data;
        if (!g_profiles.GetPlayerSuspendedGame(player, data)) data.clear();
        return data;
    }
    // A game in play at episode 0, level 1 with its own values and board.
    void PlayAGame() {
        Start(0, 1);
        game->SetScore(4321);
        game->SetLives(2);
        field->board = "row 'one' \"two\" <three> & four";
    }
};

TEST_F(SuspendedGameTest, LeavingThroughThePauseStoresTheGameAndAResumeContinuesIt) {
    PlayAGame();
    std::vector<uint8_t> text;
    ASSERT_TRUE(game->SerializeState(text));
    game->SetPendingRequest(prLeave);
    game->Update();
    const std::vector<uint8_t> stored = Stored();
    // The leave made the game's entry in the best scores; the stored game names it.
    ASSERT_GE(game->GetHiscoreEntry(), 0);
    std::string want = Text(text);
    want.insert(want.find("/><GameField"), " hiscore_id=\"" + std::to_string(game->GetHiscoreEntry()) + "\"");
    ASSERT_EQ(Text(stored), want);
    GameStateDesc desc;
    ASSERT_TRUE(PARSERS::ParseGameState(stored, desc));
    EXPECT_EQ(desc.episode, 0);
    EXPECT_EQ(desc.level, 1);
    EXPECT_EQ(desc.score, 4321);
    EXPECT_EQ(desc.lives, 2);
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(UserFolderPath("all")) / "serial.xml"));

    // The same program later: a resume straight into the game.
    NewScene();
    Start(GameStartRequest::kNoEpisode, 0, 1);
    EXPECT_EQ(game->GetEpisodeNumber(), 0);
    EXPECT_EQ(game->GetLevelNumber(), 1);
    EXPECT_EQ(game->GetScore(), 4321);
    EXPECT_EQ(game->GetLives(), 2);
    EXPECT_EQ(field->board, "row 'one' \"two\" <three> & four");
    EXPECT_EQ(field->loaded.back(), "Levels\\Episode_0\\Level_1.xml");
    std::vector<uint8_t> again;
    ASSERT_TRUE(game->SerializeState(again));
    EXPECT_EQ(Text(again), Text(stored));
    // The level without music of its own plays the earlier level's on a resume.
    EXPECT_EQ(game->GetEpisode().Levels[1].music.Normal.alias, "meadow");
}

// The inspection copy of the saved game goes only into the user folder: with
// that folder gone it is written nowhere, and the saved game comes out whole.
TEST_F(SuspendedGameTest, WithoutTheUserFolderTheCopyOfTheSavedGameIsWrittenNowhere) {
    PlayAGame();
    const std::filesystem::path lost = Root() / "lost_user";
    PrepareUserFolderAt(lost.string());
    std::filesystem::remove_all(lost);
    std::vector<uint8_t> text;
    const bool serialized = game->SerializeState(text);
    PrepareUserFolderAt((Root() / "user").string());
    EXPECT_TRUE(serialized);
    GameStateDesc desc;
    ASSERT_TRUE(PARSERS::ParseGameState(text, desc));
    EXPECT_EQ(desc.score, 4321);
    EXPECT_FALSE(std::filesystem::exists(lost));
    EXPECT_FALSE(std::filesystem::exists(Data() / "serial.xml"));
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::current_path() / "serial.xml"));
}

TEST_F(SuspendedGameTest, GameOverAndGameWonEraseTheStoredGame) {
    for (int request : {prGameOver, prGameWon}) {
        SCOPED_TRACE(request);
        PlayAGame();
        std::vector<uint8_t> text;
        ASSERT_TRUE(game->SerializeState(text));
        ASSERT_TRUE(g_profiles.SetPlayerSuspendedGame(0, text));
        game->SetPendingRequest(request);
        game->Update();
        EXPECT_TRUE(Stored().empty());
        EXPECT_FALSE(game->IsGameRunning());
    }
}

TEST_F(SuspendedGameTest, AnExitDuringTheGameOverErasesInsteadOfSavingNoLives) {
    PlayAGame();
    std::vector<uint8_t> text;
    ASSERT_TRUE(game->SerializeState(text));
    game->SetLives(1);
    game->SetState(gsLifeLost);
    ASSERT_EQ(game->GetState(), gsGameOver);
    ASSERT_TRUE(g_profiles.SetPlayerSuspendedGame(0, text));  // as if stored before
    game->Destroy();
    EXPECT_TRUE(Stored().empty());
}

TEST_F(SuspendedGameTest, AnExitInPlayStoresTheGameOnceAndAfterLeavingNeverAgain) {
    PlayAGame();
    game->Destroy();
    EXPECT_FALSE(Stored().empty());
    EXPECT_EQ(field->Count("ClearLevel"), 1);

    // Left for the menu, then another player is chosen and the program ends.
    NewScene();
    PlayAGame();
    game->SetPendingRequest(prLeave);
    game->Update();
    const std::vector<uint8_t> stored = Stored();
    ASSERT_FALSE(stored.empty());
    g_profiles.SetActivePlayer(1);
    game->SetScore(1);
    game->Destroy();
    EXPECT_EQ(field->Count("ClearLevel"), 1);
    EXPECT_TRUE(Stored(1).empty());
    g_profiles.SetActivePlayer(0);
    EXPECT_EQ(Stored(), stored);
}

// The game goes into the database before its copy "serial.xml" is written, so
// on a full disk the copy never takes the room the stored game needs. The
// order is read from the folder's change notes; only the store itself runs,
// so no other write to the database (the best scores) comes first.
TEST_F(SuspendedGameTest, TheGameIsStoredBeforeItsCopyIsWritten) {
    PlayAGame();
    const std::vector<std::string> changed = FolderChanges([&] { game->Serialize(); });
    const auto stored = std::find(changed.begin(), changed.end(), "profile.db");
    const auto copied = std::find(changed.begin(), changed.end(), "serial.xml");
    ASSERT_NE(stored, changed.end());
    ASSERT_NE(copied, changed.end());
    EXPECT_LT(stored - changed.begin(), copied - changed.begin());
}

// Tables renamed under the running game, as a file damaged after the start
// leaves them: the scene logs each failing call of the store (the saved game
// of a resume, the level's hints, the level times) and plays on.
TEST_F(SuspendedGameTest, AStoreThatFailsAfterTheStartIsLoggedAndThePlayGoesOn) {
    db::database& db = g_profiles.Database();
    const std::pair<const char*, const char*> renames[] = {
        {"alter table hintsData rename to hintsGone", "alter table hintsGone rename to hintsData"},
        {"alter table levelData rename to levelGone", "alter table levelGone rename to levelData"},
        {"alter table playerData rename column suspended to suspendedGone",
         "alter table playerData rename column suspendedGone to suspended"},
    };
    struct Restore {
        const std::pair<const char*, const char*> (&renames)[3];
        db::database& db;
        ~Restore() {
            for (const auto& r : renames) db.execute(r.second);
        }
    };
    for (const auto& r : renames) db.execute(r.first);
    const Restore restore{renames, db};

    EXPECT_NO_THROW(Start(0, 1, 1));
    EXPECT_NE(game->GetRequest(), c3DGame::kRequestQuit);
    EXPECT_EQ(game->GetLevelNumber(), 1);
    EXPECT_EQ(game->GetScore(), 0) << "a fresh game";
    EXPECT_NO_THROW(game->SetState(gsNextLevel));
    const std::string log = ReadText(std::filesystem::path(UserFolderPath("all")) / "log.html");
    EXPECT_NE(log.find("(c3DGame::BeforeInit)"), std::string::npos);
    EXPECT_NE(log.find("(c3DGame::StoreLevelTime)"), std::string::npos);
}

// A level won and stored at its end is the game as shown: the time bonus and
// the lives it brought are in it, and a resume of it does not pay them twice.
TEST_F(SuspendedGameTest, TheWonLevelIsStoredAsShownAndItsBonusIsPaidOnce) {
    SetScoreForLife(10000);
    SetAceTime(100);
    PlayAGame();  // the episode's last level
    field->statistics.time = 1000;
    game->SetState(gsNextLevel);
    const int32_t shown_score = game->GetScore();
    const int32_t shown_lives = game->GetLives();
    const int32_t bonus = game->StatisticsDialog().GetStatistics().time_bonus;
    ASSERT_GT(shown_lives, 2);
    auto expect_shown = [&](const std::vector<uint8_t>& stored) {
        GameStateDesc desc;
        ASSERT_TRUE(PARSERS::ParseGameState(stored, desc));
        EXPECT_EQ(desc.score, shown_score);
        EXPECT_EQ(desc.lives, shown_lives);
    };
    // The window closed while the statistics show.
    game->Destroy();
    expect_shown(Stored());

    // Resumed, the won level ends again without a second bonus; its figures
    // show the bonus that is in the score.
    NewScene();
    Start(GameStartRequest::kNoEpisode, 0, 1);
    ASSERT_EQ(game->GetLevelNumber(), 1);
    field->statistics.time = 5000;
    game->SetState(gsNextLevel);
    EXPECT_EQ(game->GetScore(), shown_score);
    EXPECT_EQ(game->GetLives(), shown_lives);
    EXPECT_EQ(game->StatisticsDialog().GetStatistics().time_bonus, bonus);

    // The episode's end stores it as shown, and the next episode starts so.
    game->SetPendingRequest(prNextLevel);
    game->Update();
    ASSERT_EQ(game->GetNextScene(), "Selector");
    expect_shown(Stored());
    g_profiles.SetPlayerState(0, 1);
    NewScene();
    Start(1, 0, 2);
    EXPECT_EQ(game->GetScore(), shown_score);
    EXPECT_EQ(game->GetLives(), shown_lives);
}

// What a crash leaves in the next level is that level, entered with the won
// level's score and lives, not the level before.
TEST_F(SuspendedGameTest, TheStoredGameFollowsTheGameIntoTheNextLevel) {
    SetScoreForLife(10000);
    SetAceTime(100);
    Start(0, 0);
    game->SetScore(4321);
    game->SetLives(2);
    field->statistics.time = 1000;
    game->SetState(gsNextLevel);
    const int32_t shown_score = game->GetScore();
    const int32_t shown_lives = game->GetLives();
    game->SetPendingRequest(prNextLevel);
    // One store per level change: the next level's, not the won level's first.
    EXPECT_EQ(Stores(FolderChanges([&] { game->Update(); })), 1);
    ASSERT_EQ(game->GetLevelNumber(), 1);
    GameStateDesc desc;
    ASSERT_TRUE(PARSERS::ParseGameState(Stored(), desc));
    EXPECT_EQ(desc.level, 1);
    EXPECT_EQ(desc.score, shown_score);
    EXPECT_EQ(desc.lives, shown_lives);

    NewScene();  // the program after the crash
    Start(GameStartRequest::kNoEpisode, 0, 1);
    EXPECT_EQ(game->GetLevelNumber(), 1);
    EXPECT_EQ(game->GetScore(), shown_score);
    EXPECT_EQ(game->GetLives(), shown_lives);
}

// Quit while a won level's figures show, a resume shows them again as they
// were, the level's own points too, whether the level was won by play or by
// the debug key with tiles left; the level after it follows. A game stored
// before the level's points were kept still resumes at the level's end.
TEST_F(SuspendedGameTest, AWonLevelResumesAtItsEndWithTheFiguresItShowed) {
    SetScoreForLife(10000);
    SetAceTime(100);
    g_AppParams.keys = 1;
    Start(0, 0);
    game->SetScore(4321);
    game->SetLives(2);
    field->statistics.score = 777;
    field->statistics.time = 1000;
    game->OnKeyDown(plat::VK_F1 + 8);
    g_AppParams.keys = 0;
    ASSERT_EQ(game->GetState(), gsNextLevel);
    const LevelStatistics shown = game->StatisticsDialog().GetStatistics();
    const int32_t shown_score = game->GetScore();
    const int32_t shown_lives = game->GetLives();
    ASSERT_EQ(shown.score, 777);
    ASSERT_GT(shown.time_bonus, 0);
    game->Destroy();
    const std::string stored = Text(Stored());

    auto resume = [&](const std::string& text) {
        ASSERT_TRUE(g_profiles.SetPlayerSuspendedGame(0, Bytes(text)));
        NewScene();
        field->statistics.time = 1000;  // the field's timer comes back as saved; its points do not
        Start(GameStartRequest::kNoEpisode, 0, 1);
        ASSERT_EQ(game->GetLevelNumber(), 0);
        EXPECT_EQ(game->GetState(), gsNextLevel);
        EXPECT_TRUE(game->PanelManager().IsShown(&game->StatisticsDialog()));
        const LevelStatistics again = game->StatisticsDialog().GetStatistics();
        EXPECT_EQ(again.time_bonus, shown.time_bonus);
        EXPECT_EQ(again.time, shown.time);
        EXPECT_EQ(game->GetScore(), shown_score);
        EXPECT_EQ(game->GetLives(), shown_lives);
    };
    resume(stored);
    EXPECT_EQ(game->StatisticsDialog().GetStatistics().score, 777);
    game->SetPendingRequest(prNextLevel);
    game->Update();
    EXPECT_EQ(game->GetLevelNumber(), 1);
    EXPECT_EQ(game->GetState(), gsDefault);

    std::string older = stored;
    const std::string kept = " level_score=\"777\"";
    ASSERT_NE(older.find(kept), std::string::npos);
    older.erase(older.find(kept), kept.size());
    resume(older);
    EXPECT_EQ(game->StatisticsDialog().GetStatistics().score, 0) << "the field's count";
}

// One game, one row in the best scores: raised at each advance, leave and
// game over, also after a resume into its level or into the next episode.
TEST_F(SuspendedGameTest, AGameHasOneEntryInTheBestScoresAcrossResumes) {
    std::string name;
    g_profiles.GetPlayerName(name, 0);
    auto own_rows = [&name] {
        std::vector<ScoreRecord> all;
        g_profiles.GetTopScores(all, 1000000);
        std::vector<int32_t> own;
        for (const ScoreRecord& r : all)
            if (r.name == name) own.push_back(r.score);
        return own;
    };
    const std::vector<int32_t> before = own_rows();
    auto advance = [this](int32_t score) {
        game->SetScore(score);
        game->SetState(gsNextLevel);
        game->SetPendingRequest(prNextLevel);
        game->Update();
    };
    Start(0, 0);
    advance(1111);
    game->SetScore(2222);
    game->SetPendingRequest(prLeave);
    game->Update();
    NewScene();
    Start(GameStartRequest::kNoEpisode, 0, 1);
    advance(3333);  // the episode's end
    g_profiles.SetPlayerState(0, 1);
    NewScene();
    Start(1, 0, 2);
    const int32_t final_score = game->GetScore() + 1000;
    game->SetScore(final_score);
    game->SetPendingRequest(prGameOver);
    game->Update();

    std::vector<int32_t> added = own_rows();
    for (int32_t score : before) added.erase(std::find(added.begin(), added.end(), score));
    EXPECT_EQ(added, std::vector<int32_t> {final_score});
}

TEST_F(SuspendedGameTest, AnUnreadableTextIsRefusedAndChangesNothing) {
    PlayAGame();
    const std::string bad[] = {"", "<Suspended><GameState", "<Other/>", "<Suspended/>"};
    for (const std::string& text : bad) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(game->DeserializeState(Bytes(text)));
        EXPECT_EQ(game->GetLives(), 2);
        EXPECT_EQ(game->GetScore(), 4321);
        EXPECT_EQ(field->Count("Deserialize"), 0);
    }
    GameStateDesc desc;
    ASSERT_TRUE(PARSERS::ParseGameState(Bytes("<Suspended><GameState level=\"4\"/></Suspended>"), desc));
    EXPECT_EQ(desc.level, 4);
    EXPECT_EQ(desc.lives, 0);
    // A resume of a broken stored game, into its level (mode 1) or into the
    // next episode (mode 2), starts the requested game with fresh values.
    ASSERT_TRUE(g_profiles.SetPlayerSuspendedGame(0, Bytes("<Suspended><Game")));
    for (const auto& [mode, episode] : {std::pair {1, 0}, std::pair {2, 1}}) {
        SCOPED_TRACE(mode);
        NewScene();
        Start(mode == 1 ? GameStartRequest::kNoEpisode : episode, 0, mode);
        EXPECT_EQ(game->GetEpisodeNumber(), episode);
        EXPECT_EQ(game->GetLevelNumber(), 0);
        EXPECT_EQ(game->GetLives(), 3);
        EXPECT_EQ(game->GetScore(), 0);
    }
}

// The score and the lives go on growing in play: a saved game's are held to
// their ranges, whether the resume goes into the level (mode 1) or into the
// next episode (mode 2), and adding to them afterwards cannot overflow.
TEST_F(SuspendedGameTest, ASavedScoreAndLivesBeyondTheirRangesAreHeldToThem) {
    const struct {
        const char* score;
        const char* lives;
        int want_score, want_lives;
    } cases[] = {
        {"2147483647", "2147483647", level_limits::kMaxSavedScore, level_limits::kMaxSavedLives},
        {"-5", "-2147483648", 0, 0},
    };
    for (const auto& c : cases) {
        for (const int mode : {1, 2}) {
            SCOPED_TRACE(std::string(c.score) + " in mode " + std::to_string(mode));
            ASSERT_TRUE(g_profiles.SetPlayerSuspendedGame(
                0, Bytes(std::string("<Suspended><GameState episode=\"0\" level=\"1\" score=\"") + c.score +
                         "\" lives=\"" + c.lives + "\"/></Suspended>")));
            NewScene();
            Start(mode == 1 ? GameStartRequest::kNoEpisode : 1, 0, mode);
            EXPECT_EQ(game->GetScore(), c.want_score);
            EXPECT_EQ(game->GetLives(), c.want_lives);
            game->AddScore(100000);
            EXPECT_GT(game->GetScore(), c.want_score);
        }
    }
}

TEST_F(SuspendedGameTest, AResumeIntoTheNextEpisodeTakesOnlyScoreAndLives) {
    PlayAGame();
    std::vector<uint8_t> text;
    ASSERT_TRUE(game->SerializeState(text));
    ASSERT_TRUE(g_profiles.SetPlayerSuspendedGame(0, text));
    g_profiles.SetPlayerState(0, 1);
    NewScene();
    Start(1, 0, 2);
    EXPECT_EQ(game->GetEpisodeNumber(), 1);
    EXPECT_EQ(game->GetLevelNumber(), 0);
    EXPECT_EQ(game->GetScore(), 4321);
    EXPECT_EQ(game->GetLives(), 2);
    EXPECT_EQ(g_profiles.GetPlayerState(0), 0);
    EXPECT_EQ(field->Count("Deserialize"), 0);
}

TEST_F(SuspendedGameTest, ASaveWhoseBoardFailsNeverReplacesTheStoredGame) {
    PlayAGame();
    std::vector<uint8_t> good;
    ASSERT_TRUE(game->SerializeState(good));
    ASSERT_TRUE(g_profiles.SetPlayerSuspendedGame(0, good));
    game->SetScore(9999);
    field->serialize_ok = false;
    std::vector<uint8_t> text;
    EXPECT_FALSE(game->SerializeState(text));
    game->SetPendingRequest(prLeave);
    game->Update();
    EXPECT_EQ(Text(Stored()), Text(good));
}

TEST_F(SuspendedGameTest, AResumeWhoseBoardFailsStartsTheLevelAfreshWithTheSavedLivesAndScore) {
    PlayAGame();
    game->Destroy();
    NewScene();
    field->deserialize_ok = false;
    Start(GameStartRequest::kNoEpisode, 0, 1);
    EXPECT_EQ(field->Count("Deserialize"), 1);
    EXPECT_EQ(field->Count("RestartLevel"), 1);
    EXPECT_EQ(field->loaded.back(), "Levels\\Episode_0\\Level_1.xml");
    EXPECT_EQ(game->GetScore(), 4321);
    EXPECT_EQ(game->GetLives(), 2);
    EXPECT_TRUE(game->IsGameRunning());
}

// Two levels in episode 0, one in episode 1: anything else is refused,
// whether the command line or a stored game names it, and the stored game stays.
TEST_F(SuspendedGameTest, ALevelThatDoesNotExistIsNeverStartedNorStored) {
    PlayAGame();
    std::vector<uint8_t> stored;
    ASSERT_TRUE(game->SerializeState(stored));
    const std::string good = Text(stored);
    auto at = [&good](const std::string& episode, const std::string& level) {
        std::string text = good;
        text.replace(text.find("episode=\"0\""), 11, "episode=\"" + episode + "\"");
        text.replace(text.find("level=\"1\""), 9, "level=\"" + level + "\"");
        return text;
    };
    const struct {
        std::string saved;  // empty: a start from the command line
        int episode, level;
    } cases[] = {
        {at("9", "1"), GameStartRequest::kNoEpisode, 0},
        {at("0", "7"), GameStartRequest::kNoEpisode, 0},
        {at("-1", "0"), GameStartRequest::kNoEpisode, 0},
        {"", 0, 2},
        {"", 5, 0},
        {"", 1, 1},
        {"", 1, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.saved + " " + std::to_string(c.episode) + " " + std::to_string(c.level));
        const std::string kept = c.saved.empty() ? good : c.saved;
        ASSERT_TRUE(g_profiles.SetPlayerSuspendedGame(0, Bytes(kept)));
        NewScene();
        testing::internal::CaptureStderr();
        Start(c.episode, c.level, c.saved.empty() ? 0 : 1);
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_NE(said.find("Error: there is no level"), std::string::npos) << said;
        EXPECT_NE(NewLog().find("Error: there is no level"), std::string::npos);
        EXPECT_TRUE(field->loaded.empty());
        EXPECT_FALSE(game->IsGameRunning());
        game->Update();
        EXPECT_EQ(field->Count("Update"), 0) << "no frame of a level that never started";
        EXPECT_FALSE(game->IsActive());
        EXPECT_EQ(game->GetRequest(), AScene::kRequestSwitch);
        EXPECT_EQ(game->GetNextScene(), "Menu");
        EXPECT_EQ(g_GameStartRequest.episode, GameStartRequest::kNoEpisode);
        game->Destroy();
        EXPECT_EQ(Text(Stored()), kept);
    }
}

}  // namespace
}  // namespace game_test
