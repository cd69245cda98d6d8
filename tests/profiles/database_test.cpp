#include <gtest/gtest.h>

#include <string>

#include "profiles/database.h"
#include "profiles/sqlite_exception.h"
#include "profiles/statement.h"
#include "temp_folder.h"

namespace {

class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        db.open((folder.User() / "t.db").string());
        db.execute("create table t(id integer, name text, f float, b blob)");
    }
    int Count() {
        db::statement st;
        db.query("select count(*) as n from t", st);
        return st.get_int("n");
    }
    TempFolder folder;
    db::database db;
};

TEST_F(DatabaseTest, TwoStatementsInOneTextThrowCodeOneAndRunNothing) {
    try {
        db.execute("insert into t(id) values (1); insert into t(id) values (2)");
        FAIL() << "no exception";
    } catch (const db::sqlite_exception& e) {
        EXPECT_EQ(e.code(), 1);
        EXPECT_STREQ(e.what(), "Only one statement is supported");
    }
    EXPECT_EQ(Count(), 0);
}

TEST_F(DatabaseTest, RowsAreWalkedByNameAndEmptyResultIsEmptyAtOnce) {
    db::statement st;
    db.query("select * from t", st);
    EXPECT_TRUE(st.empty());

    db.execute("insert into t(id, name, f) values (1, 'a', 1.5)");
    db.execute("insert into t(id) values (2)");
    db.query("select * from t order by id", st);
    ASSERT_FALSE(st.empty());
    EXPECT_EQ(st.column_count(), 4);
    EXPECT_EQ(st.column_name(1), "name");
    EXPECT_EQ(st.get_int("id"), 1);
    EXPECT_EQ(st.get_text("name"), "a");
    EXPECT_FLOAT_EQ(st.get_float("f"), 1.5f);
    EXPECT_EQ(st.column_type(1), 3);
    ASSERT_TRUE(st.step());
    // NULL values read as 0, "" and no bytes.
    EXPECT_EQ(st.column_type(1), 5);
    EXPECT_EQ(st.get_int("name"), 0);
    EXPECT_EQ(st.get_text("name"), "");
    EXPECT_TRUE(st.get_blob("b").empty());
    EXPECT_FALSE(st.step());
    EXPECT_TRUE(st.empty());
    EXPECT_EQ(st.column_name(0), "");  // an empty statement has no columns to name
}

TEST_F(DatabaseTest, UnknownColumnThrowsCode25) {
    db.execute("insert into t(id) values (1)");
    db::statement st;
    db.query("select id from t", st);
    try {
        st.get_int("nope");
        FAIL() << "no exception";
    } catch (const db::sqlite_exception& e) {
        EXPECT_EQ(e.code(), 25);
        EXPECT_STREQ(e.what(), "Invalid column 'nope'");
    }
}

TEST_F(DatabaseTest, BoundTextsKeepQuotesAndAnyLength) {
    const std::string tricky = "O'Brien'); drop table t; --";
    std::string big(3 * 1024 * 1024, 'x');
    big[10] = '\'';
    db.execute("insert into t(id, name) values (?, ?)", {std::int64_t{1}, tricky});
    db.execute("insert into t(id, name, b) values (?, ?, ?)", {std::int64_t{2}, big, db::blob{0, 1, 2}});
    db::statement st;
    db.query("select * from t where name = ?", st, {tricky});
    ASSERT_FALSE(st.empty());
    EXPECT_EQ(st.get_int("id"), 1);
    db.query("select * from t where id = 2", st);
    EXPECT_EQ(st.get_text("name"), big);
    EXPECT_EQ(st.get_blob("b"), (db::blob{0, 1, 2}));
    // Blob read of a text value gives its bytes without a terminator.
    EXPECT_EQ(st.get_blob("name").size(), big.size());
}

TEST_F(DatabaseTest, SqlErrorsCarryLibraryCodeAndMessage) {
    try {
        db.execute("select * from missing");
        FAIL() << "no exception";
    } catch (const db::sqlite_exception& e) {
        EXPECT_EQ(e.code(), 1);
        EXPECT_NE(std::string(e.what()).find("no such table"), std::string::npos);
    }
    EXPECT_TRUE(db.autocommit());
    EXPECT_THROW(db::statement().row_count(), std::runtime_error);
}

TEST(DatabaseOpen, UnopenablePathThrowsAndStaysClosed) {
    TempFolder folder;
    db::database db;
    const std::string path = (folder.User() / "no" / "such" / "dir" / "x.db").string();
    try {
        db.open(path);
        FAIL() << "no exception";
    } catch (const db::sqlite_exception& e) {
        EXPECT_EQ(std::string(e.what()), "Can't open file " + path);
    }
    EXPECT_FALSE(db.is_open());
    EXPECT_EQ(db.errcode(), 0);
    EXPECT_FALSE(db.autocommit());
    db.execute("create table x(a)");  // closed: does nothing
}

}  // namespace
