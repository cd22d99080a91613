// libFuzzer target: the PCX reader over arbitrary bytes (FuzzRoundTrip.h).
#include "FuzzRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzkit::CheckReader("fuzz.pcx", data, size, WritePcxFile);
    return 0;
}
