// Long-input mode of the fuzzing targets. The mutated bytes are a short
// recipe for a long input, so that the search reaches files of many
// megabytes (runs that never end a row, chunk or record lists that go on)
// without mutating megabytes at a time.
//
// Recipe: a body, then three trailer bytes: the length wanted as a power of
// two (first byte modulo 32, 25 and above meaning 32 MiB, so that about a
// fifth of the inputs are that long) and a 16-bit split point
// (little-endian, taken modulo the body size). The body up to the split is
// the head; the rest is repeated after it until the input is that long.
// A recipe of fewer than four bytes is passed on as it is. FUZZ_LONG_MAX_POWER
// in the environment lowers the largest length (as a power of two), so that
// a bounded run goes through many inputs of moderate length.
//
// The target's own entry is compiled under the name FuzzOneInput.
#undef LLVMFuzzerTestOneInput

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

extern "C" int FuzzOneInput(const uint8_t* data, size_t size);

namespace {

constexpr size_t kTrailer = 3;
constexpr int kLargestPower = 25;  // 32 MiB

int LargestPower() {
    static const int largest = [] {
        const char* value = getenv("FUZZ_LONG_MAX_POWER");
        int power = value ? atoi(value) : kLargestPower;
        return power < 4 ? 4 : power > kLargestPower ? kLargestPower : power;
    }();
    return largest;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size <= kTrailer) return FuzzOneInput(data, size);
    size_t body = size - kTrailer;
    const uint8_t* trailer = data + body;
    int power = trailer[0] % 32;
    size_t wanted = size_t(1) << (power < LargestPower() ? power : LargestPower());
    size_t split = (trailer[1] | size_t(trailer[2]) << 8) % body;
    size_t tail = body - split;
    size_t length = wanted > body ? wanted : body;
    // Exactly as long as the input, so the sanitizers see any read past it.
    std::unique_ptr<uint8_t[]> input(new uint8_t[length]);
    memcpy(input.get(), data, body);
    // The repeats double as they are copied, so that a tail of a few bytes
    // costs no more than a long one.
    uint8_t* repeats = input.get() + body;
    size_t room = length - body, filled = tail < room ? tail : room;
    memcpy(repeats, data + split, filled);
    while (filled < room) {
        size_t more = filled < room - filled ? filled : room - filled;
        memcpy(repeats + filled, repeats, more);
        filled += more;
    }
    return FuzzOneInput(input.get(), length);
}
