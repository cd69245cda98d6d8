// pakbuild: packs the files of a data tree into one Data.pak.
//
//   pakbuild <folder> <package> [extension ...]
//
// Every file below <folder> (or only those with one of the given extensions,
// e.g. .xml) is stored under its path relative to <folder>, lower case with
// backslashes ("Settings/Samples.xml" -> settings\samples.xml).
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/package_writer.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <folder> <package> [extension ...]\n", argv[0]);
        return 2;
    }
    std::string folder = argv[1];
    std::string package = argv[2];
    std::vector<std::string> extensions(argv + 3, argv + argc);

    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        std::fprintf(stderr, "pakbuild: %s is not a folder\n", folder.c_str());
        return 1;
    }
    CPackageWriter writer;
    std::string error;
    bool complete = writer.AddFolder(folder, extensions, &error);
    if (!error.empty()) std::fprintf(stderr, "%s", error.c_str());
    if (!writer.Write(package, &error)) {
        std::fprintf(stderr, "pakbuild: %s\n", error.c_str());
        return 1;
    }
    std::printf("pakbuild: %zu files into %s\n", writer.Count(), package.c_str());
    return complete ? 0 : 1;
}
