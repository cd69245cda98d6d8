// leveltool <data_dir> <out_data_dir>: checks the level designs of a data
// tree and writes the game's level files into the output tree; any broken
// level fails the run (and so the build) with its messages.
#include <cstdio>
#include <string>
#include <vector>

#include "level_tool.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: leveltool <data_dir> <out_data_dir>\n");
        return 2;
    }
    std::vector<std::string> errors;
    const bool ok = leveltool::CLevelTool::Run(argv[1], argv[2], errors);
    for (const std::string& error : errors) std::fprintf(stderr, "leveltool: %s\n", error.c_str());
    if (!ok) std::fprintf(stderr, "leveltool: no level file written\n");
    return ok ? 0 : 1;
}
