// libFuzzer target: the TIFF reader over arbitrary bytes (FuzzRoundTrip.h).
#include "FuzzRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzkit::CheckReader("fuzz.tif", data, size, WriteTiffFile);
    return 0;
}
