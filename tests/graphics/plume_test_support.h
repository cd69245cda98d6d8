#pragma once
// Shared by the particle-effect tests: a private log (one per process), a
// scratch folder per test that is the current directory, libraries written
// by our library writer (tools/plumec) and a clock the test moves by hand.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "engine/data_test_support.h"
#include "graphics/plume.h"
#include "graphics/plume_library.h"

namespace plume_test {

namespace fs = std::filesystem;

inline std::vector<uint8_t> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteFile(const fs::path& path, const std::string& text) {
    if (path.has_parent_path()) fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << text;
}

// A clock in milliseconds that only moves when told.
struct ManualClock {
    std::shared_ptr<uint32_t> now = std::make_shared<uint32_t>(1000);
    CPlume::Clock Get() const {
        auto n = now;
        return [n] { return *n; };
    }
    void Advance(uint32_t ms) const { *now += ms; }
};

class PlumeTest : public data_test::ScratchTest {
protected:
    void TearDown() override {
        if (Plume::CLibrary::Exists()) CPlume::ReleaseLibrary();
        ScratchTest::TearDown();
    }

    // Writes `text` as an effect description and runs the library writer on
    // it (textures come from the build's data tree); the path of the library.
    fs::path WriteLibrary(const std::string& text, const std::string& name = "test.plume") {
        WriteFile(dir_ / "effects.txt", text);
        const fs::path out = dir_ / name;
        const std::string cmd = std::string("\"") + VOVARO_BINARY_DIR + "/tools/plumec/plumec\" \"" +
                                (dir_ / "effects.txt").string() + "\" \"" + VOVARO_DATA_DIR + "\" \"" +
                                out.string() + "\" > \"" + (dir_ / "plumec.out").string() + "\" 2>&1";
        const int rc = std::system(cmd.c_str());
        EXPECT_EQ(rc, 0) << "plumec failed: " << std::string(ReadFileText(dir_ / "plumec.out"));
        return out;
    }
    static std::string ReadFileText(const fs::path& p) {
        auto b = ReadFile(p);
        return std::string(b.begin(), b.end());
    }
    // Reads a library into the program's library without a device.
    bool ReadIntoProgramLibrary(const fs::path& path, std::string* error = nullptr) {
        const std::vector<uint8_t> bytes = ReadFile(path);
        std::string e;
        const bool ok = Plume::CLibrary::Instance()->Read(bytes.data(), bytes.size(), &e);
        if (error) *error = e;
        Plume::CLibrary::Instance()->Noise().Fill();
        return ok;
    }

};

}  // namespace plume_test
