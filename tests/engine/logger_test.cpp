#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "engine/log_repeat_limit.h"
#include "engine/logger.h"
#include "engine/user_folder.h"
#include "platform/system.h"
#include "test_user_folder.h"

namespace fs = std::filesystem;

namespace {

// The logger is one per process, so every test in this binary logs into one
// temporary user folder prepared once.
class LoggerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        UseTestUserFolder();
        CLogger::Instance();
    }
    static std::string ReadLog() {
        std::ifstream in(UserFolderPath("all") + "log.html");
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
};

TEST_F(LoggerTest, RowsCarryLevelColourAndFullText) {
    CLogger::Instance().Log(7, "seven %d", 7);
    CLogger::Instance().Log(2, "Error: %s", "bad");
    std::string big(5000, 'x');
    CLogger::Instance().Log(0, "%s", big.c_str());
    std::string log = ReadLog();
    EXPECT_NE(log.find("<Title>Log File</Title><Html> <Body BgColor = Cornsilk>"), std::string::npos);
    EXPECT_NE(log.find("Color = GREEN Face = Verdana>seven 7</Font>"), std::string::npos);
    EXPECT_NE(log.find("Color = RED Face = Verdana>Error: bad</Font>"), std::string::npos);
    EXPECT_NE(log.find(big + "</Font>"), std::string::npos) << "long messages are written whole";
}

TEST_F(LoggerTest, BoldKeepsPercentAndSeparatorIsFullWidthRule) {
    CLogger::Instance().LogBold(1, "%s", "100% done");
    CLogger::Instance().LogSeparator();
    std::string log = ReadLog();
    EXPECT_NE(log.find("<B>100% done</B>"), std::string::npos);
    EXPECT_NE(log.find("<hr width=100% noshade size='1px'>"), std::string::npos);
}

// Messages are text, not markup: a logged XML fragment reads as written, bold
// rows stay bold, and a second copy's row is added without emptying the log.
TEST_F(LoggerTest, MessageTextIsEscapedAndMarkupIsTheLoggersOwn) {
    CLogger::Instance().Log(2, "Error: bad node %s", "<Sample alias=\"a&b\"/>");
    CLogger::Instance().LogBold(1, "%s", "<i>x</i>");
    const size_t before = ReadLog().size();
    CLogger::AppendToExistingLog(2, "Error: <second> copy");
    const std::string log = ReadLog();
    EXPECT_NE(log.find("Error: bad node &lt;Sample alias=&quot;a&amp;b&quot;/&gt;</Font>"), std::string::npos) << log;
    EXPECT_EQ(log.find("<Sample"), std::string::npos);
    EXPECT_NE(log.find("<B>&lt;i&gt;x&lt;/i&gt;</B>"), std::string::npos);
    EXPECT_GT(log.size(), before) << "appended, not started afresh";
    EXPECT_NE(log.find("Color = RED Face = Verdana>Error: &lt;second&gt; copy</Font>", before - 1), std::string::npos);
}

TEST_F(LoggerTest, FailedChecksLogExpressionFileAndLine) {
    int line = __LINE__ + 1;
    bool ok = ASSERT(1 + 1 == 3);
    EXPECT_FALSE(ok);
    std::string expected = "Assert failed: '1 + 1 == 3', File=" + std::string(__FILE__) + ", Line=" + std::to_string(line);
    EXPECT_NE(ReadLog().find(expected), std::string::npos);
    EXPECT_THROW(ThrowAssertionFailed(), std::runtime_error);
}

