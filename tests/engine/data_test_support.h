#pragma once
// Shared by the data-layer tests: a private user folder for the log (one per
// process), a scratch folder per test that is the current directory while the
// test runs, and small file helpers.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "engine/logger.h"
#include "engine/user_folder.h"
#include "test_temp.h"

namespace data_test {

namespace fs = std::filesystem;

// The process's own per-user folder, so that all tests of one process share
// one log when run together.
inline void PrepareLogOnce() {
    test_temp::UseDefaultUserFolder();
    CLogger::Instance();
}

// The log escapes message text (&, <, > and "): this gives it back as written,
// so tests look for the lines the program logged.
inline std::string UnescapeHtml(const std::string& text) {
    static const std::pair<const char*, char> kEntities[] = {{"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&amp;", '&'}};
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        bool replaced = false;
        if (text[i] == '&') {
            for (const auto& [entity, c] : kEntities) {
                if (text.compare(i, std::strlen(entity), entity) == 0) {
                    out += c;
                    i += std::strlen(entity);
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced) out += text[i++];
    }
    return out;
}

// How often `needle` stands in `text` (the log's lines of one message).
inline int CountOf(const std::string& text, const std::string& needle) {
    int count = 0;
    for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + needle.size())) ++count;
    return count;
}

inline std::string ReadLog() {
    std::ifstream in(UserFolderPath("all") + "log.html", std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return UnescapeHtml(ss.str());
}

inline void WriteBytes(const fs::path& path, const std::string& bytes) {
    if (path.has_parent_path()) fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

inline std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }
inline std::string Text(const std::vector<uint8_t>& v) { return std::string(v.begin(), v.end()); }

// Each test runs in its own empty current directory.
class ScratchTest : public ::testing::Test {
protected:
    void SetUp() override {
        PrepareLogOnce();
        saved_ = fs::current_path();
        scratch_ = std::make_unique<test_temp::TempDir>(::testing::UnitTest::GetInstance()->current_test_info()->name());
        dir_ = scratch_->Path();
        fs::current_path(dir_);
        log_mark_ = ReadLog().size();
    }
    void TearDown() override {
        fs::current_path(saved_);
        scratch_.reset();
    }
    // What the log received since the test began.
    std::string NewLog() const { return ReadLog().substr(log_mark_); }

    fs::path saved_, dir_;
    std::unique_ptr<test_temp::TempDir> scratch_;
    size_t log_mark_ = 0;
};

}  // namespace data_test
