// The bank and program file readers over a byte block and the loaders behind them. The data is
// read as a bank file and as a program file; whatever chunk comes out is loaded as the loader
// of that file kind does.

#include "framework/ZylFxFiles.h"
#include "fuzz/ZylFuzzSupport.h"

namespace
{
constexpr int kProgramTarget = 9;

void checkChunk(bool read, const juce::MemoryBlock& chunk, std::size_t size, std::size_t headerSize)
{
    if (read && (size < headerSize || chunk.getSize() > size - headerSize))
        zylfuzz::fail("a chunk larger than the data after the header was read");
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    zylfuzz::initialise();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::uint32_t id = 0, version = 0;

    juce::MemoryBlock bankChunk;
    const bool bank = readFxbChunk(data, size, bankChunk, id, version);
    checkChunk(bank, bankChunk, size, ZylFx::kBankHeaderSize);
    if (bank)
    {
        zylfuzz::loadAndCheck(static_cast<const std::uint8_t*>(bankChunk.getData()),
                              bankChunk.getSize(), -1);
        juce::MemoryBlock back;
        if (!readFxbChunk(makeFxbFile(bankChunk, id), back, id, version) || !zylfuzz::sameBytes(back, bankChunk))
            zylfuzz::fail("a bank file did not give back its chunk");
    }

    juce::MemoryBlock programChunk;
    const bool program = readFxpChunk(data, size, programChunk, id, version);
    checkChunk(program, programChunk, size, ZylFx::kProgramHeaderSize);
    if (program)
    {
        zylfuzz::loadAndCheck(static_cast<const std::uint8_t*>(programChunk.getData()),
                              programChunk.getSize(), kProgramTarget);
        juce::MemoryBlock back;
        const auto file = makeFxpFile(programChunk, id, "fuzz " + juce::String(size));
        if (!readFxpChunk(file, back, id, version) || !zylfuzz::sameBytes(back, programChunk))
            zylfuzz::fail("a program file did not give back its chunk");
    }
    return 0;
}
