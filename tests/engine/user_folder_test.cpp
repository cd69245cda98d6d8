#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>

#include "engine/user_folder.h"
#include "file_size_limit.h"
#include "platform/system.h"
#include "test_user_folder.h"

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// The shipped Config.xml lies in the program's current directory at start.
class UserFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        temp = std::make_unique<test_temp::TempDir>("user_folder");
        root = temp->Path();
        fs::create_directories(root / "program");
        fs::create_directories(root / "home");
        saved_cwd = plat::GetCurrentDir();
        plat::SetCurrentDir((root / "program").string());
    }
    void TearDown() override {
        plat::SetCurrentDir(saved_cwd);
        UseTestUserFolder();
        temp.reset();
    }
    std::unique_ptr<test_temp::TempDir> temp;
    fs::path root;
    std::string saved_cwd;
};

TEST_F(UserFolderTest, ConfigIsCopiedOnceAndNeverOverwritten) {
    std::ofstream(root / "program" / "Config.xml") << "<Config first/>";
    PrepareUserFolderAt((root / "home").string());
    const fs::path target = root / "home" / "Korv" / "Tolvan Vovaro" / "Config.xml";
    EXPECT_EQ(UserFolderPath("all"), (root / "home" / "Korv" / "Tolvan Vovaro").string() + "/");
    EXPECT_EQ(UserFolderPath("save"), UserFolderPath("all"));
    ASSERT_TRUE(fs::exists(target));
    EXPECT_EQ(ReadFile(target), "<Config first/>");

    std::ofstream(root / "program" / "Config.xml") << "<Config second/>";
    PrepareUserFolderAt((root / "home").string());
    EXPECT_EQ(ReadFile(target), "<Config first/>") << "the player's copy is kept";
}

// A first start on a full disk copies nothing rather than a part of the file,
// which would stand as the player's broken settings; the next start copies it.
TEST_F(UserFolderTest, ACopyCutShortLeavesNoPartOfConfig) {
    const std::string shipped = "<Config>" + std::string(8192, ' ') + "</Config>";
    std::ofstream(root / "program" / "Config.xml") << shipped;
    const fs::path user = root / "home" / "Korv" / "Tolvan Vovaro";
    fs::create_directories(user);
    {
        FileSizeLimit full_disk(1024);
        PrepareUserFolderAt((root / "home").string());
    }
    EXPECT_TRUE(fs::is_empty(user));
    PrepareUserFolderAt((root / "home").string());
    EXPECT_EQ(ReadFile(user / "Config.xml"), shipped);
}

TEST_F(UserFolderTest, MissingShippedConfigCopiesNothing) {
    PrepareUserFolderAt((root / "home").string());
    EXPECT_TRUE(fs::is_directory(root / "home" / "Korv" / "Tolvan Vovaro"));
    EXPECT_FALSE(fs::exists(root / "home" / "Korv" / "Tolvan Vovaro" / "Config.xml"));
}

// A fresh account may lack the base folder and its parents: all are made. A
// base that cannot hold folders is reported, with the folder and the reason.
TEST_F(UserFolderTest, TheWholePathIsMadeOrTheFailureSaid) {
    const fs::path fresh = root / "home" / ".local" / "share";
    UserFolderResult made = PrepareUserFolderAt(fresh.string());
    EXPECT_TRUE(made.ok) << made.error;
    EXPECT_TRUE(fs::is_directory(fresh / "Korv" / "Tolvan Vovaro"));
    EXPECT_EQ(made.path, (fresh / "Korv" / "Tolvan Vovaro").string());

    std::ofstream(root / "plain_file") << "x";
    UserFolderResult failed = PrepareUserFolderAt((root / "plain_file" / "share").string());
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.path, (root / "plain_file" / "share" / "Korv" / "Tolvan Vovaro").string());
    EXPECT_FALSE(failed.error.empty());
}

TEST_F(UserFolderTest, EnterAndLeaveBracketTheFolder) {
    PrepareUserFolderAt((root / "home").string());
    const std::string before = plat::GetCurrentDir();
    std::string saved = EnterFolder("all");
    EXPECT_EQ(saved, before);
    EXPECT_EQ(fs::path(plat::GetCurrentDir()), fs::path(root / "home" / "Korv" / "Tolvan Vovaro"));
    LeaveFolder(saved);
    EXPECT_EQ(plat::GetCurrentDir(), before);
    EXPECT_EQ(EnterFolder("music"), "");
    EXPECT_EQ(plat::GetCurrentDir(), before);

    // A folder removed while the program runs cannot be entered: nothing
    // changes, and there is nothing to switch back from.
    fs::remove_all(root / "home");
    EXPECT_EQ(EnterFolder("all"), "");
    EXPECT_EQ(plat::GetCurrentDir(), before);
}

// A run killed between writing a file aside and renaming it leaves the
// temporary file; the next start removes those of its own writers, nothing else.
TEST_F(UserFolderTest, TheTemporaryFilesOfUnfinishedWritesAreRemoved) {
    PrepareUserFolderAt((root / "home").string());
    const fs::path user = root / "home" / "Korv" / "Tolvan Vovaro";
    for (const char* name : {"Config.xml.tmp", "serial.xml.tmp", "00000007.tga.tmp", "Config.xml", "serial.xml",
                             "00000007.tga", "notes.tmp", "profile.db", "7.tga.tmp"})
        std::ofstream(user / name) << "x";
    RemoveUnfinishedWrites();
    std::set<std::string> left;
    for (const auto& e : fs::directory_iterator(user)) left.insert(e.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string> {"Config.xml", "serial.xml", "00000007.tga", "notes.tmp", "profile.db",
                                            "7.tga.tmp"}));
}

TEST_F(UserFolderTest, WithoutAUserDataFolderTheProgramFolderIsUsed) {
    PrepareUserFolderAt("");
    EXPECT_EQ(UserFolderPath("all"), plat::ExecutableDir() + "/");
    EXPECT_NE(UserFolderPath("all"), "/");
}

}  // namespace
