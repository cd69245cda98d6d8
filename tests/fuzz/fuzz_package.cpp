// The data package's table, read by the file opener, and reads through it.
#include <vector>

#include "engine/file_opener.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Scratch();
    fuzz::LimitLog();
    fuzz::WriteInput("fuzz.pak", data, size);
    CFileOpener opener("fuzz.pak");
    std::vector<uint8_t> buffer;
    for (const char* name : {"settings\\config.xml", "Settings/Labels_English.xml", "a", "textures\\\\plume\\x.png"})
        opener.ReadFile(name, buffer);
    return 0;
}
