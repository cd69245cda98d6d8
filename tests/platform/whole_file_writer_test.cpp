#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "file_size_limit.h"
#include "platform/whole_file_writer.h"

namespace fs = std::filesystem;

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

// A folder that is gone is not made again: nothing is written at all.
TEST_F(WholeFileWriterTest, AVanishedFolderGetsNothing) {
    fs::remove_all(dir_);
    std::string error;
    EXPECT_FALSE(plat::WriteWholeFile(file_, "x", 1, &error));
    EXPECT_FALSE(fs::exists(dir_));
}

}  // namespace
