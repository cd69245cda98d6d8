#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "file_size_limit.h"
#include "platform/whole_file_writer.h"

namespace fs = std::filesystem;

// The folders synced in this process, each with whether the temporary file
// named by g_watched_temp still existed then: the test binary's own fsync
// sees every call before the C library's does the work.
struct FolderSync {
    std::string folder;
    bool temp_existed;
};
static std::vector<FolderSync> g_folder_syncs;
static std::string g_watched_temp;
// When not 0, every folder sync fails with this error.
static int g_folder_sync_errno = 0;

extern "C" int fsync(int fd) {
    using RealFsync = int (*)(int);
    static const RealFsync real = reinterpret_cast<RealFsync>(::dlsym(RTLD_NEXT, "fsync"));
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        std::error_code ec;
        const fs::path folder = fs::read_symlink("/proc/self/fd/" + std::to_string(fd), ec);
        g_folder_syncs.push_back({folder.string(), !g_watched_temp.empty() && fs::exists(g_watched_temp)});
        if (g_folder_sync_errno != 0) {
            errno = g_folder_sync_errno;
            return -1;
        }
    }
    return real(fd);
}

namespace {

class WholeFileWriterTest : public ::testing::Test {
protected:
    void SetUp() override {
        static std::atomic<int> counter {0};
        dir_ = fs::temp_directory_path() /
               ("vovaro_whole_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        file_ = (dir_ / "Config.xml").string();
        std::ofstream(file_, std::ios::binary) << "old content";
    }
    void TearDown() override { fs::remove_all(dir_); }

    static std::string Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // Every name in the folder, to see that nothing was left beside the file.
    std::string Names() const {
        std::string names;
        for (const auto& e : fs::directory_iterator(dir_)) names += e.path().filename().string() + " ";
        return names;
    }

    fs::path dir_;
    std::string file_;
};

TEST_F(WholeFileWriterTest, TheNewContentReplacesTheOldAndNothingIsLeftBeside) {
    const std::string text(5000, 'n');
    std::string error;
    ASSERT_TRUE(plat::WriteWholeFile(file_, text.data(), text.size(), &error)) << error;
    EXPECT_EQ(Read(file_), text);
    EXPECT_EQ(Names(), "Config.xml ");
}

// However the write fails, the old file stays as it was, no temporary file is
// left and the reason is given.
TEST_F(WholeFileWriterTest, AFailedWriteKeepsTheOldFile) {
    std::string error;
    EXPECT_FALSE(plat::WriteWholeFile(file_, [](std::FILE*) { return false; }, &error));
    EXPECT_EQ(error, "write failed");
    EXPECT_EQ(Read(file_), "old content");
    EXPECT_EQ(Names(), "Config.xml ");

    const std::string text(64 * 1024, 'n');
    {
        FileSizeLimit full_disk(1024);
        EXPECT_FALSE(plat::WriteWholeFile(file_, text.data(), text.size(), &error));
    }
    EXPECT_NE(error.find("File too large"), std::string::npos) << error;
    EXPECT_EQ(Read(file_), "old content");
    EXPECT_EQ(Names(), "Config.xml ");

    fs::create_directory(plat::TemporaryFileName(file_));  // the temporary name is taken
    EXPECT_FALSE(plat::WriteWholeFile(file_, text.data(), text.size(), &error));
    EXPECT_NE(error.find("open"), std::string::npos) << error;
    EXPECT_EQ(Read(file_), "old content");
}

// An exception from the write callback passes on and leaves no temporary file.
TEST_F(WholeFileWriterTest, AThrowingWriteLeavesNoTemporaryFile) {
    std::string error;
    EXPECT_THROW(plat::WriteWholeFile(
                     file_, [](std::FILE* f) -> bool {
                         std::fputs("half", f);
                         throw std::runtime_error("out of memory");
                     },
                     &error),
                 std::runtime_error);
    EXPECT_EQ(Read(file_), "old content");
    EXPECT_EQ(Names(), "Config.xml ");
}

// The new file keeps the old one's permission bits, and after the rename its
// folder is synced, so the new name is on the disk.
TEST_F(WholeFileWriterTest, TheNewFileKeepsThePermissionsAndItsFolderIsSynced) {
    for (const fs::perms mode : {fs::perms::owner_read | fs::perms::owner_write,
                                 fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read}) {
        fs::permissions(file_, mode);
        g_folder_syncs.clear();
        g_watched_temp = plat::TemporaryFileName(file_);
        std::string error;
        ASSERT_TRUE(plat::WriteWholeFile(file_, "new", 3, &error)) << error;
        g_watched_temp.clear();
        EXPECT_EQ(Read(file_), "new");
        EXPECT_EQ(fs::status(file_).permissions(), mode);
        ASSERT_EQ(g_folder_syncs.size(), 1u);
        EXPECT_EQ(fs::path(g_folder_syncs[0].folder), fs::canonical(dir_));
        EXPECT_FALSE(g_folder_syncs[0].temp_existed) << "synced after the rename";
    }
}

// The rename is the save: a folder sync that fails after it (an I/O error)
// is told to the caller, and the call succeeds with the new file in place.
TEST_F(WholeFileWriterTest, AFolderSyncThatFailsAfterTheRenameIsNoFailedSave) {
    g_folder_sync_errno = EIO;
    std::string error = "untouched";
    std::string unsynced;
    const bool saved = plat::WriteWholeFile(file_, "new", 3, &error, &unsynced);
    g_folder_sync_errno = 0;
    EXPECT_TRUE(saved);
    EXPECT_EQ(error, "untouched");
    EXPECT_EQ(unsynced, std::string("sync folder: ") + std::strerror(EIO));
    EXPECT_EQ(Read(file_), "new");
    EXPECT_EQ(Names(), "Config.xml ");
}

// A folder that is gone is not made again: nothing is written at all.
TEST_F(WholeFileWriterTest, AVanishedFolderGetsNothing) {
    fs::remove_all(dir_);
    std::string error;
    EXPECT_FALSE(plat::WriteWholeFile(file_, "x", 1, &error));
    EXPECT_FALSE(fs::exists(dir_));
}

}  // namespace
