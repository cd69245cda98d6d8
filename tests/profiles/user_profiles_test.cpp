#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/logger.h"
#include "engine/xml_file.h"
#include "profiles/database.h"
#include "profiles/sqlite_exception.h"
#include "profiles/statement.h"
#include "profiles/user_profiles.h"
#include "profile_fixture.h"

namespace {

std::vector<std::string> Names(const std::vector<PlayerRecord>& list) {
    std::vector<std::string> names;
    for (const auto& p : list) names.push_back(p.name);
    return names;
}

std::vector<uint8_t> Bytes(const std::string& text, bool with_zero = true) {
    std::vector<uint8_t> b(text.begin(), text.end());
    if (with_zero) b.push_back(0);
    return b;
}

int CountTables(const std::filesystem::path& db_path) {
    db::database db;
    db.open(db_path.string());
    db::statement st;
    db.query("select count(*) as n from sqlite_master where type='table'", st);
    return st.get_int("n");
}

class UserProfilesTest : public ::testing::Test {
protected:
    void SetUp() override { store.OpenProfiles(); }
    ProfileFixture fixture;
    CUserProfiles store;
};

TEST_F(UserProfilesTest, NewDatabaseIsSeededWithDeletedOwnersScoresTimesAndEpisodeZero) {
    EXPECT_EQ(store.GetPlayerCount(), 0u);
    EXPECT_FALSE(store.HasActivePlayer());
    EXPECT_EQ(Names(store.DeletedPlayers()),
              (std::vector<std::string>{"KORV", "Ann", "Bo", "Mirelle", "Tobbe", "Ulrika"}));

    std::vector<ScoreRecord> scores;
    store.GetTopScores(scores, 100);
    ASSERT_EQ(scores.size(), 5u);
    const int expected[] = {10000, 7000, 5000, 3000, 1000};
    for (size_t i = 0; i < scores.size(); ++i) {
        EXPECT_EQ(scores[i].name, "KORV");
        EXPECT_EQ(scores[i].score, expected[i]);
    }

    for (const PlayerRecord& p : store.DeletedPlayers()) {
        int32_t available = -1;
        ASSERT_TRUE(store.GetEpisodeField(p.id, 0, "available", available));
        EXPECT_EQ(available, 1) << p.name;
    }

    // The imported default times compete for the best time of each level.
    int32_t id = -1, time = 0;
    std::string name;
    ASSERT_TRUE(store.GetBestLevelTime(0, 0, id));
    EXPECT_EQ(store.GetPlayerNameById(name, id), "Ann");
    ASSERT_TRUE(store.GetLevelTime(id, 0, 0, time));
    EXPECT_EQ(time, 1000);
    ASSERT_TRUE(store.GetBestLevelTime(0, 1, id));
    EXPECT_TRUE(store.GetLevelTime(id, 0, 1, time));
    EXPECT_EQ(time, 3000);
    EXPECT_FALSE(store.GetBestLevelTime(3, 0, id));

    EXPECT_EQ(CountTables(fixture.DbPath()), 5);

    // An existing database is opened as it is, not seeded again.
    CUserProfiles again;
    again.OpenProfiles();
    EXPECT_EQ(again.DeletedPlayers().size(), 6u);
    again.GetTopScores(scores, 100);
    EXPECT_EQ(scores.size(), 5u);
}

TEST(UserProfilesSeeding, FailedSeedingLeavesNoTablesAndNextRunSeedsAgain) {
    // Ann's second time for the same level is not better, so storing it fails.
    ProfileFixture fixture(
        "<Hiscores><Episode><Level><User name=\"Ann\" time=\"1000\"/><User name=\"Ann\" time=\"5000\"/></Level>"
        "</Episode></Hiscores>");
    {
        CUserProfiles store;
        EXPECT_THROW(store.OpenProfiles(), std::exception);
        EXPECT_EQ(store.GetPlayerCount(), 0u);
    }
    EXPECT_EQ(CountTables(fixture.DbPath()), 0);

    // A hiscore file that does not parse fails the same way.
    fixture.WriteHiscores("<Hiscores><Episode>");
    {
        CUserProfiles store;
        EXPECT_THROW(store.OpenProfiles(), std::exception);
    }
    EXPECT_EQ(CountTables(fixture.DbPath()), 0);

    fixture.WriteHiscores(ProfileFixture::kSmallHiscores);
    CUserProfiles store;
    store.OpenProfiles();
    EXPECT_EQ(CountTables(fixture.DbPath()), 5);
    EXPECT_EQ(store.DeletedPlayers().size(), 6u);
}

// The damaged files set aside beside the database, oldest name first.
std::vector<std::filesystem::path> DamagedFiles(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> found;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        if (e.path().filename().string().rfind("profile.db.damaged-", 0) == 0) found.push_back(e.path());
    std::sort(found.begin(), found.end());
    return found;
}

// A file that is no database, and a database whose pages are overwritten: each
// is kept aside under its own name and a new database is seeded.
TEST(UserProfilesOpen, ADamagedDatabaseIsSetAsideAndANewOneSeeded) {
    ProfileFixture fixture;
    const std::string garbage(4096, 'G');
    TempFolder::Write(fixture.DbPath(), garbage);
    {
        CUserProfiles store;
        store.OpenProfiles();
        EXPECT_EQ(store.DeletedPlayers().size(), 6u) << "seeded";
        EXPECT_TRUE(store.AddPlayer("X"));
    }
    auto damaged = DamagedFiles(fixture.User());
    ASSERT_EQ(damaged.size(), 1u);
    EXPECT_EQ(TempFolder::Read(damaged[0]), garbage);
    const std::string log = TempFolder::Read(fixture.User() / "log.html");
    EXPECT_NE(log.find("Error: profile database 'profile.db' is damaged (file is not a database); kept as '" +
                       damaged[0].filename().string() + "', a new one is made."),
              std::string::npos)
        << log;

    // Every page after the first overwritten: SQLite reads the schema, then finds
    // the tables malformed.
    std::string bytes = TempFolder::Read(fixture.DbPath());
    ASSERT_GT(bytes.size(), 8192u);
    std::fill(bytes.begin() + 4096, bytes.end(), '\x5A');
    TempFolder::Write(fixture.DbPath(), bytes);
    CUserProfiles store;
    store.OpenProfiles();
    EXPECT_EQ(store.GetPlayerCount(), 0u) << "a new database";
    EXPECT_EQ(store.DeletedPlayers().size(), 6u);
    EXPECT_EQ(DamagedFiles(fixture.User()).size(), 2u);
}

// One byte of a table's root page changed (its page type): the kind of
// damage SQLite only finds when the table is read.
void ChangeRootPageByte(const std::filesystem::path& path, const char* table) {
    int page_size = 0, root = 0;
    {
        db::database db;
        db.open(path.string());
        db::statement st;
        db.query("pragma page_size", st);
        page_size = st.get_int(0);
        db.query(std::string("select rootpage from sqlite_master where name='") + table + "'", st);
        root = st.get_int("rootpage");
    }
    ASSERT_GT(root, 1);
    std::string bytes = TempFolder::Read(path);
    const size_t at = static_cast<size_t>(root - 1) * static_cast<size_t>(page_size);
    ASSERT_LT(at, bytes.size());
    bytes[at] = '\x07';
    TempFolder::Write(path, bytes);
}

// A database that SQLite opens but the store cannot use is kept aside at the
// start and a new one seeded, so that nothing read later fails; a sound one
// is taken as it is.
TEST(UserProfilesOpen, AnIncompleteOrInconsistentDatabaseIsSetAside) {
    struct Case {
        const char* damage;  // a statement, "page:<table>" for one changed byte, or
                             // "format" for a schema format SQLite does not read
        const char* reason;  // null: the database is sound
    };
    const Case cases[] = {
        {"select 1", nullptr},
        {"page:hintsData", "integrity check: "},
        {"format", "integrity check: unsupported file format"},
        {"drop table hintsData", "table 'hintsData' is missing"},
        {"drop table levelData", "table 'levelData' is missing"},
        {"drop table playerData", "table 'playerData' is missing"},
        {"alter table playerData rename column state to status", "column 'state' of table 'playerData' is missing"},
        {"insert into playerData (id, name, deleted) values (NULL, 'Nil', 0)", "a row of table 'playerData' has no id"},
        {"insert into playerData (id, name, deleted) values (0, 'Twin', 0)", "rows of table 'playerData' share an id"},
        // Values the store never writes: each would be read as something else.
        {"update levelData set time='61000'", nullptr},  // the column's affinity makes it an integer
        {"update playerData set name='42'", nullptr},
        {"update playerData set id='id10' where deleted=0",
         "column 'id' of table 'playerData' holds a text value where an integer belongs"},
        {"update playerData set deleted='no'",
         "column 'deleted' of table 'playerData' holds a text value where an integer belongs"},
        {"update playerData set suspended='yes' where deleted=0",
         "column 'suspended' of table 'playerData' holds a text value where an integer belongs"},
        {"update playerData set game_won=NULL where deleted=0",
         "column 'game_won' of table 'playerData' holds a null value where an integer belongs"},
        {"update playerData set level_data=x'00' where deleted=0",
         "column 'level_data' of table 'playerData' holds a blob value where a text belongs"},
        {"update episodeData set available=0.5", "column 'available' of table 'episodeData' holds a real value"},
        {"update levelData set time='soon'", "column 'time' of table 'levelData' holds a text value"},
        {"update hiscoresData set score='lots'", "column 'score' of table 'hiscoresData' holds a text value"},
        {"update hintsData set shown=NULL", "column 'shown' of table 'hintsData' holds a null value"},
        // Read through 32 bits, 2^32 would be KORV's id 0.
        {"update playerData set id=4294967296 where deleted=0",
         "column 'id' of table 'playerData' holds an integer beyond 32 bits"},
        {"update hintsData set playerID=-2147483649", "column 'playerID' of table 'hintsData' holds an integer beyond"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.damage);
        ProfileFixture fixture;
        {
            CUserProfiles store;
            store.OpenProfiles();
            ASSERT_TRUE(store.AddPlayer("Ann"));
            ASSERT_TRUE(store.SetHintShown(0, 3, true));
        }
        const std::string damage = c.damage;
        if (damage.rfind("page:", 0) == 0) {
            ChangeRootPageByte(fixture.DbPath(), damage.substr(5).c_str());
        } else if (damage == "format") {
            // The header's schema format number (big-endian at byte 44): 5,
            // one past the newest SQLite knows.
            std::string bytes = TempFolder::Read(fixture.DbPath());
            bytes.replace(44, 4, std::string("\0\0\0\x05", 4));
            TempFolder::Write(fixture.DbPath(), bytes);
        } else {
            db::database db;
            db.open(fixture.DbPath().string());
            db.execute(damage);
        }
        const std::string damaged_bytes = TempFolder::Read(fixture.DbPath());

        CUserProfiles store;
        ASSERT_NO_THROW(store.OpenProfiles());
        const auto kept = DamagedFiles(fixture.User());
        if (!c.reason) {
            EXPECT_TRUE(kept.empty());
            ASSERT_EQ(store.GetPlayerCount(), 1u);
            EXPECT_TRUE(store.GetHintShown(0, 3));
            continue;
        }
        ASSERT_EQ(kept.size(), 1u);
        EXPECT_EQ(TempFolder::Read(kept[0]), damaged_bytes);
        const std::string log = TempFolder::Read(fixture.User() / "log.html");
        EXPECT_NE(log.find("Error: profile database 'profile.db' is damaged (" + CLogger::EscapeHtml(c.reason)),
                  std::string::npos)
            << log;
        // A new database, and every read of the store works on it.
        EXPECT_EQ(store.GetPlayerCount(), 0u);
        EXPECT_EQ(store.DeletedPlayers().size(), 6u);
        ASSERT_TRUE(store.AddPlayer("Bo"));
        EXPECT_NO_THROW({
            EXPECT_FALSE(store.GetHintShown(0, 3));
            EXPECT_FALSE(store.IsGameWon(0));
            EXPECT_EQ(store.GetPlayerState(0), 0);
            std::vector<uint8_t> saved;
            EXPECT_FALSE(store.GetPlayerSuspendedGame(0, saved));
            int32_t time = -1;
            EXPECT_TRUE(store.GetPlayerLevelTime(0, 0, 0, time));
        });
    }
}

// Ids at the top of the 32-bit range, as a hand-edited file may hold them:
// every run adds a player with an id of its own, and the file stays sound.
TEST(UserProfilesOpen, NewIdsAtTheTopOfTheRangeNeitherWrapNorRepeat) {
    ProfileFixture fixture;
    {
        CUserProfiles store;
        store.OpenProfiles();
        ASSERT_TRUE(store.AddPlayer("Top"));
        ASSERT_TRUE(store.AddHiscore(0, 10));
    }
    {
        db::database db;
        db.open(fixture.DbPath().string());
        for (const char* table : {"episodeData", "hiscoresData"})
            db.execute(std::string("update ") + table + " set playerID=2147483647 where playerID=6");
        db.execute("update playerData set id=2147483647 where name='Top'");
        db.execute("update hiscoresData set id=2147483647 where playerID=2147483647");
        // Progress left under id 6, which no player holds now: not for a new player.
        db.execute("insert into levelData (id, playerID, episodeID, time) values (0, 6, 0, 500)");
    }
    std::vector<int32_t> ids{2147483647};
    for (const char* name : {"One", "Two", "Three"}) {
        SCOPED_TRACE(name);
        CUserProfiles store;
        store.OpenProfiles();
        ASSERT_TRUE(store.AddPlayer(name));
        ids.push_back(store.Players().back().id);
        EXPECT_EQ(store.Players().back().name, name);
        int32_t time = -1;
        ASSERT_TRUE(store.GetPlayerLevelTime(store.GetActivePlayer(), 0, 0, time));
        EXPECT_EQ(time, 0) << "no progress taken over";
        ASSERT_TRUE(store.AddHiscore(store.GetActivePlayer(), 20));
    }
    EXPECT_EQ(ids, (std::vector<int32_t>{2147483647, 7, 8, 9}));
    EXPECT_TRUE(DamagedFiles(fixture.User()).empty());

    CUserProfiles store;
    store.OpenProfiles();
    EXPECT_EQ(Names(store.Players()), (std::vector<std::string>{"Top", "One", "Two", "Three"}));
    db::statement st;
    store.Query("select count(*) as n, count(distinct id) as ids, min(id) >= 0 as positive from hiscoresData", st);
    EXPECT_EQ(st.get_int("n"), 9);
    EXPECT_EQ(st.get_int("ids"), 9);
    EXPECT_EQ(st.get_int("positive"), 1);
    EXPECT_TRUE(DamagedFiles(fixture.User()).empty());
}

// A zero-length file (a save cut short by a full disk) becomes a new database,
// and the log says so.
TEST(UserProfilesOpen, AnEmptyFileIsReplacedAndLogged) {
    ProfileFixture fixture;
    TempFolder::Write(fixture.DbPath(), "");
    CUserProfiles store;
    store.OpenProfiles();
    EXPECT_EQ(store.DeletedPlayers().size(), 6u) << "seeded";
    const std::string log = TempFolder::Read(fixture.User() / "log.html");
    EXPECT_NE(log.find("Error: profile database 'profile.db' is empty (0 bytes); a new one is made in its place."),
              std::string::npos)
        << log;
}

TEST(UserProfilesOpen, AFolderInTheDatabasesPlaceIsAClearError) {
    ProfileFixture fixture;
    std::filesystem::create_directory(fixture.DbPath());
    CUserProfiles other;
    EXPECT_THROW(other.OpenProfiles(), std::runtime_error);
}

// An add whose insert fails and whose reload of the players fails as well
// answers false; the database error stays inside, the lists as they were.
TEST_F(UserProfilesTest, AFailedAddAnswersFalseAndThrowsNothing) {
    ASSERT_TRUE(store.AddPlayer("Kept"));
    store.Database().execute("drop table playerData");
    bool added = true;
    EXPECT_NO_THROW(added = store.AddPlayer("Lost"));
    EXPECT_FALSE(added);
    EXPECT_EQ(Names(store.Players()), std::vector<std::string> {"Kept"});
    EXPECT_EQ(store.GetActivePlayer(), 0u);
}

TEST_F(UserProfilesTest, AddingNamesHeldByActiveOrDeletedPlayers) {
    ASSERT_TRUE(store.AddPlayer("Zed"));
    ASSERT_TRUE(store.AddPlayer("Ann"));  // held only by a deleted player
    EXPECT_EQ(store.GetPlayerCount(), 2u);
    EXPECT_EQ(store.GetActivePlayer(), 1u);
    const int32_t new_ann = store.Players()[1].id;
    EXPECT_NE(new_ann, store.DeletedPlayers()[1].id);
    int32_t available = 0;
    ASSERT_TRUE(store.GetEpisodeAvailability(1, 0, available));
    EXPECT_EQ(available, 1);
    // The new Ann starts without the deleted Ann's times.
    int32_t time = -1;
    ASSERT_TRUE(store.GetPlayerLevelTime(1, 0, 0, time));
    EXPECT_EQ(time, 0);

    store.SetActivePlayer(0);
    EXPECT_FALSE(store.AddPlayer("Ann"));
    EXPECT_EQ(store.GetPlayerCount(), 2u);
    EXPECT_EQ(store.GetActivePlayer(), 0u);
    EXPECT_EQ(store.GetPlayerIndexByName("Ann"), 1);
    EXPECT_EQ(store.GetPlayerIndexByName("Nobody"), -1);
}

TEST_F(UserProfilesTest, DeletingBelowAndAtTheActivePlayer) {
    for (const char* n : {"A", "B", "C", "D"}) ASSERT_TRUE(store.AddPlayer(n));
    ASSERT_EQ(store.GetActivePlayer(), 3u);
    std::string name;

    ASSERT_TRUE(store.DeletePlayer(1));  // below the active one: D stays active
    EXPECT_EQ(store.GetActivePlayer(), 2u);
    EXPECT_EQ(store.GetPlayerName(name, store.GetActivePlayer()), "D");

    ASSERT_TRUE(store.DeletePlayer(2));  // the active one: index 0 takes over
    EXPECT_EQ(store.GetActivePlayer(), 0u);
    EXPECT_EQ(Names(store.Players()), (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(store.DeletedPlayers().back().name, "D");

    EXPECT_FALSE(store.DeletePlayer(5));
    EXPECT_EQ(store.GetPlayerName(name, 5), "");
    EXPECT_EQ(store.GetPlayerState(5), -1);

    ASSERT_TRUE(store.RenamePlayer(1, "Cecilia"));
    EXPECT_EQ(store.GetPlayerName(name, 1), "Cecilia");
}

TEST_F(UserProfilesTest, LevelTimeKeepsOnlyLowerTimes) {
    ASSERT_TRUE(store.AddPlayer("P"));
    struct Step {
        int32_t time;
        bool stored;
        int32_t after;
    };
    const Step steps[] = {{5000, true, 5000}, {5000, false, 5000}, {7000, false, 5000}, {4999, true, 4999}};
    for (const Step& s : steps) {
        EXPECT_EQ(store.SetLevelTime(0, 2, 3, s.time), s.stored) << s.time;
        int32_t time = 0;
        ASSERT_TRUE(store.GetPlayerLevelTime(0, 2, 3, time));
        EXPECT_EQ(time, s.after);
    }
    int32_t other = -1;
    ASSERT_TRUE(store.GetPlayerLevelTime(0, 2, 4, other));
    EXPECT_EQ(other, 0);
    EXPECT_FALSE(store.SetLevelTime(9, 0, 0, 1));
}

TEST_F(UserProfilesTest, SuspendedGameIsStoredWholeReadBackAndErased) {
    ASSERT_TRUE(store.AddPlayer("O'Neil \"the\" 'quoted'"));
    std::vector<uint8_t> data;
    EXPECT_FALSE(store.GetPlayerSuspendedGame(0, data));

    std::string saved = "<Suspended name='it''s' episode=\"2\">";
    saved += std::string(1 << 20, 'x');  // far beyond any fixed statement buffer
    saved += "</Suspended>";
    ASSERT_TRUE(store.SetPlayerSuspendedGame(0, Bytes(saved)));
    ASSERT_TRUE(store.GetPlayerSuspendedGame(0, data));
    EXPECT_EQ(data, Bytes(saved, false));

    ASSERT_TRUE(store.ErasePlayerSuspendedGame(0));
    EXPECT_FALSE(store.GetPlayerSuspendedGame(0, data));
    {
        // Erasing only clears the flag: the last text stays in the row.
        db::statement st;
        store.Query("select level_data from playerData where id=" + std::to_string(store.Players()[0].id), st);
        ASSERT_FALSE(st.empty());
        EXPECT_EQ(st.get_text("level_data"), saved);
    }

    ASSERT_TRUE(store.SetPlayerSuspendedGame(0, Bytes("short")));
    ASSERT_TRUE(store.SetPlayerState(0, 1));
    ASSERT_TRUE(store.SetGameWon(0, true));

    // Everything survives a new run, the quoted name included.
    CUserProfiles again;
    again.OpenProfiles();
    std::string name;
    EXPECT_EQ(again.GetPlayerName(name, 0), "O'Neil \"the\" 'quoted'");
    ASSERT_TRUE(again.GetPlayerSuspendedGame(0, data));
    EXPECT_EQ(data, Bytes("short", false));
    EXPECT_EQ(again.GetPlayerState(0), 1);
    EXPECT_TRUE(again.IsGameWon(0));
}

TEST_F(UserProfilesTest, TopScoresAreHighestFirstWithinTheLimit) {
    ASSERT_TRUE(store.AddPlayer("Hi"));
    ASSERT_TRUE(store.AddPlayer("Lo"));
    ASSERT_TRUE(store.AddHiscore(0, 8000));
    ASSERT_TRUE(store.AddHiscore(1, 500));
    ASSERT_TRUE(store.AddHiscore(0, 20000));
    EXPECT_FALSE(store.AddHiscore(7, 1));

    std::vector<ScoreRecord> scores;
    store.GetTopScores(scores, 1000);
    ASSERT_EQ(scores.size(), 8u);
    EXPECT_TRUE(std::is_sorted(scores.begin(), scores.end(),
                               [](const ScoreRecord& a, const ScoreRecord& b) { return a.score > b.score; }));
    EXPECT_EQ(scores.front().name, "Hi");
    EXPECT_EQ(scores.front().score, 20000);
    EXPECT_EQ(scores.back().name, "Lo");

    store.GetTopScores(scores, 3);
    ASSERT_EQ(scores.size(), 3u);
    EXPECT_EQ(scores[1].score, 10000);
    EXPECT_EQ(scores[2].score, 8000);
}

// One game keeps one row: made once, raised, never lowered; an entry that is
// gone or another player's gets a row of its own, and other rows stay.
TEST_F(UserProfilesTest, AGamesEntryIsMadeOnceAndOnlyRaised) {
    ASSERT_TRUE(store.AddPlayer("Hi"));
    ASSERT_TRUE(store.AddPlayer("Lo"));
    auto rows = [this](const std::string& name) {
        std::vector<ScoreRecord> scores;
        store.GetTopScores(scores, 1000);
        std::vector<int32_t> own;
        for (const ScoreRecord& r : scores)
            if (r.name == name) own.push_back(r.score);
        return own;
    };
    ASSERT_TRUE(store.AddHiscore(0, 900));  // an earlier game's row

    int32_t entry = -1;
    ASSERT_TRUE(store.RaiseHiscore(0, entry, 1200));
    EXPECT_GE(entry, 0);
    const int32_t first = entry;
    ASSERT_TRUE(store.RaiseHiscore(0, entry, 5000));
    ASSERT_TRUE(store.RaiseHiscore(0, entry, 3000));
    EXPECT_EQ(entry, first);
    EXPECT_EQ(rows("Hi"), (std::vector<int32_t> {5000, 900}));

    // Another player's row is never raised for this one.
    int32_t other = first;
    ASSERT_TRUE(store.RaiseHiscore(1, other, 7000));
    EXPECT_NE(other, first);
    EXPECT_EQ(rows("Lo"), (std::vector<int32_t> {7000}));
    EXPECT_EQ(rows("Hi"), (std::vector<int32_t> {5000, 900}));

    int32_t unknown = 4242;
    ASSERT_TRUE(store.RaiseHiscore(0, unknown, 10));
    EXPECT_NE(unknown, 4242);
    EXPECT_FALSE(store.RaiseHiscore(9, entry, 1));
    EXPECT_EQ(entry, first);

    CUserProfiles again;
    again.OpenProfiles();
    ASSERT_TRUE(again.RaiseHiscore(0, entry, 6000));
    EXPECT_EQ(entry, first);
    EXPECT_EQ(rows("Hi"), (std::vector<int32_t> {6000, 900, 10}));
}

TEST_F(UserProfilesTest, HintsBelongToPlayersAndFollowBothWays) {
    ASSERT_TRUE(store.AddPlayer("First"));
    ASSERT_TRUE(store.AddPlayer("Second"));
    ASSERT_TRUE(store.SetHintShown(0, 5, true));
    ASSERT_TRUE(store.SetHintShown(1, 7, true));
    EXPECT_TRUE(store.GetHintShown(0, 5));  // now cached for the first player
    EXPECT_FALSE(store.GetHintShown(0, 7));
    EXPECT_TRUE(store.GetHintShown(1, 7));

    // Taking a hint back is seen at once, cache or not.
    ASSERT_TRUE(store.SetHintShown(1, 7, false));
    EXPECT_FALSE(store.GetHintShown(1, 7));
    ASSERT_TRUE(store.SetHintShown(1, 7, true));

    // After the first player is deleted, index 0 is the second player, whose hints
    // are its own.
    ASSERT_TRUE(store.DeletePlayer(0));
    EXPECT_FALSE(store.GetHintShown(0, 5));
    EXPECT_TRUE(store.GetHintShown(0, 7));
    EXPECT_FALSE(store.GetHintShown(3, 7));
    EXPECT_FALSE(store.SetHintShown(3, 7, true));

    CUserProfiles again;
    again.OpenProfiles();
    EXPECT_TRUE(again.GetHintShown(0, 7));
    EXPECT_FALSE(again.GetHintShown(0, 5));
}

TEST_F(UserProfilesTest, EpisodeAvailabilityOfAMissingRowIsZero) {
    ASSERT_TRUE(store.AddPlayer("P"));
    int32_t value = -1;
    ASSERT_TRUE(store.GetEpisodeAvailability(0, 3, value));
    EXPECT_EQ(value, 0);
    ASSERT_TRUE(store.UpdateEpisodeAvailability(0, 3, 1));
    ASSERT_TRUE(store.GetEpisodeAvailability(0, 3, value));
    EXPECT_EQ(value, 1);
    EXPECT_FALSE(store.GetEpisodeAvailability(4, 0, value));
}

TEST_F(UserProfilesTest, FailingWritesReportFalse) {
    ASSERT_TRUE(store.AddPlayer("P"));
    // A read-only connection refuses every write.
    store.Database().execute("pragma query_only = 1");
    EXPECT_FALSE(store.SetPlayerState(0, 1));
    EXPECT_FALSE(store.SetHintShown(0, 1, true));
    EXPECT_FALSE(store.AddHiscore(0, 10));
    EXPECT_FALSE(store.SetLevelTime(0, 0, 0, 100));
    EXPECT_FALSE(store.AddPlayer("Q"));
    EXPECT_EQ(store.GetPlayerCount(), 1u);
    EXPECT_EQ(store.GetActivePlayer(), 0u);
    EXPECT_FALSE(store.DeletePlayer(0));
    EXPECT_EQ(store.GetPlayerCount(), 1u);
    store.Database().execute("pragma query_only = 0");
    EXPECT_TRUE(store.SetPlayerState(0, 1));

    const std::string log = TempFolder::Read(fixture.User() / "log.html");
    EXPECT_NE(log.find("Error: executing query. Query: 'update playerData set state=? where id=6 ', error: 'attempt to write a "
                       "readonly database'"),
              std::string::npos);
}

TEST(UserProfilesData, TheShippedDataTreeSeedsEveryEpisode) {
    TempFolder folder;
    std::filesystem::current_path(std::filesystem::path(VOVARO_SOURCE_DIR) / "data");
    CUserProfiles store;
    store.OpenProfiles();
    EXPECT_EQ(store.GetPlayerCount(), 0u);
    for (int e = 0; e < 4; ++e)
        for (int l = 0; l < 6; ++l) {
            int32_t id = -1, time = 0;
            ASSERT_TRUE(store.GetBestLevelTime(e, l, id)) << e << "," << l;
            ASSERT_TRUE(store.GetLevelTime(id, e, l, time));
            EXPECT_GT(time, 0);
        }
}

// A run killed in the middle of a write leaves a database that opens clean.
TEST(UserProfilesCrash, KillingAWriterNeverCorruptsTheDatabase) {
    ProfileFixture fixture;
    {
        CUserProfiles store;
        store.OpenProfiles();
        ASSERT_TRUE(store.AddPlayer("Writer"));
    }
    const std::string filler(200000, 'z');
    for (int round = 0; round < 8; ++round) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // The child writes until it is killed; it never returns into the test runner.
            ::close(ready[0]);
            try {
                CUserProfiles store;
                store.OpenProfiles();
                for (int i = 0;; ++i) {
                    const std::string text = "<Suspended n=\"" + std::to_string(i) + "\">" + filler + "</Suspended>";
                    store.SetPlayerSuspendedGame(0, Bytes(text));
                    store.AddHiscore(0, i);
                    store.AddPlayer("p" + std::to_string(round) + "_" + std::to_string(i));
                    store.SetHintShown(0, i, true);
                    if (i == 2) (void)!::write(ready[1], "r", 1);
                }
            } catch (...) {
            }
            ::_exit(1);
        }
        ::close(ready[1]);
        char c = 0;
        ASSERT_EQ(::read(ready[0], &c, 1), 1);
        ::close(ready[0]);
        ::usleep(static_cast<useconds_t>(3000 + (round % 4) * 7000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));

        db::database db;
        db.open(fixture.DbPath().string());
        db::statement st;
        db.query("pragma integrity_check", st);
        ASSERT_FALSE(st.empty());
        EXPECT_EQ(st.get_text(0), "ok");
        db.close();

        CUserProfiles store;
        store.OpenProfiles();
        std::vector<uint8_t> data;
        ASSERT_TRUE(store.GetPlayerSuspendedGame(0, data));
        const std::string text(data.begin(), data.end());
        EXPECT_EQ(text.rfind("<Suspended n=\"", 0), 0u);
        EXPECT_EQ(text.size() - text.find('>') - 1, filler.size() + std::string("</Suspended>").size());
        // Every player that exists has its first episode: adds were whole.
        for (uint32_t i = 0; i < store.GetPlayerCount(); ++i) {
            int32_t available = 0;
            ASSERT_TRUE(store.GetEpisodeAvailability(i, 0, available));
            EXPECT_EQ(available, 1);
        }
    }
}

}  // namespace

