// pakbuild: packs the files of a data tree that the game reads through its
// file opener into one Data.pak.
//
//   pakbuild <folder> <package> [extension ...]
//
// The files below <folder> with one of the given extensions (e.g. .xml), or
// by default with one of the game's package extensions (kPackedExtensions),
// are stored under their path relative to <folder>, lower case with
// backslashes ("Settings/Samples.xml" -> settings\samples.xml). Everything
// else stays loose beside the package: the game opens those files from disk.
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "pakbuild/package_writer.h"

namespace {

// What the game reads through the file opener, and so from the package: the
// XML data files and the texture images. Sounds, music and the particle-effect
// library are opened from disk by name and stay loose.
const char* const kPackedExtensions[] = {".xml", ".png", ".jpg", ".jpeg", ".tga", ".bmp", ".dds"};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <folder> <package> [extension ...]\n", argv[0]);
        return 2;
    }
    std::string folder = argv[1];
    std::string package = argv[2];
    std::vector<std::string> extensions(argv + 3, argv + argc);
    if (extensions.empty()) extensions.assign(std::begin(kPackedExtensions), std::end(kPackedExtensions));

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
