// Runs a fuzz harness once over files instead of fuzzing: the build with the
// normal compiler uses it so that the harnesses, their seeds and the inputs of
// faults found earlier are checked by every test run.
//
//   fuzz_<name> [--only SUFFIX[,SUFFIX...]] PATH...
//
// Each PATH is a file or a folder (walked recursively); --only keeps, from the
// folders named after it, the files whose names end in one of the suffixes
// (any case). A missing path is an error, so lost seeds do not go unseen.
// Processor faults become exceptions as in the game, so an input on which a
// system library faults proves that the reader survives it as the game does.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "engine/fault_translation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

namespace fs = std::filesystem;

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool Matches(const fs::path& file, const std::vector<std::string>& suffixes) {
    if (suffixes.empty()) return true;
    const std::string name = Lower(file.filename().string());
    return std::any_of(suffixes.begin(), suffixes.end(), [&](const std::string& s) {
        return name.size() >= s.size() && name.compare(name.size() - s.size(), s.size(), s) == 0;
    });
}

std::vector<std::string> Split(const std::string& list) {
    std::vector<std::string> out;
    size_t start = 0;
    while (start <= list.size()) {
        const size_t comma = std::min(list.find(',', start), list.size());
        if (comma > start) out.push_back(Lower(list.substr(start, comma - start)));
        start = comma + 1;
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    InstallSETranslator();
    std::vector<fs::path> files;
    std::vector<std::string> suffixes;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--only" && i + 1 < argc) {
            suffixes = Split(argv[++i]);
            continue;
        }
        // Absolute, since a harness may change the current folder.
        std::error_code ec;
        const fs::path path = fs::absolute(arg, ec);
        if (fs::is_regular_file(path, ec)) {
            files.push_back(path);
        } else if (fs::is_directory(path, ec)) {
            for (const auto& entry : fs::recursive_directory_iterator(path))
                if (entry.is_regular_file() && Matches(entry.path(), suffixes)) files.push_back(entry.path());
        } else {
            std::fprintf(stderr, "missing input path: %s\n", arg.c_str());
            return 2;
        }
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        // A copy of exactly the input's size, so that reads past it stand out
        // under a memory checker as they do under the fuzzer.
        std::vector<uint8_t> exact(bytes);
        try {
            LLVMFuzzerTestOneInput(exact.empty() ? nullptr : exact.data(), exact.size());
        } catch (const std::exception& e) {
            // A fault the reader did not survive: the finding, with its input.
            std::fprintf(stderr, "%s: %s\n", file.c_str(), e.what());
            return 3;
        }
    }
    std::printf("%zu inputs run\n", files.size());
    return files.empty() ? 1 : 0;
}