// Under a repeat limit a message logged again and again from one place is
// written three times, then once with the count when the limit ends; other
// messages, and the same one after the limit, are written as ever.
TEST_F(LoggerTest, ARepeatLimitWritesARepeatedMessageAFewTimesThenItsCount) {
    const size_t start = ReadLog().size();
    {
        const CLogRepeatLimit limit;
        for (int i = 0; i < 10; ++i) CLogger::Instance().Log(2, "Error: repeated %d", i);
        CLogger::Instance().Log(2, "Error: %s", "another");
        EXPECT_EQ(ReadLog().find("more like it", start), std::string::npos) << "the count comes at the end";
    }
    CLogger::Instance().Log(2, "Error: repeated %d", 10);
    CLogger::Instance().Log(2, "Error: repeated %d", 11);
    const std::string log = ReadLog().substr(start);
    for (const char* written : {"repeated 0</Font>", "repeated 1</Font>", "repeated 2</Font>", "another</Font>",
                                "repeated 0 (and 7 more like it, not written one by one)</Font>",
                                "repeated 10</Font>", "repeated 11</Font>"})
        EXPECT_NE(log.find(written), std::string::npos) << written;
    for (const char* held_back : {"repeated 3", "repeated 9"}) EXPECT_EQ(log.find(held_back), std::string::npos);
}

// A user folder removed while the program runs takes the log with it: the
// rows are lost (said once on standard error), never written into the current
// folder, and the folder is not made again.
TEST_F(LoggerTest, AVanishedUserFolderGetsNoLogAndTheCurrentFolderNone) {
    const fs::path root = fs::temp_directory_path() / ("vovaro_lost_log_" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "cwd");
    PrepareUserFolderAt((root / "user").string());
    const std::string user = UserFolderPath("all");
    const std::string saved_cwd = plat::GetCurrentDir();
    plat::SetCurrentDir((root / "cwd").string());
    fs::remove_all(root / "user");

    testing::internal::CaptureStderr();
    CLogger::Instance().Log(2, "Error: %s", "lost");
    CLogger::AppendToExistingLog(2, "Error: lost too");
    CLogger::Instance().LogSeparator();
    const std::string err = testing::internal::GetCapturedStderr();

    plat::SetCurrentDir(saved_cwd);
    EXPECT_TRUE(fs::is_empty(root / "cwd"));
    EXPECT_FALSE(fs::exists(user));
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_NE(err.find("log.html' cannot be written; its messages are lost."), std::string::npos) << err;
    fs::remove_all(root);
    UseTestUserFolder();
}

// A log on a full disk (here /dev/full) is said to be lost on standard error,
// not taken as written. In a process of its own, since it is said once a run.
TEST_F(LoggerTest, ALogThatNoLongerFitsOnTheDiskIsSaidToBeLost) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const fs::path log = fs::path(UserFolderPath("all")) / CLogger::FileName();
            fs::remove(log);
            fs::create_symlink("/dev/full", log);
            CLogger::Instance().Log(2, "Error: %s", "no room");
            CLogger::Instance().Log(2, "Error: %s", "no room either");
            std::exit(0);
        },
        testing::ExitedWithCode(0), "Warning: the log '.*log.html' cannot be written; its messages are lost.");
}

TEST_F(LoggerTest, SystemReportRowsInOrder) {
    const size_t start = ReadLog().size();
    LogSystemInfo();
    const std::string log = ReadLog().substr(start);
    const plat::SystemReport sys = plat::QuerySystem();
    std::vector<std::string> rows = {"<hr width=100% noshade size='1px'>", "Color = BLUE Face = Verdana><B>Operating System</B>",
                                     "Color = BLUE Face = Verdana>" + sys.os_name + "</Font>",
                                     "Color = BLACK Face = Verdana> </Font>", "<B>CPU info</B>"};
    // The vendor text, one blank, then " Approx <clock>Mhz".
    if (sys.has_tsc) rows.push_back("Color = BLUE Face = Verdana>" + sys.cpu_vendor + "  Approx ");
    for (const char* row : {"Color = BLUE Face = Verdana> </Font>", "<B>Memory status</B>",
                            "Color = BLUE Face = Verdana>Physical Memory (free/total): ",
                            "Color = BLUE Face = Verdana>Page File (free/total): ", "Color = BLUE Face = Verdana> </Font>"})
        rows.push_back(row);
    size_t pos = 0;
    for (const std::string& row : rows) {
        size_t at = log.find(row, pos);
        ASSERT_NE(at, std::string::npos) << row;
        pos = at + row.size();
    }
}

}  // namespace
