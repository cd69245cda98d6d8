#include <gtest/gtest.h>

#include "profiles/profiles.h"
#include "profiles/statement.h"
#include "profile_fixture.h"

namespace {

class ProfilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        bool created = false;
        store.Open(created);
        EXPECT_TRUE(created);
    }
    ProfileFixture fixture;
    CProfiles store;
};

TEST_F(ProfilesTest, LevelTablesFollowTheDescription) {
    std::string name;
    EXPECT_EQ(store.GetLevelCount(), 3u);
    EXPECT_EQ(store.GetLevelTableName(name, 1), "episodeData");
    EXPECT_EQ(store.GetLevelKeyName(name, 0), "playerID");
    EXPECT_THROW(store.GetLevelName(name, 3), std::exception);
    EXPECT_EQ(CProfiles::CreateLevelTable("t", {{"id", "integer"}, {"v", "text"}}), "create table t(id integer, v text)");
    EXPECT_EQ(store.BuildWhereClause({7, 2}), " where id=2 and playerID=7 ");

    // An existing database is opened as it is.
    CProfiles again;
    bool created = true;
    again.Open(created);
    EXPECT_FALSE(created);
}

TEST_F(ProfilesTest, SetInsertsThenUpdatesAndSelectReadsTypedValues) {
    Tuple row;
    ASSERT_TRUE(store.Select(1, {7, 2}, row));
    EXPECT_TRUE(row.empty());

    ASSERT_TRUE(store.Set(1, {7, 2}, {TupleEntry::Int("available", 1)}));
    ASSERT_TRUE(store.Set(1, {7, 2}, {TupleEntry::Int("available", 3)}));
    ASSERT_TRUE(store.Select(1, {7, 2}, row));
    ASSERT_EQ(row.size(), 3u);
    EXPECT_EQ(row[0].name, "id");
    EXPECT_EQ(row[0].value.i, 2);
    EXPECT_EQ(row[1].name, "playerID");
    EXPECT_EQ(row[1].value.i, 7);
    EXPECT_EQ(row[FindField(row, "available")].value.i, 3);
    EXPECT_EQ(FindField(row, "nope"), -1);

    db::statement st;
    store.Query("select count(*) as n from episodeData", st);
    EXPECT_EQ(st.get_int("n"), 1);

    // Floats are stored from their "%f" text.
    ASSERT_TRUE(store.Set(0, {4}, {TupleEntry::Text("name", "it's"), TupleEntry::Float("level_data", 2.5f)}));
    ASSERT_TRUE(store.Select(0, {4}, row));
    EXPECT_EQ(row[FindField(row, "name")].value.text, "it's");
    EXPECT_EQ(row[FindField(row, "level_data")].value.text, "2.500000");
}

TEST_F(ProfilesTest, NewIdAndTheChecksOfCoordinatesAndTuples) {
    EXPECT_EQ(store.NewId("levelData"), 0);
    for (int id : {0, 5, 2}) ASSERT_TRUE(store.Set(2, {1, 1, id}, {TupleEntry::Int("time", 10)}));
    EXPECT_EQ(store.NewId("levelData"), 6);
    ASSERT_TRUE(store.Insert(2, {1, 1, 99}, {TupleEntry::Int("time", 20)}));  // the last coordinate is not used
    Tuple row;
    ASSERT_TRUE(store.Select(2, {1, 1, 6}, row));
    EXPECT_EQ(row[FindField(row, "time")].value.i, 20);

    EXPECT_FALSE(store.Set(3, {1, 1, 1, 1}, {TupleEntry::Int("time", 1)}));
    EXPECT_FALSE(store.Set(2, {1, 1}, {TupleEntry::Int("time", 1)}));
    EXPECT_FALSE(store.Set(2, {1, 1, 1}, {}));
    EXPECT_FALSE(store.Insert(1, {1, 1}, {}));
    EXPECT_FALSE(store.Select(2, {1}, row));
    EXPECT_FALSE(store.Set(1, {1, 1}, {TupleEntry::Int("no_such_column", 1)}));
    TupleEntry bad = TupleEntry::Int("time", 1);
    bad.type = 9;
    EXPECT_THROW(store.InsertInto("levelData", {bad}), std::exception);
}

TEST_F(ProfilesTest, WritesOnAClosedConnectionFail) {
    store.Database().close();
    EXPECT_FALSE(store.Set(1, {7, 2}, {TupleEntry::Int("available", 1)}));
    EXPECT_FALSE(store.Insert(0, {0}, {TupleEntry::Text("name", "x")}));
    EXPECT_FALSE(store.InsertInto("episodeData", {TupleEntry::Int("id", 1)}));
}

TEST_F(ProfilesTest, NullColumnFailsTheSelect) {
    store.Execute("insert into playerData (id) values (1)");
    Tuple row;
    EXPECT_FALSE(store.Select(0, {1}, row));
    EXPECT_EQ(row.size(), 1u);  // the entries read before the NULL
}

}  // namespace

namespace {

// The database lies in the user folder by its full path: with that folder
// gone, opening fails and no database appears in the current folder.
TEST(ProfilesFolder, AVanishedUserFolderGetsNoDatabaseAnywhere) {
    ProfileFixture fixture;
    std::filesystem::remove_all(fixture.User());
    CProfiles store;
    bool created = false;
    EXPECT_THROW(store.Open(created), std::exception);
    EXPECT_FALSE(std::filesystem::exists(fixture.Data() / "profile.db"));
    EXPECT_FALSE(std::filesystem::exists(fixture.User()));
}

}  // namespace
