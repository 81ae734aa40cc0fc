// The bank loader from memory: any bytes as the whole state of the tree.

#include "fuzz/ZylFuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    zylfuzz::initialise();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    zylfuzz::loadAndCheck(data, size, -1);
    return 0;
}
