#include <gtest/gtest.h>

#include "profiles/game_stat_log.h"
#include "temp_folder.h"

namespace {

TEST(GameStatLog, RunNumberFollowsHighestFileAndFileAppearsOnFirstWrite) {
    struct Case {
        std::vector<std::string> existing;
        std::string expected;
    };
    const Case cases[] = {
        {{}, "00000000GS.txt"},
        {{"00000003GS.txt", "00000010GS.txt", "00000099.txt"}, "00000011GS.txt"},
        {{"abcGS.txt"}, "00000001GS.txt"},  // a name without digits counts as 0
    };
    for (const Case& c : cases) {
        TempFolder folder;
        for (const auto& name : c.existing) TempFolder::Write(folder.User() / name, "old\n");
        CGameStatLog log;
        EXPECT_EQ(log.FileName(), c.expected);
        EXPECT_FALSE(std::filesystem::exists(folder.User() / c.expected)) << "no file before the first write";
        log.Write("one");
        log.Write("two 100%");
        EXPECT_TRUE(log.IsEnabled());
        EXPECT_EQ(TempFolder::Read(folder.User() / c.expected), "one\ntwo 100%\n");
        for (const auto& name : c.existing) EXPECT_EQ(TempFolder::Read(folder.User() / name), "old\n");
    }
}

TEST(GameStatLog, UnwritableFileLeavesTheLogDisabled) {
    TempFolder folder;
    CGameStatLog log;
    std::filesystem::create_directory(folder.User() / log.FileName());  // a folder in the file's place
    log.Write("dropped");
    EXPECT_FALSE(log.IsEnabled());
}

// A user folder removed while the program runs takes the statistics with it:
// nothing lands in the current folder.
TEST(GameStatLog, AVanishedUserFolderGetsNothingAnywhere) {
    TempFolder folder;
    folder.EnterData();
    CGameStatLog log;
    std::filesystem::remove_all(folder.User());
    log.Write("dropped");
    EXPECT_FALSE(log.IsEnabled());
    EXPECT_FALSE(std::filesystem::exists(folder.Data() / log.FileName()));
    EXPECT_FALSE(std::filesystem::exists(folder.User()));
}

}  // namespace
