// libFuzzer target: the WPG reader over arbitrary bytes (FuzzRoundTrip.h).
#include "FuzzRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzzkit::CheckReader("fuzz.wpg", data, size, WriteWpgFile);
    return 0;
}
