// libFuzzer target: the clipboard file reader over arbitrary bytes (FuzzRoundTrip.h).
#include "FuzzRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzkit::CheckReader("fuzz.clp", data, size, WriteClpFile);
    return 0;
}
