// The program loader from memory. The first byte picks the program index, in and out of the
// bank's range; the rest is the state.

#include "fuzz/ZylFuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    zylfuzz::initialise();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    // 0..127 and a few indexes outside the bank (128 .. 135 and -1 .. -120).
    const int program = data[0] < 136 ? data[0] : 135 - data[0];
    zylfuzz::loadAndCheck(data + 1, size - 1, program);
    return 0;
}
