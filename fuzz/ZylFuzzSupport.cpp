#include "fuzz/ZylFuzzSupport.h"

#include "tests/TestHelpers.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace zylfuzz
{
void initialise()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    juce::MessageManager::getInstance()->setCurrentThreadAsMessageThread();
}

void deliverMessages()
{
    zyltest::drainMessageQueue();
}

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "loader promise broken: %s\n", what);
    std::abort();
}

namespace
{
juce::MemoryBlock save(const zyltest::StateTree& tree, int program)
{
    return program < 0 ? tree.bank() : tree.program(program);
}

bool load(zyltest::StateTree& tree, int program, const void* data, std::size_t size)
{
    const auto length = static_cast<juce::int64>(size);
    return program < 0 ? tree.root->loadBankFromMemory(data, length)
                       : tree.root->loadProgramFromMemory(program, data, length);
}

// A tree that no accepted load has touched, kept from one input to the next while loads are
// refused (a refused load must leave it as it was, which is checked every time), and the bank
// every fresh tree saves.
std::unique_ptr<zyltest::StateTree> pristineTree;
juce::MemoryBlock pristineBank;

zyltest::StateTree& untouchedTree()
{
    if (pristineTree == nullptr)
    {
        pristineTree = std::make_unique<zyltest::StateTree>();
        deliverMessages();
        if (pristineBank.isEmpty())
            pristineBank = pristineTree->bank();
    }
    return *pristineTree;
}
} // namespace

bool sameBytes(const juce::MemoryBlock& a, const juce::MemoryBlock& b)
{
    return a.getSize() == b.getSize()
           && (a.getSize() == 0 || std::memcmp(a.getData(), b.getData(), a.getSize()) == 0);
}

void loadAndCheck(const std::uint8_t* data, std::size_t size, int program)
{
    auto& tree = untouchedTree();
    const bool loaded = load(tree, program, data, size);
    deliverMessages();
    if (!loaded)
    {
        if (!sameBytes(tree.bank(), pristineBank))
            fail("a refused load changed the state");
        return;
    }

    const auto first = save(tree, program);
    pristineTree.reset();
    zyltest::StateTree again;
    if (!load(again, program, first.getData(), first.getSize()))
        fail("a saved state did not load again");
    deliverMessages();
    if (!sameBytes(save(again, program), first))
        fail("a reloaded state saved to other bytes");
}
} // namespace zylfuzz