namespace {

TEST(UserProfilesExport, BestTimesAreWrittenInTheHiscoreFormat) {
    ProfileFixture fixture;
    std::filesystem::create_directories(fixture.Data() / "Levels");
    TempFolder::Write(fixture.Data() / "Levels" / "Episodes.xml",
                      "<Episodes><Episode level_count=\"2\"/><Episode level_count=\"1\"/></Episodes>");
    CUserProfiles store;
    store.OpenProfiles();
    ASSERT_TRUE(store.AddPlayer("Fast"));
    ASSERT_TRUE(store.SetLevelTime(0, 0, 1, 500));
    store.ExportHiscores();

    CXMLFile out((fixture.Data() / "Settings" / "Hiscores.xml").string());
    CXMLNodeList users = out.SelectNodes("//Hiscores/Episode/Level/User");
    ASSERT_EQ(users.GetLength(), 3);
    EXPECT_EQ(users.GetItem(0).GetAttribute("name", ""), "Ann");
    EXPECT_EQ(users.GetItem(0).GetAttributeInt("time", 0), 1000);
    EXPECT_EQ(users.GetItem(1).GetAttribute("name", ""), "Fast");
    EXPECT_EQ(users.GetItem(1).GetAttributeInt("time", 0), 500);
    // A level nobody has played gets the default time.
    EXPECT_EQ(users.GetItem(2).GetAttributeInt("time", 0), 600000);
    EXPECT_EQ(out.SelectNodes("//Hiscores/Episode").GetLength(), 2);
}

}  // namespace
