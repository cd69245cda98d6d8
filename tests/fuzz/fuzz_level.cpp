// A level file as the game starts it: its music and background read by the
// scene, the field loaded and set up, then some hundred frames played with
// swaps, a lost life started again.
#include "fuzz_field.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FieldSession& session = fuzz::FieldSession::Get();
    const std::string path = session.Input("Level_0.xml", data, size);
    if (session.Start(path, 0, 1)) session.Play();
    return 0;
}
