// assetgen <data_dir> [generator...]: runs every registered generator (or the
// named ones) into the data tree.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <set>

#include "generator_registry.h"

namespace assetgen {
std::map<std::string, Generator>& Registry() {
    static std::map<std::string, Generator> registry;
    return registry;
}
}  // namespace assetgen

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: assetgen <data_dir> [generator...]\n");
        return 2;
    }
    const std::string data_dir = argv[1];
    std::set<std::string> only(argv + 2, argv + argc);
    std::filesystem::create_directories(data_dir);
    int failures = 0;
    for (auto& [name, generate] : assetgen::Registry()) {
        if (!only.empty() && !only.count(name)) continue;
        try {
            generate(data_dir);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "assetgen: %s failed: %s\n", name.c_str(), e.what());
            ++failures;
        }
    }
    return failures ? 1 : 0;
}
